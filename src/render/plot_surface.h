// The drawing surface every picture goes through: screen image, printer page, metafile or a
// recorder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/diagram_state.h"

namespace tv {

enum class PenStyle { Solid = 0, Dotted = 2 };

// One pen or colour call, or a segment (a move and a line), of a run handed
// to the surface at once (PlotSurface::DrawRun).
struct DrawStep {
  enum class Kind : std::uint8_t { Pen, Colour, Segment };
  Kind What = Kind::Segment;
  // Colour: its components. Pen: the style in R.
  std::uint8_t R = 0, G = 0, B = 0;
  // Segment: MoveTo(X1, Y1) then LineTo(X2, Y2). Pen: the width in X1.
  std::int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// Coordinates are device pixels of the surface (origin offsets already added).
// Texts are Windows-1252 bytes; the surface converts them for its font.
class PlotSurface {
 public:
  virtual ~PlotSurface() = default;

  virtual void SetPen(PenStyle style, int width) = 0;
  // Pen colour and font colour together.
  virtual void SetColour(Rgb colour) = 0;
  virtual void MoveTo(int x, int y) = 0;
  // Draws from the pen position to (x, y); the pen stays at (x, y).
  virtual void LineTo(int x, int y) = 0;
  // Top-left corner of the text at (x, y), on an opaque white cell.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  virtual int TextWidth(std::string_view text) = 0;
  virtual int TextHeight(std::string_view text) = 0;
  // Character cell height of the current font, in pixels.
  virtual void SetFontHeight(int pixels) = 0;
  virtual int FontHeight() const = 0;
  virtual void FillWhite(int x, int y, int w, int h) = 0;

  // The frame of a picture (grid, axes, scales and their texts) is drawn
  // between these two, first on the cleared plot, and depends on the view
  // alone. A surface may keep its pixels and, when the same calls come
  // again, put them back instead of painting them; the others draw it like
  // anything else.
  virtual void BeginFrame() {}
  virtual void EndFrame() {}

  // A sweep's pen, colour and line calls, thousands a picture, handed over
  // in runs: the same as making each step's call in turn, which is what a
  // surface does unless it draws them faster together.
  virtual void DrawRun(std::span<const DrawStep> steps) {
    for (const DrawStep& step : steps) {
      switch (step.What) {
        case DrawStep::Kind::Pen: SetPen(static_cast<PenStyle>(step.R), step.X1); break;
        case DrawStep::Kind::Colour: SetColour({step.R, step.G, step.B}); break;
        case DrawStep::Kind::Segment:
          MoveTo(step.X1, step.Y1);
          LineTo(step.X2, step.Y2);
          break;
      }
    }
  }
};

}  // namespace tv
