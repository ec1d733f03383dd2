// Every class of hostile input the program can be given: what it yields, and that it stays bounded.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "expression/coefficients.h"
#include "expression/evaluator.h"
#include "files/file_io.h"
#include "files/points_text.h"
#include "files/transfer_file.h"
#include "support/hostile_state.h"
#include "render/redraw.h"

namespace tv::robustness {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

double MillisecondsOf(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

std::string Repeat(std::string_view piece, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += piece;
  return out;
}

// ---- Expressions -----------------------------------------------------------

struct ExpressionCase {
  const char* Name;
  std::string Text;
  double Parameters;  // all six
  bool Ok;
  double Value;  // when Ok; NaN means NaN is expected
};
void PrintTo(const ExpressionCase& c, std::ostream* os) { *os << c.Name; }

std::vector<ExpressionCase> ExpressionCases() {
  const double f32 = [] {
    double r = 1;
    for (int i = 2; i <= 32; ++i) r *= i;
    return r;
  }();
  return {
      {"TwentySixOperandsFit", "1" + Repeat("+1", 25), 1, true, 26},
      {"TwentySeventhOperandRefused", "1" + Repeat("+1", 26), 1, false, 0},
      {"TwentySevenParametersRefused", "K" + Repeat("+K", 26), 1, false, 0},
      {"Factorial32", "32!", 1, true, f32},
      {"Factorial33Refused", "33!", 1, false, 0},
      {"FactorialOfHugeRefused", "K!", 1e300, false, 0},
      {"FactorialOfNaNRefused", "K!", kNaN, false, 0},
      {"LargestRepeatedPower", "2^32767", 1, true, kInf},
      {"LibraryPowerBeyond", "2^32768", 1, true, kInf},
      {"HugeWholeExponent", ".5^99999999999999999999", 1, true, 0},
      {"HugeNegativeExponent", "2^(0-99999999999999999999)", 1, true, 0},
      {"InfiniteExponentFromParameter", "2^K", kInf, true, kInf},
      {"NaNParameter", "K*2", kNaN, true, kNaN},
      {"NaNExponent", "2^K", kNaN, true, kNaN},
      {"LnOfNaNRefused", "LN(K)", kNaN, false, 0},
      {"DivisionByNaNIsDone", "1/K", kNaN, true, kNaN},
      {"DivisionByZeroParameterRefused", "1/K", 0, false, 0},
      {"OverflowingProduct", "K*K", 1e300, true, kInf},
      {"UnderflowingProduct", "K*K", 1e-300, true, 0},
      {"InfinityMinusInfinity", "K*K-K*K", 1e300, true, kNaN},
      {"OpenParenthesisLeft", "((1)", 1, false, 0},
      {"CloseParenthesisLeft", "(1))", 1, false, 0},
      {"ParenthesesReversed", ")1(", 1, false, 0},
      {"EmptyParentheses", "()", 1, false, 0},
      {"OnlyOpenings", std::string(80, '('), 1, false, 0},
      {"DeepestNestingOf80", std::string(39, '(') + "72" + std::string(39, ')'), 1, true, 72},
      {"NumberTooLongForADouble", "1" + std::string(400, '0'), 1, false, 0},
      {"RunOfPointsRefused", "1..2", 1, false, 0},
      {"LongestAcceptedText", std::string(127, '(') + "5" + std::string(127, ')'), 1, true, 5},
      {"OverlongTextRefused", std::string(128, '(') + "5" + std::string(128, ')'), 1, false, 0},
      {"SignsOnly", std::string(80, '-'), 1, false, 0},
      {"FunctionsWithoutOperand", Repeat("SIN", 26), 1, false, 0},
  };
}

class HostileExpressionTest : public testing::TestWithParam<ExpressionCase> {};

TEST_P(HostileExpressionTest, GivesTheExpectedValueOrNothing) {
  const ExpressionCase& c = GetParam();
  ParameterValues p;
  p.A = p.B = p.T = p.K = p.Ksi = p.W = c.Parameters;
  const Evaluation e = EvaluateExpression(c.Text, p);
  EXPECT_EQ(e.Ok, c.Ok);
  if (!c.Ok) {
    EXPECT_EQ(e.Value, 0);
  } else if (std::isnan(c.Value)) {
    EXPECT_TRUE(std::isnan(e.Value)) << e.Value;
  } else {
    EXPECT_DOUBLE_EQ(e.Value, c.Value);
  }
}

INSTANTIATE_TEST_SUITE_P(Classes, HostileExpressionTest, testing::ValuesIn(ExpressionCases()),
                         [](const auto& tested) { return std::string(tested.param.Name); });

// Alone, a byte is an operand (digit, point, parameter letter) or nothing;
// between two operands no byte but an operator gives a value.
TEST(HostileExpression, EveryByteAloneAndBetweenOperands) {
  ParameterValues p;
  p.A = 2;
  p.B = 3;
  p.T = 4;
  p.K = 5;
  p.W = 6;
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const Evaluation alone = EvaluateExpression(std::string(1, c), p);
    double expected = -1;
    if (c >= '0' && c <= '9') expected = c - '0';
    if (c == '.') expected = 0;
    if (c == 'A') expected = 2;
    if (c == 'B') expected = 3;
    if (c == 'T') expected = 4;
    if (c == 'K') expected = 5;
    if (c == 'W') expected = 6;
    EXPECT_EQ(alone.Ok, expected >= 0) << "byte " << b;
    EXPECT_EQ(alone.Value, expected >= 0 ? expected : 0) << "byte " << b;

    const Evaluation between = EvaluateExpression(std::string("8") + c + "2", p);
    const bool isOperator = c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
    const bool isDigitOrPoint = (c >= '0' && c <= '9') || c == '.';
    EXPECT_EQ(between.Ok, isOperator || isDigitOrPoint) << "byte " << b;
  }
}

TEST(HostileExpression, NaNParametersGiveNaNCoefficientsThatStillCompile) {
  ParameterValues p;
  p.A = p.B = p.T = p.K = p.Ksi = p.W = kNaN;
  CoefficientSet c;
  ASSERT_TRUE(ExtractCoefficients("1+K*p+T*p^2+A*p^3+B*p^4+W*p^5", p, c));
  // NaN times the 0 that stands for a power of p is still NaN: every entry.
  for (double v : c) EXPECT_TRUE(std::isnan(v)) << v;
}

// ---- Redraws of hostile states --------------------------------------------

// Any NaN coefficient stops the sweep at its first sample, with the beeps.
TEST(HostileRedraw, NaNParametersStopAtTheFirstSampleAndBeep) {
  for (std::uint8_t view : {0, 1}) {
    HostileState h;
    h.s.NumText[0].Assign("K");
    h.s.DenText[0].Assign("1+T*p");
    h.SetAllParameters(kNaN);
    h.TickLikeALoad();
    h.s.BlackView = view;
    EXPECT_TRUE(RedrawDiagram(h.s, h.t, h.f));
    EXPECT_EQ(h.host.BeepCount, 20) << int{view};
    EXPECT_FALSE(h.host.PanelInvalid);
  }
}

// 1 + p^2 is exactly 0 at w = 1, the first sample of decade 0 in the Black
// view: the curve goes to the plot's edge there and on through every decade,
// without a beep.
TEST(HostileRedraw, ZeroDenominatorAtASweepPointInTheBlackView) {
  HostileState h;
  h.s.DenText[0].Assign("1+p^2");
  h.s.BlackView = 1;
  h.TickLikeALoad();
  h.s.CurveTicked[3] = false;
  RecordingSurface recorder;
  h.t.DrawCanvas = &recorder;
  EXPECT_TRUE(RedrawDiagram(h.s, h.t, h.f));
  EXPECT_EQ(h.host.BeepCount, 0);
  EXPECT_NE(recorder.FindText("0.5"), nullptr);  // decade -1
  EXPECT_NE(recorder.FindText("5"), nullptr);    // decade 0
  // Decade 1: w = 10 labelled on the curve (the grid's "10" is black).
  bool decadeOne = false;
  for (const RecordedOp& op : recorder.Texts()) decadeOne |= op.text == "10" && op.colour == kBlue;
  EXPECT_TRUE(decadeOne);
}

// In the Bode view a range starting at decade 0 puts w = 1 on column 0: the
// sweep draws it at the edge and goes on, silent.
TEST(HostileRedraw, ZeroDenominatorAtTheFirstBodeColumn) {
  HostileState h;
  h.s.DenText[0].Assign("1+p^2");
  h.s.DecadeMin = 0;
  h.s.DecadeMax = 2;
  h.TickLikeALoad();
  EXPECT_TRUE(RedrawDiagram(h.s, h.t, h.f));
  EXPECT_EQ(h.host.BeepCount, 0);
  EXPECT_EQ(h.f.ResponseValid, 1);
}

// Ranges that no button gives: a span of zero or less, bounds at the ends of
// 32 bits, gain bounds swapped or zero. Each draws a frame and sends only
// coordinates inside the surface limit. On a Bode axis reaching past 10^154
// rad/s w^2 is infinite, where 0 * w^2 is NaN for a zero coefficient: the
// sweep stops there with one alarm, as on an exact zero. The Black sweep
// never goes past 10^31.
struct RangeCase {
  const char* Name;
  std::int32_t DecadeMin, DecadeMax, GainMinDb, GainMaxDb;
  bool BodeStops;
};
void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.Name; }

