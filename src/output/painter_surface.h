// The plot surface on any Qt paint device: a printer page, an SVG generator, a picture.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "render/plot_surface.h"
#include "output/frame_record.h"
#include "output/pixel_stamps.h"

class QPaintDevice;

namespace tv::ui {

// Draws like the on-screen surface (lines without antialiasing, Qt::DotLine
// for dotted pens, texts with their top-left corner at the point on an opaque
// white cell), but on a device it does not own. Pen widths and coordinates
// are device pixels.
//
// The painter opens on the first drawing call or on Begin, and closes on End
// or when the surface is destroyed: for a printer, Begin starts the job and
// End prints the page, so the job's title must be set before. Text is measured
// against the device, so the character cell asked for is the one on the
// page, whatever its resolution.
class PainterSurface : public PlotSurface {
 public:
  // device must outlive the surface. fontHeight: the character cell in
  // device pixels. Cosmetic pens take the raster engine's fast path; on a
  // device drawn without a transform they cover the same pixels.
  // stamps: short lines and texts are copied from stamps of their pixels
  // (see PixelStamps) instead of painted, on a device that is a 32-bit
  // picture; the pixels are the same.
  explicit PainterSurface(QPaintDevice& device, int fontHeight = 10, bool cosmeticPens = false,
                          bool stamps = false);
  ~PainterSurface() override;
  PainterSurface(const PainterSurface&) = delete;
  PainterSurface& operator=(const PainterSurface&) = delete;

  // Opens the painter on the device; false when the device refused it (no
  // printer, an output file that cannot be created). After a refusal every
  // drawing call is ignored and End reports the failure.
  bool Begin();
  // Closes the painter: the printer prints, the generator completes its
  // output. False when painting could not start or the device reported a
  // failure. Drawing afterwards opens the painter again.
  bool End();
  bool IsActive() const { return painter_.isActive(); }
  // Device pixels to a pixel of the drawing, both ways: a page laid out in
  // pixels of the screen's density is printed at the printer's resolution
  // with scale = dpi / 96. Pen widths, coordinates and text measures stay in
  // the drawing's pixels; 1 draws in device pixels.
  void SetScale(double scaleX, double scaleY);
  double ScaleX() const { return scaleX_; }
  double ScaleY() const { return scaleY_; }
  // Nothing is drawn outside this rectangle of the drawing's pixels: a page
  // shows what the window's picture of that size shows, and its margins
  // stay blank.
  void SetClip(const QRect& rect);
  const QFont& Font() const { return font_; }
  // nullptr when the surface paints everything.
  const PixelStamps* Stamps() const { return stamps_.get(); }

  // Runs when the painter opens for a new drawing (the window schedules its
  // repaint there).
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
  // On a picture with stamps (the window's), the frame's calls are recorded
  // instead of painted; at its end, a frame that came the same the time
  // before is copied from the pixels kept then, any other is painted. The
  // pixels are kept at a frame's second drawing, so that a picture drawn
  // once (an export) copies nothing.
  void BeginFrame() override;
  void EndFrame() override;
  // The run's calls made in turn without a call each (the frame's are
  // recorded one by one).
  void DrawRun(std::span<const DrawStep> steps) override;
  // Frames copied from the kept pixels, for the tests.
  int FramesCopied() const { return framesCopied_; }

 private:
  struct PenKey {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    QRgb colour = 0xff000000;
    friend bool operator==(const PenKey&, const PenKey&) = default;
  };

  QPainter* Painter();  // nullptr once the device refused painting
  // Whether painter_ is open, as Painter() opened it and End() closes it:
  // asked at every line.
  bool painting_ = false;
  // A call of the frame, recorded; apart, so that the calls that record
  // stay short.
  [[gnu::cold]] [[gnu::noinline]] void Record(FrameCall::Kind kind, int a, int b, int c, int d);
  void ApplyPen();
  // What SetPen, SetColour and LineTo do once the frame's recording is out
  // of the way.
  void ChoosePen(PenStyle style, int width);
  void ChooseColour(QRgb rgb);
  [[gnu::always_inline]] void StrokeTo(int x, int y);
  QPen MakePen(const PenKey& key) const;
  // The wanted pen's number in pens_, -1 when the table is full.
  int PenNumber();

