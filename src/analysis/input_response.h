// The time response to a unit step, ramp or impulse, exact at its samples, and what each input's
// read-outs say.
#pragma once

#include <string>
#include <vector>

#include "analysis/state_space.h"
#include "analysis/step_response.h"
#include "core/diagram_state.h"

namespace tv {

enum class InputKind { Step, Ramp, Impulse };

// The steady tracking error of a ramp, lim t - y(t) ("erreur de traînage").
enum class TrackingError { Finite, Infinite, Zero, Unstable };

struct InputResponse {
  InputKind Input = InputKind::Step;
  // The samples (and, for a step, the step's read-outs): the response to the
  // input at T[k], and its slope.
  StepResponse Samples;
  // Ramp.
  TrackingError Tracking = TrackingError::Infinite;
  double TrackingValue = 0;  // Finite
  // Impulse: the sample of largest magnitude refined between samples (none
  // when the response still grows at the end of the span, or is zero), and
  // the weight of a Dirac at t = 0, drawn in words only.
  bool HasPeak = false;
  double PeakTime = 0, PeakValue = 0;
  double DiracWeight = 0;
  bool Unstable = false;
};

// The response of the realised system to the input on [0, tMax] (tMax <= 0:
// the span the step would have). The ramp is the step of the system with an
// integrator before it; the impulse the step of its derivative (C A, C B):
// both exact at the samples like the step. The ramp's tracking error is not
// known from the realisation (see RampTrackingError).
InputResponse ComputeInputResponse(const StepSystem& system, InputKind input, double tMax);

// lim p->0 (1 - F(p))/p for F the product of the given functions, closed by
// unit feedback when asked, from the lowest terms of its polynomials: exact
// zero or infinite, or a finite *value.
TrackingError RampTrackingError(const std::array<CoefficientSet, 3>& num,
                                const std::array<CoefficientSet, 3>& den,
                                const std::vector<int>& factors, bool closedLoop, double* value);

// The response of the ticked functions of s (their current coefficients), as
// ComputeStepResponse does for the step, with the tracking error of a ramp.
InputResponse ComputeInputResponse(const DiagramState& s, InputKind input, bool closedLoop,
                                   double tMax);
// The same from the texts compiled anew (Invalid when one does not compile).
InputResponse ComputeInputResponseOfTexts(const DiagramState& s, InputKind input, bool closedLoop,
                                          double tMax);

}  // namespace tv
