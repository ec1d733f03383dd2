// The step-response picture: axes, the curve, the final value and its band, the read-outs marked
// and written.
#include "core/translate.h"
#include "render/step_view.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "analysis/curves.h"
#include "core/format.h"
#include "core/translate.h"
#include "core/parameters.h"
#include "render/primitives.h"
#include "render/step_texts.h"

namespace tv {

namespace {

// Room for four read-out lines above the frame, whatever their number, so
// that the frame stays still while a parameter is stepped.
constexpr int kReadoutRows = 4;

double NiceTick(double x) {
  if (!(x > 0) || !std::isfinite(x)) return 1;
  const double decade = std::pow(10.0, std::floor(std::log10(x)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * decade >= x) return m * decade;
  return 10 * decade;
}

// The response between samples, on the straight line: marks only.
double ValueAt(const StepResponse& r, double t) {
  const auto it = std::lower_bound(r.T.begin(), r.T.end(), t);
  if (it == r.T.begin()) return r.Y.front();
  if (it == r.T.end()) return r.Y.back();
  const auto k = static_cast<std::size_t>(it - r.T.begin());
  const double u = (t - r.T[k - 1]) / (r.T[k] - r.T[k - 1]);
  return r.Y[k - 1] + u * (r.Y[k] - r.Y[k - 1]);
}

// Dashes of the final value's band in black, where it must not look like the
// grid's dots nor the markers' lines: in units of the frame pen's width.
constexpr int kBandDash = 6;
constexpr int kBandGap = 4;

// Shortest rise-time arrow, in pixels: below it the head alone would cover
// the shaft and draw a blob.
constexpr int kShortestArrow = 20;

struct Frame {
  int Left, Right, Top, Bottom;
  double YMin, YMax, TMax;
  int X(double t) const { return RoundPixel(Left + t / TMax * (Right - Left)); }
  int Y(double y) const { return RoundPixel(Bottom - (y - YMin) / (YMax - YMin) * (Bottom - Top)); }
};

// The segment cut to the frame (Liang-Barsky); nothing when it lies wholly
// outside. A diverging response leaves the frame: it must not cross the
// read-outs, the title or the axes' numbers.
void FrameLine(const DrawTarget& s, const Frame& f, int x1, int y1, int x2, int y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {static_cast<double>(x1 - f.Left), static_cast<double>(f.Right - x1),
                       static_cast<double>(y1 - f.Top), static_cast<double>(f.Bottom - y1)};
  double t0 = 0, t1 = 1;
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
  }
  if (t0 > t1) return;
  // A segment wholly inside keeps its own ends, to the pixel.
  if (t0 == 0 && t1 == 1) {
    PlotLine(s, x1, y1, x2, y2);
    return;
  }
  PlotLine(s, RoundPixel(x1 + t0 * dx), RoundPixel(y1 + t0 * dy), RoundPixel(x1 + t1 * dx),
           RoundPixel(y1 + t1 * dy));
}

// A horizontal line of dashes, for the band in black.
void DashedRow(const DrawTarget& s, int x1, int x2, int y) {
  const int unit = std::max(1, s.FramePenWidth);
  for (int x = x1; x < x2; x += (kBandDash + kBandGap) * unit)
    PlotLine(s, x, y, std::min(x + kBandDash * unit, x2), y);
}

// The values the frame shows: the whole response, or for a diverging one its
// first half, from which it then leaves the frame; 0 and the final value's
// band always.
std::pair<double, double> ValueRange(const StepResponse& r) {
  const StepReadouts& o = r.Readouts;
  std::size_t shown = r.Y.size();
  if (o.Kind == StepKind::Unstable) shown = std::max<std::size_t>(2, shown / 2);
  double a = 0, b = 0;
  for (std::size_t k = 0; k < shown; ++k) {
    a = std::min(a, r.Y[k]);
    b = std::max(b, r.Y[k]);
  }
  if (o.Kind == StepKind::Settles) {
    a = std::min(a, o.FinalValue - 0.05 * std::abs(o.FinalValue));
    b = std::max(b, o.FinalValue + 0.05 * std::abs(o.FinalValue));
  }
  if (!(b - a > 1e-300 * std::max(1.0, std::abs(a)))) {
    a -= 1;
    b += 1;
  }
  const double pad = 0.05 * (b - a);
  return {a - pad, b + pad};
}

// The ticks k·step inside [lo, hi], by their index: a step below the
// rounding of lo (a value of 1e20 and a range of 1e4) would never move a
// running sum, and a range of more than kMostTicks steps is no axis.
constexpr double kMostTicks = 100;
template <class F>
void ForEachTick(double lo, double hi, double step, F f) {
  const double first = std::ceil(lo / step), last = std::floor(hi / step);
  if (!std::isfinite(first) || !std::isfinite(last) || !(last - first <= kMostTicks)) return;
  // Counted apart from first: past 2^53, first + 1 is first.
  const int count = static_cast<int>(last - first);
  for (int i = 0; i <= count; ++i) f((first + i) * step);
}

void DrawAxes(const DrawTarget& s, const Frame& f, int th) {
  // The grid stays light grey and one pixel wide in black too, behind the
  // band and the markers.
  SetDrawColour(s, kGridGrey);
  if (s.ForceBlack) SetPen(s, PenStyle::Dotted, 1);
  const double yStep = NiceTick((f.YMax - f.YMin) / 6);
  const double tStep = NiceTick(f.TMax / 8);
  const auto gridLine = [&](int x1, int y1, int x2, int y2) {
    if (s.ForceBlack)
      PlotLine(s, x1, y1, x2, y2);
    else
      PlotDottedLine(s, x1, y1, x2, y2);
  };
  // Time ticks reach TMax when it is a rounding below a whole step.
  const double tEnd = f.TMax * (1 + 1e-9);
  ForEachTick(f.YMin, f.YMax, yStep, [&](double y) { gridLine(f.Left, f.Y(y), f.Right, f.Y(y)); });
  ForEachTick(tStep, tEnd, tStep, [&](double t) { gridLine(f.X(t), f.Top, f.X(t), f.Bottom); });
  UseColour(s, kBlack);
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
  PlotLine(s, f.Left, f.Top, f.Right, f.Top);
  PlotLine(s, f.Right, f.Top, f.Right, f.Bottom);
  PlotLine(s, f.Right, f.Bottom, f.Left, f.Bottom);
  PlotLine(s, f.Left, f.Bottom, f.Left, f.Top);
  ForEachTick(f.YMin, f.YMax, yStep, [&](double y) {
    // A tick a rounding away from zero is zero.
    const std::string label = FormatBounded(std::abs(y) < yStep * 1e-9 ? 0.0 : y);
    PlotText(s, f.Left - TextWidth(s, label) - 4, f.Y(y) - th / 2, label);
  });
  ForEachTick(0, tEnd, tStep, [&](double t) {
    const std::string label = FormatBounded(t);
    PlotText(s, f.X(t) - TextWidth(s, label) / 2, f.Bottom + 4, label);
  });
  PlotText(s, f.Right - TextWidth(s, "t (s)"), f.Bottom + 4 + th, "t (s)");
}

// One polyline through the samples, as a pixel column sees them: many
// samples in one column become one vertical stroke.
void DrawCurve(const DrawTarget& s, const Frame& f, const StepResponse& r) {
  UseColour(s, kBlue);
  SetPen(s, PenStyle::Solid, s.CurvePenWidth);
  int lastX = f.X(r.T[0]), lastY = f.Y(r.Y[0]);
  int column = lastX, low = lastY, high = lastY, first = lastY, now = lastY;
  const auto flush = [&] {
    FrameLine(s, f, lastX, lastY, column, first);
    if (low != high) FrameLine(s, f, column, low, column, high);
    lastX = column;
    lastY = now;
  };
  for (std::size_t k = 1; k < r.T.size(); ++k) {
    const int x = f.X(r.T[k]), y = f.Y(r.Y[k]);
    if (x != column) {
      flush();
      column = x;
      low = high = first = y;
    }
    low = std::min(low, y);
    high = std::max(high, y);
    now = y;
  }
  flush();
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
}

// A read-out time marked as a margin is on the Bode view: a line from the
// axis to the curve and a marker on it.
// In black the line is solid, apart from the dotted grid and the dashed band.
void MarkTime(const DrawTarget& s, const Frame& f, double t, double y) {
  if (s.ForceBlack)
    PlotLine(s, f.X(t), f.Bottom, f.X(t), f.Y(y));
  else
    PlotDottedLine(s, f.X(t), f.Bottom, f.X(t), f.Y(y));
  DrawMarker(s, f.X(t), f.Y(y));
}

void DrawMarks(const DrawTarget& s, const Frame& f, const StepResponse& r) {
  const StepReadouts& o = r.Readouts;
  if (o.Kind != StepKind::Settles) return;
  UseColour(s, kBlack);
  const double band = 0.05 * std::abs(o.FinalValue);
  const auto bandRow = [&](double y) {
    if (s.ForceBlack)
      DashedRow(s, f.Left, f.Right, f.Y(y));
    else
      PlotDottedLine(s, f.Left, f.Y(y), f.Right, f.Y(y));
  };
  bandRow(o.FinalValue);
  if (band > 0) {
    bandRow(o.FinalValue + band);
    bandRow(o.FinalValue - band);
  }
  if (o.HasOvershoot) {
    UseColour(s, kRed);
    MarkTime(s, f, o.PeakTime, o.PeakValue);
    DrawArrow(s, f.X(o.PeakTime), f.Y(o.FinalValue), f.X(o.PeakTime), f.Y(o.PeakValue));
  }
  if (o.HasSettling && o.SettledInSpan) {
    UseColour(s, kPurple);
    MarkTime(s, f, o.SettlingTime, ValueAt(r, o.SettlingTime));
  }
  if (o.HasRise) {
    UseColour(s, kGreen);
    MarkTime(s, f, o.RiseStart, 0.1 * o.FinalValue);
    MarkTime(s, f, o.RiseEnd, 0.9 * o.FinalValue);
    if (f.X(o.RiseEnd) - f.X(o.RiseStart) >= kShortestArrow)
      DrawArrow(s, f.X(o.RiseStart), f.Y(0.9 * o.FinalValue), f.X(o.RiseEnd),
                f.Y(0.9 * o.FinalValue));
  }
}

}  // namespace

std::string StepCaption(const DiagramState& s, bool closedLoop) {
  std::string product;
  for (int i : TickedFunctions(s))
    product += (product.empty() ? "H" : ".H") + std::to_string(i + 1);
  if (product.empty()) return product;
  return closedLoop ? product + "/(1+" + product + ")" : product;
}

std::string StepParameterLine(const DiagramState& s) {
  std::string line;
  for (const ParameterInfo& e : kParameters) {
    if (!IsParameterUsed(s, e.ExpressionName)) continue;
    if (!line.empty()) line += "   ";
    line += std::string(e.LegendLabel) + FormatReal(s.*e.Field);
  }
  return line;
}

void DrawStepView(const DrawTarget& s, const StepResponse& r, std::string_view caption,
                  std::string_view parameters) {
  ClearPlot(s);
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
  const int th = TextHeight(s, "1p");
  const int textLeft = 10;
  const int top = 8 + (kReadoutRows + 1) * th;
  UseColour(s, kBlack);
  if (!caption.empty()) {
    const std::string title =
        Tr("StepView", "y(t), r\xE9ponse indicielle de ") + std::string(caption);
    PlotText(s, s.PlotWidth - TextWidth(s, title) - 10, 4, title);
  }
  // A frame whose values leave the doubles (an infinite final value) has no
  // axis to draw: it is the overflow.
  const auto [yMin, yMax] = r.Outcome == StepOutcome::Drawn ? ValueRange(r) : std::pair(0.0, 0.0);
  const bool finite = std::isfinite(yMax - yMin) && std::isfinite(r.TMax) && r.TMax > 0;
  if (r.Outcome != StepOutcome::Drawn || !finite) {
    const StepOutcome said = r.Outcome == StepOutcome::Drawn ? StepOutcome::Overflow : r.Outcome;
    PlotText(s, textLeft, top, StepOutcomeText(said));
    return;
  }

  Frame f{};
  f.Left = TextWidth(s, "-0.000") + 14;
  f.Right = s.PlotWidth - 16;
  f.Top = top;
  f.Bottom = s.PlotHeight - 2 * th - 10;
  f.TMax = r.TMax;
  f.YMin = yMin;
  f.YMax = yMax;
  if (f.Right <= f.Left || f.Bottom <= f.Top) return;

  DrawAxes(s, f, th);
  DrawMarks(s, f, r);
  DrawCurve(s, f, r);
  UseColour(s, kBlack);
  if (!parameters.empty()) PlotText(s, textLeft, f.Bottom + 4 + th, parameters);
  const std::vector<std::string> notes = StepNoteTexts(r);
  for (std::size_t i = 0; i < notes.size(); ++i)
    PlotText(s, f.Left + 6, f.Top + 4 + static_cast<int>(i) * th, notes[i]);

  const Rgb colours[] = {kBlack, kRed, kPurple, kGreen};
  const std::vector<std::string> lines = StepReadoutTexts(r);
  const StepReadouts& o = r.Readouts;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // The overshoot line says "aucun" in black: it marks nothing.
    const bool marked = i != 1 || o.HasOvershoot;
    UseColour(s, marked ? colours[std::min<std::size_t>(i, 3)] : kBlack);
    PlotText(s, textLeft, 4 + static_cast<int>(i) * th, lines[i]);
  }
  UseColour(s, kBlack);
}

