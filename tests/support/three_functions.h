// The scene the redraw's speed is measured and guarded on: three fifth-order functions using all
// six parameters.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "render/draw_target.h"
#include "render/plot_surface.h"

namespace tv::scenes {

// The window's default plot.
inline constexpr int kPlotWidth = kDefaultPlotWidth;
inline constexpr int kPlotHeight = kDefaultPlotHeight;

// The state after start-up with host for its window, and the window's
// picture on surface at the default plot size.
inline DrawTarget OnSurface(DiagramState& s, HeadlessHost& host, PlotSurface& surface) {
  SetStartValues(s);
  s.Host = &host;
  return ScreenTarget(&surface, kPlotWidth, kPlotHeight);
}

// Numerator and denominator of H1, H2, H3 in turn; one power per term, as
// the coefficient extraction wants it.
inline constexpr std::array<std::string_view, 6> kThreeFunctionTexts = {
    "K*(1+T*p)",     "1+2*KSI*p/W+p^2/W^2+K*T*p^3/10+A*p^4/100+B*p^5/1000",
    "A+B*p+T*p^2/4", "2*KSI*W+p+W*p^2/K+T*p^3+A*B*p^4/10+KSI*p^5/(W*100)",
    "W*(1-T*p/10)",  "(1+A*p)+KSI*p^2+B*T*p^3+p^4/(K*W)+A*p^5/1000",
};

// The three functions with their parameter values, all four curves ticked.
inline void ThreeFunctions(DiagramState& s) {
  for (std::size_t i = 0; i < 3; ++i) {
    s.NumText[i].Assign(kThreeFunctionTexts[2 * i]);
    s.DenText[i].Assign(kThreeFunctionTexts[2 * i + 1]);
  }
  s.ParamK = 10;
  s.ParamT = 0.5;
  s.ParamA = 0.2;
  s.ParamB = 0.05;
  s.ParamW = 2;
  s.ParamKsi = 0.3;
  for (bool& b : s.CurveTicked) b = true;
}

}  // namespace tv::scenes
