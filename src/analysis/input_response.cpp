// The time response to a unit step, ramp or impulse, exact at its samples, and what each input's
// read-outs say.
#include "analysis/input_response.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "analysis/curves.h"
#include "core/format.h"
#include "expression/coefficients.h"

namespace tv {

namespace {

// As the step's read-outs judge a pole on the imaginary axis.
constexpr double kAxisTolerance = 1e-9;

// A pole in the right half plane or on the imaginary axis, the integrators
// the realisation puts at the origin aside (their effect is read from the
// transfer function's low terms).
bool HasUnstablePole(const StepSystem& system) {
  const Eigen::MatrixXd& a = system.System.A;
  if (a.rows() == 0) return false;
  const Eigen::EigenSolver<Eigen::MatrixXd> solver(a, false);
  if (solver.info() != Eigen::Success) return true;
  std::vector<std::complex<double>> poles;
  for (Eigen::Index k = 0; k < a.rows(); ++k) poles.push_back(solver.eigenvalues()(k));
  std::sort(poles.begin(), poles.end(),
            [](const auto& x, const auto& y) { return std::abs(x) < std::abs(y); });
  const auto skip =
      std::min<std::size_t>(static_cast<std::size_t>(system.OriginPoles), poles.size());
  return std::any_of(poles.begin() + static_cast<std::ptrdiff_t>(skip), poles.end(),
                     [](const std::complex<double>& p) {
                       return std::abs(p) > 0 && p.real() > -kAxisTolerance * std::abs(p);
                     });
}

// The system driven through an integrator: its step is the ramp response.
StepSystem ThroughIntegrator(const StepSystem& system) {
  StepSystem out = system;
  const StateSpace& ss = system.System;
  const int n = ss.Order();
  StateSpace& a = out.System;
  a.A = Eigen::MatrixXd::Zero(n + 1, n + 1);
  a.A.topLeftCorner(n, n) = ss.A;
  a.A.topRightCorner(n, 1) = ss.B;
  a.B = Eigen::VectorXd::Zero(n + 1);
  a.B(n) = 1;
  a.C = Eigen::RowVectorXd(n + 1);
  a.C.head(n) = ss.C;
  a.C(n) = ss.D;
  a.D = 0;
  out.OriginPoles = system.OriginPoles + 1;
  out.OriginOrder = system.OriginOrder - 1;
  return out;
}

// The derivative of the system's strictly proper part, y = C A x + C B u:
// its step is the impulse response without the Dirac D.
StepSystem Derivative(const StepSystem& system) {
  StepSystem out = system;
  const StateSpace& ss = system.System;
  if (ss.Order() > 0) {
    out.System.C = ss.C * ss.A;
    out.System.D = ss.C.dot(ss.B);
  } else {
    out.System.D = 0;
  }
  out.OriginOrder = system.OriginOrder + 1;
  return out;
}

// The cubic through two samples with their exact slopes.
struct Cubic {
  double T0, H, Y0, Y1, S0, S1;
  Cubic(const StepResponse& r, std::size_t k)
      : T0(r.T[k]),
        H(r.T[k + 1] - r.T[k]),
        Y0(r.Y[k]),
        Y1(r.Y[k + 1]),
        S0(r.Slope[k]),
        S1(r.Slope[k + 1]) {}
  double Value(double t) const {
    const double u = (t - T0) / H, u2 = u * u, u3 = u2 * u;
    return (2 * u3 - 3 * u2 + 1) * Y0 + (u3 - 2 * u2 + u) * H * S0 + (-2 * u3 + 3 * u2) * Y1 +
           (u3 - u2) * H * S1;
  }
  double Slope(double t) const {
    const double u = (t - T0) / H, u2 = u * u;
    return ((6 * u2 - 6 * u) * Y0 + (3 * u2 - 4 * u + 1) * H * S0 + (-6 * u2 + 6 * u) * Y1 +
            (3 * u2 - 2 * u) * H * S1) /
           H;
  }
};

void FindImpulsePeak(InputResponse& r) {
  const StepResponse& s = r.Samples;
  const std::size_t count = s.Y.size();
  if (count < 2) return;
  std::size_t best = 0;
  for (std::size_t k = 1; k < count; ++k)
    if (std::abs(s.Y[k]) > std::abs(s.Y[best])) best = k;
  if (best + 1 >= count || s.Y[best] == 0) return;
  const double sign = s.Y[best] > 0 ? 1.0 : -1.0;
  r.HasPeak = true;
  r.PeakTime = s.T[best];
  r.PeakValue = s.Y[best];
  // Where the slope changes sign next to the largest sample.
  for (std::size_t k : {best == 0 ? best : best - 1, best}) {
    if (s.Slope[k] * sign <= 0 || s.Slope[k + 1] * sign > 0) continue;
    const Cubic c(s, k);
    double a = s.T[k], b = s.T[k + 1];
    for (int i = 0; i < 60; ++i) {
      const double m = 0.5 * (a + b);
      (c.Slope(m) * sign > 0 ? a : b) = m;
    }
    const double t = 0.5 * (a + b);
    if (c.Value(t) * sign > r.PeakValue * sign) {
      r.PeakTime = t;
      r.PeakValue = c.Value(t);
    }
  }
}

int Lowest(const Polynomial& p) {
  for (std::size_t k = 0; k < p.size(); ++k)
    if (p[k] != 0) return static_cast<int>(k);
  return -1;
}

InputResponse Failed(InputKind input, StepOutcome outcome) {
  InputResponse r;
  r.Input = input;
  r.Samples.Outcome = outcome;
  return r;
}

InputResponse WithTracking(InputResponse r, const std::array<CoefficientSet, 3>& num,
                           const std::array<CoefficientSet, 3>& den,
                           const std::vector<int>& factors, bool closedLoop) {
  if (r.Input != InputKind::Ramp || r.Samples.Outcome != StepOutcome::Drawn) return r;
  if (r.Unstable) {
    r.Tracking = TrackingError::Unstable;
    return r;
  }
  r.Tracking = RampTrackingError(num, den, factors, closedLoop, &r.TrackingValue);
  // An error of 1/4.9e-324 is said as the overflow it is, not written.
  if (r.Tracking == TrackingError::Finite && !std::isfinite(r.TrackingValue))
    return Failed(r.Input, StepOutcome::Overflow);
  return r;
}

}  // namespace

InputResponse ComputeInputResponse(const StepSystem& system, InputKind input, double tMax) {
  InputResponse r;
  r.Input = input;
  if (system.Status != SystemStatus::Ok || input == InputKind::Step) {
    r.Samples = ComputeStepResponse(system, tMax);
    return r;
  }
  if (input == InputKind::Ramp) {
    r.Samples = ComputeStepResponse(ThroughIntegrator(system), tMax);
  } else {
    r.Samples = ComputeStepResponse(Derivative(system), tMax);
    r.DiracWeight = system.System.D;
  }
  if (r.Samples.Outcome != StepOutcome::Drawn) return r;
  // The step's read-outs of these derived systems say nothing of this input.
  r.Samples.Readouts = StepReadouts{};
  r.Unstable = HasUnstablePole(system);
  if (input == InputKind::Impulse && !r.Unstable) FindImpulsePeak(r);
  if (!std::isfinite(r.PeakValue) || !std::isfinite(r.DiracWeight)) {
    r = InputResponse{};
    r.Input = input;
    r.Samples.Outcome = StepOutcome::Overflow;
  }
  return r;
}

TrackingError RampTrackingError(const std::array<CoefficientSet, 3>& num,
                                const std::array<CoefficientSet, 3>& den,
                                const std::vector<int>& factors, bool closedLoop, double* value) {
  // F = P/Q; 1 - F = R/Q with R = Q - P, which is the open loop's
  // denominator itself when the loop is closed (no difference rounds).
  Polynomial p{1.0}, d{1.0};
  for (int i : factors) {
    const auto k = static_cast<std::size_t>(i);
    p = Multiply(p, Polynomial(num[k].begin(), num[k].end()));
    d = Multiply(d, Polynomial(den[k].begin(), den[k].end()));
  }
  Polynomial q = d, rest = d;
  q.resize(std::max(d.size(), p.size()), 0.0);
  rest.resize(q.size(), 0.0);
  for (std::size_t k = 0; k < p.size(); ++k) {
    if (closedLoop)
      q[k] += p[k];
    else
      rest[k] -= p[k];
  }
  const int lowQ = Lowest(q), lowR = Lowest(rest);
  if (lowR < 0 || lowR > lowQ + 1) return TrackingError::Zero;
  if (lowQ < 0 || lowR < lowQ + 1) return TrackingError::Infinite;
  if (value) *value = rest[static_cast<std::size_t>(lowR)] / q[static_cast<std::size_t>(lowQ)];
  return TrackingError::Finite;
}

InputResponse ComputeInputResponse(const DiagramState& s, InputKind input, bool closedLoop,
                                   double tMax) {
  const std::vector<int> factors = TickedFunctions(s);
  if (factors.empty()) return Failed(input, StepOutcome::NoFunction);
  return WithTracking(
      ComputeInputResponse(RealiseStepSystem(s.NumCoeffs, s.DenCoeffs, factors, closedLoop), input,
                           tMax),
      s.NumCoeffs, s.DenCoeffs, factors, closedLoop);
}

InputResponse ComputeInputResponseOfTexts(const DiagramState& s, InputKind input, bool closedLoop,
                                          double tMax) {
  const std::vector<int> factors = TickedFunctions(s);
  if (factors.empty()) return Failed(input, StepOutcome::NoFunction);
  std::array<CoefficientSet, 3> num{}, den{};
  for (int i : factors) {
    const auto k = static_cast<std::size_t>(i);
    if (!ExtractCoefficients(s.NumText[k].View(), s, num[k]) ||
        !ExtractCoefficients(s.DenText[k].View(), s, den[k]))
      return Failed(input, StepOutcome::Invalid);
  }
  return WithTracking(
      ComputeInputResponse(RealiseStepSystem(num, den, factors, closedLoop), input, tMax), num, den,
      factors, closedLoop);
}

}  // namespace tv
