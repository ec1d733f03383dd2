// Typed parameter values and the spin-arrow step rule, without any window code.
#pragma once

#include <array>
#include <string_view>

namespace tv {

// Longest text the parameter input dialog takes into account.
inline constexpr int kParameterEntryMax = 12;

struct TypedValue {
  double Value = 0;
  bool WholeTextConverted = false;
};

// Reads a decimal number: optional leading spaces, an optional '+' or '-',
// digits with an optional '.' (which may come first or last, but at least one
// digit), an optional exponent 'E' or 'e' with an optional sign and at least
// one digit, and nothing after it. The point is always '.', whatever the
// locale. WholeTextConverted is true only when the whole text is such a
// number. Otherwise Value is that of the longest leading part that is one
// ("1,5" gives 1, "12abc" 12), or 0 when the text does not begin with a
// number. A number too large for a double converts to nothing (0, rejected);
// one too small for it becomes 0 with its sign.
TypedValue ConvertTypedValue(std::string_view text);

// Which parameter the spin arrows step, from the checked and enabled states of
// RadioButton1..6: K whenever its button is checked, enabled or not; else the
// first of A, T, B, W, Ksi whose button is both checked and enabled; -1 when
// none.
int ParameterToStep(const std::array<bool, 6>& checked, const std::array<bool, 6>& enabled);

// Adds delta to value when the sum is not negative; a sum below zero leaves
// value as it was (no clamping). True when the sum was stored.
bool StepParameter(double& value, double delta);

}  // namespace tv
