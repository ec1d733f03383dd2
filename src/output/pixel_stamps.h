// Pixels that a short line or a text leaves on the picture, taken once from the painter and copied
// from then on.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tv::ui {

// The raster painter is slow per call: a dotted segment of the sweep costs
// about a microsecond, most of it setting up the pen and its dashes, and a
// redraw has thousands. A line of a given pen and shape, or a text of a
// given font and colour, leaves the same pixels relative to its start
// wherever it lands, with one exception: the painter's arithmetic rounds
// according to the size of the coordinates, so a wide pen can come out a
// pixel different at 600 than at 60. So each is painted once, where it first
// occurs, on a scratch picture as large as the picture, over two different
// backgrounds, and its pixels are kept for every place whose coordinates
// have the same powers of two (a text for its very place, from its second
// showing there). A pixel that comes out the same over both
// backgrounds is set by the drawing, one left as it was over both is
// untouched; a pixel that comes out otherwise depends on what lies beneath
// (the edge of a glyph outside its white cell): such a line or text is never
// copied, the painter draws it every time. Nothing near the picture's edge
// is copied either, since there the painter clips.
class PixelStamps {
 public:
  // The picture drawn on: 32-bit pixels, rows of Stride pixels.
  struct Target {
    std::uint32_t* Bits = nullptr;
    qsizetype Stride = 0;
    int Width = 0;
    int Height = 0;
  };

  // format: that of the pictures drawn on; setup: prepares a painter as
  // the surface prepares its own (render hints, background).
  PixelStamps(QImage::Format format, std::function<void(QPainter&)> setup);

  // Whether pictures of that format are the ones the stamps are taken for.
  bool Takes(QImage::Format format) const { return format == format_; }
  QImage::Format Format() const { return format_; }

  // The segment from (x1, y1) to (x2, y2) with pen, whose caller's number
  // is penId (equal numbers for equal pens). False when it is not copied:
  // the caller paints it. True too for a line too far off the picture to
  // show at all.
  // penWidth: pen's width, asked of the pen once by the caller. Inline: a
  // sweep draws thousands, nearly all short, inside the picture and kept.
  [[gnu::always_inline]] bool Line(const Target& target, std::uint32_t penId, const QPen& pen,
                                   int penWidth, int x1, int y1, int x2, int y2);
  // The Windows-1252 text with its baseline's left end at (x, baseline), in
  // font (whose caller's number is fontId) and the colour of pen. True too
  // for a text wholly right of or below the picture.
  bool Text(const Target& target, std::uint32_t fontId, const QFont& font, const QPen& pen, int x,
            int baseline, std::string_view text);

  // Stamps taken (on a miss) and copied (on a hit), for the tests.
  int Taken() const { return taken_; }
  int Copied() const { return copied_; }

 private:
  // Where a pixel lies from the stamp's anchor, as an offset in the rows of
  // the picture it was taken for (stride_ pixels each).
  struct Pixel {
    std::int32_t Offset;
    std::uint32_t Value;
  };
  // A span of pixels_, with the bounding box of its offsets; Count < 0: not
  // copied (-1: it depends on its background or cannot be taken).
  struct Stamp {
    std::uint32_t First = 0;
    std::int32_t Count = -1;
    std::int16_t MinDx = 0, MinDy = 0, MaxDx = 0, MaxDy = 0;
  };

  // Longest sides copied: sweep segments and ticks are far shorter; long
  // grid lines are few and kept for their place.
  static constexpr int kMaxLineSide = 96;
  // Coordinates beyond this are left to the painter, whose arithmetic holds
  // them; the stamps' offsets are 16 bits.
  static constexpr int kMaxCoordinate = 1 << 14;
  static constexpr int kMaxPenWidth = 16;
  // Pictures larger than this are painted: the two scratch pictures are as
  // large as the picture.
  static constexpr qsizetype kMaxPicturePixels = qsizetype{1} << 22;

