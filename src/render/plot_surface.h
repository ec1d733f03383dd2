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

// One pen, colour, move or line call of a run handed to the surface at once
// (PlotSurface::DrawRun).
struct DrawStep {
  enum class Kind : std::uint8_t { Pen, Colour, Move, Line };
  Kind What = Kind::Move;
  // Colour: its components. Pen: the style in R.
  std::uint8_t R = 0, G = 0, B = 0;
  // Move, Line: the point. Pen: the width in X.
  std::int32_t X = 0, Y = 0;
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
        case DrawStep::Kind::Pen: SetPen(static_cast<PenStyle>(step.R), step.X); break;
        case DrawStep::Kind::Colour: SetColour({step.R, step.G, step.B}); break;
        case DrawStep::Kind::Move: MoveTo(step.X, step.Y); break;
        case DrawStep::Kind::Line: LineTo(step.X, step.Y); break;
      }
    }
  }
};

}  // namespace tv
