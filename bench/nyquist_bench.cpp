// What the Nyquist window adds to a spin step: the loci and the verdict computed, then drawn.
#include <benchmark/benchmark.h>

#include "analysis/nyquist.h"
#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "support/scripted_dialogs.h"
#include "ui/nyquist_window.h"

namespace {

// Three degree-5 functions and their product, a loop of order 15.
void ThreeDegreeFive(tv::DiagramState& s, tv::HeadlessHost& host) {
  s.NumCoeffs[0] = {0.3, 0.15, 0, 0, 0, 0};
  s.DenCoeffs[0] = {1, 5, 10, 10, 5, 1};
  s.NumCoeffs[1] = {2, 0, 0, 0, 0, 0};
  s.DenCoeffs[1] = {1, 2.5, 2.5, 1.25, 0.3125, 0.03125};
  s.NumCoeffs[2] = {1, 0.2, 0, 0, 0, 0};
  s.DenCoeffs[2] = {1, 1.3, 1.63, 1.035, 0.2808, 0.027};
  for (int box = 1; box <= 4; ++box) s.CurveTicked[box - 1] = true;
  s.ShowMargins = 1;
  s.Host = &host;
}

void NyquistComputation(benchmark::State& state) {
  tv::DiagramState s;
  tv::HeadlessHost host;
  ThreeDegreeFive(s, host);
  std::size_t samples = 0;
  for (auto _ : state) {
    const tv::NyquistPicture n = tv::ComputeNyquistPicture(s, state.range(0) != 0);
    samples = 0;
    for (const tv::NyquistCurve& c : n.Curves) samples += c.Locus.Points.size();
    benchmark::DoNotOptimize(n.Loop.Verdict.ClosedLoopRhp);
  }
  state.counters["samples"] = static_cast<double>(samples);
}
BENCHMARK(NyquistComputation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void NyquistWindow(benchmark::State& state) {
  tv::DiagramState s;
  tv::HeadlessHost host;
  ThreeDegreeFive(s, host);
  tv::ui::ScriptedDialogs dialogs;
  host.AskedDialogs = &dialogs;
  tv::ui::NyquistWindow window(s);
  // A step of the gain in H1: H1's locus and the product's are computed
  // again, H2's and H3's kept.
  bool up = true;
  for (auto _ : state) {
    s.NumCoeffs[0][0] = up ? 0.31 : 0.3;
    up = !up;
    window.DiagramRedrawn(s, true);
    benchmark::DoNotOptimize(window.Image().constBits());
  }
  if (window.Loci().Outcome != tv::NyquistOutcome::Drawn) state.SkipWithError("nothing drawn");
}
BENCHMARK(NyquistWindow)->Unit(benchmark::kMillisecond);

}  // namespace
