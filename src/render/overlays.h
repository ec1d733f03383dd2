// Measured points, curve capture and the legend drawn over the diagrams.
#pragma once

#include <string>
#include <string_view>

#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/layout.h"

namespace tv {

// Measured points in green, Bode view (5x5 gain, 3x3 phase squares by mode).
// On the scales of the Bode frame f.
void DrawBodeMeasuredPoints(const DiagramState& s, const DrawTarget& t, const FrameResult& f);
// Measured points in green, Black view (5x5 squares); none once the frame
// began a capture.
void DrawBlackMeasuredPoints(const DiagramState& s, const DrawTarget& t, const FrameResult& f,
                             const BlackLayout& layout);

// Marks the frame's capture begun (the redraw, which ticked the product
// first, then sets PointCount := 0) and empties the editor's text.
void BeginCurveCapture(const DiagramState& s, FrameResult& f);
// One line appended to the points editor's text.
void CaptureCurveLine(const DiagramState& s, std::string_view line);

// Legend of the parameters in use, then formulas, on the shared cursor.
void DrawParameterLegend(const DiagramState& s, const DrawTarget& t, LegendCursor& cursor);
void DrawFormulaLabel(const DiagramState& s, const DrawTarget& t, LegendCursor& cursor,
                      int k);  // k = 1..3
std::string PolynomialText(const CoefficientSet& c);
std::string CoefficientText(double x);

}  // namespace tv
