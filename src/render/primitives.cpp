// Drawing primitives: every diagram draws through these onto DrawCanvas.
#include "render/primitives.h"

#include <cmath>

namespace tv {

namespace {
constexpr int Clamp(long long v) {
  if (v > kCoordinateLimit) return kCoordinateLimit;
  if (v < -kCoordinateLimit) return -kCoordinateLimit;
  return static_cast<int>(v);
}
int Sx(const DiagramState& s, int x) { return Clamp(static_cast<long long>(x) + s.OriginX); }
int Sy(const DiagramState& s, int y) { return Clamp(static_cast<long long>(y) + s.OriginY); }

// A drawing library may return with the upper halves of the AVX registers
// still in use (Qt's raster fills do, after every line and every fill, on
// current Intel cores). Until they are cleared, every plain SSE instruction
// after it, the sweep's arithmetic and the library's own line geometry alike,
// runs many times slower: a redraw took several times as long. Clearing them
// costs a cycle and changes no value. A build for AVX has no plain SSE code
// and needs none of this.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__AVX__)
const bool kHasAvx = (__builtin_cpu_init(), __builtin_cpu_supports("avx"));
// Called after every drawing call, so it stays inline: vzeroupper keeps the
// lower halves, which are all that code built without AVX ever holds.
inline void SettleVectorUnit() {
  if (kHasAvx) __asm__ volatile("vzeroupper");
}
#else
inline void SettleVectorUnit() {}
#endif
}  // namespace

int RoundPixel(double v) {
  if (std::isnan(v)) return 0;
  if (v >= kCoordinateLimit) return kCoordinateLimit;
  if (v <= -kCoordinateLimit) return -kCoordinateLimit;
  // Adding and taking away 1.5 * 2^52 leaves no bits below the unit, so the
  // sum is rounded in the current mode (to nearest, ties to even), exactly as
  // nearbyint rounds, for any |v| below 2^51; without a call into the library.
  constexpr double kShift = 6755399441055744.0;
  const double rounded = (v + kShift) - kShift;
  return static_cast<int>(rounded);
}

void SetPen(DiagramState& s, PenStyle style, int width) {
  if (s.DrawCanvas) s.DrawCanvas->SetPen(style, width);
}

void SetDrawColour(DiagramState& s, Rgb colour) {
  if (s.DrawCanvas) s.DrawCanvas->SetColour(colour);
}

void UseColour(DiagramState& s, Rgb colour) {
  SetDrawColour(s, s.ForceBlack ? kBlack : colour);
}

void PlotMoveTo(DiagramState& s, int x, int y) {
  if (s.DrawCanvas) s.DrawCanvas->MoveTo(Sx(s, x), Sy(s, y));
}

void PlotLineTo(DiagramState& s, int x, int y) {
  if (!s.DrawCanvas) return;
  s.DrawCanvas->LineTo(Sx(s, x), Sy(s, y));
  SettleVectorUnit();
}

void PlotLine(DiagramState& s, int x1, int y1, int x2, int y2) {
  if (y1 >= s.PlotHeight && y2 >= s.PlotHeight) return;
  if (y1 <= 0 && y2 <= 0) return;
  PlotMoveTo(s, x1, y1);
  PlotLineTo(s, x2, y2);
}

void PlotDottedLine(DiagramState& s, int x1, int y1, int x2, int y2) {
  SetPen(s, PenStyle::Dotted, s.FramePenWidth);
  PlotLine(s, x1, y1, x2, y2);
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
}

void PlotText(DiagramState& s, int x, int y, std::string_view text) {
  if (y >= s.PlotHeight || !s.DrawCanvas) return;
  s.DrawCanvas->TextOut(Sx(s, x), Sy(s, y), text);
  SettleVectorUnit();
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
  SettleVectorUnit();
}

void ClearPlot(DiagramState& s) { ClearRect(s, 0, 0, s.PlotWidth, s.PlotHeight); }

int TextWidth(DiagramState& s, std::string_view text) {
  return s.DrawCanvas ? s.DrawCanvas->TextWidth(text) : 0;
}

int TextHeight(DiagramState& s, std::string_view text) {
  return s.DrawCanvas ? s.DrawCanvas->TextHeight(text) : 0;
}

}  // namespace tv
