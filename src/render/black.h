// The Black view: chart, critical point, 2.3 dB contour and the curves.
#pragma once

#include "core/diagram_state.h"
#include "render/layout.h"

namespace tv {

BlackLayout ComputeBlackLayout(DiagramState& s);
// Draws the whole Black view itself, the clearing included.
void DrawBlackDiagram(DiagramState& s);

}  // namespace tv
