// Exact read-outs of a drawn curve: every crossing with its margin, the closed-loop peak and
// bandwidth, class and static gain.
#pragma once

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "analysis/curves.h"
#include "core/diagram_state.h"

namespace tv {

// A curve as the product of its factors Num[k] / Den[k], never multiplied out.
struct CurveFactors {
  std::vector<CoefficientSet> Num;
  std::vector<CoefficientSet> Den;
};

// The factors of a drawn curve from the state's current coefficients.
CurveFactors FactorsOf(const DiagramState& s, const Curve& curve);

// The product of the factors at p.
std::complex<double> FactorsAt(const CurveFactors& f, std::complex<double> p);

// |H(jw)| = 1: the phase margin there, in (-180, 180].
struct GainCrossover {
  double W = 0;
  double PhaseMarginDeg = 0;
  double PhaseDeg = 0;  // the phase unwrapped from the low-frequency end
};

// The phase through -180 degrees modulo 360: the gain margin there.
struct PhaseCrossover {
  double W = 0;
  double GainMarginDb = 0;
};

// Unit feedback H / (1 + H).
struct ClosedLoopReadout {
  // The highest |H/(1+H)| and where it is, searched over the displayed
  // decades widened by two on each side (a resonance just outside the
  // picture is still found); at an end of that span when the gain is highest
  // there; none when the closed loop cannot be evaluated.
  // A closed-loop pole on the imaginary axis makes PeakDb +infinity, at its
  // pulsation. A maximum at an end of the span is no resonance: NoResonance
  // is set instead, with the closed loop's limit as w grows (-infinity dB
  // for a strictly proper H).
  std::optional<double> PeakDb;
  std::optional<double> PeakW;
  bool NoResonance = false;
  std::optional<double> HighFrequencyLimitDb;
  // The first pulsation of that span where the closed-loop gain falls 3 dB
  // below its static value; none when it stays above, when it is already
  // below at the span's low end, or the static value is 0.
  std::optional<double> BandwidthW;
};

struct CurveReadouts {
  std::string Name;
  Rgb Colour;
  // False when a numerator or denominator of the curve is the zero
  // polynomial: nothing else is then filled.
  bool Defined = false;
  std::vector<GainCrossover> GainCrossovers;    // increasing w
  std::vector<PhaseCrossover> PhaseCrossovers;  // increasing w
  // N(jw) conj D(jw) is real at every w: the phase only takes the values 0
  // and -180 degrees (mod 360), so it has no crossing; PhaseAt180 when it
  // is -180 degrees over a part of the range.
  bool PhaseConstant = false;
  bool PhaseAt180 = false;
  ClosedLoopReadout ClosedLoop;
  // Integrators minus differentiators at p = 0.
  int Class = 0;
  // The gain of the lowest-order terms, K in K/p^class; H(0) for class 0.
  double LowFrequencyGain = 0;
  // 20 log10 |H(0)|, for class 0 only.
  std::optional<double> StaticGainDb;
  // The error left by a unit step under unit feedback: 1/(1+H(0)) for class
  // 0, 0 with an integrator, 1 with a differentiator; none when H(0) = -1.
  std::optional<double> StepError;
};

// The pulsations the read-outs search: the displayed decades, within the
// decades -150..150 the Bode view can draw.
struct PulsationRange {
  double WMin = 0.01;
  double WMax = 1000;
};
PulsationRange DisplayedRange(const DiagramState& s);

// Read-outs of one rational function over the range.
CurveReadouts ComputeReadouts(const CurveFactors& f, const PulsationRange& range);

// The peak only (what the tuning searches on), in dB; none as above, and
// none when the highest gain is at an end of the searched span.
std::optional<double> ClosedLoopPeakDb(const CurveFactors& f, const PulsationRange& range);

// Read-outs of every drawn curve, in drawing order, named and coloured.
std::vector<CurveReadouts> DrawnCurveReadouts(const DiagramState& s);

// The phase margin convention: 180 + phase, wrapped into (-180, 180].
double WrapMarginDeg(double phaseDeg);

}  // namespace tv
