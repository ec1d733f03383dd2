// The Black view: chart, critical point, 2.3 dB contour, the swept curves and their labels.
#include "render/black.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "core/diagram_host.h"
#include "core/display_rules.h"
#include "core/format.h"
#include "render/margins.h"
#include "render/nichols_chart.h"
#include "render/overlays.h"
#include "render/paper.h"
#include "render/primitives.h"
#include "render/sweep_memo.h"
#include "render/sweep_run.h"
#include "response/response.h"

namespace tv {

namespace {

constexpr double kPi = std::numbers::pi;

// Beyond these decades w^10, the squared modulus of a p^5 term, is no longer
// a normal double (it overflows before 10^31 and is subnormal, with slow
// arithmetic, below 10^-30), so the curves carry no information there; a
// range read from a file is cut to them, which also keeps the sweep of a
// redraw within 61 decades (the buttons give at most 12).
constexpr std::int64_t kLowestDecade = -30;
constexpr std::int64_t kHighestDecade = 30;

// One row of the closed-loop 2.3 dB contour: gain and the phase on each side
// of -180 degrees, in degrees as tabulated.
struct ContourRow {
  double GainDb;
  double RightDeg;
  double LeftDeg;
};

constexpr ContourRow kContour[23] = {
    {-4.85, -180.00, -180.00}, {-4.7, -167.97, -192.00}, {-4.5, -164.00, -196.00},
    {-4, -157.15, -203.00},    {-3, -148.33, -212.00},   {-2, -142.37, -218.00},
    {-1, -138.01, -222.00},    {0, -134.87, -226.00},    {1, -132.47, -228.00},
    {2, -130.90, -230.00},     {3, -130.01, -230.00},    {4, -129.77, -230.00},
    {5, -130.16, -230.00},     {6, -131.21, -229.00},    {7, -132.94, -228.00},
    {8, -135.47, -225.00},     {9, -138.94, -221.00},    {10, -143.62, -216.50},
    {11, -150.09, -210.00},    {12, -160.07, -200.00},   {12.3, -164.65, -195.50},
    {12.4, -166.67, -193.50},  {12.6, -180.00, -180.00},
};

constexpr double Radians(double deg) { return deg * kPi / 180.0; }

// Plot coordinates of a phase in radians and a gain in dB.
int PhaseX(const BlackLayout& l, double phaseRad) {
  return RoundPixel(l.X0 + l.XS * phaseRad / (2 * kPi));
}
int GainY(const BlackLayout& l, double gainDb) { return RoundPixel(l.Y0 - l.YS * gainDb / 80.0); }

// The same mapping with the layout already as reals, for the sweep: the
// conversions are exact, so every point lands where it did.
struct Mapping {
  double X0, XS, Y0, YS;
  explicit Mapping(const BlackLayout& l) : X0(l.X0), XS(l.XS), Y0(l.Y0), YS(l.YS) {}
  int X(double phaseRad) const { return RoundPixel(X0 + XS * phaseRad / (2 * kPi)); }
  int Y(double gainDb) const { return RoundPixel(Y0 - YS * gainDb / 80.0); }
};

// A gain in dB, infinite where a zero (order > 0) or a pole of the curve
// lies on the imaginary axis at the sample's pulsation; and its row there,
// the plot's bottom or top edge.
double SampleGain(int order, double finite) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  return order > 0 ? -inf : order < 0 ? inf : finite;
}
int SampleRow(const DrawTarget& t, const Mapping& map, int order, double finite) {
  return order > 0 ? t.PlotHeight : order < 0 ? 0 : map.Y(finite);
}

// On paper the curves stay between the chart's top and bottom gain lines;
// across, up to the plot's right edge, so that a phase above 0 degrees
// still shows.
PaperFrame BlackPaperFrame(const DrawTarget& t, const BlackLayout& l) {
  return {30, GainY(l, 40), t.PlotWidth, GainY(l, -30)};
}

// Whether a labelled point's 5 x 5 marker lies wholly inside the frame.
bool InFrame(const PaperFrame& f, int x, int y) {
  return x - 2 >= f.Left && x + 2 <= f.Right && y - 2 >= f.Top && y + 2 <= f.Bottom;
}

// Per curve: the previous sample of the sweep (dB, rad, pixel).
struct Slot {
  double PrevGainDb = 0;
  double PrevPhaseRad = 0;
  int PrevX = 0;
  int PrevY = 0;
};

void DrawChart(const DiagramState& s, const DrawTarget& t, const BlackLayout& l) {
  UseColour(t, kBlack);
  DrawMarker(t, PhaseX(l, -kPi), GainY(l, 0));
  SetPen(t, PenStyle::Solid, t.FramePenWidth);

  PlotMoveTo(t, PhaseX(l, Radians(kContour[0].RightDeg)), GainY(l, kContour[0].GainDb));
  for (int r = 1; r < 23; ++r)
    PlotLineTo(t, PhaseX(l, Radians(kContour[r].RightDeg)), GainY(l, kContour[r].GainDb));
  PlotText(t, PhaseX(l, -kPi) - 17, GainY(l, -4.85) + 5, "2.3");
  PlotMoveTo(t, PhaseX(l, Radians(kContour[0].LeftDeg)), GainY(l, kContour[0].GainDb));
  for (int r = 1; r < 23; ++r)
    PlotLineTo(t, PhaseX(l, Radians(kContour[r].LeftDeg)), GainY(l, kContour[r].GainDb));

  SetPen(t, PenStyle::Dotted, t.FramePenWidth);
  const int top = GainY(l, 40);
  const int bottom = GainY(l, -30);
  for (int k = 0; k <= 18; ++k) {
    const int x = PhaseX(l, -k * kPi / 9);
    if (k % 3 == 0) {
      const std::string label = IntegerText(-20 * k);
      PlotText(t, x - TextWidth(t, label) / 2, top - TextHeight(t, label) - 2, label);
    }
    PlotLine(t, x, top, x, bottom);
  }
  for (int k = -3; k <= 4; ++k) {
    const std::string label = IntegerText(10 * k);
    const int y = GainY(l, 10 * k);
    PlotText(t, t.PlotWidth - 53 - TextWidth(t, label), y, label);
    PlotLine(t, l.X0, y, 30, y);
  }
  if (s.ShowNicholsChart) DrawNicholsChart(t, l);
}

}  // namespace

