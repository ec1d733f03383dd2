// Gain and phase margins: the crossing tests at each sample, their marks and texts, in both views.
#include "core/translate.h"
#include "render/margins.h"

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
Crossings Test(double gain, double prevGain, double phasePlusPi, double prevPhasePlusPi) {
  return {prevGain * gain < 0, prevPhasePlusPi * phasePlusPi < 0};
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

void WriteMarginText(DiagramState& s, int x, int y, const std::string& text) {
  PlotText(s, x, y, text);
  if (s.MarginLog) s.MarginLog->push_back(text);
}

// Text row of a slot; the product is in row 5, row 4 stays free.
int Row(DiagramState& s, int slot, int top) {
  return TextHeight(s, "1") * (slot == 4 ? 5 : slot) + top;
}

}  // namespace

int MarginColumnGap(DiagramState& s, int pixelsAtCell10) {
  const int cell = s.DrawCanvas ? s.DrawCanvas->FontHeight() : 10;
  if (cell <= 10) return pixelsAtCell10;
  return static_cast<int>((static_cast<std::int64_t>(pixelsAtCell10) * cell + 5) / 10);
}

void BodeMarginStep(DiagramState& s, int slot, int x, double w, double gainOffset,
                    double phaseOffset, double prevGainOffset, double prevPhaseOffset, int xMP,
                    int xMG) {
  // The offsets are pixels: -180 degrees lies at -pi times the phase scale.
  const double minus180 = -kPi * s.PhasePixelsPerRad;
  const Crossings c =
      Test(gainOffset, prevGainOffset, phaseOffset - minus180, prevPhaseOffset - minus180);
  if (!c.Gain0Db && !c.Phase180Deg) return;

  const int mid = s.MidY;
  const int m180 = s.Minus180Y;
  const int yG = mid - RoundPixel(gainOffset);
  const int yP = mid - RoundPixel(phaseOffset);
  const int row = Row(s, slot, 40);

  if (c.Gain0Db) {
    const double phi = phaseOffset / s.PhasePixelsPerRad;
    const double pm = (phi + kPi) * 180 / kPi;
    PlotLine(s, x, mid, x, m180);
    PlotLine(s, x, yP, x, yG);
    DrawArrow(s, x, m180, x, yP);
    WriteMarginText(s, xMP, row, MarginText(Tr("Margins", "MP"), slot, false, pm, w));
  }
  if (c.Phase180Deg) {
    const double mg = -gainOffset / s.GainPixelsPerDb;
    PlotLine(s, x, mid, x, m180);
    PlotLine(s, x, yP, x, yG);
    DrawArrow(s, x, mid, x, yG);
    WriteMarginText(s, xMG, row, MarginText(Tr("Margins", "MG"), slot, false, mg, w));
  }
}

void BlackMarginStep(DiagramState& s, int slot, const BlackLayout& layout, double w,
                     double phaseRad, double gainDb, double prevPhaseRad, double prevGainDb, int xs,
                     int ys) {
  const Crossings c = Test(gainDb, prevGainDb, phaseRad + kPi, prevPhaseRad + kPi);
  if (!c.Gain0Db && !c.Phase180Deg) return;

  const int row = Row(s, slot, 80);
  if (c.Gain0Db) {
    // The 0 dB arrow starts at round(XS/2) left of phase 0, while the
    // -180 degree arrow below stands at XS div 2: one pixel apart for an odd XS.
    const int xFrom = layout.X0 - RoundPixel(layout.XS / 2.0);
    const int xTo =
        slot == 4 ? xs
                  : RoundPixel(layout.X0 + layout.XS * ((phaseRad + prevPhaseRad) / 2) / (2 * kPi));
    DrawArrow(s, xFrom, layout.Y0, xTo, layout.Y0);
    const double pm = (phaseRad + kPi) * 180 / kPi;
    WriteMarginText(s, layout.XText, row, MarginText(Tr("Margins", "MP"), slot, true, pm, w));
  }
  if (c.Phase180Deg) {
    const int x180 = layout.X0 - layout.XS / 2;
    DrawArrow(s, x180, layout.Y0, slot == 4 ? xs : x180, ys);
    WriteMarginText(s, layout.XText + MarginColumnGap(s, 190), row,
                    MarginText(Tr("Margins", "MG"), slot, true, -gainDb, w));
  }
}

}  // namespace tv
