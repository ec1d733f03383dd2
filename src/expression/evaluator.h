// Turns a coefficient expression over numbers and the six parameters into a value, in two stages:
// cut into tokens, then reduce with the values.
#pragma once

#include <string_view>

#include "expression/compiled_text.h"
#include "core/parameters.h"

namespace tv {

struct DiagramState;

struct Evaluation {
  double Value = 0;
  bool Ok = false;
};

// The first stage, which depends on the text alone. False when the text
// cannot be cut: an unknown name, an unknown character, a malformed number,
// more operands than letters, more than kLongestExpression characters.
bool CutIntoTokens(std::string_view text, TokenString& tokens);

// The second stage: the operands take their values (the parameters' from
// params) and the token string is reduced until one operand is left. On
// failure Ok is false and Value is 0.
Evaluation EvaluateTokens(const TokenString& tokens, const ParameterValues& params);

// Both stages on an upper-cased, space-free expression.
Evaluation EvaluateExpression(std::string_view text, const ParameterValues& params);
Evaluation EvaluateExpression(std::string_view text, const DiagramState& s);

// Base raised to a power, as the evaluator's '^' computes it.
double RealPower(double base, double exponent);

}  // namespace tv
