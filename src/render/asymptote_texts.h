// The breaks and initial slope of a curve in words, as the measurements window lists them.
#pragma once

#include <string>
#include <vector>

#include "analysis/asymptotes.h"
#include "analysis/curves.h"

namespace tv {

// The read-out lines of one curve for the measurements window, in
// Windows-1252 like every text of the program: a title line with the
// initial slope and the class, then one line per break.
std::vector<std::string> BreaksWindowLines(const Curve& c, const CurveAsymptotes& a);

}  // namespace tv