// A ramp or an impulse: the frame holds the response (its first half when it
// diverges), 0, and for a ramp the ramp itself.
void DrawInputView(const DrawTarget& s, const InputResponse& r, std::string_view caption,
                   std::string_view parameters) {
  if (r.Input == InputKind::Step) {
    DrawStepView(s, r.Samples, caption, parameters);
    return;
  }
  const StepResponse& samples = r.Samples;
  const bool ramp = r.Input == InputKind::Ramp;
  ClearPlot(s);
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
  const int th = TextHeight(s, "1p");
  const int textLeft = 10;
  const int top = 8 + (kReadoutRows + 1) * th;
  UseColour(s, kBlack);
  if (!caption.empty()) {
    const std::string title = (ramp ? Tr("TimeResponse", "y(t), r\xE9ponse \xE0 la rampe de ")
                                    : Tr("TimeResponse", "y(t), r\xE9ponse impulsionnelle de ")) +
                              std::string(caption);
    PlotText(s, s.PlotWidth - TextWidth(s, title) - 10, 4, title);
  }
  if (samples.Outcome != StepOutcome::Drawn) {
    PlotText(s, textLeft, top, StepOutcomeText(samples.Outcome));
    return;
  }
  const std::size_t shown =
      r.Unstable ? std::max<std::size_t>(2, samples.Y.size() / 2) : samples.Y.size();
  double lo = 0, hi = ramp && !r.Unstable ? samples.TMax : 0;
  for (std::size_t k = 0; k < shown && k < samples.Y.size(); ++k) {
    lo = std::min(lo, samples.Y[k]);
    hi = std::max(hi, samples.Y[k]);
  }
  // Values that leave the doubles have no axis: the overflow.
  if (!std::isfinite(hi - lo) || !std::isfinite(samples.TMax) || !(samples.TMax > 0)) {
    PlotText(s, textLeft, top, StepOutcomeText(StepOutcome::Overflow));
    return;
  }

  Frame f{};
  f.Left = TextWidth(s, "-0.000") + 14;
  f.Right = s.PlotWidth - 16;
  f.Top = top;
  f.Bottom = s.PlotHeight - 2 * th - 10;
  f.TMax = samples.TMax;
  if (!(hi - lo > 1e-300 * std::max(1.0, std::abs(lo)))) {
    lo -= 1;
    hi += 1;
  }
  f.YMin = lo - 0.05 * (hi - lo);
  f.YMax = hi + 0.05 * (hi - lo);
  if (f.Right <= f.Left || f.Bottom <= f.Top) return;

  DrawAxes(s, f, th);
  if (ramp) {
    // r(t) = t, up to where it leaves the frame.
    UseColour(s, kBlack);
    const double end = std::min(f.TMax, f.YMax);
    if (end > 0) PlotDottedLine(s, f.X(0), f.Y(0), f.X(end), f.Y(end));
    if (r.Tracking == TrackingError::Finite && !samples.T.empty()) {
      const double t = samples.T.back();
      UseColour(s, kRed);
      if (t <= f.YMax) DrawArrow(s, f.X(t) - 6, f.Y(samples.Y.back()), f.X(t) - 6, f.Y(t));
    }
  } else if (r.HasPeak) {
    UseColour(s, kRed);
    MarkTime(s, f, r.PeakTime, r.PeakValue);
  }
  DrawCurve(s, f, samples);
  UseColour(s, kBlack);
  if (!parameters.empty()) PlotText(s, textLeft, f.Bottom + 4 + th, parameters);

  const std::vector<std::string> lines = InputReadoutTexts(r);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool marked =
        i == 0 && (ramp ? r.Tracking == TrackingError::Finite : r.HasPeak && !r.Unstable);
    UseColour(s, marked ? kRed : kBlack);
    PlotText(s, textLeft, 4 + static_cast<int>(i) * th, lines[i]);
  }
  UseColour(s, kBlack);
}

}  // namespace tv
