// Exact read-outs: crossings bracketed on a fine logarithmic grid and refined on the exact product
// of the factors.
#include "analysis/readouts.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include "analysis/companion_solver.h"

#include "analysis/state_space.h"
#include "response/response.h"

namespace tv {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kLn10 = std::numbers::ln10;
// Grid of the brackets: fine enough that the phase moves by far less than
// half a turn from one point to the next except at an almost undamped pair.
constexpr int kPointsPerDecade = 200;
// Below the displayed range the grid only carries the phase's turns.
constexpr int kLegPointsPerDecade = 50;
// The leg below the range starts at most this many decades lower.
constexpr double kLongestLegDecades = 12;
// The widest range searched: the decades the Bode view can draw (past
// 10^154 rad/s, w² is no longer a double), whatever a transfer file says.
constexpr std::int32_t kOutermostDecade = 150;
// The most points of one grid: a range of hundreds of decades (a file's)
// spreads them, and costs what 30 displayed decades cost.
constexpr double kMostGridSteps = 6000;
// Refinement in ln w: 1e-12 absolute there is better than 1e-10 relative in w.
constexpr double kLnTolerance = 1e-12;
// |1 + H| this small against |H| at a root of the closed loop's even part is
// a closed-loop pole on the imaginary axis.
constexpr double kAxisPoleResidual = 1e-7;

struct Complex {
  double Re = 1, Im = 0;
};

inline Complex Mul(Complex a, Complex b) {
  return {a.Re * b.Re - a.Im * b.Im, a.Re * b.Im + a.Im * b.Re};
}

// H(jw): real arithmetic on the even and odd parts, one division at the end.
std::complex<double> AtJw(const CurveFactors& f, double w) {
  const double w2 = w * w;
  Complex num, den;
  for (const CoefficientSet& c : f.Num) num = Mul(num, {RealPartAt(c, w2), ImagPartAt(c, w, w2)});
  for (const CoefficientSet& c : f.Den) den = Mul(den, {RealPartAt(c, w2), ImagPartAt(c, w, w2)});
  return std::complex<double>(num.Re, num.Im) / std::complex<double>(den.Re, den.Im);
}

int LowestPower(const CoefficientSet& c) {
  for (int k = 0; k <= 5; ++k)
    if (c[static_cast<std::size_t>(k)] != 0) return k;
  return -1;
}

// No non-zero root of c is smaller than this (Cauchy's bound on the
// reversed polynomial); infinity when c is a single term.
double SmallestRootBound(const CoefficientSet& c) {
  const int m = LowestPower(c);
  const double low = std::fabs(c[static_cast<std::size_t>(m)]);
  double high = 0;
  for (int k = m + 1; k <= 5; ++k) high = std::max(high, std::fabs(c[static_cast<std::size_t>(k)]));
  return high == 0 ? std::numeric_limits<double>::infinity() : low / (low + high);
}

// Into (-pi, pi]: std::remainder(a, 2 pi), then -pi taken to pi. Below
// three half turns the remainder is a, a - 2 pi or a + 2 pi, each exact as
// the remainder is (-0 where a is -2 pi, as the remainder gives); the
// library's call, several times dearer, is left for the rest. A difference
// of two arguments, what the phase is followed by, never needs it.
double WrapPi(double a) {
  constexpr double kTurn = 2 * kPi;
  double r = a;
  if (!(std::fabs(a) < 1.5 * kTurn))
    r = std::remainder(a, kTurn);
  else if (a > kPi)
    r = a - kTurn;
  else if (a < -kPi)
    r = -(-a - kTurn);
  return r <= -kPi ? r + kTurn : r;
}

// Brent's root finder on [a, b] where f changes sign.
template <typename F>
double FindRoot(F f, double a, double b, double fa, double fb) {
  if (fa == 0) return a;
  if (fb == 0) return b;
  double c = b, fc = fb, d = b - a, e = d;
  for (int iter = 0; iter < 200; ++iter) {
    if ((fb > 0) == (fc > 0)) {
      c = a;
      fc = fa;
      d = e = b - a;
    }
    if (std::fabs(fc) < std::fabs(fb)) {
      a = b;
      b = c;
      c = a;
      fa = fb;
      fb = fc;
      fc = fa;
    }
    const double tol = 0.5 * kLnTolerance;
    const double m = 0.5 * (c - b);
    if (std::fabs(m) <= tol || fb == 0) return b;
    if (std::fabs(e) >= tol && std::fabs(fa) > std::fabs(fb)) {
      double p, q;
      const double s = fb / fa;
      if (a == c) {
        p = 2 * m * s;
        q = 1 - s;
      } else {
        const double qq = fa / fc, r = fb / fc;
        p = s * (2 * m * qq * (qq - r) - (b - a) * (r - 1));
        q = (qq - 1) * (r - 1) * (s - 1);
      }
      if (p > 0) q = -q;
      p = std::fabs(p);
      if (2 * p < std::min(3 * m * q - std::fabs(tol * q), std::fabs(e * q))) {
        e = d;
        d = p / q;
      } else {
        d = m;
        e = m;
      }
    } else {
      d = m;
      e = m;
    }
    a = b;
    fa = fb;
    b += std::fabs(d) > tol ? d : (m > 0 ? tol : -tol);
    fb = f(b);
  }
  return b;
}

// The maximum of f on [a, b] by golden sections.
template <typename F>
double FindMaximum(F f, double a, double b) {
  const double g = (std::sqrt(5.0) - 1) / 2;
  double x1 = b - g * (b - a), x2 = a + g * (b - a);
  double f1 = f(x1), f2 = f(x2);
  while (b - a > kLnTolerance) {
    if (f1 < f2) {
      a = x1;
      x1 = x2;
      f1 = f2;
      x2 = a + g * (b - a);
      f2 = f(x2);
    } else {
      b = x2;
      x2 = x1;
      f2 = f1;
      x1 = b - g * (b - a);
      f1 = f(x1);
    }
  }
  return (a + b) / 2;
}

// ln |H/(1+H)|; NaN where it cannot be evaluated.
double ClosedLoopLn(std::complex<double> h) {
  const double v = std::log(std::abs(h / (1.0 + h)));
  return std::isfinite(v) ? v : std::numeric_limits<double>::quiet_NaN();
}

// The whole numerator and denominator multiplied out: only the candidates
// for the crossings are read from them, every value from the factors.
void Products(const CurveFactors& f, Polynomial* num, Polynomial* den) {
  *num = {1.0};
  *den = {1.0};
  for (const CoefficientSet& c : f.Num) *num = Multiply(*num, Polynomial(c.begin(), c.end()));
  for (const CoefficientSet& c : f.Den) *den = Multiply(*den, Polynomial(c.begin(), c.end()));
}

// c(jw) = Even(w^2) + j w Odd(w^2).
Polynomial EvenPart(const Polynomial& c) {
  Polynomial e;
  for (std::size_t k = 0; k < c.size(); k += 2) e.push_back((k / 2) % 2 == 0 ? c[k] : -c[k]);
  return e;
}
Polynomial OddPart(const Polynomial& c) {
  Polynomial o;
  for (std::size_t k = 1; k < c.size(); k += 2) o.push_back((k / 2) % 2 == 0 ? c[k] : -c[k]);
  return o;
}
Polynomial Difference(const Polynomial& a, const Polynomial& b) {
  Polynomial d(std::max(a.size(), b.size()), 0.0);
  for (std::size_t k = 0; k < a.size(); ++k) d[k] += a[k];
  for (std::size_t k = 0; k < b.size(); ++k) d[k] -= b[k];
  return d;
}
// x · c(x).
Polynomial TimesX(const Polynomial& c) {
  Polynomial r{0.0};
  r.insert(r.end(), c.begin(), c.end());
  return r;
}

// The positive real roots of c(x), roughly (they only place samples): the
// eigenvalues with p scaled to the roots' geometric mean, taken when nearly
// real, so that two close real roots split into a tight pair still count.
std::vector<double> PositiveRoots(Polynomial c) {
  std::vector<double> roots;
  int low = 0;
  while (low < static_cast<int>(c.size()) && c[static_cast<std::size_t>(low)] == 0) ++low;
  const int high = PolynomialDegree(c);
  if (high - low < 1) return roots;
  c = Polynomial(c.begin() + low, c.begin() + high + 1);
  const int n = high - low;
  double scale = std::pow(std::fabs(c[0] / c[static_cast<std::size_t>(n)]), 1.0 / n);
  if (!(scale > 0) || !std::isfinite(scale)) scale = 1;
  Eigen::VectorXd poly(n + 1);
  for (int k = 0; k <= n; ++k) poly[k] = c[static_cast<std::size_t>(k)] * std::pow(scale, k);
  if (!poly.allFinite()) return roots;
  poly /= poly.cwiseAbs().maxCoeff();
  const CompanionSolver solver(poly);
  for (Eigen::Index k = 0; k < solver.roots().size(); ++k) {
    const std::complex<double> r = solver.roots()[k] * scale;
    if (r.real() > 0 && std::fabs(r.imag()) <= 0.1 * r.real()) roots.push_back(r.real());
  }
  return roots;
}

// ln w between every two candidate crossings that one step of the grid
// would hold together: each grid interval then holds at most one of them.
void SeparateCandidates(std::vector<double> w, double gridStep, std::vector<double>& extra) {
  std::sort(w.begin(), w.end());
  for (std::size_t k = 1; k < w.size(); ++k) {
    const double a = std::log(w[k - 1]), b = std::log(w[k]);
    if (b - a < 2 * gridStep && b > a) extra.push_back(0.5 * (a + b));
  }
}

struct Sample {
  double U = 0;  // ln w
  bool Valid = false;
  // |H|: its logarithm is taken only at the ends of a crossing's bracket,
  // and its sign is that of |H| - 1.
  double Gain = 0;
  double Arg = 0;    // arg H in (-pi, pi]
  double Phase = 0;  // unwrapped from the low-frequency end
  double LnClosed = 0;
};

// The grid over the range in ln w, N + 1 points.
std::vector<double> Grid(const PulsationRange& range, int perDecade) {
  const double lo = std::log(range.WMin), hi = std::log(range.WMax);
  // Bounded before it becomes an int; an infinite end (10^309) gives one step.
  const double steps = std::ceil((hi - lo) / kLn10 * perDecade);
  const int n =
      !std::isfinite(steps) || steps < 1 ? 1 : static_cast<int>(std::min(steps, kMostGridSteps));
  std::vector<double> u(static_cast<std::size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) u[static_cast<std::size_t>(i)] = lo + (hi - lo) * i / n;
  return u;
}

// A grid over a range with its pulsations, e^u at each point.
struct GridPoints {
  std::vector<double> U, W;
};

// The grids of one range are those of the last curves' read-outs: the last
// few, with their exponentials, are kept with the bits of their range.
std::shared_ptr<const GridPoints> KeptGrid(const PulsationRange& range, int perDecade) {
  struct Kept {
    PulsationRange Range;
    int PerDecade = 0;
    std::shared_ptr<const GridPoints> Points;
  };
  thread_local std::array<Kept, 4> kept;
  thread_local std::size_t next = 0;
  for (const Kept& k : kept)
    if (k.Points && k.PerDecade == perDecade && std::memcmp(&k.Range, &range, sizeof range) == 0)
      return k.Points;
  auto points = std::make_shared<GridPoints>();
  points->U = Grid(range, perDecade);
  points->W.reserve(points->U.size());
  for (double u : points->U) points->W.push_back(std::exp(u));
  kept[next] = Kept{range, perDecade, points};
  next = (next + 1) % kept.size();
  return points;
}

// The closed-loop peak over the samples' LnClosed: (ln w, ln |T|).
std::optional<std::pair<double, double>> Peak(const CurveFactors& f,
                                              const std::vector<Sample>& grid) {
  std::size_t best = grid.size();
  for (std::size_t i = 0; i < grid.size(); ++i)
    if (!std::isnan(grid[i].LnClosed) &&
        (best == grid.size() || grid[i].LnClosed > grid[best].LnClosed))
      best = i;
  if (best == grid.size()) return std::nullopt;
  if (best == 0 || best + 1 == grid.size()) return std::pair(grid[best].U, grid[best].LnClosed);
  const auto closed = [&f](double u) {
    const double v = ClosedLoopLn(AtJw(f, std::exp(u)));
    return std::isnan(v) ? -std::numeric_limits<double>::infinity() : v;
  };
  const double u = FindMaximum(closed, grid[best - 1].U, grid[best + 1].U);
  const double v = closed(u);
  return v >= grid[best].LnClosed ? std::pair(u, v) : std::pair(grid[best].U, grid[best].LnClosed);
}

// The closed loop is searched beyond the displayed decades, so that a
// resonance just outside them is still the peak and not the range's end.
constexpr double kClosedLoopMarginDecades = 2;
constexpr int kClosedLoopPointsPerDecade = 100;

std::vector<Sample> ClosedLoopGrid(const CurveFactors& f, const PulsationRange& range) {
  const double widen = std::pow(10.0, kClosedLoopMarginDecades);
  const std::shared_ptr<const GridPoints> points =
      KeptGrid({range.WMin / widen, range.WMax * widen}, kClosedLoopPointsPerDecade);
  std::vector<Sample> grid(points->U.size());
  for (std::size_t i = 0; i < grid.size(); ++i) {
    grid[i].U = points->U[i];
    grid[i].LnClosed = ClosedLoopLn(AtJw(f, points->W[i]));
  }
  return grid;
}

// The lowest pulsation w > 0 where 1 + H(jw) = 0: a closed-loop pole on the
// imaginary axis, an infinite resonance.
std::optional<double> AxisPole(const CurveFactors& f) {
  Polynomial num, den;
  Products(f, &num, &den);
  const Polynomial sum = Difference(den, Difference(Polynomial{}, num));
  const Polynomial even = EvenPart(sum), odd = OddPart(sum);
  std::vector<double> candidates = PositiveRoots(PolynomialDegree(even) >= 0 ? even : odd);
  std::sort(candidates.begin(), candidates.end());
  for (double x : candidates) {
    const double w = std::sqrt(x);
    const std::complex<double> h = AtJw(f, w);
    if (std::abs(1.0 + h) <= kAxisPoleResidual * (1 + std::abs(h))) return w;
  }
  return std::nullopt;
}

// lim |H/(1+H)| as w grows, in dB: 0 for a proper H whose degrees differ
// (-infinity dB), the leads' ratio r as |r/(1+r)| for equal degrees, 1 when
// the numerator's degree is higher.
double HighFrequencyLimitDb(const CurveFactors& f) {
  int degree = 0;
  double lead = 1;
  for (std::size_t i = 0; i < f.Num.size(); ++i) {
    const int dn = Degree(f.Num[i]), dd = Degree(f.Den[i]);
    degree += dn - dd;
    lead *= f.Num[i][static_cast<std::size_t>(dn)] / f.Den[i][static_cast<std::size_t>(dd)];
  }
  if (degree > 0) return 0;
  if (degree < 0) return -std::numeric_limits<double>::infinity();
  return 20 * std::log10(std::fabs(lead / (1 + lead)));
}

ClosedLoopReadout ClosedLoopOf(const CurveFactors& f, const PulsationRange& range, int cls,
                               double k0) {
  ClosedLoopReadout out;
  const std::vector<Sample> grid = ClosedLoopGrid(f, range);
  if (const std::optional<double> w = AxisPole(f)) {
    out.PeakW = *w;
    out.PeakDb = std::numeric_limits<double>::infinity();
  } else if (const auto peak = Peak(f, grid)) {
    // Highest at an end of the searched span: the gain only falls (or only
    // rises) there, which is no resonance.
    if (peak->first == grid.front().U || peak->first == grid.back().U) {
      out.NoResonance = true;
      out.HighFrequencyLimitDb = HighFrequencyLimitDb(f);
    } else {
      out.PeakW = std::exp(peak->first);
      out.PeakDb = 20 * peak->second / kLn10;
    }
  }
  // The static closed-loop gain: 1 with an integrator, 0 with a differentiator.
  const double closed0 = cls > 0 ? 1.0 : cls < 0 ? 0.0 : std::fabs(k0 / (1 + k0));
  if (!(closed0 > 0 && std::isfinite(closed0)) || std::isnan(grid[0].LnClosed)) return out;
  const double level = std::log(closed0) - 3 * kLn10 / 20;
  if (grid[0].LnClosed < level) return out;
  for (std::size_t i = 1; i < grid.size(); ++i) {
    const Sample& a = grid[i - 1];
    const Sample& b = grid[i];
    if (std::isnan(a.LnClosed) || std::isnan(b.LnClosed)) continue;
    if (a.LnClosed >= level && b.LnClosed < level) {
      const auto offset = [&f, level](double u) {
        return ClosedLoopLn(AtJw(f, std::exp(u))) - level;
      };
      out.BandwidthW = std::exp(FindRoot(offset, a.U, b.U, a.LnClosed - level, b.LnClosed - level));
      break;
    }
  }
  return out;
}

bool AnyZeroPolynomial(const CurveFactors& f) {
  for (const auto* set : {&f.Num, &f.Den})
    for (const CoefficientSet& c : *set)
      if (Degree(c) < 0) return true;
  return false;
}

}  // namespace

