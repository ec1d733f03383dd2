// QPainter behind the plot surface on a picture, a printer page or an SVG: pens, lines, texts,
// fills.
#include "output/painter_surface.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <algorithm>
#include <cstring>

#include "output/cp1252.h"
#include "output/fonts.h"

namespace tv::ui {

namespace {
constexpr int kMaxCell = 512;
// Pens kept at most; a drawing with more makes the rest as it goes, and the
// stamps leave them to the painter.
constexpr std::size_t kMaxPens = 1024;

// Every painter the surface draws with, its own and the stamps' scratch
// ones: lines without antialiasing, antialiased text, and, as on screen,
// the gaps of a dotted pen white, not see-through.
void SetUpPainter(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(QBrush(Qt::white));
  painter.setBrush(Qt::NoBrush);
}

// Qt's raster fills may return with the upper halves of the AVX registers
// still in use; on cores that charge for it, every plain SSE instruction
// after them, the sweep's arithmetic included, then runs many times slower.
// vzeroupper clears them and keeps the lower halves, all that code built
// without AVX ever holds. A build for AVX has no plain SSE code.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__AVX__)
const bool kHasAvx = (__builtin_cpu_init(), __builtin_cpu_supports("avx"));
inline void SettleVectorUnit() {
  if (kHasAvx) __asm__ volatile("vzeroupper");
}
#else
inline void SettleVectorUnit() {}
#endif

QImage* StampablePicture(QPaintDevice& device) {
  if (device.devType() != QInternal::Image) return nullptr;
  auto* image = static_cast<QImage*>(&device);
  const QImage::Format f = image->format();
  if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 &&
      f != QImage::Format_ARGB32_Premultiplied)
    return nullptr;
  return image;
}
}  // namespace

QFont PlotFontForDevice(int cell, QPaintDevice& device) {
  cell = std::clamp(cell, 1, kMaxCell);
  QFont font = PlotFont(cell);
  // A pixel size is a device pixel on most devices, but not necessarily on
  // all: search from the screen's size for the largest that fits the cell.
  int pixels = std::max(1, font.pixelSize());
  font.setPixelSize(pixels);
  while (pixels < kMaxCell) {
    QFont bigger = font;
    bigger.setPixelSize(pixels + 1);
    if (QFontMetrics(bigger, &device).height() > cell) break;
    font = bigger;
    ++pixels;
  }
  while (pixels > 1 && QFontMetrics(font, &device).height() > cell) font.setPixelSize(--pixels);
  return font;
}

PainterSurface::PainterSurface(QPaintDevice& device, int fontHeight, bool cosmeticPens, bool stamps)
    : device_(device),
      cosmeticPens_(cosmeticPens),
      fontHeight_(fontHeight),
      font_(PlotFontForDevice(fontHeight, device)),
      metrics_(font_, &device) {
  ForgetPens();
  if (stamps) {
    if (QImage* image = StampablePicture(device))
      stamps_ = std::make_unique<PixelStamps>(image->format(), SetUpPainter);
  }
}

PainterSurface::~PainterSurface() {
  SettleClear();
  if (painter_.isActive()) painter_.end();
}

bool PainterSurface::Begin() { return Painter() != nullptr; }

void PainterSurface::SetClip(const QRect& rect) {
  SettleClear();
  clip_ = rect;
  if (painter_.isActive()) {
    if (clip_.isEmpty())
      painter_.setClipping(false);
    else
      painter_.setClipRect(clip_);
  }
}

void PainterSurface::SetScale(double scaleX, double scaleY) {
  if (scaleX <= 0.0 || scaleY <= 0.0 || (scaleX == scaleX_ && scaleY == scaleY_)) return;
  SettleClear();
  scaleX_ = scaleX;
  scaleY_ = scaleY;
  ForgetPens();
  penApplied_ = false;
  if (painter_.isActive()) {
    painter_.resetTransform();
    painter_.scale(scaleX_, scaleY_);
  }
}

bool PainterSurface::End() {
  SettleClear();
  painting_ = false;
  if (refused_) return false;
  if (!painter_.isActive()) return true;
  return painter_.end();
}

