// Gain and phase margins: the crossing tests at each sample, their marks and texts, in both views.
#include "render/margins.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "render/margin_record.h"
#include "render/plot_surface.h"
#include "render/primitives.h"

namespace tv {

namespace {

constexpr double kPi = std::numbers::pi;

// Writes the margin's text and hands the record to the state's collection.
void WriteMargin(const DiagramState& s, const DrawTarget& t, int x, int y, const MarginRecord& r) {
  PlotText(t, x, y, MarginText(r));
  if (s.MarginRecords && t.MainPicture) s.MarginRecords->push_back(r);
}

// Text row of a slot; the product is in row 5, row 4 stays free.
int Row(const DrawTarget& t, int slot, int top) {
  return TextHeight(t, "1") * (slot == 4 ? 5 : slot) + top;
}

}  // namespace

int MarginColumnGap(const DrawTarget& t, int pixelsAtCell10) {
  const int cell = t.DrawCanvas ? t.DrawCanvas->FontHeight() : 10;
  if (cell <= 10) return pixelsAtCell10;
  return static_cast<int>((static_cast<std::int64_t>(pixelsAtCell10) * cell + 5) / 10);
}

BodeCrossing FindBodeCrossing(double gainOffset, double phaseOffset, double prevGainOffset,
                              double prevPhaseOffset, double gainPixelsPerDb,
                              double phasePixelsPerRad) {
  const Crossings c = TestBodeCrossings(gainOffset, phaseOffset, prevGainOffset, prevPhaseOffset,
                                        phasePixelsPerRad);
  BodeCrossing b;
  b.PhaseMargin = c.Gain0Db;
  b.GainMargin = c.Phase180Deg;
  if (c.Gain0Db) {
    const double phi = phaseOffset / phasePixelsPerRad;
    b.PhaseMarginDeg = (phi + kPi) * 180 / kPi;
  }
  if (c.Phase180Deg) b.GainMarginDb = -gainOffset / gainPixelsPerDb;
  return b;
}

void MarkBodeCrossing(const DiagramState& s, const DrawTarget& t, const FrameResult& f, int slot,
                      int x, double w, double gainOffset, double phaseOffset, const BodeCrossing& c,
                      int xMP, int xMG) {
  const int mid = f.MidY;
  const int m180 = f.Minus180Y;
  // A zero or a pole on the imaginary axis puts the gain at the plot's edge.
  const int yG =
      std::isinf(gainOffset) ? (gainOffset < 0 ? t.PlotHeight : 0) : mid - RoundPixel(gainOffset);
  const int yP = mid - RoundPixel(phaseOffset);
  const int row = Row(t, slot, 40);

  if (c.PhaseMargin) {
    PlotLine(t, x, mid, x, m180);
    PlotLine(t, x, yP, x, yG);
    DrawArrow(t, x, m180, x, yP);
    WriteMargin(s, t, xMP, row, {slot, MarginKind::Phase, c.PhaseMarginDeg, w, false});
  }
  if (c.GainMargin) {
    PlotLine(t, x, mid, x, m180);
    PlotLine(t, x, yP, x, yG);
    DrawArrow(t, x, mid, x, yG);
    WriteMargin(s, t, xMG, row, {slot, MarginKind::Gain, c.GainMarginDb, w, false});
  }
}

void BodeMarginStep(const DiagramState& s, const DrawTarget& t, const FrameResult& f, int slot,
                    int x, double w, double gainOffset, double phaseOffset, double prevGainOffset,
                    double prevPhaseOffset, int xMP, int xMG) {
  const BodeCrossing c = FindBodeCrossing(gainOffset, phaseOffset, prevGainOffset, prevPhaseOffset,
                                          f.GainPixelsPerDb, f.PhasePixelsPerRad);
  if (c.PhaseMargin || c.GainMargin)
    MarkBodeCrossing(s, t, f, slot, x, w, gainOffset, phaseOffset, c, xMP, xMG);
}

void BlackMarginStep(const DiagramState& s, const DrawTarget& t, int slot,
                     const BlackLayout& layout, double w, double phaseRad, double gainDb,
                     double prevPhaseRad, double prevGainDb, int xs, int ys) {
  const Crossings c = TestBlackCrossings(phaseRad, gainDb, prevPhaseRad, prevGainDb);
  if (!c.Any()) return;

  const int row = Row(t, slot, 80);
  if (c.Gain0Db) {
    // The 0 dB arrow starts at round(XS/2) left of phase 0, while the
    // -180 degree arrow below stands at XS div 2: one pixel apart for an odd XS.
    const int xFrom = layout.X0 - RoundPixel(layout.XS / 2.0);
    const int xTo =
        slot == 4 ? xs
                  : RoundPixel(layout.X0 + layout.XS * ((phaseRad + prevPhaseRad) / 2) / (2 * kPi));
    DrawArrow(t, xFrom, layout.Y0, xTo, layout.Y0);
    const double pm = (phaseRad + kPi) * 180 / kPi;
    WriteMargin(s, t, layout.XText, row, {slot, MarginKind::Phase, pm, w, true});
  }
  if (c.Phase180Deg) {
    const int x180 = layout.X0 - layout.XS / 2;
    DrawArrow(t, x180, layout.Y0, slot == 4 ? xs : x180, ys);
    WriteMargin(s, t, layout.XText + MarginColumnGap(t, 190), row,
                {slot, MarginKind::Gain, -gainDb, w, true});
  }
}

}  // namespace tv
