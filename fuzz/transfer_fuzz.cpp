// Fuzzes a transfer file followed by full redraws of both views, margins on, at a small plot size.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <span>

#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "files/transfer_file.h"
#include "render/recording_surface.h"
#include "render/redraw.h"

namespace {

// Counts calls without keeping them, so a long sweep costs no memory.
class CountingSurface : public tv::RecordingSurface {
 public:
  long Calls = 0;
  void MoveTo(int x, int y) override { ++Calls; (void)x; (void)y; }
  void LineTo(int, int) override { ++Calls; }
  void TextOut(int, int, std::string_view) override { ++Calls; }
  void SetPen(tv::PenStyle, int) override {}
  void SetColour(tv::Rgb) override {}
  void FillWhite(int, int, int, int) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tv::DiagramState s;
  static tv::HeadlessHost host;
  static CountingSurface surface;
  s = tv::DiagramState{};
  tv::SetStartValues(s);
  host = tv::HeadlessHost{};
  s.Host = &host;
  s.DrawCanvas = &surface;
  s.ScreenCanvas = &surface;
  s.PlotWidth = 240;
  s.PlotHeight = 160;

  tv::DecodeTransferFile(std::span<const std::uint8_t>(data, size), s);
  for (int i = 0; i < 3; ++i)
    host.Boxes[i] = !(s.NumText[i] == "1" && s.DenText[i] == "1");
  host.Boxes[3] = true;
  s.ShowMargins = 1;
  s.BodeMode = 2;

  const auto start = std::chrono::steady_clock::now();
  for (std::uint8_t view : {0, 1}) {
    s.BlackView = view;
    tv::RedrawDiagram(s);
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  // Two redraws of any loadable state must stay well inside what a user
  // holding a spin arrow tolerates (sanitizers make this about 3x slower).
  if (elapsed > std::chrono::milliseconds(300)) {
    std::fprintf(stderr, "redraw too slow: %lld ms\n",
                 static_cast<long long>(
                     std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    std::abort();
  }
  return 0;
}
