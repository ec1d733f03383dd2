// Gain and phase margins: the crossing tests at each sample, their marks and texts, in both views.
#include "core/translate.h"
#include "render/margins.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <string_view>

#include "core/format.h"
#include "render/plot_surface.h"
#include "render/primitives.h"

namespace tv {

namespace {

constexpr double kPi = std::numbers::pi;

// What one sample of a curve crosses.
struct Crossings {
  bool Gain0Db = false;      // gives the phase margin
  bool Phase180Deg = false;  // gives the gain margin
};

// A crossing exactly on a sample makes a product zero and is not reported.
// At a zero or pole on the imaginary axis the gain is infinite: the phase
// may still cross there, but no finite gain margin is found.
Crossings Test(double gain, double prevGain, double phasePlusPi, double prevPhasePlusPi) {
  return {prevGain * gain < 0, prevPhasePlusPi * phasePlusPi < 0 && !std::isinf(gain)};
}

// "MP1: ", "MP globale: " (Bode) or "MP globale : " (Black).
std::string Prefix(std::string_view kind, int slot, bool black) {
  if (slot == 4)
    return std::string(kind) + (black ? Tr("Margins", " globale : ") : Tr("Margins", " globale: "));
  return std::string(kind) + IntegerText(slot) + ": ";
}

std::string MarginText(std::string_view kind, int slot, bool black, double value, double w) {
  return Prefix(kind, slot, black) + FormatReal(value) + Tr("Margins", " en w= ") + FormatReal(w);
}

void WriteMarginText(const DiagramState& s, const DrawTarget& t, int x, int y,
                     const std::string& text) {
  PlotText(t, x, y, text);
  if (s.MarginLog && t.MainPicture) s.MarginLog->push_back(text);
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
  // The offsets are pixels: -180 degrees lies at -pi times the phase scale.
  const double minus180 = -kPi * phasePixelsPerRad;
  const Crossings c =
      Test(gainOffset, prevGainOffset, phaseOffset - minus180, prevPhaseOffset - minus180);
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
    WriteMarginText(s, t, xMP, row,
                    MarginText(Tr("Margins", "MP"), slot, false, c.PhaseMarginDeg, w));
  }
  if (c.GainMargin) {
    PlotLine(t, x, mid, x, m180);
    PlotLine(t, x, yP, x, yG);
    DrawArrow(t, x, mid, x, yG);
    WriteMarginText(s, t, xMG, row,
                    MarginText(Tr("Margins", "MG"), slot, false, c.GainMarginDb, w));
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
  const Crossings c = Test(gainDb, prevGainDb, phaseRad + kPi, prevPhaseRad + kPi);
  if (!c.Gain0Db && !c.Phase180Deg) return;

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
    WriteMarginText(s, t, layout.XText, row, MarginText(Tr("Margins", "MP"), slot, true, pm, w));
  }
  if (c.Phase180Deg) {
    const int x180 = layout.X0 - layout.XS / 2;
    DrawArrow(t, x180, layout.Y0, slot == 4 ? xs : x180, ys);
    WriteMarginText(s, t, layout.XText + MarginColumnGap(t, 190), row,
                    MarginText(Tr("Margins", "MG"), slot, true, -gainDb, w));
  }
}

}  // namespace tv