CurveFactors FactorsOf(const DiagramState& s, const Curve& curve) {
  CurveFactors f;
  for (int i : curve.Factors) {
    f.Num.push_back(s.NumCoeffs[static_cast<std::size_t>(i)]);
    f.Den.push_back(s.DenCoeffs[static_cast<std::size_t>(i)]);
  }
  return f;
}

std::complex<double> FactorsAt(const CurveFactors& f, std::complex<double> p) {
  std::complex<double> num = 1, den = 1;
  for (const CoefficientSet& c : f.Num) num *= PolynomialAt(c, p);
  for (const CoefficientSet& c : f.Den) den *= PolynomialAt(c, p);
  return num / den;
}

PulsationRange DisplayedRange(const DiagramState& s) {
  PulsationRange r;
  if (s.DecadeMax > s.DecadeMin) {
    const std::int32_t lo = std::clamp(s.DecadeMin, -kOutermostDecade, kOutermostDecade - 1);
    const std::int32_t hi = std::clamp(s.DecadeMax, lo + 1, kOutermostDecade);
    r.WMin = std::pow(10.0, lo);
    r.WMax = std::pow(10.0, hi);
  }
  return r;
}

double WrapMarginDeg(double phaseDeg) {
  double pm = std::remainder(180 + phaseDeg, 360.0);
  if (pm <= -180) pm += 360;
  return pm;
}

