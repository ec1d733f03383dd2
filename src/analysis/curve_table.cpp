// The drawn curves as numbers: gain and phase of each at the pulsations the picture's sweep uses,
// and their CSV text.
#include "analysis/curve_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "analysis/curves.h"
#include "response/response.h"

namespace tv {

namespace {

// The Black sweep's bounds: beyond them the powers of w leave the normal
// doubles, and the picture does not go.
constexpr std::int64_t kLowestDecade = -30;
constexpr std::int64_t kHighestDecade = 30;
constexpr double kDegPerRad = 180 / std::numbers::pi;

// Appends one column of every curve; false once a function cannot be drawn
// at w. Every ticked function is a curve of its own, so all of them are
// evaluated, as in the picture. Where a zero or a pole of a curve lies on the
// imaginary axis at w the picture goes on through an infinite gain: the
// column says -inf or inf dB there, with the phase the picture keeps.
bool AddColumn(const DiagramState& s, const std::vector<Curve>& curves, double w, CurveTable& t) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  const double w2 = w * w;
  std::uint8_t valid = 1;
  Response h[3];
  int order[3] = {};
  for (const Curve& c : curves)
    if (!c.Product) {
      const int i = c.Factors[0];
      h[i] = SampledResponse(s, i, w, w2, valid, order[i]);
    }
  t.W.push_back(w);
  for (std::size_t c = 0; c < curves.size(); ++c) {
    double gain = 0, phase = 0;
    int orders = 0;
    for (int i : curves[c].Factors) {
      gain += h[i].GainDb;
      phase += h[i].PhaseRad;
      orders += order[i];
    }
    t.GainDb[c].push_back(orders > 0 ? -inf : orders < 0 ? inf : gain);
    t.PhaseDeg[c].push_back(phase * kDegPerRad);
  }
  return valid != 0;
}

void AppendNumber(std::string& out, double v) {
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 15);
  out.append(buffer, result.ptr);
}

}  // namespace

CurveTable SweepDrawnCurves(const DiagramState& s, int plotWidth) {
  CurveTable t;
  const std::vector<Curve> curves = DrawnCurves(s);
  for (const Curve& c : curves) t.Names.push_back(c.Name);
  t.GainDb.resize(curves.size());
  t.PhaseDeg.resize(curves.size());
  const double L = std::numbers::ln10;
  if (s.BlackView == 1) {
    const std::int64_t from = std::max<std::int64_t>(s.DecadeMin, kLowestDecade);
    const std::int64_t to = std::min<std::int64_t>(s.DecadeMax, kHighestDecade);
    bool valid = true;
    for (std::int64_t k = from; k <= to && valid; ++k) {
      const double decade = std::exp(static_cast<double>(k) * L);
      // The decade is finished even after a zero, as the picture does.
      for (int m = 50; m <= 500; ++m) valid = AddColumn(s, curves, decade * m / 50, t) && valid;
    }
    return t;
  }
  const std::int64_t D = static_cast<std::int64_t>(s.DecadeMax) - s.DecadeMin;
  if (plotWidth <= 60 || D <= 0) return t;
  const int N = plotWidth - 60;
  const double r = static_cast<double>(D) / N;
  const int lastColumn = std::min(N, 1 << 24);
  const double decadeMin = s.DecadeMin;
  double column = 0;
  for (int i = 0; i <= lastColumn; ++i, column += 1)
    if (!AddColumn(s, curves, std::exp((decadeMin + column * r) * L), t)) break;
  return t;
}

std::string CurveTableCsv(const CurveTable& t) {
  std::string out = "w";
  for (const std::string& name : t.Names) out += "," + name + "_gain_db," + name + "_phase_deg";
  out += '\n';
  for (std::size_t k = 0; k < t.W.size(); ++k) {
    AppendNumber(out, t.W[k]);
    for (std::size_t c = 0; c < t.Names.size(); ++c) {
      out += ',';
      AppendNumber(out, t.GainDb[c][k]);
      out += ',';
      AppendNumber(out, t.PhaseDeg[c][k]);
    }
    out += '\n';
  }
  return out;
}

}  // namespace tv
