// The picture of the closed-loop locus: branches, open-loop poles and zeros, the current poles, the
// imaginary axis, the Ksi lines and the crossings' values.
#include "render/locus_view.h"
#include "render/clip.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/format.h"
#include "render/primitives.h"
#include "render/step_view.h"
#include "render/locus_texts.h"

namespace tv {

namespace {

using Complex = std::complex<double>;

// The dampings a course reads off the plane: 0.42 (a 23 % overshoot, the
// Black chart's 2.3 dB) and 0.7.
constexpr double kDampings[] = {0.42, 0.7};
// Markers farther than this many views from the locus do not widen it.
constexpr double kFarMarker = 10;

double NiceStep(double x) {
  if (!(x > 0) || !std::isfinite(x)) return 1;
  const double decade = std::pow(10.0, std::floor(std::log10(x)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * decade >= x) return m * decade;
  return 10 * decade;
}

// The segment clipped to the frame; false when nothing finite is left.
bool Clip(const LocusFrame& f, double& x1, double& y1, double& x2, double& y2) {
  return ClipSegment(f.Left, f.Top, f.Right, f.Bottom, x1, y1, x2, y2) && std::isfinite(x1) &&
         std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2);
}

void Segment(const DrawTarget& s, const LocusFrame& f, Complex a, Complex b) {
  double x1 = f.X(a.real()), y1 = f.Y(a.imag()), x2 = f.X(b.real()), y2 = f.Y(b.imag());
  if (Clip(f, x1, y1, x2, y2))
    PlotLine(s, RoundPixel(x1), RoundPixel(y1), RoundPixel(x2), RoundPixel(y2));
}

bool Inside(const LocusFrame& f, Complex z) {
  const double x = f.X(z.real()), y = f.Y(z.imag());
  return x >= f.Left && x <= f.Right && y >= f.Top && y <= f.Bottom;
}

void DrawGrid(const DrawTarget& s, const LocusFrame& f, int th) {
  const Complex low = f.At(f.Left, f.Bottom), high = f.At(f.Right, f.Top);
  const double step = NiceStep((high.real() - low.real()) / 8);
  UseColour(s, kGridGrey);
  for (double re = std::ceil(low.real() / step) * step; re <= high.real(); re += step)
    PlotDottedLine(s, RoundPixel(f.X(re)), f.Top, RoundPixel(f.X(re)), f.Bottom);
  for (double im = std::ceil(low.imag() / step) * step; im <= high.imag(); im += step)
    PlotDottedLine(s, f.Left, RoundPixel(f.Y(im)), f.Right, RoundPixel(f.Y(im)));
  UseColour(s, kBlack);
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
  PlotLine(s, f.Left, f.Top, f.Right, f.Top);
  PlotLine(s, f.Right, f.Top, f.Right, f.Bottom);
  PlotLine(s, f.Right, f.Bottom, f.Left, f.Bottom);
  PlotLine(s, f.Left, f.Bottom, f.Left, f.Top);
  // The axes themselves: the imaginary one is the stability limit.
  Segment(s, f, {low.real(), 0}, {high.real(), 0});
  Segment(s, f, {0, low.imag()}, {0, high.imag()});
  for (double re = std::ceil(low.real() / step) * step; re <= high.real(); re += step) {
    const std::string label = FormatReal(std::abs(re) < step * 1e-9 ? 0.0 : re);
    PlotText(s, RoundPixel(f.X(re)) - TextWidth(s, label) / 2, f.Bottom + 3, label);
  }
  for (double im = std::ceil(low.imag() / step) * step; im <= high.imag(); im += step) {
    const std::string label = FormatReal(std::abs(im) < step * 1e-9 ? 0.0 : im);
    PlotText(s, f.Left - TextWidth(s, label) - 4, RoundPixel(f.Y(im)) - th / 2, label);
  }
  // The axes' names at their ends, inside the frame.
  const int axisX = std::clamp(RoundPixel(f.X(0)), f.Left, f.Right - TextWidth(s, "Im") - 4);
  const int axisY = std::clamp(RoundPixel(f.Y(0)), f.Top + th, f.Bottom);
  PlotText(s, axisX + 4, f.Top + 2, "Im");
  PlotText(s, f.Right - TextWidth(s, "Re") - 2, axisY - th - 2, "Re");
}

void DrawDampingLines(const DrawTarget& s, const LocusFrame& f) {
  const double reach = 4 * (f.Right - f.Left + f.Bottom - f.Top) / f.Scale;
  UseColour(s, kBlack);
  for (double ksi : kDampings) {
    const Complex ray(-ksi * reach, std::sqrt(1 - ksi * ksi) * reach);
    for (const Complex end : {ray, std::conj(ray)}) {
      double x1 = f.X(0), y1 = f.Y(0), x2 = f.X(end.real()), y2 = f.Y(end.imag());
      if (!Clip(f, x1, y1, x2, y2)) continue;
      PlotDottedLine(s, RoundPixel(x1), RoundPixel(y1), RoundPixel(x2), RoundPixel(y2));
      if (end.imag() > 0) {
        const std::string label = "Ksi=" + FormatReal(ksi);
        const int w = TextWidth(s, label);
        PlotText(s, std::clamp(RoundPixel(x2) + 2, f.Left + 2, f.Right - w - 2), RoundPixel(y2) + 2,
                 label);
      }
    }
  }
}

void DrawBranches(const DrawTarget& s, const LocusFrame& f, const Locus& l) {
  UseColour(s, kBlue);
  SetPen(s, PenStyle::Solid, s.CurvePenWidth);
  for (std::size_t k = 1; k < l.Samples.size(); ++k) {
    const LocusSample& a = l.Samples[k - 1];
    const LocusSample& b = l.Samples[k];
    if (!a.Ok || !b.Ok || a.Roots.size() != b.Roots.size()) continue;
    for (std::size_t i = 0; i < a.Roots.size(); ++i) Segment(s, f, a.Roots[i], b.Roots[i]);
  }
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
}

void DrawOpenLoop(const DrawTarget& s, const LocusFrame& f, const LocusPoles& poles) {
  UseColour(s, kBlack);
  SetPen(s, PenStyle::Solid, s.CurvePenWidth);
  constexpr int r = 4;
  for (const Complex& p : poles.OpenPoles) {
    if (!Inside(f, p)) continue;
    const int x = RoundPixel(f.X(p.real())), y = RoundPixel(f.Y(p.imag()));
    PlotLine(s, x - r, y - r, x + r, y + r);
    PlotLine(s, x - r, y + r, x + r, y - r);
  }
  for (const Complex& z : poles.OpenZeros) {
    if (!Inside(f, z)) continue;
    const double x = f.X(z.real()), y = f.Y(z.imag());
    constexpr int kSides = 12;
    for (int k = 0; k < kSides; ++k) {
      const double a0 = 2 * std::numbers::pi * k / kSides,
                   a1 = 2 * std::numbers::pi * (k + 1) / kSides;
      PlotLine(s, RoundPixel(x + r * std::cos(a0)), RoundPixel(y + r * std::sin(a0)),
               RoundPixel(x + r * std::cos(a1)), RoundPixel(y + r * std::sin(a1)));
    }
  }
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
}

void DrawCrossings(const DrawTarget& s, const LocusFrame& f, const Locus& l) {
  UseColour(s, kRed);
  const std::string name(Info(l.Param).Name);
  for (const LocusCrossing& c : l.Crossings) {
    if (!Inside(f, {0, c.Omega})) continue;
    const int x = RoundPixel(f.X(0)), y = RoundPixel(f.Y(c.Omega));
    DrawMarker(s, x, y);
    if (c.Omega > 0) DrawMarker(s, x, RoundPixel(f.Y(-c.Omega)));
    PlotText(s, x + 6, y - TextHeight(s, "1p") - 2, name + " = " + FormatReal(c.Value));
  }
}

}  // namespace

LocusFrame LocusFrameOf(const DrawTarget& s, const Locus& l, const LocusPoles& poles) {
  LocusFrame f;
  const int th = TextHeight(s, "1p");
  f.Left = TextWidth(s, "-0.000") + 14;
  f.Right = s.PlotWidth - 16;
  f.Top = 8 + 3 * th;
  f.Bottom = s.PlotHeight - 2 * th - 10;
  if (f.Right <= f.Left || f.Bottom <= f.Top) return f;
  LocusBox box = l.Box;
  const double span = std::max(box.ReMax - box.ReMin, box.ImMax - box.ImMin);
  const auto widen = [&](Complex z) {
    if (std::abs(z) > kFarMarker * span) return;
    box.ReMin = std::min(box.ReMin, z.real());
    box.ReMax = std::max(box.ReMax, z.real());
    box.ImMin = std::min(box.ImMin, -std::abs(z.imag()));
    box.ImMax = std::max(box.ImMax, std::abs(z.imag()));
  };
  for (const auto* list : {&poles.OpenPoles, &poles.OpenZeros, &poles.Closed})
    for (const Complex& z : *list) widen(z);
  const double w = box.ReMax - box.ReMin, h = box.ImMax - box.ImMin;
  const double pad = 0.08 * std::max(w, h);
  f.Scale = std::min((f.Right - f.Left) / (w + 2 * pad), (f.Bottom - f.Top) / (h + 2 * pad));
  f.CentreRe = 0.5 * (box.ReMin + box.ReMax);
  f.CentreIm = 0.5 * (box.ImMin + box.ImMax);
  f.Valid = std::isfinite(f.Scale) && f.Scale > 0;
  return f;
}

void DrawLocusBase(const DrawTarget& s, const Locus& l, const LocusFrame& f,
                   std::string_view caption) {
  ClearPlot(s);
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
  const int th = TextHeight(s, "1p");
  UseColour(s, kBlack);
  if (!caption.empty()) {
    const std::string name(Info(l.Param).Name);
    const std::string title = "P\xF4les de " + std::string(caption) + " pour " + name + " de " +
                              FormatReal(l.From) + " \xE0 " + FormatReal(l.To);
    PlotText(s, s.PlotWidth - TextWidth(s, title) - 10, 4, title);
  }
  if (l.Outcome != LocusOutcome::Drawn) {
    PlotText(s, 10, 8 + 3 * th, LocusOutcomeText(l));
    return;
  }
  if (!f.Valid) return;
  // The stability range heads the picture, as the step view's read-outs do.
  const std::vector<std::string> range = LocusRangeLines(l);
  for (std::size_t i = 0; i < range.size() && i < 2; ++i)
    PlotText(s, 10, 4 + static_cast<int>(i + 1) * th, range[i]);
  DrawGrid(s, f, th);
  DrawDampingLines(s, f);
  DrawBranches(s, f, l);
  DrawCrossings(s, f, l);
  UseColour(s, kBlack);
}

void DrawLocusMarkers(const DrawTarget& s, const Locus& l, const LocusFrame& f,
                      const LocusPoles& poles) {
  if (l.Outcome != LocusOutcome::Drawn || !f.Valid) return;
  DrawOpenLoop(s, f, poles);
  UseColour(s, kBlack);
  for (const Complex& p : poles.Closed)
    if (Inside(f, p)) FillSquare(s, RoundPixel(f.X(p.real())), RoundPixel(f.Y(p.imag())), 3);
}

LocusFrame DrawLocusView(const DrawTarget& s, const Locus& l, const LocusPoles& poles,
                         std::string_view caption) {
  const LocusFrame f = l.Outcome == LocusOutcome::Drawn ? LocusFrameOf(s, l, poles) : LocusFrame{};
  DrawLocusBase(s, l, f, caption);
  DrawLocusMarkers(s, l, f, poles);
  return f;
}

}  // namespace tv
