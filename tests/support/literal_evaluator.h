// The first, literal evaluator and coefficient extraction: the oracle the compiled ones are
// compared with.
#pragma once

#include <string_view>

#include "core/diagram_state.h"
#include "core/parameters.h"

// Every rule written as it reads: the text is tokenized with the values at
// each evaluation, the token string is a std::string rewritten by erasing,
// every coefficient rewrites and evaluates its text anew. Slow and plain; it
// takes texts of any length, where the program refuses more than 255 characters.
namespace tv::oracle {

struct Evaluation {
  double Value = 0;
  bool Ok = false;
};

Evaluation EvaluateExpression(std::string_view text, const ParameterValues& params);
bool ExtractCoefficients(std::string_view text, const ParameterValues& params,
                         CoefficientSet& coeffs);
double RealPower(double base, double exponent);

}  // namespace tv::oracle
