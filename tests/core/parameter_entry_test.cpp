// Typed parameter values and the spin-arrow step rule.
#include "core/parameter_entry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tv {
namespace {

struct ConversionCase {
  const char* name;
  std::string text;
  double value;
  bool whole;
};

class ConvertTypedValueTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConvertTypedValueTest, GivesValueAndWhetherTheWholeTextConverted) {
  const ConversionCase& c = GetParam();
  const TypedValue r = ConvertTypedValue(c.text);
  EXPECT_EQ(r.WholeTextConverted, c.whole);
  EXPECT_DOUBLE_EQ(r.Value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConvertTypedValueTest,
    ::testing::Values(
        ConversionCase{"Integer", "12", 12, true}, ConversionCase{"Decimal", "12.5", 12.5, true},
        ConversionCase{"PointFirst", ".25", 0.25, true}, ConversionCase{"PointLast", "5.", 5, true},
        ConversionCase{"PlusSign", "+3", 3, true}, ConversionCase{"MinusSign", "-2", -2, true},
        ConversionCase{"LeadingSpaces", "   7.5", 7.5, true},
        ConversionCase{"Exponent", "1e3", 1000, true},
        ConversionCase{"UpperExponentNegative", "2.5E-2", 0.025, true},
        ConversionCase{"ExponentPlus", "4e+1", 40, true},
        ConversionCase{"ZeroPadded", "0007.000", 7, true},
        ConversionCase{"CommaStopsTheNumber", "1,5", 1, false},
        ConversionCase{"TrailingSpace", "5 ", 5, false},
        ConversionCase{"TrailingLetters", "12abc", 12, false},
        ConversionCase{"SecondPoint", "1.5.3", 1.5, false},
        ConversionCase{"ExponentWithoutDigits", "1e", 1, false},
        ConversionCase{"ExponentSignWithoutDigits", "2e-", 2, false},
        ConversionCase{"SpaceBeforeExponent", "2 e3", 2, false},
        ConversionCase{"SpaceAfterSign", "- 2", 0, false}, ConversionCase{"Empty", "", 0, false},
        ConversionCase{"SpacesOnly", "   ", 0, false}, ConversionCase{"SignOnly", "-", 0, false},
        ConversionCase{"PointOnly", ".", 0, false}, ConversionCase{"Letters", "abc", 0, false},
        ConversionCase{"NoInfinityWord", "inf", 0, false},
        ConversionCase{"NoHexadecimal", "0x10", 0, false},
        ConversionCase{"TooLarge", "1e999", 0, false},
        ConversionCase{"TooLargeFromDigits", "9e308", 0, false},
        ConversionCase{"HugeExponentTooLarge", "1e99999999999999999999", 0, false},
        ConversionCase{"TooSmallIsZero", "1e-999", 0, true},
        ConversionCase{"HugeNegativeExponentIsZero", "5e-99999999999999999999", 0, true},
        ConversionCase{"ZeroWithLargeExponent", "0e999", 0, true},
        ConversionCase{"LargestFinite", "1.7976931e308", 1.7976931e308, true}),
    [](const ::testing::TestParamInfo<ConversionCase>& tested) {
      return std::string(tested.param.name);
    });

TEST(ConvertTypedValue, NegativeZeroKeepsItsSign) {
  const TypedValue r = ConvertTypedValue("-0");
  EXPECT_TRUE(r.WholeTextConverted);
  EXPECT_EQ(r.Value, 0.0);
  EXPECT_TRUE(std::signbit(r.Value));
}

TEST(ConvertTypedValue, TooSmallNegativeIsNegativeZero) {
  const TypedValue r = ConvertTypedValue("-1e-999");
  EXPECT_TRUE(r.WholeTextConverted);
  EXPECT_EQ(r.Value, 0.0);
  EXPECT_TRUE(std::signbit(r.Value));
}

struct StepCase {
  const char* name;
  double start;
  double delta;
  double expected;
  bool stored;
};

class StepParameterTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepParameterTest, StoresTheSumUnlessItIsNegative) {
  const StepCase& c = GetParam();
  double value = c.start;
  EXPECT_EQ(StepParameter(value, c.delta), c.stored);
  EXPECT_EQ(value, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StepParameterTest,
    ::testing::Values(StepCase{"OneMinusOneIsZero", 1.0, -1.0, 0.0, true},
                      StepCase{"ZeroMinusAThousandthIgnored", 0.0, -0.001, 0.0, false},
                      StepCase{"HalfMinusOneIgnoredNotClamped", 0.5, -1.0, 0.5, false},
                      StepCase{"UpByTen", 2.5, 10.0, 12.5, true},
                      StepCase{"DownToExactlyZero", 0.01, -0.01, 0.0, true},
                      StepCase{"TenthsAccumulateRounding", 0.1 + 0.1, 0.1, 0.1 + 0.1 + 0.1, true}),
    [](const ::testing::TestParamInfo<StepCase>& tested) {
      return std::string(tested.param.name);
    });

TEST(StepParameter, NotANumberIsLeftAlone) {
  double value = std::nan("");
  EXPECT_FALSE(StepParameter(value, 1.0));
  EXPECT_TRUE(std::isnan(value));
}

struct SelectionCase {
  const char* name;
  std::array<bool, 6> checked;
  std::array<bool, 6> enabled;
  int expected;
};

class ParameterToStepTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(ParameterToStepTest, PicksTheSteppedParameter) {
  const SelectionCase& c = GetParam();
  EXPECT_EQ(ParameterToStep(c.checked, c.enabled), c.expected);
}

constexpr std::array<bool, 6> kNone{false, false, false, false, false, false};
constexpr std::array<bool, 6> kAll{true, true, true, true, true, true};

INSTANTIATE_TEST_SUITE_P(
    Selections, ParameterToStepTest,
    ::testing::Values(
        SelectionCase{"NothingChecked", kNone, kAll, -1},
        SelectionCase{"KCheckedAndEnabled", {true, false, false, false, false, false}, kAll, 0},
        SelectionCase{"KCheckedButDisabled", {true, false, false, false, false, false}, kNone, 0},
        SelectionCase{"BCheckedButDisabled", {false, false, false, true, false, false}, kNone, -1},
        SelectionCase{"TCheckedAndEnabled", {false, false, true, false, false, false}, kAll, 2},
        SelectionCase{"KsiCheckedAndEnabled", {false, false, false, false, false, true}, kAll, 5},
        SelectionCase{"KWinsOverOthers", kAll, kNone, 0},
        SelectionCase{"FirstCheckedAndEnabledInButtonOrder",
                      {false, true, true, false, true, false},
                      {false, false, true, false, true, false},
                      2}),
    [](const ::testing::TestParamInfo<SelectionCase>& tested) {
      return std::string(tested.param.name);
    });

}  // namespace
}  // namespace tv
