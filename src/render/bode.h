// The Bode view: frame, grids and the per-column sweep of the curves.
#pragma once

#include "core/diagram_state.h"
#include "render/draw_target.h"

namespace tv {

// Axes, decade lines and ticks, gain and phase grids and labels; sets MidY,
// GainPixelsPerDb, PhasePixelsPerRad and (in mode 2) Minus180Y in f.
void DrawBodeFrame(const DiagramState& s, const DrawTarget& t, FrameResult& f);
// Measured points, then one evaluation per pixel column of every ticked
// function and of the product; margins and capture from inside the sweep.
// On the scales f's frame set; sets ResponseValid and the curves swept.
void DrawBodeCurves(const DiagramState& s, const DrawTarget& t, FrameResult& f);

}  // namespace tv
