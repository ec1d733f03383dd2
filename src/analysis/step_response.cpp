// The unit-step response of the ticked functions, exact at its samples, and the read-outs a course
// asks for.
#include "core/translate.h"
#include "analysis/step_response.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <unsupported/Eigen/MatrixFunctions>

#include "analysis/curves.h"
#include "core/format.h"
#include "expression/coefficients.h"

namespace tv {

namespace {

// A slow mode has settled when it is down to a thousandth of its start.
const double kSettleLog = std::log(1000.0);
constexpr double kUndampedPeriods = 5;
constexpr double kSamplesPerPeriod = 25;
// A pole whose real part is this small against its modulus is on the
// imaginary axis: the rounding of the eigenvalues is far below it.
constexpr double kAxisTolerance = 1e-9;
constexpr double kLargest = 1e300;

// The smallest of 1, 2, 5 times a power of ten that is at least x > 0.
double NiceStep(double x) {
  const double decade = std::pow(10.0, std::floor(std::log10(x)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * decade >= x * (1 - 1e-12)) return m * decade;
  return 10 * decade;
}

// The cubic through two samples with their exact slopes: between samples
// the response is known to the fourth order of the step.
struct Hermite {
  double T0, H, Y0, Y1, S0, S1;
  Hermite(const StepResponse& r, std::size_t k)
      : T0(r.T[k]),
        H(r.T[k + 1] - r.T[k]),
        Y0(r.Y[k]),
        Y1(r.Y[k + 1]),
        S0(r.Slope[k]),
        S1(r.Slope[k + 1]) {}
  double Value(double t) const {
    const double u = (t - T0) / H;
    const double u2 = u * u, u3 = u2 * u;
    return (2 * u3 - 3 * u2 + 1) * Y0 + (u3 - 2 * u2 + u) * H * S0 + (-2 * u3 + 3 * u2) * Y1 +
           (u3 - u2) * H * S1;
  }
  double Slope(double t) const {
    const double u = (t - T0) / H;
    const double u2 = u * u;
    return ((6 * u2 - 6 * u) * Y0 + (3 * u2 - 4 * u + 1) * H * S0 + (-6 * u2 + 6 * u) * Y1 +
            (3 * u2 - 2 * u) * H * S1) /
           H;
  }
};

// Where f changes sign on [a, b], f(a) and f(b) of opposite signs (or f(b) zero).
template <class F>
double Bisect(F f, double a, double b) {
  const bool startPositive = f(a) > 0;
  for (int i = 0; i < 60; ++i) {
    const double m = 0.5 * (a + b);
    if ((f(m) > 0) == startPositive)
      a = m;
    else
      b = m;
  }
  return 0.5 * (a + b);
}

// First time the response reaches level in the direction of sign.
bool FirstPassage(const StepResponse& r, double level, double sign, double* t) {
  for (std::size_t k = 0; k < r.Y.size(); ++k) {
    if ((r.Y[k] - level) * sign < 0) continue;
    if (k == 0) {
      *t = 0;
    } else {
      const Hermite h(r, k - 1);
      *t = Bisect([&](double x) { return (h.Value(x) - level) * sign; }, r.T[k - 1], r.T[k]);
    }
    return true;
  }
  return false;
}

void FindPeak(const StepResponse& r, double sign, StepReadouts& o) {
  const std::size_t count = r.Y.size();
  std::size_t best = 0;
  for (std::size_t k = 1; k < count; ++k)
    if (r.Y[k] * sign > r.Y[best] * sign) best = k;
  // A response still rising at the end of the span has no peak in it.
  if (best + 1 >= count) return;
  double peakTime = r.T[best], peakValue = r.Y[best];
  // The slope changes sign on one side of the highest sample.
  for (std::size_t k : {best == 0 ? best : best - 1, best}) {
    if (r.Slope[k] * sign <= 0 || r.Slope[k + 1] * sign > 0) continue;
    const Hermite h(r, k);
    const double t = Bisect([&](double x) { return h.Slope(x) * sign; }, r.T[k], r.T[k + 1]);
    if (h.Value(t) * sign > peakValue * sign) {
      peakTime = t;
      peakValue = h.Value(t);
    }
  }
  const double overshoot = (peakValue - o.FinalValue) / std::abs(o.FinalValue) * 100;
  if (!(overshoot * sign > 1e-4)) return;
  o.HasOvershoot = true;
  o.OvershootPercent = std::abs(overshoot);
  o.PeakTime = peakTime;
  o.PeakValue = peakValue;
}

void FindSettling(const StepResponse& r, StepReadouts& o) {
  const double band = 0.05 * std::abs(o.FinalValue);
  const auto outside = [&](double y) { return std::abs(y - o.FinalValue) - band; };
  std::size_t last = r.Y.size();
  for (std::size_t k = r.Y.size(); k-- > 0;)
    if (outside(r.Y[k]) > 0) {
      last = k;
      break;
    }
  o.HasSettling = true;
  if (last == r.Y.size()) {
    o.SettledInSpan = true;
    o.SettlingTime = 0;
  } else if (last + 1 < r.Y.size()) {
    o.SettledInSpan = true;
    const Hermite h(r, last);
    o.SettlingTime =
        Bisect([&](double x) { return outside(h.Value(x)); }, r.T[last], r.T[last + 1]);
  }
}

void ReadOut(const StepSystem& system, const std::vector<std::complex<double>>& poles,
             StepResponse& r) {
  StepReadouts& o = r.Readouts;
  bool unstable = !system.ZeroTransfer && system.OriginOrder < -1;
  for (const std::complex<double>& p : poles)
    if (p.real() > -kAxisTolerance * std::abs(p)) unstable = true;
  if (unstable) {
    o.Kind = StepKind::Unstable;
    return;
  }
  if (!system.ZeroTransfer && system.OriginOrder == -1) {
    o.Kind = StepKind::Ramp;
    o.Velocity = system.LowGain;
    return;
  }
  o.Kind = StepKind::Settles;
  o.FinalValue = system.ZeroTransfer || system.OriginOrder > 0 ? 0.0 : system.LowGain;
  if (o.FinalValue == 0) return;
  const double sign = o.FinalValue > 0 ? 1.0 : -1.0;
  FindPeak(r, sign, o);
  FindSettling(r, o);
  o.HasRise = FirstPassage(r, 0.1 * o.FinalValue, sign, &o.RiseStart) &&
              FirstPassage(r, 0.9 * o.FinalValue, sign, &o.RiseEnd);
}

// Every read-out a finite number: a static gain of 1/4.9e-324 is infinite.
bool AllFinite(const StepReadouts& o) {
  for (const double v : {o.FinalValue, o.Velocity, o.OvershootPercent, o.PeakTime, o.PeakValue,
                         o.SettlingTime, o.RiseStart, o.RiseEnd})
    if (!std::isfinite(v)) return false;
  return true;
}

StepResponse Failed(StepOutcome outcome) {
  StepResponse r;
  r.Outcome = outcome;
  return r;
}

}  // namespace

StepResponse ComputeStepResponse(const StepSystem& system, double tMax) {
  switch (system.Status) {
    case SystemStatus::Ok: break;
    case SystemStatus::ZeroDenominator: return Failed(StepOutcome::ZeroDenominator);
    case SystemStatus::Improper: return Failed(StepOutcome::Improper);
    case SystemStatus::LoopUndefined: return Failed(StepOutcome::LoopUndefined);
  }
  const StateSpace& ss = system.System;
  const int n = ss.Order();
  if (!ss.A.allFinite() || !ss.B.allFinite() || !ss.C.allFinite() || !std::isfinite(ss.D))
    return Failed(StepOutcome::Overflow);

  // The poles, without those the realisation puts at the origin: they are
  // the integrators, whose effect the transfer function's low terms give.
  std::vector<std::complex<double>> poles;
  if (n > 0) {
    const Eigen::EigenSolver<Eigen::MatrixXd> solver(ss.A, false);
    if (solver.info() != Eigen::Success) return Failed(StepOutcome::Overflow);
    for (int k = 0; k < n; ++k) poles.push_back(solver.eigenvalues()(k));
    std::sort(poles.begin(), poles.end(),
              [](const auto& a, const auto& b) { return std::abs(a) < std::abs(b); });
    poles.erase(poles.begin(), poles.begin() + std::min<std::ptrdiff_t>(system.OriginPoles, n));
  }

  // The span: the slowest mode settled, an undamped one seen for five
  // periods, a growing one until it has grown a thousand times; the step:
  // the fastest oscillation cut in 25, the fastest real mode sampled once
  // per time constant.
  double span = 0, finest = std::numeric_limits<double>::infinity(), growth = 0;
  for (const std::complex<double>& p : poles) {
    const double mag = std::abs(p), re = p.real(), im = std::abs(p.imag());
    if (!(mag > 0)) continue;
    if (re < -kAxisTolerance * mag)
      span = std::max(span, kSettleLog / -re);
    else if (re > kAxisTolerance * mag)
      growth = std::max(growth, re);
    else
      span = std::max(span, kUndampedPeriods * 2 * std::numbers::pi / im);
    finest =
        std::min(finest, im > kAxisTolerance * mag ? 2 * std::numbers::pi / im / kSamplesPerPeriod
                                                   : 1 / mag);
  }
  if (growth > 0) span = kSettleLog / growth;
  if (!(span > 0) || !std::isfinite(span)) span = 10;

  StepResponse r;
  if (std::isfinite(tMax) && tMax > 0) {
    r.TMax = tMax;
  } else {
    const double step = NiceStep(span / 5);
    r.TMax = std::ceil(span / step - 1e-9) * step;
  }
  const double wanted = std::ceil(r.TMax / finest) + 1;
  const int count = !(wanted < kMaxStepSamples)
                        ? kMaxStepSamples
                        : std::max(kMinStepSamples, static_cast<int>(wanted));
  const double dt = r.TMax / (count - 1);

  // One exponential of the system with its input held: [A B; 0 0]·dt gives
  // the transition Phi and the input's effect Gamma over one step, exactly.
  Eigen::MatrixXd phi(n, n);
  Eigen::VectorXd gamma(n);
  if (n > 0) {
    Eigen::MatrixXd m = Eigen::MatrixXd::Zero(n + 1, n + 1);
    m.topLeftCorner(n, n) = ss.A * dt;
    m.topRightCorner(n, 1) = ss.B * dt;
    const Eigen::MatrixXd e = m.exp();
    if (!e.allFinite()) return Failed(StepOutcome::Overflow);
    phi = e.topLeftCorner(n, n);
    gamma = e.topRightCorner(n, 1);
  }
  const Eigen::RowVectorXd ca = ss.C * ss.A;
  const double cb = n > 0 ? ss.C.dot(ss.B) : 0.0;

  r.T.resize(static_cast<std::size_t>(count));
  r.Y.resize(static_cast<std::size_t>(count));
  r.Slope.resize(static_cast<std::size_t>(count));
  Eigen::VectorXd x = Eigen::VectorXd::Zero(n), next(n);
  double largest = 0;
  for (int k = 0; k < count; ++k) {
    const auto i = static_cast<std::size_t>(k);
    r.T[i] = k * dt;
    r.Y[i] = (n > 0 ? ss.C.dot(x) : 0.0) + ss.D;
    r.Slope[i] = n > 0 ? ca.dot(x) + cb : 0.0;
    largest = std::max(largest, std::abs(r.Y[i]) + std::abs(r.Slope[i]));
    if (n > 0) {
      next.noalias() = phi * x;
      x = next + gamma;
    }
  }
  if (!(largest < kLargest)) return Failed(StepOutcome::Overflow);
  r.Outcome = StepOutcome::Drawn;
  ReadOut(system, poles, r);
  // Said as the overflow it is rather than written as an infinite value.
  if (!AllFinite(r.Readouts)) return Failed(StepOutcome::Overflow);
  return r;
}

StepResponse ComputeStepResponse(const DiagramState& s, bool closedLoop, double tMax) {
  const std::vector<int> factors = TickedFunctions(s);
  if (factors.empty()) return Failed(StepOutcome::NoFunction);
  return ComputeStepResponse(RealiseStepSystem(s.NumCoeffs, s.DenCoeffs, factors, closedLoop),
                             tMax);
}

StepResponse ComputeStepResponseOfTexts(const DiagramState& s, bool closedLoop, double tMax) {
  const std::vector<int> factors = TickedFunctions(s);
  if (factors.empty()) return Failed(StepOutcome::NoFunction);
  std::array<CoefficientSet, 3> num{}, den{};
  for (int i : factors) {
    const auto k = static_cast<std::size_t>(i);
    if (!ExtractPolynomial(s.NumText[k].View(), s, num[k]) ||
        !ExtractPolynomial(s.DenText[k].View(), s, den[k]))
      return Failed(StepOutcome::Invalid);
  }
  return ComputeStepResponse(RealiseStepSystem(num, den, factors, closedLoop), tMax);
}

std::vector<std::string> StepReadoutTexts(const StepResponse& r) {
  std::vector<std::string> lines;
  if (r.Outcome != StepOutcome::Drawn) return lines;
  const StepReadouts& o = r.Readouts;
  switch (o.Kind) {
    case StepKind::Unstable:
      lines.push_back(Tr("StepResponse", "Valeur finale : instable"));
      return lines;
    case StepKind::Ramp:
      lines.push_back(Tr("StepResponse", "Valeur finale : rampe de vitesse ") +
                      FormatBounded(o.Velocity) + " /s");
      return lines;
    case StepKind::Settles: break;
  }
  lines.push_back(Tr("StepResponse", "Valeur finale : ") + FormatBounded(o.FinalValue));
  if (o.FinalValue == 0) return lines;
  lines.push_back(o.HasOvershoot
                      ? Tr("StepResponse", "D\xE9passement D% : ") +
                            FormatBounded(o.OvershootPercent) + Tr("StepResponse", " % en t= ") +
                            FormatBounded(o.PeakTime) + " s"
                      : Tr("StepResponse", "D\xE9passement D% : aucun"));
  if (o.HasSettling)
    lines.push_back(Tr("StepResponse", "Temps de r\xE9ponse \xE0 5 % : ") +
                    (o.SettledInSpan
                         ? FormatBounded(o.SettlingTime) + " s"
                         : Tr("StepResponse", "au-del\xE0 de ") + FormatBounded(r.TMax) + " s"));
  if (o.HasRise)
    lines.push_back(Tr("StepResponse", "Temps de mont\xE9"
                                       "e 10-90 % : ") +
                    FormatBounded(o.RiseEnd - o.RiseStart) + " s");
  return lines;
}

std::string StepOutcomeText(StepOutcome outcome) {
  switch (outcome) {
    case StepOutcome::Drawn: return {};
    case StepOutcome::NoFunction:
      return Tr("StepResponse", "Aucune fonction coch\xE9"
                                "e : rien \xE0 tracer");
    case StepOutcome::Invalid:
      return Tr("StepResponse", "Une fonction coch\xE9"
                                "e est invalide : rien n'est trac\xE9");
    case StepOutcome::ZeroDenominator:
      return Tr("StepResponse", "D\xE9nominateur nul : la fonction de transfert n'existe pas");
    case StepOutcome::Improper:
      return Tr("StepResponse",
                "Num\xE9rateur de degr\xE9 sup\xE9rieur au d\xE9nominateur : la r\xE9ponse "
                "contient un Dirac, rien n'est trac\xE9");
    case StepOutcome::LoopUndefined:
      return Tr("StepResponse", "1+H est identiquement nul : la boucle ferm\xE9"
                                "e n'est pas d\xE9"
                                "finie");
    case StepOutcome::Overflow:
      return Tr("StepResponse", "Coefficients trop extr\xEAmes : le calcul d\xE9passe les nombres "
                                "repr\xE9sentables");
  }
  return {};
}

}  // namespace tv
