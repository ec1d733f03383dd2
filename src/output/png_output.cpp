// The one way the program codes a picture as PNG: a palette image when it has few colours.
#include "output/png_output.h"

#include <zlib.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <array>
#include <cstdint>
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

// The rows, deflated into IDAT chunks as they come.
class ImageData {
 public:
  explicit ImageData(QByteArray& out) : out_(out), buffer_(kChunkBytes) {
    // The fastest level, and a small hash table: as small a file, fewer
    // instructions (a fifth fewer than the default table).
    ok_ = deflateInit2(&stream_, 1, Z_DEFLATED, 15, 4, Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~ImageData() {
    if (ok_) deflateEnd(&stream_);
  }
  ImageData(const ImageData&) = delete;
  ImageData& operator=(const ImageData&) = delete;

  bool Add(const unsigned char* row, std::size_t size) { return Deflate(row, size, Z_NO_FLUSH); }
  bool Finish() { return Deflate(nullptr, 0, Z_FINISH); }

 private:
  bool Deflate(const unsigned char* data, std::size_t size, int flush) {
    if (!ok_) return false;
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = static_cast<uInt>(size);
    for (;;) {
      stream_.next_out = buffer_.data();
      stream_.avail_out = static_cast<uInt>(buffer_.size());
      const int result = deflate(&stream_, flush);
      if (result == Z_STREAM_ERROR) return ok_ = false;
      const std::size_t produced = buffer_.size() - stream_.avail_out;
      if (produced) AppendChunk(out_, "IDAT", buffer_.data(), produced);
      if (flush == Z_FINISH ? result == Z_STREAM_END : stream_.avail_out != 0) return true;
    }
  }

  QByteArray& out_;
  std::vector<unsigned char> buffer_;
  z_stream stream_{};
  bool ok_ = false;
};

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

  ImageData data(out);
  const std::size_t samples = indexed ? width : 3 * std::size_t{width};
  std::vector<unsigned char> row(1 + samples);
  // A palette row as it is; a 24-bit row as its difference from the row above
  // (the first from a row of zeros), byte by byte.
  row[0] = indexed ? kFilterNone : kFilterUp;
  const std::vector<std::uint32_t> zeros(indexed ? 0 : width, 0);
  for (std::uint32_t y = 0; y < height; ++y) {
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
    if (!data.Add(row.data(), row.size())) return false;
  }
  if (!data.Finish()) return false;
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
