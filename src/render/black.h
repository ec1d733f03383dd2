// The Black view: chart, critical point, 2.3 dB contour and the curves.
#pragma once

#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/layout.h"

namespace tv {

BlackLayout ComputeBlackLayout(const DrawTarget& t);
// Draws the whole Black view itself, the clearing included; sets
// ResponseValid (and the curves swept) in f.
void DrawBlackDiagram(const DiagramState& s, const DrawTarget& t, FrameResult& f);

}  // namespace tv
