// The on-screen picture: a white QImage that the painter surface draws on.
#include "ui/qt_surface.h"

#include <algorithm>

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

detail::PictureHolder::PictureHolder(int width, int height) : image_(WhiteImage(width, height)) {}

QtSurface::QtSurface(int width, int height)
    : PictureHolder(width, height), PainterSurface(image_, 10, true, true) {}

QtSurface::~QtSurface() { Finish(); }

void QtSurface::Resize(int width, int height) {
  Finish();
  image_ = WhiteImage(width, height);
}

void QtSurface::Finish() { End(); }

}  // namespace tv::ui
