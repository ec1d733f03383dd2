// What the closed-loop locus costs: a step with its window open (markers and read-outs), and the
// whole locus of a degree-15 loop.
#include <benchmark/benchmark.h>

#include "analysis/locus.h"
#include "expression/coefficients.h"
#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "support/scripted_dialogs.h"
#include "support/three_functions.h"
#include "ui/locus_window.h"

namespace {

// Three degree-5 functions in series, the loop gain K in H1's numerator:
// the locus a course draws, of order 15.
void GainLoop(tv::DiagramState& s) {
  tv::SetStartValues(s);
  s.NumText[0].Assign("K*(0.3+0.15*p)");
  s.DenText[0].Assign("1+5*p+10*p^2+10*p^3+5*p^4+p^5");
  s.NumText[1].Assign("2");
  s.DenText[1].Assign("1+2.5*p+2.5*p^2+1.25*p^3+0.3125*p^4+0.03125*p^5");
  s.NumText[2].Assign("1+0.2*p");
  s.DenText[2].Assign("1+1.3*p+1.63*p^2+1.035*p^3+0.2808*p^4+0.027*p^5");
  s.ParamK = 1;
  for (bool& b : s.CurveTicked) b = true;
}

void Recompute(benchmark::State& state, void (*scene)(tv::DiagramState&)) {
  tv::DiagramState s;
  tv::HeadlessHost host;
  scene(s);
  s.Host = &host;
  const tv::CharacteristicFamily family(s, tv::Parameter::K);
  std::size_t samples = 0;
  for (auto _ : state) {
    const tv::Locus l = tv::ComputeLocus(family, 0, 100 * s.ParamK);
    samples = l.Samples.size();
    benchmark::DoNotOptimize(l.Samples.data());
  }
  state.counters["samples"] = static_cast<double>(samples);
}

void LocusRecompute(benchmark::State& state) { Recompute(state, GainLoop); }
BENCHMARK(LocusRecompute)->Unit(benchmark::kMillisecond);

// The guarded scene: K read by four of the six texts, in 1/K too.
void LocusRecomputeEveryText(benchmark::State& state) {
  Recompute(state, tv::scenes::ThreeFunctions);
}
BENCHMARK(LocusRecomputeEveryText)->Unit(benchmark::kMillisecond);

void LocusStep(benchmark::State& state) {
  tv::DiagramState s;
  tv::HeadlessHost host;
  GainLoop(s);
  s.Host = &host;
  tv::ui::ScriptedDialogs dialogs;
  host.AskedDialogs = &dialogs;
  tv::ui::LocusWindow window(s, [] { return std::optional<tv::Parameter>(tv::Parameter::K); }, {});
  // What the redraw does before it tells the window: the texts evaluated at
  // the state's values.
  const auto redraw = [&s, &window] {
    for (int i = 0; i < 3; ++i) tv::CompileFunction(s, i, tv::ParametersOf(s));
    window.DiagramRedrawn(s, true);
  };
  redraw();
  const int computed = window.LocusCount();
  bool up = true;
  for (auto _ : state) {
    s.ParamK += up ? 0.1 : -0.1;
    up = !up;
    redraw();
    benchmark::DoNotOptimize(window.Image().constBits());
  }
  if (window.LocusCount() != computed) state.SkipWithError("a step computed the locus again");
}
BENCHMARK(LocusStep)->Unit(benchmark::kMillisecond);

}  // namespace
