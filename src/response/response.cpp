// Value, angle and gain of the coefficient sets at p = jw, per function and for the product.
#include "response/response.h"

#include <cassert>
#include <cmath>
#include <numbers>

namespace tv {

namespace {
// The divisor that turns 10*ln(|z|^2) into dB; deliberately not the exact ln 10,
// so that curves and margins match the values students compare against.
constexpr double kLn10Approx = 2.302585;
}  // namespace

double RealPartAt(const CoefficientSet& c, double w2) {
  // c0 - c2 w^2 + c4 w^4
  return (c[4] * w2 - c[2]) * w2 + c[0];
}

double ImagPartAt(const CoefficientSet& c, double w, double w2) {
  // c1 w - c3 w^3 + c5 w^5
  return ((c[5] * w2 - c[3]) * w2 + c[1]) * w;
}

double PhaseAngle(double re, double im) {
  constexpr double pi = std::numbers::pi;
  if (re == 0) return im > 0 ? pi / 2 : 3 * pi / 2;
  if (im == 0) return re > 0 ? 0.0 : pi;
  const double r = std::atan(std::fabs(im) / std::fabs(re));
  if (re > 0) return im > 0 ? r : 2 * pi - r;
  return im > 0 ? pi - r : pi + r;
}

double GuardedLn(DiagramState& s, double x) {
  if (x == 0 || std::isnan(x)) {
    s.ResponseValid = 0;
    return 0;
  }
  return std::log(x);
}

double GainDb(DiagramState& s, double re, double im) {
  return 10 * GuardedLn(s, re * re + im * im) / kLn10Approx;
}

Response FunctionResponse(DiagramState& s, int i, double w, double w2) {
  assert(i >= 0 && i < 3);
  const CoefficientSet& num = s.NumCoeffs[static_cast<std::size_t>(i)];
  const CoefficientSet& den = s.DenCoeffs[static_cast<std::size_t>(i)];
  const double reN = RealPartAt(num, w2);
  const double imN = ImagPartAt(num, w, w2);
  const double reD = RealPartAt(den, w2);
  const double imD = ImagPartAt(den, w, w2);
  Response r;
  r.PhaseRad = PhaseAngle(reN, imN) - PhaseAngle(reD, imD);
  r.GainDb = GainDb(s, reN, imN) - GainDb(s, reD, imD);
  return r;
}

Response ProductResponse(DiagramState& s, const bool enabled[3], double w, double w2) {
  Response sum;
  for (int i = 0; i < 3; ++i) {
    if (!enabled[i]) continue;
    const Response r = FunctionResponse(s, i, w, w2);
    sum.PhaseRad += r.PhaseRad;
    sum.GainDb += r.GainDb;
  }
  return sum;
}

}  // namespace tv
