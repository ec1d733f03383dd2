// Drawing primitives in plot coordinates: origin offsets, vertical rejection, colour rule.
#pragma once

#include <string_view>

#include "core/diagram_state.h"
#include "render/plot_surface.h"

namespace tv {

// Largest magnitude a coordinate may have when it reaches a surface; reals
// outside it (and NaN) are brought inside before they become integers.
inline constexpr int kCoordinateLimit = 1 << 24;

// Nearest integer, halves to the even neighbour, clamped to the coordinate
// limit (NaN gives 0) so that no conversion is ever undefined.
int RoundPixel(double v);

void SetPen(DiagramState& s, PenStyle style, int width);
void SetDrawColour(DiagramState& s, Rgb colour);
// Black while ForceBlack is set; every diagram colour request goes through it.
void UseColour(DiagramState& s, Rgb colour);
void PlotMoveTo(DiagramState& s, int x, int y);
void PlotLineTo(DiagramState& s, int x, int y);
// Nothing when both ends are at or below PlotHeight, or both at or above 0.
void PlotLine(DiagramState& s, int x1, int y1, int x2, int y2);
void PlotDottedLine(DiagramState& s, int x1, int y1, int x2, int y2);
// Only when y < PlotHeight.
void PlotText(DiagramState& s, int x, int y, std::string_view text);
void FillSquare(DiagramState& s, int cx, int cy, int r);
void DrawMarker(DiagramState& s, int x, int y);
void DrawArrow(DiagramState& s, int x1, int y1, int x2, int y2);
// Always on the on-screen image, without origin offsets.
void ClearRect(DiagramState& s, int x, int y, int w, int h);
void ClearPlot(DiagramState& s);

// Text measures of the current font of DrawCanvas.
int TextWidth(DiagramState& s, std::string_view text);
int TextHeight(DiagramState& s, std::string_view text);

}  // namespace tv
