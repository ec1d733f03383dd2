// The Nyquist locus of a loop over the whole contour, and the closed loop's stability read from it:
// P, N, Z.
#include "analysis/nyquist.h"

#include <Eigen/Dense>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "analysis/factors.h"
#include "analysis/state_space.h"
#include "core/format.h"
#include "expression/coefficients.h"

namespace tv {

namespace {

constexpr double kPi = std::numbers::pi;
// A root whose real part is this small against its modulus is on the
// imaginary axis: the rounding of the roots is far below it.
constexpr double kAxisTolerance = 1e-9;
// The small half circles around poles on the axis, against the pole's
// pulsation; a closed-loop pole closer than this to an open-loop pole on the
// axis would be left out of the count.
constexpr double kIndentation = 1e-6;
// The axis is followed from a hundredth of the slowest root to a hundred
// times the fastest: beyond, H turns by less than a degree.
constexpr double kRangeMargin = 1e2;
constexpr int kPointsPerDecade = 10;
constexpr double kSmallestW = 1e-300, kLargestW = 1e300;
// Largest steps between two samples: the phase of 1 + H (what is counted),
// the phase and log-magnitude of H (what is drawn).
constexpr double kCountStep = 0.35;
constexpr double kDrawStep = 0.15;
const double kCountCosine = std::cos(kCountStep);
const double kDrawCosine = std::cos(kDrawStep);
// The squared magnitudes' ratio for a step of kDrawStep in ln |H|.
const double kDrawRatio = std::exp(2 * kDrawStep);
constexpr int kMaxDepth = 48;
constexpr int kMaxSamples = 20000;
// Evaluations one sampler may make in all. The samples kept stop at
// kMaxSamples, but values that repeat (a locus pinned at infinity, where
// every evaluation gives the same overflowed value) are not kept, and
// without this bound their halving would go on 2^kMaxDepth times.
constexpr int kMaxEvaluations = 200000;

Polynomial ToPolynomial(const CoefficientSet& c) { return Polynomial(c.begin(), c.end()); }

Polynomial Add(Polynomial a, const Polynomial& b) {
  if (a.size() < b.size()) a.resize(b.size(), 0.0);
  for (std::size_t k = 0; k < b.size(); ++k) a[k] += b[k];
  return a;
}

// Every root of c, of any degree, from the eigenvalues of its companion
// matrix, the variable scaled so that the roots are about 1.
std::vector<std::complex<double>> Roots(const Polynomial& c) {
  std::vector<std::complex<double>> roots;
  const int n = PolynomialDegree(c);
  if (n < 1) return roots;
  int low = 0;
  while (c[static_cast<std::size_t>(low)] == 0) {
    roots.emplace_back(0.0, 0.0);
    ++low;
  }
  const int m = n - low;
  if (m == 0) return roots;
  const double lead = c[static_cast<std::size_t>(n)];
  const double scale = std::pow(std::abs(c[static_cast<std::size_t>(low)] / lead), 1.0 / m);
  const double sc = std::isfinite(scale) && scale > 0 ? scale : 1.0;
  Eigen::MatrixXd companion = Eigen::MatrixXd::Zero(m, m);
  double power = 1;
  for (int k = 0; k < m; ++k) {
    // q(x) = c(sc x) / (lead sc^m), monic: its k-th coefficient.
    const double coefficient =
        c[static_cast<std::size_t>(low + k)] / lead / std::pow(sc, m) * power;
    companion(0, m - 1 - k) = -coefficient;
    power *= sc;
    if (k + 1 < m) companion(k + 1, k) = 1;
  }
  const Eigen::EigenSolver<Eigen::MatrixXd> solver(companion, false);
  if (solver.info() != Eigen::Success) return roots;
  for (int k = 0; k < m; ++k) roots.push_back(solver.eigenvalues()(k) * sc);
  return roots;
}

bool OnAxis(std::complex<double> r) { return std::abs(r.real()) <= kAxisTolerance * std::abs(r); }

// A pole on the imaginary axis at jW, W >= 0, and its order.
struct AxisPole {
  double W = 0;
  int Order = 0;
};

void AddAxisPole(std::vector<AxisPole>& poles, double w, int order) {
  for (AxisPole& p : poles)
    if (std::abs(p.W - w) <= 1e-6 * std::max(p.W, w)) {
      p.Order += order;
      return;
    }
  poles.push_back({w, order});
}

// One stretch of the contour, p(u) for u from U0 to U1.
struct Piece {
  ContourPart Part;
  double U0, U1;
  double Centre = 0, Radius = 0;  // the half circles
  bool LogAxis = true;            // the axis: u = ln w
};

class Sampler {
 public:
  Sampler(const CurveFactors& f, std::vector<NyquistPoint>& out) : f_(f), out_(out) {
    out_.reserve(1024);
  }

