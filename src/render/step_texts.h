// What the time-response picture says in words: the read-outs of each input, the notes over the
// curve, the line said instead of a curve.
#pragma once

#include <string>
#include <vector>

#include "analysis/input_response.h"
#include "analysis/step_response.h"

namespace tv {

// The read-out lines as drawn, Windows-1252, numbers by FormatBounded.
std::vector<std::string> StepReadoutTexts(const StepResponse& r);

// What the picture says over the curve about the curve itself (a "t max"
// brought back, an oscillation the samples cannot show), Windows-1252.
std::vector<std::string> StepNoteTexts(const StepResponse& r);

// The one line said instead of a curve; empty for Drawn.
std::string StepOutcomeText(StepOutcome outcome);

// The read-out lines as drawn, Windows-1252, numbers by FormatBounded: the step's, or the ramp's
// tracking error, or the impulse's peak and Dirac.
std::vector<std::string> InputReadoutTexts(const InputResponse& r);

}  // namespace tv