namespace {

CurveReadouts ReadoutsOf(const CurveFactors& f, const PulsationRange& range);

bool SameBits(const std::vector<CoefficientSet>& a, const std::vector<CoefficientSet>& b) {
  return a.size() == b.size() &&
         std::memcmp(a.data(), b.data(), a.size() * sizeof(CoefficientSet)) == 0;
}

}  // namespace

CurveReadouts ComputeReadouts(const CurveFactors& f, const PulsationRange& range) {
  // The loop's read-outs are asked twice a redraw, by the Nyquist window and
  // by the Mesures window's product: the last few, kept with the bits they
  // were found from, are handed out again.
  struct Kept {
    CurveFactors Factors;
    PulsationRange Range;
    CurveReadouts Readouts;
  };
  thread_local std::array<std::optional<Kept>, 4> kept;
  thread_local std::size_t next = 0;
  for (const std::optional<Kept>& k : kept)
    if (k && SameBits(k->Factors.Num, f.Num) && SameBits(k->Factors.Den, f.Den) &&
        std::memcmp(&k->Range, &range, sizeof range) == 0)
      return k->Readouts;
  CurveReadouts r = ReadoutsOf(f, range);
  kept[next] = Kept{f, range, r};
  next = (next + 1) % kept.size();
  return r;
}

