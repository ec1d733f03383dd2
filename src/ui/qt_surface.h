// The on-screen drawing surface: the diagram painted with QPainter onto a QImage.
#pragma once

#include <QImage>

#include "ui/painter_surface.h"

namespace tv::ui {

namespace detail {
// Holds the picture so that it exists before the painter surface drawing on it.
struct PictureHolder {
  QImage image_;
  PictureHolder(int width, int height);
};
}  // namespace detail

// The painter surface on a white picture of its own. One QPainter stays open
// on the image from the first drawing call until Finish: a whole redraw,
// thousands of lines, goes through one painter.
class QtSurface : private detail::PictureHolder, public PainterSurface {
 public:
  // A white picture of width × height pixels (at least 1 × 1), font cell 10.
  QtSurface(int width, int height);
  ~QtSurface() override;

  // A new white picture of that size; the pen, colour and font are kept.
  void Resize(int width, int height);
  // Ends the painting in progress, so that the picture is complete.
  void Finish();
  // The picture as drawn so far (call Finish first to have all of it).
  const QImage& Image() const { return image_; }
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
};

}  // namespace tv::ui
