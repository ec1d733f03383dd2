// Number-to-text conversions: fixed decimals, no exponent, no trailing zeros, '.' always.
#include "core/format.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

namespace tv {

namespace {

// Significant digits the value is taken to before the decimal rounding.
constexpr int kSignificantDigits = 18;

// Fixed-point text of x with exactly `decimals` digits after the point, then
// stripped of trailing zeros and of a trailing point. The magnitude is first
// written to 18 significant digits, and that digit string is rounded at the
// last kept decimal, a first dropped digit of 5 or more rounding the magnitude
// up. Negative values keep their '-' even when they round to zero.
std::string FormatFixed(double x, int decimals) {
  if (std::isnan(x)) return "Nan";
  if (std::isinf(x)) return x > 0 ? "+Inf" : "-Inf";
  if (x == 0) return "0";

  const bool negative = std::signbit(x);
  const double magnitude = std::fabs(x);

  // d.ddddddddddddddddde±XXX: 18 digits and a decimal exponent.
  char sci[40];
  const auto [end, ec] = std::to_chars(sci, sci + sizeof sci, magnitude,
                                       std::chars_format::scientific, kSignificantDigits - 1);
  if (ec != std::errc()) return "Nan";  // cannot happen with a 40-byte buffer
  const std::string_view text(sci, static_cast<std::size_t>(end - sci));
  const std::size_t ePos = text.find('e');

  std::string digits;
  digits.reserve(kSignificantDigits);
  for (std::size_t i = 0; i < ePos; ++i) {
    if (text[i] != '.') digits.push_back(text[i]);
  }
  int exponent = 0;
  {
    std::size_t p = ePos + 1;
    if (text[p] == '+') ++p;  // from_chars does not take a '+'
    std::from_chars(text.data() + p, text.data() + text.size(), exponent);
  }

  // Digit i of `digits` weighs 10^(exponent - i); keep those weighing at least
  // 10^-decimals. `units` becomes round(magnitude * 10^decimals) in decimal.
  const int keep = exponent + decimals + 1;
  std::string units;
  if (keep <= 0) {
    const bool up = keep == 0 && digits[0] >= '5';
    units.assign(1, up ? '1' : '0');
  } else if (keep >= static_cast<int>(digits.size())) {
    units = digits;
    units.append(static_cast<std::size_t>(keep) - digits.size(), '0');
  } else {
    units = digits.substr(0, static_cast<std::size_t>(keep));
    if (digits[static_cast<std::size_t>(keep)] >= '5') {
      int i = keep - 1;
      while (i >= 0 && units[static_cast<std::size_t>(i)] == '9') {
        units[static_cast<std::size_t>(i)] = '0';
        --i;
      }
      if (i >= 0) {
        ++units[static_cast<std::size_t>(i)];
      } else {
        units.insert(units.begin(), '1');
      }
    }
  }

  // At least one digit before the point.
  const std::size_t minLength = static_cast<std::size_t>(decimals) + 1;
  if (units.size() < minLength) units.insert(0, minLength - units.size(), '0');

  std::string out;
  out.reserve(units.size() + 2);
  if (negative) out.push_back('-');
  const std::size_t intLength = units.size() - static_cast<std::size_t>(decimals);
  out.append(units, 0, intLength);
  out.push_back('.');
  out.append(units, intLength, std::string::npos);

  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

}  // namespace

std::string FormatReal(double x) { return FormatFixed(x, 3); }

std::string FormatRealFine(double x) { return FormatFixed(x, 5); }

std::string FormatBounded(double x, bool fine) {
  const int decimals = fine ? 5 : 3;
  const double magnitude = std::fabs(x);
  // The plain text holds two significant digits from 10^(1 - decimals) up.
  const double smallest = fine ? 1e-4 : 1e-2;
  if (!std::isfinite(x) || x == 0 || (magnitude >= smallest && magnitude < 1e6))
    return FormatFixed(x, decimals);
  char sci[40];
  const auto [end, ec] = std::to_chars(sci, sci + sizeof sci, x, std::chars_format::scientific, 3);
  if (ec != std::errc()) return FormatFixed(x, decimals);  // cannot happen with 40 bytes
  const std::string_view text(sci, static_cast<std::size_t>(end - sci));
  const std::size_t ePos = text.find('e');
  std::string out(text.substr(0, ePos));
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  out += 'e';
  std::size_t p = ePos + 1;
  if (text[p] == '-') out += text[p];
  ++p;  // the sign, '+' or '-'
  while (p + 1 < text.size() && text[p] == '0') ++p;
  out.append(text.substr(p));
  return out;
}

std::string IntegerText(std::int32_t n) {
  char buf[16];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
  (void)ec;  // 11 characters at most
  return std::string(buf, end);
}

}  // namespace tv
