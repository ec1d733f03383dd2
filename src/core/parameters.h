// The six parameters in one table (names, labels, fields, the orders each use needs); which ones
// the texts use.
#pragma once

#include <array>
#include <string_view>

#include "core/diagram_state.h"

namespace tv {

// The six values a function text is evaluated with, apart from the state.
// Declared in the evaluator's keyword order (kEvaluatorOrder), so that
// {A, B, T, K, Ksi, W} lists them as the evaluator names them.
struct ParameterValues {
  double A = 1, B = 1, T = 1, K = 1, Ksi = 1, W = 1;
};

struct ParameterInfo {
  Parameter Id;
  std::string_view Name;            // as the command line and the menus write it: "Ksi"
  std::string_view ExpressionName;  // as a function text names it, upper-cased: "KSI"
  std::string_view LegendLabel;     // before its value in the picture's legend: "Ksi= "
  double DiagramState::*Field;
  double ParameterValues::*Value;
};

// In the legend's order, K, T, A, B, W, Ksi; the other uses name their own
// order from it.
inline constexpr std::array<ParameterInfo, 6> kParameters{{
    {Parameter::K, "K", "K", "K= ", &DiagramState::ParamK, &ParameterValues::K},
    {Parameter::T, "T", "T", "T= ", &DiagramState::ParamT, &ParameterValues::T},
    {Parameter::A, "A", "A", "A= ", &DiagramState::ParamA, &ParameterValues::A},
    {Parameter::B, "B", "B", "B= ", &DiagramState::ParamB, &ParameterValues::B},
    {Parameter::W, "W", "W", "W= ", &DiagramState::ParamW, &ParameterValues::W},
    {Parameter::Ksi, "Ksi", "KSI", "Ksi= ", &DiagramState::ParamKsi, &ParameterValues::Ksi},
}};

// The panel's radio buttons, left column then right: K, A, T, then B, W, Ksi.
inline constexpr std::array<Parameter, 6> kControlOrder{Parameter::K, Parameter::A, Parameter::T,
                                                        Parameter::B, Parameter::W, Parameter::Ksi};
// The order the radio buttons' captions are written in: K, A, T, B, Ksi, W.
inline constexpr std::array<Parameter, 6> kCaptionOrder{Parameter::K, Parameter::A,   Parameter::T,
                                                        Parameter::B, Parameter::Ksi, Parameter::W};
// The evaluator's keyword values: A, B, T, K, Ksi, W.
inline constexpr std::array<Parameter, 6> kEvaluatorOrder{
    Parameter::A, Parameter::B, Parameter::T, Parameter::K, Parameter::Ksi, Parameter::W};
// The transfer file's eight-byte reals: A, T, K, B, W, Ksi.
inline constexpr std::array<Parameter, 6> kFileOrder{Parameter::A, Parameter::T, Parameter::K,
                                                     Parameter::B, Parameter::W, Parameter::Ksi};

constexpr const ParameterInfo& Info(Parameter p) {
  return kParameters[static_cast<std::size_t>(p)];
}
inline double& ParameterValue(DiagramState& s, Parameter p) { return s.*Info(p).Field; }
inline double ParameterValue(const DiagramState& s, Parameter p) { return s.*Info(p).Field; }

// The state's six values, for the evaluator.
inline ParameterValues ParametersOf(const DiagramState& s) {
  ParameterValues v;
  for (const ParameterInfo& info : kParameters) v.*info.Value = s.*info.Field;
  return v;
}

// The parameter of that name, letters in any case ("ksi", "KSI", "Ksi");
// nullptr when none.
const ParameterInfo* FindParameter(std::string_view name);

// Whether name ("K", "T", "A", "B", "W" or "KSI") occurs in any of the six
// function texts, upper-cased; for "K" the K of every KSI does not count.
bool IsParameterUsed(const DiagramState& s, std::string_view name);

}  // namespace tv
