// Compiles a polynomial text in p into six coefficients by rewriting it once per power.
#include "expression/coefficients.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace tv {

namespace {

constexpr int kHighestPower = 5;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Writes over work (as long as upper) the upper-cased text with p^k set to 1
// and every other power of p set to 0; every rewriting keeps the length.
// Clears valid when the P set to 1 has a digit right before it ('2P', '3P^2').
void WorkText(std::string_view upper, int k, char* work, bool& valid) {
  std::memcpy(work, upper.data(), upper.size());
  const std::string_view view(work, upper.size());
  for (int j = 1; j <= kHighestPower; ++j) {
    if (j == k) continue;
    const char power[3] = {'P', '^', static_cast<char>('0' + j)};
    const std::size_t at = view.find(std::string_view(power, 3));
    if (at != std::string_view::npos) std::memcpy(work + at, "000", 3);
    if (j == 1) {
      // The plain P of the first power: only when it is the first P left.
      const std::size_t p = view.find('P');
      if (p != std::string_view::npos && (p + 1 >= view.size() || view[p + 1] != '^'))
        work[p] = '0';
    }
  }
  const std::size_t p = view.find('P');
  if (p != std::string_view::npos) {
    if (p > 0 && IsDigit(work[p - 1])) valid = false;
    work[p] = '1';
  }
}

// A text cut for every power: what compiling it takes apart from the values
// of the parameters.
struct CutText {
  std::string Text;  // as given
  bool DigitsValid = true;  // no P set to 1 has a digit right before it
  // Per power: its work text is that of p^0 (its value is the constant's),
  // or was cut (Cut) into Tokens.
  std::array<bool, kHighestPower + 1> SameAsConstant{};
  std::array<bool, kHighestPower + 1> Cut{};
  std::array<TokenString, kHighestPower + 1> Tokens{};
};

void CutEveryPower(std::string_view text, CutText& out) {
  out.Text.assign(text);
  out.DigitsValid = true;
  // Three texts of the same length: the upper-cased text without spaces, the
  // work text of p^0 and that of the power in hand. The function texts of
  // the program fit on the stack; anything longer goes to the heap.
  constexpr std::size_t kOnStack = 256;
  std::size_t n = 0;
  for (char c : text) n += c != ' ' ? 1 : 0;
  char stack[3 * kOnStack];
  std::string heap;
  char* base = stack;
  if (n > kOnStack) {
    heap.resize(3 * n);
    base = heap.data();
  }
  char* const upper = base;
  char* const constantText = base + n;
  char* const work = base + 2 * n;
  std::size_t at = 0;
  for (char c : text) {
    if (c == ' ') continue;
    upper[at++] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  const std::string_view upperView(upper, n);
  for (int k = 0; k <= kHighestPower; ++k) {
    const auto i = static_cast<std::size_t>(k);
    char* const target = k == 0 ? constantText : work;
    WorkText(upperView, k, target, out.DigitsValid);
    // A power the text does not hold leaves the work text of p^0, whose
    // value is already known: the evaluation depends on nothing else.
    out.SameAsConstant[i] = k > 0 && std::memcmp(work, constantText, n) == 0;
    out.Cut[i] = !out.SameAsConstant[i] && CutIntoTokens(std::string_view(target, n), out.Tokens[i]);
  }
}

// The texts cut lately. A redraw compiles six texts, a spin step the same
// six with other values: they are cut once, when they are typed or loaded.
constexpr std::size_t kKeptTexts = 8;
struct CutTexts {
  std::array<CutText, kKeptTexts> Texts;
  std::array<bool, kKeptTexts> Used{};
  std::size_t Next = 0;  // replaced when a new text comes
};

const CutText& CutOf(std::string_view text) {
  thread_local CutTexts kept;
  for (std::size_t i = 0; i < kKeptTexts; ++i)
    if (kept.Used[i] && kept.Texts[i].Text == text) return kept.Texts[i];
  const std::size_t slot = kept.Next;
  kept.Next = (kept.Next + 1) % kKeptTexts;
  kept.Used[slot] = true;
  CutEveryPower(text, kept.Texts[slot]);
  return kept.Texts[slot];
}

}  // namespace

bool ExtractCoefficients(std::string_view text, const ParameterValues& params,
                         CoefficientSet& coeffs) {
  const CutText& cut = CutOf(text);
  coeffs.fill(0.0);
  bool valid = cut.DigitsValid;
  Evaluation constant;
  for (int k = 0; k <= kHighestPower; ++k) {
    const auto i = static_cast<std::size_t>(k);
    Evaluation e;
    if (cut.SameAsConstant[i]) e = constant;
    else if (cut.Cut[i]) e = EvaluateTokens(cut.Tokens[i], params);
    if (k == 0) constant = e;
    coeffs[i] = k == 0 ? e.Value : e.Value - coeffs[0];
    if (!e.Ok) valid = false;
  }
  return valid;
}

bool ExtractCoefficients(std::string_view text, const DiagramState& s, CoefficientSet& coeffs) {
  return ExtractCoefficients(text, ParametersOf(s), coeffs);
}

}  // namespace tv
