// Compiles a polynomial text in p into the coefficients of p^0 .. p^5: cut once per text, evaluated
// at every redraw.
#pragma once

#include <string>
#include <string_view>

#include "expression/compiled_text.h"
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

// The coefficients of p^1..p^5 that are small against the constant term read
// again at a larger p, where (c_0 + c_k) - c_0 would lose their digits. Part
// of EvaluateCompiled; for callers that evaluated the powers' texts otherwise.
void ReadSmallCoefficients(const CompiledText& compiled, const ParameterValues& params,
                           CoefficientSet& coeffs);

// Whether coeffs, read from compiled with these values, give back the text's
// own value at two values of p (to a relative 1e-9). The rewriting that reads
// the coefficients sets one power of p to 1 and the others to 0, which reads
// only a developed polynomial right: "(1+p)^2" would give 1+3p. Values that
// overflow are not compared.
bool GivesBackTextValue(const CompiledText& compiled, const ParameterValues& params,
                        const CoefficientSet& coeffs);

// EvaluateCompiled, and false also when the coefficients do not give back
// the text (GivesBackTextValue): what every function text of a diagram goes through.
bool EvaluatePolynomial(const CompiledText& compiled, const ParameterValues& params,
                        CoefficientSet& coeffs);

// EvaluatePolynomial, kept in compiled: when the parameters the text reads
// have the values of its last evaluation, the coefficients and the verdict
// of that one, without evaluating.
bool EvaluatePolynomialKept(CompiledText& compiled, const ParameterValues& params,
                            CoefficientSet& coeffs);

// Function i (0..2) of the state: NumCoeffs[i] from NumText[i], then, when
// that is valid, DenCoeffs[i] from DenText[i], through the compiled texts of
// the state, compiled again only where a text changed (EvaluatePolynomial).
// True when both are valid.
bool CompileFunction(DiagramState& s, int i, const ParameterValues& params);

// CompileText then EvaluateCompiled, for a text compiled once.
bool ExtractCoefficients(std::string_view text, const ParameterValues& params,
                         CoefficientSet& coeffs);
bool ExtractCoefficients(std::string_view text, const DiagramState& s, CoefficientSet& coeffs);

// CompileText then EvaluatePolynomial: a function text compiled once.
bool ExtractPolynomial(std::string_view text, const ParameterValues& params,
                       CoefficientSet& coeffs);
bool ExtractPolynomial(std::string_view text, const DiagramState& s, CoefficientSet& coeffs);

// Why ExtractPolynomial refuses text, in words that tell the user what to
// change; empty when it is accepted or when no such reason is known.
std::string RefusalReason(std::string_view text, const ParameterValues& params);

}  // namespace tv
