// The on-screen drawing surface: the diagram painted with QPainter onto a QImage.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <array>
#include <functional>
#include <string_view>

#include "render/plot_surface.h"

namespace tv::ui {

// Lines are drawn without antialiasing, so pixels land where the coordinates
// say. One QPainter stays open on the image from the first drawing call until
// Finish (a whole redraw, thousands of lines, goes through one painter); pens
// are kept in a small cache so that drawing a line allocates nothing.
//
// Texts arrive as Windows-1252 bytes and are written with their top-left
// corner at the point, on an opaque white cell, in the pen's colour.
class QtSurface : public PlotSurface {
 public:
  // A white picture of width × height pixels (at least 1 × 1), font cell 10.
  QtSurface(int width, int height);
  ~QtSurface() override;
  QtSurface(const QtSurface&) = delete;
  QtSurface& operator=(const QtSurface&) = delete;

  // A new white picture of that size; the pen, colour and font are kept.
  void Resize(int width, int height);
  // Ends the painting in progress, so that the picture is complete.
  void Finish();
  // The picture as drawn so far (call Finish first to have all of it).
  const QImage& Image() const { return image_; }
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  const QFont& Font() const { return font_; }

  // Runs when a drawing starts on a finished picture (the window schedules
  // its repaint there).
  std::function<void()> OnDrawingStarted;

  void SetPen(PenStyle style, int width) override;
  void SetColour(Rgb colour) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void TextOut(int x, int y, std::string_view text) override;
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;
  void SetFontHeight(int pixels) override;
  int FontHeight() const override { return fontHeight_; }
  void FillWhite(int x, int y, int w, int h) override;

 private:
  struct PenKey {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    QRgb colour = 0xff000000;
    friend bool operator==(const PenKey&, const PenKey&) = default;
  };

  QPainter& Painter();
  void ApplyPen();

  QImage image_;
  QPainter painter_;
  PenKey wanted_;
  bool penApplied_ = false;

  static constexpr int kPenCacheSize = 16;
  std::array<PenKey, kPenCacheSize> cacheKeys_{};
  std::array<QPen, kPenCacheSize> cachePens_{};
  int cacheUsed_ = 0;
  int cacheNext_ = 0;  // slot replaced when the cache is full

  int penX_ = 0, penY_ = 0;
  int fontHeight_ = 10;
  QFont font_;
  QFontMetrics metrics_;
  bool fontApplied_ = false;
};

}  // namespace tv::ui
