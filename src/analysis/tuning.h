// Tuning a parameter so that the closed-loop peak of the product is 2.3 dB: the Black locus tangent
// to the contour.
#pragma once

#include <optional>

#include "core/diagram_state.h"
#include "core/parameters.h"

namespace tv {

// The closed-loop peak the Black chart's contour stands for.
inline constexpr double kContourPeakDb = 2.3;

// The values the search tries before refining: 0, then from 10^-6 to 10^6.
inline constexpr double kTuningLowest = 1e-6;
inline constexpr double kTuningHighest = 1e6;

// The value >= 0 of p at which the closed-loop peak of the product of the
// ticked functions (over the displayed pulsations) is targetDb; when several
// values reach it, the one nearest the parameter's current value. The
// functions are compiled anew from their texts at each value tried; the
// state is not changed. Only values at which the closed loop is stable
// count. None when no function is ticked, a text does not compile, or no
// value of the searched range reaches the target with a stable loop.
std::optional<double> TuneClosedLoopPeak(const DiagramState& s, Parameter p,
                                         double targetDb = kContourPeakDb);

}  // namespace tv
