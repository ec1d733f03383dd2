// The closed-loop contours of the Black-Nichols chart: open-loop points of constant |H/(1+H)| and
// of constant arg(H/(1+H)).
#include "analysis/nichols_grid.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <numbers>

namespace tv {

namespace {

using Complex = std::complex<double>;
constexpr double kDeg = 180 / std::numbers::pi;

// A chord may stray this far from the contour, and be at most this long, in
// fractions of the chart's phase width (360 degrees) and gain height (80 dB).
constexpr double kChordError = 0.0015;
constexpr double kChordLength = 0.08;
constexpr int kMaxDepth = 16;

// The open loop H whose unit-feedback closed loop H/(1+H) is t.
Complex OpenLoopOf(Complex t) { return t / (1.0 - t); }

struct Sample {
  double Param;
  ChartPoint Point;
};

// Follows t(u) for u from u0 to u1, the open-loop phase kept continuous and
// started in (-360, 0]; a chord is cut in two while it strays or is long. The
// gain is clamped a little beyond the chart for the measure, so that a line
// running off to infinity ends.
class Tracer {
 public:
  Tracer(std::function<Complex(double)> t, double lowDb, double highDb)
      : t_(std::move(t)), low_(lowDb - 5), high_(highDb + 5) {}

  std::vector<ChartPoint> Trace(double u0, double u1, int pieces) {
    std::vector<ChartPoint> out;
    Sample a = At(u0, nullptr);
    out.push_back(a.Point);
    for (int i = 1; i <= pieces; ++i) {
      const Sample b = At(u0 + (u1 - u0) * i / pieces, &a.Point);
      Refine(a, b, 0, out);
      a = b;
    }
    return out;
  }

 private:
  Sample At(double u, const ChartPoint* previous) const {
    const Complex h = OpenLoopOf(t_(u));
    double phase = std::arg(h) * kDeg;
    if (previous == nullptr) {
      if (phase > 0) phase -= 360;
    } else {
      phase += 360 * std::round((previous->PhaseDeg - phase) / 360);
    }
    return {u, {phase, 20 * std::log10(std::abs(h))}};
  }

  double Clamped(double g) const { return std::clamp(g, low_, high_); }

  // Distance from the chart point m to the chord a-b, and the chord's length,
  // in fractions of the chart.
  bool Straight(const ChartPoint& a, const ChartPoint& b, const ChartPoint& m) const {
    const double ax = a.PhaseDeg / 360, ay = Clamped(a.GainDb) / 80;
    const double bx = b.PhaseDeg / 360, by = Clamped(b.GainDb) / 80;
    const double mx = m.PhaseDeg / 360, my = Clamped(m.GainDb) / 80;
    const double dx = bx - ax, dy = by - ay;
    const double length = std::hypot(dx, dy);
    if (length > kChordLength) return false;
    if (length == 0) return std::hypot(mx - ax, my - ay) <= kChordError;
    return std::abs((mx - ax) * dy - (my - ay) * dx) / length <= kChordError;
  }

  void Refine(const Sample& a, const Sample& b, int depth, std::vector<ChartPoint>& out) const {
    const Sample m = At(0.5 * (a.Param + b.Param), &a.Point);
    const bool outside = a.Point.GainDb > high_ && b.Point.GainDb > high_;
    if (depth < kMaxDepth && !outside && !Straight(a.Point, b.Point, m.Point)) {
      Refine(a, m, depth + 1, out);
      Refine(m, b, depth + 1, out);
      return;
    }
    out.push_back(b.Point);
  }

  std::function<Complex(double)> t_;
  double low_, high_;
};

}  // namespace

std::vector<ChartContour> NicholsContours(double lowDb, double highDb) {
  std::vector<ChartContour> contours;
  for (double db : kIsoGainsDb) {
    const double m = std::pow(10.0, db / 20);
    Tracer tracer([m](double deg) { return std::polar(m, deg / kDeg); }, lowDb, highDb);
    // The closed-loop phase goes once round; at 0 dB the open loop is
    // infinite at both ends, which lie far above the chart.
    const double end = db == 0 ? 1e-4 : 0;
    contours.push_back({true, db, tracer.Trace(-end, -360 + end, 12)});
  }
  for (double deg : kIsoPhasesDeg) {
    // The closed-loop gain from far below the chart to far beyond the
    // critical point, on a logarithmic scale.
    const double lowest = std::min(lowDb, -60.0) - 20;
    Tracer tracer([deg](double db) { return std::polar(std::pow(10.0, db / 20), deg / kDeg); },
                  lowDb, highDb);
    ChartContour right{false, deg, tracer.Trace(lowest, 80, 12)};
    ChartContour left{false, -360 - deg, right.Points};
    for (ChartPoint& p : left.Points) p.PhaseDeg = -360 - p.PhaseDeg;
    contours.push_back(std::move(right));
    contours.push_back(std::move(left));
  }
  return contours;
}

}  // namespace tv
