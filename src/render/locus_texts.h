// The locus's read-outs in words: the current closed-loop poles with Ksi and wn, which dominate,
// the stability range, the degenerate cases.
#pragma once

#include <string>
#include <vector>

#include "analysis/locus.h"

namespace tv {

// The one line said instead of a locus; empty for Drawn. Windows-1252.
std::string LocusOutcomeText(const Locus& l);

// The closed-loop poles at the current value: a heading, one line per real
// pole or complex pair (with Ksi and wn), then the dominant ones. Windows-1252.
std::vector<std::string> LocusPoleLines(const LocusPoles& p, Parameter param);

// The stability range over the drawn range ("Stable pour 0 <= K < 8", one
// line per interval), the crossings of the imaginary axis, and the values
// where D + N vanishes, drops degree or leaves the doubles. Windows-1252.
std::vector<std::string> LocusRangeLines(const Locus& l);

// A pole as read: "-0.5", "-0.2 ± j1.3" for the upper root of a pair.
std::string PoleText(std::complex<double> r);

}  // namespace tv
