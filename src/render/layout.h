// Layout values shared by a renderer and the steps it calls: Black chart geometry, legend cursor.
#pragma once

namespace tv {

// The Black chart's layout, computed at the start of every Black drawing.
struct BlackLayout {
  int XS = 0;     // pixels for 360 degrees of phase: W - 80
  int X0 = 0;     // x of phase 0: W - 50
  int YS = 0;     // pixels for 80 dB: H - 100
  int Y0 = 0;     // y of 0 dB: H div 2 + 30
  int XText = 0;  // left column of the margin texts: TextWidth("50") + 50
};

// The text cursor of one redraw, shared by the legend operations.
struct LegendCursor {
  int X = 60;
  int Th = 0;    // TextHeight("1p")
  int RowA = 0;  // 32 - 2 th
  int RowB = 0;  // 32 - th
  int RowC = 32;
};

}  // namespace tv