class HostileRangeTest : public testing::TestWithParam<RangeCase> {};

TEST_P(HostileRangeTest, DrawsBoundedInBothViews) {
  const RangeCase& c = GetParam();
  for (std::uint8_t view : {0, 1}) {
    HostileState h;
    h.s.NumText[0].Assign("K");
    h.s.DenText[0].Assign("1+p+p^2+p^3+p^4+p^5");
    h.s.DecadeMin = c.DecadeMin;
    h.s.DecadeMax = c.DecadeMax;
    h.s.GainMinDb = c.GainMinDb;
    h.s.GainMaxDb = c.GainMaxDb;
    h.s.ShowMargins = 1;
    h.s.BlackView = view;
    h.TickLikeALoad();
    EXPECT_TRUE(RedrawDiagram(h.s, h.t, h.f));
    EXPECT_GT(h.surface.Calls, 0);
    EXPECT_EQ(h.host.BeepCount, view == 0 && c.BodeStops ? 20 : 0) << int{view};
    EXPECT_LE(h.surface.MaxMagnitude, 2LL * (1 << 24));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, HostileRangeTest,
    testing::Values(RangeCase{"EmptySpan", 3, 3, -40, 50, false},
                    RangeCase{"ReversedSpan", 5, -6, -40, 50, false},
                    RangeCase{"Widest32Bit", INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, true},
                    RangeCase{"FarAbove", INT32_MAX - 1, INT32_MAX, 0, 0, true},
                    RangeCase{"FarBelow", INT32_MIN, INT32_MIN + 1, 100, -100, false},
                    RangeCase{"MoreDecadesThanPixels", -2000, 2000, -40, 50, true},
                    RangeCase{"SquareJustFinite", 140, 153, -40, 50, false},
                    RangeCase{"SquareOverflows", 150, 160, -40, 50, true},
                    RangeCase{"GainBoundsZero", -1, 3, 0, 0, false},
                    RangeCase{"GainReferenceBelowFive", -1, 3, -4, 4, false}),
    [](const auto& tested) { return std::string(tested.param.Name); });

// ---- Transfer files ------------------------------------------------------

// The bytes a decode takes from a file of n bytes: whole fields only.
std::size_t WholeFieldsIn(std::size_t n) {
  const std::size_t ends[] = {81,  162, 243, 324, 405, 486, 487, 488, 489, 490,
                              494, 498, 502, 506, 514, 522, 530, 538, 546, 554};
  std::size_t used = 0;
  for (std::size_t end : ends)
    if (end <= n) used = end;
  return used;
}

TEST(HostileTransferFile, ShortAndLongFilesReadWholeFieldsOnly) {
  for (std::size_t n :
       {0, 1, 80, 81, 242, 243, 486, 489, 490, 493, 505, 506, 553, 554, 555, 600, 100000}) {
    std::vector<std::uint8_t> bytes(n, 0x41);
    for (std::size_t i = 0; i < n; i += 81) bytes[i] = 1;  // valid length bytes
    DiagramState s;
    SetStartValues(s);
    EXPECT_EQ(DecodeTransferFile(bytes, s), WholeFieldsIn(n)) << n << " bytes";
    if (n < 490) {
      EXPECT_EQ(s.DecadeMin, -1) << n;
    }
    if (n < 554) {
      EXPECT_EQ(s.ParamKsi, 1.0) << n;
    }
  }
}

TEST(HostileTransferFile, EveryLengthByteKeepsTheTextInsideItsRecord) {
  for (int length = 0; length < 256; ++length) {
    std::vector<std::uint8_t> bytes(kTransferFileSize, 'Z');
    bytes[0] = static_cast<std::uint8_t>(length);
    DiagramState s;
    SetStartValues(s);
    DecodeTransferFile(bytes, s);
    EXPECT_EQ(s.NumText[0].View().size(), static_cast<std::size_t>(std::min(length, 80)));
    EXPECT_EQ(s.NumText[0].View(), std::string(std::min<std::size_t>(length, 80), 'Z'));
  }
}

// Box bytes, ranges and parameters all 0x00, 0x7F, 0x80 or 0xFF (NaN,
// extreme integers, huge and tiny doubles) are taken as read, and the
// redraws that follow stay bounded.
TEST(HostileTransferFile, ExtremeFieldValuesLoadAndRedraw) {
  for (std::uint8_t fill : {0x00, 0x7F, 0x80, 0xFF}) {
    HostileState h;
    std::vector<std::uint8_t> bytes(kTransferFileSize, fill);
    for (std::size_t i = 0; i < 486; i += 81) {
      bytes[i] = 19;
      std::memcpy(&bytes[i + 1], "1+K*p+T*p^2+A*p^5+", 18);
      bytes[i + 19] = 'B';
    }
    ASSERT_EQ(DecodeTransferFile(bytes, h.s), kTransferFileSize);
    h.TickLikeALoad();
    h.s.ShowMargins = 1;
    for (std::uint8_t view : {0, 1}) {
      h.s.BlackView = view;
      const double ms = MillisecondsOf([&] { RedrawDiagram(h.s, h.t, h.f); });
      EXPECT_LT(ms, 3000.0);
      EXPECT_LE(h.surface.MaxMagnitude, 2LL * (1 << 24));
    }
  }
}

// ---- Points text -----------------------------------------------------------

TEST(HostilePoints, TenThousandLinesKeepTheFirstFiveHundred) {
  std::string text;
  for (int i = 1; i <= 10000; ++i)
    text += std::to_string(i) + " " + std::to_string(-i) + " " + std::to_string(i % 360) + "\r\n";
  DiagramState s;
  int count = 0;
  const double ms =
      MillisecondsOf([&] { count = DecodePoints(s, SplitPointsText(text), PointUnits{}); });
  EXPECT_EQ(count, kMaxPoints);
  EXPECT_EQ(s.PointCount, kMaxPoints);
  EXPECT_EQ(s.MeasuredPoints[499].PulsationRadS, 500);
  EXPECT_EQ(s.MeasuredPoints[499].GainDb, -500);
  EXPECT_LT(ms, 1000.0);
}

TEST(HostilePoints, SeparatorsAndLineEndsOnlyGiveNoPoint) {
  const std::string texts[] = {"",
                               "\r\n\r\n",
                               " : ; \t",
                               ";;;;\n::::\r",
                               std::string(10000, ';'),
                               std::string(10000, '\n'),
                               std::string(10000, '\r')};
  for (const std::string& text : texts) {
    DiagramState s;
    EXPECT_EQ(DecodePoints(s, SplitPointsText(text), PointUnits{}), 0);
  }
}

// No number that converts is ever infinite or NaN; a line holding one is
// skipped.
TEST(HostilePoints, NumbersBeyondADoubleAreRefused) {
  const char* const lines[] = {"1e400 1 1", "1 -1e400 1", "1 1 1e999999999999",
                               "nan 1 1",   "inf 1 1",    "1 infinity 1",
                               "0x10 1 1"};
  for (const char* line : lines) {
    DiagramState s;
    EXPECT_FALSE(ParsePointLine(s, line, PointUnits{})) << line;
  }
  DiagramState s;
  EXPECT_FALSE(ParsePointLine(s, "1e-400 1 1", PointUnits{})) << "below the smallest double";
  EXPECT_TRUE(ParsePointLine(s, "1e-300 1e308 -1e308", PointUnits{}));
  // A unit conversion may overflow: the phase is then +Inf, which the
  // diagrams clamp like any other far-away point.
  EXPECT_TRUE(ParsePointLine(s, "1 1 1e308", PointUnits{false, false, true}));
  EXPECT_EQ(s.MeasuredPoints[1].PhaseDeg, kInf);
  for (std::uint8_t view : {0, 1}) {
    HostileState h;
    h.s.MeasuredPoints = s.MeasuredPoints;
    h.s.PointCount = s.PointCount;
    h.s.BlackView = view;
    EXPECT_TRUE(RedrawDiagram(h.s, h.t, h.f));
    EXPECT_LE(h.surface.MaxMagnitude, 2LL * (1 << 24));
  }
}

// Every byte as a line and inside a number: no point from anything but a
// whole number in each column.
TEST(HostilePoints, EveryByteInsideALine) {
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    DiagramState s;
    const std::string line = std::string("1") + c + "2 3 4";
    const bool stored = ParsePointLine(s, line, PointUnits{});
    const bool digit = c >= '0' && c <= '9';
    const bool separator = c == ' ' || c == ':' || c == ';';
    const bool point = c == '.' || c == ',';
    const bool exponent = c == 'e' || c == 'E';  // 1e2 is 100
    EXPECT_EQ(stored, digit || separator || point || exponent) << "byte " << b;
  }
}

// ---- Files that are not files ---------------------------------------------

TEST(HostileFiles, FolderLoadsNothing) {
  HostileState h;
  h.s.NumText[0].Assign("1+p");
  const std::string dir = std::filesystem::temp_directory_path().string();
  EXPECT_FALSE(ReadTransferFile(h.s, dir));
  EXPECT_EQ(h.s.NumText[0], "1+p");
  EXPECT_EQ(h.s.DecadeMin, -1);
}

}  // namespace
}  // namespace tv::robustness
