// Measured points, curve capture into the points editor, parameter legend and formula labels.
#include "render/overlays.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "core/diagram_host.h"
#include "core/format.h"
#include "core/parameters.h"
#include "core/selection.h"
#include "render/primitives.h"

namespace tv {

namespace {

// Records in use; a count from a damaged file never reaches past the array.
int UsedPointCount(const DiagramState& s) { return std::clamp(s.PointCount, 0, kMaxPoints); }

// Width of a text as the legend measures it (the extent of our surfaces is
// their text width).
int TextExtent(const DrawTarget& t, std::string_view text) { return TextWidth(t, text); }

// One parameter of the legend: written at (x0, row) when a function uses it.
// Writes one column (rows A, B, C) of three parameters, in the table's
// order from its entry first, starting at x0, and moves n past it.
void LegendColumn(const DiagramState& s, const DrawTarget& t, const LegendCursor& cursor,
                  std::size_t first, int x0, int& n) {
  const int rows[3] = {cursor.RowA, cursor.RowB, cursor.RowC};
  for (int r = 0; r < 3; ++r) {
    const ParameterInfo& e = kParameters[first + static_cast<std::size_t>(r)];
    if (!IsParameterUsed(s, e.ExpressionName)) continue;
    const std::string text = std::string(e.LegendLabel) + FormatReal(s.*e.Field);
    PlotText(t, x0, rows[r], text);
    const int cx = TextExtent(t, text);
    if (r < 2) {
      if (n < x0 + cx + 10) n = x0 + cx + 20;
    } else {
      n = x0 + cx + 10;
    }
  }
}

// A prefix and a fraction on the three legend rows; the bar is left out when
// the denominator reads exactly "1".
void FractionStep(const DrawTarget& t, LegendCursor& cursor, std::string_view prefix, int advance,
                  std::string_view num, std::string_view den) {
  PlotText(t, cursor.X, cursor.RowB, prefix);
  cursor.X += advance;
  const int wN = TextExtent(t, num);
  const int wD = TextExtent(t, den);
  const int wM = wN > wD ? wN : wD;
  if (den != "1") {
    PlotText(t, cursor.X + (wM - wN) / 2, cursor.RowA, num);
    PlotText(t, cursor.X + (wM - wD) / 2, cursor.RowC, den);
    const int yBar = cursor.RowB + cursor.Th / 2;
    PlotLine(t, cursor.X, yBar, cursor.X + wM, yBar);
  } else {
    PlotText(t, cursor.X, cursor.RowB, num);
  }
  cursor.X += wM + 10;
}

}  // namespace

void DrawBodeMeasuredPoints(const DiagramState& s, const DrawTarget& t, const FrameResult& f) {
  UseColour(t, kGreen);
  const double L = std::numbers::ln10;
  const double r = (static_cast<double>(s.DecadeMax) - static_cast<double>(s.DecadeMin)) /
                   (static_cast<double>(t.PlotWidth) - 60.0);
  const int n = UsedPointCount(s);
  for (int i = 0; i < n; ++i) {
    const MeasuredPoint& p = s.MeasuredPoints[i];
    if (p.PulsationRadS == 0) continue;
    const int x = RoundPixel((std::log(p.PulsationRadS) / L - s.DecadeMin) / r) + 30;
    if (s.BodeMode == 0 || s.BodeMode == 2)
      FillSquare(t, x, f.MidY - RoundPixel(f.GainPixelsPerDb * p.GainDb), 2);
    if (s.BodeMode == 1 || s.BodeMode == 2)
      FillSquare(t, x,
                 f.MidY - RoundPixel(std::numbers::pi * f.PhasePixelsPerRad * p.PhaseDeg / 180.0),
                 1);
  }
}

void DrawBlackMeasuredPoints(const DiagramState& s, const DrawTarget& t, const FrameResult& f,
                             const BlackLayout& layout) {
  UseColour(t, kGreen);
  // The points a capture of this frame began with are forgotten already.
  const int n = f.CaptureBegun ? 0 : UsedPointCount(s);
  for (int i = 0; i < n; ++i) {
    const MeasuredPoint& p = s.MeasuredPoints[i];
    if (p.PulsationRadS == 0) continue;
    FillSquare(t, RoundPixel(layout.X0 + layout.XS * p.PhaseDeg / 360.0),
               RoundPixel(layout.Y0 - layout.YS * p.GainDb / 80.0), 2);
  }
}

void BeginCurveCapture(const DiagramState& s, FrameResult& f) {
  // The redraw ticked the product before the frame (its click handling, a
  // redraw, ran then); the count and the text are cleared now, so that only
  // the sweep that follows remains.
  f.CaptureBegun = true;
  if (s.Host) s.Host->ClearEditorText();
}

void CaptureCurveLine(const DiagramState& s, std::string_view line) {
  if (s.Host) s.Host->AppendEditorLine(line);
}

void DrawParameterLegend(const DiagramState& s, const DrawTarget& t, LegendCursor& cursor) {
  // K, T, A in the first column, B, W, Ksi in the second.
  int n = cursor.X;
  LegendColumn(s, t, cursor, 0, cursor.X, n);
  cursor.X = n;
  LegendColumn(s, t, cursor, 3, cursor.X, n);
  cursor.X = n + 5;
}

void DrawFormulaLabel(const DiagramState& s, const DrawTarget& t, LegendCursor& cursor, int k) {
  if (k < 1 || k > 3) return;
  const int i = k - 1;
  const std::string prefix = "H" + IntegerText(k) + "=";
  FractionStep(t, cursor, prefix, TextWidth(t, "H2=") + 3, s.NumText[i].View(),
               s.DenText[i].View());
  FractionStep(t, cursor, "=", TextWidth(t, "=") + 3, PolynomialText(s.NumCoeffs[i]),
               PolynomialText(s.DenCoeffs[i]));
}

std::string PolynomialText(const CoefficientSet& c) {
  static const char* const kPowers[6] = {"", "P", "P2", "P3", "P4", "P5"};
  std::string text;
  if (c[0] != 0) text = CoefficientText(c[0]);
  for (int i = 1; i <= 5; ++i) {
    if (c[i] > 0 && !text.empty()) text += '+';
    if (c[i] != 0) {
      if (c[i] != 1) text += CoefficientText(c[i]);
      text += kPowers[i];
    }
  }
  if (text.size() > 80) text.resize(80);
  return text;
}

std::string CoefficientText(double x) {
  if (x == 0) return "0";
  std::string digits;
  if (std::isnan(x)) {
    digits = "Nan";
  } else if (std::isinf(x)) {
    digits = x > 0 ? "+Inf" : "-Inf";
  } else {
    // Fixed point, 4 decimals, '.' whatever the locale; 1e308 needs 309 digits.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 4);
    digits.assign(buf, res.ptr);
  }
  std::string text = digits.size() < 7 ? std::string(7 - digits.size(), ' ') + digits : digits;
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

}  // namespace tv
