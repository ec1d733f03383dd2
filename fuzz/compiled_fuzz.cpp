// Fuzzes the compiled evaluator against the literal one: values, flags and coefficients must agree
// bit for bit.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "expression/compiled_text.h"
#include "expression/coefficients.h"
#include "expression/evaluator.h"
#include "support/literal_evaluator.h"

namespace {

// Bit for bit, the sign of zero included. A NaN matches any NaN: its sign
// follows the order the compiler gives the operands of a sum or a product,
// differs between two builds of the same code, and is never shown ("Nan").
bool SameBits(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// A power of p other than one digit 1 to 5 standing alone, in the
// upper-cased text without spaces: refused now, read as another before.
bool MisreadPower(std::string_view text) {
  std::string work;
  for (char c : text)
    if (c != ' ') work += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  for (std::size_t p = work.find("P^"); p != std::string::npos; p = work.find("P^", p + 1)) {
    if (p + 2 >= work.size() || work[p + 2] < '1' || work[p + 2] > '5') return true;
    if (p + 3 < work.size() && std::strchr("0123456789.^!", work[p + 3]) != nullptr) return true;
  }
  return false;
}

void Compare(std::string_view text, const tv::CompiledText& compiled,
             const tv::ParameterValues& params) {
  const tv::oracle::Evaluation want = tv::oracle::EvaluateExpression(text, params);
  const tv::Evaluation got = tv::EvaluateExpression(text, params);
  if (got.Ok != want.Ok || !SameBits(got.Value, want.Value)) std::abort();

  tv::CoefficientSet oracle, once, reused;
  const bool oracleOk =
      tv::oracle::ExtractCoefficients(text, params, oracle) && !MisreadPower(text);
  if (tv::ExtractCoefficients(text, params, once) != oracleOk) std::abort();
  if (tv::EvaluateCompiled(compiled, params, reused) != oracleOk) std::abort();
  // A coefficient small against the constant term is read again at a
  // larger p: it may differ from the literal reading by that reading's own
  // error, a few roundings of the constant term.
  const auto same = [&](double read, std::size_t k) {
    const double c0 = std::fabs(oracle[0]);
    if (SameBits(read, oracle[k])) return true;
    return oracleOk && k > 0 && std::fabs(oracle[k]) * 128 < c0 &&
           std::fabs(read - oracle[k]) <= 1e-12 * c0;
  };
  for (std::size_t k = 0; k < 6; ++k)
    if (!same(once[k], k) || !same(reused[k], k)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first 96 bytes, when there are that many, are two sets of the six
  // parameters (any bit pattern); the rest is the text, compiled once and
  // evaluated with both, as a spin step does.
  tv::ParameterValues first, second{0.2, 0.05, 0.5, 10, 0.31, 2};
  if (size >= 96) {
    double v[12];
    std::memcpy(v, data, sizeof v);
    first = {v[0], v[1], v[2], v[3], v[4], v[5]};
    second = {v[6], v[7], v[8], v[9], v[10], v[11]};
    data += 96;
    size -= 96;
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Longer texts are refused by the program and taken by the oracle; no
  // stored text comes near.
  if (text.size() > tv::kLongestExpression) return 0;
  const tv::CompiledText compiled = tv::CompileText(text);
  Compare(text, compiled, first);
  Compare(text, compiled, second);
  return 0;
}
