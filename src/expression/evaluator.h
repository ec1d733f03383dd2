// Turns a coefficient expression over numbers and the six parameters into a value.
#pragma once

#include <string_view>

namespace tv {

struct DiagramState;

struct Evaluation {
  double Value = 0;
  bool Ok = false;
};

// The six parameter values, in the evaluator's variable-table order.
struct ParameterValues {
  double A = 1, B = 1, T = 1, K = 1, Ksi = 1, W = 1;
};
ParameterValues ParametersOf(const DiagramState& s);

// Evaluates an upper-cased, space-free expression. On failure Ok is false
// and Value is 0. A text longer than 255 characters is refused.
Evaluation EvaluateExpression(std::string_view text, const ParameterValues& params);
Evaluation EvaluateExpression(std::string_view text, const DiagramState& s);

// Base raised to a power, as the evaluator's '^' computes it.
double RealPower(double base, double exponent);

}  // namespace tv
