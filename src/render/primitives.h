// Drawing primitives in plot coordinates: origin offsets, vertical rejection, colour rule.
#pragma once

#include <cmath>
#include <string_view>

#include "core/diagram_state.h"
#include "render/plot_surface.h"

namespace tv {

// Largest magnitude a coordinate may have when it reaches a surface; reals
// outside it (and NaN) are brought inside before they become integers.
inline constexpr int kCoordinateLimit = 1 << 24;

// Nearest integer, halves to the even neighbour, clamped to the coordinate
// limit (NaN gives 0) so that no conversion is ever undefined.
inline int RoundPixel(double v);

inline void SetPen(DiagramState& s, PenStyle style, int width);
inline void SetDrawColour(DiagramState& s, Rgb colour);
// Black while ForceBlack is set; every diagram colour request goes through it.
inline void UseColour(DiagramState& s, Rgb colour);
inline void PlotMoveTo(DiagramState& s, int x, int y);
inline void PlotLineTo(DiagramState& s, int x, int y);
// Nothing when both ends are at or below PlotHeight, or both at or above 0.
inline void PlotLine(DiagramState& s, int x1, int y1, int x2, int y2);
inline void PlotDottedLine(DiagramState& s, int x1, int y1, int x2, int y2);
// Only when y < PlotHeight.
void PlotText(DiagramState& s, int x, int y, std::string_view text);
void FillSquare(DiagramState& s, int cx, int cy, int r);
void DrawMarker(DiagramState& s, int x, int y);
void DrawArrow(DiagramState& s, int x1, int y1, int x2, int y2);
// Always on the on-screen image, without origin offsets.
void ClearRect(DiagramState& s, int x, int y, int w, int h);
void ClearPlot(DiagramState& s);
// Around the frame of the picture on DrawCanvas (see PlotSurface::BeginFrame).
void BeginPlotFrame(DiagramState& s);
void EndPlotFrame(DiagramState& s);

// Text measures of the current font of DrawCanvas.
int TextWidth(DiagramState& s, std::string_view text);
int TextHeight(DiagramState& s, std::string_view text);

// The sweep calls the primitives above thousands of times per redraw: they
// are defined here, so that they take no call of their own.

namespace detail {
constexpr int ClampCoordinate(long long v) {
  if (v > kCoordinateLimit) return kCoordinateLimit;
  if (v < -kCoordinateLimit) return -kCoordinateLimit;
  return static_cast<int>(v);
}
inline int Sx(const DiagramState& s, int x) {
  return ClampCoordinate(static_cast<long long>(x) + s.OriginX);
}
inline int Sy(const DiagramState& s, int y) {
  return ClampCoordinate(static_cast<long long>(y) + s.OriginY);
}
}  // namespace detail

inline int RoundPixel(double v) {
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

inline void SetPen(DiagramState& s, PenStyle style, int width) {
  if (s.DrawCanvas) s.DrawCanvas->SetPen(style, width);
}

inline void SetDrawColour(DiagramState& s, Rgb colour) {
  if (s.DrawCanvas) s.DrawCanvas->SetColour(colour);
}

inline void UseColour(DiagramState& s, Rgb colour) {
  SetDrawColour(s, s.ForceBlack ? kBlack : colour);
}

inline void PlotMoveTo(DiagramState& s, int x, int y) {
  if (s.DrawCanvas) s.DrawCanvas->MoveTo(detail::Sx(s, x), detail::Sy(s, y));
}

inline void PlotLineTo(DiagramState& s, int x, int y) {
  if (!s.DrawCanvas) return;
  s.DrawCanvas->LineTo(detail::Sx(s, x), detail::Sy(s, y));
}

inline void PlotLine(DiagramState& s, int x1, int y1, int x2, int y2) {
  if (y1 >= s.PlotHeight && y2 >= s.PlotHeight) return;
  if (y1 <= 0 && y2 <= 0) return;
  PlotMoveTo(s, x1, y1);
  PlotLineTo(s, x2, y2);
}

inline void PlotDottedLine(DiagramState& s, int x1, int y1, int x2, int y2) {
  SetPen(s, PenStyle::Dotted, s.FramePenWidth);
  PlotLine(s, x1, y1, x2, y2);
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
}

}  // namespace tv
