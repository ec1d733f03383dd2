// Compiles a polynomial text in p into six coefficients by rewriting it once per power.
#include "expression/coefficients.h"

#include <cstddef>
#include <string>

#include "expression/evaluator.h"

namespace tv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text with p^k set to 1 and every other power of p set to 0. Clears
// valid when the P set to 1 has a digit right before it ('2P', '3P^2').
std::string WorkText(const std::string& upper, int k, bool& valid) {
  std::string work = upper;
  for (int j = 1; j <= kHighestPower; ++j) {
    if (j == k) continue;
    const std::string power{'P', '^', static_cast<char>('0' + j)};
    const std::size_t at = work.find(power);
    if (at != std::string::npos) work.replace(at, power.size(), "000");
    if (j == 1) {
      // The plain P of the first power: only when it is the first P left.
      const std::size_t p = work.find('P');
      if (p != std::string::npos && (p + 1 >= work.size() || work[p + 1] != '^')) work[p] = '0';
    }
  }
  const std::size_t p = work.find('P');
  if (p != std::string::npos) {
    if (p > 0 && IsDigit(work[p - 1])) valid = false;
    work[p] = '1';
  }
  return work;
}

// Whether every power of p is one the rewriting reads: a single digit 1 to 5
// after 'P^', which nothing after it raises further. 'P^6', 'P^0', 'P^2.5',
// 'P^K', 'P^(2)', 'P^12', 'P^2^3' and 'P^3!' would be rewritten as some other
// power or as a constant, and drawn wrong without a word.
bool PowersReadable(const std::string& upper) {
  for (std::size_t p = upper.find("P^"); p != std::string::npos; p = upper.find("P^", p + 1)) {
    const char digit = p + 2 < upper.size() ? upper[p + 2] : ' ';
    const char after = p + 3 < upper.size() ? upper[p + 3] : ' ';
    if (digit < '1' || digit > '5') return false;
    if (IsDigit(after) || after == '.' || after == '^' || after == '!') return false;
  }
  return true;
}

}  // namespace

CompiledText CompileText(std::string_view text) {
  CompiledText compiled;
  compiled.Text.assign(text);
  // Without spaces, upper-cased: only the letters a to z change.
  std::string upper;
  upper.reserve(text.size());
  for (char c : text) {
    if (c == ' ') continue;
    upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  compiled.FormValid = PowersReadable(upper);
  for (int k = 0; k <= kHighestPower; ++k) {
    const auto i = static_cast<std::size_t>(k);
    compiled.Cut[i] = CutIntoTokens(WorkText(upper, k, compiled.FormValid), compiled.Tokens[i]);
  }
  return compiled;
}

const CompiledText& CompileIfChanged(CompiledText& compiled, std::string_view text) {
  if (compiled.Text != text) compiled = CompileText(text);
  return compiled;
}

bool EvaluateCompiled(const CompiledText& compiled, const ParameterValues& params,
                      CoefficientSet& coeffs) {
  coeffs.fill(0.0);
  bool valid = compiled.FormValid;
  for (int k = 0; k <= kHighestPower; ++k) {
    const auto i = static_cast<std::size_t>(k);
    const Evaluation e =
        compiled.Cut[i] ? EvaluateTokens(compiled.Tokens[i], params) : Evaluation{};
    coeffs[i] = k == 0 ? e.Value : e.Value - coeffs[0];
    if (!e.Ok) valid = false;
  }
  return valid;
}

bool CompileFunction(DiagramState& s, int i, const ParameterValues& params) {
  const auto f = static_cast<std::size_t>(i);
  return EvaluateCompiled(CompileIfChanged(s.NumCompiled[f], s.NumText[f].View()), params,
                          s.NumCoeffs[f]) &&
         EvaluateCompiled(CompileIfChanged(s.DenCompiled[f], s.DenText[f].View()), params,
                          s.DenCoeffs[f]);
}

bool ExtractCoefficients(std::string_view text, const ParameterValues& params,
                         CoefficientSet& coeffs) {
  return EvaluateCompiled(CompileText(text), params, coeffs);
}

bool ExtractCoefficients(std::string_view text, const DiagramState& s, CoefficientSet& coeffs) {
  return ExtractCoefficients(text, ParametersOf(s), coeffs);
}

}  // namespace tv
