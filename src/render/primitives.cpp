// Drawing primitives: every diagram draws through these onto DrawCanvas.
#include "render/primitives.h"

#include <cmath>

namespace tv {

using detail::Sx;
using detail::Sy;

void PlotText(const DrawTarget& t, int x, int y, std::string_view text) {
  if (y >= t.PlotHeight || !t.DrawCanvas) return;
  t.DrawCanvas->TextOut(Sx(t, x), Sy(t, y), text);
}

void FillSquare(const DrawTarget& t, int cx, int cy, int r) {
  for (int y = cy - r; y <= cy + r; ++y) PlotLine(t, cx - r, y, cx + r, y);
}

void DrawMarker(const DrawTarget& t, int x, int y) {
  for (int dy : {0, 1, -1, -2, 2}) PlotLine(t, x - 2, y + dy, x + 2, y + dy);
}

void DrawArrow(const DrawTarget& t, int x1, int y1, int x2, int y2) {
  SetPen(t, PenStyle::Solid, t.CurvePenWidth);
  const float dx = static_cast<float>(x2) - static_cast<float>(x1);
  const float dy = static_cast<float>(y2) - static_cast<float>(y1);
  const float len = std::sqrt(dx * dx + dy * dy);
  if (len != 0.0f) {
    const float ux = dx / len;
    const float uy = dy / len;
    PlotMoveTo(t, x1, y1);
    PlotLineTo(t, x2, y2);
    PlotMoveTo(t, x2, y2);
    PlotLineTo(t, RoundPixel(x2 - 12.0 * ux + 4.0 * uy), RoundPixel(y2 - 12.0 * uy - 4.0 * ux));
    PlotMoveTo(t, x2, y2);
    PlotLineTo(t, RoundPixel(x2 - 12.0 * ux - 4.0 * uy), RoundPixel(y2 - 12.0 * uy + 4.0 * ux));
  }
  SetPen(t, PenStyle::Solid, t.FramePenWidth);
}

void ClearRect(const DrawTarget& t, int x, int y, int w, int h) {
  if (!t.ScreenCanvas) return;
  t.ScreenCanvas->FillWhite(x, y, w, h);
}

void ClearPlot(const DrawTarget& t) { ClearRect(t, 0, 0, t.PlotWidth, t.PlotHeight); }

void BeginPlotFrame(const DrawTarget& t) {
  if (t.DrawCanvas) t.DrawCanvas->BeginFrame();
}

void EndPlotFrame(const DrawTarget& t) {
  if (t.DrawCanvas) t.DrawCanvas->EndFrame();
}

int TextWidth(const DrawTarget& t, std::string_view text) {
  return t.DrawCanvas ? t.DrawCanvas->TextWidth(text) : 0;
}

int TextHeight(const DrawTarget& t, std::string_view text) {
  return t.DrawCanvas ? t.DrawCanvas->TextHeight(text) : 0;
}

}  // namespace tv
