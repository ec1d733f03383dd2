// The one way the program codes a picture as PNG: a palette image when it has few colours.
#include "output/png_output.h"

#include <zlib.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace tv::ui {

namespace {

// Qt's quality 80: zlib level 1, for the pictures Qt writes itself.
constexpr int kQtQuality = 80;
constexpr int kMaxColours = 256;
// The deflated rows go out in chunks of this size.
constexpr std::size_t kChunkBytes = 64 * 1024;
// The row filters of PNG.
constexpr unsigned char kFilterNone = 0;
constexpr unsigned char kFilterUp = 2;
// From this height on the rows are deflated in two halves at once.
constexpr std::uint32_t kSplitHeight = 64;

// The colours of a picture with at most 256 of them, and each colour's index:
// open addressing over twice as many slots. Diagrams are long runs of one
// colour, so the last colour looked up is kept.
class Palette {
 public:
  // False when the picture has more than 256 colours.
  bool Collect(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if (Index(row[x]) < 0) return false;
    }
    return true;
  }

  // The colour's index, taken for it when it is new; -1 when the table is full.
  int Index(std::uint32_t pixel) {
    pixel |= 0xff000000u;  // the top byte of an opaque picture means nothing
    if (pixel == last_ && lastIndex_ >= 0) return lastIndex_;
    std::uint32_t slot = (pixel * 0x9E3779B1u) >> (32 - kSlotBits);
    while (indexes_[slot] >= 0 && keys_[slot] != pixel) slot = (slot + 1) & (kSlots - 1);
    if (indexes_[slot] < 0) {
      if (colours_.size() == kMaxColours) return -1;
      keys_[slot] = pixel;
      indexes_[slot] = static_cast<std::int16_t>(colours_.size());
      colours_.push_back(pixel);
    }
    last_ = pixel;
    lastIndex_ = indexes_[slot];
    return lastIndex_;
  }

  const std::vector<std::uint32_t>& Colours() const { return colours_; }

 private:
  static constexpr int kSlotBits = 9;
  static constexpr std::uint32_t kSlots = 1u << kSlotBits;
  std::array<std::uint32_t, kSlots> keys_{};
  std::array<std::int16_t, kSlots> indexes_ = [] {
    std::array<std::int16_t, kSlots> empty{};
    empty.fill(-1);
    return empty;
  }();
  std::vector<std::uint32_t> colours_;
  std::uint32_t last_ = 0;
  int lastIndex_ = -1;
};

void AppendBigEndian(QByteArray& out, std::uint32_t v) {
  const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                         static_cast<char>(v >> 8), static_cast<char>(v)};
  out.append(bytes, 4);
}

void AppendChunk(QByteArray& out, const char (&type)[5], const unsigned char* data,
                 std::size_t size) {
  AppendBigEndian(out, static_cast<std::uint32_t>(size));
  const auto at = out.size();
  out.append(type, 4);
  if (size) out.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const auto* typed = reinterpret_cast<const Bytef*>(out.constData() + at);
  AppendBigEndian(out, static_cast<std::uint32_t>(crc32(0, typed, static_cast<uInt>(4 + size))));
}

void PutBigEndian(unsigned char* at, std::uint32_t v) {
  at[0] = static_cast<unsigned char>(v >> 24);
  at[1] = static_cast<unsigned char>(v >> 16);
  at[2] = static_cast<unsigned char>(v >> 8);
  at[3] = static_cast<unsigned char>(v);
}

// Rows y0 to y1 of the picture, filtered and deflated as one part of the
// zlib stream: raw deflate, ended on a byte boundary (the last part ends the
// stream), with the Adler-32 sum of the filtered bytes.
struct Part {
  std::uint32_t From = 0, To = 0;
  bool Last = false;
  std::vector<unsigned char> Deflated;
  uLong Adler = adler32(0, nullptr, 0);
  uLong Length = 0;
  bool Ok = false;
};