  // Samples one piece on its base grid, refined where the locus moves fast.
  void Run(const Piece& piece, const std::vector<double>& grid) {
    piece_ = &piece;
    Sample previous = At(grid.front());
    Push(previous);
    for (std::size_t k = 1; k < grid.size(); ++k) {
      const Sample next = At(grid[k]);
      Refine(previous, next, 0);
      Push(next);
      previous = next;
    }
  }

  // A step of the phase of 1 + H was still too wide at the finest
  // subdivision: the locus goes through -1 or next to it.
  bool Unresolved() const { return unresolved_; }

 private:
  struct Sample {
    double U = 0;
    NyquistPoint Point;
  };

  Sample At(double u) const {
    const Piece& piece = *piece_;
    std::complex<double> p;
    Sample s;
    s.U = u;
    s.Point.Part = piece.Part;
    switch (piece.Part) {
      case ContourPart::Axis:
        s.Point.W = piece.LogAxis ? std::exp(u) : u;
        p = {0.0, s.Point.W};
        break;
      case ContourPart::Indentation:
        s.Point.W = piece.Centre;
        p = std::complex<double>(0.0, piece.Centre) + std::polar(piece.Radius, u);
        break;
      case ContourPart::Infinity:
        s.Point.W = std::numeric_limits<double>::infinity();
        p = std::polar(piece.Radius, u);
        break;
    }
    s.Point.H = ValueAt(p);
    return s;
  }

  // Whether b turned from a by more than the step, without an angle: the
  // cosine of the turn from the product with the conjugate.
  static bool TurnsMore(std::complex<double> a, std::complex<double> b, double cosine) {
    const std::complex<double> z = b * std::conj(a);
    return !(z.real() > 0 && z.real() * z.real() > cosine * cosine * std::norm(z));
  }

  static bool TooFar(const NyquistPoint& a, const NyquistPoint& b, bool* countStep) {
    *countStep = TurnsMore(1.0 + a.H, 1.0 + b.H, kCountCosine);
    if (*countStep) return true;
    const double ma = std::norm(a.H), mb = std::norm(b.H);
    if (!(ma > 0) || !(mb > 0) || !std::isfinite(ma) || !std::isfinite(mb)) return false;
    return TurnsMore(a.H, b.H, kDrawCosine) || mb > kDrawRatio * ma || ma > kDrawRatio * mb;
  }

  void Refine(const Sample& a, const Sample& b, int depth) {
    bool countStep = false;
    if (!TooFar(a.Point, b.Point, &countStep)) return;
    if (depth >= kMaxDepth || static_cast<int>(out_.size()) >= kMaxSamples ||
        ++evaluations_ > kMaxEvaluations) {
      if (countStep) unresolved_ = true;
      return;
    }
    const Sample m = At(0.5 * (a.U + b.U));
    Refine(a, m, depth + 1);
    Push(m);
    Refine(m, b, depth + 1);
  }

  void Push(const Sample& s) {
    if (!out_.empty() && out_.back().H == s.Point.H && out_.back().Part == s.Point.Part) return;
    out_.push_back(s.Point);
  }

  // The product of the factors with one division.
  std::complex<double> ValueAt(std::complex<double> p) const {
    std::complex<double> num = 1, den = 1;
    for (const CoefficientSet& c : f_.Num) num *= PolynomialAt(c, p);
    for (const CoefficientSet& c : f_.Den) den *= PolynomialAt(c, p);
    return num / den;
  }

