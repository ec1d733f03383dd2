// Compiles a polynomial text in p into six coefficients by rewriting it once per power.
#include "expression/coefficients.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

#include "core/translate.h"
#include "expression/evaluator.h"

namespace tv {

struct TextReductions {
  std::array<RecordedReduction, kHighestPower + 1> Powers;
  std::array<RecordedReduction, 2> Samples;
};

namespace {

// The tokens' value, by their recorded reduction when there is one: the same
// bits either way.
Evaluation Evaluated(const RecordedReduction* recorded, const TokenString& tokens,
                     const ParameterValues& params) {
  return recorded ? ReplayReduction(*recorded, tokens, params) : EvaluateTokens(tokens, params);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text with p^k set to 1 and every other power of p set to 0. Clears
// valid when the P set to 1 has a digit right before it ('2P', '3P^2');
// powerAt is where that P was (npos: none).
std::string WorkText(const std::string& upper, int k, bool& valid, std::size_t& powerAt) {
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
  powerAt = p;
  if (p != std::string::npos) {
    if (p > 0 && IsDigit(work[p - 1])) valid = false;
    work[p] = '1';
  }
  return work;
}

std::string UpperWithoutSpaces(std::string_view text);

// The operand of the work text of p^k that stands for p (its P set to 1):
// the one operand that reads 2 when a 2 is written there instead. -1 when
// there is none, or when the digit joined a neighbouring number ('P.5').
int PowerOperandOf(std::string_view text, int k) {
  bool valid = true;
  std::size_t powerAt = std::string::npos;
  std::string work = WorkText(UpperWithoutSpaces(text), k, valid, powerAt);
  if (powerAt == std::string::npos) return -1;
  TokenString one, two;
  if (!CutIntoTokens(work, one)) return -1;
  work[powerAt] = '2';
  if (!CutIntoTokens(work, two) || two.Operands != one.Operands) return -1;
  int found = -1;
  for (int i = 0; i < one.Operands; ++i) {
    const auto n = static_cast<std::size_t>(i);
    if (one.Parameter[n] >= 0 || one.Numbers[n] == two.Numbers[n]) continue;
    if (found >= 0 || one.Numbers[n] != 1 || two.Numbers[n] != 2) return -1;
    found = i;
  }
  return found;
}

// c_k read as (c_0 + c_k) - c_0 keeps only the digits of c_k that the
// rounding of c_0 + c_k leaves: 1 + 0.000000000001*p gives
// 1.0000889e-12, and every root and break inherits the error. Below this
// ratio of |c_0| to |c_k| the loss is a few units of the last digit and the
// value read with p set to 1 stands as it is.
constexpr double kCancellingRatio = 128;
// The scale tried for a c_k read as 0 beside a nonzero c_0: 2^100 (over
// the k-th power) brings a term hidden under c_0's rounding back into view.
constexpr int kHiddenTermScale = 100;
constexpr int kLargestScale = 1000;
// How far, against |c_0|, a coefficient read at a larger p may lie from its
// reading at p = 1.
constexpr double kAgreement = 1e-12;

// c_k read again with p set to s = 2^n where c_k s^k is at least as large
// as c_0: the subtraction then costs c_k about one rounding, and dividing
// by s^k is exact. A term smaller than c_0's rounding (read as 0) is looked
// for at a large scale first. The value read with p set to 1 stays when the
// text cannot be read at the larger p. The operand of p is looked for only
// then: most coefficients never need it.
void ReadSmallCoefficient(const CompiledText& compiled, int k, const ParameterValues& params,
                          double c0, double& ck) {
  if (c0 == 0 || !std::isfinite(c0) || !std::isfinite(ck)) return;
  // The reading at p = 1 is off by a few roundings of c_0 at most; a value
  // read at a larger p that departs from it by more is no coefficient of p^k
  // (a text such as SIN(p^5) is not linear in its power) and is not taken.
  const double atOne = ck;
  int operand = -1;
  int used = 0;  // n of the scale ck was read at
  for (int round = 0; round < 3; ++round) {
    const double scaled = std::ldexp(std::fabs(ck), used * k);
    if (scaled * kCancellingRatio >= std::fabs(c0)) return;
    if (round == 0) operand = PowerOperandOf(compiled.Text, k);
    if (operand < 0) return;
    const int n =
        ck == 0 ? (kHiddenTermScale + k - 1) / k
                : static_cast<int>(std::ceil(std::log2(std::fabs(c0) / std::fabs(ck)) / k)) + 1;
    if (n <= used || n * k > kLargestScale) return;
    TokenString scaledTokens = compiled.Tokens[static_cast<std::size_t>(k)];
    scaledTokens.Numbers[static_cast<std::size_t>(operand)] = std::ldexp(1.0, n);
    const Evaluation e = EvaluateTokens(scaledTokens, params);
    if (!e.Ok || !std::isfinite(e.Value)) return;
    const double read = std::ldexp(e.Value - c0, -n * k);
    if (!(std::fabs(read - atOne) <= kAgreement * std::fabs(c0))) return;
    ck = read;
    used = n;
  }
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

// The values of p at which a text is compared with its coefficients, as
// written into the text and as numbers. Neither is a root or a pole a
// student would type by chance, and together they tell apart any two
// polynomials of degree 5 that differ by more than rounding in practice.
constexpr const char* kSampleTexts[2] = {"0.7", "1.9"};
constexpr double kSampleValues[2] = {0.7, 1.9};
constexpr double kGiveBackTolerance = 1e-9;

std::string UpperWithoutSpaces(std::string_view text) {
  std::string upper;
  upper.reserve(text.size());
  for (char c : text) {
    if (c == ' ') continue;
    upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return upper;
}

// The text with every P replaced by the number written as value.
std::string AtSampleText(const std::string& upper, const char* value) {
  std::string work;
  for (char c : upper) {
    if (c == 'P')
      work += value;
    else
      work += c;
  }
  return work;
}

// A number written with an exponent ('1E-8', '2.5E3'): the evaluator reads
// no exponent, and the letter E is no name it knows.
bool HasExponentNumber(const std::string& upper) {
  for (std::size_t i = 1; i + 1 < upper.size(); ++i) {
    const char before = upper[i - 1];
    const char after = upper[i + 1];
    if (upper[i] == 'E' && (IsDigit(before) || before == '.') &&
        (IsDigit(after) || after == '-' || after == '+'))
      return true;
  }
  return false;
}

bool HasDigitBeforeP(const std::string& upper) {
  for (std::size_t i = 1; i < upper.size(); ++i)
    if (upper[i] == 'P' && IsDigit(upper[i - 1])) return true;
  return false;
}

}  // namespace

CompiledText CompileText(std::string_view text) {
  CompiledText compiled;
  compiled.Text.assign(text);
  // Without spaces, upper-cased: only the letters a to z change.
  const std::string upper = UpperWithoutSpaces(text);
  compiled.FormValid = PowersReadable(upper);
  for (int k = 0; k <= kHighestPower; ++k) {
    const auto i = static_cast<std::size_t>(k);
    std::size_t powerAt = std::string::npos;
    compiled.Cut[i] =
        CutIntoTokens(WorkText(upper, k, compiled.FormValid, powerAt), compiled.Tokens[i]);
  }
  for (std::size_t n = 0; n < 2; ++n)
    compiled.SampleCut[n] =
        CutIntoTokens(AtSampleText(upper, kSampleTexts[n]), compiled.AtSample[n]);
  const auto reads = [&](const TokenString& tokens) {
    for (int i = 0; i < tokens.Operands; ++i) {
      const int from = tokens.Parameter[static_cast<std::size_t>(i)];
      if (from >= 0) compiled.ReadsParameters |= static_cast<std::uint8_t>(1u << from);
    }
  };
  for (const TokenString& tokens : compiled.Tokens) reads(tokens);
  for (const TokenString& tokens : compiled.AtSample) reads(tokens);
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
        compiled.Cut[i] ? Evaluated(compiled.Recorded ? &compiled.Recorded->Powers[i] : nullptr,
                                    compiled.Tokens[i], params)
                        : Evaluation{};
    coeffs[i] = k == 0 ? e.Value : e.Value - coeffs[0];
    if (!e.Ok) valid = false;
  }
  if (!valid) return false;
  ReadSmallCoefficients(compiled, params, coeffs);
  return true;
}

void ReadSmallCoefficients(const CompiledText& compiled, const ParameterValues& params,
                           CoefficientSet& coeffs) {
  for (int k = 1; k <= kHighestPower; ++k)
    ReadSmallCoefficient(compiled, k, params, coeffs[0], coeffs[static_cast<std::size_t>(k)]);
}

bool GivesBackTextValue(const CompiledText& compiled, const ParameterValues& params,
                        const CoefficientSet& coeffs) {
  for (std::size_t n = 0; n < 2; ++n) {
    if (!compiled.SampleCut[n]) return false;
    const Evaluation e = Evaluated(compiled.Recorded ? &compiled.Recorded->Samples[n] : nullptr,
                                   compiled.AtSample[n], params);
    if (!e.Ok) return false;
    const double t = kSampleValues[n];
    double sum = 0;
    double scale = std::fabs(e.Value);
    double power = 1;
    for (double c : coeffs) {
      sum += c * power;
      scale = std::fmax(scale, std::fabs(c * power));
      power *= t;
    }
    // Values that overflow or are not numbers compare with nothing; the
    // coefficients say what they say, as for any developed text.
    if (!std::isfinite(sum) || !std::isfinite(e.Value) || !std::isfinite(scale)) continue;
    if (std::fabs(sum - e.Value) > kGiveBackTolerance * scale) return false;
  }
  return true;
}

bool EvaluatePolynomial(const CompiledText& compiled, const ParameterValues& params,
                        CoefficientSet& coeffs) {
  return EvaluateCompiled(compiled, params, coeffs) && GivesBackTextValue(compiled, params, coeffs);
}

bool EvaluatePolynomialKept(CompiledText& compiled, const ParameterValues& params,
                            CoefficientSet& coeffs) {
  std::array<double, 6> values{};
  for (std::size_t p = 0; p < kParameters.size(); ++p)
    if (compiled.ReadsParameters >> p & 1u) values[p] = params.*kParameters[p].Value;
  CompiledText::Evaluation& kept = compiled.Kept;
  // Compared to the bit: -0 and 0, or two NaNs, may read differently.
  if (kept.Known && std::memcmp(kept.Values.data(), values.data(), sizeof values) == 0) {
    coeffs = kept.Coeffs;
    return kept.Ok;
  }
  if (kept.Known && !compiled.Recorded) {
    auto recorded = std::make_shared<TextReductions>();
    for (std::size_t k = 0; k <= kHighestPower; ++k)
      if (compiled.Cut[k]) recorded->Powers[k] = RecordReduction(compiled.Tokens[k], params);
    for (std::size_t n = 0; n < 2; ++n)
      if (compiled.SampleCut[n])
        recorded->Samples[n] = RecordReduction(compiled.AtSample[n], params);
    compiled.Recorded = std::move(recorded);
  }
  const bool ok = EvaluatePolynomial(compiled, params, coeffs);
  kept = {true, ok, values, coeffs};
  return ok;
}

bool CompileFunction(DiagramState& s, int i, const ParameterValues& params) {
  const auto f = static_cast<std::size_t>(i);
  const auto kept = [&](CompiledText& compiled, const FunctionText& text, CoefficientSet& coeffs) {
    CompileIfChanged(compiled, text.View());
    return EvaluatePolynomialKept(compiled, params, coeffs);
  };
  return kept(s.NumCompiled[f], s.NumText[f], s.NumCoeffs[f]) &&
         kept(s.DenCompiled[f], s.DenText[f], s.DenCoeffs[f]);
}

bool ExtractPolynomial(std::string_view text, const ParameterValues& params,
                       CoefficientSet& coeffs) {
  return EvaluatePolynomial(CompileText(text), params, coeffs);
}

bool ExtractPolynomial(std::string_view text, const DiagramState& s, CoefficientSet& coeffs) {
  return ExtractPolynomial(text, ParametersOf(s), coeffs);
}

std::string RefusalReason(std::string_view text, const ParameterValues& params) {
  const CompiledText compiled = CompileText(text);
  CoefficientSet coeffs{};
  const bool read = EvaluateCompiled(compiled, params, coeffs);
  if (read && GivesBackTextValue(compiled, params, coeffs)) return {};
  const std::string upper = UpperWithoutSpaces(text);
  if (HasExponentNumber(upper))
    return Tr("Texte", "écrivez les nombres sans exposant (0.00000001 et non 1e-8)");
  if (HasDigitBeforeP(upper)) return Tr("Texte", "écrivez * entre un nombre et p (2*p et non 2p)");
  if (!PowersReadable(upper))
    return Tr("Texte", "écrivez les puissances de p de p^1 à p^5, un seul chiffre après ^");
  // Read wrong, or not read at all while the text itself has a value for
  // every p: a polynomial written in some other form.
  bool valued = true;
  for (std::size_t n = 0; n < 2; ++n)
    valued = valued && compiled.SampleCut[n] && EvaluateTokens(compiled.AtSample[n], params).Ok;
  if (read || valued) return Tr("Texte", "développez le polynôme en puissances croissantes de p");
  return {};
}

bool ExtractCoefficients(std::string_view text, const ParameterValues& params,
                         CoefficientSet& coeffs) {
  return EvaluateCompiled(CompileText(text), params, coeffs);
}

bool ExtractCoefficients(std::string_view text, const DiagramState& s, CoefficientSet& coeffs) {
  return ExtractCoefficients(text, ParametersOf(s), coeffs);
}

}  // namespace tv
