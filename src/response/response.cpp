// Value, angle and gain of the coefficient sets at p = jw, per function and for the product.
#include "response/response.h"

#include <cassert>
#include <cmath>
#include <numbers>

namespace tv {

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
