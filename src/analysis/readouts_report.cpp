// The JSON report of the read-outs: numbers that read back exactly, null for what does not exist.
#include "analysis/readouts_report.h"

#include <charconv>
#include <cmath>

#include "analysis/asymptotes.h"
#include "analysis/curves.h"

namespace tv {

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  if (value == 0) return "0";  // never "-0"
  char buf[32];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
  (void)ec;  // 24 characters at most
  return std::string(buf, end);
}

std::string JsonNumber(const std::optional<double>& value) {
  return value ? JsonNumber(*value) : "null";
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[(c >> 4) & 0xf];
      out += kHex[c & 0xf];
    } else {
      out += c;
    }
  }
  return out + '"';
}

void JsonObject::Add(std::string_view key, std::string json) {
  members_.emplace_back(std::string(key), std::move(json));
}

std::string JsonObject::Text() const {
  std::string out = "{";
  for (std::size_t i = 0; i < members_.size(); ++i) {
    if (i > 0) out += ", ";
    out += JsonString(members_[i].first) + ": " + members_[i].second;
  }
  return out + "}";
}

std::string JsonArray(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) out += (i > 0 ? ", " : "") + items[i];
  return out + "]";
}

JsonObject ReadoutMembers(const CurveReadouts& r) {
  JsonObject o;
  o.Add("name", JsonString(r.Name));
  std::vector<std::string> gains, phases;
  for (const GainCrossover& c : r.GainCrossovers) {
    JsonObject item;
    item.Add("w", JsonNumber(c.W));
    item.Add("phase_margin_deg", JsonNumber(c.PhaseMarginDeg));
    gains.push_back(item.Text());
  }
  for (const PhaseCrossover& c : r.PhaseCrossovers) {
    JsonObject item;
    item.Add("w", JsonNumber(c.W));
    item.Add("gain_margin_db", JsonNumber(c.GainMarginDb));
    phases.push_back(item.Text());
  }
  o.Add("gain_crossovers", JsonArray(gains));
  o.Add("phase_crossovers", JsonArray(phases));
  JsonObject closed;
  closed.Add("peak_db", JsonNumber(r.ClosedLoop.PeakDb));
  closed.Add("peak_w", JsonNumber(r.ClosedLoop.PeakW));
  closed.Add("bandwidth_w", JsonNumber(r.ClosedLoop.BandwidthW));
  if (r.ClosedLoop.NoResonance)
    closed.Add("high_frequency_limit_db", JsonNumber(r.ClosedLoop.HighFrequencyLimitDb));
  o.Add("closed_loop", closed.Text());
  o.Add("class", r.Defined ? std::to_string(r.Class) : "null");
  o.Add("static_gain_db", JsonNumber(r.StaticGainDb));
  return o;
}

void AddBreakMembers(JsonObject& o, const CurveAsymptotes& a) {
  std::vector<std::string> breaks;
  if (a.Valid) {
    for (const Break& b : a.Breaks) {
      JsonObject item;
      item.Add("w", JsonNumber(b.W));
      item.Add("order", std::to_string(b.Order));
      item.Add("kind", JsonString(b.Pole ? "pole" : "zero"));
      item.Add("ksi", JsonNumber(b.Ksi));
      breaks.push_back(item.Text());
    }
  }
  o.Add("breaks", JsonArray(breaks));
  o.Add("initial_slope_db_per_decade",
        a.Valid ? JsonNumber(a.InitialSlopeDbPerDecade()) : std::string("null"));
}

void AddNyquistMembers(JsonObject& o, const NyquistLocus& l) {
  JsonObject n;
  const bool drawn = l.Outcome == NyquistOutcome::Drawn;
  const NyquistVerdict& v = l.Verdict;
  n.Add("open_loop_rhp_poles", drawn ? std::to_string(v.OpenLoopRhp) : "null");
  n.Add("encirclements",
        drawn && v.Encirclements ? std::to_string(*v.Encirclements) : std::string("null"));
  n.Add("closed_loop_rhp_poles", drawn ? std::to_string(v.ClosedLoopRhp) : "null");
  n.Add("stable", drawn ? (v.Stable() ? "true" : "false") : "null");
  o.Add("nyquist", n.Text());
}

void AddClosedLoopMembers(JsonObject& o, const StateLocus& locus) {
  std::vector<std::string> poles, intervals;
  if (locus.Poles.Ok)
    for (const std::complex<double>& r : locus.Poles.Closed) {
      JsonObject item;
      item.Add("re", JsonNumber(r.real()));
      item.Add("im", JsonNumber(r.imag()));
      poles.push_back(item.Text());
    }
  o.Add("closed_loop_poles", JsonArray(poles));
  if (locus.L.Outcome == LocusOutcome::Drawn)
    for (const StableInterval& i : locus.L.Stable)
      intervals.push_back(JsonArray({JsonNumber(i.Low), JsonNumber(i.High)}));
  JsonObject stability;
  stability.Add("parameter", JsonString(Info(locus.L.Param).Name));
  stability.Add("intervals", JsonArray(intervals));
  o.Add("stability", stability.Text());
}

std::string ReadoutsReport(const DiagramState& s, const LocusSettings& locus) {
  std::string out = "{\"curves\": [";
  const std::vector<CurveReadouts> all = DrawnCurveReadouts(s);
  // The same curves in the same order: the asymptotes' members follow.
  const std::vector<Curve> curves = DrawnCurves(s);
  for (std::size_t i = 0; i < all.size(); ++i) {
    JsonObject members = ReadoutMembers(all[i]);
    if (i < curves.size()) AddBreakMembers(members, AsymptotesOf(s, curves[i]));
    if (i < curves.size()) AddNyquistMembers(members, ComputeNyquist(FactorsOf(s, curves[i])));
    if (i < curves.size() && curves[i].Product)
      AddClosedLoopMembers(members, ComputeStateLocus(s, locus.Param, locus.Range));
    out += (i > 0 ? ",\n  " : "\n  ") + members.Text();
  }
  return out + (all.empty() ? "" : "\n") + "]}\n";
}

}  // namespace tv
