// The step-response picture: axes, the curve, the final value and its band, the read-outs marked
// and written.
#pragma once

#include <string>
#include <string_view>

#include "analysis/input_response.h"
#include "analysis/step_response.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"

namespace tv {

// Grid of the step-response picture (its only colour of its own).
inline constexpr Rgb kGridGrey{160, 160, 160};

// Draws the response on the target picture
// (DrawCanvas, ScreenCanvas, PlotWidth, PlotHeight, origins, pen
// widths, ForceBlack), like the diagrams: cleared, then drawn. caption names
// the system ("H1.H2/(1+H1.H2)"); a response that is not Drawn is said in
// its one line instead of a curve. The read-out lines head the picture in
// the colours of their marks: final value black, overshoot red, settling
// time purple, rise time green. parameters, when not empty, is written in
// the lower left corner (a copied or printed picture says its values).
void DrawStepView(const DrawTarget& picture, const StepResponse& r, std::string_view caption,
                  std::string_view parameters = {});

// The values of the parameters the function texts of s use, as the main
// picture's legend writes them, on one line.
std::string StepParameterLine(const DiagramState& s);

// The same for any input: a step as above; a ramp with the ramp r(t) = t
// dotted and its tracking error (red arrow at the end of the span when
// finite); an impulse with its peak marked in red and a Dirac said in words.
void DrawInputView(const DrawTarget& picture, const InputResponse& r, std::string_view caption,
                   std::string_view parameters = {});

// The system's caption: the product of the ticked functions as box 4 names
// it, over 1 plus itself for the closed loop.
std::string StepCaption(const DiagramState& s, bool closedLoop);

}  // namespace tv