  // A box of the picture: left, top, right, bottom, all included.
  struct Box {
    int X0, Y0, X1, Y1;
    int Width() const { return X1 - X0 + 1; }
    int Height() const { return Y1 - Y0 + 1; }
    std::size_t Pixels() const {
      return static_cast<std::size_t>(Width()) * static_cast<std::size_t>(Height());
    }
  };
  // Whether box lies inside the target; where it lies as far as rounding
  // can tell, as a 32-bit key.
  static bool Inside(const Target& target, const Box& box) {
    return box.X0 >= 0 && box.Y0 >= 0 && box.X1 < target.Width && box.Y1 < target.Height &&
           static_cast<qsizetype>(target.Width) * target.Height <= kMaxPicturePixels;
  }
  // Where a box lies along one axis, as far as the painter's rounding can
  // tell: the power of two of its coordinates when both ends share it, else
  // the exact place (a box across a power of two is rounded differently
  // depending on where the power falls inside it). 16 bits.
  static std::uint64_t Magnitude(int lo, int hi) {
    const auto l = static_cast<std::uint32_t>(lo);
    const auto h = static_cast<std::uint32_t>(hi);
    if (std::bit_width(l) == std::bit_width(h))
      return static_cast<std::uint64_t>(std::bit_width(l));
    return 0x8000u | (l & 0x7fffu);
  }
  static std::uint64_t Magnitudes(const Box& box) {
    return Magnitude(box.X0, box.X1) << 16 | Magnitude(box.Y0, box.Y1);
  }
  // The line's key in lines_: pen, magnitudes of its box, shape.
  static std::uint64_t LineKey(std::uint32_t penId, const Box& box, int dx, int dy) {
    return static_cast<std::uint64_t>(penId) << 50 | Magnitudes(box) << 16 |
           static_cast<std::uint64_t>(dx + 128) << 8 | static_cast<std::uint64_t>(dy + 128);
  }
  // The stamp of a short line inside the picture, not kept yet: taken and
  // kept under key.
  [[gnu::noinline]] const Stamp& TakeLine(const Target& target, std::uint64_t key, const Box& box,
                                          const QPen& pen, int x1, int y1, int x2, int y2);
  // Paints draw(painter) twice on the scratch picture and keeps what it
  // sets inside box, relative to (ax, ay).
  // placed: the stamp is for this very place, where the painter clips at
  // the picture's edge as it clips the drawing it stands for.
  Stamp Take(const Target& target, const Box& box, int ax, int ay,
             const std::function<void(QPainter&)>& draw, bool placed = false);
  // The stamp kept for placeKey_'s place; nullptr at its first showing
  // there, which is noted (the caller paints it).
  Stamp* AtPlace();
  // The stamp for placeKey_ taken now, at its second showing.
  Stamp& TakeAtPlace(const Target& target, const Box& box, int ax, int ay,
                     const std::function<void(QPainter&)>& draw, bool clippedByPicture = false);
  // A line too long to be kept by its shape, or one the picture's edge
  // clips: kept for its place, from its second drawing there.
  bool LineAtItsPlace(const Target& target, std::uint32_t penId, const QPen& pen, const Box& box,
                      int x1, int y1, int x2, int y2);
  bool Copy(const Target& target, const Stamp& stamp, int x, int y) {
    if (stamp.Count < 0) return false;
    if (x + stamp.MinDx < 0 || y + stamp.MinDy < 0 || x + stamp.MaxDx >= target.Width ||
        y + stamp.MaxDy >= target.Height)
      return false;
    std::uint32_t* origin = target.Bits + static_cast<qsizetype>(y) * target.Stride + x;
    const Pixel* p = pixels_.data() + stamp.First;
    const Pixel* end = p + stamp.Count;
    // Two at a time: a segment's stamp has a few dozen pixels at most, and
    // the loop's own count and test cost as much as a pixel.
    for (; end - p >= 2; p += 2) {
      origin[p[0].Offset] = p[0].Value;
      origin[p[1].Offset] = p[1].Value;
    }
    if (p != end) origin[p->Offset] = p->Value;
    ++copied_;
    return true;
  }
  // Drops every stamp when adding pixels more would pass the limits; true
  // when it did.
  bool MakeRoom(std::size_t pixels);

