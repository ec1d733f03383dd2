// Black view: chart geometry, contour, sweep, labels, product, capture, early stop and bad input.
#include "render/black.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/headless_host.h"
#include "core/selection.h"
#include "render/primitives.h"
#include "support/recording_surface.h"
#include "support/three_functions.h"

namespace tv {
namespace {

class BlackDiagramTest : public testing::Test {
 protected:
  void SetUp() override { t = scenes::OnSurface(s, host, surface); }

  // H1 := num / den, ticked.
  void SetH1(CoefficientSet num, CoefficientSet den) {
    s.NumCoeffs[0] = num;
    s.DenCoeffs[0] = den;
    s.CurveTicked[0] = true;
  }

  std::vector<RecordedOp> TextsIn(Rgb colour) const {
    std::vector<RecordedOp> out;
    for (const auto& op : surface.Texts())
      if (op.colour == colour) out.push_back(op);
    return out;
  }
  int CountLines(int x1, int y1, int x2, int y2, Rgb colour) const {
    int n = 0;
    for (const auto& op : surface.Lines())
      if (op.colour == colour && op.x == x1 && op.y == y1 && op.w == x2 && op.h == y2) ++n;
    return n;
  }
  int CountLinesIn(Rgb colour) const {
    int n = 0;
    for (const auto& op : surface.Lines())
      if (op.colour == colour) ++n;
    return n;
  }
  // Whether a 5x5 marker centred on (x, y) was drawn in this colour.
  bool HasMarker(int x, int y, Rgb colour) const {
    for (int dy = -2; dy <= 2; ++dy)
      if (CountLines(x - 2, y + dy, x + 2, y + dy, colour) == 0) return false;
    return true;
  }
  static std::vector<std::string> TextsOf(const std::vector<RecordedOp>& ops) {
    std::vector<std::string> out;
    for (const auto& op : ops) out.push_back(op.text);
    return out;
  }

  DiagramState s;
  DrawTarget t;
  FrameResult f;
  RecordingSurface surface;
  HeadlessHost host;
};

const std::vector<std::string> kDefaultLabels = {"0.1", "0.5", "1",   "5",    "10",
                                                 "50",  "100", "500", "1000", "5000"};

TEST_F(BlackDiagramTest, LayoutOfTheReferenceWindow) {
  const BlackLayout l = ComputeBlackLayout(t);
  EXPECT_EQ(l.XS, 1054);
  EXPECT_EQ(l.X0, 1084);
  EXPECT_EQ(l.YS, 578);
  EXPECT_EQ(l.Y0, 369);
  EXPECT_EQ(l.XText, 2 * surface.CharWidth + 50);
}

TEST_F(BlackDiagramTest, GainGridLinesAndRightAlignedLabels) {
  DrawBlackDiagram(s, t, f);
  const int ys[8] = {586, 514, 441, 369, 297, 224, 152, 80};
  for (int k = -3; k <= 4; ++k) {
    const int y = ys[k + 3];
    SCOPED_TRACE(k);
    EXPECT_TRUE(surface.HasLine(1084, y, 30, y));
    // "0" is also a phase label: look for the one on the gain line.
    const std::string label = std::to_string(10 * k);
    int found = 0;
    for (const auto& op : surface.Texts())
      if (op.text == label && op.y == y) {
        ++found;
        EXPECT_EQ(op.x, 1134 - 53 - surface.CharWidth * static_cast<int>(label.size()));
      }
    EXPECT_EQ(found, 1);
  }
}

TEST_F(BlackDiagramTest, PhaseGridLinesDottedWithLabelsEverySixtyDegrees) {
  DrawBlackDiagram(s, t, f);
  const int xs[19] = {1084, 1025, 967, 908, 850, 791, 733, 674, 616, 557,
                      498,  440,  381, 323, 264, 206, 147, 89,  30};
  for (int k = 0; k <= 18; ++k) {
    SCOPED_TRACE(k);
    bool found = false;
    for (const auto& op : surface.Lines())
      if (op.x == xs[k] && op.y == 80 && op.w == xs[k] && op.h == 586) {
        found = true;
        EXPECT_EQ(op.penStyle, PenStyle::Dotted);
        EXPECT_EQ(op.colour, kBlack);
      }
    EXPECT_TRUE(found);
  }
  // "0" .. "-360" centred above the +40 dB line (font height 10).
  const char* labels[7] = {"0", "-60", "-120", "-180", "-240", "-300", "-360"};
  for (int j = 0; j < 7; ++j) {
    SCOPED_TRACE(labels[j]);
    const std::string label = labels[j];
    const int width = surface.CharWidth * static_cast<int>(label.size());
    bool found = false;
    for (const auto& op : surface.Texts())
      if (op.text == label && op.x == xs[3 * j] - width / 2 && op.y == 80 - 10 - 2) found = true;
    EXPECT_TRUE(found);
  }
  // Only every third phase line is labelled ("-20" exists, but as a gain label).
  int phaseLabels = 0;
  for (const auto& op : surface.Texts())
    if (op.y == 68) ++phaseLabels;
  EXPECT_EQ(phaseLabels, 7);
}

TEST_F(BlackDiagramTest, CriticalPointContourAndItsLabel) {
  surface.RecordMoves = true;
  DrawBlackDiagram(s, t, f);
  EXPECT_TRUE(HasMarker(557, 369, kBlack));
  const RecordedOp* label = surface.FindText("2.3");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->x, 540);
  EXPECT_EQ(label->y, 409);

