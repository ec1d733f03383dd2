// The drawn curves as exact rational functions: which functions, their names and colours, their
// value at any p.
#pragma once

#include <complex>
#include <string>
#include <vector>

#include "core/diagram_state.h"

namespace tv {

// One drawn curve: a ticked function alone, or the product of the ticked
// functions (box 4), kept as its factors so that nothing is multiplied out.
struct Curve {
  std::string Name;  // "H1", "H2", "H3", or the product as its box reads: "H1.H3", "H1 (produit)"
                     // when it has one factor
  Rgb Colour;        // the colour the picture draws it in
  bool Product = false;
  std::vector<int> Factors;  // function indices 0..2, increasing
};

// The curves the picture draws, in drawing order: H1, H2, H3 when ticked,
// then the product when box 4 is ticked and at least one function is.
// Reads the boxes through the state's host; none without a host.
std::vector<Curve> DrawnCurves(const DiagramState& s);

// The functions ticked among H1..H3 (indices 0..2), increasing.
std::vector<int> TickedFunctions(const DiagramState& s);

// Highest power with a non-zero coefficient; -1 for the zero polynomial.
int Degree(const CoefficientSet& c);

// The polynomial at a complex p (Horner).
std::complex<double> PolynomialAt(const CoefficientSet& c, std::complex<double> p);

}  // namespace tv
