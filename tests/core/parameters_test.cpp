// Which parameters the function texts use: upper-casing, the KSI masking for K, plain substrings.
#include "core/parameters.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

struct UseCase {
  const char* Name;
  int Function;      // 0..2
  bool Denominator;  // the text goes into DenText instead of NumText
  const char* Text;
  const char* Param;
  bool Expected;
};

class IsParameterUsedTest : public testing::TestWithParam<UseCase> {};

TEST_P(IsParameterUsedTest, SearchesTheSixTexts) {
  const UseCase& c = GetParam();
  DiagramState s;
  SetStartValues(s);  // all six texts "1"
  FunctionText& target = c.Denominator ? s.DenText[c.Function] : s.NumText[c.Function];
  target.Assign(c.Text);
  EXPECT_EQ(IsParameterUsed(s, c.Param), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsParameterUsedTest,
    testing::Values(UseCase{"DefaultTextsUseNoK", 0, false, "1", "K", false},
                    UseCase{"DefaultTextsUseNoKsi", 0, false, "1", "KSI", false},
                    UseCase{"TInDenominatorOfH1", 0, true, "1+T*p", "T", true},
                    UseCase{"TDoesNotEnableK", 0, true, "1+T*p", "K", false},
                    UseCase{"LowerCaseFound", 1, false, "1+t*p", "T", true},
                    UseCase{"KsiAloneEnablesKsi", 0, true, "1+2*KSI*p", "KSI", true},
                    UseCase{"KsiAloneDoesNotEnableK", 0, true, "1+2*KSI*p", "K", false},
                    UseCase{"LowerKsiDoesNotEnableK", 2, true, "1+2*ksi*p/w", "K", false},
                    UseCase{"LowerKsiEnablesW", 2, true, "1+2*ksi*p/w", "W", true},
                    UseCase{"KAndKsiEnableK", 0, false, "K*(1+KSI*p)", "K", true},
                    UseCase{"KRightBeforeKsi", 1, false, "KKSI", "K", true},
                    UseCase{"EveryKsiMasked", 1, false, "KSI+KSI*KSI", "K", false},
                    UseCase{"KsiMaskingOnlyForK", 1, false, "KSI", "KSI", true},
                    UseCase{"AbsEnablesA", 2, false, "abs(p)", "A", true},
                    UseCase{"AbsEnablesB", 2, false, "abs(p)", "B", true},
                    UseCase{"AbsDoesNotEnableT", 2, false, "abs(p)", "T", false},
                    UseCase{"LastTextSearched", 2, true, "1+W*p", "W", true}),
    [](const testing::TestParamInfo<UseCase>& tested) { return tested.param.Name; });

TEST(IsParameterUsedDefaults, NoParameterInTheStartTexts) {
  DiagramState s;
  SetStartValues(s);
  for (const char* name : {"K", "T", "A", "B", "W", "KSI"})
    EXPECT_FALSE(IsParameterUsed(s, name)) << name;
}

TEST(ParameterTable, NamesFindTheirFieldInAnyCase) {
  DiagramState s;
  const struct {
    const char* Name;
    double DiagramState::*Field;
  } cases[] = {{"k", &DiagramState::ParamK}, {"T", &DiagramState::ParamT},
               {"a", &DiagramState::ParamA}, {"B", &DiagramState::ParamB},
               {"w", &DiagramState::ParamW}, {"kSi", &DiagramState::ParamKsi}};
  double v = 1;
  for (const auto& c : cases) {
    const ParameterInfo* info = FindParameter(c.Name);
    ASSERT_NE(info, nullptr) << c.Name;
    ParameterValue(s, info->Id) = v;
    EXPECT_EQ(s.*c.Field, v) << c.Name;
    v += 1;
  }
  for (const char* name : {"", "KS", "KSII", "X", "Ks i"})
    EXPECT_EQ(FindParameter(name), nullptr) << name;
}

}  // namespace
}  // namespace tv
