// The unit-step response of the ticked functions, exact at its samples, and the read-outs a course
// asks for.
#include "analysis/step_response.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <functional>
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
// A step over which the fastest mode's exponential needs many squarings is
// taken mode by mode when the eigenvectors allow it.
constexpr double kStiffStep = 50;
constexpr double kModalCondition = 1e4;

// The smallest of 1, 2, 5 times a power of ten that is at least x > 0.
double NiceStep(double x) {
  const double decade = std::pow(10.0, std::floor(std::log10(x)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * decade >= x * (1 - 1e-12)) return m * decade;
  return 10 * decade;
}

// The response at any instant, exact: x(t) from one exponential of the
// system with its input held, [A B; 0 0]·t, whose last column is x(t) for a
// state starting at rest.
class ExactResponse {
 public:
  explicit ExactResponse(const StateSpace& ss) : ss_(ss), ca_(ss.C * ss.A) {
    const int n = ss.Order();
    m_ = Eigen::MatrixXd::Zero(n + 1, n + 1);
    m_.topLeftCorner(n, n) = ss.A;
    m_.topRightCorner(n, 1) = ss.B;
    cb_ = n > 0 ? ss.C.dot(ss.B) : 0.0;
  }
  double Value(double t) const { return ss_.Order() > 0 ? ss_.C.dot(State(t)) + ss_.D : ss_.D; }
  double Slope(double t) const { return ss_.Order() > 0 ? ca_.dot(State(t)) + cb_ : 0.0; }

 private:
  Eigen::VectorXd State(double t) const {
    const int n = ss_.Order();
    const Eigen::MatrixXd e = (m_ * t).exp();
    return e.topRightCorner(n, 1);
  }
  const StateSpace& ss_;
  Eigen::RowVectorXd ca_;
  Eigen::MatrixXd m_;
  double cb_ = 0;
};

// Samples at k·dt, k < count: the response and its slope, stepped by the
// exact discretisation of the held input.
struct Samples {
  std::vector<double> T, Y, Slope;
};

// e^z - 1 without the cancellation near z = 0.
std::complex<double> ExpMinusOne(std::complex<double> z) {
  const double s = std::sin(z.imag() / 2);
  return {std::expm1(z.real()) * std::cos(z.imag()) - 2 * s * s,
          std::exp(z.real()) * std::sin(z.imag())};
}

// Phi = e^{A dt} and Gamma = (integral of e^{A s} over one step) B from the
// eigenvectors, when they are well conditioned: each mode then goes through
// its own exponential, where squaring the whole matrix would spread the
// rounding of a mode that dies within the step over the slow ones.
bool ModalStep(const StateSpace& ss, double dt, Eigen::MatrixXd* phi, Eigen::VectorXd* gamma) {
  const int n = ss.Order();
  const Eigen::EigenSolver<Eigen::MatrixXd> solver(ss.A, true);
  if (solver.info() != Eigen::Success) return false;
  const Eigen::MatrixXcd v = solver.eigenvectors();
  const Eigen::JacobiSVD<Eigen::MatrixXcd> svd(v);
  const double smallest = svd.singularValues()(n - 1);
  if (!(smallest > 0) || svd.singularValues()(0) / smallest > kModalCondition) return false;
  const Eigen::MatrixXcd inverse = v.inverse();
  Eigen::VectorXcd e(n), integral(n);
  for (int k = 0; k < n; ++k) {
    const std::complex<double> z = solver.eigenvalues()(k) * dt;
    e(k) = std::exp(z);
    integral(k) = std::abs(z) < 1e-300 ? std::complex<double>(dt) : ExpMinusOne(z) / z * dt;
  }
  *phi = (v * e.asDiagonal() * inverse).real();
  *gamma = (v * integral.asDiagonal() * (inverse * ss.B.cast<std::complex<double>>())).real();
  return phi->allFinite() && gamma->allFinite();
}

// x <- Phi x + Gamma, the state's step from one sample to the next, with
// the bits of Eigen's product and sum: each row's products added to 0 from
// the first column on, two rows at a time, then Gamma. Eigen's product sets
// itself up again at every call, which cost more than its arithmetic for the
// fifteen states of three functions in series.
class StateStep {
 public:
  StateStep(const Eigen::MatrixXd& phi, const Eigen::VectorXd& gamma)
      : n_(static_cast<std::size_t>(phi.rows())),
        rows_((n_ + kBlock - 1) / kBlock * kBlock),
        phi_(rows_ * n_, 0.0),
        gamma_(rows_, 0.0),
        next_(rows_, 0.0) {
    for (std::size_t j = 0; j < n_; ++j)
      for (std::size_t i = 0; i < n_; ++i)
        phi_[j * rows_ + i] = phi(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(j));
    for (std::size_t i = 0; i < n_; ++i) gamma_[i] = gamma(static_cast<Eigen::Index>(i));
  }

  void Apply(Eigen::VectorXd& x) {
    std::size_t b = 0;
    for (; b + 2 * kBlock <= rows_; b += 2 * kBlock) Rows<kBlock>(x, b);
    if (b < rows_) Rows<kBlock / 2>(x, b);
    std::copy(next_.begin(), next_.begin() + static_cast<std::ptrdiff_t>(n_), x.data());
  }

 private:
  using Pair = double __attribute__((vector_size(16)));
  static constexpr std::size_t kBlock = 8;

  // Pairs × 2 rows from row b, each row's sum kept in its own lanes; sixteen
  // rows at a time broadcast each state once for twice the rows.
  template <std::size_t Pairs>
  [[gnu::always_inline]] void Rows(const Eigen::VectorXd& x, std::size_t b) {
    Pair a[Pairs] = {};
    const double* column = phi_.data() + b;
    for (std::size_t j = 0; j < n_; ++j, column += rows_) {
      const double v = x(static_cast<Eigen::Index>(j));
      const Pair xj = {v, v};
#pragma GCC unroll 8
      for (std::size_t k = 0; k < Pairs; ++k) a[k] += Load(column + 2 * k) * xj;
    }
#pragma GCC unroll 8
    for (std::size_t k = 0; k < Pairs; ++k) Finish(b + 2 * k, a[k]);
  }

  static Pair Load(const double* p) {
    Pair v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  // Rows i and i + 1 of the next state: their sums, then Gamma.
  void Finish(std::size_t i, Pair sums) {
    const Pair next = sums + Load(&gamma_[i]);
    std::memcpy(&next_[i], &next, sizeof next);
  }

  std::size_t n_, rows_;
  std::vector<double> phi_;  // by columns of rows_, the rows past n_ zero
  std::vector<double> gamma_, next_;
};

bool March(const StateSpace& ss, double dt, int count, Samples* out) {
  const int n = ss.Order();
  Eigen::MatrixXd phi(n, n);
  Eigen::VectorXd gamma(n);
  const bool stiff = n > 0 && ss.A.cwiseAbs().rowwise().sum().maxCoeff() * dt > kStiffStep;
  if (stiff && ModalStep(ss, dt, &phi, &gamma)) {
  } else if (n > 0) {
    Eigen::MatrixXd m = Eigen::MatrixXd::Zero(n + 1, n + 1);
    m.topLeftCorner(n, n) = ss.A * dt;
    m.topRightCorner(n, 1) = ss.B * dt;
    const Eigen::MatrixXd e = m.exp();
    if (!e.allFinite()) return false;
    phi = e.topLeftCorner(n, n);
    gamma = e.topRightCorner(n, 1);
  }
  const Eigen::RowVectorXd ca = ss.C * ss.A;
  const double cb = n > 0 ? ss.C.dot(ss.B) : 0.0;
  const auto size = static_cast<std::size_t>(count);
  out->T.resize(size);
  out->Y.resize(size);
  out->Slope.resize(size);
  Eigen::VectorXd x = Eigen::VectorXd::Zero(n);
  StateStep step(phi, gamma);
  for (std::size_t k = 0; k < size; ++k) {
    out->T[k] = static_cast<double>(k) * dt;
    out->Y[k] = (n > 0 ? ss.C.dot(x) : 0.0) + ss.D;
    out->Slope[k] = n > 0 ? ca.dot(x) + cb : 0.0;
    if (n > 0) step.Apply(x);
  }
  return true;
}

// Where f changes sign on [a, b], f(a) and f(b) of opposite signs (or f(b) zero).
template <class F>
double Bisect(F f, double a, double b) {
  const bool startPositive = f(a) > 0;
  for (int i = 0; i < 60 && b - a > 1e-12 * b; ++i) {
    const double m = 0.5 * (a + b);
    if ((f(m) > 0) == startPositive)
      a = m;
    else
      b = m;
  }
  return 0.5 * (a + b);
}

// First time the response reaches level in the direction of sign.
bool FirstPassage(const Samples& r, const ExactResponse& exact, double level, double sign,
                  double* t) {
  for (std::size_t k = 0; k < r.Y.size(); ++k) {
    if ((r.Y[k] - level) * sign < 0) continue;
    *t = k == 0 ? 0
                : Bisect([&](double x) { return (exact.Value(x) - level) * sign; }, r.T[k - 1],
                         r.T[k]);
    return true;
  }
  return false;
}

// The highest point of the samples, moved to where the exact slope vanishes
// on either side of it; false when the response still rises at their end.
bool HighestPoint(const Samples& r, const ExactResponse& exact, double sign, double* peakTime,
                  double* peakValue) {
  const std::size_t count = r.Y.size();
  std::size_t best = 0;
  for (std::size_t k = 1; k < count; ++k)
    if (r.Y[k] * sign > r.Y[best] * sign) best = k;
  if (best + 1 >= count) return false;
  *peakTime = r.T[best];
  *peakValue = r.Y[best];
  for (std::size_t k : {best == 0 ? best : best - 1, best}) {
    if (r.Slope[k] * sign <= 0 || r.Slope[k + 1] * sign > 0) continue;
    const double t = Bisect([&](double x) { return exact.Slope(x) * sign; }, r.T[k], r.T[k + 1]);
    const double y = exact.Value(t);
    if (y * sign > *peakValue * sign) {
      *peakTime = t;
      *peakValue = y;
    }
  }
  return true;
}

using SamplesBeyond = std::function<const Samples*()>;

void FindPeak(const Samples& r, const SamplesBeyond& beyond, const ExactResponse& exact,
              double sign, StepReadouts& o) {
  double peakTime = 0, peakValue = 0;
  if (!HighestPoint(r, exact, sign, &peakTime, &peakValue)) {
    // Still rising at the end of the span: a peak may lie past it.
    const Samples* further = beyond();
    if (further == nullptr || !HighestPoint(*further, exact, sign, &peakTime, &peakValue)) return;
    const double overshoot = (peakValue - o.FinalValue) / std::abs(o.FinalValue) * 100;
    o.PeakBeyondSpan = overshoot * sign > 1e-4;
    return;
  }
  const double overshoot = (peakValue - o.FinalValue) / std::abs(o.FinalValue) * 100;
  if (!(overshoot * sign > 1e-4)) return;
  o.HasOvershoot = true;
  o.OvershootPercent = std::abs(overshoot);
  o.PeakTime = peakTime;
  o.PeakValue = peakValue;
}

void FindSettling(const Samples& r, const ExactResponse& exact, StepReadouts& o) {
  const double band = 0.05 * std::abs(o.FinalValue);
  const auto outside = [&](double y) { return std::abs(y - o.FinalValue) - band; };
  std::size_t last = r.Y.size();
  for (std::size_t k = r.Y.size(); k-- > 0;) {
    // An extreme between two samples inside the band may itself leave it (a
    // slow oscillation whose last peak only just reaches the band's edge):
    // it is found where the exact slope vanishes.
    // Only where the samples' own slopes let the extreme reach the band:
    // the exact slope costs a matrix exponential at every bisection step.
    const auto mayLeave = [&](std::size_t j) {
      const double dt = r.T[k + 1] - r.T[k];
      return outside(r.Y[j]) + std::abs(r.Slope[j]) * dt > 0;
    };
    if (k + 1 < r.Y.size() && r.Slope[k] * r.Slope[k + 1] < 0 && (mayLeave(k) || mayLeave(k + 1))) {
      const double sign = r.Slope[k] > 0 ? 1 : -1;
      const double t = Bisect([&](double x) { return exact.Slope(x) * sign; }, r.T[k], r.T[k + 1]);
      if (outside(exact.Value(t)) > 0) {
        o.HasSettling = true;
        o.SettledInSpan = true;
        o.SettlingTime = Bisect([&](double x) { return outside(exact.Value(x)); }, t, r.T[k + 1]);
        return;
      }
    }
    if (outside(r.Y[k]) > 0) {
      last = k;
      break;
    }
  }
  o.HasSettling = true;
  if (last == r.Y.size()) {
    o.SettledInSpan = true;
    o.SettlingTime = 0;
  } else if (last + 1 < r.Y.size()) {
    o.SettledInSpan = true;
    o.SettlingTime =
        Bisect([&](double x) { return outside(exact.Value(x)); }, r.T[last], r.T[last + 1]);
  }
}

// The poles on the imaginary axis when they are all the response has that
// does not settle: simple pairs, no pole to the right, no double integrator.
bool StabilityLimit(const StepSystem& system, const std::vector<std::complex<double>>& poles,
                    double* w) {
  if (!system.ZeroTransfer && system.OriginOrder < 0) return false;
  std::vector<double> axis;
  for (const std::complex<double>& p : poles) {
    const double mag = std::abs(p);
    if (p.real() > kAxisTolerance * mag) return false;
    if (p.real() < -kAxisTolerance * mag) continue;
    if (!(std::abs(p.imag()) > kAxisTolerance * mag)) return false;
    if (p.imag() > 0) axis.push_back(p.imag());
  }
  if (axis.empty()) return false;
  std::sort(axis.begin(), axis.end());
  for (std::size_t k = 1; k < axis.size(); ++k)
    if (axis[k] - axis[k - 1] <= 1e-6 * axis[k]) return false;  // a double pair grows
  *w = axis.front();
  return true;
}

// The read-outs from samples fine enough to see every oscillation (the drawn
// ones when they are), each refined on the exact response.
void ReadOut(const StepSystem& system, const std::vector<std::complex<double>>& poles,
             const std::function<const Samples*()>& fine, const SamplesBeyond& beyond,
             StepResponse& r) {
  StepReadouts& o = r.Readouts;
  bool unstable = !system.ZeroTransfer && system.OriginOrder < -1;
  for (const std::complex<double>& p : poles)
    if (p.real() > -kAxisTolerance * std::abs(p)) unstable = true;
  if (unstable) {
    o.Kind = StepKind::Unstable;
    double w = 0;
    if (StabilityLimit(system, poles, &w)) {
      o.StabilityLimit = true;
      o.OscillationW = w;
    }
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
  const ExactResponse exact(system.System);
  const double sign = o.FinalValue > 0 ? 1.0 : -1.0;
  const Samples* samples = fine();
  if (samples == nullptr) return;
  FindPeak(*samples, beyond, exact, sign, o);
  FindSettling(*samples, exact, o);
  o.HasRise = FirstPassage(*samples, exact, 0.1 * o.FinalValue, sign, &o.RiseStart) &&
              FirstPassage(*samples, exact, 0.9 * o.FinalValue, sign, &o.RiseEnd);
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
  double finestOscillation = std::numeric_limits<double>::infinity();
  for (const std::complex<double>& p : poles) {
    const double mag = std::abs(p), re = p.real(), im = std::abs(p.imag());
    if (!(mag > 0)) continue;
    if (re < -kAxisTolerance * mag)
      span = std::max(span, kSettleLog / -re);
    else if (re > kAxisTolerance * mag)
      growth = std::max(growth, re);
    else
      span = std::max(span, kUndampedPeriods * 2 * std::numbers::pi / im);
    const bool oscillates = im > kAxisTolerance * mag;
    if (oscillates)
      finestOscillation =
          std::min(finestOscillation, 2 * std::numbers::pi / im / kSamplesPerPeriod);
    finest = std::min(finest, oscillates ? 2 * std::numbers::pi / im / kSamplesPerPeriod : 1 / mag);
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
  // Past this many spans every mode has long settled or left the doubles,
  // and one step of the samples would hold thousands of the fastest periods.
  if (r.TMax > kLongestSpans * span) {
    r.RequestedTMax = r.TMax;
    r.TMax = NiceStep(kLongestSpans * span);
  }
  const double wanted = std::ceil(r.TMax / finest) + 1;
  const int count = !(wanted < kMaxStepSamples)
                        ? kMaxStepSamples
                        : std::max(kMinStepSamples, static_cast<int>(wanted));
  const double dt = r.TMax / (count - 1);

  Samples drawn;
  if (!March(ss, dt, count, &drawn)) return Failed(StepOutcome::Overflow);
  double largest = 0;
  for (std::size_t k = 0; k < drawn.Y.size(); ++k)
    largest = std::max(largest, std::abs(drawn.Y[k]) + std::abs(drawn.Slope[k]));
  if (!(largest < kLargest)) return Failed(StepOutcome::Overflow);
  r.T = std::move(drawn.T);
  r.Y = std::move(drawn.Y);
  r.Slope = std::move(drawn.Slope);
  r.Outcome = StepOutcome::Drawn;

  // An oscillation with fewer than four samples a period, not yet died out
  // by the second sample, is drawn as noise.
  for (const std::complex<double>& p : poles) {
    const double im = std::abs(p.imag());
    if (im > kAxisTolerance * std::abs(p) && 2 * std::numbers::pi / im < 4 * dt &&
        p.real() * 2 * dt > -kSettleLog)
      r.TooFastToDraw = true;
  }

  // The read-outs need every oscillation seen: the drawn samples when they
  // do, else samples of their own over the span where the response settles.
  const int order = ss.Order();
  const double readoutCap = std::clamp(4e7 / ((order + 1.0) * (order + 1.0)), 5e4, 1e6);
  const auto finer = [&](double until, Samples* out) {
    const double h = std::min(dt, finestOscillation);
    const double samples = std::max(std::min(std::ceil(until / h) + 1, readoutCap), 2.0);
    return March(ss, until / (samples - 1), static_cast<int>(samples), out);
  };
  Samples own, further;
  const Samples view{r.T, r.Y, r.Slope};
  const auto fine = [&]() -> const Samples* {
    if (!(dt > finestOscillation * (1 + 1e-9))) return &view;
    return finer(std::min(r.TMax, 2 * span), &own) ? &own : nullptr;
  };
  const auto beyond = [&]() -> const Samples* {
    if (!(r.TMax < 2 * span)) return nullptr;
    return finer(2 * span, &further) ? &further : nullptr;
  };
  ReadOut(system, poles, fine, beyond, r);
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

}  // namespace tv