QPainter* PainterSurface::Painter() {
  if (painter_.isActive()) return &painter_;
  if (refused_) return nullptr;
  const double ratio = device_.devicePixelRatioF();
  if (ratio != ratio_) {
    // A cosmetic pen is as wide in device pixels at any ratio, a plain one
    // in the layout's pixels: the pens are made anew, and the stamps, which
    // know pens by number, start again.
    ratio_ = ratio;
    ForgetPens();
    if (stamps_) stamps_ = std::make_unique<PixelStamps>(stamps_->Format(), SetUpPainter);
  }
  // The stamps copy pixels of the layout: at another ratio, or under a
  // scale, everything is painted call by call.
  QImage* picture = stamps_ && ratio_ == 1.0 && !Scaled() ? StampablePicture(device_) : nullptr;
  if (picture && !stamps_->Takes(picture->format())) picture = nullptr;
  // Until a picture the stamps can copy into is open, they copy nothing.
  target_ = {};
  // A picture shared with a copy gets its own pixels now, before the
  // painter and the stamps take their address.
  if (picture) picture->bits();
  if (!painter_.begin(&device_)) {
    refused_ = true;
    return nullptr;
  }
  painting_ = true;
  SetUpPainter(painter_);
  if (Scaled()) painter_.scale(scaleX_, scaleY_);
  if (!clip_.isEmpty()) painter_.setClipRect(clip_);
  if (picture) {
    // The painter writes straight into the pixels as each call returns, so
    // stamps copied in between keep the order of the drawing.
    target_.Bits = reinterpret_cast<std::uint32_t*>(const_cast<uchar*>(picture->constBits()));
    target_.Stride = picture->bytesPerLine() / 4;
    target_.Width = picture->width();
    target_.Height = picture->height();
  }
  penApplied_ = false;
  fontApplied_ = false;
  if (OnDrawingStarted) OnDrawingStarted();
  return &painter_;
}

QPen PainterSurface::MakePen(const PenKey& key) const {
  QPen pen(QColor::fromRgb(key.colour));
  pen.setWidth(std::max(1, key.width));
  // Cosmetic pens draw the same pixels only where a pixel is a device pixel.
  pen.setCosmetic(cosmeticPens_ && ratio_ == 1.0 && !Scaled());
  pen.setJoinStyle(Qt::MiterJoin);
  if (key.style == PenStyle::Dotted) {
    pen.setStyle(Qt::DotLine);
    pen.setCapStyle(Qt::FlatCap);
  } else {
    pen.setStyle(Qt::SolidLine);
    pen.setCapStyle(Qt::SquareCap);
  }
  return pen;
}

void PainterSurface::ForgetPens() {
  pens_.clear();
  penSlots_.fill({});
  penNumber_ = -1;
}

inline std::uint64_t PainterSurface::PackedPen(const PenKey& key) {
  if (key.width < 0 || key.width >= (1 << 30) ||
      (key.style != PenStyle::Solid && key.style != PenStyle::Dotted))
    return kUnpacked;
  return key.colour | static_cast<std::uint64_t>(key.width) << 32 |
         static_cast<std::uint64_t>(key.style == PenStyle::Dotted) << 62;
}

inline int PainterSurface::PenNumber() {
  if (penNumber_ >= 0) return penNumber_;
  const std::uint64_t key = PackedPen(wanted_);
  std::size_t freeSlot = penSlots_.size();
  if (key != kUnpacked) {
    const std::size_t mask = penSlots_.size() - 1;
    std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 58);
    for (std::size_t k = 0; k < penSlots_.size(); ++k, i = (i + 1) & mask) {
      const PenSlot& slot = penSlots_[i];
      if (slot.Key == key) return penNumber_ = slot.Number;
      if (slot.Number < 0) {
        freeSlot = i;
        break;
      }
    }
  }
  return penNumber_ = FindPen(key, freeSlot);
}

int PainterSurface::FindPen(std::uint64_t key, std::size_t freeSlot) {
  // A packed pen whose probe ended at an empty slot is new; any other may
  // be anywhere in pens_.
  if (key == kUnpacked || freeSlot == penSlots_.size()) {
    for (std::size_t i = 0; i < pens_.size(); ++i)
      if (pens_[i].key == wanted_) return static_cast<int>(i);
  }
  if (pens_.size() >= kMaxPens) return -1;
  const QPen pen = MakePen(wanted_);
  pens_.push_back({wanted_, pen, pen.width()});
  const int number = static_cast<int>(pens_.size() - 1);
  if (key != kUnpacked && freeSlot < penSlots_.size()) penSlots_[freeSlot] = {key, number};
  return number;
}

void PainterSurface::ApplyPen() {
  if (penApplied_) return;
  const int number = PenNumber();
  painter_.setPen(number >= 0 ? pens_[static_cast<std::size_t>(number)].pen : MakePen(wanted_));
  penApplied_ = true;
}

void PainterSurface::Record(FrameCall::Kind kind, int a, int b, int c, int d) {
  frameCalls_.push_back({kind, a, b, c, d, {}});
}

