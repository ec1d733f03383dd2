// Curves on paper: cut to the frame, dots that run on along a curve, each curve's name at its end.
#pragma once

#include <string>
#include <vector>

#include "core/diagram_state.h"
#include "render/draw_target.h"

namespace tv {

// Narrowest curve on paper, in pixels of the page's layout (90 per inch) or
// of a metafile (96 per inch): 2 pixels, 0.56 mm or 0.53 mm, above the
// 0.35 mm below which a printed line reads as grey.
inline constexpr int kPaperCurvePen = 2;

// The rectangle that curves stay inside on paper, in plot coordinates.
struct PaperFrame {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The segment cut to the frame; false when no part of it lies inside.
bool CutToFrame(const PaperFrame& f, int& x1, int& y1, int& x2, int& y2);

// Pen width of every curve on paper: the gain curves' own, never below
// kPaperCurvePen.
int PaperCurvePen(const DrawTarget& t);

// One curve drawn on paper, segment after segment, with the current colour
// and pen. A dotted curve is drawn as short solid dashes whose pattern runs
// on from one segment to the next (a curve drawn one pixel column at a time
// would otherwise restart its dots at every column and print as a grey
// trace); dots and gaps are sized from the pen, so that they stay apart on
// the page. Remembers the last point drawn inside the frame, where the
// curve's name goes.
class PaperCurve {
 public:
  void Line(const DrawTarget& t, const PaperFrame& frame, int x1, int y1, int x2, int y2,
            bool dotted);
  bool HasEnd() const { return hasEnd_; }
  int EndX() const { return endX_; }
  int EndY() const { return endY_; }

 private:
  double along_ = 0;  // length drawn so far, for the dots' pattern
  bool hasEnd_ = false;
  int endX_ = 0, endY_ = 0;
};

// A curve's name and where it ends.
struct CurveEnd {
  std::string Name;
  Rgb Colour;
  int X = 0, Y = 0;
};

// A rectangle of text on the plot.
struct TextBox {
  int X = 0, Y = 0, W = 0, H = 0;
};

// Each name written just left of and above its curve's end, inside the
// frame, moved up a line while it would cover a name already written or one
// of the frame's own texts in taken, so that curves of the same colour
// (everything is black on paper) stay readable.
void WriteCurveNames(const DrawTarget& t, const PaperFrame& frame,
                     const std::vector<CurveEnd>& ends, std::vector<TextBox> taken = {});

// The name the product curve carries on paper, as its box reads: the
// ticked functions joined by dots ("H1.H2"). Empty with fewer than two: the
// product is then the one ticked function's own curve, already named.
std::string ProductName(const bool ticked[3]);

}  // namespace tv
