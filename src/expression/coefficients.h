// Compiles a polynomial text in p into the coefficients of p^0 .. p^5: cut once per text, evaluated
// at every redraw.
#pragma once

#include <string_view>

#include "core/compiled_text.h"
#include "core/diagram_state.h"
#include "core/parameters.h"

namespace tv {

// Cuts the work text of every power of p into tokens.
CompiledText CompileText(std::string_view text);

// compiled, compiled again from text only when text is not the one it holds.
const CompiledText& CompileIfChanged(CompiledText& compiled, std::string_view text);

// The six coefficients of a compiled text with these values. Overwrites all
// six entries in every case; true when all six evaluations succeeded and the
// text's form is valid (CompiledText::FormValid).
bool EvaluateCompiled(const CompiledText& compiled, const ParameterValues& params,
                      CoefficientSet& coeffs);

// Function i (0..2) of the state: NumCoeffs[i] from NumText[i], then, when
// that is valid, DenCoeffs[i] from DenText[i], through the compiled texts of
// the state, compiled again only where a text changed. True when both are valid.
bool CompileFunction(DiagramState& s, int i, const ParameterValues& params);

// CompileText then EvaluateCompiled, for a text compiled once.
bool ExtractCoefficients(std::string_view text, const ParameterValues& params,
                         CoefficientSet& coeffs);
bool ExtractCoefficients(std::string_view text, const DiagramState& s, CoefficientSet& coeffs);

}  // namespace tv
