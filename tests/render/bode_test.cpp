// Bode view: frame geometry and labels per mode, curve points, the stop on a zero, capture, bad
// ranges.
#include "render/bode.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "core/headless_host.h"
#include "core/selection.h"
#include "render/primitives.h"
#include "support/recording_surface.h"
#include "support/three_functions.h"

namespace tv {
namespace {

// 1134 x 678 with the start values: decades -1..3, gain -40..+50 dB.
// MidY = 339, P = 1074 / 4 = 268.5 px per decade, 334 / 50 = 6.68 px per dB,
// 66.8 px per 10 dB, q = 319 / 4 = 79.75 px per 90 degrees.
class BodeViewTest : public ::testing::Test {
 protected:
  void SetUp() override { t = scenes::OnSurface(s, host, surface); }

  void Draw() {
    DrawBodeFrame(s, t, f);
    DrawBodeCurves(s, t, f);
  }

  std::vector<RecordedOp> LinesWhere(const std::function<bool(const RecordedOp&)>& pred) const {
    std::vector<RecordedOp> out;
    for (const auto& op : surface.Ops)
      if (op.kind == RecordedOp::Line && pred(op)) out.push_back(op);
    return out;
  }
  bool HasText(std::string_view text, int x, int y) const {
    for (const auto& op : surface.Ops)
      if (op.kind == RecordedOp::Text && op.text == text && op.x == x && op.y == y) return true;
    return false;
  }
  int CountTexts(const std::function<bool(const RecordedOp&)>& pred) const {
    int n = 0;
    for (const auto& op : surface.Ops)
      if (op.kind == RecordedOp::Text && pred(op)) ++n;
    return n;
  }
  // A horizontal gain grid line (30, y)-(W - 30, y), dotted.
  bool HasGainGridLine(int y) const {
    return !LinesWhere([&](const RecordedOp& l) {
              return l.x == 30 && l.w == 1104 && l.y == y && l.h == y &&
                     l.penStyle == PenStyle::Dotted;
            }).empty();
  }

