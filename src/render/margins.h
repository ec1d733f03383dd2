// Gain and phase margins: crossing tests, marks and texts, in both views.
#pragma once

#include <cmath>
#include <numbers>

#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/layout.h"

namespace tv {

// How far right of the MP texts the MG texts stand: 180 pixels in the Bode
// view and 190 in the Black view for the screen's character cell of 10
// pixels, and as many cells for any other (a printed page's 15-pixel cell
// gives 270 and 285), so that the two texts of a row never run into each
// other at any font size.
int MarginColumnGap(const DrawTarget& t, int pixelsAtCell10);

// What one sample of a curve crosses since the one before, from its gains
// and its phases plus pi on any scale. A crossing exactly on a sample makes
// a product zero and is not reported. At a zero or pole on the imaginary
// axis the gain is infinite: the phase may still cross there, but no finite
// gain margin is found. Inline: the sweeps ask at every sample and seldom
// find one.
struct Crossings {
  bool Gain0Db = false;      // gives the phase margin
  bool Phase180Deg = false;  // gives the gain margin
  bool Any() const { return Gain0Db || Phase180Deg; }
};
inline Crossings TestCrossings(double gain, double prevGain, double phasePlusPi,
                               double prevPhasePlusPi) {
  return {prevGain * gain < 0, prevPhasePlusPi * phasePlusPi < 0 && !std::isinf(gain)};
}

// The crossings of a Bode sample, from offsets in pixels of a plot whose
// phase scale is phasePixelsPerRad: -180 degrees lies at -pi times it.
inline Crossings TestBodeCrossings(double gainOffset, double phaseOffset, double prevGainOffset,
                                   double prevPhaseOffset, double phasePixelsPerRad) {
  const double minus180 = -std::numbers::pi * phasePixelsPerRad;
  return TestCrossings(gainOffset, prevGainOffset, phaseOffset - minus180,
                       prevPhaseOffset - minus180);
}

// The crossings of a Black sample, gains in dB and phases in radians.
inline Crossings TestBlackCrossings(double phaseRad, double gainDb, double prevPhaseRad,
                                    double prevGainDb) {
  return TestCrossings(gainDb, prevGainDb, phaseRad + std::numbers::pi,
                       prevPhaseRad + std::numbers::pi);
}

// What one sample of a Bode curve crosses, and the values its texts write,
// from gain and phase offsets in pixels of a plot of the given scales.
struct BodeCrossing {
  bool PhaseMargin = false;  // the gain crossed 0 dB
  bool GainMargin = false;   // the phase crossed -180 degrees
  double PhaseMarginDeg = 0;
  double GainMarginDb = 0;
};
BodeCrossing FindBodeCrossing(double gainOffset, double phaseOffset, double prevGainOffset,
                              double prevPhaseOffset, double gainPixelsPerDb,
                              double phasePixelsPerRad);

// The marks of a crossing at column x, from the offsets of the plot drawn
// on (an infinite gain at the plot's edge), and its texts.
void MarkBodeCrossing(const DiagramState& s, const DrawTarget& t, const FrameResult& f, int slot,
                      int x, double w, double gainOffset, double phaseOffset, const BodeCrossing& c,
                      int xMP, int xMG);

// Bode view, slot 1..3 for H1..H3 and 4 for the product. Gains and phases
// are pixel offsets from MidY (dB times GainPixelsPerDb, rad times
// PhasePixelsPerRad); x is the column's x; xMP and xMG the text columns.
// Draws nothing unless TestBodeCrossings finds a crossing.
void BodeMarginStep(const DiagramState& s, const DrawTarget& t, const FrameResult& f, int slot,
                    int x, double w, double gainOffset, double phaseOffset, double prevGainOffset,
                    double prevPhaseOffset, int xMP, int xMG);

// Black view; gains in dB and phases in radians; (xs, ys) the slot's point.
// Draws nothing unless TestBlackCrossings finds a crossing.
void BlackMarginStep(const DiagramState& s, const DrawTarget& t, int slot,
                     const BlackLayout& layout, double w, double phaseRad, double gainDb,
                     double prevPhaseRad, double prevGainDb, int xs, int ys);

}  // namespace tv
