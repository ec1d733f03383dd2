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

PrintPage ComputePrintPage(int dpiX, int dpiY, int pageWidthPx, int pageHeightPx) {
  PrintPage page;
  if (dpiX < 1 || dpiY < 1) {
    page.Geometry = ComputePrintGeometry(0, 0, 0, 0);
    return page;
  }
  page.ScaleX = static_cast<double>(dpiX) / kPrintPixelsPerInch;
  page.ScaleY = static_cast<double>(dpiY) / kPrintPixelsPerInch;
  // In 64 bits: a page of INT32_MAX device pixels times 96 does not overflow.
  const auto logical = [](int px, int dpi) {
    const std::int64_t v = std::int64_t{std::max(px, 0)} * kPrintPixelsPerInch / dpi;
    return static_cast<int>(std::min<std::int64_t>(v, INT32_MAX));
  };
  page.Geometry = ComputePrintGeometry(kPrintPixelsPerInch, kPrintPixelsPerInch,
                                       logical(pageWidthPx, dpiX), logical(pageHeightPx, dpiY));
  return page;
}

PrintPenWidths ComputePrintPenWidths(bool darker) {
  return darker ? PrintPenWidths{4, 3} : PrintPenWidths{3, 2};
}

}  // namespace tv
