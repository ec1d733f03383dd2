// The product of the checked functions' responses at p = jw.
#include "response/response.h"

namespace tv {

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
