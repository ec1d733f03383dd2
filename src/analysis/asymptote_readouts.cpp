// The breaks and initial slope of each drawn curve as the report's fields.
#include "analysis/asymptote_readouts.h"

#include <charconv>
#include <cmath>

namespace tv {

namespace {

// A report number: the shortest decimal text that reads back as the same
// double, which the report's readers compare with their own roots; JSON has
// no text for a non-finite value.
std::string JsonNumber(double x) {
  if (!std::isfinite(x)) return "null";
  if (x == 0) return "0";  // never "-0"
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x);
  if (ec != std::errc()) return "null";
  return std::string(buf, end);
}

}  // namespace

std::string BreaksReportFields(const CurveAsymptotes& a) {
  std::string out = "\"breaks\": [";
  if (a.Valid) {
    for (std::size_t i = 0; i < a.Breaks.size(); ++i) {
      const Break& b = a.Breaks[i];
      if (i > 0) out += ", ";
      out += "{\"w\": " + JsonNumber(b.W) + ", \"order\": " + std::to_string(b.Order) +
             ", \"kind\": \"" + (b.Pole ? "pole" : "zero") +
             "\", \"ksi\": " + (b.Ksi ? JsonNumber(*b.Ksi) : "null") + "}";
    }
  }
  out += "], \"initial_slope_db_per_decade\": ";
  out += a.Valid ? JsonNumber(a.InitialSlopeDbPerDecade()) : "null";
  return out;
}

std::vector<CurveBreaks> DrawnCurveBreaks(const DiagramState& s) {
  std::vector<CurveBreaks> all;
  for (const Curve& c : DrawnCurves(s)) {
    CurveBreaks b{c, AsymptotesOf(s, c), {}};
    b.ReportFields = BreaksReportFields(b.Asymptotes);
    all.push_back(std::move(b));
  }
  return all;
}

}  // namespace tv
