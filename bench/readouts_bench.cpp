// What the Mesures window adds to a spin step: the exact read-outs of three degree-5 functions and
// the product, and its repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "analysis/readouts.h"
#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "expression/coefficients.h"
#include "support/three_functions.h"
#include "ui/measures_window.h"
#include "output/qt_surface.h"

namespace {

// One step as the window sees it: the redraw's notice (read-outs and lines
// rebuilt), then the window painted, as its paint event paints it. Every
// step computes new functions.
void Readouts(benchmark::State& state) {
  tv::ui::QtSurface surface(tv::scenes::kPlotWidth, tv::scenes::kPlotHeight);
  tv::DiagramState s;
  tv::HeadlessHost host;
  tv::scenes::OnSurface(s, host, surface);
  tv::scenes::ThreeFunctions(s);
  tv::ui::MeasuresWindow window(s, host);
  window.show();
  QImage image(window.size(), QImage::Format_RGB32);
  const double k0 = s.ParamK;
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();  // the compilation belongs to the redraw, measured apart
    // A hundred values in turn, so that the read-outs kept of the last few
    // functions never serve.
    s.ParamK = k0 + 0.01 * (n++ % 100);
    for (std::size_t i = 0; i < 3; ++i) {
      tv::ExtractCoefficients(s.NumText[i].View(), s, s.NumCoeffs[i]);
      tv::ExtractCoefficients(s.DenText[i].View(), s, s.DenCoeffs[i]);
    }
    state.ResumeTiming();
    host.NotifyRedrawn(s, true);
    window.render(&image);
  }
  if (window.Lines().size() < 20) state.SkipWithError("the window shows no read-outs");
}
BENCHMARK(Readouts)->Unit(benchmark::kMillisecond);

// The computation alone, no window.
void ReadoutsComputation(benchmark::State& state) {
  tv::ui::QtSurface surface(tv::scenes::kPlotWidth, tv::scenes::kPlotHeight);
  tv::DiagramState s;
  tv::HeadlessHost host;
  tv::scenes::OnSurface(s, host, surface);
  tv::scenes::ThreeFunctions(s);
  for (std::size_t i = 0; i < 3; ++i) {
    tv::ExtractCoefficients(s.NumText[i].View(), s, s.NumCoeffs[i]);
    tv::ExtractCoefficients(s.DenText[i].View(), s, s.DenCoeffs[i]);
  }
  // H1's gain moved by a few roundings at each step: the read-outs kept of
  // the last few functions never serve.
  const double c0 = s.NumCoeffs[0][0];
  int n = 0;
  for (auto _ : state) {
    s.NumCoeffs[0][0] = c0 * (1 + 1e-12 * (n++ % 100));
    benchmark::DoNotOptimize(tv::DrawnCurveReadouts(s));
  }
}
BENCHMARK(ReadoutsComputation)->Unit(benchmark::kMillisecond);

}  // namespace