  DiagramState s;
  DrawTarget t;
  FrameResult f;
  HeadlessHost host;
  RecordingSurface surface;
};

TEST_F(BodeViewTest, FrameSetsScalesOfTheDiagram) {
  f.Minus180Y = 0;
  DrawBodeFrame(s, t, f);
  EXPECT_EQ(f.MidY, 339);
  EXPECT_DOUBLE_EQ(f.GainPixelsPerDb, 334.0 / 50.0);
  EXPECT_DOUBLE_EQ(f.PhasePixelsPerRad, 319.0 / 6.283185307179586);
  // -2 * 79.75 = -159.5 rounds to -160: 339 + 160.
  EXPECT_EQ(f.Minus180Y, 499);
}

TEST_F(BodeViewTest, FrameAxisAndDecadeLines) {
  DrawBodeFrame(s, t, f);
  // round(268.5) = 268, round(537), round(805.5) = 806, round(1074); + 30.
  for (int x : {30, 298, 567, 836, 1104}) {
    const auto found = LinesWhere([&](const RecordedOp& l) {
      return l.x == x && l.y == 5 && l.w == x && l.h == 638 && l.penStyle == PenStyle::Solid &&
             l.penWidth == 1 && l.colour == kBlack;
    });
    EXPECT_FALSE(found.empty()) << "decade line at x = " << x;
  }
}

struct TickCase {
  const char* name;
  int x;
  int halfLength;
};

class BodeFrameTicks : public BodeViewTest, public ::testing::WithParamInterface<TickCase> {};

TEST_P(BodeFrameTicks, TickAtLogPosition) {
  DrawBodeFrame(s, t, f);
  const TickCase& c = GetParam();
  EXPECT_TRUE(surface.HasLine(c.x, 339 - c.halfLength, c.x, 339 + c.halfLength))
      << "tick at x = " << c.x;
}

// x = round(268.5 ln(j) / 2.302585 + i 268.5) + 30.
INSTANTIATE_TEST_SUITE_P(
    Bode, BodeFrameTicks,
    ::testing::Values(TickCase{"FirstDecadeOne", 30, 4},
                      TickCase{"FirstDecadeTwo", 111, 4},   // 80.83
                      TickCase{"FirstDecadeFive", 218, 8},  // 187.67, the long one
                      TickCase{"FirstDecadeNine", 286, 4},  // 256.21
                      // 268.5 * 1.00000004 is just above the half: the tick of
                      // j = 10 lands one pixel right of the decade line at 298.
                      TickCase{"FirstDecadeTen", 299, 4},
                      TickCase{"SecondDecadeTwo", 379, 4},  // 349.33
                      TickCase{"SecondDecadeTen", 567, 4},  // 537.00
                      TickCase{"ThirdDecadeFive", 755, 8},  // 724.67
                      TickCase{"LastDecadeFive", 1023, 8},  // 993.17
                      TickCase{"LastDecadeTen", 1104, 4}),
    [](const auto& tested) { return std::string(tested.param.name); });

struct TextCase {
  const char* name;
  const char* text;
  int x, y;
};

class BodeFrameLabelsBothModes : public BodeViewTest,
                                 public ::testing::WithParamInterface<TextCase> {};

TEST_P(BodeFrameLabelsBothModes, WrittenAt) {
  DrawBodeFrame(s, t, f);
  const TextCase& c = GetParam();
  EXPECT_TRUE(HasText(c.text, c.x, c.y)) << c.text;
}

// Decade labels at round(i P) + 32, rows MidY - 5 - 2 th = 314 and 324;
// gain labels at (33, y + 3); phase labels right-aligned at W - 33.
INSTANTIATE_TEST_SUITE_P(
    Bode, BodeFrameLabelsBothModes,
    ::testing::Values(
        TextCase{"DecadeTenth", "0.1", 32, 314}, TextCase{"ExponentMinusOne", "-1", 32, 324},
        TextCase{"DecadeOne", "1", 300, 314}, TextCase{"ExponentZero", "0", 300, 324},
        TextCase{"DecadeTen", "10", 569, 314}, TextCase{"ExponentOne", "1", 569, 324},
        TextCase{"DecadeHundred", "100", 838, 314}, TextCase{"ExponentTwo", "2", 838, 324},
        TextCase{"RowNameW", "w", 1095, 314}, TextCase{"RowNameLogW", "log w", 1071, 324},
        TextCase{"Gain10", "10", 33, 275}, TextCase{"Gain20", "20", 33, 208},
        TextCase{"Gain30", "30", 33, 142}, TextCase{"Gain40", "40", 33, 75},
        TextCase{"Gain50", "50", 33, 8}, TextCase{"ZeroDb", "0dB", 33, 342},
        TextCase{"GainMinus10", "-10", 33, 409}, TextCase{"GainMinus20", "-20", 33, 476},
        TextCase{"GainMinus30", "-30", 33, 542}, TextCase{"GainMinus40", "-40", 33, 609},
        TextCase{"PhaseMinus270", "-270", 1077, 578}, TextCase{"PhaseMinus180", "-180", 1077, 499},
        TextCase{"PhaseMinus90", "-90", 1083, 419}, TextCase{"PhaseZero", "0", 1095, 339},
        TextCase{"Phase90", "90", 1089, 259}, TextCase{"Phase180", "180", 1083, 179},
        TextCase{"Phase270", "270", 1083, 100}, TextCase{"Phase360", "360", 1083, 20}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(BodeViewTest, BothModesGridLines) {
  DrawBodeFrame(s, t, f);
  // Upper: round(339 - 66.8 i); lower: 339 + round(66.8 i).
  for (int y : {272, 205, 139, 72, 5, 339, 406, 473, 539, 606})
    EXPECT_TRUE(HasGainGridLine(y)) << "gain line at y = " << y;
  EXPECT_FALSE(HasGainGridLine(673)) << "no line for -50 dB";
  EXPECT_EQ(CountTexts([](const RecordedOp& op) { return op.text == "-50"; }), 0);
  // Phase: ticks in both margins, a full line at -180.
  for (int y : {578, 419, 339, 259, 179, 100, 20}) {
    EXPECT_TRUE(surface.HasLine(1134, y, 1104, y)) << y;
    EXPECT_TRUE(surface.HasLine(30, y, 0, y)) << y;
  }
  EXPECT_TRUE(surface.HasLine(1134, 499, 30, 499));
  EXPECT_FALSE(surface.HasLine(1134, 499, 1104, 499));
}

TEST_F(BodeViewTest, RowNamesOncePerLabelledDecadeAndNoLabelOnLastLine) {
  DrawBodeFrame(s, t, f);
  EXPECT_EQ(CountTexts([](const RecordedOp& op) { return op.text == "w"; }), 4);
  EXPECT_EQ(CountTexts([](const RecordedOp& op) { return op.text == "log w"; }), 4);
  EXPECT_EQ(CountTexts([](const RecordedOp& op) { return op.x == 1106; }), 0);
  EXPECT_EQ(surface.FindText("1000"), nullptr);
}

TEST_F(BodeViewTest, PhaseOnlyModeDrawsDottedPhaseGridWithUnsignedLabels) {
  s.BodeMode = 1;
  f.Minus180Y = 123;
  DrawBodeFrame(s, t, f);
  EXPECT_EQ(f.Minus180Y, 123);
  for (int y : {578, 499, 419, 339, 259, 179, 100, 20}) {
    const auto found = LinesWhere([&](const RecordedOp& l) {
      return l.x == 1104 && l.y == y && l.w == 30 && l.h == y && l.penStyle == PenStyle::Dotted;
    });
    EXPECT_EQ(found.size(), 1u) << y;
  }
  EXPECT_TRUE(HasText("270", 1106, 578));
  EXPECT_TRUE(HasText("180", 1106, 499));
  EXPECT_TRUE(HasText("90", 1106, 419));
  EXPECT_TRUE(HasText("0", 1106, 339));
  EXPECT_TRUE(HasText("90", 1106, 259));
  EXPECT_TRUE(HasText("360", 1106, 20));
  EXPECT_EQ(CountTexts([](const RecordedOp& op) { return op.x == 1106 && op.text[0] == '-'; }), 0);
  // No gain grid, not even the 0 dB line, but its label stays.
  EXPECT_TRUE(HasText("0dB", 33, 342));
  EXPECT_FALSE(HasGainGridLine(339));
  EXPECT_FALSE(HasGainGridLine(272));
  EXPECT_EQ(surface.FindText("-10"), nullptr);
  EXPECT_EQ(surface.FindText("50"), nullptr);
  // Decade labels are the same in every mode.
  EXPECT_TRUE(HasText("0.1", 32, 314));
  EXPECT_EQ(surface.Ops.back().kind, RecordedOp::Colour);
  EXPECT_EQ(surface.CurrentStyle(), PenStyle::Solid);
}

TEST_F(BodeViewTest, GainOnlyModeHasNoPhaseGrid) {
  s.BodeMode = 0;
  f.Minus180Y = 321;
  DrawBodeFrame(s, t, f);
  EXPECT_EQ(f.Minus180Y, 321);
  EXPECT_FALSE(surface.HasLine(1134, 499, 30, 499));
  EXPECT_FALSE(surface.HasLine(1134, 578, 1104, 578));
  EXPECT_EQ(surface.FindText("-270"), nullptr);
  EXPECT_EQ(surface.FindText("360"), nullptr);
  EXPECT_TRUE(HasGainGridLine(272));
  EXPECT_TRUE(HasGainGridLine(606));
  // Scales are set in every mode.
  EXPECT_DOUBLE_EQ(f.PhasePixelsPerRad, 319.0 / 6.283185307179586);
}

TEST_F(BodeViewTest, DecadeLabelsBeyondTheTableContinueTheNotation) {
  s.DecadeMin = -12;
  s.DecadeMax = -8;
  DrawBodeFrame(s, t, f);
  EXPECT_TRUE(HasText("10E-12", 32, 314));
  EXPECT_TRUE(HasText("-12", 32, 324));
  EXPECT_TRUE(HasText("10E-11", 300, 314));
  EXPECT_TRUE(HasText("10E-10", 569, 314));
  EXPECT_TRUE(HasText("10E-9", 838, 314));
}

// Points of H1 = 1/(1 + p) at column i: x = i + 30, w = 10^(-1 + 4 i / 1074),
// gain y = 339 - round(-10 ln(1 + w^2) / 2.302585 * 6.68), phase y =
// 339 + round(atan(w) * 319 / 2pi).
struct CurvePointCase {
  const char* name;
  int column;
  int gainY;
  int phaseY;
  bool gainVisible;
};

class BodeCurvePoints : public BodeViewTest,
                        public ::testing::WithParamInterface<CurvePointCase> {};

TEST_P(BodeCurvePoints, SegmentsEndOnTheResponse) {
  const CurvePointCase& c = GetParam();
  s.DenCoeffs[0] = {1, 1, 0, 0, 0, 0};
  s.CurveTicked[0] = true;
  Draw();
  const int x = c.column + 30;
  const auto gain = LinesWhere([&](const RecordedOp& l) {
    return l.colour == kBlue && l.penWidth == 2 && l.penStyle == PenStyle::Solid && l.w == x &&
           l.h == c.gainY && l.x == (c.column == 0 ? x : x - 1);
  });
  EXPECT_EQ(gain.size(), c.gainVisible ? 1u : 0u);
  const auto phase = LinesWhere([&](const RecordedOp& l) {
    return l.colour == kBlue && l.penWidth == 1 && l.penStyle == PenStyle::Dotted && l.w == x &&
           l.h == c.phaseY;
  });
  EXPECT_EQ(phase.size(), 1u);
  EXPECT_EQ(host.BeepCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Bode, BodeCurvePoints,
    ::testing::Values(CurvePointCase{"FirstColumn", 0, 339, 344, true},   // -0.043 dB
                      CurvePointCase{"Column100", 100, 341, 351, true},   // w = 0.2357
                      CurvePointCase{"TenRadPerS", 537, 473, 414, true},  // -20.04 dB
                      // -60 dB lies below the plot: both ends rejected.
                      CurvePointCase{"LastColumn", 1074, 740, 419, false}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(BodeViewTest, SweepCoversEveryColumnOnce) {
  s.DenCoeffs[0] = {1, 1, 0, 0, 0, 0};
  s.CurveTicked[0] = true;
  s.BodeMode = 1;
  Draw();
  const auto phase = LinesWhere([](const RecordedOp& l) { return l.colour == kBlue; });
  ASSERT_EQ(phase.size(), 1075u);
  for (int i = 0; i < 1075; ++i) EXPECT_EQ(phase[static_cast<std::size_t>(i)].w, i + 30);
  // Phase only: no gain curve.
  EXPECT_TRUE(LinesWhere([](const RecordedOp& l) { return l.penWidth == 2; }).empty());
}

TEST_F(BodeViewTest, ProductIsSolidAndBlack) {
  s.DenCoeffs[0] = {1, 1, 0, 0, 0, 0};
  s.CurveTicked[0] = true;
  s.CurveTicked[3] = true;
  Draw();
  // Column 537 again, now also in black: solid phase with the frame pen.
  EXPECT_EQ(LinesWhere([](const RecordedOp& l) {
              return l.colour == kBlack && l.penWidth == 2 && l.x == 566 && l.w == 567 &&
                     l.h == 473;
            }).size(),
            1u);
  EXPECT_EQ(LinesWhere([](const RecordedOp& l) {
              return l.colour == kBlack && l.penWidth == 1 && l.penStyle == PenStyle::Solid &&
                     l.x == 566 && l.w == 567 && l.h == 414;
            }).size(),
            1u);
}

TEST_F(BodeViewTest, ProductOfNothingIsFlat) {
  s.CurveTicked[3] = true;
  Draw();
  const auto product = LinesWhere([](const RecordedOp& l) {
    return l.colour == kBlack && l.x >= 30 && l.w > 30 && l.y == 339 && l.h == 339 &&
           l.penStyle == PenStyle::Solid && (l.w - l.x) == 1;
  });
  // One gain and one phase segment per column after the first.
  EXPECT_EQ(product.size(), 2u * 1074u);
}

TEST_F(BodeViewTest, ZeroNumeratorStopsAfterFirstColumn) {
  s.NumCoeffs[0] = {0, 0, 0, 0, 0, 0};
  s.CurveTicked[0] = true;
  s.CurveTicked[3] = true;
  Draw();
  EXPECT_EQ(f.ResponseValid, 0);
  EXPECT_EQ(host.BeepCount, 20);
  const auto curves = LinesWhere([](const RecordedOp& l) {
    return l.colour == kBlue || (l.colour == kBlack && l.x == 30 && l.w == 30 && l.y != 5);
  });
  ASSERT_FALSE(curves.empty());
  for (const auto& l : curves) {
    EXPECT_EQ(l.x, 30);
    EXPECT_EQ(l.w, 30);
  }
  // The zero counts as 0 dB; its angle is 3 pi / 2: 339 - round(239.26).
  EXPECT_TRUE(surface.HasLine(30, 339, 30, 339));
  EXPECT_TRUE(surface.HasLine(30, 100, 30, 100));
  EXPECT_TRUE(
      LinesWhere([](const RecordedOp& l) { return l.w > 31 && l.colour == kBlue; }).empty());
}

TEST_F(BodeViewTest, CaptureEveryTenthColumnOfTheProduct) {
  s.DenCoeffs[0] = {1, 1, 0, 0, 0, 0};
  s.CurveTicked[0] = true;
  host.EditorLines = {"ancien"};
  s.PointCount = 7;
  s.CapturePoints = 1;
  SetCurveTicked(s, 4, true);  // as the redraw does before a capture
  Draw();
  EXPECT_TRUE(f.CaptureBegun);
  ASSERT_EQ(host.EditorLines.size(), 108u);
  // w = 0.1: -10 ln(1.01) / 2.302585 dB, -atan(0.1) in degrees.
  EXPECT_EQ(host.EditorLines[0], "0.1   -0.04321   -5.71059");
  // Column 10: w = 10^(-1 + 40 / 1074).
  EXPECT_EQ(host.EditorLines[1], "0.10895   -0.05125   -6.21809");
}

class ScrollCountingHost : public HeadlessHost {
 public:
  int Scrolls = 0;
  void ScrollToTop() override { ++Scrolls; }
};

TEST_F(BodeViewTest, CurvesScrollToTopAndValidateResponse) {
  ScrollCountingHost scrolling;
  s.Host = &scrolling;
  f.ResponseValid = 0;
  Draw();
  EXPECT_EQ(scrolling.Scrolls, 1);
  EXPECT_EQ(f.ResponseValid, 1);
  EXPECT_EQ(scrolling.BeepCount, 0);
}

TEST_F(BodeViewTest, MeasuredPointsAreDrawnBeforeTheCurves) {
  s.MeasuredPoints[0] = {1.0, 0.0, -180.0};
  s.PointCount = 1;
  s.CurveTicked[3] = true;
  Draw();
  std::size_t firstGreen = surface.Ops.size(), firstCurve = surface.Ops.size();
  for (std::size_t i = 0; i < surface.Ops.size(); ++i) {
    const auto& op = surface.Ops[i];
    if (op.kind != RecordedOp::Line) continue;
    if (op.colour == kGreen && firstGreen == surface.Ops.size()) firstGreen = i;
    if (op.colour == kBlack && op.penWidth == 2 && firstCurve == surface.Ops.size()) firstCurve = i;
  }
  ASSERT_LT(firstGreen, surface.Ops.size());
  EXPECT_LT(firstGreen, firstCurve);
}

// Ranges a transfer file may carry, and plots too small for a sweep: every
// case must finish with a bounded amount of drawing.
struct BadInputCase {
  const char* name;
  int width, height;
  int decadeMin, decadeMax;
  int gainMin, gainMax;
  bool curvesDrawn;  // anything in the colours of H1 or H2
  bool decadesDrawn;
};

class BodeBadInput : public BodeViewTest, public ::testing::WithParamInterface<BadInputCase> {};

TEST_P(BodeBadInput, DrawsWhatIsSensibleAndStaysBounded) {
  const BadInputCase& c = GetParam();
  t.PlotWidth = c.width;
  t.PlotHeight = c.height;
  s.DecadeMin = c.decadeMin;
  s.DecadeMax = c.decadeMax;
  s.GainMinDb = c.gainMin;
  s.GainMaxDb = c.gainMax;
  s.DenCoeffs[0] = {1, 1, 0, 0, 0, 0};
  s.DenCoeffs[1] = {0, 1, 1, 0, 0, 0};
  s.CurveTicked[0] = s.CurveTicked[1] = s.CurveTicked[3] = true;
  s.ShowMargins = 1;
  s.MeasuredPoints[0] = {1.0, 0.0, -90.0};
  s.PointCount = 1;
  Draw();
  EXPECT_LT(surface.Ops.size(), 200000u);
  const bool curves = !LinesWhere([](const RecordedOp& l) {
                         return l.colour == kBlue || l.colour == kRed;
                       }).empty();
  EXPECT_EQ(curves, c.curvesDrawn);
  // Decade lines other than the left axis.
  const bool decades =
      !LinesWhere([&](const RecordedOp& l) {
         return l.colour == kBlack && l.y == 5 && l.h == c.height - 40 && l.x == l.w && l.x != 30;
       }).empty();
  EXPECT_EQ(decades, c.decadesDrawn);
  EXPECT_TRUE(surface.HasLine(30, 5, 30, c.height - 40));
  for (const auto& op : surface.Ops) {
    EXPECT_LE(std::abs(op.x), 2 * kCoordinateLimit);
    EXPECT_LE(std::abs(op.y), 2 * kCoordinateLimit);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bode, BodeBadInput,
    ::testing::Values(
        BadInputCase{"Sane", 1134, 678, -1, 3, -40, 50, true, true},
        BadInputCase{"WidthSixty", 60, 678, -1, 3, -40, 50, false, false},
        BadInputCase{"WidthSixtyOne", 61, 678, -1, 0, -40, 50, true, true},
        BadInputCase{"WidthZero", 0, 678, -1, 3, -40, 50, false, false},
        BadInputCase{"WidthNegative", -500, 678, -1, 3, -40, 50, false, false},
        BadInputCase{"NoDecadeSpan", 1134, 678, 2, 2, -40, 50, false, false},
        BadInputCase{"ReversedDecades", 1134, 678, 3, -1, -40, 50, false, false},
        // One decade per pixel is still drawn; beyond that the lines cannot
        // be told apart.
        BadInputCase{"DecadePerPixel", 80, 678, -10, 10, -40, 50, true, true},
        BadInputCase{"MoreDecadesThanPixels", 79, 678, -10, 10, -40, 50, true, false},
        BadInputCase{"WholeIntRange", 1134, 678, INT_MIN, INT_MAX, -40, 50, true, false},
        BadInputCase{"SmallGainReference", 1134, 678, -1, 3, -3, 3, true, true},
        BadInputCase{"ZeroGainReference", 1134, 678, -1, 3, 0, 0, true, true},
        BadInputCase{"HugeGainBounds", 1134, 678, -1, 3, INT_MIN, INT_MAX, true, true},
        BadInputCase{"HugeLowerGainBound", 1134, 678, -1, 3, INT_MIN, 50, true, true},
        BadInputCase{"TinyPlot", 100, 12, -1, 3, -40, 50, true, true},
        // Every segment is rejected, but the margin arrows of H2 ignore
        // the rejection.
        BadInputCase{"NegativeHeight", 1134, -40, -1, 3, -40, 50, true, true}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(BodeViewTest, NoSweepLeavesResponseValidAndSilent) {
  t.PlotWidth = 60;
  s.CurveTicked[0] = true;
  s.CapturePoints = 1;
  host.EditorLines = {"garde"};
  Draw();
  EXPECT_EQ(f.ResponseValid, 1);
  EXPECT_EQ(host.BeepCount, 0);
  EXPECT_EQ(host.EditorLines.size(), 1u);
}

TEST_F(BodeViewTest, GainReferenceOfFiveOrLessKeepsOnlyTheZeroLine) {
  s.GainMinDb = -5;
  s.GainMaxDb = 5;  // round(0.5) = 0 steps of 10 dB
  DrawBodeFrame(s, t, f);
  EXPECT_DOUBLE_EQ(f.GainPixelsPerDb, 334.0 / 5.0);
  const auto grid = LinesWhere([](const RecordedOp& l) {
    return l.penStyle == PenStyle::Dotted && l.x == 30 && l.w == 1104;
  });
  ASSERT_EQ(grid.size(), 1u);
  EXPECT_EQ(grid[0].y, 339);
  EXPECT_TRUE(HasText("0dB", 33, 342));
  EXPECT_EQ(CountTexts([](const RecordedOp& op) { return op.x == 33 && op.text != "0dB"; }), 0);
}

TEST_F(BodeViewTest, ZeroGainReferenceUsesTenDbScale) {
  s.GainMinDb = 0;
  s.GainMaxDb = 0;
  DrawBodeFrame(s, t, f);
  EXPECT_DOUBLE_EQ(f.GainPixelsPerDb, 33.4);
}

TEST_F(BodeViewTest, HugeLowerBoundStopsBelowThePlot) {
  s.GainMinDb = INT_MIN;
  DrawBodeFrame(s, t, f);
  // 339 + round(5 * 66.8) = 673 is the last line inside a 678 px plot.
  EXPECT_TRUE(HasGainGridLine(673));
  EXPECT_TRUE(HasText("-50", 33, 676));
  EXPECT_EQ(surface.FindText("-60"), nullptr);
  EXPECT_DOUBLE_EQ(f.GainPixelsPerDb, 6.68);
}

TEST_F(BodeViewTest, HugeGainReferenceDrawsNoSubPixelGrid) {
  s.GainMinDb = -40;
  s.GainMaxDb = INT_MAX;
  DrawBodeFrame(s, t, f);
  const auto grid = LinesWhere([](const RecordedOp& l) {
    return l.penStyle == PenStyle::Dotted && l.x == 30 && l.w == 1104;
  });
  ASSERT_EQ(grid.size(), 1u);
  EXPECT_EQ(grid[0].y, 339);
  EXPECT_DOUBLE_EQ(f.GainPixelsPerDb, 334.0 / 2147483647.0);
}

}  // namespace
}  // namespace tv
