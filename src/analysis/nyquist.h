// The Nyquist locus of a loop over the whole contour, and the closed loop's stability read from it:
// P, N, Z.
#pragma once

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "analysis/readouts.h"
#include "core/diagram_state.h"

namespace tv {

// What came of a computation; anything but Drawn leaves no locus.
enum class NyquistOutcome {
  Drawn,
  NoFunction,       // no function ticked
  Invalid,          // a ticked function does not compile (the redraw was refused)
  ZeroDenominator,  // a denominator is the zero polynomial
  LoopUndefined,    // 1 + H identically zero
  Overflow,         // coefficients or their products beyond the doubles
};

// Where on the contour a point of the locus comes from.
enum class ContourPart {
  Axis,         // p = jw, w >= 0
  Indentation,  // the small half circle around a pole on the imaginary axis
  Infinity,     // the large half circle |p| -> infinity (a point when H is proper)
};

struct NyquistPoint {
  double W = 0;  // the pulsation; on an indentation the pole's, on the large circle +infinity
  std::complex<double> H;
  double PhaseDeg = 0;  // continuous along the contour from its start
  ContourPart Part = ContourPart::Axis;
};

// The stability of the loop closed by unit feedback.
struct NyquistVerdict {
  int OpenLoopRhp = 0;  // P: poles of H with a positive real part
  // N: clockwise turns of the whole contour's image around -1; none when the
  // locus passes through -1 (a closed-loop pole on the imaginary axis).
  std::optional<int> Encirclements;
  // Z = N + P, or the count of the roots of D + N with a positive real part
  // when N does not exist.
  int ClosedLoopRhp = 0;
  // The same count from the roots of D + N, and whether both agree.
  int RootsRhp = 0;
  bool RootsAgree = true;
  // A closed-loop pole on the imaginary axis, at this pulsation (>= 0).
  std::optional<double> LimitW;
  // The simplified criterion, for a loop without unstable poles: travelling
  // the locus towards increasing w, is -1 left on the left?
  std::optional<bool> CriticalOnLeft;

  bool Stable() const { return !LimitW && ClosedLoopRhp == 0; }
};

struct NyquistLocus {
  NyquistOutcome Outcome = NyquistOutcome::NoFunction;
  // The image of the upper half of the contour, from p on the positive real
  // axis up to +j infinity and back along the large circle; the lower half
  // is its mirror.
  std::vector<NyquistPoint> Points;
  NyquistVerdict Verdict;
};

// The locus and verdict of the product of the factors.
NyquistLocus ComputeNyquist(const CurveFactors& f);

// One curve of the window.
struct NyquistCurve {
  Curve Of;
  NyquistLocus Locus;
  CurveFactors Factors;
};

// What the window draws: every drawn curve, and the loop (the product of the
// ticked functions, whose verdict heads the picture) with its margins.
struct NyquistPicture {
  NyquistOutcome Outcome = NyquistOutcome::NoFunction;
  std::vector<NyquistCurve> Curves;
  std::string LoopName;  // "H1.H2"
  NyquistLocus Loop;
  // The loop's read-outs over the displayed decades, the Mesures window's;
  // filled when the margins are asked for.
  std::optional<CurveReadouts> LoopReadouts;
  // What the loop and its read-outs were computed from.
  CurveFactors LoopFactors;
  PulsationRange ReadoutsRange;
};

// From the state's current coefficients (those of the last redraw).
NyquistPicture ComputeNyquistPicture(const DiagramState& s, bool margins);
// The same, taking from earlier every locus (and the read-outs) whose
// coefficients are the same to the bit: a step of a parameter read by one
// function computes only the curves that function enters.
NyquistPicture ComputeNyquistPicture(const DiagramState& s, bool margins,
                                     const NyquistPicture& earlier);

// The same from the texts of the ticked functions compiled anew with the
// current parameters (Invalid when one does not compile): for a window that
// opens between two redraws, and for the command line.
NyquistPicture ComputeNyquistPictureOfTexts(const DiagramState& s, bool margins);

}  // namespace tv
