// Gain and phase of the transfer functions at p = jw.
#pragma once

#include <cassert>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

#include "core/diagram_state.h"

namespace tv {

// Real and imaginary part of a coefficient set at p = jw, given w2 = w*w.
inline double RealPartAt(const CoefficientSet& c, double w2);
inline double ImagPartAt(const CoefficientSet& c, double w, double w2);

// Angle of re + j im in [0, 2pi).
inline double PhaseAngle(double re, double im);

// Natural logarithm; an exact zero (or NaN) clears the validity flag (the
// frame's ResponseValid) and gives 0.
inline double GuardedLn(std::uint8_t& valid, double x);

// 10 * GuardedLn(re^2 + im^2) / 2.302585.
inline double GainDb(std::uint8_t& valid, double re, double im);

struct Response {
  double PhaseRad = 0;  // in (-2pi, 2pi), never unwrapped
  double GainDb = 0;
};

// Response of function index i (0..2 for H1..H3) at w, from the state's
// coefficients; the flag as GuardedLn.
inline Response FunctionResponse(const DiagramState& s, int i, double w, double w2,
                                 std::uint8_t& valid);

// Hi at a sampled pulsation w where FunctionResponse found its numerator or
// denominator exactly zero: a zero or a pole on the imaginary axis that the
// sweep lands on (1 + p^2 at w = 1). The zero polynomial is taken just below
// w, at w (1 - 2^-20): its phase there is the limit from below, which the
// curve keeps at w before it jumps as the exact response does; the gain
// there is what a product in which a zero and a pole cancel needs. order:
// +1 for a zero numerator, -1 for a zero denominator, 0 for both. False, and
// r unchanged, when a polynomial is zero or not a number just below w too (a
// polynomial of zeros, a pulsation the arithmetic cannot hold): nothing can
// be drawn there.
bool ResponseAcrossZero(const DiagramState& s, int i, double w, Response& r, int& order);

// The response of Hi as the sweeps draw it. order as ResponseAcrossZero:
// where it is not 0 the gain is -infinity (order > 0) or +infinity dB, and
// the returned gain and phase are the limit from below. valid is cleared
// only where nothing can be drawn; the response is then FunctionResponse's.
inline Response SampledResponse(const DiagramState& s, int i, double w, double w2,
                                std::uint8_t& valid, int& order);

// Sum over the functions whose enabled[i] is set (0 dB, 0 rad with none), each
// with the sweep's own arithmetic; none where a summed function's numerator or
// denominator is zero at w. The cursor read-out samples the curves with it.
std::optional<Response> ProductResponse(const DiagramState& s, const bool enabled[3], double w,
                                        double w2);

// Every column of a sweep evaluates each function: the evaluation is
// defined here, so that it inlines into the sweep.

namespace detail {
// The divisor that turns 10*ln(|z|^2) into dB; deliberately not the exact ln 10,
// so that curves and margins match the values students compare against.
inline constexpr double kLn10Approx = 2.302585;
}  // namespace detail

inline double RealPartAt(const CoefficientSet& c, double w2) {
  // c0 - c2 w^2 + c4 w^4
  return (c[4] * w2 - c[2]) * w2 + c[0];
}

inline double ImagPartAt(const CoefficientSet& c, double w, double w2) {
  // c1 w - c3 w^3 + c5 w^5
  return ((c[5] * w2 - c[3]) * w2 + c[1]) * w;
}

inline double PhaseAngle(double re, double im) {
  constexpr double pi = std::numbers::pi;
  if (re == 0) return im > 0 ? pi / 2 : 3 * pi / 2;
  if (im == 0) return re > 0 ? 0.0 : pi;
  const double r = std::atan(std::fabs(im) / std::fabs(re));
  if (re > 0) return im > 0 ? r : 2 * pi - r;
  return im > 0 ? pi - r : pi + r;
}

inline double GuardedLn(std::uint8_t& valid, double x) {
  if (x == 0 || std::isnan(x)) {
    valid = 0;
    return 0;
  }
  return std::log(x);
}

inline double GainDb(std::uint8_t& valid, double re, double im) {
  return 10 * GuardedLn(valid, re * re + im * im) / detail::kLn10Approx;
}

inline Response FunctionResponse(const DiagramState& s, int i, double w, double w2,
                                 std::uint8_t& valid) {
  assert(i >= 0 && i < 3);
  const CoefficientSet& num = s.NumCoeffs[static_cast<std::size_t>(i)];
  const CoefficientSet& den = s.DenCoeffs[static_cast<std::size_t>(i)];
  const double reN = RealPartAt(num, w2);
  const double imN = ImagPartAt(num, w, w2);
  const double reD = RealPartAt(den, w2);
  const double imD = ImagPartAt(den, w, w2);
  Response r;
  r.PhaseRad = PhaseAngle(reN, imN) - PhaseAngle(reD, imD);
  r.GainDb = GainDb(valid, reN, imN) - GainDb(valid, reD, imD);
  return r;
}

inline Response SampledResponse(const DiagramState& s, int i, double w, double w2,
                                std::uint8_t& valid, int& order) {
  std::uint8_t exact = 1;
  Response r = FunctionResponse(s, i, w, w2, exact);
  order = 0;
  if (!exact && !ResponseAcrossZero(s, i, w, r, order)) valid = 0;
  return r;
}

}  // namespace tv
