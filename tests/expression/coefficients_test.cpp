// Tests of the coefficient extraction: powers of p, refused forms, and the rewriting's side
// effects.
#include "expression/coefficients.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/diagram_state.h"
#include "core/parameters.h"
#include "expression/evaluator.h"

namespace tv {
namespace {

// K = 2, T = 3, KSI = 0.5, W = 2; A and B stay 1.
constexpr ParameterValues kParams{1, 1, 3, 2, 0.5, 2};

struct Case {
  const char* Name;
  const char* Text;
  bool Ok;
  CoefficientSet Coeffs;
};

class CoefficientCase : public testing::TestWithParam<Case> {};

TEST_P(CoefficientCase, FillsAllSixEntries) {
  const Case& c = GetParam();
  CoefficientSet got;
  got.fill(99);  // every entry must be overwritten
  EXPECT_EQ(ExtractCoefficients(c.Text, kParams, got), c.Ok) << c.Text;
  for (int k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(got[k], c.Coeffs[k]) << c.Text << " p^" << k;
}

const Case kValid[] = {
    {"Constant", "1", true, {1, 0, 0, 0, 0, 0}},
    {"PlainP", "p", true, {0, 1, 0, 0, 0, 0}},
    {"UpperCaseP", "P", true, {0, 1, 0, 0, 0, 0}},
    {"ScaledP", "2*p", true, {0, 2, 0, 0, 0, 0}},
    {"FirstPowerWrittenWithExponent", "1+p^1", true, {1, 1, 0, 0, 0, 0}},
    {"Square", "p^2", true, {0, 0, 1, 0, 0, 0}},
    {"FifthPower", "p^5", true, {0, 0, 0, 0, 0, 1}},
    {"WorkedExample", "1+2*p+3*p^2", true, {1, 2, 3, 0, 0, 0}},
    {"IncreasingPowers", "1+p+p^2", true, {1, 1, 1, 0, 0, 0}},
    {"AllPowers", "1+p+p^2+p^3+p^4+p^5", true, {1, 1, 1, 1, 1, 1}},
    {"GappedPowers", "4+0.5*p^3", true, {4, 0, 0, 0.5, 0, 0}},
    {"ParameterCoefficients", "K+K*T*p", true, {2, 6, 0, 0, 0, 0}},
    {"LowerCaseParameters", "k+k*t*p", true, {2, 6, 0, 0, 0, 0}},
    {"SecondOrder", "1+2*KSI*p/W+p^2/W^2", true, {1, 0.5, 0.25, 0, 0, 0}},
    {"Spaces", "1 + 0.5 * p ^ 2", true, {1, 0, 0.5, 0, 0, 0}},
    {"GroupedFirstPower", "(1+p)", true, {1, 1, 0, 0, 0, 0}},
};
INSTANTIATE_TEST_SUITE_P(Valid, CoefficientCase, testing::ValuesIn(kValid),
                         [](const testing::TestParamInfo<Case>& tested) {
                           return std::string(tested.param.Name);
                         });

// Entries of a failed extraction follow from the rewriting too: a failed
// evaluation counts as 0, so its entry is minus the constant term.
const Case kInvalid[] = {
    // '1+20' for p^0, '1+21' for p^1, whose P has the digit 2 before it.
    {"DigitBeforeP", "1+2p", false, {21, 1, 0, 0, 0, 0}},
    // '3000' for every power but p^2, which reads '31^2'.
    {"DigitBeforePOfSquare", "3p^2", false, {3000, 0, 961 - 3000, 0, 0, 0}},
    // '0+P' keeps a P for p^1: the evaluator does not know it.
    {"PowerWrittenTwice", "p+p", false, {1, -1, 0, 0, 0, 0}},
    // Decreasing order: for p^2 the plain P is found after 'P^2' became 1^2.
    {"DecreasingOrder", "p^2+p", false, {1, 0, -1, 0, 0, 0}},
    // '0+2000', '1+2000', then '0+21^2' for p^2.
    {"DigitBeforeLaterPower", "p+2p^2", false, {2000, 1, 441 - 2000, 0, 0, 0}},
    {"Empty", "", false, {0, 0, 0, 0, 0, 0}},
    {"OnlySpaces", "   ", false, {0, 0, 0, 0, 0, 0}},
    {"TabIsNotASpace", "1\t+p", false, {0, 0, 0, 0, 0, 0}},
    {"UnknownName", "1+x*p", false, {0, 0, 0, 0, 0, 0}},
    {"DivisionByP", "1/p", false, {0, 1, 0, 0, 0, 0}},
    // The P inside EXP is rewritten too: 'EX0(0)' and 'EX1(0)' are unknown names.
    {"ExponentialSpoiled", "EXP(0)", false, {0, 0, 0, 0, 0, 0}},
    // A power not written as one digit 1 to 5 is refused; the entries are
    // what the rewriting gives. '1+1^6' for every power: the constant 2.
    {"PowerSix", "1+p^6", false, {2, 0, 0, 0, 0, 0}},
    {"PowerZero", "1+p^0", false, {2, 0, 0, 0, 0, 0}},
    // '1+000.5' but for p^2, which reads '1+1^2.5'.
    {"FractionalPower", "1+p^2.5", false, {1.5, 0, 0.5, 0, 0, 0}},
    {"ParameterPower", "p^K", false, {1, 0, 0, 0, 0, 0}},
    {"GroupedPower", "p^(2)", false, {1, 0, 0, 0, 0, 0}},
    // 'P^1' of 'P^12' is zeroed: '1+0002', but '1+1^12' for p^1.
    {"TwoDigitPower", "1+p^12", false, {3, -1, 0, 0, 0, 0}},
    {"PowerOfPower", "p^2^3", false, {0, 0, 1, 0, 0, 0}},
    // '000!' is 0! = 1 for every power but p^3.
    {"FactorialOfPower", "p^3!", false, {1, 0, 0, 0, 0, 0}},
    {"PowerWithoutExponent", "1+p^", false, {0, 0, 0, 0, 0, 0}},
};
INSTANTIATE_TEST_SUITE_P(Invalid, CoefficientCase, testing::ValuesIn(kInvalid),
                         [](const testing::TestParamInfo<Case>& tested) {
                           return std::string(tested.param.Name);
                         });

TEST(CoefficientRepeats, TextsCompiledAgainTakeTheNewValues) {
  // A spin step compiles the same texts with another value, and a file
  // brings new texts between: every compilation reads the values it is
  // given, whatever was compiled before.
  struct Text {
    const char* Source;
    CoefficientSet (*Expected)(const ParameterValues&);
  };
  const Text texts[] = {
      {"K*(1+T*p)",
       [](const ParameterValues& v) {
         return CoefficientSet{v.K, v.K * v.T};
       }},
      {"1+2*KSI*p/W+p^2/W^2",
       [](const ParameterValues& v) {
         return CoefficientSet{1, 2 * v.Ksi / v.W, 1 / (v.W * v.W)};
       }},
      {"A+B*p",
       [](const ParameterValues& v) {
         return CoefficientSet{v.A, v.B};
       }},
      {"W*p^3",
       [](const ParameterValues& v) {
         return CoefficientSet{0, 0, 0, v.W};
       }},
      {"T*p^5+K", [](const ParameterValues& v) { return CoefficientSet{v.K, 0, 0, 0, 0, v.T}; }},
      {"KSI", [](const ParameterValues& v) { return CoefficientSet{v.Ksi}; }},
      {"k*t*p^2",
       [](const ParameterValues& v) {
         return CoefficientSet{0, 0, v.K * v.T};
       }},
      {"A*p^4+B",
       [](const ParameterValues& v) {
         return CoefficientSet{v.B, 0, 0, 0, v.A};
       }},
      {"1 + W * p",
       [](const ParameterValues& v) {
         return CoefficientSet{1, v.W};
       }},
      {"2*p+A*B",
       [](const ParameterValues& v) {
         return CoefficientSet{v.A * v.B, 2};
       }},
  };
  for (int round = 0; round < 30; ++round) {
    const double x = 0.5 + round;
    const ParameterValues v{x, x + 1, x + 2, x + 3, x / 4, x + 5};
    // In another order each round, some twice in a row.
    for (int j = 0; j < 10; ++j) {
      const Text& t = texts[(j * 3 + round) % 10];
      CoefficientSet got;
      got.fill(99);
      ASSERT_TRUE(ExtractCoefficients(t.Source, v, got)) << t.Source;
      const CoefficientSet want = t.Expected(v);
      // Near, not equal: a coefficient is the value of its work text less
      // the constant term, rounded on the way; stale values would be far off.
      for (int k = 0; k < 6; ++k)
        EXPECT_NEAR(got[k], want[k], 1e-12 * (1 + std::fabs(want[k])))
            << t.Source << " round " << round << " p^" << k;
    }
  }
}

TEST(CoefficientExponential, EvaluatorAloneAcceptsIt) {
  const Evaluation e = EvaluateExpression("EXP(0)", kParams);
  EXPECT_TRUE(e.Ok);
  EXPECT_EQ(e.Value, 1);
}

TEST(CoefficientState, ReadsTheParametersOfTheState) {
  DiagramState s;
  s.ParamK = 2;
  s.ParamT = 3;
  CoefficientSet c{};
  EXPECT_TRUE(ExtractCoefficients("K+K*T*p", s, c));
  EXPECT_EQ(c, (CoefficientSet{2, 6, 0, 0, 0, 0}));
  s.ParamK = 0;
  s.ParamT = 0;
  EXPECT_TRUE(ExtractCoefficients("K+K*T*p", s, c));
  EXPECT_EQ(c, (CoefficientSet{0, 0, 0, 0, 0, 0}));
}

// The state keeps each text as compiled: a step evaluates the same tokens
// with new values; a new text (entry, load, "Nouveau") is compiled anew.
TEST(CoefficientState, CompiledTextsFollowValuesAndTexts) {
  DiagramState s;
  s.ParamK = 2;
  EXPECT_FALSE(CompileFunction(s, 1, ParametersOf(s))) << "never compiled: the empty texts";
  s.NumText[1].Assign("K*p");
  s.DenText[1].Assign("1+p^2");
  ASSERT_TRUE(CompileFunction(s, 1, ParametersOf(s)));
  EXPECT_EQ(s.NumCoeffs[1], (CoefficientSet{0, 2, 0, 0, 0, 0}));
  EXPECT_EQ(s.NumCompiled[1].Text, "K*p");
  s.ParamK = 5;
  ASSERT_TRUE(CompileFunction(s, 1, ParametersOf(s)));
  EXPECT_EQ(s.NumCoeffs[1], (CoefficientSet{0, 5, 0, 0, 0, 0}));
  s.NumText[1].Assign("1+p^6");
  EXPECT_FALSE(CompileFunction(s, 1, ParametersOf(s)));
  EXPECT_EQ(s.NumCompiled[1].Text, "1+p^6");
  // An invalid numerator leaves the denominator as it was.
  s.DenText[1].Assign("2");
  EXPECT_FALSE(CompileFunction(s, 1, ParametersOf(s)));
  EXPECT_EQ(s.DenCoeffs[1], (CoefficientSet{1, 0, 1, 0, 0, 0}));
  EXPECT_EQ(s.DenCompiled[1].Text, "1+p^2");
  s.NumText[1].Assign("K");
  ASSERT_TRUE(CompileFunction(s, 1, ParametersOf(s)));
  EXPECT_EQ(s.DenCoeffs[1], (CoefficientSet{2, 0, 0, 0, 0, 0}));
  // The other functions were never touched.
  EXPECT_EQ(s.NumCompiled[0].Text, "");
}

// A text's coefficients are kept while the parameters it reads keep their
// values: each parameter, read by a text, must make it evaluate again.
TEST(CoefficientState, KeptCoefficientsFollowEveryParameterTheTextReads) {
  for (const ParameterInfo& p : kParameters) {
    SCOPED_TRACE(std::string(p.Name));
    DiagramState s;
    s.NumText[0].Assign("1+" + std::string(p.ExpressionName) + "*p");
    s.DenText[0].Assign("1+p");
    s.*p.Field = 2;
    ASSERT_TRUE(CompileFunction(s, 0, ParametersOf(s)));
    for (const ParameterInfo& other : kParameters)
      if (other.Field != p.Field) s.*other.Field += 1;
    ASSERT_TRUE(CompileFunction(s, 0, ParametersOf(s)));
    EXPECT_EQ(s.NumCoeffs[0][1], 2);
    s.*p.Field = 3;
    ASSERT_TRUE(CompileFunction(s, 0, ParametersOf(s)));
    EXPECT_EQ(s.NumCoeffs[0][1], 3);
  }
}

TEST(CoefficientOddBytes, AnyByteIsHandled) {
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    for (const std::string& text :
         {std::string(1, c), "1+" + std::string(1, c) + "*p", "p" + std::string(1, c),
          std::string(1, c) + "p^2", std::string(2000, c)}) {
      CoefficientSet got;
      got.fill(99);
      ExtractCoefficients(text, kParams, got);
      for (double v : got) EXPECT_NE(v, 99) << "byte " << b;
    }
  }
}

// A text the rewriting would read as another polynomial is refused, with the
// reason the user can act on; a text it reads right keeps its coefficients.
struct DevelopedCase {
  const char* Name;
  const char* Text;
  bool Accepted;
  const char* Reason;  // a part of RefusalReason's text; "" when accepted or none known
};

class DevelopedTextCase : public testing::TestWithParam<DevelopedCase> {};

TEST_P(DevelopedTextCase, RefusedUnlessReadRight) {
  const DevelopedCase& c = GetParam();
  CoefficientSet polynomial, plain;
  const bool plainOk = ExtractCoefficients(c.Text, kParams, plain);
  EXPECT_EQ(ExtractPolynomial(c.Text, kParams, polynomial), c.Accepted) << c.Text;
  if (c.Accepted) {
    EXPECT_TRUE(plainOk);
    EXPECT_EQ(polynomial, plain) << c.Text;
  }
  const std::string reason = RefusalReason(c.Text, kParams);
  if (*c.Reason == 0)
    EXPECT_EQ(reason, "") << c.Text;
  else
    EXPECT_NE(reason.find(c.Reason), std::string::npos) << c.Text << ": " << reason;
}

const DevelopedCase kDeveloped[] = {
    {"Developed", "1+0.5*p+p^2", true, ""},
    {"ParameterCoefficients", "K+K*T*p+p^2/W^2", true, ""},
    {"ConstantTimesLinearGroup", "K*(1+T*p)", true, ""},
    {"FifthPower", "1+p+p^2+p^3+p^4+p^5", true, ""},
    {"SquareOfABinomial", "(1+p)^2", false, "développez"},
    {"FifthPowerOfABinomial", "(1+p)^5", false, "développez"},
    {"SquaredGroupOfP", "1+(p)^2", false, "développez"},
    {"ProductOfGroups", "(1+p)*(1+T*p)", false, "développez"},
    {"DecreasingPowers", "p^2+p+1", false, "développez"},
    {"PTimesP", "K*p*p", false, "développez"},
    {"NotAPolynomial", "SIN(p)", false, "développez"},
    {"DigitBeforeP", "1+2p", false, "2*p"},
    {"ExponentNotation", "1+1e-8*p", false, "1e-8"},
    {"PowerOutOfRange", "1+p^6", false, "p^1 à p^5"},
    {"UnknownName", "1+X*p", false, ""},
};
INSTANTIATE_TEST_SUITE_P(Texts, DevelopedTextCase, testing::ValuesIn(kDeveloped),
                         [](const testing::TestParamInfo<DevelopedCase>& tested) {
                           return std::string(tested.param.Name);
                         });

TEST(DevelopedText, OverflowingValuesAreNotCompared) {
  // K^400 overflows in the coefficient and the text alike: a developed text
  // stays accepted, as it was, whatever its numbers.
  CoefficientSet c;
  EXPECT_TRUE(ExtractPolynomial("1+K^400*p", ParameterValues{1, 1, 1, 10, 1, 1}, c));
}

TEST(DevelopedText, CompiledFunctionsRefuseWhatIsNotDeveloped) {
  DiagramState s;
  s.NumText[0].Assign("(1+p)^2");
  s.DenText[0].Assign("1");
  EXPECT_FALSE(CompileFunction(s, 0, ParametersOf(s)));
  // The same compiled record, once the text is developed.
  s.NumText[0].Assign("1+2*p+p^2");
  EXPECT_TRUE(CompileFunction(s, 0, ParametersOf(s)));
  EXPECT_EQ(s.NumCoeffs[0], (CoefficientSet{1, 2, 1, 0, 0, 0}));
}

// Coefficients small against the constant term, to a few units of their own
// last digit: read as (c0 + ck) - c0 they kept only the digits c0 left them
// (1 + 0.000000000001*p gave 1.0000889e-12).
struct SmallCase {
  const char* Name;
  const char* Text;
  CoefficientSet Exact;
};

class SmallCoefficientCase : public testing::TestWithParam<SmallCase> {};

TEST_P(SmallCoefficientCase, KeepsItsOwnDigits) {
  const SmallCase& c = GetParam();
  CoefficientSet got;
  ASSERT_TRUE(ExtractPolynomial(c.Text, kParams, got));
  for (int k = 0; k < 6; ++k)
    EXPECT_NEAR(got[k], c.Exact[k], 1e-15 * std::fabs(c.Exact[k])) << c.Text << " p^" << k;
}

const SmallCase kSmall[] = {
    {"FirstPower", "1+0.000000000001*p", {1, 1e-12, 0, 0, 0, 0}},
    {"FifthPower", "1+0.000000000001*p^5", {1, 0, 0, 0, 0, 1e-12}},
    {"Negative", "1-0.000000000001*p^2", {1, 0, -1e-12, 0, 0, 0}},
    {"NegativeConstant", "-1+0.000000000001*p", {-1, 1e-12, 0, 0, 0, 0}},
    {"LargeConstant", "1000000+p", {1e6, 1, 0, 0, 0, 0}},
    // Below the rounding of the constant: read as 0 at p = 1.
    {"HiddenTerm", "1+0.00000000000000000001*p^3", {1, 0, 0, 1e-20, 0, 0}},
    {"ThroughParameters", "K+p/T/1000000000000", {2, 1.0 / 3e12, 0, 0, 0, 0}},
    {"ByDivision", "1+2*KSI*p/W/100000+p^2/W^2/10000000000", {1, 5e-6, 2.5e-11, 0, 0, 0}},
    // The fast denominator of a stiff series, spanning twelve decades.
    {"TwelveDecades",
     "1+0.016*p+0.000169*p^2+0.000001294*p^3+0.00000000214*p^4+0.000000000001*p^5",
     {1, 0.016, 1.69e-4, 1.294e-6, 2.14e-9, 1e-12}},
    {"ZeroTerm", "1+0*p+0.5*p^2", {1, 0, 0.5, 0, 0, 0}},
};
INSTANTIATE_TEST_SUITE_P(Texts, SmallCoefficientCase, testing::ValuesIn(kSmall),
                         [](const testing::TestParamInfo<SmallCase>& tested) {
                           return std::string(tested.param.Name);
                         });

}  // namespace
}  // namespace tv
