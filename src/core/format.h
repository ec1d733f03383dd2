// The only number-to-text conversions of the program.
#pragma once

#include <cstdint>
#include <string>

namespace tv {

// Shortest plain decimal text with at most 3 decimals ("0.063" for 0.0625,
// "-0" for -0.0004, "Nan", "+Inf", "-Inf"). The point is always '.'.
std::string FormatReal(double x);
// The same with at most 5 decimals.
std::string FormatRealFine(double x);
// A read-out or an axis label in a bounded width: FormatReal (or, with
// fine, FormatRealFine) while the plain text keeps at least two significant
// digits and stays below a million; beyond, four significant digits in
// scientific notation ("1e-8", "-6.39e-3", "1.797e308"), so that a tiny
// value never reads 0 and a huge one never runs to hundreds of digits.
std::string FormatBounded(double x, bool fine = false);
// Plain decimal digits with a leading '-' for negative values.
std::string IntegerText(std::int32_t n);

}  // namespace tv
