// The Black-Nichols chart over the Black view: closed-loop iso-gain and iso-phase contours,
// labelled.
#include "render/nichols_chart.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/nichols_grid.h"
#include "core/format.h"
#include "render/primitives.h"

namespace tv {

namespace {

// The chart's frame, as its grid draws it.
constexpr double kLeftDeg = -360, kRightDeg = 0;
constexpr double kLowDb = -30, kHighDb = 40;

struct Mapping {
  double X0, XS, Y0, YS;
  explicit Mapping(const BlackLayout& l) : X0(l.X0), XS(l.XS), Y0(l.Y0), YS(l.YS) {}
  int X(double deg) const { return RoundPixel(X0 + XS * deg / 360); }
  int Y(double db) const { return RoundPixel(Y0 - YS * db / 80); }
};

struct Box {
  int Left, Top, Right, Bottom;
  bool Meets(const Box& o) const {
    return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
  }
};

// The segment a-b cut to the frame (Liang-Barsky); false when nothing is left.
bool Clip(ChartPoint& a, ChartPoint& b) {
  double t0 = 0, t1 = 1;
  const double dx = b.PhaseDeg - a.PhaseDeg, dy = b.GainDb - a.GainDb;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.PhaseDeg - kLeftDeg, kRightDeg - a.PhaseDeg, a.GainDb - kLowDb,
                       kHighDb - a.GainDb};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, r);
    else
      t1 = std::min(t1, r);
    if (t0 > t1) return false;
  }
  const ChartPoint start = a;
  a = {start.PhaseDeg + t0 * dx, start.GainDb + t0 * dy};
  b = {start.PhaseDeg + t1 * dx, start.GainDb + t1 * dy};
  return true;
}

void DrawContour(const DrawTarget& t, const Mapping& map, const ChartContour& c) {
  bool open = false;
  int lastX = 0, lastY = 0;
  for (std::size_t i = 1; i < c.Points.size(); ++i) {
    ChartPoint a = c.Points[i - 1], b = c.Points[i];
    if (!Clip(a, b)) {
      open = false;
      continue;
    }
    const int x1 = map.X(a.PhaseDeg), y1 = map.Y(a.GainDb);
    const int x2 = map.X(b.PhaseDeg), y2 = map.Y(b.GainDb);
    if (x1 == x2 && y1 == y2) continue;
    if (!open || x1 != lastX || y1 != lastY) PlotMoveTo(t, x1, y1);
    PlotLineTo(t, x2, y2);
    open = true;
    lastX = x2;
    lastY = y2;
  }
}

std::string LabelOf(const ChartContour& c) {
  return IntegerText(static_cast<int>(c.Value)) + (c.IsoGain ? " dB" : "\xB0");
}

// Where a label is tried first: iso-phase lines low in the chart, where they
// fan out; closed iso-gain lines at their top; the others right of -90
// degrees, where they are furthest apart.
double Preference(const ChartContour& c, const ChartPoint& p) {
  if (!c.IsoGain) return p.GainDb;
  if (c.Value >= 0) return -p.GainDb;
  return std::abs(p.PhaseDeg + 25);
}

}  // namespace

void DrawNicholsChart(const DrawTarget& t, const BlackLayout& l) {
  // The contours depend on nothing but the chart's frame: traced once.
  static const std::vector<ChartContour> contours = NicholsContours(kLowDb, kHighDb);
  const Mapping map(l);

  UseColour(t, kChartLineGrey);
  SetPen(t, PenStyle::Dotted, t.FramePenWidth);
  for (const ChartContour& c : contours) DrawContour(t, map, c);

  // Labels keep clear of each other, of the frame's own texts and marks,
  // and of the frame's edges.
  const int th = TextHeight(t, "1p");
  const Box frame{map.X(kLeftDeg) + 2, map.Y(kHighDb) + 2, map.X(kRightDeg) - 2, map.Y(kLowDb) - 2};
  std::vector<Box> taken;
  const int critX = map.X(-180), critY = map.Y(0);
  taken.push_back({critX - 20, critY - 6, critX + 8, map.Y(-4.85) + 5 + th});
  for (int k = -3; k <= 4; ++k) {
    const std::string label = IntegerText(10 * k);
    const int y = map.Y(10 * k);
    taken.push_back({t.PlotWidth - 55 - TextWidth(t, label), y, t.PlotWidth - 50, y + th});
  }
  UseColour(t, kChartLabelGrey);
  std::vector<const ChartPoint*> candidates;
  for (const ChartContour& c : contours) {
    const std::string text = LabelOf(c);
    const int tw = TextWidth(t, text);
    candidates.clear();
    for (const ChartPoint& p : c.Points)
      if (p.PhaseDeg >= kLeftDeg && p.PhaseDeg <= kRightDeg && p.GainDb >= kLowDb &&
          p.GainDb <= kHighDb)
        candidates.push_back(&p);
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&c](const ChartPoint* a, const ChartPoint* b) {
                       return Preference(c, *a) < Preference(c, *b);
                     });
    for (const ChartPoint* p : candidates) {
      const int x = map.X(p->PhaseDeg) - tw / 2, y = map.Y(p->GainDb) - th / 2;
      const Box box{x - 1, y - 1, x + tw + 1, y + th + 1};
      if (box.Left < frame.Left || box.Right > frame.Right || box.Top < frame.Top ||
          box.Bottom > frame.Bottom)
        continue;
      if (std::any_of(taken.begin(), taken.end(), [&box](const Box& o) { return o.Meets(box); }))
        continue;
      PlotText(t, x, y, text);
      taken.push_back(box);
      break;
    }
  }
  UseColour(t, kBlack);
}

}  // namespace tv