  QImage::Format format_;
  std::function<void(QPainter&)> setup_;
  std::vector<Pixel> pixels_;
  qsizetype stride_ = 0;
  // Drops every stamp when target's rows are not those they were taken for
  // (a resized picture).
  void FollowRows(const Target& target);
  // Line stamps by pen, shape and magnitudes, in open addressing: a redraw
  // looks up thousands of segments, and a node map's division and pointer
  // chase per lookup cost more than copying the pixels.
  class LineTable {
   public:
    const Stamp* Find(std::uint64_t key) const {
      if (slots_.empty()) return nullptr;
      const std::size_t mask = slots_.size() - 1;
      for (std::size_t i = Home(key);; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.Key == key) return &slot.Value;
        if (slot.Key == kEmpty) return nullptr;
      }
    }
    const Stamp& Insert(std::uint64_t key, const Stamp& stamp);  // key not in the table
    std::size_t Size() const { return size_; }
    void Clear();

   private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};  // no line's key
    struct Slot {
      std::uint64_t Key = kEmpty;
      Stamp Value;
    };
    // Fibonacci hashing: the keys' low bits (the shape) vary most.
    std::size_t Home(std::uint64_t key) const {
      return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
    }
    std::vector<Slot> slots_;  // a power of two long, at most half full
    int shift_ = 64;           // 64 less the bits of the slots' count
    std::size_t size_ = 0;
  };
  LineTable lines_;
  // Texts and lines kept for their very place, by a key of their kind ('T',
  // 'L') and what they are drawn with.
  std::unordered_map<std::string, Stamp> placed_;
  std::string placeKey_;
  QImage scratch_[2];
  QPainter scratchPainters_[2];       // after the pictures: they end first
  std::uint32_t background_[2] = {};  // the two backgrounds as stored pixels
  int taken_ = 0;
  int copied_ = 0;
};

inline bool PixelStamps::Line(const Target& target, std::uint32_t penId, const QPen& pen,
                              int penWidth, int x1, int y1, int x2, int y2) {
  if (target.Bits == nullptr) return false;
  if (target.Stride != stride_) FollowRows(target);
  const auto far = [](int v) { return v < -kMaxCoordinate || v > kMaxCoordinate; };
  if (penWidth > kMaxPenWidth || penId >= (1u << 14) || far(x1) || far(y1) || far(x2) || far(y2))
    return false;
  const int dx = x2 - x1;
  const int dy = y2 - y1;
  // Room around the line for its width, caps and last pixel.
  const int margin = penWidth + 4;
  const Box box{std::min(x1, x2) - margin, std::min(y1, y2) - margin, std::max(x1, x2) + margin,
                std::max(y1, y2) + margin};
  // Wholly off the picture (the Black chart's contours run on below it):
  // nothing of it can show.
  if (box.X1 < 0 || box.Y1 < 0 || box.X0 >= target.Width || box.Y0 >= target.Height) return true;
  // Long, or clipped by the picture's edge: the pixels hold for that place.
  if (dx < -kMaxLineSide || dx > kMaxLineSide || dy < -kMaxLineSide || dy > kMaxLineSide ||
      !Inside(target, box))
    return LineAtItsPlace(target, penId, pen, box, x1, y1, x2, y2);
  const std::uint64_t key = LineKey(penId, box, dx, dy);
  const Stamp* stamp = lines_.Find(key);
  if (stamp == nullptr) stamp = &TakeLine(target, key, box, pen, x1, y1, x2, y2);
  return Copy(target, *stamp, x1, y1);
}

}  // namespace tv::ui
