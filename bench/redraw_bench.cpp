// What a spin step costs: compiling and evaluating the texts, the sweep, whole redraws onto the
// window's image.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QRadioButton>
#include <QWidget>
#include <cmath>
#include <array>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "expression/coefficients.h"
#include "render/bode.h"
#include "render/plot_surface.h"
#include "render/redraw.h"
#include "render/sweep_memo.h"
#include "support/null_surface.h"
#include "support/three_functions.h"
#include "ui/parameter_controls.h"
#include "output/qt_surface.h"
#include "support/scripted_dialogs.h"

namespace {

using tv::DiagramState;

using tv::scenes::kPlotHeight;
using tv::scenes::kPlotWidth;

using NullSurface = tv::scenes::NullSurface;

// The state after start-up with the three functions defined, all four curves
// ticked, gain and phase, margins on.
struct Scene {
  DiagramState s;
  tv::HeadlessHost host;
  tv::DrawTarget t;
  tv::FrameResult f;
  tv::SweepMemo sweeps;  // as the window keeps them

  explicit Scene(tv::PlotSurface& surface) {
    t = tv::scenes::OnSurface(s, host, surface);
    t.Sweeps = &sweeps;
    tv::scenes::ThreeFunctions(s);
    s.ShowMargins = 1;
    s.BodeMode = 2;
  }
};

// What a change of the texts costs (entry, load): the six texts cut into
// tokens and evaluated.
void Compile(benchmark::State& state) {
  NullSurface surface;
  Scene scene(surface);
  const tv::ParameterValues params = tv::ParametersOf(scene.s);
  std::array<tv::CoefficientSet, 6> coeffs{};
  for (auto _ : state) {
    bool ok = true;
    for (std::size_t t = 0; t < tv::scenes::kThreeFunctionTexts.size(); ++t)
      ok = tv::ExtractCoefficients(tv::scenes::kThreeFunctionTexts[t], params, coeffs[t]) && ok;
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(coeffs.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(Compile)->Unit(benchmark::kMicrosecond);

// What a spin step's redraw does with the texts: the six compiled texts
// evaluated with new values, no cutting.
void EvaluateCompiled(benchmark::State& state) {
  NullSurface surface;
  Scene scene(surface);
  tv::ParameterValues params = tv::ParametersOf(scene.s);
  std::array<tv::CompiledText, 6> compiled;
  for (std::size_t t = 0; t < compiled.size(); ++t)
    compiled[t] = tv::CompileText(tv::scenes::kThreeFunctionTexts[t]);
  std::array<tv::CoefficientSet, 6> coeffs{};
  double delta = 0.01;
  for (auto _ : state) {
    params.Ksi += delta;
    delta = -delta;
    bool ok = true;
    for (std::size_t t = 0; t < compiled.size(); ++t)
      ok = tv::EvaluateCompiled(compiled[t], params, coeffs[t]) && ok;
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(coeffs.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(EvaluateCompiled)->Unit(benchmark::kMicrosecond);

// The slowest text to reduce that the entry takes, found by trying: 38
// nested groups around 1+p, 79 characters; six of them, as three functions.
void EvaluateDeepestTexts(benchmark::State& state) {
  const std::string deepest = std::string(38, '(') + "1+p" + std::string(38, ')');
  const tv::CompiledText compiled = tv::CompileText(deepest);
  const tv::ParameterValues params;
  tv::CoefficientSet coeffs{};
  for (auto _ : state) {
    bool ok = true;
    for (int t = 0; t < 6; ++t) ok = tv::EvaluateCompiled(compiled, params, coeffs) && ok;
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(coeffs.data());
    benchmark::ClobberMemory();
  }
  if (!tv::EvaluateCompiled(compiled, params, coeffs)) state.SkipWithError("it did not compile");
}
BENCHMARK(EvaluateDeepestTexts)->Unit(benchmark::kMicrosecond);

void Sweep(benchmark::State& state) {
  NullSurface surface;
  Scene scene(surface);
  scene.s.ShowMargins = 0;   // margins write texts; this is the evaluation alone
  scene.t.Sweeps = nullptr;  // every sample computed
  for (int i = 0; i < 3; ++i) {
    tv::ExtractCoefficients(scene.s.NumText[i].View(), scene.s, scene.s.NumCoeffs[i]);
    tv::ExtractCoefficients(scene.s.DenText[i].View(), scene.s, scene.s.DenCoeffs[i]);
  }
  tv::DrawBodeFrame(scene.s, scene.t, scene.f);  // the scales the sweep uses
  for (auto _ : state) {
    tv::DrawBodeCurves(scene.s, scene.t, scene.f);
    benchmark::DoNotOptimize(scene.f.ResponseValid);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(Sweep)->Unit(benchmark::kMillisecond);

// One redraw as the window does it, then the picture completed as its paint
// event completes it.
void Redraw(Scene& scene, tv::ui::QtSurface& surface) {
  tv::RedrawDiagram(scene.s, scene.t, scene.f);
  surface.Finish();
}

void RedrawBode(benchmark::State& state) {
  tv::ui::QtSurface surface(kPlotWidth, kPlotHeight);
  Scene scene(surface);
  Redraw(scene, surface);  // fonts, pens and glyphs as a running window has them
  for (auto _ : state) Redraw(scene, surface);
  if (scene.host.PanelInvalid) state.SkipWithError("a function did not compile");
}
BENCHMARK(RedrawBode)->Unit(benchmark::kMillisecond);

// The first picture of a window: a new surface, every line and text painted
// once for its stamp. Not a step, but what opening a file costs.
void RedrawBodeFirst(benchmark::State& state) {
  for (auto _ : state) {
    tv::ui::QtSurface surface(kPlotWidth, kPlotHeight);
    Scene scene(surface);
    Redraw(scene, surface);
  }
}
BENCHMARK(RedrawBodeFirst)->Unit(benchmark::kMillisecond);

void RedrawBlack(benchmark::State& state) {
  tv::ui::QtSurface surface(kPlotWidth, kPlotHeight);
  Scene scene(surface);
  scene.s.BlackView = 1;
  scene.s.DecadeMin = -6;
  scene.s.DecadeMax = 5;
  Redraw(scene, surface);
  for (auto _ : state) Redraw(scene, surface);
  if (scene.host.PanelInvalid) state.SkipWithError("a function did not compile");
}
BENCHMARK(RedrawBlack)->Unit(benchmark::kMillisecond);

// The same with the Black-Nichols chart's contours and labels over it.
void RedrawBlackChart(benchmark::State& state) {
  tv::ui::QtSurface surface(kPlotWidth, kPlotHeight);
  Scene scene(surface);
  scene.s.BlackView = 1;
  scene.s.ShowNicholsChart = 1;
  scene.s.DecadeMin = -6;
  scene.s.DecadeMax = 5;
  Redraw(scene, surface);
  for (auto _ : state) Redraw(scene, surface);
  if (scene.host.PanelInvalid) state.SkipWithError("a function did not compile");
}
BENCHMARK(RedrawBlackChart)->Unit(benchmark::kMillisecond);

// One arrow click of SpinButton4 (0.01) with RadioButton6 (Ksi) selected,
// through the panel's own handler: the step rule, the six captions, then the
// window's redraw. Up and down alternate so that Ksi stays put.
void StepParameter(benchmark::State& state) {
  tv::ui::QtSurface surface(kPlotWidth, kPlotHeight);
  Scene scene(surface);
  QWidget panel;
  tv::ui::ScriptedDialogs dialogs;
  scene.host.AskedDialogs = &dialogs;
  scene.host.OnRedraw = [&] { Redraw(scene, surface); };
  tv::ui::ParameterControls controls(&panel, scene.s);
  controls.RefreshParameterAvailability();
  controls.RadioButton(6)->setChecked(true);
  controls.StepSelectedParameter(0.01);
  if (std::abs(scene.s.ParamKsi - 0.31) > 1e-9) state.SkipWithError("Ksi was not stepped");
  controls.StepSelectedParameter(-0.01);
  double delta = 0.01;
  for (auto _ : state) {
    controls.StepSelectedParameter(delta);
    delta = -delta;
  }
  if (scene.host.PanelInvalid) state.SkipWithError("a function did not compile");
}
BENCHMARK(StepParameter)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The window's image without a display.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
