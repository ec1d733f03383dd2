// The read-outs as a JSON report: one entry per drawn curve, members appended in order so that more
// can follow.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/asymptotes.h"
#include "analysis/nyquist.h"
#include "analysis/locus.h"
#include "analysis/readouts.h"
#include "core/diagram_state.h"

namespace tv {

// A JSON number that reads back as the same double (17 significant digits
// at most, never fewer than the value needs); null when not finite or absent.
std::string JsonNumber(double value);
std::string JsonNumber(const std::optional<double>& value);
// A JSON string; the bytes are taken as they are, quotes and controls escaped.
std::string JsonString(std::string_view text);

// The members of one JSON object, kept in the order they were added; each
// value is JSON text already.
class JsonObject {
 public:
  void Add(std::string_view key, std::string json);
  std::string Text() const;

 private:
  std::vector<std::pair<std::string, std::string>> members_;
};

// A JSON array of already written values.
std::string JsonArray(const std::vector<std::string>& items);

// One curve's members: "name", "gain_crossovers", "phase_crossovers",
// "closed_loop", "class", "static_gain_db". A read-out of another kind adds
// its own members after these.
JsonObject ReadoutMembers(const CurveReadouts& r);

// The asymptotic diagram's members of one curve, after the others:
// "breaks" ([{"w", "order", "kind": "zero" or "pole", "ksi"}], by increasing
// w) and "initial_slope_db_per_decade"; an empty list and null when the
// curve has no asymptotes.
void AddBreakMembers(JsonObject& o, const CurveAsymptotes& a);

// The Nyquist count of one curve, after the others: "nyquist":
// {"open_loop_rhp_poles", "encirclements", "closed_loop_rhp_poles",
// "stable"}, null where a value does not exist (no locus, or N at the limit
// of stability).
void AddNyquistMembers(JsonObject& o, const NyquistLocus& l);
// The closed loop's members of the product, after the others:
// "closed_loop_poles" ([{"re", "im"}] at the current values, by decreasing
// real part) and "stability" ({"parameter", "intervals": [[lo, hi], ...]}
// over the locus's range; empty when nothing is drawn).
void AddClosedLoopMembers(JsonObject& o, const StateLocus& locus);

// The parameter and range the closed-loop members are taken over: K and its
// default range unless asked otherwise.
struct LocusSettings {
  Parameter Param = Parameter::K;
  std::optional<std::pair<double, double>> Range;
};

// {"curves": [...]} for every drawn curve, in drawing order, from the
// state's current coefficients; ends with a line feed.
std::string ReadoutsReport(const DiagramState& s, const LocusSettings& locus = {});

}  // namespace tv
