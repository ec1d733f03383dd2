// The asymptotic Bode diagram of a drawn curve: class, static gain, break pulsations, gain and
// phase.
#pragma once

#include <optional>
#include <vector>

#include "analysis/curves.h"
#include "core/diagram_state.h"

namespace tv {

// One factor that bends the asymptotes: (1 +- p/W) for a real root, or
// (1 + 2 Ksi p/W + p^2/W^2) for a complex pair, in the numerator (a zero) or
// the denominator (a pole).
struct Break {
  double W = 0;   // break pulsation, rad/s: the modulus of the root
  int Order = 1;  // 1: real root; 2: complex pair; times the root's multiplicity
  bool Pole = false;
  std::optional<double> Ksi;    // second order only: -Re(root)/|root|, negative on the right
  bool RightHalfPlane = false;  // root with a positive real part: its phase goes the other way

  // Change of the gain slope after the break, dB per decade (+-20 per order).
  double SlopeChangeDbPerDecade() const;
  // Step of the phase asymptote at the break, degrees (+-90 per order).
  double PhaseStepDeg() const;
  // For a second order with 0 < |Ksi| < 0.707: the resonance, the height of
  // the exact gain's peak over the factor's low-frequency level,
  // 20 log10(1/(2 Ksi sqrt(1 - Ksi^2))) dB per pair; negative for a zero (a dip).
  std::optional<double> ResonanceDb() const;
};

// The asymptotes of a function, or of the product of several.
struct CurveAsymptotes {
  bool Valid = false;  // false when a numerator or denominator is 0 or not finite
  // Poles at 0 minus zeros at 0: 1 for one integrator, -1 for one derivator.
  int Class = 0;
  // Gain factor K of the factored form K p^-Class prod(1 +- p/W)...: the
  // low-frequency asymptote is 20 log10|K| - 20 Class log10(w). Its sign
  // puts 180 degrees into the phase.
  double StaticGain = 1;
  std::vector<Break> Breaks;  // by increasing W; zeros before poles at an equal W

  double InitialSlopeDbPerDecade() const { return -20.0 * Class + 0.0; }  // never -0
  // Slope after the last break.
  double FinalSlopeDbPerDecade() const;
  // The gain asymptote at w > 0, dB.
  double GainDbAt(double w) const;
  // The phase asymptote at w > 0, degrees, unwrapped: -90 Class at low
  // frequency (plus 180 when K < 0), stepping at each break (a break counts
  // from its own pulsation on).
  double PhaseDegAt(double w) const;
};

// The asymptotes of N/D (the state's coefficient sets of one function).
CurveAsymptotes FunctionAsymptotes(const CoefficientSet& num, const CoefficientSet& den);

// The asymptotes of a product from those of its factors: classes added,
// gains multiplied, the union of the breaks. Invalid when a factor is.
CurveAsymptotes ProductAsymptotes(const std::vector<CurveAsymptotes>& factors);

// The asymptotes of a drawn curve from the state's current coefficients: a
// function alone, or the product made of the union of its factors' breaks.
CurveAsymptotes AsymptotesOf(const DiagramState& s, const Curve& c);

}  // namespace tv