namespace {

CurveReadouts ReadoutsOf(const CurveFactors& f, const PulsationRange& range) {
  CurveReadouts r;
  if (f.Num.empty() || AnyZeroPolynomial(f)) return r;
  r.Defined = true;

  // Class and the gain of the lowest-order terms.
  double k0 = 1;
  double smallestRoot = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < f.Num.size(); ++i) {
    const int mn = LowestPower(f.Num[i]), md = LowestPower(f.Den[i]);
    r.Class += md - mn;
    k0 *= f.Num[i][static_cast<std::size_t>(mn)] / f.Den[i][static_cast<std::size_t>(md)];
    smallestRoot =
        std::min({smallestRoot, SmallestRootBound(f.Num[i]), SmallestRootBound(f.Den[i])});
  }
  r.LowFrequencyGain = k0;
  if (r.Class == 0) {
    r.StaticGainDb = 20 * std::log10(std::fabs(k0));
    if (k0 != -1) r.StepError = 1 / (1 + k0);
  } else {
    r.StepError = r.Class > 0 ? 0.0 : 1.0;
  }

  // The phase starts on the class asymptote (a negative gain adds half a
  // turn below it) far enough below every break, and is followed upward.
  double phase = -r.Class * kPi / 2 + (k0 < 0 ? -kPi : 0);
  const double legStart = std::max(std::min(range.WMin, 1e-3 * smallestRoot),
                                   range.WMin * std::pow(10.0, -kLongestLegDecades));
  double prevArg = 0;
  bool started = false;
  const auto follow = [&](double a) {
    if (!started) {
      phase = a + 2 * kPi * std::nearbyint((phase - a) / (2 * kPi));
      started = true;
    } else {
      phase += WrapPi(a - prevArg);
    }
    prevArg = a;
  };
  if (legStart < range.WMin) {
    for (double u : Grid({legStart, range.WMin}, kLegPointsPerDecade)) {
      const std::complex<double> h = AtJw(f, std::exp(u));
      if (std::isfinite(h.real()) && std::isfinite(h.imag()) && h != 0.0) follow(std::arg(h));
    }
  }

