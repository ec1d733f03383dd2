// Gain and phase of the transfer functions at p = jw.
#pragma once

#include "core/diagram_state.h"

namespace tv {

// Real and imaginary part of a coefficient set at p = jw, given w2 = w*w.
double RealPartAt(const CoefficientSet& c, double w2);
double ImagPartAt(const CoefficientSet& c, double w, double w2);

// Angle of re + j im in [0, 2pi).
double PhaseAngle(double re, double im);

// Natural logarithm; an exact zero (or NaN) clears s.ResponseValid and gives 0.
double GuardedLn(DiagramState& s, double x);

// 10 * GuardedLn(re^2 + im^2) / 2.302585.
double GainDb(DiagramState& s, double re, double im);

struct Response {
  double PhaseRad = 0;  // in (-2pi, 2pi), never unwrapped
  double GainDb = 0;
};

// Response of function index i (0..2 for H1..H3) at w.
Response FunctionResponse(DiagramState& s, int i, double w, double w2);

// Sum over the functions whose enabled[i] is set (0 dB, 0 rad with none).
Response ProductResponse(DiagramState& s, const bool enabled[3], double w, double w2);

}  // namespace tv
