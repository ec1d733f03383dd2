// The unit-step response of the ticked functions, exact at its samples, and the read-outs a course
// asks for.
#pragma once

#include <string>
#include <vector>

#include "analysis/state_space.h"
#include "core/diagram_state.h"

namespace tv {

// Bounds of the automatic sampling.
inline constexpr int kMinStepSamples = 200;
inline constexpr int kMaxStepSamples = 5000;
// A longer "t max" than this many times the automatic span is brought back
// to it: every mode has settled or left the doubles long before.
inline constexpr double kLongestSpans = 1e6;

// What came of a computation; anything but Drawn leaves no samples.
enum class StepOutcome {
  Drawn,
  NoFunction,  // no function ticked
  Invalid,     // a ticked function does not compile (the redraw was refused)
  ZeroDenominator,
  Improper,       // a Dirac at t = 0
  LoopUndefined,  // 1 + H identically zero
  Overflow,       // the exponential or the response leaves the doubles
};

enum class StepKind {
  Settles,   // a finite final value
  Ramp,      // one integrator left: y grows like Velocity · t
  Unstable,  // a pole in the right half plane or on the imaginary axis, or a double integrator
};

struct StepReadouts {
  StepKind Kind = StepKind::Settles;
  double FinalValue = 0;  // Settles
  double Velocity = 0;    // Ramp, per second
  // Overshoot beyond the final value, in % of it, and where the peak is.
  bool HasOvershoot = false;
  double OvershootPercent = 0, PeakTime = 0, PeakValue = 0;
  // No peak within the span, but the response overshoots after its end.
  bool PeakBeyondSpan = false;
  // The last entry into the ±5 % band of the final value; SettledInSpan is
  // false when the response is still outside it at the end of the samples.
  bool HasSettling = false;
  bool SettledInSpan = false;
  double SettlingTime = 0;
  // First passages at 10 % and 90 % of the final value.
  bool HasRise = false;
  double RiseStart = 0, RiseEnd = 0;
  // Unstable only through simple poles on the imaginary axis: the response
  // keeps oscillating at OscillationW, rad/s, neither settling nor growing.
  bool StabilityLimit = false;
  double OscillationW = 0;
};

struct StepResponse {
  StepOutcome Outcome = StepOutcome::NoFunction;
  double TMax = 0;
  // Samples at T[k] = k · TMax / (count − 1): the response and its slope.
  std::vector<double> T, Y, Slope;
  StepReadouts Readouts;
  // The "t max" asked for when it was brought back to TMax; 0 otherwise.
  double RequestedTMax = 0;
  // An oscillation too fast for the samples: the curve does not show it.
  bool TooFastToDraw = false;
};

// The response of the realised system on [0, tMax]; tMax <= 0 (or not
// finite) chooses the span from the poles. The samples are exact: the
// zero-order-hold discretisation of a step is exact for a step. The
// read-outs are refined on the exact response between samples, from samples
// of their own when the drawn ones are too far apart.
StepResponse ComputeStepResponse(const StepSystem& system, double tMax);

// The product of the ticked functions (through the state's host), from the
// state's current coefficients, closed by unit feedback when asked.
StepResponse ComputeStepResponse(const DiagramState& s, bool closedLoop, double tMax);

// The same from the texts of the ticked functions compiled anew with the
// current parameters (Invalid when one does not compile): for a window that
// opens between two redraws, and for the command line.
StepResponse ComputeStepResponseOfTexts(const DiagramState& s, bool closedLoop, double tMax);

}  // namespace tv
