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
// Plain decimal digits with a leading '-' for negative values.
std::string IntegerText(std::int32_t n);

}  // namespace tv
