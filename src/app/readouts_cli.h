// The read-out options of a run without a window: --tune NAME before drawing, --report FILE.json
// after it.
#pragma once

#include <iosfwd>
#include <string>

#include "analysis/readouts_report.h"
#include "core/diagram_state.h"

namespace tv::app {

// No value of the searched range gives the 2.3 dB closed-loop peak.
inline constexpr int kExitNotTuned = 5;

// Sets the parameter so that the closed-loop peak of the product of the
// ticked functions is 2.3 dB and prints NAME=value on out; otherwise says so
// on err and returns false.
bool TuneFromCommandLine(DiagramState& s, const std::string& name, std::ostream& out,
                         std::ostream& err);

// Writes the read-outs of the drawn curves through the safe writer.
// The product's closed-loop members over the locus's parameter and range.
bool WriteReadoutsReport(const DiagramState& s, const std::string& path, std::string* error,
                         const LocusSettings& locus = {});

}  // namespace tv::app
