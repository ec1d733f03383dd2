// The responses a sweep sampled, kept from one redraw to the next for each function whose
// coefficients did not change.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/diagram_state.h"
#include "response/response.h"

namespace tv {

// A held spin arrow redraws the picture ten times a second, and a step of
// one parameter changes the coefficients of the functions that name it
// only: the others give the same responses at the same pulsations, to the
// bit. The window's target holds one; a picture drawn once (a page, a file)
// has none and samples everything.
class SweepMemo {
 public:
  // Starts a sweep whose pulsations are fixed by key (the view and its
  // sampling: the same key, the same pulsation at each sample number).
  // What was kept for another key, or for coefficients that changed since,
  // is forgotten.
  void Begin(const DiagramState& s, const std::array<double, 4>& key);

  // Sample n of Hi, as SampledResponse(s, i, w, w2, valid, order) gives it
  // at that sample's pulsation w. Samples are asked in order from 0.
  Response At(const DiagramState& s, int i, int n, double w, double w2, std::uint8_t& valid,
              int& order) {
    const std::vector<Sample>& kept = functions_[static_cast<std::size_t>(i)].Samples;
    if (static_cast<std::size_t>(n) >= kept.size()) return Sampled(s, i, n, w, w2, valid, order);
    const Sample& sample = kept[static_cast<std::size_t>(n)];
    ++reused_;
    order = sample.Order;
    if (sample.Clears) valid = 0;
    return sample.R;
  }

  // Samples taken from the memo rather than computed, for the tests.
  long Reused() const { return reused_; }

 private:
  struct Sample {
    Response R;
    int Order = 0;
    bool Clears = false;  // the sample clears the sweep's validity
  };
  struct Function {
    CoefficientSet Num{}, Den{};
    std::vector<Sample> Samples;
  };
  // Sample n computed, and kept when it is the next one.
  Response Sampled(const DiagramState& s, int i, int n, double w, double w2, std::uint8_t& valid,
                   int& order);

  bool known_ = false;
  std::array<double, 4> key_{};
  std::array<Function, 3> functions_{};
  long reused_ = 0;
};

// Sample n of Hi through memo when there is one, else computed.
inline Response SweepSample(SweepMemo* memo, const DiagramState& s, int i, int n, double w,
                            double w2, std::uint8_t& valid, int& order) {
  if (memo) return memo->At(s, i, n, w, w2, valid, order);
  return SampledResponse(s, i, w, w2, valid, order);
}

}  // namespace tv
