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

// A printed page is laid out in pixels of about the screen's density, not
// in the printer's device pixels: the picture's pixel rules (font cell, text
// columns, label offsets, pen widths) then give a page that looks like the
// window's picture, whatever the printer's resolution. The page is drawn
// with every pixel scaled to dpi / 90 device pixels. 90 rather than 96: the
// 15-pixel character cell of the printed texts then has capitals and
// digits 2.66 mm high, comfortably above the 2.5 mm that a page read at arm's
// length needs (2.50 mm at 96).
inline constexpr int kPrintPixelsPerInch = 90;

struct PrintPage {
  double ScaleX = 1.0;     // device pixels per pixel of the layout, across
  double ScaleY = 1.0;     // and down
  PrintGeometry Geometry;  // in pixels of the layout
};

// The page of a printer of dpiX × dpiY device pixels per inch whose
// printable area is pageWidthPx × pageHeightPx device pixels: the area in
// pixels of kPrintPixelsPerInch (rounded down, so the picture stays inside
// it), and the geometry of ComputePrintGeometry on it. A resolution below 1
// gives a plot of 0 pixels.
PrintPage ComputePrintPage(int dpiX, int dpiY, int pageWidthPx, int pageHeightPx);

// darker: the answer Yes to "Noircir les traits ?".
PrintPenWidths ComputePrintPenWidths(bool darker);

}  // namespace tv
