// The breaks and initial slope of each drawn curve as read-outs: report fields and the window's
// lines.
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

// The read-out lines of one curve for the measurements window, in
// Windows-1252 like every text of the program: a title line with the
// initial slope and the class, then one line per break.
std::vector<std::string> BreaksWindowLines(const Curve& c, const CurveAsymptotes& a);

// Both read-outs for every drawn curve of the state, in drawing order.
struct CurveBreaks {
  Curve Which;
  CurveAsymptotes Asymptotes;
  std::string ReportFields;
  std::vector<std::string> WindowLines;
};
std::vector<CurveBreaks> DrawnCurveBreaks(const DiagramState& s);

}  // namespace tv