  // Row 1 (-180, -4.85 dB) to row 2 on each side, and row 22 to row 23.
  EXPECT_TRUE(surface.HasLine(557, 404, 592, 403));  // right: -167.97 degrees
  EXPECT_TRUE(surface.HasLine(557, 404, 522, 403));  // left: -192 degrees
  EXPECT_TRUE(surface.HasLine(596, 279, 557, 278));  // right: -166.67 -> -180 at 12.6 dB
  // Row 12 differs: -129.77 on the right, -230 on the left (not a mirror).
  EXPECT_TRUE(surface.HasLine(703, 347, 704, 340));  // right: -130.01 -> -129.77
  EXPECT_TRUE(surface.HasLine(704, 340, 703, 333));  // right: -129.77 -> -130.16
  EXPECT_TRUE(surface.HasLine(411, 347, 411, 340));  // left: -230 twice, not the mirror 410

  // 22 solid segments per side between the solid and the dotted pen.
  int solid = 0;
  bool inSolid = false;
  for (const auto& op : surface.Ops) {
    if (op.kind == RecordedOp::Pen) {
      if (op.penStyle == PenStyle::Dotted) break;
      inSolid = true;
    } else if (inSolid && op.kind == RecordedOp::Line) {
      ++solid;
    }
  }
  EXPECT_EQ(solid, 44);
}

TEST_F(BlackDiagramTest, ChartIsDrawnWithoutAnyCurve) {
  DrawBlackDiagram(s, t, f);
  EXPECT_EQ(surface.Ops.front().kind, RecordedOp::Fill);  // the clearing comes first
  EXPECT_NE(surface.FindText("2.3"), nullptr);
  EXPECT_EQ(CountLinesIn(kBlue), 0);
  EXPECT_EQ(host.BeepCount, 0);
  EXPECT_EQ(f.ResponseValid, 1);
}

TEST_F(BlackDiagramTest, FirstOrderLagPassesMinus45DegreesAtUnitPulsation) {
  SetH1({1, 0, 0, 0, 0, 0}, {1, 1, 0, 0, 0, 0});
  DrawBlackDiagram(s, t, f);
  bool found = false;
  for (const auto& op : TextsIn(kBlue))
    if (op.text == "1") {
      found = true;
      EXPECT_EQ(op.x, 957);
      EXPECT_EQ(op.y, 391);
    }
  EXPECT_TRUE(found);
  EXPECT_TRUE(HasMarker(952, 391, kBlue));
  // Starts at w = 0.1 near the right edge: -5.71 degrees, -0.04 dB.
  const RecordedOp* start = surface.FindText("0.1");
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->x, 1067 + 5);
  EXPECT_EQ(start->y, 369);
  // Curves are drawn with the thin solid pen.
  for (const auto& op : surface.Lines())
    if (op.colour == kBlue) {
      EXPECT_EQ(op.penStyle, PenStyle::Solid);
      EXPECT_EQ(op.penWidth, t.FramePenWidth);
    }
}