  // Candidates for the crossings from the multiplied-out polynomials: |N|^2
  // - |D|^2 and Im(N conj D) vanish there. Wherever two of them share one
  // step of the grid a sample goes between them, so that no step holds a
  // pair that would cancel out.
  Polynomial num, den;
  Products(f, &num, &den);
  const Polynomial en = EvenPart(num), on = OddPart(num), ed = EvenPart(den), od = OddPart(den);
  const Polynomial gain = Difference(Multiply(en, en), Multiply(ed, ed));
  const Polynomial gainPoly =
      Difference(gain, Difference(TimesX(Multiply(od, od)), TimesX(Multiply(on, on))));
  const Polynomial phasePoly = Difference(Multiply(on, ed), Multiply(en, od));
  // N conj D real for every w: the phase is 0 or -180 degrees on whole
  // intervals and jumps between them; it never passes through -180.
  r.PhaseConstant = PolynomialDegree(phasePoly) < 0;
  const std::shared_ptr<const GridPoints> base = KeptGrid(range, kPointsPerDecade);
  const std::vector<double>& units = base->U;
  const double gridStep = units.size() > 1 ? units[1] - units[0] : 1;
  std::vector<double> candidates, extra;
  for (const Polynomial* c : {&gainPoly, &phasePoly}) {
    std::vector<double> w;
    for (double x : PositiveRoots(*c)) w.push_back(std::sqrt(x));
    SeparateCandidates(w, gridStep, candidates);
  }
  // Each candidate is taken below the last one taken, as when they were
  // pushed onto the grid and compared with its last point.
  double below = units.back();
  for (double u : candidates)
    if (u > units.front() && u < below) extra.push_back(below = u);
  std::sort(extra.begin(), extra.end());

