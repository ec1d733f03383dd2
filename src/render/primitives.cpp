// Drawing primitives: every diagram draws through these onto DrawCanvas.
#include "render/primitives.h"

#include <cmath>

namespace tv {

using detail::Sx;
using detail::Sy;

void PlotText(DiagramState& s, int x, int y, std::string_view text) {
  if (y >= s.PlotHeight || !s.DrawCanvas) return;
  s.DrawCanvas->TextOut(Sx(s, x), Sy(s, y), text);
}

void FillSquare(DiagramState& s, int cx, int cy, int r) {
  for (int y = cy - r; y <= cy + r; ++y) PlotLine(s, cx - r, y, cx + r, y);
}

void DrawMarker(DiagramState& s, int x, int y) {
  for (int dy : {0, 1, -1, -2, 2}) PlotLine(s, x - 2, y + dy, x + 2, y + dy);
}

void DrawArrow(DiagramState& s, int x1, int y1, int x2, int y2) {
  SetPen(s, PenStyle::Solid, s.CurvePenWidth);
  const float dx = static_cast<float>(x2) - static_cast<float>(x1);
  const float dy = static_cast<float>(y2) - static_cast<float>(y1);
  const float len = std::sqrt(dx * dx + dy * dy);
  if (len != 0.0f) {
    const float ux = dx / len;
    const float uy = dy / len;
    PlotMoveTo(s, x1, y1);
    PlotLineTo(s, x2, y2);
    PlotMoveTo(s, x2, y2);
    PlotLineTo(s, RoundPixel(x2 - 12.0 * ux + 4.0 * uy), RoundPixel(y2 - 12.0 * uy - 4.0 * ux));
    PlotMoveTo(s, x2, y2);
    PlotLineTo(s, RoundPixel(x2 - 12.0 * ux - 4.0 * uy), RoundPixel(y2 - 12.0 * uy + 4.0 * ux));
  }
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
}

void ClearRect(DiagramState& s, int x, int y, int w, int h) {
  if (!s.ScreenCanvas) return;
  s.ScreenCanvas->FillWhite(x, y, w, h);
}

void ClearPlot(DiagramState& s) { ClearRect(s, 0, 0, s.PlotWidth, s.PlotHeight); }

void BeginPlotFrame(DiagramState& s) {
  if (s.DrawCanvas) s.DrawCanvas->BeginFrame();
}

void EndPlotFrame(DiagramState& s) {
  if (s.DrawCanvas) s.DrawCanvas->EndFrame();
}

int TextWidth(DiagramState& s, std::string_view text) {
  return s.DrawCanvas ? s.DrawCanvas->TextWidth(text) : 0;
}

int TextHeight(DiagramState& s, std::string_view text) {
  return s.DrawCanvas ? s.DrawCanvas->TextHeight(text) : 0;
}

}  // namespace tv
