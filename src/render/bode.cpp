// The Bode view: axes, decade and gain/phase grids, and the column-by-column sweep of the curves.
#include "render/bode.h"

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
#include "render/overlays.h"
#include "render/paper.h"
#include "render/primitives.h"
#include "render/sweep_memo.h"
#include "render/sweep_run.h"
#include "response/response.h"

namespace tv {

namespace {

// Decade labels for the exponents -10..10; below 0.001 and above 1000 they
// switch to the 10E notation (10E4 is ten to the fourth).
constexpr const char* kDecadeLabels[21] = {
    "10E-10", "10E-9", "10E-8", "10E-7", "10E-6", "10E-5", "10E-4", "0.001", "0.01", "0.1",  "1",
    "10",     "100",   "1000",  "10E4",  "10E5",  "10E6",  "10E7",  "10E8",  "10E9", "10E10"};

// A range from a file may reach past the table; the label then continues
// the 10E notation.
std::string DecadeLabel(std::int32_t exponent) {
  if (exponent >= -10 && exponent <= 10) return kDecadeLabels[exponent + 10];
  return "10E" + IntegerText(exponent);
}

// Span of the pulsation axis in decades. Both bounds are 32-bit values read
// from a file, so the difference needs more than 32 bits.
std::int64_t DecadeSpan(const DiagramState& s) {
  return static_cast<std::int64_t>(s.DecadeMax) - static_cast<std::int64_t>(s.DecadeMin);
}

// The gain reference: the magnitude of the larger signed bound, as a double
// so that |-2^31| is representable.
double GainReference(const DiagramState& s) {
  const double lo = s.GainMinDb;
  const double hi = s.GainMaxDb;
  return std::fabs(s.GainMinDb > s.GainMaxDb ? lo : hi);
}

// MidY and Minus180Y are 16-bit fields; a plot too large or too small for
// them keeps the nearest value they can hold.
std::uint16_t ToRow(std::int64_t y) {
  if (y < 0) return 0;
  if (y > 65535) return 65535;
  return static_cast<std::uint16_t>(y);
}

bool BoxChecked(const DiagramState& s, int box) {
  return s.CurveTicked[static_cast<std::size_t>(box - 1)];
}

// The Bode view's vertical scales on a plot H pixels high.
struct BodeScales {
  std::uint16_t MidY = 0;
  double GainPixelsPerDb = 0;
  double PhasePixelsPerRad = 0;
};

BodeScales ComputeBodeScales(const DiagramState& s, int H) {
  BodeScales b;
  b.MidY = ToRow(H / 2);
  const double R = GainReference(s);
  // No gain reference at all (both bounds 0): the scale of the smallest
  // range the buttons give, 10 dB.
  b.GainPixelsPerDb = (static_cast<double>(H / 2) - 5.0) / (R > 0 ? R : 10.0);
  b.PhasePixelsPerRad = (static_cast<double>(b.MidY) - 20.0) / 6.283185307179586;
  return b;
}

// The gain offset of a sample in pixels: infinite where a zero (order > 0)
// or a pole of the curve lies on the imaginary axis at its pulsation.
double GainOffset(int order, double finite) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  return order > 0 ? -inf : order < 0 ? inf : finite;
}

// Its row: an infinite gain at the plot's bottom or top edge.
int GainRow(const DrawTarget& t, int mid, int order, double finite) {
  return order > 0 ? t.PlotHeight : order < 0 ? 0 : mid - RoundPixel(finite);
}

// End points of the last gain and phase segments, and the last offsets, of
// one curve: H1, H2, H3 and the product.
struct CurveSlot {
  double PrevGain = 0.0;
  double PrevPhase = 0.0;
  int GainX = 0, GainY = 0;
  int PhaseX = 0, PhaseY = 0;
};

void DrawDecades(const DiagramState& s, const DrawTarget& t, const FrameResult& f, std::int64_t D) {
  const int W = t.PlotWidth;
  const int H = t.PlotHeight;
  const int mid = f.MidY;
  const double P = (static_cast<double>(W) - 60.0) / static_cast<double>(D);
  const int th = TextHeight(t, "10");
  // On paper the decade lines start below the legend's three rows (their
  // last one starts at y = 32), so that none runs through a fraction.
  const int top = t.OnPaper ? 32 + TextHeight(t, "1p") + 2 : 5;
  for (std::int64_t i = 0; i <= D; ++i) {
    const double di = static_cast<double>(i);
    UseColour(t, kBlack);
    SetPen(t, PenStyle::Solid, t.FramePenWidth);
    if (i > 0) {
      const int x = RoundPixel(di * P) + 30;
      PlotLine(t, x, top, x, H - 40);
    }
    if (i < D) {
      for (int j = 1; j <= 10; ++j) {
        const int x = RoundPixel(P * std::log(static_cast<double>(j)) / 2.302585 + di * P) + 30;
        const int half = j == 5 ? 8 : 4;
        PlotLine(t, x, mid - half, x, mid + half);
      }
    }
    SetPen(t, PenStyle::Dotted, t.FramePenWidth);
    if (i < D) {
      const int x = RoundPixel(di * P) + 32;
      // DecadeMin + i lies between the two 32-bit bounds.
      const auto exponent = static_cast<std::int32_t>(s.DecadeMin + i);
      PlotText(t, x, mid - 5 - 2 * th, DecadeLabel(exponent));
      PlotText(t, x, mid - 5 - th, IntegerText(exponent));
      PlotText(t, W - 33 - TextWidth(t, "w"), mid - 5 - 2 * th, "w");
      PlotText(t, W - 33 - TextWidth(t, "log w"), mid - 5 - th, "log w");
    }
  }
}

void DrawGainGrid(const DiagramState& s, const DrawTarget& t, const FrameResult& f, double R) {
  const int W = t.PlotWidth;
  const int H = t.PlotHeight;
  const int halfH = H / 2;
  const int mid = f.MidY;
  // Counts of 10 dB steps; R and |GainMinDb| are at most 2^31, well inside
  // 64 bits.
  const auto n = static_cast<std::int64_t>(std::nearbyint(R / 10.0));
  const auto m =
      static_cast<std::int64_t>(std::nearbyint(std::fabs(static_cast<double>(s.GainMinDb)) / 10.0));
  // With fewer than one pixel per 10 dB (or no 10 dB step at all, R up to
  // 5 dB) only the 0 dB line is drawn.
  const bool steps = n > 0 && (static_cast<double>(mid) - 5.0) / static_cast<double>(n) >= 1.0;
  const double S = steps ? (static_cast<double>(mid) - 5.0) / static_cast<double>(n) : 0.0;

  UseColour(t, kBlack);
  const bool gain = s.BodeMode == 0 || s.BodeMode == 2;
  if (gain && steps) {
    for (std::int64_t i = 1; i <= n; ++i) {
      const int y = RoundPixel(halfH - static_cast<double>(i) * S);
      PlotDottedLine(t, 30, y, W - 30, y);
      PlotText(t, 33, y + 3, IntegerText(static_cast<std::int32_t>(10 * i)));
    }
  }
  PlotText(t, 33, halfH + 3, "0dB");
  if (gain) {
    const std::int64_t last = steps ? m : 0;
    for (std::int64_t i = 0; i <= last; ++i) {
      const int y = mid + RoundPixel(static_cast<double>(i) * S);
      // Lower lines only move further down: once one is below the plot,
      // neither it nor any later line or label can be seen.
      if (y >= H) break;
      PlotDottedLine(t, 30, y, W - 30, y);
      if (i >= 1) PlotText(t, 33, y + 3, IntegerText(static_cast<std::int32_t>(-10 * i)));
    }
  }
}

void DrawPhaseGrid(const DiagramState& s, const DrawTarget& t, FrameResult& f) {
  const int W = t.PlotWidth;
  const int mid = f.MidY;
  const double q = (static_cast<double>(mid) - 20.0) / 4.0;
  SetPen(t, PenStyle::Solid, t.FramePenWidth);
  if (s.BodeMode != 1 && s.BodeMode != 2) return;
  for (int k = -3; k <= 4; ++k) {
    const int y = mid - RoundPixel(k * q);
    if (s.BodeMode == 2) {
      if (k != -2) {
        PlotLine(t, W, y, W - 30, y);
        PlotLine(t, 30, y, 0, y);
      } else {
        PlotLine(t, W, y, 30, y);
        f.Minus180Y = ToRow(y);
      }
      const std::string label = IntegerText(90 * k);
      PlotText(t, W - 33 - TextWidth(t, label), y, label);
    } else {
      SetPen(t, PenStyle::Dotted, t.FramePenWidth);
      PlotLine(t, W - 30, y, 30, y);
      PlotText(t, W - 28, y, IntegerText(90 * (k < 0 ? -k : k)));
      SetPen(t, PenStyle::Solid, t.FramePenWidth);
    }
  }
}

}  // namespace

