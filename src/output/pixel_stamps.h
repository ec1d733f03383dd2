// Pixels that a short line or a text leaves on the picture, taken once from the painter and copied
// from then on.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>
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
  // penWidth: pen's width, asked of the pen once by the caller.
  bool Line(const Target& target, std::uint32_t penId, const QPen& pen, int penWidth, int x1,
            int y1, int x2, int y2);
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
  static bool Inside(const Target& target, const Box& box);
  static std::uint64_t Magnitudes(const Box& box);
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
  bool Copy(const Target& target, const Stamp& stamp, int x, int y);
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
    const Stamp* Find(std::uint64_t key) const;
    const Stamp& Insert(std::uint64_t key, const Stamp& stamp);  // key not in the table
    std::size_t Size() const { return size_; }
    void Clear();

   private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};  // no line's key
    struct Slot {
      std::uint64_t Key = kEmpty;
      Stamp Value;
    };
    std::size_t Home(std::uint64_t key) const;
    std::vector<Slot> slots_;  // a power of two long, at most half full
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

}  // namespace tv::ui
