// Drawing primitives: vertical rejection, text cut, arrows, the black rule and the origin offsets.
#include "render/primitives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/recording_surface.h"

namespace tv {
namespace {

class PrimitivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.DrawCanvas = &surface;
    t.ScreenCanvas = &screen;
    t.PlotWidth = 400;
    t.PlotHeight = 300;
    t.FramePenWidth = 1;
    t.CurvePenWidth = 2;
  }
  DrawTarget t;
  RecordingSurface surface;
  RecordingSurface screen;
};

struct LineCase {
  const char* name;
  int x1, y1, x2, y2;
  bool drawn;
};

class PlotLineRejection : public PrimitivesTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(PlotLineRejection, DrawsOnlyWhatCanBeSeen) {
  const LineCase& c = GetParam();
  PlotLine(t, c.x1, c.y1, c.x2, c.y2);
  const auto lines = surface.Lines();
  if (!c.drawn) {
    EXPECT_TRUE(lines.empty());
    return;
  }
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].x, c.x1);
  EXPECT_EQ(lines[0].y, c.y1);
  EXPECT_EQ(lines[0].w, c.x2);
  EXPECT_EQ(lines[0].h, c.y2);
}

// H = 300.
INSTANTIATE_TEST_SUITE_P(Primitives, PlotLineRejection,
                         ::testing::Values(LineCase{"BothOnTopEdge", 10, 0, 20, 0, false},
                                           LineCase{"OneEndInside", 10, 0, 20, 1, true},
                                           LineCase{"BothAbove", 10, -50, 20, -1, false},
                                           LineCase{"BothOnBottomEdge", 10, 300, 20, 305, false},
                                           LineCase{"LastRowToBelow", 10, 299, 20, 305, true},
                                           LineCase{"AcrossThePlot", 10, -10, 20, 310, true},
                                           LineCase{"FarLeftStillDrawn", -5000, 10, -4000, 10,
                                                    true}),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(PrimitivesTest, TextOnBottomEdgeIsNotWritten) {
  PlotText(t, 5, 300, "bas");
  EXPECT_TRUE(surface.Texts().empty());
  PlotText(t, 5, 299, "bas");
  ASSERT_EQ(surface.Texts().size(), 1u);
  EXPECT_EQ(surface.Texts()[0].y, 299);
  // Above the plot texts are passed on; the surface cuts them.
  PlotText(t, 5, -20, "haut");
  EXPECT_NE(surface.FindText("haut"), nullptr);
}

TEST_F(PrimitivesTest, ArrowOfZeroLengthDrawsNothingAndRestoresFramePen) {
  surface.SetPen(PenStyle::Dotted, 7);
  DrawArrow(t, 100, 100, 100, 100);
  EXPECT_TRUE(surface.Lines().empty());
  EXPECT_EQ(surface.CurrentStyle(), PenStyle::Solid);
  EXPECT_EQ(surface.CurrentWidth(), 1);
}

struct ArrowCase {
  const char* name;
  int x1, y1, x2, y2;
  int bx1, by1, bx2, by2;  // ends of the two barbs
};

class ArrowBarbs : public PrimitivesTest, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(ArrowBarbs, ShaftThenTwoBarbsWithCurvePen) {
  const ArrowCase& c = GetParam();
  DrawArrow(t, c.x1, c.y1, c.x2, c.y2);
  const auto lines = surface.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(surface.HasLine(c.x1, c.y1, c.x2, c.y2));
  EXPECT_EQ(lines[1].x, c.x2);
  EXPECT_EQ(lines[1].y, c.y2);
  EXPECT_EQ(lines[1].w, c.bx1);
  EXPECT_EQ(lines[1].h, c.by1);
  EXPECT_EQ(lines[2].x, c.x2);
  EXPECT_EQ(lines[2].y, c.y2);
  EXPECT_EQ(lines[2].w, c.bx2);
  EXPECT_EQ(lines[2].h, c.by2);
  for (const auto& l : lines) EXPECT_EQ(l.penWidth, 2);
  EXPECT_EQ(surface.CurrentWidth(), 1);
  EXPECT_EQ(surface.CurrentStyle(), PenStyle::Solid);
}

// Barbs 12 px back along the shaft and 4 px to each side.
INSTANTIATE_TEST_SUITE_P(
    Primitives, ArrowBarbs,
    ::testing::Values(ArrowCase{"Rightwards", 0, 0, 100, 0, 88, -4, 88, 4},
                      ArrowCase{"Upwards", 50, 200, 50, 100, 46, 112, 54, 112},
                      ArrowCase{"Downwards", 50, 100, 50, 200, 54, 188, 46, 188},
                      // 3-4-5 triangle: u = (0.6, 0.8); 12u = (7.2, 9.6), 4u = (2.4, 3.2).
                      ArrowCase{"Diagonal", 0, 0, 30, 40, 26, 28, 20, 33}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(PrimitivesTest, ArrowIgnoresVerticalRejection) {
  DrawArrow(t, 10, -20, 40, -20);
  EXPECT_EQ(surface.Lines().size(), 3u);
}

TEST_F(PrimitivesTest, ForceBlackAppliesToUseColourOnly) {
  t.ForceBlack = 1;
  UseColour(t, kRed);
  EXPECT_EQ(surface.CurrentColour(), kBlack);
  PlotText(t, 0, 10, "t");
  EXPECT_EQ(surface.Texts().back().colour, kBlack);
  SetDrawColour(t, kRed);
  EXPECT_EQ(surface.CurrentColour(), kRed);
  PlotText(t, 0, 10, "u");
  EXPECT_EQ(surface.Texts().back().colour, kRed);
  t.ForceBlack = 0;
  UseColour(t, kPurple);
  EXPECT_EQ(surface.CurrentColour(), kPurple);
}

TEST_F(PrimitivesTest, OriginIsAddedAfterTheRejectionTest) {
  t.OriginX = 20;
  t.OriginY = 30;
  PlotLine(t, 0, 1, 10, 1);
  ASSERT_EQ(surface.Lines().size(), 1u);
  EXPECT_TRUE(surface.HasLine(20, 31, 30, 31));
  // y = 0 in plot coordinates is rejected even though it lands at 30.
  PlotLine(t, 0, 0, 10, 0);
  EXPECT_EQ(surface.Lines().size(), 1u);
  PlotText(t, 5, 6, "o");
  EXPECT_EQ(surface.Texts()[0].x, 25);
  EXPECT_EQ(surface.Texts()[0].y, 36);
  DrawArrow(t, 0, 0, 100, 0);
  EXPECT_TRUE(surface.HasLine(20, 30, 120, 30));
  EXPECT_TRUE(surface.HasLine(120, 30, 108, 26));
}

TEST_F(PrimitivesTest, DottedLineRestoresSolidFramePen) {
  t.FramePenWidth = 3;
  PlotDottedLine(t, 0, 10, 50, 10);
  const auto lines = surface.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].penStyle, PenStyle::Dotted);
  EXPECT_EQ(lines[0].penWidth, 3);
  EXPECT_EQ(surface.CurrentStyle(), PenStyle::Solid);
  EXPECT_EQ(surface.CurrentWidth(), 3);
}

TEST_F(PrimitivesTest, MarkerIsFiveRowsOfFivePixels) {
  DrawMarker(t, 50, 60);
  const auto lines = surface.Lines();
  ASSERT_EQ(lines.size(), 5u);
  const int rows[5] = {60, 61, 59, 58, 62};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(lines[i].x, 48);
    EXPECT_EQ(lines[i].w, 52);
    EXPECT_EQ(lines[i].y, rows[i]);
    EXPECT_EQ(lines[i].h, rows[i]);
  }
}

