// Conversion of a typed parameter value and the rule of the spin-arrow steps.
#include "core/parameter_entry.h"

#include <charconv>
#include <cstddef>
#include <system_error>

namespace tv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The extent of the number at the start of a text, found by the grammar alone.
struct NumberScan {
  std::size_t Begin = 0;  // first character of the sign or mantissa
  std::size_t End = 0;    // one past the last character of the number
  bool Found = false;     // at least one mantissa digit
  bool Negative = false;
  bool MantissaZero = true;  // every mantissa digit is '0'
  long long Order = 0;       // decimal order of the first non-zero digit, exponent included
};

NumberScan Scan(std::string_view text) {
  NumberScan scan;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  scan.Begin = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    scan.Negative = text[i] == '-';
    ++i;
  }
  long long integerDigits = 0;
  long long firstNonZero = 0;  // order of the first non-zero digit, before the exponent
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    if (text[i] != '0' && scan.MantissaZero) {
      scan.MantissaZero = false;
      firstNonZero = integerDigits;  // counted from the start, fixed up below
    }
    ++integerDigits;
    ++digits;
    ++i;
  }
  if (!scan.MantissaZero) firstNonZero = integerDigits - firstNonZero;
  if (i < text.size() && text[i] == '.') {
    ++i;
    long long position = 0;
    while (i < text.size() && IsDigit(text[i])) {
      ++position;
      if (text[i] != '0' && scan.MantissaZero) {
        scan.MantissaZero = false;
        firstNonZero = 1 - position;
      }
      ++digits;
      ++i;
    }
  }
  if (digits == 0) return scan;  // a sign or a point alone is no number
  scan.Found = true;
  scan.End = i;

  // The exponent counts only when at least one digit follows the E and its sign.
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      negativeExponent = text[j] == '-';
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      long long exponent = 0;
      while (j < text.size() && IsDigit(text[j])) {
        // Saturates far beyond any double's range; only the sign of the order matters then.
        if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
        ++j;
      }
      firstNonZero += negativeExponent ? -exponent : exponent;
      scan.End = j;
    }
  }
  scan.Order = firstNonZero;
  return scan;
}

}  // namespace

TypedValue ConvertTypedValue(std::string_view text) {
  const NumberScan scan = Scan(text);
  TypedValue result;
  if (!scan.Found) return result;

  // from_chars takes no '+' and never looks at the locale.
  std::size_t from = scan.Begin;
  if (text[from] == '+') ++from;
  double value = 0;
  const char* first = text.data() + from;
  const char* last = text.data() + scan.End;
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Out of range with a non-zero mantissa: too large (order above 0) or too small.
    if (scan.Order > 0) return result;
    value = scan.Negative ? -0.0 : 0.0;
  } else if (ec != std::errc() || ptr != last) {
    return result;  // cannot happen for a text the scan accepted
  }
  result.Value = value;
  result.WholeTextConverted = scan.End == text.size();
  return result;
}

int ParameterToStep(const std::array<bool, 6>& checked, const std::array<bool, 6>& enabled) {
  if (checked[0]) return 0;
  for (int i = 1; i < 6; ++i)
    if (checked[i] && enabled[i]) return i;
  return -1;
}

bool StepParameter(double& value, double delta) {
  const double sum = value + delta;
  if (!(sum >= 0.0)) return false;
  value = sum;
  return true;
}

}  // namespace tv