void DeflateRows(const QImage& image, Palette palette, bool indexed, Part& part) {
  z_stream stream{};
  // The fastest level, and a small hash table: as small a file, fewer
  // instructions (a fifth fewer than the default table).
  if (deflateInit2(&stream, 1, Z_DEFLATED, -15, 4, Z_DEFAULT_STRATEGY) != Z_OK) return;
  const auto width = static_cast<std::uint32_t>(image.width());
  const std::size_t samples = indexed ? width : 3 * std::size_t{width};
  std::vector<unsigned char> row(1 + samples), buffer(kChunkBytes);
  // A palette row as it is; a 24-bit row as its difference from the row above
  // (the first from a row of zeros), byte by byte.
  row[0] = indexed ? kFilterNone : kFilterUp;
  const std::vector<std::uint32_t> zeros(indexed ? 0 : width, 0);
  bool ok = true;
  for (std::uint32_t y = part.From; ok && y <= part.To; ++y) {
    const bool end = y == part.To;
    if (!end) {
      const auto* in =
          reinterpret_cast<const std::uint32_t*>(image.constScanLine(static_cast<int>(y)));
      unsigned char* o = row.data() + 1;
      if (indexed) {
        for (std::uint32_t x = 0; x < width; ++x)
          o[x] = static_cast<unsigned char>(palette.Index(in[x]));
      } else {
        const auto* up =
            y ? reinterpret_cast<const std::uint32_t*>(image.constScanLine(static_cast<int>(y) - 1))
              : zeros.data();
        for (std::uint32_t x = 0; x < width; ++x, o += 3) {
          const std::uint32_t c = in[x], a = up[x];
          o[0] = static_cast<unsigned char>((c >> 16) - (a >> 16));
          o[1] = static_cast<unsigned char>((c >> 8) - (a >> 8));
          o[2] = static_cast<unsigned char>(c - a);
        }
      }
      part.Adler = adler32(part.Adler, row.data(), static_cast<uInt>(row.size()));
      part.Length += static_cast<uLong>(row.size());
    }
    const int flush = !end ? Z_NO_FLUSH : part.Last ? Z_FINISH : Z_SYNC_FLUSH;
    stream.next_in = end ? nullptr : row.data();
    stream.avail_in = end ? 0 : static_cast<uInt>(row.size());
    for (;;) {
      stream.next_out = buffer.data();
      stream.avail_out = static_cast<uInt>(buffer.size());
      const int result = deflate(&stream, flush);
      if (result == Z_STREAM_ERROR) {
        ok = false;
        break;
      }
      part.Deflated.insert(part.Deflated.end(), buffer.data(),
                           buffer.data() + (buffer.size() - stream.avail_out));
      if (flush == Z_FINISH ? result == Z_STREAM_END : stream.avail_out != 0) break;
    }
  }
  deflateEnd(&stream);
  part.Ok = ok;
}

bool EncodeOpaque(const QImage& image, QByteArray& out) {
  Palette palette;
  const bool indexed = palette.Collect(image);
  const auto width = static_cast<std::uint32_t>(image.width());
  const auto height = static_cast<std::uint32_t>(image.height());

  out.clear();
  out.append("\x89PNG\r\n\x1a\n", 8);
  unsigned char header[13] = {};
  PutBigEndian(header, width);
  PutBigEndian(header + 4, height);
  header[8] = 8;                // bits per sample
  header[9] = indexed ? 3 : 2;  // palette, or red, green, blue
  AppendChunk(out, "IHDR", header, sizeof header);
  if (indexed) {
    std::vector<unsigned char> plte;
    for (const std::uint32_t c : palette.Colours())
      plte.insert(plte.end(), {static_cast<unsigned char>(c >> 16),
                               static_cast<unsigned char>(c >> 8), static_cast<unsigned char>(c)});
    AppendChunk(out, "PLTE", plte.data(), plte.size());
  }
  // The resolution, as Qt writes it.
  if (image.dotsPerMeterX() > 0 || image.dotsPerMeterY() > 0) {
    unsigned char physical[9] = {};
    PutBigEndian(physical, static_cast<std::uint32_t>(image.dotsPerMeterX()));
    PutBigEndian(physical + 4, static_cast<std::uint32_t>(image.dotsPerMeterY()));
    physical[8] = 1;  // per metre
    AppendChunk(out, "pHYs", physical, sizeof physical);
  }

  // The lower half of a tall picture is deflated on another core, as its
  // own part of the stream: the bytes do not depend on the machine.
  Part parts[2];
  const int count = height >= kSplitHeight ? 2 : 1;
  parts[0].To = count == 2 ? height / 2 : height;
  parts[1].From = parts[0].To;
  parts[1].To = height;
  parts[count - 1].Last = true;
  if (count == 2) {
    std::thread lower;
    try {
      lower = std::thread([&image, palette, indexed, &parts] {
        try {
          DeflateRows(image, palette, indexed, parts[1]);
        } catch (const std::bad_alloc&) {
          parts[1].Ok = false;
        }
      });
    } catch (const std::system_error&) {
      DeflateRows(image, palette, indexed, parts[1]);
    }
    DeflateRows(image, palette, indexed, parts[0]);
    if (lower.joinable()) lower.join();
  } else {
    DeflateRows(image, palette, indexed, parts[0]);
  }

  // The zlib stream: its header (deflate, 32 kB window, fastest), the
  // parts, the sum of all the filtered bytes; in IDAT chunks.
  std::vector<unsigned char> stream = {0x78, 0x01};
  uLong adler = parts[0].Adler;
  for (int i = 0; i < count; ++i) {
    if (!parts[i].Ok) return false;
    stream.insert(stream.end(), parts[i].Deflated.begin(), parts[i].Deflated.end());
    if (i) adler = adler32_combine(adler, parts[i].Adler, static_cast<z_off_t>(parts[i].Length));
  }
  stream.resize(stream.size() + 4);
  PutBigEndian(stream.data() + stream.size() - 4, static_cast<std::uint32_t>(adler));
  for (std::size_t at = 0; at < stream.size(); at += kChunkBytes)
    AppendChunk(out, "IDAT", stream.data() + at, std::min(kChunkBytes, stream.size() - at));
  AppendChunk(out, "IEND", nullptr, 0);
  return true;
}

}  // namespace

bool EncodePng(const QImage& image, QByteArray& bytes) {
  // Texts in the picture, or pixels that are not opaque RGB: Qt's writer keeps them.
  if (image.format() == QImage::Format_RGB32 && image.textKeys().isEmpty() && !image.isNull())
    return EncodeOpaque(image, bytes);
  QBuffer buffer(&bytes);
  return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG", kQtQuality);
}

}  // namespace tv::ui
