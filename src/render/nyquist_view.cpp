// The Nyquist picture: the loci and their mirrors on a scale compressed far from -1, the critical
// point, the unit circle, the margins and the verdict.
#include "render/nyquist_view.h"
#include "render/clip.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/format.h"
#include "core/translate.h"
#include "render/primitives.h"
#include "render/step_view.h"
#include "render/nyquist_texts.h"

namespace tv {

namespace {

constexpr double kPi = std::numbers::pi;
// Rows above the frame: the title and the verdict's three lines, whatever
// their number, so that the frame stays still while a parameter is stepped.
constexpr int kHeaderRows = 4;
// Beyond this magnitude the scale is compressed.
constexpr double kLinearUpTo = 5;

bool Finite(std::complex<double> h) { return std::isfinite(h.real()) && std::isfinite(h.imag()); }

bool Clip(const NyquistFrame& f, double& x1, double& y1, double& x2, double& y2) {
  return ClipSegment(f.Left, f.Top, f.Right, f.Bottom, x1, y1, x2, y2);
}

// A polyline in the frame, clipped to it.
class Polyline {
 public:
  // Strokes shorter than shortest pixels are joined to the next: a dotted
  // pen costs a set-up per stroke.
  Polyline(const DrawTarget& s, const NyquistFrame& f, double shortest = 2)
      : s_(s), f_(f), shortest_(shortest) {}
  void To(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) {
      Finish();
      started_ = false;
      return;
    }
    if (started_) {
      if ((x - x0_) * (x - x0_) + (y - y0_) * (y - y0_) < shortest_ * shortest_) {
        pending_ = true;
        xp_ = x;
        yp_ = y;
        return;
      }
      Stroke(x, y);
    }
    x0_ = x;
    y0_ = y;
    started_ = true;
    pending_ = false;
  }
  // The last point, when it was held back.
  void Finish() {
    if (started_ && pending_) Stroke(xp_, yp_);
    pending_ = false;
  }

 private:
  void Stroke(double x, double y) {
    double x1 = x0_, y1 = y0_, x2 = x, y2 = y;
    if (RoundPixel(x1) == RoundPixel(x2) && RoundPixel(y1) == RoundPixel(y2)) return;
    if (Clip(f_, x1, y1, x2, y2))
      PlotLine(s_, RoundPixel(x1), RoundPixel(y1), RoundPixel(x2), RoundPixel(y2));
  }

