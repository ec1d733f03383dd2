// The one redraw operation that every action ends in.
#pragma once

#include "core/diagram_state.h"
#include "render/draw_target.h"

namespace tv {

// Recompiles the ticked functions; an invalid one gives 40 beeps, a red panel
// and no drawing. Otherwise clears the plot, draws the current view, then the
// parameter legend, the formula labels and the product name.
// Returns false when a ticked function was invalid. Draws on t; what the
// frame derived goes to f, and what it changes of the document (the curves
// swept, the points a capture empties) back into s.
bool RedrawDiagram(DiagramState& s, const DrawTarget& t, FrameResult& f);

// The drawing of the redraw alone, from the coefficients as last compiled:
// the plot cleared, the view, the legend, the labels and the product's name.
void DrawDiagram(const DiagramState& s, const DrawTarget& t, FrameResult& f);

}  // namespace tv
