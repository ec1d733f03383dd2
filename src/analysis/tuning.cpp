// Tuning to the 2.3 dB contour: the closed-loop peak as a function of one parameter, bracketed,
// then refined.
#include "analysis/tuning.h"

#include <array>
#include <cmath>
#include <complex>
#include <limits>
#include <vector>

#include "analysis/curves.h"
#include "analysis/readouts.h"
#include "analysis/state_space.h"
#include "expression/coefficients.h"
#include "expression/evaluator.h"

namespace tv {

namespace {

// Trial values per decade of the bracketing scan.
constexpr int kTrialsPerDecade = 10;
// A refined value whose peak misses the target by more than this lies on a
// jump of the peak (two resonances trading places), not on a crossing.
constexpr double kAcceptedMissDb = 1e-6;
// A pole this close to the imaginary axis, relative to its modulus, is on it.
constexpr double kStableMargin = 1e-9;

double& Field(ParameterValues& v, Parameter p) {
  switch (p) {
    case Parameter::K: return v.K;
    case Parameter::T: return v.T;
    case Parameter::A: return v.A;
    case Parameter::B: return v.B;
    case Parameter::W: return v.W;
    case Parameter::Ksi: return v.Ksi;
  }
  return v.K;
}

// Every closed-loop pole strictly in the left half plane, from the
// eigenvalues of the product's realisation closed by unit feedback.
bool Stable(const CurveFactors& f) {
  std::array<CoefficientSet, 3> num{}, den{};
  std::vector<int> factors;
  for (std::size_t k = 0; k < f.Num.size() && k < 3; ++k) {
    num[k] = f.Num[k];
    den[k] = f.Den[k];
    factors.push_back(static_cast<int>(k));
  }
  const StepSystem sys = RealiseStepSystem(num, den, factors, true);
  if (sys.Status != SystemStatus::Ok) return false;
  const Eigen::MatrixXd& a = sys.System.A;
  if (a.rows() == 0) return true;
  if (!a.allFinite()) return false;
  const Eigen::EigenSolver<Eigen::MatrixXd> solver(a, false);
  if (solver.info() != Eigen::Success) return false;
  for (Eigen::Index k = 0; k < a.rows(); ++k) {
    const std::complex<double> p = solver.eigenvalues()(k);
    if (!(p.real() < -kStableMargin * std::abs(p))) return false;
  }
  return true;
}

struct Problem {
  const DiagramState& S;
  Parameter P;
  std::vector<int> Functions;
  PulsationRange Range;
  double TargetDb;

  // Peak minus target at value v; NaN when a text does not compile there or
  // the closed loop cannot be evaluated; +infinity when the closed loop is
  // not stable, where a peak means nothing: on the way to the stability
  // limit the peak grows without bound, so a crossing found against such a
  // value lies on the stable side.
  double Offset(double v) const {
    ParameterValues values = ParametersOf(S);
    Field(values, P) = v;
    CurveFactors f;
    for (int i : Functions) {
      CoefficientSet num{}, den{};
      if (!ExtractPolynomial(S.NumText[static_cast<std::size_t>(i)].View(), values, num) ||
          !ExtractPolynomial(S.DenText[static_cast<std::size_t>(i)].View(), values, den))
        return std::numeric_limits<double>::quiet_NaN();
      f.Num.push_back(num);
      f.Den.push_back(den);
    }
    if (!Stable(f)) return std::numeric_limits<double>::infinity();
    const std::optional<double> peak = ClosedLoopPeakDb(f, Range);
    return peak ? *peak - TargetDb : std::numeric_limits<double>::quiet_NaN();
  }
};

// Bisection with a secant guess (Illinois), on [a, b] where the offset changes sign.
double Refine(const Problem& problem, double a, double b, double fa, double fb) {
  int side = 0;
  for (int iter = 0; iter < 200 && b - a > 1e-14 * std::fabs(b); ++iter) {
    double c = (a * fb - b * fa) / (fb - fa);
    // Keep the guess well inside: halve when the secant stalls at an end.
    if (!(c > a && c < b) || iter % 4 == 3) c = (a + b) / 2;
    const double fc = problem.Offset(c);
    if (std::isnan(fc)) {
      c = (a + b) / 2;
      continue;
    }
    if (fc == 0) return c;
    if ((fc > 0) == (fb > 0)) {
      b = c;
      fb = fc;
      if (side == -1) fa /= 2;
      side = -1;
    } else {
      a = c;
      fa = fc;
      if (side == 1) fb /= 2;
      side = 1;
    }
  }
  return std::fabs(fa) < std::fabs(fb) ? a : b;
}

}  // namespace

std::optional<double> TuneClosedLoopPeak(const DiagramState& s, Parameter p, double targetDb) {
  Problem problem{s, p, TickedFunctions(s), DisplayedRange(s), targetDb};
  if (problem.Functions.empty()) return std::nullopt;

  std::vector<double> values{0};
  const int decades = static_cast<int>(std::lround(std::log10(kTuningHighest / kTuningLowest)));
  for (int k = 0; k <= decades * kTrialsPerDecade; ++k)
    values.push_back(kTuningLowest * std::pow(10.0, static_cast<double>(k) / kTrialsPerDecade));
  std::vector<double> offsets;
  for (double v : values) offsets.push_back(problem.Offset(v));

  const double current = ParameterValue(s, p);
  std::optional<double> best;
  const auto consider = [&](double v) {
    if (!best || std::fabs(v - current) < std::fabs(*best - current)) best = v;
  };
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (offsets[i] == 0) consider(values[i]);
    if (i == 0 || std::isnan(offsets[i - 1]) || std::isnan(offsets[i])) continue;
    if (offsets[i - 1] == 0 || offsets[i] == 0 || (offsets[i - 1] > 0) == (offsets[i] > 0))
      continue;
    const double v = Refine(problem, values[i - 1], values[i], offsets[i - 1], offsets[i]);
    const double miss = problem.Offset(v);
    if (!std::isnan(miss) && std::fabs(miss) <= kAcceptedMissDb) consider(v);
  }
  return best;
}

}  // namespace tv
