// The Black-Nichols chart over the Black view: closed-loop iso-gain and iso-phase contours,
// labelled.
#pragma once

#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/layout.h"

namespace tv {

// Light enough to leave the curves readable; black when printing (ForceBlack).
inline constexpr Rgb kChartLineGrey{150, 150, 150};
inline constexpr Rgb kChartLabelGrey{105, 105, 105};

// The contours inside the chart's frame (-360..0 degrees, -30..40 dB) in
// dotted lines, each labelled with its closed-loop value where its label
// meets no other label of the chart. Leaves the pen dotted and the colour
// black.
void DrawNicholsChart(const DrawTarget& t, const BlackLayout& l);

}  // namespace tv