BlackLayout ComputeBlackLayout(const DrawTarget& t) {
  BlackLayout l;
  l.XS = t.PlotWidth - 80;
  l.X0 = t.PlotWidth - 50;
  l.YS = t.PlotHeight - 100;
  l.Y0 = t.PlotHeight / 2 + 30;
  l.XText = TextWidth(t, "50") + 50;
  return l;
}

void DrawBlackDiagram(const DiagramState& s, const DrawTarget& t, FrameResult& f) {
  const BlackLayout l = ComputeBlackLayout(t);
  // The chart: the same from one step to the next; the curves go over it.
  BeginPlotFrame(t);
  ClearPlot(t);
  DrawChart(s, t, l);
  EndPlotFrame(t);

  f.CaptureBegun = false;
  if (s.CapturePoints && t.MainPicture) BeginCurveCapture(s, f);

  SetPen(t, PenStyle::Solid, t.FramePenWidth);
  f.ResponseValid = 1;
  f.Swept = false;
  const double L = std::numbers::ln10;
  const auto& colours = kCurveColours;
  const bool margins = MarginsSearched(s);
  Slot slots[4];
  bool first = true;
  const bool paper = t.OnPaper != 0;
  const PaperFrame frame = BlackPaperFrame(t, l);
  PaperCurve papers[4];

  const Mapping map(l);
  // The boxes cannot change while the picture is drawn: read once.
  bool ticked[4];
  for (int i = 0; i < 4; ++i) ticked[i] = s.CurveTicked[static_cast<std::size_t>(i)];
  const std::int64_t kFrom = std::max<std::int64_t>(s.DecadeMin, kLowestDecade);
  const std::int64_t kTo = std::min<std::int64_t>(s.DecadeMax, kHighestDecade);
  if (t.Sweeps) t.Sweeps->Begin(s, {2, static_cast<double>(kFrom), static_cast<double>(kTo), 0});
  // The colours and segments go to the surface in runs; margins and labels
  // are drawn after what was gathered before them.
  SweepRun run(t);
  int sample = 0;
  for (std::int64_t k = kFrom; k <= kTo && f.ResponseValid != 0; ++k) {
    const double decade = std::exp(static_cast<double>(k) * L);
    for (int m = 50; m <= 500; ++m, ++sample) {
      const double w = decade * m / 50;
      const double w2 = w * w;
      const bool labelled = m == 50 || m == 250;
      double phaseSum = 0;
      double gainSum = 0;
      // Zeros less poles of the product lying on the imaginary axis at w.
      int orders = 0;
      for (int i = 0; i < 3; ++i) f.CurveEnabled[i] = ticked[i];
      f.Swept = true;

      for (int i = 0; i < 3; ++i) {
        if (!ticked[i]) continue;
        Slot& slot = slots[i];
        run.Colour(colours[i]);
        int order = 0;
        const Response r = SweepSample(t.Sweeps, s, i, sample, w, w2, f.ResponseValid, order);
        phaseSum += r.PhaseRad;
        gainSum += r.GainDb;
        orders += order;
        const double g = SampleGain(order, r.GainDb);
        const int xs = map.X(r.PhaseRad);
        const int ys = SampleRow(t, map, order, r.GainDb);
        if (margins && !first &&
            TestBlackCrossings(r.PhaseRad, g, slot.PrevPhaseRad, slot.PrevGainDb).Any()) {
          run.Flush();
          BlackMarginStep(s, t, i + 1, l, w, r.PhaseRad, g, slot.PrevPhaseRad, slot.PrevGainDb, xs,
                          ys);
        }
        slot.PrevGainDb = g;
        slot.PrevPhaseRad = r.PhaseRad;
        if (m == 50) {
          slot.PrevX = xs;
          slot.PrevY = ys;
        }
        if (paper) {
          SetPen(t, PenStyle::Solid, PaperCurvePen(t));
          papers[i].Line(t, frame, slot.PrevX, slot.PrevY, xs, ys, false);
        } else {
          run.Line(slot.PrevX, slot.PrevY, xs, ys);
        }
        // An infinite gain has no point to label.
        if (labelled && order == 0 && (!paper || InFrame(frame, xs, ys))) {
          run.Flush();
          PlotText(t, xs + 5, ys, FormatReal(w));
          DrawMarker(t, xs, ys);
        }
        slot.PrevX = xs;
        slot.PrevY = ys;
      }

      run.Colour(kBlack);
      if (ticked[3]) {
        Slot& slot = slots[3];
        const double g4 = SampleGain(orders, gainSum);
        const int x4 = map.X(phaseSum);
        const int y4 = SampleRow(t, map, orders, gainSum);
        if (m == 50) {
          slot.PrevX = x4;
          slot.PrevY = y4;
        }
        // Still black, as set just before the product's block.
        if (paper) {
          SetPen(t, PenStyle::Solid, PaperCurvePen(t));
          papers[3].Line(t, frame, slot.PrevX, slot.PrevY, x4, y4, false);
        } else {
          run.Line(slot.PrevX, slot.PrevY, x4, y4);
        }
        if (labelled && orders == 0 && (!paper || InFrame(frame, x4, y4))) {
          run.Flush();
          PlotText(t, x4 + 5, y4, FormatReal(w));
          DrawMarker(t, x4, y4);
        }
        if (s.CapturePoints && t.MainPicture && m % 5 == 0 && orders == 0)
          CaptureCurveLine(s, FormatReal(w) + "   " + FormatReal(gainSum) + "   " +
                                  FormatReal(phaseSum * 180 / kPi));
        if (margins && !first &&
            TestBlackCrossings(phaseSum, g4, slot.PrevPhaseRad, slot.PrevGainDb).Any()) {
          run.Flush();
          BlackMarginStep(s, t, 4, l, w, phaseSum, g4, slot.PrevPhaseRad, slot.PrevGainDb, x4, y4);
        }
        slot.PrevX = x4;
        slot.PrevY = y4;
        slot.PrevGainDb = g4;
        slot.PrevPhaseRad = phaseSum;
      }
      first = false;
    }
  }
  run.Flush();

  if (paper) {
    SetPen(t, PenStyle::Solid, t.FramePenWidth);
    std::vector<CurveEnd> ends;
    const bool names[3] = {ticked[0], ticked[1], ticked[2]};
    for (int i = 0; i < 4; ++i) {
      if (!ticked[i] || !papers[i].HasEnd()) continue;
      ends.push_back({i < 3 ? "H" + std::to_string(i + 1) : ProductName(names),
                      i < 3 ? colours[i] : kBlack, papers[i].EndX(), papers[i].EndY()});
    }
    WriteCurveNames(t, frame, ends);
  }

  DrawBlackMeasuredPoints(s, t, f, l);
  UseColour(t, kBlack);
  if (f.ResponseValid == 0) AlarmBeep(s.Host);
}

}  // namespace tv
