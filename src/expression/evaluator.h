// Turns a coefficient expression over numbers and the six parameters into a value.
#pragma once

#include <array>
#include <cstdint>
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

// Longest text the evaluator takes (only 80 characters are ever stored), and
// the operands one text can hold: one letter each, 'a' to 'z'.
inline constexpr std::size_t kLongestExpression = 255;
inline constexpr int kOperandLetters = 26;

// A text cut into the evaluator's tokens: function codes, operators and one
// letter per operand. Cutting depends on the text alone, not on the values
// of the parameters, so a text evaluated again and again (at every spin
// step) needs cutting once.
struct TokenString {
  int Count = 0;     // tokens in Chars
  int Operands = 0;  // operand letters in use
  std::array<char, kLongestExpression> Chars{};
  // Per operand: the parameter it reads (0..5 for A, B, T, K, KSI, W), or -1
  // for the number in Numbers.
  std::array<std::int8_t, kOperandLetters> Parameter{};
  std::array<double, kOperandLetters> Numbers{};
};

// False when the text cannot be cut: an unknown name, a malformed number,
// more operands than letters, more characters than the evaluator takes.
bool CutIntoTokens(std::string_view text, TokenString& tokens);
// EvaluateExpression of the text the tokens were cut from.
Evaluation EvaluateTokens(const TokenString& tokens, const ParameterValues& params);

// Base raised to a power, as the evaluator's '^' computes it.
double RealPower(double base, double exponent);

}  // namespace tv
