// A surface that records every call, so tests can check exact coordinates.
#pragma once

#include <string>
#include <vector>

#include "render/plot_surface.h"

namespace tv {

struct RecordedOp {
  enum Kind { Pen, Colour, Move, Line, Text, Fill, Font } kind = Pen;
  RecordedOp() = default;
  explicit RecordedOp(Kind k) : kind(k) {}
  int x = 0, y = 0, w = 0, h = 0;  // Line: from (x, y) to (w, h); Pen: w = width, h = style
  Rgb colour{};                    // colour in force (Line, Text) or set (Colour)
  int penWidth = 0;                // pen in force (Line)
  PenStyle penStyle = PenStyle::Solid;
  std::string text;
};

// Text measures are fixed so that layouts are predictable: every character is
// CharWidth pixels wide and every text is the font height high.
class RecordingSurface : public PlotSurface {
 public:
  int CharWidth = 6;
  std::vector<RecordedOp> Ops;
  bool RecordMoves = false;  // moves are folded into lines unless asked for

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

  void Clear() { Ops.clear(); }
  std::vector<RecordedOp> Lines() const;
  std::vector<RecordedOp> Texts() const;
  // First text op with exactly this text, or nullptr.
  const RecordedOp* FindText(std::string_view text) const;
  // Whether a line from (x1, y1) to (x2, y2) was drawn (either direction).
  bool HasLine(int x1, int y1, int x2, int y2) const;

  int PenX() const { return penX_; }
  int PenY() const { return penY_; }
  Rgb CurrentColour() const { return colour_; }
  PenStyle CurrentStyle() const { return style_; }
  int CurrentWidth() const { return width_; }

 private:
  int fontHeight_ = 10;
  int penX_ = 0, penY_ = 0;
  Rgb colour_{};
  PenStyle style_ = PenStyle::Solid;
  int width_ = 1;
};

}  // namespace tv
