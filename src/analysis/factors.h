// The roots of one polynomial in p, grouped as a student factors it: at 0, first order, second
// order.
#pragma once

#include <complex>
#include <vector>

#include "core/diagram_state.h"

namespace tv {

// Roots closer to 0 than this count as roots at 0 (integrators, derivators).
inline constexpr double kRootAtZero = 1e-12;

// A polynomial written as Lead * p^AtZero * prod(p - r) over its other roots.
struct PolynomialFactors {
  bool Valid = false;        // false for the zero polynomial or a non-finite coefficient
  double Lead = 0;           // coefficient of the highest power
  int AtZero = 0;            // roots at 0, counted with their order
  std::vector<double> Real;  // real roots, increasing
  std::vector<std::complex<double>> Pairs;  // one root of each complex pair, imaginary part > 0,
                                            // by increasing modulus
  // Value of the polynomial divided by p^AtZero at p -> 0 in the factored
  // form: Lead * prod(-r) * prod(|r|^2). Real, and never 0 when Valid.
  double LowFrequencyGain() const;
};

// The roots of c0 + c1 p + ... + c5 p^5 (leading zero coefficients ignored),
// each polished on the polynomial itself, whatever the scale of p. A multiple
// root is written as that many exactly equal roots, so that a double real
// root reads as two equal real roots.
PolynomialFactors FactorPolynomial(const CoefficientSet& c);

}  // namespace tv