  const CurveFactors& f_;
  std::vector<NyquistPoint>& out_;
  const Piece* piece_ = nullptr;
  bool unresolved_ = false;
  int evaluations_ = 0;
};

std::vector<double> Linear(double a, double b, int count) {
  std::vector<double> u;
  for (int k = 0; k <= count; ++k) u.push_back(a + (b - a) * k / count);
  return u;
}

// The continuous phase of H along the samples, from the first non-zero
// value; a negative real start is -180 degrees.
void UnwrapPhase(std::vector<NyquistPoint>& points) {
  std::size_t first = 0;
  while (first < points.size() && !(std::abs(points[first].H) > 0)) ++first;
  if (first == points.size()) return;
  double phase = std::arg(points[first].H);
  if (phase > kPi - 1e-12) phase = -kPi;
  std::complex<double> last = points[first].H;
  for (std::size_t k = 0; k < points.size(); ++k) {
    if (k > first && std::norm(points[k].H) > 0) {
      phase += std::arg(points[k].H * std::conj(last));
      last = points[k].H;
    }
    points[k].PhaseDeg = phase * 180 / kPi;
  }
}

// The simplified criterion: at the point of the locus (w > 0) nearest to
// -1, on which side of the way of increasing w does -1 lie?
std::optional<bool> CriticalSide(const std::vector<NyquistPoint>& points) {
  std::size_t best = points.size();
  double nearest = std::numeric_limits<double>::infinity();
  for (std::size_t k = 0; k < points.size(); ++k) {
    if (points[k].Part != ContourPart::Axis) continue;
    const double d = std::abs(points[k].H + 1.0);
    if (d < nearest) {
      nearest = d;
      best = k;
    }
  }
  if (best == points.size()) return std::nullopt;
  const std::size_t a = best > 0 ? best - 1 : best;
  const std::size_t b = best + 1 < points.size() ? best + 1 : best;
  const std::complex<double> along = points[b].H - points[a].H;
  const std::complex<double> toCritical = -1.0 - points[best].H;
  const double cross = along.real() * toCritical.imag() - along.imag() * toCritical.real();
  if (!(std::abs(cross) > 0)) return std::nullopt;
  return cross > 0;
}

NyquistLocus Failed(NyquistOutcome outcome) {
  NyquistLocus l;
  l.Outcome = outcome;
  return l;
}

CurveFactors FactorsFrom(const std::array<CoefficientSet, 3>& num,
                         const std::array<CoefficientSet, 3>& den, const std::vector<int>& which) {
  CurveFactors f;
  for (int i : which) {
    f.Num.push_back(num[static_cast<std::size_t>(i)]);
    f.Den.push_back(den[static_cast<std::size_t>(i)]);
  }
  return f;
}

bool SameBits(const std::vector<CoefficientSet>& a, const std::vector<CoefficientSet>& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](const CoefficientSet& x, const CoefficientSet& y) {
                      return std::memcmp(x.data(), y.data(), sizeof(CoefficientSet)) == 0;
                    });
}

bool SameBits(const CurveFactors& a, const CurveFactors& b) {
  return SameBits(a.Num, b.Num) && SameBits(a.Den, b.Den);
}

// The locus of f, from earlier when it has one of the same factors.
NyquistLocus LocusOf(const CurveFactors& f, const NyquistPicture* earlier) {
  if (earlier)
    for (const NyquistCurve& c : earlier->Curves)
      if (SameBits(c.Factors, f)) return c.Locus;
  return ComputeNyquist(f);
}

NyquistPicture PictureOf(const DiagramState& s, const std::array<CoefficientSet, 3>& num,
                         const std::array<CoefficientSet, 3>& den, bool margins,
                         const NyquistPicture* earlier = nullptr) {
  NyquistPicture picture;
  const std::vector<int> ticked = TickedFunctions(s);
  if (ticked.empty()) return picture;
  for (const Curve& c : DrawnCurves(s)) {
    NyquistCurve curve{c, {}, FactorsFrom(num, den, c.Factors)};
    curve.Locus = LocusOf(curve.Factors, earlier);
    picture.Curves.push_back(std::move(curve));
  }
  for (int i : ticked)
    picture.LoopName += (picture.LoopName.empty() ? "H" : ".H") + std::to_string(i + 1);
  // The loop is usually drawn already, as the product or as the one ticked
  // function.
  const NyquistCurve* same = nullptr;
  for (const NyquistCurve& c : picture.Curves)
    if (c.Of.Factors == ticked) same = &c;
  picture.LoopFactors = FactorsFrom(num, den, ticked);
  const bool sameLoop = earlier && SameBits(earlier->LoopFactors, picture.LoopFactors);
  picture.Loop = same       ? same->Locus
                 : sameLoop ? earlier->Loop
                            : ComputeNyquist(picture.LoopFactors);
  picture.Outcome = picture.Loop.Outcome;
  picture.ReadoutsRange = DisplayedRange(s);
  if (margins && picture.Outcome == NyquistOutcome::Drawn) {
    const bool sameRange = earlier && earlier->ReadoutsRange.WMin == picture.ReadoutsRange.WMin &&
                           earlier->ReadoutsRange.WMax == picture.ReadoutsRange.WMax;
    picture.LoopReadouts = sameLoop && sameRange && earlier->LoopReadouts
                               ? earlier->LoopReadouts
                               : ComputeReadouts(picture.LoopFactors, picture.ReadoutsRange);
  }
  return picture;
}

}  // namespace

