// Page geometry and pen widths of a printed diagram, from the printer's resolution and page size.
#pragma once

namespace tv {

// Left and right margin 7 mm, top and bottom margin 14 mm.
inline constexpr double kPrintMarginXMm = 7.0;
inline constexpr double kPrintMarginYMm = 14.0;
inline constexpr double kMmPerInch = 25.4;

struct PrintGeometry {
  int OriginX = 0;     // device pixels added to every x
  int OriginY = 0;     // device pixels added to every y
  int PlotWidth = 0;   // page width less both side margins
  int PlotHeight = 0;  // page height less both top and bottom margins, never more than PlotWidth
};

struct PrintPenWidths {
  int Curve = 3;
  int Frame = 2;
};

// dpiX, dpiY: device pixels per inch; pageWidthPx, pageHeightPx: the page in
// device pixels. A page too small for its margins gives a plot of 0 pixels
// rather than a negative size; a resolution below 1 is taken as 0.
PrintGeometry ComputePrintGeometry(int dpiX, int dpiY, int pageWidthPx, int pageHeightPx);

// darker: the answer Yes to "Noircir les traits ?".
PrintPenWidths ComputePrintPenWidths(bool darker);

}  // namespace tv
