// Page geometry and pen widths of a printed diagram.
#include "render/print_layout.h"

#include <algorithm>
#include <cstdint>

#include "render/primitives.h"

namespace tv {

namespace {

int MarginPixels(int dpi, double marginMm) {
  return RoundPixel(std::max(dpi, 0) * marginMm / kMmPerInch);
}

// Page less both margins, in 64 bits so that no page size can overflow.
int PlotExtent(int pagePx, int originPx) {
  const std::int64_t extent = std::int64_t{pagePx} - 2 * std::int64_t{originPx};
  return static_cast<int>(std::clamp<std::int64_t>(extent, 0, INT32_MAX));
}

}  // namespace

PrintGeometry ComputePrintGeometry(int dpiX, int dpiY, int pageWidthPx, int pageHeightPx) {
  PrintGeometry g;
  g.OriginX = MarginPixels(dpiX, kPrintMarginXMm);
  g.OriginY = MarginPixels(dpiY, kPrintMarginYMm);
  g.PlotWidth = PlotExtent(pageWidthPx, g.OriginX);
  g.PlotHeight = PlotExtent(pageHeightPx, g.OriginY);
  // The picture is never taller than wide.
  if (g.PlotHeight > g.PlotWidth) g.PlotHeight = g.PlotWidth;
  return g;
}

PrintPenWidths ComputePrintPenWidths(bool darker) {
  return darker ? PrintPenWidths{4, 3} : PrintPenWidths{3, 2};
}

}  // namespace tv