  const DrawTarget& s_;
  const NyquistFrame& f_;
  double shortest_;
  bool started_ = false, pending_ = false;
  double x0_ = 0, y0_ = 0, xp_ = 0, yp_ = 0;
};

double NiceStep(double x) {
  if (!(x > 0) || !std::isfinite(x)) return 1;
  const double decade = std::pow(10.0, std::floor(std::log10(x)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * decade >= x) return m * decade;
  return 10 * decade;
}

void DrawCircle(const DrawTarget& s, const NyquistFrame& f, double radius, double from, double to) {
  Polyline line(s, f);
  // Strokes of about 6 pixels.
  const double pixels = std::abs(to - from) * radius * f.PixelsPerUnit;
  const int steps = std::clamp(static_cast<int>(pixels / 6), 8, 180);
  for (int k = 0; k <= steps; ++k) {
    const std::complex<double> h = std::polar(radius, from + (to - from) * k / steps);
    line.To(f.X(h), f.Y(h));
  }
  line.Finish();
}

void DrawAxes(const DrawTarget& s, const NyquistFrame& f, int th) {
  UseColour(s, kGridGrey);
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
  const int x0 = RoundPixel(f.X(0.0)), y0 = RoundPixel(f.Y(0.0));
  if (x0 > f.Left && x0 < f.Right) PlotLine(s, x0, f.Top, x0, f.Bottom);
  if (y0 > f.Top && y0 < f.Bottom) PlotLine(s, f.Left, y0, f.Right, y0);
  // Ticks on the real axis over the part drawn at its true scale.
  const double halfWidth = (f.Right - f.Left) / 2.0 / f.PixelsPerUnit;
  double low = f.CentreX - halfWidth, high = f.CentreX + halfWidth;
  if (f.Radius > 0) {
    low = std::max(low, -f.Radius);
    high = std::min(high, f.Radius);
  }
  const double step = NiceStep(80 / f.PixelsPerUnit);
  UseColour(s, kBlack);
  for (double v = std::ceil(low / step) * step; v <= high + step * 1e-9; v += step) {
    const double at = std::abs(v) < step * 1e-9 ? 0.0 : v;
    const int x = RoundPixel(f.X(at));
    if (x < f.Left + 10 || x > f.Right - 10 || !(y0 >= f.Top && y0 <= f.Bottom)) continue;
    PlotLine(s, x, y0 - 3, x, y0 + 3);
    const std::string label = FormatReal(at);
    PlotText(s, x - TextWidth(s, label) / 2, y0 + 4, label);
  }
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
  PlotLine(s, f.Left, f.Top, f.Right, f.Top);
  PlotLine(s, f.Right, f.Top, f.Right, f.Bottom);
  PlotLine(s, f.Right, f.Bottom, f.Left, f.Bottom);
  PlotLine(s, f.Left, f.Bottom, f.Left, f.Top);
  PlotText(s, f.Right - TextWidth(s, "Re") - 4, y0 - th - 2, "Re");
  PlotText(s, x0 + 4, f.Top + 2, "Im");
  // The unit circle, and -1 crossed.
  SetPen(s, PenStyle::Dotted, s.FramePenWidth);
  DrawCircle(s, f, 1, 0, 2 * kPi);
  if (f.Radius > 0) {
    UseColour(s, kGridGrey);
    DrawCircle(s, f, f.Radius, 0, 2 * kPi);
    UseColour(s, kBlack);
  }
  SetPen(s, PenStyle::Solid, s.CurvePenWidth);
  const int cx = RoundPixel(f.X(-1.0)), cy = RoundPixel(f.Y(-1.0));
  if (cx > f.Left && cx < f.Right && cy > f.Top && cy < f.Bottom) {
    PlotLine(s, cx - 5, cy - 5, cx + 5, cy + 5);
    PlotLine(s, cx - 5, cy + 5, cx + 5, cy - 5);
  }
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
}

// The screen points of a locus (mirrored: conjugated, in the order of
// increasing w, that is from +infinity back to 0).
std::vector<std::pair<double, double>> ScreenPoints(const NyquistFrame& f,
                                                    const std::vector<NyquistPoint>& points,
                                                    bool mirror) {
  std::vector<std::pair<double, double>> out;
  out.reserve(points.size());
  for (const NyquistPoint& p : points) {
    const std::complex<double> c = f.Compressed(mirror ? std::conj(p.H) : p.H);
    out.emplace_back((f.Left + f.Right) / 2.0 + (c.real() - f.CentreX) * f.PixelsPerUnit,
                     (f.Top + f.Bottom) / 2.0 - (c.imag() - f.CentreY) * f.PixelsPerUnit);
  }
  if (mirror) std::reverse(out.begin(), out.end());
  return out;
}

// Arrows at a third and two thirds of the length drawn in the frame.
void DrawArrows(const DrawTarget& s, const NyquistFrame& f,
                const std::vector<std::pair<double, double>>& line) {
  const auto inside = [&](const std::pair<double, double>& p) {
    return p.first > f.Left && p.first < f.Right && p.second > f.Top && p.second < f.Bottom;
  };
  const auto length = [&](std::size_t k) {
    const double dx = line[k].first - line[k - 1].first, dy = line[k].second - line[k - 1].second;
    return std::sqrt(dx * dx + dy * dy);
  };
  double total = 0;
  for (std::size_t k = 1; k < line.size(); ++k)
    if (inside(line[k]) && inside(line[k - 1])) total += length(k);
  if (!(total > 40)) return;
  for (double fraction : {1.0 / 3, 2.0 / 3}) {
    const double at = fraction * total;
    double run = 0;
    for (std::size_t k = 1; k < line.size(); ++k) {
      if (!inside(line[k]) || !inside(line[k - 1])) continue;
      const double d = length(k);
      if (run + d < at) {
        run += d;
        continue;
      }
      // Back along the curve's direction here, 10 pixels.
      const double u = d > 0 ? (at - run) / d : 0;
      const double x = line[k - 1].first + u * (line[k].first - line[k - 1].first);
      const double y = line[k - 1].second + u * (line[k].second - line[k - 1].second);
      const double ux = d > 0 ? (line[k].first - line[k - 1].first) / d : 0;
      const double uy = d > 0 ? (line[k].second - line[k - 1].second) / d : 0;
      DrawArrow(s, RoundPixel(x - 10 * ux), RoundPixel(y - 10 * uy), RoundPixel(x), RoundPixel(y));
      break;
    }
  }
}

struct Label {
  int X, Y, W, H;
};

// The decades on the locus (w > 0) where it moves: a mark and the
// pulsation, where it covers no other label; a decade whose point is next
// to its neighbours' (the locus at rest near its start or near 0) is left
// out.
void DrawDecades(const DrawTarget& s, const NyquistFrame& f, const NyquistCurve& c, int th,
                 std::vector<Label>& taken) {
  double low = std::numeric_limits<double>::infinity(), high = 0;
  for (const NyquistPoint& p : c.Locus.Points)
    if (p.Part == ContourPart::Axis && p.W > 0) {
      low = std::min(low, p.W);
      high = std::max(high, p.W);
    }
  if (!(high > 0)) return;
  const int first = static_cast<int>(std::ceil(std::log10(low)));
  const int last = static_cast<int>(std::floor(std::log10(high)));
  std::vector<std::pair<double, double>> at;
  for (int k = first - 1; k <= last + 1; ++k) {
    const std::complex<double> h = FactorsAt(c.Factors, {0.0, std::pow(10.0, k)});
    at.emplace_back(f.X(h), f.Y(h));
  }
  const auto apart = [](const std::pair<double, double>& a, const std::pair<double, double>& b) {
    return std::hypot(a.first - b.first, a.second - b.second) > 8;
  };
  for (int k = first; k <= last; ++k) {
    const auto i = static_cast<std::size_t>(k - first + 1);
    const auto [fx, fy] = at[i];
    if (!std::isfinite(fx) || !std::isfinite(fy) || !apart(at[i], at[i - 1]) ||
        !apart(at[i], at[i + 1]))
      continue;
    const int x = RoundPixel(fx), y = RoundPixel(fy);
    if (x < f.Left + 2 || x > f.Right - 2 || y < f.Top + 2 || y > f.Bottom - 2) continue;
    const std::string text = FormatReal(std::pow(10.0, k));
    const Label label{x + 4, y + 2, TextWidth(s, text), th};
    bool free = label.X + label.W <= f.Right && label.Y + label.H <= f.Bottom;
    for (const Label& other : taken)
      if (label.X < other.X + other.W && other.X < label.X + label.W &&
          label.Y < other.Y + other.H && other.Y < label.Y + label.H)
        free = false;
    if (!free) continue;
    taken.push_back(label);
    FillSquare(s, x, y, 2);
    PlotText(s, label.X, label.Y, text);
  }
}

void DrawCurve(const DrawTarget& s, const NyquistFrame& f, const NyquistCurve& c, int th,
               std::vector<Label>& taken) {
  UseColour(s, c.Of.Colour);
  for (bool mirror : {true, false}) {
    const std::vector<std::pair<double, double>> line = ScreenPoints(f, c.Locus.Points, mirror);
    SetPen(s, mirror ? PenStyle::Dotted : PenStyle::Solid, s.CurvePenWidth);
    Polyline poly(s, f, mirror ? 5 : 2);
    for (const auto& [x, y] : line) poly.To(x, y);
    poly.Finish();
    DrawArrows(s, f, line);
  }
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
  DrawDecades(s, f, c, th, taken);
}

// The gain margins on the negative real axis from -1 to the locus, the
// phase margins on the unit circle from -1 to the locus.
std::vector<std::string> DrawMargins(const DrawTarget& s, const NyquistFrame& f,
                                     const CurveReadouts& r, Rgb colour) {
  std::vector<std::string> lines;
  UseColour(s, colour);
  SetPen(s, PenStyle::Solid, s.CurvePenWidth + 1);
  for (const PhaseCrossover& c : r.PhaseCrossovers) {
    const double at = -std::pow(10.0, -c.GainMarginDb / 20);
    Polyline line(s, f);
    line.To(f.X(-1.0), f.Y(-1.0));
    line.To(f.X(at), f.Y(at));
    line.Finish();
    lines.push_back("MG= " + FormatRealFine(c.GainMarginDb) + " dB (w= " + FormatRealFine(c.W) +
                    " rad/s)");
  }
  for (const GainCrossover& c : r.GainCrossovers) {
    DrawCircle(s, f, 1, kPi, kPi + c.PhaseMarginDeg * kPi / 180);
    lines.push_back("MP= " + FormatRealFine(c.PhaseMarginDeg) + "\xB0 (w= " + FormatRealFine(c.W) +
                    " rad/s)");
  }
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
  return lines;
}

}  // namespace

std::complex<double> NyquistFrame::Compressed(std::complex<double> h) const {
  if (!(Radius > 0)) return h;
  const double m = std::sqrt(std::norm(h));
  if (!(m > Radius)) return h;
  if (!std::isfinite(m)) return std::isnan(m) ? h : std::polar(2 * Radius, std::arg(h));
  return h * (Radius * (2 - Radius / m) / m);
}

double NyquistFrame::X(std::complex<double> h) const {
  return (Left + Right) / 2.0 + (Compressed(h).real() - CentreX) * PixelsPerUnit;
}

double NyquistFrame::Y(std::complex<double> h) const {
  return (Top + Bottom) / 2.0 - (Compressed(h).imag() - CentreY) * PixelsPerUnit;
}

NyquistFrame NyquistFrameOf(const NyquistPicture& n, int width, int height, int textHeight,
                            bool zoom) {
  NyquistFrame f;
  f.Left = 10;
  f.Right = width - 10;
  f.Top = 8 + kHeaderRows * textHeight;
  f.Bottom = height - 10;
  double x0 = -1.1, x1 = 1.1, y0 = -1.1, y1 = 1.1;
  if (zoom) {
    x0 = y0 = -2;
    x1 = y1 = 1;
  } else {
    double largest = 0;
    for (const NyquistCurve& c : n.Curves)
      for (const NyquistPoint& p : c.Locus.Points)
        if (Finite(p.H)) largest = std::max(largest, std::norm(p.H));
    if (largest > kLinearUpTo * kLinearUpTo) f.Radius = kLinearUpTo;
    for (const NyquistCurve& c : n.Curves)
      for (const NyquistPoint& p : c.Locus.Points) {
        const std::complex<double> h = f.Compressed(p.H);
        if (!Finite(h)) continue;
        x0 = std::min(x0, h.real());
        x1 = std::max(x1, h.real());
        y1 = std::max(y1, std::abs(h.imag()));
      }
    y0 = -y1;
    const double padX = 0.05 * (x1 - x0), padY = 0.05 * (y1 - y0);
    x0 -= padX;
    x1 += padX;
    y0 -= padY;
    y1 += padY;
  }
  f.CentreX = (x0 + x1) / 2;
  f.CentreY = (y0 + y1) / 2;
  const double w = std::max(1, f.Right - f.Left), h = std::max(1, f.Bottom - f.Top);
  f.PixelsPerUnit = std::min(w / (x1 - x0), h / (y1 - y0));
  return f;
}

NyquistFrame DrawNyquistView(const DrawTarget& s, const NyquistPicture& n, bool zoom) {
  ClearPlot(s);
  SetPen(s, PenStyle::Solid, s.FramePenWidth);
  const int th = TextHeight(s, "1p");
  UseColour(s, kBlack);
  if (!n.LoopName.empty()) {
    const std::string title = PictureText(Tr("Nyquist", "Lieu de Nyquist de ")) + n.LoopName;
    PlotText(s, s.PlotWidth - TextWidth(s, title) - 10, 4, title);
  }
  const NyquistFrame f = NyquistFrameOf(n, s.PlotWidth, s.PlotHeight, th, zoom);
  if (n.Outcome != NyquistOutcome::Drawn) {
    PlotText(s, 10, f.Top, NyquistOutcomeText(n.Outcome));
    return f;
  }
  if (f.Right <= f.Left || f.Bottom <= f.Top) return f;

  DrawAxes(s, f, th);
  std::vector<Label> taken;
  for (const NyquistCurve& c : n.Curves)
    if (c.Locus.Outcome == NyquistOutcome::Drawn) DrawCurve(s, f, c, th, taken);

  Rgb loopColour = kBlack;
  for (const NyquistCurve& c : n.Curves)
    if (c.Of.Factors.size() == 1 && c.Of.Name == n.LoopName) loopColour = c.Of.Colour;
  if (n.LoopReadouts) {
    const std::vector<std::string> lines = DrawMargins(s, f, *n.LoopReadouts, loopColour);
    UseColour(s, loopColour);
    for (std::size_t i = 0; i < lines.size() && i + 1 < kHeaderRows; ++i)
      PlotText(s, s.PlotWidth - TextWidth(s, lines[i]) - 10, 4 + static_cast<int>(i + 1) * th,
               lines[i]);
  }
  UseColour(s, kBlack);
  if (f.Radius > 0) {
    const std::string note =
        PictureText(Tr("Nyquist", "échelle compressée au-delà de |H| = ")) + FormatReal(f.Radius);
    PlotText(s, f.Left + 4, f.Bottom - th - 2, note);
  }
  const std::vector<std::string> verdict = NyquistVerdictTexts(n.Loop.Verdict);
  for (std::size_t i = 0; i < verdict.size(); ++i) {
    const bool unstable = i == 1 && !n.Loop.Verdict.Stable();
    UseColour(s, unstable ? kRed : kBlack);
    PlotText(s, 10, 4 + static_cast<int>(i) * th, (i == 0 ? n.LoopName + " : " : "") + verdict[i]);
  }
  UseColour(s, kBlack);
  return f;
}

std::vector<NyquistNearest> NearestPoints(const NyquistPicture& n, const NyquistFrame& f, int x,
                                          int y) {
  std::vector<NyquistNearest> found;
  if (n.Outcome != NyquistOutcome::Drawn) return found;
  for (const NyquistCurve& c : n.Curves) {
    NyquistNearest best{c.Of.Name, c.Of.Colour, {}, std::numeric_limits<double>::infinity()};
    for (const NyquistPoint& p : c.Locus.Points) {
      if (p.Part != ContourPart::Axis) continue;
      for (bool mirror : {false, true}) {
        const std::complex<double> h = mirror ? std::conj(p.H) : p.H;
        const double d = std::hypot(f.X(h) - x, f.Y(h) - y);
        if (d < best.Distance) {
          best.Distance = d;
          best.Point = p;
          if (mirror) {
            best.Point.H = h;
            best.Point.W = -p.W;
            best.Point.PhaseDeg = -p.PhaseDeg;
          }
        }
      }
    }
    if (std::isfinite(best.Distance)) found.push_back(best);
  }
  return found;
}

}  // namespace tv