NyquistLocus ComputeNyquist(const CurveFactors& f) {
  if (f.Num.empty()) return Failed(NyquistOutcome::NoFunction);
  const auto finite = [](const auto& c) {
    return std::all_of(c.begin(), c.end(), [](double v) { return std::isfinite(v); });
  };
  for (const std::vector<CoefficientSet>* side : {&f.Num, &f.Den})
    for (const CoefficientSet& c : *side)
      if (!finite(c)) return Failed(NyquistOutcome::Overflow);
  Polynomial num{1.0}, den{1.0};
  std::vector<std::complex<double>> features;  // every root, to place the samples
  int originPoles = 0, openRhp = 0;
  std::vector<AxisPole> axis;
  for (const CoefficientSet& d : f.Den) {
    const PolynomialFactors roots = FactorPolynomial(d);
    if (!roots.Valid) return Failed(NyquistOutcome::ZeroDenominator);
    originPoles += roots.AtZero;
    for (double r : roots.Real) {
      features.emplace_back(r, 0.0);
      if (r > 0) ++openRhp;
    }
    for (const std::complex<double>& r : roots.Pairs) {
      features.push_back(r);
      if (OnAxis(r))
        AddAxisPole(axis, std::abs(r), 1);
      else if (r.real() > 0)
        openRhp += 2;
    }
    den = Multiply(den, ToPolynomial(d));
  }
  for (const CoefficientSet& n : f.Num) {
    num = Multiply(num, ToPolynomial(n));
    const PolynomialFactors roots = FactorPolynomial(n);
    for (double r : roots.Real) features.emplace_back(r, 0.0);
    for (const std::complex<double>& r : roots.Pairs) features.push_back(r);
  }
  const Polynomial characteristic = Add(den, num);
  // The roots and the count would be read from infinities.
  if (!finite(num) || !finite(den) || !finite(characteristic))
    return Failed(NyquistOutcome::Overflow);
  if (PolynomialDegree(characteristic) < 0) return Failed(NyquistOutcome::LoopUndefined);

  NyquistLocus locus;
  locus.Outcome = NyquistOutcome::Drawn;
  NyquistVerdict& v = locus.Verdict;
  v.OpenLoopRhp = openRhp;
  for (const std::complex<double>& r : Roots(characteristic)) {
    if (r == 0.0 || OnAxis(r)) {
      if (!v.LimitW || std::abs(r.imag()) < *v.LimitW) v.LimitW = std::abs(r.imag());
    } else if (r.real() > 0) {
      ++v.RootsRhp;
    }
    if (r.imag() >= 0) features.push_back(r);
  }

  // The pulsations where something happens, and the range around them.
  double slowest = std::numeric_limits<double>::infinity(), fastest = 0;
  for (const std::complex<double>& r : features) {
    const double m = std::abs(r);
    if (!(m > 0) || !std::isfinite(m)) continue;
    slowest = std::min(slowest, m);
    fastest = std::max(fastest, m);
  }
  if (!(fastest > 0)) slowest = fastest = 1;
  // Kept inside the doubles: a root near the largest or smallest double must
  // not turn the sampled range into an infinite count of samples.
  const double wLow = std::max(slowest / kRangeMargin, kSmallestW);
  const double wTop = std::min(fastest * kRangeMargin, kLargestW);

  std::vector<double> grid;  // in ln w
  const double lnLow = std::log(wLow), lnTop = std::log(wTop);
  const int steps =
      std::max(2, static_cast<int>(std::ceil((lnTop - lnLow) / std::log(10.0) * kPointsPerDecade)));
  for (int k = 0; k <= steps; ++k) grid.push_back(lnLow + (lnTop - lnLow) * k / steps);
  for (const std::complex<double>& r : features) {
    const double im = std::abs(r.imag()), re = std::abs(r.real());
    if (!(im > 0)) continue;
    for (double k : {-3.0, -1.0, 0.0, 1.0, 3.0})
      if (im + k * re > wLow && im + k * re < wTop) grid.push_back(std::log(im + k * re));
  }
  for (const AxisPole& a : axis)
    for (double d = kIndentation * a.W; d < 0.3 * a.W; d *= 4) {
      grid.push_back(std::log(a.W - d));
      grid.push_back(std::log(a.W + d));
    }
  std::sort(grid.begin(), grid.end());
  grid.erase(std::unique(grid.begin(), grid.end()), grid.end());

  // The upper half of the contour, piece by piece.
  std::vector<NyquistPoint>& points = locus.Points;
  Sampler sampler(f, points);
  if (originPoles > 0) {
    Piece arc{ContourPart::Indentation, 0.0, kPi / 2, 0.0, wLow};
    sampler.Run(arc, Linear(0.0, kPi / 2, 8 * originPoles));
  } else {
    Piece origin{ContourPart::Axis, 0.0, 0.0};
    origin.LogAxis = false;
    sampler.Run(origin, {0.0});
  }
  std::sort(axis.begin(), axis.end(),
            [](const AxisPole& a, const AxisPole& b) { return a.W < b.W; });
  double from = lnLow;
  const auto runAxis = [&](double to) {
    std::vector<double> stretch{from};
    for (double u : grid)
      if (u > from && u < to) stretch.push_back(u);
    stretch.push_back(to);
    const Piece piece{ContourPart::Axis, from, to};
    sampler.Run(piece, stretch);
  };
  for (const AxisPole& a : axis) {
    const double radius = kIndentation * a.W;
    runAxis(std::log(a.W - radius));
    Piece arc{ContourPart::Indentation, -kPi / 2, kPi / 2, a.W, radius};
    sampler.Run(arc, Linear(-kPi / 2, kPi / 2, 16 * a.Order));
    from = std::log(a.W + radius);
  }
  runAxis(lnTop);
  Piece infinity{ContourPart::Infinity, kPi / 2, 0.0, 0.0, wTop};
  sampler.Run(infinity, Linear(kPi / 2, 0.0, 16));
  UnwrapPhase(points);

  // N from the phase of 1 + H along the upper half; the lower half, its
  // mirror run backwards, turns as much.
  double turned = 0;
  for (std::size_t k = 1; k < points.size(); ++k)
    turned += std::arg((1.0 + points[k].H) * std::conj(1.0 + points[k - 1].H));
  const double n = -turned / kPi;
  const double rounded = std::round(n);
  if (!v.LimitW && !sampler.Unresolved() && std::abs(n - rounded) < 0.05)
    v.Encirclements = static_cast<int>(rounded);
  if (v.Encirclements) {
    v.ClosedLoopRhp = *v.Encirclements + v.OpenLoopRhp;
    v.RootsAgree = v.ClosedLoopRhp == v.RootsRhp;
  } else {
    v.ClosedLoopRhp = v.RootsRhp;
    v.RootsAgree = true;
  }
  if (v.OpenLoopRhp == 0 && !v.LimitW) v.CriticalOnLeft = CriticalSide(points);
  return locus;
}

NyquistPicture ComputeNyquistPicture(const DiagramState& s, bool margins) {
  return PictureOf(s, s.NumCoeffs, s.DenCoeffs, margins);
}

NyquistPicture ComputeNyquistPicture(const DiagramState& s, bool margins,
                                     const NyquistPicture& earlier) {
  return PictureOf(s, s.NumCoeffs, s.DenCoeffs, margins, &earlier);
}

NyquistPicture ComputeNyquistPictureOfTexts(const DiagramState& s, bool margins) {
  std::array<CoefficientSet, 3> num{}, den{};
  for (int i : TickedFunctions(s)) {
    const auto k = static_cast<std::size_t>(i);
    if (!ExtractCoefficients(s.NumText[k].View(), s, num[k]) ||
        !ExtractCoefficients(s.DenText[k].View(), s, den[k])) {
      NyquistPicture picture;
      picture.Outcome = NyquistOutcome::Invalid;
      return picture;
    }
  }
  return PictureOf(s, num, den, margins);
}

}  // namespace tv