TEST_F(PrimitivesTest, ClearPlotTouchesOnlyTheScreen) {
  t.OriginX = 40;
  ClearPlot(t);
  EXPECT_TRUE(surface.Ops.empty());
  ASSERT_EQ(screen.Ops.size(), 1u);
  EXPECT_EQ(screen.Ops[0].kind, RecordedOp::Fill);
  EXPECT_EQ(screen.Ops[0].x, 0);
  EXPECT_EQ(screen.Ops[0].w, 400);
  EXPECT_EQ(screen.Ops[0].h, 300);
}

struct RoundCase {
  const char* name;
  double v;
  int expected;
};

class RoundPixelCases : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundPixelCases, HalvesToEvenAndClamped) {
  EXPECT_EQ(RoundPixel(GetParam().v), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Primitives, RoundPixelCases,
    ::testing::Values(RoundCase{"HalfDown", 268.5, 268}, RoundCase{"HalfUp", 805.5, 806},
                      RoundCase{"NegativeHalf", -159.5, -160}, RoundCase{"Below", 2.4999, 2},
                      RoundCase{"Huge", 1e300, kCoordinateLimit},
                      RoundCase{"HugeNegative", -1e300, -kCoordinateLimit},
                      RoundCase{"Infinity", std::numeric_limits<double>::infinity(),
                                kCoordinateLimit},
                      RoundCase{"NotANumber", std::nan(""), 0}),
    [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace tv
