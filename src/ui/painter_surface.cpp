// QPainter on a printer page or an SVG generator behind the plot surface: pens, lines, text cells,
// fills.
#include "ui/painter_surface.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <algorithm>

#include "ui/cp1252.h"
#include "ui/fonts.h"

namespace tv::ui {

namespace {
constexpr int kMaxCell = 512;
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

PainterSurface::PainterSurface(QPaintDevice& device, int fontHeight, bool cosmeticPens)
    : device_(device),
      cosmeticPens_(cosmeticPens),
      fontHeight_(fontHeight),
      font_(PlotFontForDevice(fontHeight, device)),
      metrics_(font_, &device) {}

PainterSurface::~PainterSurface() {
  if (painter_.isActive()) painter_.end();
}

bool PainterSurface::Begin() { return Painter() != nullptr; }

bool PainterSurface::End() {
  if (refused_) return false;
  if (!painter_.isActive()) return true;
  return painter_.end();
}

QPainter* PainterSurface::Painter() {
  if (painter_.isActive()) return &painter_;
  if (refused_) return nullptr;
  if (!painter_.begin(&device_)) {
    refused_ = true;
    return nullptr;
  }
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  // As on screen: the gaps of a dotted pen are white, not see-through.
  painter_.setBackgroundMode(Qt::OpaqueMode);
  painter_.setBackground(QBrush(Qt::white));
  painter_.setBrush(Qt::NoBrush);
  penApplied_ = false;
  fontApplied_ = false;
  if (OnDrawingStarted) OnDrawingStarted();
  return &painter_;
}

void PainterSurface::ApplyPen() {
  if (penApplied_) return;
  int slot = -1;
  for (int i = 0; i < cacheUsed_; ++i) {
    if (cacheKeys_[i] == wanted_) {
      slot = i;
      break;
    }
  }
  if (slot < 0) {
    if (cacheUsed_ < kPenCacheSize) {
      slot = cacheUsed_++;
    } else {
      slot = cacheNext_;
      cacheNext_ = (cacheNext_ + 1) % kPenCacheSize;
    }
    QPen pen(QColor::fromRgb(wanted_.colour));
    pen.setWidth(std::max(1, wanted_.width));
    pen.setCosmetic(cosmeticPens_);
    pen.setJoinStyle(Qt::MiterJoin);
    if (wanted_.style == PenStyle::Dotted) {
      pen.setStyle(Qt::DotLine);
      pen.setCapStyle(Qt::FlatCap);
    } else {
      pen.setStyle(Qt::SolidLine);
      pen.setCapStyle(Qt::SquareCap);
    }
    cacheKeys_[slot] = wanted_;
    cachePens_[slot] = pen;
  }
  painter_.setPen(cachePens_[slot]);
  penApplied_ = true;
}

void PainterSurface::SetPen(PenStyle style, int width) {
  if (wanted_.style == style && wanted_.width == width) return;
  wanted_.style = style;
  wanted_.width = width;
  penApplied_ = false;
}

void PainterSurface::SetColour(Rgb colour) {
  const QRgb rgb = qRgb(colour.R, colour.G, colour.B);
  if (wanted_.colour == rgb) return;
  wanted_.colour = rgb;
  penApplied_ = false;
}

void PainterSurface::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

void PainterSurface::LineTo(int x, int y) {
  if (QPainter* p = Painter()) {
    ApplyPen();
    p->drawLine(penX_, penY_, x, y);
  }
  penX_ = x;
  penY_ = y;
}

void PainterSurface::TextOut(int x, int y, std::string_view text) {
  if (text.empty()) return;
  QPainter* p = Painter();
  if (!p) return;
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
}

int PainterSurface::TextWidth(std::string_view text) {
  return metrics_.horizontalAdvance(FromCp1252(text));
}

int PainterSurface::TextHeight(std::string_view) { return metrics_.height(); }

void PainterSurface::SetFontHeight(int pixels) {
  fontHeight_ = pixels;
  font_ = PlotFontForDevice(pixels, device_);
  metrics_ = QFontMetrics(font_, &device_);
  fontApplied_ = false;
}

void PainterSurface::FillWhite(int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return;
  if (QPainter* p = Painter()) p->fillRect(x, y, w, h, Qt::white);
}

}  // namespace tv::ui
