// The on-screen drawing surface: the diagram painted with QPainter onto a QImage.
#pragma once

#include <QImage>

#include "output/painter_surface.h"

namespace tv::ui {

namespace detail {
// Holds the picture so that it exists before the painter surface drawing on it.
struct PictureHolder {
  QImage image_;
  PictureHolder(int width, int height, double ratio);
};
}  // namespace detail

// The painter surface on a white picture of its own. One QPainter stays open
// on the image from the first drawing call until Finish: a whole redraw,
// thousands of lines, goes through one painter.
//
// On a screen with several device pixels to a pixel (ratio 2 on a 4K laptop)
// the picture has ratio × as many pixels each way and is drawn at the
// device's resolution, lines and texts sharp, while every coordinate, width
// and text measure stays in pixels of the layout: the layout is the same as
// at ratio 1. At ratio 1 the picture is exactly the one it has always been.
class QtSurface : private detail::PictureHolder, public PainterSurface {
 public:
  // A white picture of width × height pixels (at least 1 × 1), font cell 10,
  // with ratio device pixels to a pixel. stamps: short lines and texts copied
  // from stamps (see PixelStamps), for a picture drawn again and again; a
  // picture drawn once (a batch export) is faster painted call by call.
  QtSurface(int width, int height, double ratio = 1.0, bool stamps = true);
  ~QtSurface() override;

  // A new white picture of that size; the pen, colour and font are kept.
  void Resize(int width, int height);
  // A new white picture for another screen's ratio, of the same size.
  void SetDevicePixelRatio(double ratio);
  double DevicePixelRatio() const { return image_.devicePixelRatio(); }
  // Ends the painting in progress, so that the picture is complete.
  void Finish();
  // The picture as drawn so far (call Finish first to have all of it), in
  // device pixels.
  const QImage& Image() const { return image_; }
  // Its size in pixels of the layout.
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_ = 1;
  int height_ = 1;
};

}  // namespace tv::ui
