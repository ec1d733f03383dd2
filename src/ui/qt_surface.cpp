// QPainter on a QImage behind the plot surface: pens, lines, texts on white cells, white fills.
#include "ui/qt_surface.h"

#include <algorithm>

#include "ui/cp1252.h"
#include "ui/fonts.h"

namespace tv::ui {

namespace {
constexpr int kMaxSide = 1 << 15;  // QImage refuses larger sides

QImage WhiteImage(int width, int height) {
  QImage image(std::clamp(width, 1, kMaxSide), std::clamp(height, 1, kMaxSide),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}
}  // namespace

QtSurface::QtSurface(int width, int height)
    : image_(WhiteImage(width, height)), font_(PlotFont(10)), metrics_(font_) {}

QtSurface::~QtSurface() { Finish(); }

void QtSurface::Resize(int width, int height) {
  Finish();
  image_ = WhiteImage(width, height);
}

void QtSurface::Finish() {
  if (painter_.isActive()) painter_.end();
}

QPainter& QtSurface::Painter() {
  if (!painter_.isActive()) {
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBackgroundMode(Qt::OpaqueMode);
    painter_.setBackground(QBrush(Qt::white));
    painter_.setBrush(Qt::NoBrush);
    penApplied_ = false;
    fontApplied_ = false;
    if (OnDrawingStarted) OnDrawingStarted();
  }
  return painter_;
}

void QtSurface::ApplyPen() {
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
    pen.setCosmetic(true);
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

void QtSurface::SetPen(PenStyle style, int width) {
  if (wanted_.style == style && wanted_.width == width) return;
  wanted_.style = style;
  wanted_.width = width;
  penApplied_ = false;
}

void QtSurface::SetColour(Rgb colour) {
  const QRgb rgb = qRgb(colour.R, colour.G, colour.B);
  if (wanted_.colour == rgb) return;
  wanted_.colour = rgb;
  penApplied_ = false;
}

void QtSurface::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

void QtSurface::LineTo(int x, int y) {
  QPainter& p = Painter();
  ApplyPen();
  p.drawLine(penX_, penY_, x, y);
  penX_ = x;
  penY_ = y;
}

void QtSurface::TextOut(int x, int y, std::string_view text) {
  if (text.empty()) return;
  QPainter& p = Painter();
  ApplyPen();
  if (!fontApplied_) {
    p.setFont(font_);
    fontApplied_ = true;
  }
  p.drawText(x, y + metrics_.ascent(), FromCp1252(text));
}

int QtSurface::TextWidth(std::string_view text) {
  return metrics_.horizontalAdvance(FromCp1252(text));
}

int QtSurface::TextHeight(std::string_view) { return metrics_.height(); }

void QtSurface::SetFontHeight(int pixels) {
  fontHeight_ = pixels;
  font_ = PlotFont(pixels);
  metrics_ = QFontMetrics(font_);
  fontApplied_ = false;
}

void QtSurface::FillWhite(int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return;
  Painter().fillRect(x, y, w, h, Qt::white);
}

}  // namespace tv::ui