  // The grid's points and the extra ones in increasing order, as one sorted
  // list would have them.
  std::vector<Sample> grid;
  grid.reserve(units.size() + extra.size());
  for (std::size_t i = 0, j = 0; i < units.size() || j < extra.size();) {
    const bool fromExtra = j < extra.size() && (i == units.size() || extra[j] < units[i]);
    Sample x;
    x.U = fromExtra ? extra[j] : units[i];
    const std::complex<double> h = AtJw(f, fromExtra ? std::exp(extra[j++]) : base->W[i++]);
    x.Valid = std::isfinite(h.real()) && std::isfinite(h.imag()) && h != 0.0;
    if (x.Valid) {
      x.Gain = std::abs(h);
      x.Arg = std::arg(h);
      follow(x.Arg);
      x.Phase = phase;
    }
    grid.push_back(x);
  }

  for (std::size_t i = 1; i < grid.size(); ++i) {
    const Sample& a = grid[i - 1];
    const Sample& b = grid[i];
    if (!a.Valid || !b.Valid) continue;
    // The phase at any w of the bracket, continuous from its left end.
    const auto phaseAt = [&f, &a](double u) {
      return a.Phase + WrapPi(std::arg(AtJw(f, std::exp(u))) - a.Arg);
    };
    if ((a.Gain < 1 && b.Gain >= 1) || (a.Gain > 1 && b.Gain <= 1)) {
      const auto lnGain = [&f](double u) { return std::log(std::abs(AtJw(f, std::exp(u)))); };
      const double u = FindRoot(lnGain, a.U, b.U, std::log(a.Gain), std::log(b.Gain));
      GainCrossover c;
      c.W = std::exp(u);
      c.PhaseDeg = phaseAt(u) * 180 / kPi;
      c.PhaseMarginDeg = WrapMarginDeg(c.PhaseDeg);
      r.GainCrossovers.push_back(c);
    }
    if (r.PhaseConstant) {
      if (std::cos(a.Arg) < 0) r.PhaseAt180 = true;
      continue;
    }
    const double ka = std::floor((a.Phase + kPi) / (2 * kPi));
    const double kb = std::floor((b.Phase + kPi) / (2 * kPi));
    if (ka != kb) {
      const double level = -kPi + 2 * kPi * std::max(ka, kb);
      const auto offset = [&](double u) { return phaseAt(u) - level; };
      const double u = FindRoot(offset, a.U, b.U, a.Phase - level, b.Phase - level);
      PhaseCrossover c;
      c.W = std::exp(u);
      c.GainMarginDb = -20 * std::log10(std::abs(AtJw(f, c.W)));
      r.PhaseCrossovers.push_back(c);
    }
  }

