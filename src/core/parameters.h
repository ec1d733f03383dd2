// Which parameters the function texts use.
#pragma once

#include <string_view>

#include "core/diagram_state.h"

namespace tv {

// Whether name ("K", "T", "A", "B", "W" or "KSI") occurs in any of the six
// function texts, upper-cased; for "K" the K of every KSI does not count.
bool IsParameterUsed(const DiagramState& s, std::string_view name);

}  // namespace tv