TEST_F(BlackDiagramTest, DefaultRangeSweepsFiveDecadesWithTwoLabelsEach) {
  SetH1({1, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0});  // H = 1: one point at (0 deg, 0 dB)
  DrawBlackDiagram(s, t, f);
  const auto labels = TextsIn(kBlue);
  EXPECT_EQ(TextsOf(labels), kDefaultLabels);
  for (const auto& op : labels) {
    EXPECT_EQ(op.x, 1089);
    EXPECT_EQ(op.y, 369);
  }
  // 451 samples per decade, decades -1 to 3 inclusive, plus one marker per label.
  EXPECT_EQ(CountLines(1084, 369, 1084, 369, kBlue), 5 * 451);
  for (int dy = -2; dy <= 2; ++dy) EXPECT_EQ(CountLines(1082, 369 + dy, 1086, 369 + dy, kBlue), 10);
  EXPECT_EQ(CountLinesIn(kBlue), 5 * 451 + 50);
}

TEST_F(BlackDiagramTest, ColoursFollowTheSlot) {
  SetH1({1, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0});
  s.NumCoeffs[1] = s.DenCoeffs[1] = s.NumCoeffs[2] = s.DenCoeffs[2] = {1, 0, 0, 0, 0, 0};
  s.CurveTicked[1] = s.CurveTicked[2] = true;
  DrawBlackDiagram(s, t, f);
  EXPECT_EQ(TextsOf(TextsIn(kRed)), kDefaultLabels);
  EXPECT_EQ(TextsOf(TextsIn(kPurple)), kDefaultLabels);
  EXPECT_TRUE(f.Swept);
  EXPECT_EQ(f.CurveEnabled[0] + f.CurveEnabled[1] + f.CurveEnabled[2], 3);
}

TEST_F(BlackDiagramTest, ForceBlackTurnsCurvesBlack) {
  SetH1({1, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0});
  t.ForceBlack = 1;
  DrawBlackDiagram(s, t, f);
  EXPECT_EQ(CountLinesIn(kBlue), 0);
  EXPECT_EQ(CountLines(1084, 369, 1084, 369, kBlack), 5 * 451);
}

TEST_F(BlackDiagramTest, FourfoldIntegratorShowsAtPhaseZero) {
  SetH1({1, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 1, 0});
  DrawBlackDiagram(s, t, f);
  const auto labels = TextsIn(kBlue);
  ASSERT_FALSE(labels.empty());
  for (const auto& op : labels) EXPECT_EQ(op.x, 1084 + 5) << op.text;
  const RecordedOp* unit = surface.FindText("1");
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->y, 369);
}

TEST_F(BlackDiagramTest, ProductAloneSitsOnZeroDegreesZeroDb) {
  s.CurveTicked[3] = true;
  DrawBlackDiagram(s, t, f);
  EXPECT_EQ(CountLines(1084, 369, 1084, 369, kBlack), 5 * 451);
  std::vector<std::string> blackLabels;
  for (const auto& op : TextsIn(kBlack))
    if (op.x == 1089 && op.y == 369) blackLabels.push_back(op.text);
  EXPECT_EQ(blackLabels, kDefaultLabels);
  EXPECT_TRUE(HasMarker(1084, 369, kBlack));
  EXPECT_EQ(s.CurveEnabled[0] + s.CurveEnabled[1] + s.CurveEnabled[2], 0);
}

TEST_F(BlackDiagramTest, ProductSumsTheTickedFunctionsOnly) {
  // H1 = H3 = 1/(1+p), H2 = 1/p^4 unticked: the product at w = 1 is -90 deg, -6.02 dB.
  SetH1({1, 0, 0, 0, 0, 0}, {1, 1, 0, 0, 0, 0});
  s.NumCoeffs[1] = {1, 0, 0, 0, 0, 0};
  s.DenCoeffs[1] = {0, 0, 0, 0, 1, 0};
  s.NumCoeffs[2] = s.NumCoeffs[0];
  s.DenCoeffs[2] = s.DenCoeffs[0];
  s.CurveTicked[2] = s.CurveTicked[3] = true;
  DrawBlackDiagram(s, t, f);
  // x(-pi/2) = 1084 - 263.5 -> 820 (half to even); y(-6.0206) = 369 + 43.49 -> 412.
  EXPECT_TRUE(HasMarker(820, 412, kBlack));
  bool found = false;
  for (const auto& op : TextsIn(kBlack))
    if (op.text == "1" && op.x == 825 && op.y == 412) found = true;
  EXPECT_TRUE(found);
}

