// The one redraw operation that every action ends in.
#pragma once

#include "core/diagram_state.h"

namespace tv {

// Recompiles the ticked functions; an invalid one gives 40 beeps, a red panel
// and no drawing. Otherwise clears the plot, draws the current view, then the
// parameter legend, the formula labels and the product name.
// Returns false when a ticked function was invalid.
bool RedrawDiagram(DiagramState& s);

}  // namespace tv
