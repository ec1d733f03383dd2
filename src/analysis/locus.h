// The closed-loop poles of the ticked functions as one parameter runs over a range: branches,
// crossings of the imaginary axis, stability intervals, the poles at the current value.
#pragma once

#include <array>
#include <complex>
#include <optional>
#include <utility>
#include <vector>

#include "expression/compiled_text.h"
#include "core/diagram_state.h"
#include "core/parameters.h"
#include "expression/evaluator.h"

namespace tv {

// Coefficients of p^0, p^1, ... of a polynomial of any degree.
using Polynomial = std::vector<double>;

// The roots of c, each polished by Newton's method on c itself; roots at 0
// exactly where the low coefficients are exactly 0. Empty for a constant or
// for coefficients that are not all finite (then *finite is false).
std::vector<std::complex<double>> PolynomialRoots(const Polynomial& c, bool* finite = nullptr);

// The characteristic polynomial D1.D2.D3 + N1.N2.N3 of the product of the
// ticked functions closed by unit feedback, as a function of one parameter,
// the five others held at the values they had when it was made. The texts
// are compiled once; each value evaluates the compiled texts again.
class CharacteristicFamily {
 public:
  CharacteristicFamily() = default;
  CharacteristicFamily(const DiagramState& s, Parameter p);

  Parameter Param() const { return param_; }
  const std::vector<int>& Factors() const { return factors_; }  // the ticked functions
  bool Empty() const { return factors_.empty(); }               // no function ticked
  bool Valid() const { return valid_; }                         // every ticked text compiles
  bool UsesParameter() const { return uses_; }  // some ticked text reads the parameter

  // The product's numerator and denominator at value v; false when a text
  // does not evaluate there.
  bool ProductAt(double v, Polynomial& num, Polynomial& den) const;
  // D + N at v, its high zero coefficients removed; false when a text does
  // not evaluate there.
  bool CharacteristicAt(double v, Polynomial& c) const;

  // The open loop's poles when no ticked denominator reads the parameter:
  // found once, with the family. Null otherwise.
  const std::vector<std::complex<double>>* FixedOpenPoles() const {
    return openFixed_ ? &openPoles_ : nullptr;
  }

  // Whether the state gives this family over p (the same texts, ticks and
  // other parameters: the locus drawn for it stands), compiling nothing.
  bool SameAs(const DiagramState& s, Parameter p) const;

 private:
  // A product of the ticked polynomials, at most three of degree 5, held
  // without allocation.
  static constexpr std::size_t kProductSize = 3 * kHighestPower + 1;
  struct ProductBuffer {
    std::array<double, kProductSize> C{};
    std::size_t Size = 0;  // 0: a factor was the zero polynomial
    void One() {
      C[0] = 1;
      Size = 1;
    }
    void Multiply(const CoefficientSet& b);
  };
  bool ProductInto(double v, ProductBuffer& num, ProductBuffer& den) const;

