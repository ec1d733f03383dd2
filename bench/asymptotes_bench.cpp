// What the asymptotes add to a redraw: roots of the three functions, the product's, their dashed
// lines.
#include <benchmark/benchmark.h>

#include <string_view>

#include "analysis/asymptotes.h"
#include "analysis/curves.h"
#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "expression/coefficients.h"
#include "render/asymptotes.h"
#include "render/bode.h"
#include "render/plot_surface.h"
#include "support/null_surface.h"
#include "support/three_functions.h"

namespace {

using SilentSurface = tv::scenes::NullSurface;

// The three degree-5 functions of the speed scenes, all four curves, gain
// and phase: the asymptotes step of one redraw, after the frame set the scales.
void Asymptotes(benchmark::State& state) {
  SilentSurface surface;
  tv::DiagramState s;
  tv::HeadlessHost host;
  const tv::DrawTarget t = tv::scenes::OnSurface(s, host, surface);
  tv::FrameResult f;
  tv::scenes::ThreeFunctions(s);
  s.BodeMode = 2;
  s.ShowAsymptotes = 1;
  for (int i = 0; i < 3; ++i) {
    tv::ExtractCoefficients(s.NumText[i].View(), s, s.NumCoeffs[i]);
    tv::ExtractCoefficients(s.DenText[i].View(), s, s.DenCoeffs[i]);
  }
  tv::DrawBodeFrame(s, t, f);
  std::size_t breaks = 0;
  for (const tv::Curve& c : tv::DrawnCurves(s)) {
    const tv::CurveAsymptotes a = tv::AsymptotesOf(s, c);
    if (!a.Valid || a.Breaks.empty()) state.SkipWithError("a curve of the scene has no breaks");
    breaks += a.Breaks.size();
  }
  for (auto _ : state) {
    tv::DrawBodeAsymptotes(s, t, f);
    benchmark::ClobberMemory();
  }
  state.counters["breaks"] = static_cast<double>(breaks);
}
BENCHMARK(Asymptotes)->Unit(benchmark::kMicrosecond);

}  // namespace
