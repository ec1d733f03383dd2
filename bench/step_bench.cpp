// What the time-response window adds to a spin step: the response computed, and computed and drawn.
#include <benchmark/benchmark.h>

#include <QPrinter>

#include "analysis/step_response.h"
#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "support/scripted_dialogs.h"
#include "ui/step_window.h"

namespace {

// Three degree-5 functions whose product, closed by unit feedback, is a
// lightly damped loop of order 15.
void ThreeDegreeFive(tv::DiagramState& s, tv::HeadlessHost& host) {
  s.NumCoeffs[0] = {0.3, 0.15, 0, 0, 0, 0};
  s.DenCoeffs[0] = {1, 5, 10, 10, 5, 1};
  s.NumCoeffs[1] = {2, 0, 0, 0, 0, 0};
  s.DenCoeffs[1] = {1, 2.5, 2.5, 1.25, 0.3125, 0.03125};
  s.NumCoeffs[2] = {1, 0.2, 0, 0, 0, 0};
  s.DenCoeffs[2] = {1, 1.3, 1.63, 1.035, 0.2808, 0.027};
  for (int box = 1; box <= 3; ++box) s.CurveTicked[box - 1] = true;
  s.Host = &host;
}

void StepResponse(benchmark::State& state) {
  tv::DiagramState s;
  tv::HeadlessHost host;
  ThreeDegreeFive(s, host);
  std::size_t samples = 0;
  for (auto _ : state) {
    const tv::StepResponse r = tv::ComputeStepResponse(s, true, 0);
    samples = r.Y.size();
    benchmark::DoNotOptimize(r.Y.data());
  }
  state.counters["samples"] = static_cast<double>(samples);
}
BENCHMARK(StepResponse)->Unit(benchmark::kMillisecond);

void StepWindow(benchmark::State& state) {
  tv::DiagramState s;
  tv::HeadlessHost host;
  ThreeDegreeFive(s, host);
  tv::ui::ScriptedDialogs dialogs;
  host.AskedDialogs = &dialogs;
  tv::ui::StepWindow window(s);
  // H1's gain goes up and down by a step each time, as a held arrow moves
  // it: the window computes only when the coefficients changed.
  const double gain = s.NumCoeffs[0][0];
  bool up = true;
  for (auto _ : state) {
    s.NumCoeffs[0][0] = up ? gain * 1.01 : gain;
    up = !up;
    window.DiagramRedrawn(s, true);
    benchmark::DoNotOptimize(window.Image().constBits());
  }
  if (window.Response().Outcome != tv::StepOutcome::Drawn) state.SkipWithError("nothing drawn");
  if (window.ComputeCount() < static_cast<int>(state.iterations()))
    state.SkipWithError("a step did not compute the response");
}
BENCHMARK(StepWindow)->Unit(benchmark::kMillisecond);

}  // namespace
