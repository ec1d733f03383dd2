// Fuzzes a transfer file followed by full redraws of both views, margins on, at a small plot size.
#include <time.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <span>

#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "files/transfer_file.h"
#include "support/recording_surface.h"
#include "render/draw_target.h"
#include "render/redraw.h"

namespace {

// Counts calls without keeping them, so a long sweep costs no memory.
class CountingSurface : public tv::RecordingSurface {
 public:
  long Calls = 0;
  void MoveTo(int x, int y) override {
    ++Calls;
    (void)x;
    (void)y;
  }
  void LineTo(int, int) override { ++Calls; }
  void TextOut(int, int, std::string_view) override { ++Calls; }
  void SetPen(tv::PenStyle, int) override {}
  void SetColour(tv::Rgb) override {}
  void FillWhite(int, int, int, int) override {}
};

// Processor time of this thread in milliseconds: unlike the wall clock it
// does not grow when other processes take the processor, so a busy machine
// does not pass for a slow redraw.
double ThreadMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tv::DiagramState s;
  static tv::HeadlessHost host;
  static CountingSurface surface;
  s = tv::DiagramState{};
  tv::SetStartValues(s);
  host = tv::HeadlessHost{};
  s.Host = &host;
  const tv::DrawTarget target = tv::ScreenTarget(&surface, 240, 160);
  tv::FrameResult frame;

  tv::DecodeTransferFile(std::span<const std::uint8_t>(data, size), s);
  for (int i = 0; i < 3; ++i) s.CurveTicked[i] = !(s.NumText[i] == "1" && s.DenText[i] == "1");
  s.CurveTicked[3] = true;
  s.ShowMargins = 1;
  s.BodeMode = 2;

  const double start = ThreadMilliseconds();
  for (std::uint8_t view : {0, 1}) {
    s.BlackView = view;
    tv::RedrawDiagram(s, target, frame);
  }
  const double elapsed = ThreadMilliseconds() - start;
  // Two redraws of any loadable state must stay well inside what a user
  // holding a spin arrow tolerates (sanitizers make this about 3x slower).
  if (elapsed > 300.0) {
    std::fprintf(stderr, "redraw too slow: %.0f ms of processor time\n", elapsed);
    std::abort();
  }
  return 0;
}
