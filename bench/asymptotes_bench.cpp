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
#include "support/three_functions.h"

namespace {

// Draws nothing: what is left is the roots and the geometry of the dashes.
class SilentSurface : public tv::PlotSurface {
 public:
  void SetPen(tv::PenStyle, int) override {}
  void SetColour(tv::Rgb) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void TextOut(int, int, std::string_view) override {}
  int TextWidth(std::string_view text) override { return 6 * static_cast<int>(text.size()); }
  int TextHeight(std::string_view) override { return 10; }
  void SetFontHeight(int) override {}
  int FontHeight() const override { return 10; }
  void FillWhite(int, int, int, int) override {}
};

// The three degree-5 functions of the speed scenes, all four curves, gain
// and phase: the asymptotes step of one redraw, after the frame set the scales.
void Asymptotes(benchmark::State& state) {
  SilentSurface surface;
  tv::DiagramState s;
  tv::HeadlessHost host;
  tv::scenes::OnSurface(s, host, surface);
  tv::scenes::ThreeFunctions(s, host);
  s.BodeMode = 2;
  s.ShowAsymptotes = 1;
  for (int i = 0; i < 3; ++i) {
    tv::ExtractCoefficients(s.NumText[i].View(), s, s.NumCoeffs[i]);
    tv::ExtractCoefficients(s.DenText[i].View(), s, s.DenCoeffs[i]);
  }
  tv::DrawBodeFrame(s);
  std::size_t breaks = 0;
  for (const tv::Curve& c : tv::DrawnCurves(s)) {
    const tv::CurveAsymptotes a = tv::AsymptotesOf(s, c);
    if (!a.Valid || a.Breaks.empty()) state.SkipWithError("a curve of the scene has no breaks");
    breaks += a.Breaks.size();
  }
  for (auto _ : state) {
    tv::DrawBodeAsymptotes(s);
    benchmark::ClobberMemory();
  }
  state.counters["breaks"] = static_cast<double>(breaks);
}
BENCHMARK(Asymptotes)->Unit(benchmark::kMicrosecond);

}  // namespace