inline void PainterSurface::ChoosePen(PenStyle style, int width) {
  if (wanted_.style == style && wanted_.width == width) return;
  wanted_.style = style;
  wanted_.width = width;
  penApplied_ = false;
  penNumber_ = -1;
}

inline void PainterSurface::ChooseColour(QRgb rgb) {
  if (wanted_.colour == rgb) return;
  wanted_.colour = rgb;
  penApplied_ = false;
  penNumber_ = -1;
}

inline void PainterSurface::StrokeTo(int x, int y) {
  if (QPainter* p = painting_ ? &painter_ : Painter()) {
    SettleClear();
    const int id = target_.Bits != nullptr ? PenNumber() : -1;
    const NumberedPen* pen = id >= 0 ? &pens_[static_cast<std::size_t>(id)] : nullptr;
    if (!pen || !stamps_->Line(target_, static_cast<std::uint32_t>(id), pen->pen, pen->width, penX_,
                               penY_, x, y)) {
      ApplyPen();
      p->drawLine(penX_, penY_, x, y);
      SettleVectorUnit();
    }
  }
  penX_ = x;
  penY_ = y;
}

void PainterSurface::SetPen(PenStyle style, int width) {
  if (framing_) Record(FrameCall::Kind::Pen, static_cast<int>(style), width, 0, 0);
  ChoosePen(style, width);
}

void PainterSurface::SetColour(Rgb colour) {
  if (framing_) Record(FrameCall::Kind::Colour, colour.R, colour.G, colour.B, 0);
  ChooseColour(qRgb(colour.R, colour.G, colour.B));
}

void PainterSurface::MoveTo(int x, int y) {
  if (framing_) Record(FrameCall::Kind::Move, x, y, 0, 0);
  penX_ = x;
  penY_ = y;
}

void PainterSurface::LineTo(int x, int y) {
  if (framing_) {
    Record(FrameCall::Kind::Line, x, y, 0, 0);
    penX_ = x;
    penY_ = y;
    return;
  }
  StrokeTo(x, y);
  // Taking a stamp paints too.
  SettleVectorUnit();
}

void PainterSurface::DrawRun(std::span<const DrawStep> steps) {
  if (framing_) {
    PlotSurface::DrawRun(steps);
    return;
  }
  for (const DrawStep& step : steps) {
    switch (step.What) {
      case DrawStep::Kind::Pen: ChoosePen(static_cast<PenStyle>(step.R), step.X1); break;
      case DrawStep::Kind::Colour: ChooseColour(qRgb(step.R, step.G, step.B)); break;
      case DrawStep::Kind::Segment:
        penX_ = step.X1;
        penY_ = step.Y1;
        StrokeTo(step.X2, step.Y2);
        break;
    }
  }
  // Stamps taken on the way painted too.
  SettleVectorUnit();
}

void PainterSurface::TextOut(int x, int y, std::string_view text) {
  if (text.empty()) return;
  if (framing_) {
    frameCalls_.push_back({FrameCall::Kind::Text, x, y, 0, 0, std::string(text)});
    return;
  }
  QPainter* p = Painter();
  if (!p) return;
  SettleClear();
  if (target_.Bits != nullptr) {
    const int id = PenNumber();
    if (id >= 0 && stamps_->Text(target_, fontId_, font_, pens_[static_cast<std::size_t>(id)].pen,
                                 x, y + metrics_.ascent(), text))
      return;
  }
  ApplyPen();
  if (!fontApplied_) {
    p->setFont(font_);
    fontApplied_ = true;
  }
  const QString s = FromCp1252(text);
  // The raster engine paints the white cell through the opaque background
  // mode; not every other engine (SVG) honours it, so there it is filled.
  if (p->paintEngine()->type() != QPaintEngine::Raster)
    p->fillRect(x, y, metrics_.horizontalAdvance(s), metrics_.height(), Qt::white);
  p->drawText(x, y + metrics_.ascent(), s);
  SettleVectorUnit();
}

int PainterSurface::TextWidth(std::string_view text) {
  // Widths of values that change at every step would pile up.
  constexpr std::size_t kMaxWidths = 4096;
  const std::string key(text);
  if (const auto it = widths_.find(key); it != widths_.end()) return it->second;
  if (widths_.size() >= kMaxWidths) widths_.clear();
  const int width = metrics_.horizontalAdvance(FromCp1252(text));
  widths_.emplace(key, width);
  return width;
}

int PainterSurface::TextHeight(std::string_view) { return metrics_.height(); }

