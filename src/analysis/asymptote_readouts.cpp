// The breaks and initial slope of each drawn curve as read-outs: report fields and the window's
// lines.
#include "core/translate.h"
#include "analysis/asymptote_readouts.h"

#include <charconv>
#include <cmath>

#include "core/format.h"

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

std::vector<std::string> BreaksWindowLines(const Curve& c, const CurveAsymptotes& a) {
  std::vector<std::string> lines;
  if (!a.Valid) {
    lines.push_back(c.Name +
                    Tr("Asymptotes", " : pas d'asymptotes (num\xE9rateur ou d\xE9nominateur nul)"));
    return lines;
  }
  lines.push_back(c.Name + Tr("Asymptotes", " : pente initiale ") +
                  FormatBounded(a.InitialSlopeDbPerDecade()) +
                  Tr("Asymptotes", " dB/d\xE9"
                                   "cade (classe ") +
                  IntegerText(a.Class) + ")");
  if (a.Breaks.empty()) lines.push_back(Tr("Asymptotes", "  aucune cassure"));
  for (const Break& b : a.Breaks) {
    std::string line = "  w = " + FormatBounded(b.W, true) + " rad/s : " +
                       (b.Pole ? Tr("Asymptotes", "p\xF4le") : Tr("Asymptotes", "z\xE9ro")) +
                       Tr("Asymptotes", " d'ordre ") + IntegerText(b.Order);
    if (b.Ksi) line += ", Ksi = " + FormatBounded(*b.Ksi, true);
    if (const std::optional<double> r = b.ResonanceDb())
      line += Tr("Asymptotes", ", r\xE9sonance ") + FormatBounded(*r) + " dB";
    if (b.RightHalfPlane)
      line += Tr("Asymptotes", " (partie r\xE9"
                               "elle positive)");
    lines.push_back(line);
  }
  return lines;
}

std::vector<CurveBreaks> DrawnCurveBreaks(const DiagramState& s) {
  std::vector<CurveBreaks> all;
  for (const Curve& c : DrawnCurves(s)) {
    CurveBreaks b{c, AsymptotesOf(s, c), {}, {}};
    b.ReportFields = BreaksReportFields(b.Asymptotes);
    b.WindowLines = BreaksWindowLines(c, b.Asymptotes);
    all.push_back(std::move(b));
  }
  return all;
}

}  // namespace tv
