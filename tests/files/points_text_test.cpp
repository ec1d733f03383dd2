// Points lines: separators, units, rejected lines, number syntax, the 500-point store, line ends.
#include "files/points_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tv {
namespace {

constexpr PointUnits kDefault{};
constexpr PointUnits kHertz{true, false, false};
constexpr PointUnits kRatio{false, true, false};
constexpr PointUnits kRadians{false, false, true};

struct LineCase {
  const char* Name;
  const char* Line;
  PointUnits Units;
  bool GivesPoint;
  double W = 0, G = 0, P = 0;
};

class ParsePointLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ParsePointLineTest, AppendsAtMostOnePoint) {
  const LineCase& c = GetParam();
  DiagramState s;
  s.PointCount = 2;  // appended after what is there
  s.MeasuredPoints[2] = {-7, -7, -7};
  EXPECT_EQ(ParsePointLine(s, c.Line, c.Units), c.GivesPoint);
  if (!c.GivesPoint) {
    EXPECT_EQ(s.PointCount, 2);
    EXPECT_EQ(s.MeasuredPoints[2].PulsationRadS, -7);
    return;
  }
  ASSERT_EQ(s.PointCount, 3);
  EXPECT_NEAR(s.MeasuredPoints[2].PulsationRadS, c.W, 1e-9);
  EXPECT_NEAR(s.MeasuredPoints[2].GainDb, c.G, 1e-9);
  EXPECT_NEAR(s.MeasuredPoints[2].PhaseDeg, c.P, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParsePointLineTest,
    testing::Values(LineCase{"Spaces", "10 -3 -45", kDefault, true, 10, -3, -45},
                    LineCase{"Semicolons", "10;-3;-45", kDefault, true, 10, -3, -45},
                    LineCase{"Colons", "10:-3:-45", kDefault, true, 10, -3, -45},
                    LineCase{"LeadingRepeatedMixed", " ;: 10 ;; -3 : ; -45", kDefault, true, 10, -3,
                             -45},
                    LineCase{"TrailingSpaces", "10 -3 -45    ", kDefault, true, 10, -3, -45},
                    LineCase{"CommaDecimals", "1,5 -3,25 45", kDefault, true, 1.5, -3.25, 45},
                    LineCase{"Exponents", "1e3 -2.5E-1 +45", kDefault, true, 1000, -0.25, 45},
                    LineCase{"HertzFirstColumn", "1 0 0", kHertz, true, 6.2831853, 0, 0},
                    LineCase{"RatioTen", "1 10 0", kRatio, true, 1, 20.0000008077, 0},
                    LineCase{"RatioOne", "1 1 0", kRatio, true, 1, 0, 0},
                    LineCase{"RatioZeroRejects", "1 0 0", kRatio, false},
                    LineCase{"RatioMinusOneRejects", "1 -1 0", kRatio, false},
                    LineCase{"RadiansThirdColumn", "1 0 3.14159265", kRadians, true, 1, 0, 180},
                    LineCase{"RadiansHalfPi", "1 0 -1.570796325", kRadians, true, 1, 0, -90},
                    LineCase{"UnitsOnlyInTheirColumn", "2 2 2", kDefault, true, 2, 2, 2},
                    LineCase{"TrailingSemicolon", "1 2 3;", kDefault, false},
                    LineCase{"TrailingColonAfterSpace", "1 2 3 :", kDefault, false},
                    LineCase{"TrailingSemicolonThenSpaces", "1 2 3;   ", kDefault, false},
                    LineCase{"FourthToken", "1 2 3 4", kDefault, true, 1, 2, 3},
                    LineCase{"FourthTokenNotANumber", "1 2 3 abc", kDefault, true, 1, 2, 3},
                    LineCase{"FourthTokenThenSemicolon", "1 2 3 4;", kDefault, false},
                    LineCase{"WordFirst", "abc 1 2 3", kDefault, false},
                    LineCase{"JunkInsideToken", "1 2x 3", kDefault, false},
                    LineCase{"TwoNumbers", "1 2", kDefault, false},
                    LineCase{"EmptyLine", "", kDefault, false},
                    LineCase{"OnlySeparators", " ; : ;", kDefault, false},
                    LineCase{"TabIsNotASeparatorHere", "10\t-3\t-45", kDefault, false},
                    LineCase{"HugeExponentRejects", "1e999999999999999999 0 0", kDefault, false},
                    LineCase{"BeyondDoubleRejects", "1e309 0 0", kDefault, false}),
    [](const auto& tested) { return std::string(tested.param.Name); });

struct TokenCase {
  const char* Name;
  const char* Token;
  bool Converts;
  double Value = 0;
};

class ConvertPointTokenTest : public testing::TestWithParam<TokenCase> {};

TEST_P(ConvertPointTokenTest, WholeTokenMustBeANumber) {
  double v = -123;
  EXPECT_EQ(ConvertPointToken(GetParam().Token, v), GetParam().Converts);
  if (GetParam().Converts) {
    EXPECT_DOUBLE_EQ(v, GetParam().Value);
  } else {
    EXPECT_EQ(v, -123);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, ConvertPointTokenTest,
    testing::Values(
        TokenCase{"Integer", "42", true, 42}, TokenCase{"Point", "1.5", true, 1.5},
        TokenCase{"Comma", "1,5", true, 1.5}, TokenCase{"LeadingPoint", ".5", true, 0.5},
        TokenCase{"TrailingPoint", "5.", true, 5}, TokenCase{"LeadingComma", "-,25", true, -0.25},
        TokenCase{"PlusSign", "+2", true, 2}, TokenCase{"NegativeZero", "-0", true, 0},
        TokenCase{"Exponent", "1e3", true, 1000}, TokenCase{"SignedExponent", "2.5E+2", true, 250},
        TokenCase{"NegativeExponent", "1e-3", true, 0.001},
        TokenCase{"CommaWithExponent", "2,5e1", true, 25},
        TokenCase{"LongMantissa", "0.000000000000000000000000000001", true, 1e-30},
        TokenCase{"Empty", "", false}, TokenCase{"SignOnly", "-", false},
        TokenCase{"PointOnly", ".", false}, TokenCase{"CommaOnly", ",", false},
        TokenCase{"TwoPoints", "1..5", false}, TokenCase{"PointAndComma", "1.5,3", false},
        TokenCase{"TwoCommas", "1,5,3", false}, TokenCase{"TwoSigns", "--1", false},
        TokenCase{"ExponentWithoutDigits", "1e", false},
        TokenCase{"ExponentSignOnly", "1e+", false}, TokenCase{"ExponentOnly", "e3", false},
        TokenCase{"Hexadecimal", "0x10", false}, TokenCase{"Infinity", "inf", false},
        TokenCase{"NotANumber", "nan", false}, TokenCase{"TrailingLetter", "3dB", false},
        TokenCase{"InnerSpace", "1 5", false}, TokenCase{"Overflow", "1e400", false}),
    [](const auto& tested) { return std::string(tested.param.Name); });

TEST(DecodePoints, TabsSeparateLikeSpaces) {
  DiagramState s;
  EXPECT_EQ(DecodePoints(s, {"10\t-3\t-45", "\t1\t\t2\t3\t"}, kDefault), 2);
  EXPECT_EQ(s.MeasuredPoints[0].PulsationRadS, 10);
  EXPECT_EQ(s.MeasuredPoints[0].GainDb, -3);
  EXPECT_EQ(s.MeasuredPoints[0].PhaseDeg, -45);
  EXPECT_EQ(s.MeasuredPoints[1].PhaseDeg, 3);
}

TEST(DecodePoints, StartsFromAnEmptyStoreAndSkipsBadLines) {
  DiagramState s;
  s.PointCount = 321;
  EXPECT_EQ(DecodePoints(s, {"1 2 3", "", "x y z", "4;5;6;", "7 8 9"}, kDefault), 2);
  EXPECT_EQ(s.PointCount, 2);
  EXPECT_EQ(s.MeasuredPoints[1].PulsationRadS, 7);
}

TEST(DecodePoints, EmptyTextGivesNoPoint) {
  DiagramState s;
  s.PointCount = 5;
  EXPECT_EQ(DecodePoints(s, SplitPointsText(""), kDefault), 0);
  EXPECT_EQ(s.PointCount, 0);
}

TEST(DecodePoints, StoreKeepsTheFirst500) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 501; ++i) lines.push_back(std::to_string(i) + " 0 0");
  DiagramState s;
  EXPECT_EQ(DecodePoints(s, lines, kDefault), kMaxPoints);
  EXPECT_EQ(s.MeasuredPoints[499].PulsationRadS, 500);
  // A full store takes no more, however the count is reached.
  EXPECT_FALSE(ParsePointLine(s, "1 2 3", kDefault));
  EXPECT_EQ(s.PointCount, kMaxPoints);
}