  Parameter param_ = Parameter::K;
  ParameterValues values_;
  std::vector<int> factors_;
  std::array<CompiledText, 3> num_{}, den_{};
  // Per function, whether its numerator and denominator read the parameter,
  // and their coefficients at the values held.
  std::array<std::array<bool, 2>, 3> reads_{};
  std::array<std::array<CoefficientSet, 2>, 3> fixed_{};
  // Per text that reads it, the reduction of each power recorded once: each
  // value does the same operations again without rewriting the tokens.
  std::array<std::array<std::array<RecordedReduction, kHighestPower + 1>, 2>, 3> recorded_{};
  bool valid_ = false;
  bool uses_ = false;
  bool openFixed_ = false;
  std::vector<std::complex<double>> openPoles_;
};

enum class LocusOutcome {
  Drawn,
  NoFunction,  // no function ticked
  Invalid,     // a ticked function does not compile
  Unused,      // no ticked text reads the parameter
  Vanishes,    // D + N vanishes identically over the whole range
};

// The roots at one value, in branch order: root i of a sample continues
// root i of the sample before when both have as many roots.
struct LocusSample {
  double Value = 0;
  bool Ok = false;  // the texts evaluate and the roots are finite
  std::vector<std::complex<double>> Roots;
};

// A branch crossing the imaginary axis: the parameter's value there,
// refined, and the pulsation of the crossing (0 for a real root through 0).
struct LocusCrossing {
  double Value = 0;
  double Omega = 0;
};

// A closed interval of the parameter over which every closed-loop pole has a
// negative real part, except maybe at its ends: the ends that belong to it
// are flagged (a range end that is itself stable).
struct StableInterval {
  double Low = 0, High = 0;
  bool LowIncluded = false, HighIncluded = false;
};

// The region of the plane the picture shows, equal scales on both axes
// being the picture's business.
struct LocusBox {
  double ReMin = -1, ReMax = 1, ImMin = -1, ImMax = 1;
};

struct Locus {
  LocusOutcome Outcome = LocusOutcome::NoFunction;
  Parameter Param = Parameter::K;
  double From = 0, To = 0;
  std::vector<LocusSample> Samples;  // increasing values
  std::vector<LocusCrossing> Crossings;
  std::vector<StableInterval> Stable;
  // Values where D + N vanishes identically, where its degree drops (a
  // branch leaves for infinity), and where the roots leave the doubles.
  std::vector<double> Vanishing, DegreeDrops, Overflows;
  LocusBox Box;
};

// The parameter's default range: from 0 to 100 times its value, or to 100
// when it is 0.
std::pair<double, double> DefaultLocusRange(double current);

// The whole locus over [from, to] (from >= 0, to > from): adaptive sampling,
// a step halved while a root moves more than 1/200 of the view, branches
// matched step to step; the crossings and the stability bounds refined to
// 1e-10 relative on D + N itself.
Locus ComputeLocus(const CharacteristicFamily& family, double from, double to);

// The closed-loop poles at one value (the current one), and the open loop's
// poles and zeros of the product there.
struct LocusPoles {
  bool Ok = false;
  double Value = 0;
  // By decreasing real part, a complex pair as two entries, upper one first.
  std::vector<std::complex<double>> Closed;
  std::vector<std::complex<double>> OpenPoles, OpenZeros;
};
LocusPoles ComputeLocusPoles(const CharacteristicFamily& family, double value);
// The same at the state's value of the parameter, from the coefficients its
// redraw evaluated, which are the family's there to the bit: for a state the
// family is the same as (SameAs), just redrawn with every text evaluated.
LocusPoles ComputeLocusPoles(const CharacteristicFamily& family, const DiagramState& s);

// The same from the state's current coefficients (those of the last redraw)
// of the given functions: the read-outs window's closed-loop poles.
LocusPoles ClosedLoopPolesOf(const DiagramState& s, const std::vector<int>& factors);

// The poles that dominate: the real one or the pair nearest the imaginary
// axis, and how many times farther from it the next pole is (0 when none).
struct Dominance {
  std::vector<std::complex<double>> Poles;  // one real, or a pair upper first
  double Ratio = 0;
};
Dominance DominantPoles(const std::vector<std::complex<double>>& closed);

// The parameter's value at the point of the drawn locus nearest to z: the
// nearest segment between two samples, then refined between the samples
// around it. None when nothing is drawn.
bool NearestLocusValue(const CharacteristicFamily& family, const Locus& locus,
                       std::complex<double> z, double* value);

// The locus of the state's ticked functions over p, on range or else on the
// default range from p's current value, with the poles at that value: what
// the command line and the report ask for.
struct StateLocus {
  CharacteristicFamily Family;
  Locus L;
  LocusPoles Poles;
};
StateLocus ComputeStateLocus(const DiagramState& s, Parameter p,
                             const std::optional<std::pair<double, double>>& range = std::nullopt);

// Whether every root of D + N at v has a negative real part.
bool StableAt(const CharacteristicFamily& family, double v);

}  // namespace tv
