// The asymptotic Bode diagram drawn over the curves: dashed gain and phase asymptotes, break marks.
#pragma once

#include "core/diagram_state.h"
#include "render/draw_target.h"

namespace tv {

// For every drawn curve (the ticked functions and the product), in its
// colour and dashed: the gain asymptote when the mode shows the gain, the
// phase asymptote when it shows the phase; each function's break pulsations
// ticked on the 0 dB line with their value, Ksi and resonance. Must run after
// DrawBodeFrame and DrawBodeCurves of the same redraw. Nothing in the Black
// view or without a pulsation axis.
void DrawBodeAsymptotes(const DiagramState& s, const DrawTarget& t, const FrameResult& f);

}  // namespace tv