void DrawBodeFrame(const DiagramState& s, const DrawTarget& t, FrameResult& f) {
  const int W = t.PlotWidth;
  const int H = t.PlotHeight;
  const BodeScales scales = ComputeBodeScales(s, H);
  f.MidY = scales.MidY;
  UseColour(t, kBlack);
  PlotLine(t, 30, 5, 30, H - 40);

  // Decade lines, ticks and labels need a span of at least one decade and
  // at least one pixel per decade; otherwise none of them can be told apart.
  const std::int64_t D = DecadeSpan(s);
  if (D > 0 && W > 60 && D <= static_cast<std::int64_t>(W) - 60) DrawDecades(s, t, f, D);

  f.GainPixelsPerDb = scales.GainPixelsPerDb;
  DrawGainGrid(s, t, f, GainReference(s));

  f.PhasePixelsPerRad = scales.PhasePixelsPerRad;
  DrawPhaseGrid(s, t, f);
  UseColour(t, kBlack);
}

namespace {

// Everything a curve drawn on paper keeps: its gain and phase curves, with
// their dots and ends.
struct PaperSlot {
  PaperCurve Gain, Phase;
};

// The frame of the Bode view: from the axis to the last decade line, from
// the top of the scale to the decade lines' lower end.
PaperFrame BodePaperFrame(const DrawTarget& t) {
  return {30, 5, t.PlotWidth - 30, t.PlotHeight - 40};
}

// The margins of a page drawn at another size than the window: searched at
// the window's columns with the window's scales, exactly as the window's
// sweep does, so that the page writes the values the window shows; marked
// at the page's column of the same pulsation.
void DrawWindowSampledMargins(const DiagramState& s, const DrawTarget& t, const FrameResult& f,
                              const bool ticked[4], int xMP, int xMG) {
  const std::int64_t D = DecadeSpan(s);
  if (t.MarginPlotWidth <= 60 || D <= 0) return;
  const BodeScales window = ComputeBodeScales(s, t.MarginPlotHeight);
  const double L = std::numbers::ln10;
  const int N = t.MarginPlotWidth - 60;
  const double r = static_cast<double>(D) / N;
  const int lastColumn = N < kCoordinateLimit ? N : kCoordinateLimit;
  const double pageColumns = static_cast<double>(t.PlotWidth) - 60.0;
  const auto& colours = kCurveColours;
  double prevG[4] = {}, prevP[4] = {};
  const double decadeMin = s.DecadeMin;
  std::uint8_t valid = 1;
  double column = 0;
  for (int i = 0; i <= lastColumn && valid != 0; ++i, column += 1) {
    const double w = std::exp((decadeMin + column * r) * L);
    const double w2 = w * w;
    const int x = RoundPixel(column * pageColumns / N) + 30;
    double sumG = 0, sumP = 0, pageG = 0, pageP = 0;
    int orders = 0;
    const auto step = [&](int slot, int order, double G, double P, double pG, double pP) {
      const double shown = GainOffset(order, G);
      if (i != 0) {
        const BodeCrossing c = FindBodeCrossing(shown, P, prevG[slot - 1], prevP[slot - 1],
                                                window.GainPixelsPerDb, window.PhasePixelsPerRad);
        if (c.PhaseMargin || c.GainMargin)
          MarkBodeCrossing(s, t, f, slot, x, w, GainOffset(order, pG), pP, c, xMP, xMG);
      }
      prevG[slot - 1] = shown;
      prevP[slot - 1] = P;
    };
    for (int k = 0; k < 3; ++k) {
      if (!ticked[k]) continue;
      UseColour(t, colours[k]);
      int order = 0;
      const Response h = SampledResponse(s, k, w, w2, valid, order);
      const double P = h.PhaseRad * window.PhasePixelsPerRad;
      const double G = h.GainDb * window.GainPixelsPerDb;
      const double pP = h.PhaseRad * f.PhasePixelsPerRad;
      const double pG = h.GainDb * f.GainPixelsPerDb;
      sumP += P;
      pageP += pP;
      step(k + 1, order, G, P, pG, pP);
      sumG += G;
      pageG += pG;
      orders += order;
    }
    UseColour(t, kBlack);
    if (ticked[3]) step(4, orders, sumG, sumP, pageG, pageP);
  }
  UseColour(t, kBlack);
}

// Where the frame writes near the curves' right ends: "w" and "log w", and
// the phase labels.
std::vector<TextBox> FrameTexts(const DiagramState& s, const DrawTarget& t, const FrameResult& f) {
  const int W = t.PlotWidth;
  const int mid = f.MidY;
  const int th = TextHeight(t, "10");
  const int tw = TextWidth(t, "log w");
  std::vector<TextBox> boxes{{W - 33 - tw, mid - 5 - 2 * th, tw, 2 * th}};
  const double q = (static_cast<double>(mid) - 20.0) / 4.0;
  for (int k = -3; k <= 4; ++k) {
    const int y = mid - RoundPixel(k * q);
    const int w = TextWidth(t, IntegerText(90 * k));
    boxes.push_back({s.BodeMode == 1 ? W - 28 : W - 33 - w, y, w, th});
  }
  return boxes;
}

}  // namespace

