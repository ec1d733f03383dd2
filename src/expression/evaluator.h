// Turns a coefficient expression over numbers and the six parameters into a value, in two stages:
// cut into tokens, then reduce with the values.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

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

// One operation of a reduction on the operands' slots: A op= B, a sign rule
// ('n': A negated), a function code or '!' applied to A.
struct ReductionStep {
  char Op = 0;
  std::uint8_t A = 0, B = 0;
};

// The operations a token string's reduction does, in order, recorded once:
// they depend on the tokens alone, except where a value stops the rewriting
// (a division by 0 left standing, LN or a factorial refused).
struct RecordedReduction {
  // False: one of those stops happened while recording; every evaluation
  // then reduces the tokens.
  bool Replayable = false;
  std::vector<ReductionStep> Steps;
  int Result = -1;  // the slot of the operand left at the end; -1: the text is invalid
};

// The reduction of tokens with params, recorded.
RecordedReduction RecordReduction(const TokenString& tokens, const ParameterValues& params);

// The same value and flag as EvaluateTokens(tokens, params), bit for bit, by
// doing the recorded operations again: for a text evaluated at many values
// of one parameter. A value that would take the rewriting another way is
// evaluated by the rewriting.
Evaluation ReplayReduction(const RecordedReduction& recording, const TokenString& tokens,
                           const ParameterValues& params);

// Both stages on an upper-cased, space-free expression.
Evaluation EvaluateExpression(std::string_view text, const ParameterValues& params);
Evaluation EvaluateExpression(std::string_view text, const DiagramState& s);

// Base raised to a power, as the evaluator's '^' computes it.
double RealPower(double base, double exponent);

}  // namespace tv
