// A drawing surface that draws nothing and measures text as fixed cells: what a benchmark times is
// then the computation alone.
#pragma once

#include <string_view>

#include "render/plot_surface.h"

namespace tv::scenes {

class NullSurface : public PlotSurface {
 public:
  void SetPen(PenStyle, int) override {}
  void SetColour(Rgb) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void TextOut(int, int, std::string_view) override {}
  int TextWidth(std::string_view text) override { return 6 * static_cast<int>(text.size()); }
  int TextHeight(std::string_view) override { return 10; }
  void SetFontHeight(int) override {}
  int FontHeight() const override { return 10; }
  void FillWhite(int, int, int, int) override {}
};

}  // namespace tv::scenes
