// Kept sweep samples: forgotten per function when its coefficients change, all when the sampling
// does.
#include "render/sweep_memo.h"

#include <cstring>

namespace tv {

namespace {
// To the bit: a coefficient that went from 0 to -0 or stayed NaN is judged
// by what it holds, as the arithmetic would.
template <typename T>
bool SameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}
}  // namespace

void SweepMemo::Begin(const DiagramState& s, const std::array<double, 4>& key) {
  const bool sameKey = known_ && SameBits(key, key_);
  known_ = true;
  key_ = key;
  for (std::size_t i = 0; i < functions_.size(); ++i) {
    Function& f = functions_[i];
    if (sameKey && SameBits(f.Num, s.NumCoeffs[i]) && SameBits(f.Den, s.DenCoeffs[i])) continue;
    f.Num = s.NumCoeffs[i];
    f.Den = s.DenCoeffs[i];
    f.Samples.clear();
  }
}

Response SweepMemo::Sampled(const DiagramState& s, int i, int n, double w, double w2,
                            std::uint8_t& valid, int& order) {
  std::vector<Sample>& kept = functions_[static_cast<std::size_t>(i)].Samples;
  std::uint8_t sampleValid = 1;
  const Response r = SampledResponse(s, i, w, w2, sampleValid, order);
  if (static_cast<std::size_t>(n) == kept.size()) kept.push_back({r, order, sampleValid == 0});
  if (sampleValid == 0) valid = 0;
  return r;
}

}  // namespace tv
