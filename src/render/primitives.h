// Drawing primitives in plot coordinates: origin offsets, vertical rejection, colour rule.
#pragma once

#include <cmath>
#include <string_view>

#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/plot_surface.h"

namespace tv {

// Largest magnitude a coordinate may have when it reaches a surface; reals
// outside it (and NaN) are brought inside before they become integers.
inline constexpr int kCoordinateLimit = 1 << 24;

// Nearest integer, halves to the even neighbour, clamped to the coordinate
// limit (NaN gives 0) so that no conversion is ever undefined.
inline int RoundPixel(double v);

inline void SetPen(const DrawTarget& t, PenStyle style, int width);
inline void SetDrawColour(const DrawTarget& t, Rgb colour);
// Black while ForceBlack is set; every diagram colour request goes through it.
inline Rgb DiagramColour(const DrawTarget& t, Rgb colour);
inline void UseColour(const DrawTarget& t, Rgb colour);
inline void PlotMoveTo(const DrawTarget& t, int x, int y);
inline void PlotLineTo(const DrawTarget& t, int x, int y);
// Nothing when both ends are at or below PlotHeight, or both at or above 0
// (LineOffPlot).
inline bool LineOffPlot(const DrawTarget& t, int y1, int y2);
inline void PlotLine(const DrawTarget& t, int x1, int y1, int x2, int y2);
inline void PlotDottedLine(const DrawTarget& t, int x1, int y1, int x2, int y2);
// Only when y < PlotHeight.
void PlotText(const DrawTarget& t, int x, int y, std::string_view text);
void FillSquare(const DrawTarget& t, int cx, int cy, int r);
void DrawMarker(const DrawTarget& t, int x, int y);
void DrawArrow(const DrawTarget& t, int x1, int y1, int x2, int y2);
// Always on the on-screen image, without origin offsets.
void ClearRect(const DrawTarget& t, int x, int y, int w, int h);
void ClearPlot(const DrawTarget& t);
// Around the frame of the picture on DrawCanvas (see PlotSurface::BeginFrame).
void BeginPlotFrame(const DrawTarget& t);
void EndPlotFrame(const DrawTarget& t);

// Text measures of the current font of DrawCanvas.
int TextWidth(const DrawTarget& t, std::string_view text);
int TextHeight(const DrawTarget& t, std::string_view text);

// The sweep calls the primitives above thousands of times per redraw: they
// are defined here, so that they take no call of their own.

namespace detail {
constexpr int ClampCoordinate(long long v) {
  if (v > kCoordinateLimit) return kCoordinateLimit;
  if (v < -kCoordinateLimit) return -kCoordinateLimit;
  return static_cast<int>(v);
}
inline int Sx(const DrawTarget& t, int x) {
  return ClampCoordinate(static_cast<long long>(x) + t.OriginX);
}
inline int Sy(const DrawTarget& t, int y) {
  return ClampCoordinate(static_cast<long long>(y) + t.OriginY);
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

inline void SetPen(const DrawTarget& t, PenStyle style, int width) {
  if (t.DrawCanvas) t.DrawCanvas->SetPen(style, width);
}

inline void SetDrawColour(const DrawTarget& t, Rgb colour) {
  if (t.DrawCanvas) t.DrawCanvas->SetColour(colour);
}

inline Rgb DiagramColour(const DrawTarget& t, Rgb colour) { return t.ForceBlack ? kBlack : colour; }

inline void UseColour(const DrawTarget& t, Rgb colour) {
  SetDrawColour(t, DiagramColour(t, colour));
}

inline void PlotMoveTo(const DrawTarget& t, int x, int y) {
  if (t.DrawCanvas) t.DrawCanvas->MoveTo(detail::Sx(t, x), detail::Sy(t, y));
}

inline void PlotLineTo(const DrawTarget& t, int x, int y) {
  if (!t.DrawCanvas) return;
  t.DrawCanvas->LineTo(detail::Sx(t, x), detail::Sy(t, y));
}

inline bool LineOffPlot(const DrawTarget& t, int y1, int y2) {
  return (y1 >= t.PlotHeight && y2 >= t.PlotHeight) || (y1 <= 0 && y2 <= 0);
}

inline void PlotLine(const DrawTarget& t, int x1, int y1, int x2, int y2) {
  if (LineOffPlot(t, y1, y2)) return;
  PlotMoveTo(t, x1, y1);
  PlotLineTo(t, x2, y2);
}

inline void PlotDottedLine(const DrawTarget& t, int x1, int y1, int x2, int y2) {
  SetPen(t, PenStyle::Dotted, t.FramePenWidth);
  PlotLine(t, x1, y1, x2, y2);
  SetPen(t, PenStyle::Solid, t.FramePenWidth);
}

}  // namespace tv
