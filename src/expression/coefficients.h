// Compiles a polynomial text in p into the coefficients of p^0 .. p^5.
#pragma once

#include <string_view>

#include "core/diagram_state.h"
#include "expression/evaluator.h"

namespace tv {

// Overwrites all six entries in every case; true when all six evaluations
// succeeded and no P being set to 1 has a digit right before it.
bool ExtractCoefficients(std::string_view text, const ParameterValues& params,
                         CoefficientSet& coeffs);
bool ExtractCoefficients(std::string_view text, const DiagramState& s, CoefficientSet& coeffs);

}  // namespace tv
