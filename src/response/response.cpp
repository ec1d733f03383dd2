// The product of the checked functions' responses at p = jw, and a response across a zero or pole
// on the imaginary axis.
#include "response/response.h"

namespace tv {

namespace {

// One polynomial at w, or just below w where it is exactly zero (zero set
// to 1); false when it cannot be drawn there.
bool PolynomialNear(const CoefficientSet& c, double w, double& re, double& im, int& zero) {
  const double w2 = w * w;
  re = RealPartAt(c, w2);
  im = ImagPartAt(c, w, w2);
  const double m = re * re + im * im;
  if (std::isnan(m)) return false;
  zero = 0;
  if (m != 0) return true;
  const double below = w * (1 - 0x1p-20);
  const double below2 = below * below;
  re = RealPartAt(c, below2);
  im = ImagPartAt(c, below, below2);
  const double mBelow = re * re + im * im;
  zero = 1;
  return mBelow != 0 && !std::isnan(mBelow);
}

}  // namespace

bool ResponseAcrossZero(const DiagramState& s, int i, double w, Response& r, int& order) {
  assert(i >= 0 && i < 3);
  double reN = 0, imN = 0, reD = 0, imD = 0;
  int zeroN = 0, zeroD = 0;
  if (!PolynomialNear(s.NumCoeffs[static_cast<std::size_t>(i)], w, reN, imN, zeroN) ||
      !PolynomialNear(s.DenCoeffs[static_cast<std::size_t>(i)], w, reD, imD, zeroD))
    return false;
  std::uint8_t valid = 1;
  Response near;
  near.PhaseRad = PhaseAngle(reN, imN) - PhaseAngle(reD, imD);
  near.GainDb = GainDb(valid, reN, imN) - GainDb(valid, reD, imD);
  if (!valid) return false;
  r = near;
  order = zeroN - zeroD;
  return true;
}

std::optional<Response> ProductResponse(const DiagramState& s, const bool enabled[3], double w,
                                        double w2) {
  Response sum;
  std::uint8_t valid = 1;
  for (int i = 0; i < 3; ++i) {
    if (!enabled[i]) continue;
    const Response r = FunctionResponse(s, i, w, w2, valid);
    if (!valid) return std::nullopt;
    sum.PhaseRad += r.PhaseRad;
    sum.GainDb += r.GainDb;
  }
  return sum;
}

}  // namespace tv
