// Fuzzes a transfer file through the analysis: the step response computed and drawn, the
// read-outs, the asymptotes and the tuning, under a processor-time limit.
#include <time.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "analysis/asymptote_readouts.h"
#include "analysis/readouts.h"
#include "analysis/readouts_report.h"
#include "analysis/step_response.h"
#include "analysis/tuning.h"
#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "expression/coefficients.h"
#include "files/transfer_file.h"
#include "render/draw_target.h"
#include "render/asymptote_texts.h"
#include "render/redraw.h"
#include "render/step_texts.h"
#include "render/step_view.h"
#include "support/recording_surface.h"

namespace {

// Counts calls without keeping them.
class CountingSurface : public tv::RecordingSurface {
 public:
  long Calls = 0;
  void MoveTo(int, int) override { ++Calls; }
  void LineTo(int, int) override { ++Calls; }
  void TextOut(int, int, std::string_view) override { ++Calls; }
  void SetPen(tv::PenStyle, int) override {}
  void SetColour(tv::Rgb) override {}
  void FillWhite(int, int, int, int) override {}
};

double ThreadMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Every text a value reaches: none may hold an infinity or a NaN, as the
// program writes them ("+Inf", "Nan") or as the library does ("inf", "-nan");
// "résonance" holds "nan" inside a word.
void CheckText(const std::string& text) {
  for (const char* bad : {"Inf", "Nan", " nan", "-nan", " inf", "-inf"}) {
    if (text.find(bad) != std::string::npos) {
      std::fprintf(stderr, "non-finite value written: %s\n", text.c_str());
      std::abort();
    }
  }
}

}  // namespace

// The transfer file's 554 bytes; a 555th, when there, picks the parameter
// tuned (its value modulo 6), the open or closed loop (its bit 3), and the
// time span (its bit 4: the automatic span, or 10^(2.5 (byte - 128)) seconds).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tv::DiagramState s;
  static tv::HeadlessHost host;
  static CountingSurface surface;
  s = tv::DiagramState{};
  tv::SetStartValues(s);
  host = tv::HeadlessHost{};
  s.Host = &host;
  const tv::DrawTarget target = tv::ScreenTarget(&surface, 320, 210);
  tv::FrameResult frame;

  tv::DecodeTransferFile(std::span<const std::uint8_t>(data, size), s);
  for (int i = 0; i < 3; ++i) s.CurveTicked[i] = !(s.NumText[i] == "1" && s.DenText[i] == "1");
  s.CurveTicked[3] = true;
  const std::uint8_t choice = size > tv::kTransferFileSize ? data[tv::kTransferFileSize] : 0;
  const auto parameter = static_cast<tv::Parameter>(choice % 6);
  const bool closedLoop = (choice & 8) != 0;
  const double tMax =
      (choice & 16) != 0 ? std::pow(10.0, (static_cast<double>(choice) - 128) * 2.5) : 0;

  // The coefficients as a redraw leaves them; a text that does not compile
  // leaves its set as it was, like a refused redraw.
  for (int i = 0; i < 3; ++i) {
    const auto k = static_cast<std::size_t>(i);
    tv::ExtractCoefficients(s.NumText[k].View(), s, s.NumCoeffs[k]);
    tv::ExtractCoefficients(s.DenText[k].View(), s, s.DenCoeffs[k]);
  }

  const double start = ThreadMilliseconds();
  const tv::StepResponse r = tv::ComputeStepResponseOfTexts(s, closedLoop, tMax);
  tv::DrawStepView(target, r, tv::StepCaption(s, closedLoop));
  for (const std::string& line : tv::StepReadoutTexts(r)) CheckText(line);
  const double step = ThreadMilliseconds() - start;

  for (const tv::CurveBreaks& b : tv::DrawnCurveBreaks(s))
    for (const std::string& line : tv::BreaksWindowLines(b.Which, b.Asymptotes)) CheckText(line);
  (void)tv::ReadoutsReport(s);
  const double readouts = ThreadMilliseconds() - start - step;

  // The asymptotes as the Bode view draws them over the curves.
  s.ShowAsymptotes = 1;
  s.BlackView = 0;
  s.BodeMode = 2;
  tv::RedrawDiagram(s, target, frame);

  (void)tv::TuneClosedLoopPeak(s, parameter);
  const double elapsed = ThreadMilliseconds() - start;

  // What a user waits for after a click, sanitizers included (about 3x
  // slower): the step picture, the read-outs of every curve, one tuning.
  if (elapsed > 4000.0) {
    std::fprintf(stderr, "too slow: step %.0f ms, read-outs %.0f ms, all %.0f ms\n", step, readouts,
                 elapsed);
    std::abort();
  }
  return 0;
}
