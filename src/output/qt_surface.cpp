// The on-screen picture: a white QImage that the painter surface draws on.
#include "output/qt_surface.h"

#include <algorithm>
#include <cmath>

#include "output/large_page_image.h"

namespace tv::ui {

namespace {
constexpr int kMaxSide = 1 << 15;  // QImage refuses larger sides

int Side(int pixels) { return std::clamp(pixels, 1, kMaxSide); }

double Ratio(double ratio) { return ratio >= 1.0 && ratio <= 8.0 ? ratio : 1.0; }

QImage WhiteImage(int width, int height, double ratio) {
  ratio = Ratio(ratio);
  QImage image =
      LargePageImage(Side(static_cast<int>(std::ceil(Side(width) * ratio))),
                     Side(static_cast<int>(std::ceil(Side(height) * ratio))), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  return image;
}
}  // namespace

detail::PictureHolder::PictureHolder(int width, int height, double ratio)
    : image_(WhiteImage(width, height, ratio)) {}

QtSurface::QtSurface(int width, int height, double ratio, bool stamps)
    : PictureHolder(width, height, ratio),
      PainterSurface(image_, 10, true, stamps),
      width_(Side(width)),
      height_(Side(height)) {}

QtSurface::~QtSurface() { Finish(); }

void QtSurface::Resize(int width, int height) {
  Finish();
  width_ = Side(width);
  height_ = Side(height);
  image_ = WhiteImage(width_, height_, image_.devicePixelRatio());
}

void QtSurface::SetDevicePixelRatio(double ratio) {
  if (Ratio(ratio) == image_.devicePixelRatio()) return;
  Finish();
  image_ = WhiteImage(width_, height_, ratio);
}

void QtSurface::Finish() { End(); }

}  // namespace tv::ui
