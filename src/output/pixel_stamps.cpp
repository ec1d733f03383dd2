// Stamps of lines and texts: painted twice where they first occur on a scratch picture, kept as the
// pixels they set, copied.
#include "output/pixel_stamps.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "output/cp1252.h"

namespace tv::ui {

namespace {
// Lines kept for their very place: what the picture shows of their box at
// most (a margin's mark across the whole plot is far smaller).
constexpr std::size_t kMaxPlacedPixels = std::size_t{1} << 16;
constexpr int kMaxTextWidth = 1024;
// Pixels kept for all stamps together (8 bytes each); past it they are all
// dropped and taken again as they come.
constexpr std::size_t kMaxPixels = std::size_t{1} << 21;
constexpr std::size_t kMaxStamps = std::size_t{1} << 16;
// A text seen once at its place, not taken yet.
constexpr std::int32_t kSeenOnce = -2;
// The two backgrounds a stamp is painted over: black and white, so that any
// partly covered pixel of a glyph edge comes out different.
constexpr QRgb kBackgrounds[2] = {0xff000000u, 0xffffffffu};
}  // namespace

PixelStamps::PixelStamps(QImage::Format format, std::function<void(QPainter&)> setup)
    : format_(format), setup_(std::move(setup)) {
  for (int pass = 0; pass < 2; ++pass) {
    QImage one(1, 1, format_);
    one.fill(kBackgrounds[pass]);
    background_[pass] = *reinterpret_cast<const std::uint32_t*>(one.constBits());
  }
}

PixelStamps::Stamp PixelStamps::Take(const Target& target, const Box& box, int ax, int ay,
                                     const std::function<void(QPainter&)>& draw, bool placed) {
  ++taken_;
  Stamp stamp;
  for (int pass = 0; pass < 2; ++pass) {
    QImage& img = scratch_[pass];
    QPainter& p = scratchPainters_[pass];
    if (img.width() != target.Width || img.height() != target.Height || img.format() != format_) {
      if (p.isActive()) p.end();
      img = QImage(target.Width, target.Height, format_);
    }
    // Each scratch picture keeps its painter open from one stamp to the
    // next: opening one costs more than the drawing.
    if (!p.isActive()) {
      if (!p.begin(&img)) return stamp;
      setup_(p);
    }
    // Only the box is looked at, so only the box is cleared; the drawing
    // must not reach its edge, so nothing it sets lies outside.
    p.fillRect(box.X0, box.Y0, box.Width(), box.Height(), QColor::fromRgba(kBackgrounds[pass]));
    draw(p);
  }
  const qsizetype strideA = scratch_[0].bytesPerLine() / 4;
  const qsizetype strideB = scratch_[1].bytesPerLine() / 4;
  const auto* a0 = reinterpret_cast<const std::uint32_t*>(scratch_[0].constBits());
  const auto* b0 = reinterpret_cast<const std::uint32_t*>(scratch_[1].constBits());
  const std::size_t first = pixels_.size();
  int minDx = 0, minDy = 0, maxDx = 0, maxDy = 0;
  bool any = false;
  for (int y = box.Y0; y <= box.Y1; ++y) {
    const std::uint32_t* ra = a0 + y * strideA;
    const std::uint32_t* rb = b0 + y * strideB;
    for (int x = box.X0; x <= box.X1; ++x) {
      if (ra[x] == rb[x]) {
        // Set by the drawing; on the box's edge it may have gone further,
        // unless that edge is the picture's, where the painter clips the
        // drawing of a stamp kept for its very place as it clips the
        // picture's own.
        const bool right = x == target.Width - 1, bottom = y == target.Height - 1;
        if ((x == box.X0 && !(placed && x == 0)) || (y == box.Y0 && !(placed && y == 0)) ||
            (x == box.X1 && !(placed && right)) || (y == box.Y1 && !(placed && bottom))) {
          pixels_.resize(first);
          return stamp;
        }
        const int dx = x - ax, dy = y - ay;
        pixels_.push_back(
            {static_cast<std::int32_t>(static_cast<qsizetype>(dy) * target.Stride + dx), ra[x]});
        if (!any) {
          minDx = maxDx = dx;
          minDy = maxDy = dy;
          any = true;
        }
        minDx = std::min(minDx, dx);
        maxDx = std::max(maxDx, dx);
        minDy = std::min(minDy, dy);
        maxDy = std::max(maxDy, dy);
      } else if (ra[x] != background_[0] || rb[x] != background_[1]) {
        pixels_.resize(first);
        return stamp;  // depends on what lies beneath
      }
    }
  }
  stamp.First = static_cast<std::uint32_t>(first);
  stamp.Count = static_cast<std::int32_t>(pixels_.size() - first);
  stamp.MinDx = static_cast<std::int16_t>(minDx);
  stamp.MinDy = static_cast<std::int16_t>(minDy);
  stamp.MaxDx = static_cast<std::int16_t>(maxDx);
  stamp.MaxDy = static_cast<std::int16_t>(maxDy);
  return stamp;
}

void PixelStamps::FollowRows(const Target& target) {
  if (target.Stride == stride_) return;
  stride_ = target.Stride;
  pixels_.clear();
  lines_.Clear();
  placed_.clear();
}

bool PixelStamps::MakeRoom(std::size_t pixels) {
  if (pixels_.size() + pixels <= kMaxPixels && lines_.Size() + placed_.size() < kMaxStamps)
    return false;
  pixels_.clear();
  lines_.Clear();
  placed_.clear();
  return true;
}

PixelStamps::Stamp* PixelStamps::AtPlace() {
  const auto it = placed_.find(placeKey_);
  if (it != placed_.end()) return &it->second;
  // Taken at its second showing at a place: a margin's value or mark moves
  // with every step and would be taken each time, never copied.
  MakeRoom(0);
  Stamp seen;
  seen.Count = kSeenOnce;
  placed_.emplace(placeKey_, seen);
  return nullptr;
}

PixelStamps::Stamp& PixelStamps::TakeAtPlace(const Target& target, const Box& box, int ax, int ay,
                                             const std::function<void(QPainter&)>& draw,
                                             bool clippedByPicture) {
  // The room made may have dropped every stamp, this one's note with them.
  MakeRoom(box.Pixels());
  Stamp& stamp = placed_[placeKey_];
  stamp = Take(target, box, ax, ay, draw, clippedByPicture);
  return stamp;
}

bool PixelStamps::LineAtItsPlace(const Target& target, std::uint32_t penId, const QPen& pen,
                                 const Box& box, int x1, int y1, int x2, int y2) {
  // Only what the picture shows of the box is looked at.
  const Box shown{std::max(box.X0, 0), std::max(box.Y0, 0), std::min(box.X1, target.Width - 1),
                  std::min(box.Y1, target.Height - 1)};
  if (shown.Pixels() > kMaxPlacedPixels ||
      static_cast<qsizetype>(target.Width) * target.Height > kMaxPicturePixels)
    return false;
  // With the picture's size: the edge clips the line where it lies.
  placeKey_.assign(1, 'L');
  for (const int v : {static_cast<int>(penId), x1, y1, x2, y2, target.Width, target.Height})
    placeKey_.append(reinterpret_cast<const char*>(&v), sizeof v);
  const Stamp* stamp = AtPlace();
  if (stamp == nullptr) return false;
  if (stamp->Count == kSeenOnce) {
    stamp = &TakeAtPlace(
        target, shown, x1, y1,
        [&](QPainter& p) {
          p.setPen(pen);
          p.drawLine(x1, y1, x2, y2);
        },
        true);
  }
  return Copy(target, *stamp, x1, y1);
}

const PixelStamps::Stamp& PixelStamps::LineTable::Insert(std::uint64_t key, const Stamp& stamp) {
  if (2 * (size_ + 1) > slots_.size()) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(1024, 2 * old.size()), Slot{});
    shift_ = 64 - std::countr_zero(slots_.size());
    size_ = 0;
    for (const Slot& slot : old)
      if (slot.Key != kEmpty) Insert(slot.Key, slot.Value);
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = Home(key);
  while (slots_[i].Key != kEmpty) i = (i + 1) & mask;
  slots_[i] = {key, stamp};
  ++size_;
  return slots_[i].Value;
}

