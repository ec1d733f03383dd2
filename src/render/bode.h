// The Bode view: frame, grids and the per-column sweep of the curves.
#pragma once

#include "core/diagram_state.h"

namespace tv {

// Axes, decade lines and ticks, gain and phase grids and labels; sets MidY,
// GainPixelsPerDb, PhasePixelsPerRad and (in mode 2) Minus180Y.
void DrawBodeFrame(DiagramState& s);
// Measured points, then one evaluation per pixel column of every ticked
// function and of the product; margins and capture from inside the sweep.
void DrawBodeCurves(DiagramState& s);

}  // namespace tv
