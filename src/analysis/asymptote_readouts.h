// The breaks and initial slope of each drawn curve as the report's fields.
#pragma once

#include <string>
#include <vector>

#include "analysis/asymptotes.h"
#include "analysis/curves.h"
#include "core/diagram_state.h"

namespace tv {

// The two report fields of one curve, without braces, ready to go after the
// curve's other fields:
//   "breaks": [{"w": 2, "order": 1, "kind": "pole", "ksi": null}, ...],
//   "initial_slope_db_per_decade": -20
// Pulsations and Ksi are written exactly (shortest text that reads back the
// same double, at least 12 significant digits when the value needs them).
// An invalid curve gives "breaks": [] and a null slope.
std::string BreaksReportFields(const CurveAsymptotes& a);

// The breaks and report fields of every drawn curve of the state, in drawing order.
struct CurveBreaks {
  Curve Which;
  CurveAsymptotes Asymptotes;
  std::string ReportFields;
};
std::vector<CurveBreaks> DrawnCurveBreaks(const DiagramState& s);

}  // namespace tv
