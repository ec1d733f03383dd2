// Measured points in both views, curve capture, parameter legend, formula labels and coefficient
// texts.
#include "render/overlays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/headless_host.h"
#include "render/black.h"
#include "render/primitives.h"
#include "render/redraw.h"
#include "support/recording_surface.h"
#include "support/three_functions.h"

namespace tv {
namespace {

class OverlayTest : public testing::Test {
 protected:
  void SetUp() override {
    t = scenes::OnSurface(s, host, surface);
    cursor.Th = 10;
    cursor.RowA = 12;
    cursor.RowB = 22;
    cursor.RowC = 32;
    cursor.X = 60;
  }

  // The horizontal runs of a filled square of half-size r centred on (x, y).
  bool HasSquare(int x, int y, int r) const {
    for (int dy = -r; dy <= r; ++dy)
      if (!surface.HasLine(x - r, y + dy, x + r, y + dy)) return false;
    return true;
  }
  // Text written exactly at (x, y).
  bool HasTextAt(std::string_view text, int x, int y) const {
    for (const auto& op : surface.Texts())
      if (op.text == text && op.x == x && op.y == y) return true;
    return false;
  }

  DiagramState s;
  DrawTarget t;
  FrameResult f;
  RecordingSurface surface;
  HeadlessHost host;
  LegendCursor cursor;
};

// --- Measured points -------------------------------------------------------

struct BodePointsCase {
  const char* Name;
  int Mode;
  bool Gain;
  bool Phase;
};

class BodeMeasuredPointsTest : public OverlayTest,
                               public testing::WithParamInterface<BodePointsCase> {};

TEST_P(BodeMeasuredPointsTest, SquaresFollowTheMode) {
  const BodePointsCase& c = GetParam();
  s.BodeMode = static_cast<std::uint8_t>(c.Mode);
  f.MidY = 300;
  f.GainPixelsPerDb = 5;
  f.PhasePixelsPerRad = 100;
  s.PointCount = 3;
  s.MeasuredPoints[0] = {1.0, 0.0, -180.0};  // 268.5 pixels right of the axis: even -> 268
  s.MeasuredPoints[1] = {0.0, 20.0, 0.0};    // w = 0: skipped
  s.MeasuredPoints[2] = {10.0, 10.0, 90.0};
  DrawBodeMeasuredPoints(s, t, f);
  EXPECT_EQ(HasSquare(298, 300, 2), c.Gain);
  EXPECT_EQ(HasSquare(298, 614, 1), c.Phase);
  EXPECT_EQ(HasSquare(567, 250, 2), c.Gain);
  EXPECT_EQ(HasSquare(567, 143, 1), c.Phase);
  const std::size_t expected = (c.Gain ? 10u : 0u) + (c.Phase ? 6u : 0u);
  EXPECT_EQ(surface.Lines().size(), expected);
  for (const auto& op : surface.Lines()) EXPECT_EQ(op.colour, kGreen);
}

INSTANTIATE_TEST_SUITE_P(Modes, BodeMeasuredPointsTest,
                         testing::Values(BodePointsCase{"GainOnly", 0, true, false},
                                         BodePointsCase{"PhaseOnly", 1, false, true},
                                         BodePointsCase{"GainAndPhase", 2, true, true}),
                         [](const testing::TestParamInfo<BodePointsCase>& tested) {
                           return tested.param.Name;
                         });

TEST_F(OverlayTest, BodePointsWithUnusablePulsationsDoNotCrash) {
  s.BodeMode = 2;
  f.MidY = 300;
  f.GainPixelsPerDb = 5;
  f.PhasePixelsPerRad = 100;
  s.PointCount = 4;
  s.MeasuredPoints[0] = {-5.0, 0.0, 0.0};  // ln of a negative: NaN, lands on the axis
  s.MeasuredPoints[1] = {std::numeric_limits<double>::infinity(), 1e300, -1e300};
  s.MeasuredPoints[2] = {1e-320, std::numeric_limits<double>::quiet_NaN(), 0.0};
  s.MeasuredPoints[3] = {1.0, 0.0, 0.0};
  DrawBodeMeasuredPoints(s, t, f);
  EXPECT_TRUE(HasSquare(30, 300, 2));
  for (const auto& op : surface.Lines()) {
    EXPECT_LE(std::abs(op.x), kCoordinateLimit + 100);
    EXPECT_LE(std::abs(op.y), kCoordinateLimit + 100);
  }
}

TEST_F(OverlayTest, BodePointsWithAZeroWidthRangeDoNotCrash) {
  s.BodeMode = 0;
  f.MidY = 300;
  s.DecadeMin = s.DecadeMax = 2;
  t.PlotWidth = 60;
  s.PointCount = 1;
  s.MeasuredPoints[0] = {10.0, 0.0, 0.0};
  DrawBodeMeasuredPoints(s, t, f);
  EXPECT_EQ(surface.Lines().size(), 5u);
}

TEST_F(OverlayTest, PointCountOutsideTheArrayIsBounded) {
  s.BodeMode = 0;
  s.PointCount = 1 << 30;
  DrawBodeMeasuredPoints(s, t, f);  // all 500 records have w = 0
  EXPECT_TRUE(surface.Lines().empty());
  s.PointCount = -4;
  s.MeasuredPoints[0] = {1.0, 0.0, 0.0};
  DrawBlackMeasuredPoints(s, t, f, ComputeBlackLayout(t));
  EXPECT_TRUE(surface.Lines().empty());
}

TEST_F(OverlayTest, BlackPointsMapPhaseAndGainOnTheChart) {
  s.PointCount = 3;
  s.MeasuredPoints[0] = {1.0, 0.0, -180.0};  // the critical point
  s.MeasuredPoints[1] = {2.0, 10.0, -90.0};  // 820.5 -> 820, 296.75 -> 297
  s.MeasuredPoints[2] = {0.0, 0.0, -180.0};  // skipped
  DrawBlackMeasuredPoints(s, t, f, ComputeBlackLayout(t));
  EXPECT_TRUE(HasSquare(557, 369, 2));
  EXPECT_TRUE(HasSquare(820, 297, 2));
  EXPECT_EQ(surface.Lines().size(), 10u);
  for (const auto& op : surface.Lines()) EXPECT_EQ(op.colour, kGreen);
}

TEST_F(OverlayTest, BlackPointsTurnBlackWhenForced) {
  t.ForceBlack = 1;
  s.PointCount = 1;
  s.MeasuredPoints[0] = {1.0, 0.0, -180.0};
  DrawBlackMeasuredPoints(s, t, f, ComputeBlackLayout(t));
  ASSERT_FALSE(surface.Lines().empty());
  for (const auto& op : surface.Lines()) EXPECT_EQ(op.colour, kBlack);
}

// --- Curve capture ---------------------------------------------------------

TEST_F(OverlayTest, CaptureTicksTheProductBeforeTheFrameThenClears) {
  s.CapturePoints = 1;
  s.PointCount = 12;
  host.EditorLines = {"a", "b"};
  std::vector<std::string> seen;
  host.OnBoxChanged = [&](int box) {
    seen.push_back("box " + std::to_string(box) + " count " + std::to_string(s.PointCount) +
                   " lines " + std::to_string(host.EditorLines.size()));
    host.AppendEditorLine("from the nested redraw");
  };
  ASSERT_TRUE(RedrawDiagram(s, t, f));
  EXPECT_EQ(seen, std::vector<std::string>{"box 4 count 12 lines 2"});
  EXPECT_TRUE(s.CurveTicked[3]);
  EXPECT_TRUE(f.CaptureBegun);
  EXPECT_EQ(s.PointCount, 0);
  EXPECT_EQ(std::count(host.EditorLines.begin(), host.EditorLines.end(), "from the nested redraw"),
            0);

  // Already ticked: the handler does not run again, the clearing still happens.
  host.EditorLines = {"c"};
  ASSERT_TRUE(RedrawDiagram(s, t, f));
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(std::count(host.EditorLines.begin(), host.EditorLines.end(), "c"), 0);
}

TEST_F(OverlayTest, CaptureLinesAppendInOrder) {
  CaptureCurveLine(s, "0.1   0   0");
  CaptureCurveLine(s, "0.11   -1.5   -3");
  EXPECT_EQ(host.EditorLines, (std::vector<std::string>{"0.1   0   0", "0.11   -1.5   -3"}));
}

TEST_F(OverlayTest, CaptureWithoutHostIsHarmless) {
  s.Host = nullptr;
  s.PointCount = 5;
  BeginCurveCapture(s, f);
  CaptureCurveLine(s, "x");
  EXPECT_TRUE(f.CaptureBegun);
}

// --- Parameter legend ------------------------------------------------------

struct LegendText {
  std::string Text;
  int X, Y;
  friend bool operator==(const LegendText&, const LegendText&) = default;
};

std::ostream& operator<<(std::ostream& os, const LegendText& t) {
  return os << '"' << t.Text << "\" at (" << t.X << ", " << t.Y << ")";
}

struct LegendCase {
  const char* Name;
  const char* Num;
  const char* Den;
  double T;
  std::vector<LegendText> Expected;
  int CursorAfter;
};

class ParameterLegendTest : public OverlayTest, public testing::WithParamInterface<LegendCase> {};

TEST_P(ParameterLegendTest, WritesTheUsedParametersInTwoColumns) {
  const LegendCase& c = GetParam();
  s.NumText[1].Assign(c.Num);
  s.DenText[2].Assign(c.Den);
  s.ParamT = c.T;
  DrawParameterLegend(s, t, cursor);
  std::vector<LegendText> got;
  for (const auto& op : surface.Texts()) got.push_back({op.text, op.x, op.y});
  EXPECT_EQ(got, c.Expected);
  EXPECT_EQ(cursor.X, c.CursorAfter);
}

// Texts are 6 pixels a character; rows A, B, C at 12, 22, 32; the cursor starts at 60.
INSTANTIATE_TEST_SUITE_P(
    Cases, ParameterLegendTest,
    testing::Values(LegendCase{"NoParameter", "1", "1", 1, {}, 65},
                    LegendCase{
                        "KsiWithoutK", "1+2*KSI*p", "1", 1, {{"Ksi= 1", 60, 32}}, 60 + 36 + 10 + 5},
                    LegendCase{"KAndKsi",
                               "K*(1+ksi*p)",
                               "1",
                               1,
                               {{"K= 1", 60, 12}, {"Ksi= 1", 104, 32}},
                               104 + 36 + 10 + 5},
                    LegendCase{"AbsEnablesAAndB",
                               "abs(2)",
                               "1",
                               1,
                               {{"A= 1", 60, 32}, {"B= 1", 94, 12}},
                               94 + 24 + 20 + 5},
                    LegendCase{"RowBWidensTheColumn",
                               "1",
                               "1+T*p+W*p^2",
                               2.5,
                               {{"T= 2.5", 60, 22}, {"W= 1", 116, 22}},
                               116 + 24 + 20 + 5},
                    // A row-C text sets the column width on its own, even when narrower.
                    LegendCase{"RowCDecidesTheWidth",
                               "A+T*p",
                               "1",
                               12345.678,
                               {{"T= 12345.678", 60, 22}, {"A= 1", 60, 32}},
                               60 + 24 + 10 + 5},
                    LegendCase{"AllSix",
                               "K*A*B",
                               "T*W*KSI",
                               1,
                               {{"K= 1", 60, 12},
                                {"T= 1", 60, 22},
                                {"A= 1", 60, 32},
                                {"B= 1", 94, 12},
                                {"W= 1", 94, 22},
                                {"Ksi= 1", 94, 32}},
                               94 + 36 + 10 + 5}),
    [](const testing::TestParamInfo<LegendCase>& tested) { return tested.param.Name; });

// --- Formula labels --------------------------------------------------------

struct FormulaCase {
  const char* Name;
  int K;
  const char* Num;
  const char* Den;
  CoefficientSet NumC, DenC;
  std::vector<LegendText> Expected;
  std::vector<std::array<int, 4>> Bars;
  int CursorAfter;
};

class FormulaLabelTest : public OverlayTest, public testing::WithParamInterface<FormulaCase> {};

TEST_P(FormulaLabelTest, TypedThenNumericFraction) {
  const FormulaCase& c = GetParam();
  const int i = c.K - 1;
  s.NumText[i].Assign(c.Num);
  s.DenText[i].Assign(c.Den);
  s.NumCoeffs[i] = c.NumC;
  s.DenCoeffs[i] = c.DenC;
  cursor.X = 65;
  DrawFormulaLabel(s, t, cursor, c.K);
  std::vector<LegendText> got;
  for (const auto& op : surface.Texts()) got.push_back({op.text, op.x, op.y});
  EXPECT_EQ(got, c.Expected);
  std::vector<std::array<int, 4>> bars;
  for (const auto& op : surface.Lines()) bars.push_back({op.x, op.y, op.w, op.h});
  EXPECT_EQ(bars, c.Bars);
  EXPECT_EQ(cursor.X, c.CursorAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormulaLabelTest,
    testing::Values(
        // "H1=" then the typed 1 alone (typed denominator "1"); "=" then " 1" over " 1".
        FormulaCase{
            "DefaultH1",
            1,
            "1",
            "1",
            {1, 0, 0, 0, 0, 0},
            {1, 0, 0, 0, 0, 0},
            {{"H1=", 65, 22}, {"1", 86, 22}, {"=", 102, 22}, {" 1", 111, 12}, {" 1", 111, 32}},
            {{111, 27, 123, 27}},
            133},
        FormulaCase{"FirstOrderLag",
                    1,
                    "1",
                    "1+0.5*p",
                    {1, 0, 0, 0, 0, 0},
                    {1, 0.5, 0, 0, 0, 0},
                    {{"H1=", 65, 22},
                     {"1", 104, 12},
                     {"1+0.5*p", 86, 32},
                     {"=", 138, 22},
                     {" 1", 165, 12},
                     {" 1+ 0.5P", 147, 32}},
                    {{86, 27, 128, 27}, {147, 27, 195, 27}},
                    205},
        // The prefix advance is that of "H2=" for every function.
        FormulaCase{"ThirdFunctionNumeratorWider",
                    3,
                    "1+p",
                    "p",
                    {1, 1, 0, 0, 0, 0},
                    {0, 1, 0, 0, 0, 0},
                    {{"H3=", 65, 22},
                     {"1+p", 86, 12},
                     {"p", 92, 32},
                     {"=", 114, 22},
                     {" 1+P", 123, 12},
                     {"P", 132, 32}},
                    {{86, 27, 104, 27}, {123, 27, 147, 27}},
                    157},
        // A zero numerator set gives an empty numeric numerator, centred all the same.
        FormulaCase{
            "ZeroNumerator",
            2,
            "0",
            "1",
            {0, 0, 0, 0, 0, 0},
            {1, 0, 0, 0, 0, 0},
            {{"H2=", 65, 22}, {"0", 86, 22}, {"=", 102, 22}, {"", 117, 12}, {" 1", 111, 32}},
            {{111, 27, 123, 27}},
            133}),
    [](const testing::TestParamInfo<FormulaCase>& tested) { return tested.param.Name; });

// --- Coefficient and polynomial texts ---------------------------------------

struct TextCase {
  const char* Name;
  double Value;
  const char* Expected;
};

class CoefficientTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(CoefficientTextTest, FourDecimalsInSevenCharactersTrimmed) {
  EXPECT_EQ(CoefficientText(GetParam().Value), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CoefficientTextTest,
    testing::Values(TextCase{"One", 1, " 1"}, TextCase{"Small", 0.02, " 0.02"},
                    TextCase{"SevenWide", 12.5, "12.5"}, TextCase{"Hundred", 100, "100"},
                    TextCase{"Zero", 0, "0"}, TextCase{"NegativeZero", -0.0, "0"},
                    TextCase{"MinusOne", -1, "-1"}, TextCase{"Half", 0.5, " 0.5"},
                    TextCase{"FullWidth", 1234.5678, "1234.5678"},
                    TextCase{"RoundsToFourDecimals", 12.345678, "12.3457"},
                    TextCase{"RoundsToZero", 0.00004, " 0"},
                    TextCase{"RoundsUp", 0.00006, " 0.0001"},
                    TextCase{"NegativeFraction", -0.25, "-0.25"},
                    TextCase{"MinusHundred", -100, "-100"},
                    TextCase{"Large", 1e20, "100000000000000000000"},
                    TextCase{"NotANumber", std::numeric_limits<double>::quiet_NaN(), "    Nan"},
                    TextCase{"Infinite", std::numeric_limits<double>::infinity(), "   +Inf"}),
    [](const testing::TestParamInfo<TextCase>& tested) { return tested.param.Name; });

struct PolyCase {
  const char* Name;
  CoefficientSet C;
  const char* Expected;
};

class PolynomialTextTest : public testing::TestWithParam<PolyCase> {};

TEST_P(PolynomialTextTest, JoinsTheTerms) {
  EXPECT_EQ(PolynomialText(GetParam().C), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PolynomialTextTest,
    testing::Values(PolyCase{"Constant", {1, 0, 0, 0, 0, 0}, " 1"},
                    PolyCase{"AllZero", {0, 0, 0, 0, 0, 0}, ""},
                    PolyCase{"UnitSquare", {0, 0, 1, 0, 0, 0}, "P2"},
                    PolyCase{"MinusUnitSquare", {0, 0, -1, 0, 0, 0}, "-1P2"},
                    PolyCase{"FirstOrder", {1, 0.5, 0, 0, 0, 0}, " 1+ 0.5P"},
                    PolyCase{"NegativeTermsGetNoPlus", {1, -2, 0, 0, 0, 3}, " 1-2P+ 3P5"},
                    PolyCase{"UnitTerms", {0, 1, 1, 1, 1, 1}, "P+P2+P3+P4+P5"},
                    PolyCase{"SecondOrder", {1, 0.2, 0.01, 0, 0, 0}, " 1+ 0.2P+ 0.01P2"}),
    [](const testing::TestParamInfo<PolyCase>& tested) { return tested.param.Name; });

TEST(PolynomialTextCut, LongTextsAreCutAtEightyCharacters) {
  const std::string t = PolynomialText({1e20, 1e20, 1e20, 1e20, 1e20, 1e20});
  EXPECT_EQ(t.size(), 80u);
  EXPECT_EQ(t.substr(0, 27), "100000000000000000000+10000");
}

}  // namespace
}  // namespace tv
