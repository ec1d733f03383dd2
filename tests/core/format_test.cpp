// Number-to-text conversions: rounding, signs, zeros, non-finite and huge values.
#include "core/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace tv {
namespace {

struct FormatCase {
  const char* Name;
  double Value;
  const char* Expected;
};

std::string CaseName(const testing::TestParamInfo<FormatCase>& info) { return info.param.Name; }

class FormatRealTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatRealTest, GivesShortestThreeDecimalText) {
  EXPECT_EQ(FormatReal(GetParam().Value), GetParam().Expected);
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatRealTest,
    testing::Values(
        FormatCase{"One", 1, "1"}, FormatCase{"TwoHundredths", 0.02, "0.02"},
        FormatCase{"TwoAndAHalf", 2.5, "2.5"},
        FormatCase{"FourDecimalsRoundUp", 1234.5678, "1234.568"},
        FormatCase{"NegativeTenth", -0.1, "-0.1"},
        FormatCase{"BelowHalfThousandthIsZero", 0.0004, "0"},
        FormatCase{"HalfThousandthRoundsUp", 0.0005, "0.001"},
        FormatCase{"ExactHalfRoundsUp", 0.0625, "0.063"},
        FormatCase{"NegativeExactHalfRoundsMagnitudeUp", -0.0625, "-0.063"},
        // Binary 1.0005 is 1.00049999999999994...: its fourth decimal is a 4.
        FormatCase{"BinaryBelowHalfRoundsDown", 1.0005, "1"},
        // Binary 2.0005 is 2.00050000000000017...: rounds up.
        FormatCase{"BinaryAboveHalfRoundsUp", 2.0005, "2.001"},
        FormatCase{"CarryIntoIntegerPart", 9.9996, "10"},
        FormatCase{"CarryAddsADigit", 999.9999, "1000"}, FormatCase{"NegativeCarry", -0.9999, "-1"},
        FormatCase{"Zero", 0.0, "0"}, FormatCase{"NegativeZero", -0.0, "0"},
        FormatCase{"NegativeRoundingToZeroKeepsSign", -0.0004, "-0"},
        FormatCase{"TinyNegativeKeepsSign", -1e-300, "-0"},
        FormatCase{"SmallestSubnormal", 4.9406564584124654e-324, "0"},
        FormatCase{"Hundred", 100, "100"}, FormatCase{"TenAndAHalf", 10.5, "10.5"},
        FormatCase{"NegativeInteger", -40, "-40"}, FormatCase{"TrailingZeroDecimalsGo", 3.1, "3.1"},
        FormatCase{"ThreeDecimalsKept", 0.123, "0.123"},
        FormatCase{"NotANumber", std::numeric_limits<double>::quiet_NaN(), "Nan"},
        FormatCase{"PlusInfinity", kInf, "+Inf"}, FormatCase{"MinusInfinity", -kInf, "-Inf"},
        FormatCase{"LargeButPlain", 123456789012.25, "123456789012.25"},
        // Beyond 18 significant digits the text carries zeros: the double
        // nearest 1e36 is 1.00000000000000004244...e36.
        FormatCase{"TenToThe36", 1e36, "1000000000000000040000000000000000000"},
        FormatCase{"NegativeTenToThe40", -1e40, "-10000000000000000300000000000000000000000"}),
    CaseName);

class FormatRealFineTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatRealFineTest, GivesShortestFiveDecimalText) {
  EXPECT_EQ(FormatRealFine(GetParam().Value), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatRealFineTest,
    testing::Values(FormatCase{"MillionthIsZero", 0.000001, "0"},
                    FormatCase{"PiToFiveDecimals", 3.14159265, "3.14159"},
                    FormatCase{"NearlyTwoIsTwo", 2.000004, "2"},
                    FormatCase{"HalfAtSixthDecimalRoundsUp", 0.000005, "0.00001"},
                    FormatCase{"NegativeRoundingToZeroKeepsSign", -0.000004, "-0"},
                    FormatCase{"NegativeZero", -0.0, "0"},
                    FormatCase{"ExactHalfRoundsUp", 0.015625, "0.01563"},
                    FormatCase{"FourDecimalsUntouched", 12.3456, "12.3456"},
                    FormatCase{"NotANumber", std::numeric_limits<double>::quiet_NaN(), "Nan"},
                    FormatCase{"MinusInfinity", -kInf, "-Inf"}),
    CaseName);

TEST(FormatRealTest, LargestDoubleIsPlainDigits) {
  const std::string text = FormatReal(std::numeric_limits<double>::max());
  // 1.79769313486231570815e308 to 18 digits, then zeros: 309 digits, no point.
  EXPECT_EQ(text.size(), 309u);
  EXPECT_EQ(text.substr(0, 18), "179769313486231571");
  EXPECT_EQ(text.find_first_not_of('0', 18), std::string::npos);
}

class FormatBoundedTest : public testing::TestWithParam<FormatCase> {};

// Cases named Fine use the five-decimal form.
TEST_P(FormatBoundedTest, KeepsTwoDigitsInTwelveCharacters) {
  const bool fine = std::string(GetParam().Name).find("Fine") != std::string::npos;
  EXPECT_EQ(FormatBounded(GetParam().Value, fine), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatBoundedTest,
    testing::Values(
        FormatCase{"PlainAsFormatReal", 1234.5678, "1234.568"},
        FormatCase{"HundredthStaysPlain", 0.01, "0.01"},
        FormatCase{"BelowAHundredth", 0.0099996, "1e-2"}, FormatCase{"TinyIsNotZero", 1e-8, "1e-8"},
        FormatCase{"NegativeSmallKeepsFourDigits", -0.00639123, "-6.391e-3"},
        FormatCase{"FineTenThousandthStaysPlain", 0.00012345, "0.00012"},
        FormatCase{"FineBelow", 0.000012346, "1.235e-5"},
        FormatCase{"BelowAMillion", 999999.9994, "999999.999"}, FormatCase{"Million", 1e6, "1e6"},
        FormatCase{"LargestDouble", std::numeric_limits<double>::max(), "1.798e308"},
        FormatCase{"SmallestSubnormal", -4.9e-324, "-4.941e-324"}, FormatCase{"Zero", -0.0, "0"}),
    CaseName);

struct IntegerCase {
  const char* Name;
  std::int32_t Value;
  const char* Expected;
};

class IntegerTextTest : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTextTest, GivesPlainDigits) {
  EXPECT_EQ(IntegerText(GetParam().Value), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntegerTextTest,
    testing::Values(IntegerCase{"Zero", 0, "0"}, IntegerCase{"Positive", 360, "360"},
                    IntegerCase{"Negative", -40, "-40"},
                    IntegerCase{"Largest", std::numeric_limits<std::int32_t>::max(), "2147483647"},
                    IntegerCase{"Smallest", std::numeric_limits<std::int32_t>::min(),
                                "-2147483648"}),
    [](const testing::TestParamInfo<IntegerCase>& tested) {
      return std::string(tested.param.Name);
    });

}  // namespace
}  // namespace tv