void PixelStamps::LineTable::Clear() {
  slots_.clear();
  shift_ = 64;
  size_ = 0;
}

const PixelStamps::Stamp& PixelStamps::TakeLine(const Target& target, std::uint64_t key,
                                                const Box& box, const QPen& pen, int x1, int y1,
                                                int x2, int y2) {
  MakeRoom(box.Pixels());
  return lines_.Insert(key, Take(target, box, x1, y1, [&](QPainter& p) {
                         p.setPen(pen);
                         p.drawLine(x1, y1, x2, y2);
                       }));
}

bool PixelStamps::Text(const Target& target, std::uint32_t fontId, const QFont& font,
                       const QPen& pen, int x, int baseline, std::string_view bytes) {
  if (target.Bits == nullptr || bytes.size() > 256) return false;
  FollowRows(target);
  // Wholly right of or below the picture (the legend's formulas and the
  // Black view's labels run on past a narrow plot): nothing of it can show.
  // Glyphs reach past their cell by less than two cells.
  if (const int cell = font.pixelSize(); cell > 0) {
    const int reach = 2 * cell + 2;
    if (x - reach >= target.Width || baseline - 2 * reach >= target.Height) return true;
  }
  const QRgb colour = pen.color().rgba();
  // Kept for its very place: the labels and legends of a redraw stand where
  // they stood in the one before, and nothing needs measuring to find them.
  placeKey_.assign(1, 'T');
  for (const std::uint32_t v :
       {fontId, static_cast<std::uint32_t>(colour), static_cast<std::uint32_t>(x),
        static_cast<std::uint32_t>(baseline)})
    placeKey_.append(reinterpret_cast<const char*>(&v), sizeof v);
  placeKey_.append(bytes);
  Stamp* stamp = AtPlace();
  if (stamp == nullptr) return false;
  if (stamp->Count == kSeenOnce) {
    const QString text = FromCp1252(bytes);
    const QImage probe(1, 1, format_);
    const QFontMetrics metrics(font, &probe);
    const int advance = metrics.horizontalAdvance(text);
    // Room for glyphs that reach past their cell, on every side.
    const int margin = metrics.height() + 2;
    const Box box{x - margin, baseline - metrics.ascent() - margin, x + advance + margin,
                  baseline + metrics.descent() + margin};
    if (advance > kMaxTextWidth || !Inside(target, box)) {
      stamp->Count = -1;
      return false;
    }
    stamp = &TakeAtPlace(target, box, x, baseline, [&](QPainter& p) {
      p.setPen(pen);
      p.setFont(font);
      p.drawText(x, baseline, text);
    });
  }
  return Copy(target, *stamp, x, baseline);
}

}  // namespace tv::ui