TEST_F(BlackDiagramTest, ZeroNumeratorDrawsTheFirstDecadeThenBeeps) {
  SetH1({0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0});
  s.PointCount = 1;
  s.MeasuredPoints[0] = {1.0, 0.0, -180.0};
  DrawBlackDiagram(s, t, f);
  // The zero numerator counts as 0 dB at angle 3pi/2: x = 1084 + 790.5 -> 1874.
  EXPECT_EQ(CountLines(1874, 369, 1874, 369, kBlue), 451);
  EXPECT_EQ(TextsOf(TextsIn(kBlue)), (std::vector<std::string>{"0.1", "0.5"}));
  EXPECT_EQ(host.BeepCount, 20);
  EXPECT_EQ(f.ResponseValid, 0);
  // The measured points still come, after the curve.
  EXPECT_TRUE(HasMarker(557, 369, kGreen));
}

TEST_F(BlackDiagramTest, MeasuredPointsLieOverTheCurves) {
  SetH1({1, 0, 0, 0, 0, 0}, {1, 1, 0, 0, 0, 0});
  s.PointCount = 2;
  s.MeasuredPoints[0] = {1.0, 0.0, -180.0};
  s.MeasuredPoints[1] = {0.0, 10.0, -90.0};  // w = 0: ignored
  DrawBlackDiagram(s, t, f);
  std::size_t lastBlue = 0, firstGreen = 0;
  int green = 0;
  for (std::size_t i = 0; i < surface.Ops.size(); ++i) {
    const auto& op = surface.Ops[i];
    if (op.kind != RecordedOp::Line) continue;
    if (op.colour == kBlue) lastBlue = i;
    if (op.colour == kGreen) {
      if (green++ == 0) firstGreen = i;
    }
  }
  EXPECT_EQ(green, 5);
  EXPECT_GT(firstGreen, lastBlue);
  EXPECT_TRUE(HasMarker(557, 369, kGreen));
}

TEST_F(BlackDiagramTest, CaptureCopiesNinetyOneProductPointsPerDecade) {
  SetH1({1, 0, 0, 0, 0, 0}, {1, 1, 0, 0, 0, 0});
  s.CapturePoints = 1;
  s.PointCount = 7;
  host.EditorLines = {"old line"};
  int handlerRuns = 0;
  int countSeenByHandler = -1;
  host.OnBoxChanged = [&](int box) {
    EXPECT_EQ(box, 4);
    ++handlerRuns;
    countSeenByHandler = s.PointCount;
    host.EditorLines.push_back("written by the handler");
  };
  SetCurveTicked(s, 4, true);  // as the redraw does before a capture
  DrawBlackDiagram(s, t, f);
  EXPECT_TRUE(s.CurveTicked[3]);
  EXPECT_EQ(handlerRuns, 1);
  EXPECT_EQ(countSeenByHandler, 7);  // the handler runs before the count is cleared
  EXPECT_TRUE(f.CaptureBegun);
  ASSERT_EQ(host.EditorLines.size(), 5u * 91u);
  EXPECT_EQ(host.EditorLines[0], "0.1   -0.043   -5.711");
  EXPECT_EQ(host.EditorLines[91], "1   -3.01   -45");
  EXPECT_EQ(host.EditorLines.back(), "10000   -80   -89.994");
}

TEST_F(BlackDiagramTest, NoCaptureLeavesTheEditorAlone) {
  s.CurveTicked[3] = true;
  host.EditorLines = {"kept"};
  s.PointCount = 3;
  DrawBlackDiagram(s, t, f);
  EXPECT_EQ(host.EditorLines, std::vector<std::string>{"kept"});
  EXPECT_EQ(s.PointCount, 3);
}

struct MarginCase {
  const char* Name;
  CoefficientSet Den;
  int BodeMode;
  bool ProductToo;
  const char* Prefix;  // a text starting with it is expected
  bool Expected;
};

class BlackMarginCallTest : public BlackDiagramTest,
                            public testing::WithParamInterface<MarginCase> {};