void PainterSurface::SetFontHeight(int pixels) {
  if (framing_) Record(FrameCall::Kind::Font, pixels, 0, 0, 0);
  fontHeight_ = pixels;
  font_ = PlotFontForDevice(pixels, device_);
  metrics_ = QFontMetrics(font_, &device_);
  widths_.clear();
  fontApplied_ = false;
  ++fontId_;
}

void PainterSurface::FillWhite(int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return;
  if (framing_) {
    Record(FrameCall::Kind::Fill, x, y, w, h);
    return;
  }
  QPainter* p = Painter();
  if (!p) return;
  // On the window's picture, a fill of all of it is made only when
  // something else is drawn: the Black view clears the picture before its
  // frame, which, copied from the kept pixels, covers it again.
  if (target_.Bits != nullptr && !Scaled() && clip_.isEmpty() && x <= 0 && y <= 0 &&
      static_cast<long long>(x) + w >= target_.Width &&
      static_cast<long long>(y) + h >= target_.Height) {
    clearPending_ = true;
    pendingClear_ = QRect(x, y, w, h);
    return;
  }
  SettleClear();
  p->fillRect(x, y, w, h, Qt::white);
  SettleVectorUnit();
}

void PainterSurface::MakePendingClear() {
  clearPending_ = false;
  if (!painter_.isActive()) return;
  painter_.fillRect(pendingClear_, Qt::white);
  SettleVectorUnit();
}

void PainterSurface::BeginFrame() {
  if (!stamps_ || framing_) return;
  QImage* picture = StampablePicture(device_);
  if (!picture) return;
  frameStart_ = {wanted_,
                 penX_,
                 penY_,
                 fontHeight_,
                 picture->width(),
                 picture->height(),
                 picture->format(),
                 picture->devicePixelRatio()};
  frameCalls_.clear();
  framing_ = true;
}

void PainterSurface::EndFrame() {
  if (!framing_) return;
  framing_ = false;
  FrameStart& start = frameStart_;
  // The pen's position at the start counts only for a line drawn from it.
  const auto firstPlace =
      std::find_if(frameCalls_.begin(), frameCalls_.end(), [](const FrameCall& c) {
        return c.What == FrameCall::Kind::Move || c.What == FrameCall::Kind::Line;
      });
  const bool fromStart =
      firstPlace != frameCalls_.end() && firstPlace->What == FrameCall::Kind::Line;
  const int penX = start.penX, penY = start.penY;
  if (!fromStart) start.penX = start.penY = 0;
  // Under a scale or a clip the calls do not tell the pixels alone.
  const bool keepable = !Scaled() && clip_.isEmpty() &&
                        CoversPicture(frameCalls_, start.width, start.height, start.ratio);
  const bool same = keepable && frameKnown_ && start == keptStart_ && frameCalls_ == keptCalls_;
  QImage* picture = StampablePicture(device_);
  if (same && !keptFrame_.isNull() && Painter() != nullptr) {
    // The state the calls left (pen, colour, position, font) is already set.
    std::memcpy(const_cast<uchar*>(picture->constBits()), keptFrame_.constBits(),
                static_cast<std::size_t>(picture->sizeInBytes()));
    clearPending_ = false;  // all of it covered
    ++framesCopied_;
    return;
  }
  // Painted: from the state the frame started in, call by call.
  wanted_ = start.pen;
  penNumber_ = -1;
  penApplied_ = false;
  penX_ = penX;
  penY_ = penY;
  if (fontHeight_ != start.fontHeight) SetFontHeight(start.fontHeight);
  for (const FrameCall& c : frameCalls_) {
    switch (c.What) {
      case FrameCall::Kind::Pen: SetPen(static_cast<PenStyle>(c.A), c.B); break;
      case FrameCall::Kind::Colour:
        SetColour({static_cast<std::uint8_t>(c.A), static_cast<std::uint8_t>(c.B),
                   static_cast<std::uint8_t>(c.C)});
        break;
      case FrameCall::Kind::Move: MoveTo(c.A, c.B); break;
      case FrameCall::Kind::Line: LineTo(c.A, c.B); break;
      case FrameCall::Kind::Text: TextOut(c.A, c.B, c.Text); break;
      case FrameCall::Kind::Font: SetFontHeight(c.A); break;
      case FrameCall::Kind::Fill: FillWhite(c.A, c.B, c.C, c.D); break;
    }
  }
  if (same && painter_.isActive()) {
    SettleClear();
    keptFrame_ = picture->copy();
  } else {
    frameKnown_ = keepable;
    keptStart_ = start;
    keptCalls_ = std::move(frameCalls_);
    frameCalls_.clear();
    keptFrame_ = QImage();
  }
}

}  // namespace tv::ui
