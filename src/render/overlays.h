// Measured points, curve capture and the legend drawn over the diagrams.
#pragma once

#include <string>
#include <string_view>

#include "core/diagram_state.h"
#include "render/layout.h"

namespace tv {

// Measured points in green, Bode view (5x5 gain, 3x3 phase squares by mode).
void DrawBodeMeasuredPoints(DiagramState& s);
// Measured points in green, Black view (5x5 squares).
void DrawBlackMeasuredPoints(DiagramState& s, const BlackLayout& layout);

// Ticks CheckBox4 (its handler runs), then PointCount := 0 and the editor
// text emptied.
void BeginCurveCapture(DiagramState& s);
// One line appended to the points editor's text.
void CaptureCurveLine(DiagramState& s, std::string_view line);

// Legend of the parameters in use, then formulas, on the shared cursor.
void DrawParameterLegend(DiagramState& s, LegendCursor& cursor);
void DrawFormulaLabel(DiagramState& s, LegendCursor& cursor, int k);  // k = 1..3
std::string PolynomialText(const CoefficientSet& c);
std::string CoefficientText(double x);

}  // namespace tv
