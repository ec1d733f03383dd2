// The display rules the window's controls and the command line share: the gain scale, the margins,
// the capture.
#pragma once

#include <cstdint>

#include "core/diagram_state.h"

namespace tv {

// The Bode view's gain scale is set from its top, in steps of 10 dB; its
// bottom follows at 10 dB minus the top (0…10 dB up to −90…100 dB).
inline constexpr std::int32_t kGainTopLowestDb = 10;
inline constexpr std::int32_t kGainTopHighestDb = 100;
inline constexpr std::int32_t kGainTopStepDb = 10;
void SetGainScaleTop(DiagramState& s, std::int32_t topDb);

// Margins are only ever searched with gain and phase both drawn: turns the
// search on and brings back the mode "Gain+Phase".
void SearchMargins(DiagramState& s);
// Whether the pictures search the margins: "Marges" ticked with gain and
// phase both drawn (in either view).
bool MarginsSearched(const DiagramState& s);

// "Courbe en cours": one redraw by the host during which the renderers copy
// the product curve's points into the points editor; the capture ticks
// H1.H2.H3 first, whose own redraw comes before the copy.
void CaptureProductCurve(DiagramState& s);

}  // namespace tv
