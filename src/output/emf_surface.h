// A drawing surface that records the diagram into a Windows enhanced metafile (.EMF) file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "render/plot_surface.h"

namespace tv::ui {

// Records every drawing call as the matching GDI record of an enhanced
// metafile (pens, move-to and line-to, text on an opaque white cell, white
// rectangles) and writes the file on Finish. Coordinates are pixels of the
// picture; the metafile's frame gives the picture its size at kReferenceDpi,
// and the picture is mapped onto that frame, so any EMF reader shows it at the
// size it has on a 96-dpi screen.
//
// The metafile cannot measure text: TextWidth and TextHeight measure through
// Qt with the screen's plot font of the same cell (DejaVu Sans), so the layout
// of the picture is the one of the screen. A QGuiApplication must exist.
class EmfSurface : public PlotSurface {
 public:
  static constexpr int kReferenceDpi = 96;
  static constexpr int kDefaultFontHeight = 10;

  // The picture is plotWidth × (plotHeight + 1) pixels, the size the program
  // gives its metafile for a plot of plotWidth × plotHeight. Sizes below one
  // pixel are taken as one.
  EmfSurface(int plotWidth, int plotHeight);
  ~EmfSurface() override;
  EmfSurface(const EmfSurface&) = delete;
  EmfSurface& operator=(const EmfSurface&) = delete;

  int PictureWidth() const;
  int PictureHeight() const;
  // False when the metafile could not be started (no memory); drawing is then
  // ignored and Finish fails.
  bool IsOpen() const;

  void SetPen(PenStyle style, int width) override;
  void SetColour(Rgb colour) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void TextOut(int x, int y, std::string_view text) override;
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;
  void SetFontHeight(int pixels) override;
  int FontHeight() const override;
  void FillWhite(int x, int y, int w, int h) override;

  // Completes the metafile and writes it to path (the file system's bytes)
  // through WriteFileAtomically, with its checks: a failed save leaves an
  // existing file as it was, a read-only file is replaced, a device or pipe
  // is refused. On failure returns false and, when error is given, sets it to
  // a French reason in Windows-1252. Can be called once; drawing after it is
  // ignored.
  bool Finish(const std::string& path, std::string* error);

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace tv::ui
