// The drawn curves as numbers: gain and phase of each at the pulsations the picture's sweep uses,
// and their CSV text.
#pragma once

#include <string>
#include <vector>

#include "core/diagram_state.h"

namespace tv {

struct CurveTable {
  std::vector<std::string> Names;  // as DrawnCurves names them: "H1", ..., "H1.H3"
  std::vector<double> W;           // rad/s, one per column of the sweep, in its order
  // Per curve, per column: as the picture draws them (the phase of each
  // function in (-360, 360) degrees, the product's the sum of its factors').
  std::vector<std::vector<double>> GainDb, PhaseDeg;
};

// The curves the current view draws (DrawnCurves) over the same sweep: the
// Bode view's pixel columns on a plot plotWidth wide (plotWidth - 60 + 1 of
// them), or the Black
// view's 451 points per decade (the last of a decade and the first of the
// next share their pulsation, as in the picture). Where a zero or a pole
// lies on the imaginary axis at a pulsation the gain is -inf or inf dB and
// the table goes on, as the picture does; it stops where the picture stops
// (a polynomial of zeros). From the state's coefficients as last compiled.
CurveTable SweepDrawnCurves(const DiagramState& s, int plotWidth);

// "w" then NAME_gain_db,NAME_phase_deg per curve, one row per column, 15
// significant digits, '.' decimal, LF line ends.
std::string CurveTableCsv(const CurveTable& t);

}  // namespace tv