void DrawBodeCurves(const DiagramState& s, const DrawTarget& t, FrameResult& f) {
  f.ResponseValid = 1;
  f.Swept = false;
  f.CaptureBegun = false;
  if (s.Host) s.Host->ScrollToTop();

  const int xMP = TextWidth(t, "50") + 40;
  const int xMG = xMP + MarginColumnGap(t, 180);

  // No column to sweep (a plot 60 pixels wide or less) or no pulsation axis
  // (a span of zero decades or less): the frame stands alone.
  const std::int64_t D = DecadeSpan(s);
  if (t.PlotWidth <= 60 || D <= 0) return;

  const double L = std::numbers::ln10;
  const int N = t.PlotWidth - 60;
  const double r = static_cast<double>(D) / N;
  // Columns past the coordinate limit would all land on the same pixel.
  const int lastColumn = N < kCoordinateLimit ? N : kCoordinateLimit;

  CurveSlot slots[4];
  const auto& colours = kCurveColours;
  const bool searched = MarginsSearched(s);
  // A page of another size than the window finds its margins apart, at the
  // window's columns.
  const bool windowSampled =
      searched && t.MarginPlotWidth > 0 &&
      (t.MarginPlotWidth != t.PlotWidth || t.MarginPlotHeight != t.PlotHeight);
  const bool margins = searched && !windowSampled;
  const bool phase = s.BodeMode == 1 || s.BodeMode == 2;
  const bool gain = s.BodeMode == 0 || s.BodeMode == 2;
  const int mid = f.MidY;
  const bool paper = t.OnPaper != 0;
  const PaperFrame frame = BodePaperFrame(t);
  PaperSlot papers[4];

  DrawBodeMeasuredPoints(s, t, f);

  UseColour(t, kBlack);
  if (s.CapturePoints && t.MainPicture) BeginCurveCapture(s, f);

  // The boxes cannot change while the picture is drawn: read once.
  const bool ticked[4] = {BoxChecked(s, 1), BoxChecked(s, 2), BoxChecked(s, 3), BoxChecked(s, 4)};

  // The column and the lowest decade as reals, exact, so that the sweep
  // converts nothing.
  const double decadeMin = s.DecadeMin;
  if (t.Sweeps) t.Sweeps->Begin(s, {1, decadeMin, r, static_cast<double>(lastColumn)});
  // The colours, pens and segments go to the surface in runs; margins are
  // drawn after what was gathered before them.
  SweepRun run(t);
  double column = 0;
  for (int i = 0; i <= lastColumn && f.ResponseValid != 0; ++i, column += 1) {
    const double w = std::exp((decadeMin + column * r) * L);
    const double w2 = w * w;
    const int x = i + 30;
    double sumG = 0;
    double sumP = 0;
    // Zeros less poles of the product lying on the imaginary axis at w.
    int orders = 0;
    for (int k = 0; k < 3; ++k) f.CurveEnabled[k] = ticked[k] ? 1 : 0;
    f.Swept = true;

    for (int k = 0; k < 3; ++k) {
      if (!ticked[k]) continue;
      CurveSlot& slot = slots[k];
      run.Colour(colours[k]);
      // The phase and gain differences of numerator and denominator, each
      // then scaled to pixels.
      int order = 0;
      const Response h = SweepSample(t.Sweeps, s, k, i, w, w2, f.ResponseValid, order);
      const double P = h.PhaseRad * f.PhasePixelsPerRad;
      sumP += P;
      const double G = h.GainDb * f.GainPixelsPerDb;
      const double shownG = GainOffset(order, G);
      if (i != 0 && margins &&
          TestBodeCrossings(shownG, P, slot.PrevGain, slot.PrevPhase, f.PhasePixelsPerRad).Any()) {
        run.Flush();
        BodeMarginStep(s, t, f, k + 1, x, w, shownG, P, slot.PrevGain, slot.PrevPhase, xMP, xMG);
      }
      slot.PrevGain = shownG;
      slot.PrevPhase = P;
      sumG += G;
      orders += order;

      const int yG = GainRow(t, mid, order, G);
      const int yP = mid - RoundPixel(P);
      if (i == 0) {
        slot.GainX = slot.PhaseX = x;
        slot.GainY = yG;
        slot.PhaseY = yP;
      }
      if (phase) {
        if (paper) {
          SetPen(t, PenStyle::Solid, PaperCurvePen(t));
          papers[k].Phase.Line(t, frame, slot.PhaseX, slot.PhaseY, x, yP, true);
          SetPen(t, PenStyle::Solid, t.FramePenWidth);
        } else {
          run.DottedLine(slot.PhaseX, slot.PhaseY, x, yP);
        }
        slot.PhaseX = x;
        slot.PhaseY = yP;
      }
      // Still the colour of Hk: the margin marks and the phase line keep it.
      run.Pen(PenStyle::Solid, t.CurvePenWidth);
      if (gain) {
        if (paper)
          papers[k].Gain.Line(t, frame, slot.GainX, slot.GainY, x, yG, false);
        else
          run.Line(slot.GainX, slot.GainY, x, yG);
      }
      run.Pen(PenStyle::Solid, t.FramePenWidth);
      slot.GainX = x;
      slot.GainY = yG;
    }

    run.Colour(kBlack);
    if (ticked[3]) {
      CurveSlot& slot = slots[3];
      const double productG = GainOffset(orders, sumG);
      const int yG = GainRow(t, mid, orders, sumG);
      const int yP = mid - RoundPixel(sumP);
      if (i == 0) {
        slot.GainX = slot.PhaseX = x;
        slot.GainY = yG;
        slot.PhaseY = yP;
      }
      if (i != 0 && margins &&
          TestBodeCrossings(productG, sumP, slot.PrevGain, slot.PrevPhase, f.PhasePixelsPerRad)
              .Any()) {
        run.Flush();
        BodeMarginStep(s, t, f, 4, x, w, productG, sumP, slot.PrevGain, slot.PrevPhase, xMP, xMG);
      }
      slot.PrevGain = productG;
      slot.PrevPhase = sumP;
      if (phase) {
        if (paper) {
          SetPen(t, PenStyle::Solid, std::max(t.FramePenWidth, kPaperCurvePen));
          papers[3].Phase.Line(t, frame, slot.PhaseX, slot.PhaseY, x, yP, false);
        } else {
          run.Pen(PenStyle::Solid, t.FramePenWidth);
          run.Line(slot.PhaseX, slot.PhaseY, x, yP);
        }
        slot.PhaseX = x;
        slot.PhaseY = yP;
      }
      // Still black, as set before the product's margins and phase line.
      run.Pen(PenStyle::Solid, t.CurvePenWidth);
      if (gain) {
        if (paper)
          papers[3].Gain.Line(t, frame, slot.GainX, slot.GainY, x, yG, false);
        else
          run.Line(slot.GainX, slot.GainY, x, yG);
      }
      // A column at a zero or pole on the imaginary axis has no gain to write.
      if (s.CapturePoints && t.MainPicture && i % 10 == 0 && orders == 0) {
        const double G = sumG / f.GainPixelsPerDb;
        const double phi = sumP * 180 / std::numbers::pi / f.PhasePixelsPerRad;
        CaptureCurveLine(
            s, FormatRealFine(w) + "   " + FormatRealFine(G) + "   " + FormatRealFine(phi));
      }
      run.Pen(PenStyle::Solid, t.FramePenWidth);
      slot.GainX = x;
      slot.GainY = yG;
    }
  }
  run.Flush();

  if (windowSampled) DrawWindowSampledMargins(s, t, f, ticked, xMP, xMG);

  if (paper) {
    std::vector<CurveEnd> ends;
    const auto add = [&ends](const PaperCurve& c, const std::string& name, Rgb colour) {
      if (c.HasEnd()) ends.push_back({name, colour, c.EndX(), c.EndY()});
    };
    for (int k = 0; k < 4; ++k) {
      if (!ticked[k]) continue;
      const std::string name = k < 3 ? "H" + std::to_string(k + 1) : ProductName(ticked);
      const Rgb colour = k < 3 ? colours[k] : kBlack;
      add(papers[k].Gain, name, colour);
      add(papers[k].Phase, name, colour);
    }
    WriteCurveNames(t, frame, ends, FrameTexts(s, t, f));
  }

  if (f.ResponseValid == 0) AlarmBeep(s.Host);
}

}  // namespace tv