TEST(DecodePoints, UnitsApplyToEveryLine) {
  DiagramState s;
  const PointUnits all{true, true, true};
  EXPECT_EQ(DecodePoints(s, {"0.5 100 3.14159265", "2 0.1 0"}, all), 2);
  EXPECT_DOUBLE_EQ(s.MeasuredPoints[0].PulsationRadS, 3.14159265);
  EXPECT_NEAR(s.MeasuredPoints[0].GainDb, 40.0000016, 1e-6);
  EXPECT_DOUBLE_EQ(s.MeasuredPoints[0].PhaseDeg, 180);
  EXPECT_DOUBLE_EQ(s.MeasuredPoints[1].PulsationRadS, 12.5663706);
  EXPECT_NEAR(s.MeasuredPoints[1].GainDb, -20.0000008, 1e-6);
}

struct SplitCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Lines;
};

class SplitPointsTextTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitPointsTextTest, LineEndsAtCrLfOrCrLf) {
  EXPECT_EQ(SplitPointsText(GetParam().Text), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitPointsTextTest,
    testing::Values(
        SplitCase{"Empty", "", {}}, SplitCase{"OneLineNoEnd", "1 2 3", {"1 2 3"}},
        SplitCase{"CrLf", "a\r\nb\r\n", {"a", "b"}}, SplitCase{"LfOnly", "a\nb", {"a", "b"}},
        SplitCase{"CrOnly", "a\rb\r", {"a", "b"}},
        SplitCase{"Mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        SplitCase{"EmptyLinesKept", "a\n\nb\r\n\r\nc", {"a", "", "b", "", "c"}},
        SplitCase{"LfThenCrIsTwoEnds", "a\n\rb", {"a", "", "b"}},
        SplitCase{"CrCrLf", "a\r\r\n", {"a", ""}}, SplitCase{"OnlyLineEnd", "\r\n", {""}},
        SplitCase{
            "TabsAndBytesKept", std::string("1\t2\0\xE9\n", 6), {std::string("1\t2\0\xE9", 5)}}),
    [](const auto& tested) { return std::string(tested.param.Name); });

TEST(JoinPointsText, EveryLineEndsWithCrLf) {
  EXPECT_EQ(JoinPointsText({}), "");
  EXPECT_EQ(JoinPointsText({"1 2 3", "", "4;5;6"}), "1 2 3\r\n\r\n4;5;6\r\n");
  const std::vector<std::string> lines{"a", "", "b  c"};
  EXPECT_EQ(SplitPointsText(JoinPointsText(lines)), lines);
}

TEST(PointsStoredMessage, CountThenFrenchText) {
  EXPECT_EQ(PointsStoredMessage(12), "12 point(s) m\xE9moris\xE9(s)");
  EXPECT_EQ(PointsStoredMessage(0), "0 point(s) m\xE9moris\xE9(s)");
  EXPECT_EQ(PointsStoredMessage(500), "500 point(s) m\xE9moris\xE9(s)");
}

struct SaveNameCase {
  const char* Name;
  const char* Chosen;
  const char* Expected;
};

class PointsSaveNameTest : public testing::TestWithParam<SaveNameCase> {};

TEST_P(PointsSaveNameTest, ExtensionBecomesTxt) {
  EXPECT_EQ(PointsSaveName(GetParam().Chosen), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Names, PointsSaveNameTest,
                         testing::Values(SaveNameCase{"Bare", "pts", "pts.txt"},
                                         SaveNameCase{"OtherExtension", "dir/pts.dat",
                                                      "dir/pts.txt"},
                                         SaveNameCase{"AlreadyTxt", "pts.txt", "pts.txt"},
                                         SaveNameCase{"DotInFolder", "d.x/pts", "d.x/pts.txt"}),
                         [](const auto& tested) { return std::string(tested.param.Name); });

}  // namespace
}  // namespace tv
