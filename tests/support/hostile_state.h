// A diagram state wired to a headless host and a call-counting surface, for the hostile-input
// tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "core/headless_host.h"
#include "support/recording_surface.h"

namespace tv::robustness {

// Counts drawing calls and checks every coordinate a surface receives,
// without keeping the calls, so that sweeps of a million segments cost no
// memory.
class CountingSurface : public RecordingSurface {
 public:
  long Calls = 0;
  long Texts = 0;
  // Largest magnitude of any coordinate received.
  long long MaxMagnitude = 0;

  void MoveTo(int x, int y) override { Note(x, y); }
  void LineTo(int x, int y) override { Note(x, y); }
  void TextOut(int x, int y, std::string_view) override {
    Note(x, y);
    ++Texts;
  }
  void SetPen(PenStyle, int) override {}
  void SetColour(Rgb) override {}
  void FillWhite(int, int, int, int) override {}

 private:
  void Note(int x, int y) {
    ++Calls;
    const long long mx = x < 0 ? -static_cast<long long>(x) : x;
    const long long my = y < 0 ? -static_cast<long long>(y) : y;
    if (mx > MaxMagnitude) MaxMagnitude = mx;
    if (my > MaxMagnitude) MaxMagnitude = my;
  }
};

// The start values at the default plot size, drawing on a counting surface.
struct HostileState {
  DiagramState s;
  HeadlessHost host;
  CountingSurface surface;
  DrawTarget t;
  FrameResult f;

  explicit HostileState(int width = 1134, int height = 678) {
    SetStartValues(s);
    s.Host = &host;
    t = ScreenTarget(&surface, width, height);
  }
  HostileState(const HostileState&) = delete;
  HostileState& operator=(const HostileState&) = delete;

  // Ticks H1..H3 as a load does (unless both texts are "1") and the product.
  void TickLikeALoad() {
    for (int i = 0; i < 3; ++i) s.CurveTicked[i] = !(s.NumText[i] == "1" && s.DenText[i] == "1");
    s.CurveTicked[3] = true;
  }
  void SetAllParameters(double v) {
    s.ParamK = s.ParamT = s.ParamA = s.ParamB = s.ParamW = s.ParamKsi = v;
  }
};

}  // namespace tv::robustness