TEST_P(BlackMarginCallTest, MarginStepRunsOnlyInModeTwoAfterTheFirstSample) {
  const MarginCase& c = GetParam();
  SetH1({1, 0, 0, 0, 0, 0}, c.Den);
  s.CurveTicked[3] = c.ProductToo;
  s.ShowMargins = 1;
  s.BodeMode = static_cast<std::uint8_t>(c.BodeMode);
  DrawBlackDiagram(s, t, f);
  bool found = false;
  for (const auto& op : surface.Texts())
    if (op.text.rfind(c.Prefix, 0) == 0) found = true;
  EXPECT_EQ(found, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlackMarginCallTest,
    testing::Values(
        // 1/(p(1+p)) crosses 0 dB near w = 0.786.
        MarginCase{"PhaseMarginFound", {0, 1, 1, 0, 0, 0}, 2, false, "MP1", true},
        MarginCase{"GainOnlyModeSearchesNothing", {0, 1, 1, 0, 0, 0}, 0, false, "MP1", false},
        MarginCase{"PhaseOnlyModeSearchesNothing", {0, 1, 1, 0, 0, 0}, 1, false, "MP1", false},
        MarginCase{"ProductMarginFound", {0, 1, 1, 0, 0, 0}, 2, true, "MP globale", true},
        // 1/p^3 sits at -270 degrees: the jump from the zero start is no crossing.
        MarginCase{"NoGainMarginAtFirstSample", {0, 0, 0, 1, 0, 0}, 2, false, "MG1", false},
        MarginCase{
            "NoProductGainMarginAtFirstSample", {0, 0, 0, 1, 0, 0}, 2, true, "MG globale", false}),
    [](const testing::TestParamInfo<MarginCase>& tested) { return tested.param.Name; });

TEST_F(BlackDiagramTest, AbsurdDecadeRangeIsBounded) {
  s.CurveTicked[3] = true;  // product alone: 0 dB, 0 rad at every pulsation
  s.DecadeMin = INT_MIN;
  s.DecadeMax = INT_MAX;
  DrawBlackDiagram(s, t, f);
  EXPECT_EQ(CountLines(1084, 369, 1084, 369, kBlack), 61 * 451);  // decades -30..30
  EXPECT_EQ(host.BeepCount, 0);
}

TEST_F(BlackDiagramTest, EmptyDecadeRangeDrawsTheChartOnly) {
  s.CurveTicked[3] = true;
  s.DecadeMin = 3;
  s.DecadeMax = 2;
  DrawBlackDiagram(s, t, f);
  EXPECT_EQ(CountLines(1084, 369, 1084, 369, kBlack), 0);
  EXPECT_NE(surface.FindText("2.3"), nullptr);
  EXPECT_EQ(host.BeepCount, 0);
}

struct BadCurveCase {
  const char* Name;
  double NumC0;
  double DenC1;
};

class BlackBadCurveTest : public BlackDiagramTest,
                          public testing::WithParamInterface<BadCurveCase> {};

TEST_P(BlackBadCurveTest, FarOffCurvesStayWithinTheCoordinateLimit) {
  const BadCurveCase& c = GetParam();
  SetH1({c.NumC0, 0, 0, 0, 0, 0}, {1, c.DenC1, 0, 0, 0, 0});
  s.CurveTicked[3] = true;
  s.ShowMargins = 1;
  s.PointCount = 1;
  s.MeasuredPoints[0] = {1.0, std::numeric_limits<double>::quiet_NaN(), 1e300};
  DrawBlackDiagram(s, t, f);
  const int limit = kCoordinateLimit + 100;
  for (const auto& op : surface.Ops) {
    if (op.kind != RecordedOp::Line && op.kind != RecordedOp::Text) continue;
    EXPECT_LE(std::abs(op.x), limit);
    EXPECT_LE(std::abs(op.y), limit);
    EXPECT_LE(std::abs(op.w), limit);
    EXPECT_LE(std::abs(op.h), limit);
  }
}

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Cases, BlackBadCurveTest,
                         testing::Values(BadCurveCase{"HugeGain", 1e300, 1},
                                         BadCurveCase{"TinyGain", 1e-300, 1},
                                         BadCurveCase{"NanCoefficient", kNan, 1},
                                         BadCurveCase{"InfiniteCoefficient", 1, kInf},
                                         BadCurveCase{"NegativeInfinite", -kInf, -1e308}),
                         [](const testing::TestParamInfo<BadCurveCase>& tested) {
                           return tested.param.Name;
                         });

}  // namespace
}  // namespace tv