  r.ClosedLoop = ClosedLoopOf(f, range, r.Class, k0);
  return r;
}

}  // namespace

// ln |T(0)| when the closed-loop gain never falls on the way from w = 0 up
// to `from`: samples from `from` downwards, each at least the one above it,
// until they hold the static gain. A resonance below `from` breaks the rise.
std::optional<double> StaticPeakLn(const CurveFactors& f, double from) {
  constexpr double kStepDown = 0.955;  // about 50 samples a decade
  constexpr int kMostSteps = 2000;     // forty decades
  const double still = ClosedLoopLn(AtJw(f, 0));
  if (std::isnan(still)) return std::nullopt;
  const double slack = 1e-12 * std::max(1.0, std::fabs(still));
  double above = ClosedLoopLn(AtJw(f, from));
  if (std::isnan(above) || above > still + slack) return std::nullopt;
  double w = from;
  for (int k = 0; k < kMostSteps && w > 0; ++k) {
    if (still - above <= slack) return still;
    w *= kStepDown;
    const double v = ClosedLoopLn(AtJw(f, w));
    if (std::isnan(v) || v < above - slack || v > still + slack) return std::nullopt;
    above = v;
  }
  return std::nullopt;
}

std::optional<double> ClosedLoopPeakDb(const CurveFactors& f, const PulsationRange& range) {
  if (f.Num.empty() || AnyZeroPolynomial(f)) return std::nullopt;
  const std::vector<Sample> grid = ClosedLoopGrid(f, range);
  const auto peak = Peak(f, grid);
  // A highest gain at an end of the span is the span's edge, not a
  // resonance: one leaving the span takes the edge's gain through any level.
  if (!peak || peak->first == grid.back().U) return std::nullopt;
  if (peak->first == grid.front().U) {
    // Except the static gain itself: |T(jw)| is even in w, so w = 0 is a
    // stationary point, and a closed loop whose gain only falls from it
    // (K/(p - 1) closed) peaks there.
    const std::optional<double> still = StaticPeakLn(f, std::exp(grid.front().U));
    if (!still) return std::nullopt;
    return 20 * *still / kLn10;
  }
  return 20 * peak->second / kLn10;
}

std::vector<CurveReadouts> DrawnCurveReadouts(const DiagramState& s) {
  std::vector<CurveReadouts> all;
  const PulsationRange range = DisplayedRange(s);
  for (const Curve& c : DrawnCurves(s)) {
    CurveReadouts r = ComputeReadouts(FactorsOf(s, c), range);
    r.Name = c.Name;
    r.Colour = c.Colour;
    all.push_back(std::move(r));
  }
  return all;
}

}  // namespace tv