  QPaintDevice& device_;
  QPainter painter_;
  bool refused_ = false;
  bool penApplied_ = false;
  bool fontApplied_ = false;
  PenKey wanted_;
  bool cosmeticPens_ = false;
  QRect clip_;  // none when empty
  double scaleX_ = 1.0;
  double scaleY_ = 1.0;
  bool Scaled() const { return scaleX_ != 1.0 || scaleY_ != 1.0; }
  // The device's pixel ratio when the painter last opened (a picture for a
  // screen with several device pixels to a pixel).
  double ratio_ = 1.0;

  // A whole redraw changes pen thousands of times among a handful of pens:
  // every pen used is kept, numbered by its place here, so that drawing a
  // line allocates nothing and the stamps can tell pens apart by number.
  struct NumberedPen {
    PenKey key;
    QPen pen;
    int width = 1;  // the pen's own
  };
  std::vector<NumberedPen> pens_;
  int penNumber_ = -1;  // of wanted_, -1 until looked up
  // Numbers of pens_ by their key packed in 64 bits, probed in turn from a
  // hash of it up to an empty slot: a sweep changes pen at every segment.
  // Pens beyond its room, and those whose width does not pack, are found by
  // going through pens_.
  static constexpr std::uint64_t kUnpacked = ~std::uint64_t{0};
  static std::uint64_t PackedPen(const PenKey& key);
  struct PenSlot {
    std::uint64_t Key = kUnpacked;
    int Number = -1;
  };
  std::array<PenSlot, 64> penSlots_{};
  // The wanted pen's number when the slots do not hold it: found in pens_
  // or added. freeSlot: where the probe for its packed key ended.
  [[gnu::noinline]] int FindPen(std::uint64_t key, std::size_t freeSlot);
  void ForgetPens();

  // Stamps, and the picture they copy into while the painter is open.
  std::unique_ptr<PixelStamps> stamps_;
  PixelStamps::Target target_;
  std::uint32_t fontId_ = 0;

  // What the frame's drawing depends on besides its calls: the state the
  // surface starts it in, and the picture.
  struct FrameStart {
    PenKey pen;
    int penX = 0, penY = 0, fontHeight = 0;
    int width = 0, height = 0;
    QImage::Format format = QImage::Format_Invalid;
    double ratio = 0.0;
    friend bool operator==(const FrameStart&, const FrameStart&) = default;
  };
  bool framing_ = false;
  FrameStart frameStart_;
  FrameCalls frameCalls_;
  bool frameKnown_ = false;  // the last frame painted, whose pixels may be kept
  FrameStart keptStart_;
  FrameCalls keptCalls_;
  QImage keptFrame_;
  int framesCopied_ = 0;

  // A white fill of the whole picture not made yet: whatever sets a pixel,
  // or ends the painting, makes it first; a frame copied over all of the
  // picture forgets it.
  bool clearPending_ = false;
  QRect pendingClear_;
  void SettleClear() {
    if (clearPending_) MakePendingClear();
  }
  [[gnu::noinline]] void MakePendingClear();

  int penX_ = 0, penY_ = 0;
  int fontHeight_ = 10;
  QFont font_;
  QFontMetrics metrics_;
  // Widths measured in font_: a redraw measures the same captions and
  // values as the one before, and shaping a text costs more than drawing it.
  std::unordered_map<std::string, int> widths_;
};

// The plot font whose character cell on device is closest to cell pixels
// without exceeding it.
QFont PlotFontForDevice(int cell, QPaintDevice& device);

}  // namespace tv::ui
