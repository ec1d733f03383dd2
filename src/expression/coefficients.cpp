// Compiles a polynomial text in p into six coefficients by rewriting it once per power.
#include "expression/coefficients.h"

#include <cstddef>
#include <string>

namespace tv {

namespace {

constexpr int kHighestPower = 5;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text with p^k set to 1 and every other power of p set to 0. Clears
// valid when the P set to 1 has a digit right before it ('2P', '3P^2').
std::string WorkText(const std::string& spaceless, int k, bool& valid) {
  std::string work = spaceless;
  for (char& c : work) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
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

}  // namespace

bool ExtractCoefficients(std::string_view text, const ParameterValues& params,
                         CoefficientSet& coeffs) {
  std::string spaceless;
  spaceless.reserve(text.size());
  for (char c : text) {
    if (c != ' ') spaceless += c;
  }
  coeffs.fill(0.0);
  bool valid = true;
  for (int k = 0; k <= kHighestPower; ++k) {
    const Evaluation e = EvaluateExpression(WorkText(spaceless, k, valid), params);
    coeffs[static_cast<std::size_t>(k)] = k == 0 ? e.Value : e.Value - coeffs[0];
    if (!e.Ok) valid = false;
  }
  return valid;
}

bool ExtractCoefficients(std::string_view text, const DiagramState& s, CoefficientSet& coeffs) {
  return ExtractCoefficients(text, ParametersOf(s), coeffs);
}

}  // namespace tv
