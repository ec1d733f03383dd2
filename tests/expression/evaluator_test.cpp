// Tests of the expression evaluator: precedence, signs, functions, failures and hostile input.
#include "expression/evaluator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/diagram_state.h"

namespace tv {
namespace {

// Distinct values so that a parameter read from the wrong slot shows.
constexpr ParameterValues kParams{2, 3, 5, 7, 0.25, 11};  // A B T K KSI W

struct Case {
  const char* Name;
  const char* Text;
  bool Ok;
  double Value;  // 0 for every invalid case
};

std::string CaseName(const testing::TestParamInfo<Case>& info) { return info.param.Name; }

class EvaluatorCase : public testing::TestWithParam<Case> {};

TEST_P(EvaluatorCase, GivesValueAndFlag) {
  const Case& c = GetParam();
  const Evaluation e = EvaluateExpression(c.Text, kParams);
  EXPECT_EQ(e.Ok, c.Ok) << c.Text;
  EXPECT_DOUBLE_EQ(e.Value, c.Value) << c.Text;
}

const Case kPrecedence[] = {
    {"ProductBeforeSum", "1+2*3", true, 7},
    {"GroupFirst", "(1+2)*3", true, 9},
    {"PowerGroupsFromTheLeft", "2^3^2", true, 64},
    {"PowerBeforeProduct", "2*3^2", true, 18},
    {"PowerThenProduct", "2^2*3", true, 12},
    {"PowerOfDivisor", "12/2^2", true, 3},
    {"DivisionChain", "8/4/2", true, 1},
    {"LongDivisionChain", "8/2/2/2", true, 1},
    {"DivisionAfterGroupKeepsRightWaiting", "(4-1)/7/7", true, 3.0 / 49.0},
    {"GroupDividedThenMultiplied", "(6-1)/5*9", true, 9},
    {"SubtractionChain", "1-2-3", true, -4},
    {"SubtractionThenSum", "1-2+3", true, 2},
    {"SumThenSubtraction", "1+2-3", true, 0},
    {"ProductInsideDifference", "10-2*3", true, 4},
    {"QuotientInsideDifference", "2*3-4/2", true, 4},
    {"PowerInsideDifference", "1-2^2", true, -3},
    {"GroupedSubtrahend", "1-(2-3)", true, 2},
    {"GroupedDivisor", "2/(1+1)", true, 1},
    {"ProductOfGroups", "((1+2)*(3+4))", true, 21},
    {"NestedParentheses", "(((2)))", true, 2},
    {"FactorialBeforePower", "2^3!", true, 64},
    {"PowerOfFactorial", "3!^2", true, 36},
    {"DoubleFactorial", "3!!", true, 720},
    {"FactorialInSum", "1+2!", true, 3},
};
INSTANTIATE_TEST_SUITE_P(Precedence, EvaluatorCase, testing::ValuesIn(kPrecedence), CaseName);

const Case kSigns[] = {
    {"LeadingMinus", "-2", true, -2},
    {"LeadingPlus", "+2", true, 2},
    {"LeadingMinusBeforeSum", "-2+3", true, 1},
    {"LeadingMinusBeforeProduct", "-2*3", true, -6},
    {"LeadingMinusAfterPower", "-2^2", true, -4},
    {"LeadingMinusAfterFactorial", "-3!", true, -6},
    {"MinusOfGroup", "-(2+3)", true, -5},
    {"MinusOfMinus", "-(-2)", true, 2},
    {"PlusAfterParenthesis", "(+2)", true, 2},
    {"MinusAfterParenthesis", "2*(-3)", true, -6},
    {"NegativeBaseInParentheses", "(-2)^2", true, 4},
    {"NegativeExponentInParentheses", "2^(-1)", true, 0.5},
    {"MinusAfterProduct", "2*-3", false, 0},
    {"MinusAfterPower", "2^-1", false, 0},
    {"MinusAfterPlus", "2+-3", false, 0},
    {"DoubleLeadingMinus", "--2", false, 0},
};
INSTANTIATE_TEST_SUITE_P(Signs, EvaluatorCase, testing::ValuesIn(kSigns), CaseName);

const Case kFunctions[] = {
    {"SineOfNegativeGroup", "SIN(-1)", true, std::sin(-1.0)},
    {"SineOfBareOperand", "SIN0", true, 0},
    {"SineBeforeSign", "SIN-1", false, 0},
    {"NestedFunctions", "SIN(COS(0))", true, std::sin(1.0)},
    {"CosineOfZero", "COS0", true, 1},
    {"CosineOfParameterProduct", "COS(2*W)", true, std::cos(22.0)},
    {"SineOfParameter", "SIN(K)", true, std::sin(7.0)},
    {"FunctionBindsBeforePower", "SIN2^2", true, std::sin(2.0) * std::sin(2.0)},
    {"MinusOfFunction", "-SIN(1)", true, -std::sin(1.0)},
    {"LogarithmOfOne", "LN(1)", true, 0},
    {"LogarithmOfExponential", "LN(EXP(2))", true, std::log(std::exp(2.0))},
    {"LogarithmOfZero", "LN(0)", false, 0},
    {"LogarithmOfZeroInSum", "LN(0)+3", false, 0},
    {"LogarithmOfNegative", "LN(-1)", false, 0},
    {"ExponentialOfZero", "EXP(0)", true, 1},
    {"ExponentialOfOne", "EXP1", true, std::exp(1.0)},
    {"AbsoluteOfNegative", "ABS(-2)", true, 2},
    {"AbsoluteOfDifference", "ABS(2-5)", true, 3},
    {"FunctionInSum", "2*SIN(0)+1", true, 1},
    {"FunctionWithoutOperand", "SIN", false, 0},
    {"FunctionAfterOperand", "2SIN0", false, 0},
    {"NameRunsIntoParameter", "SINK", false, 0},
};
INSTANTIATE_TEST_SUITE_P(Functions, EvaluatorCase, testing::ValuesIn(kFunctions), CaseName);

const Case kFactorials[] = {
    {"OfZero", "0!", true, 1},
    {"OfOne", "1!", true, 1},
    {"OfFive", "5!", true, 120},
    {"OfGroup", "(1+2)!", true, 6},
    {"OfThirtyTwo", "32!", true, 263130836933693530167218012160000000.0},
    {"OfThirtyThree", "33!", false, 0},
    {"OfFraction", "2.5!", false, 0},
    {"OfNegative", "(-1)!", false, 0},
    {"OfCompleteOperandOnly", "4^0.5!", false, 0},
};
INSTANTIATE_TEST_SUITE_P(Factorial, EvaluatorCase, testing::ValuesIn(kFactorials), CaseName);

const Case kDivisions[] = {
    {"ByZero", "1/0", false, 0},
    {"ByZeroGroup", "1/(1-1)", false, 0},
    {"ByZeroInSum", "1/(2-2)+3", false, 0},
    {"ZeroByZero", "0/0", false, 0},
    {"ZeroByNumber", "0/5", true, 0},
    {"ByFraction", "1/0.5", true, 2},
    {"ByParameter", "1/K", true, 1.0 / 7.0},
    {"ZeroToZero", "0^0", true, 0},
    {"ZeroToNegative", "0^(-1)", true, 0},
};
INSTANTIATE_TEST_SUITE_P(Division, EvaluatorCase, testing::ValuesIn(kDivisions), CaseName);

const Case kNumbersAndNames[] = {
    {"LonePoint", ".", true, 0},
    {"LeadingPoint", ".5", true, 0.5},
    {"TrailingPoint", "3.", true, 3},
    {"Decimal", "0.02", true, 0.02},
    {"LeadingZeros", "007", true, 7},
    {"TwoPoints", "1.2.3", false, 0},
    {"AdjacentPoints", "1..2", false, 0},
    {"Comma", "1,5", false, 0},
    {"Empty", "", false, 0},
    {"Space", " 1", false, 0},
    {"LowerCase", "x", false, 0},
    {"LowerCaseParameter", "Ksi", false, 0},
    {"LetterP", "P", false, 0},
    {"FourLetterName", "SINX", false, 0},
    {"ParameterNamesRunTogether", "KSIW", false, 0},
    {"PrefixOfFunction", "AB", false, 0},
    {"TailOfFunction", "IN", false, 0},
    {"DollarSign", "$", false, 0},
    {"LoneOperator", "-", false, 0},
    {"TrailingOperator", "1+", false, 0},
    {"LeadingProduct", "*2", false, 0},
    {"NumberBesideParameter", "2K", false, 0},
    {"NumberBesideGroup", "2(3)", false, 0},
    {"EmptyParentheses", "()", false, 0},
    {"UnclosedParenthesis", "(2", false, 0},
    {"UnopenedParenthesis", "2)", false, 0},
    {"ExtraClosingParenthesis", "(2))", false, 0},
};
INSTANTIATE_TEST_SUITE_P(NumbersAndNames, EvaluatorCase, testing::ValuesIn(kNumbersAndNames),
                         CaseName);

const Case kParameterCases[] = {
    {"A", "A", true, 2},
    {"B", "B", true, 3},
    {"T", "T", true, 5},
    {"K", "K", true, 7},
    {"Ksi", "KSI", true, 0.25},
    {"W", "W", true, 11},
    {"KTimesUnknownSI", "K*SI", false, 0},
    {"Product", "K*T", true, 35},
    {"DampingTerm", "2*KSI*W", true, 5.5},
    {"Quotient", "1+2*KSI/W", true, 1 + 0.5 / 11},
    {"Square", "W^2", true, 121},
    {"Negated", "-K", true, -7},
};
INSTANTIATE_TEST_SUITE_P(Parameters, EvaluatorCase, testing::ValuesIn(kParameterCases), CaseName);

TEST(EvaluatorParameters, ReadFromTheStateAtEveryEvaluation) {
  DiagramState s;
  s.ParamA = 2;
  s.ParamB = 3;
  s.ParamT = 5;
  s.ParamK = 7;
  s.ParamKsi = 0.25;
  s.ParamW = 11;
  const ParameterValues p = ParametersOf(s);
  EXPECT_EQ(p.A, 2);
  EXPECT_EQ(p.B, 3);
  EXPECT_EQ(p.T, 5);
  EXPECT_EQ(p.K, 7);
  EXPECT_EQ(p.Ksi, 0.25);
  EXPECT_EQ(p.W, 11);
  EXPECT_DOUBLE_EQ(EvaluateExpression("A+B*T-K/KSI+W", s).Value, 2 + 15 - 28 + 11.0);
  s.ParamK = 1;
  const Evaluation e = EvaluateExpression("K", s);
  EXPECT_TRUE(e.Ok);
  EXPECT_EQ(e.Value, 1);
}

std::string Repeated(const std::string& first, const std::string& then, int count) {
  std::string text = first;
  for (int i = 1; i < count; ++i) text += then;
  return text;
}

TEST(EvaluatorOperandLimit, TwentySixOperandsFit) {
  const Evaluation e = EvaluateExpression(Repeated("1", "+1", 26), kParams);
  EXPECT_TRUE(e.Ok);
  EXPECT_EQ(e.Value, 26);
  const Evaluation k = EvaluateExpression(Repeated("K", "+K", 26), kParams);
  EXPECT_TRUE(k.Ok);
  EXPECT_EQ(k.Value, 26 * 7);
}

TEST(EvaluatorOperandLimit, TwentySeventhOperandIsInvalid) {
  for (const std::string& text : {Repeated("1", "+1", 27), Repeated("K", "+K", 27),
                                  Repeated("1", "+1", 26) + "+K", Repeated("1", "+1", 1000)}) {
    const Evaluation e = EvaluateExpression(text, kParams);
    EXPECT_FALSE(e.Ok) << text.size();
    EXPECT_EQ(e.Value, 0);
  }
}

struct PowerCase {
  const char* Name;
  double Base, Exponent, Result;
};

class RealPowerCase : public testing::TestWithParam<PowerCase> {};

TEST_P(RealPowerCase, Computes) {
  const PowerCase& c = GetParam();
  EXPECT_DOUBLE_EQ(RealPower(c.Base, c.Exponent), c.Result);
}

constexpr double kInf = std::numeric_limits<double>::infinity();

// Not constexpr: ldexp is not constant before C++23.
const PowerCase kPowers[] = {
    {"ZeroToZero", 0, 0, 0},
    {"ZeroToNegative", 0, -1, 0},
    {"ZeroToFraction", 0, 0.5, 0},
    {"AnythingToZero", 1.5, 0, 1},
    {"WholeExponent", 2, 10, 1024},
    {"NegativeWholeExponent", 2, -2, 0.25},
    {"NegativeBaseOddExponent", -2, 3, -8},
    {"NegativeBaseEvenExponent", -2, 4, 16},
    {"FractionalExponent", 4, 0.5, 2},
    {"NegativeFractionalExponent", 4, -0.5, 0.5},
    {"NegativeBaseFractionalExponent", -8, 1.0 / 3.0, 1},
    {"NegativeBaseNegativeFractionalExponent", -8, -0.5, 1},
    {"WholeExponentNearOverflow", 2, 1023, std::ldexp(1.0, 1023)},
    {"LastRepeatedExponent", -1, 32767, -1},
    {"FirstLibraryExponent", -1, 32768, 1},
    {"OddNegativeLibraryExponent", -0.5, -32769, -kInf},
    {"HugeExponentOverflows", 2, 40000, kInf},
    {"HugeNegativeExponentUnderflows", 2, -40000, 0},
    {"HugeOddExponentKeepsSign", -1, 1e15 + 1, -1},
    {"HugeEvenExponentKeepsSign", -1, 1e15, 1},
    {"InfiniteExponent", 2, kInf, kInf},
    {"NegativeInfiniteExponent", 2, -kInf, 0},
};
INSTANTIATE_TEST_SUITE_P(Powers, RealPowerCase, testing::ValuesIn(kPowers),
                         [](const testing::TestParamInfo<PowerCase>& tested) {
                           return std::string(tested.param.Name);
                         });

TEST(RealPowerRepeated, SmallWholeExponentsMultiplyInOrder) {
  // Exactly the running product 1 x b x b x ..., not a rounded library power.
  const double b = 1.1;
  EXPECT_EQ(RealPower(b, 7), 1.0 * b * b * b * b * b * b * b);
  EXPECT_EQ(RealPower(b, -3), 1.0 / (1.0 * b * b * b));
}

TEST(RealPowerSpeed, HugeExponentReturnsAtOnce) {
  const auto start = std::chrono::steady_clock::now();
  const Evaluation e = EvaluateExpression("1.0000001^1000000000", kParams);
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
  EXPECT_TRUE(e.Ok);
  const double expected = std::exp(1e9 * std::log1p(1e-7));  // about e^100
  EXPECT_NEAR(e.Value / expected, 1.0, 1e-6);
  EXPECT_LT(seconds.count(), 0.2);
}

TEST(RealPowerSpeed, HugeParameterExponentReturnsAtOnce) {
  ParameterValues p = kParams;
  p.K = 4e18;
  const auto start = std::chrono::steady_clock::now();
  const Evaluation e = EvaluateExpression("(-1)^K+0.5^K", p);
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
  EXPECT_TRUE(e.Ok);
  EXPECT_EQ(e.Value, 1);
  EXPECT_LT(seconds.count(), 0.2);
}

bool IsAccepted(unsigned char b) {
  return (b >= '0' && b <= '9') || b == '.' || (b >= 'A' && b <= 'Z') || b == '!' || b == '(' ||
         b == ')' || b == '*' || b == '+' || b == '-' || b == '/' || b == '^';
}

TEST(EvaluatorOddBytes, EveryOtherByteFailsTokenizing) {
  for (int b = 0; b < 256; ++b) {
    if (IsAccepted(static_cast<unsigned char>(b))) continue;
    const char c = static_cast<char>(b);
    for (const std::string& text : {std::string(1, c), "1+" + std::string(1, c) + "1",
                                    std::string(1, c) + "(2)", "SIN" + std::string(1, c)}) {
      const Evaluation e = EvaluateExpression(text, kParams);
      EXPECT_FALSE(e.Ok) << "byte " << b;
      EXPECT_EQ(e.Value, 0) << "byte " << b;
    }
  }
}

TEST(EvaluatorNames, OnlyTheElevenKeywordsAreKnown) {
  // Every run of one to three capitals: a parameter evaluates on its own, a
  // function before a group; nothing else in either place.
  const std::set<std::string> parameters = {"A", "B", "T", "K", "KSI", "W"};
  const std::set<std::string> functions = {"SIN", "COS", "LN", "EXP", "ABS"};
  std::string name;
  for (int length = 1; length <= 3; ++length) {
    name.assign(static_cast<std::size_t>(length), 'A');
    while (true) {
      EXPECT_EQ(EvaluateExpression(name, kParams).Ok, parameters.count(name) == 1) << name;
      EXPECT_EQ(EvaluateExpression(name + "(1)", kParams).Ok, functions.count(name) == 1) << name;
      int i = length - 1;
      while (i >= 0 && name[static_cast<std::size_t>(i)] == 'Z')
        name[static_cast<std::size_t>(i--)] = 'A';
      if (i < 0) break;
      ++name[static_cast<std::size_t>(i)];
    }
  }
}

TEST(EvaluatorOddBytes, FunctionCodeTypedDirectlyIsRefused) {
  // The codes the tokenizer writes for SIN..ABS are not accepted as input.
  for (int b = 0xB3; b <= 0xB7; ++b) {
    const std::string text = std::string(1, static_cast<char>(b)) + "0";
    EXPECT_FALSE(EvaluateExpression(text, kParams).Ok) << "byte " << b;
  }
}

TEST(EvaluatorOddBytes, EmbeddedNulEndsNothingEarly) {
  const std::string text("1+1\0+1", 6);
  EXPECT_FALSE(EvaluateExpression(text, kParams).Ok);
}

TEST(EvaluatorOddBytes, RandomBytesFailWithZero) {
  std::mt19937 gen(12345);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 200);
  const std::string alphabet = "0123456789.()!*+-/^SINCOLEXPABTKW";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int n = length(gen);
    for (int i = 0; i < n; ++i) {
      // Mostly accepted characters, so that many texts get past tokenizing.
      text += round % 2 == 0 ? static_cast<char>(byte(gen)) : alphabet[pick(gen)];
    }
    const Evaluation e = EvaluateExpression(text, kParams);
    if (!e.Ok) {
      EXPECT_EQ(e.Value, 0) << text;
    }
  }
}

TEST(EvaluatorOddBytes, HostileParameterValuesAreHandled) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double v : {nan, kInf, -kInf, 1e308, -1e308}) {
    const ParameterValues p{v, v, v, v, v, v};
    EXPECT_FALSE(EvaluateExpression("K!", p).Ok);
    EXPECT_TRUE(EvaluateExpression("2^K+K^2+K^K+SIN(K)+ABS(K)", p).Ok);
    // K-K is exactly 0 only for a finite K; otherwise it is NaN and no division by zero.
    EXPECT_EQ(EvaluateExpression("1/(K-K)", p).Ok, !std::isfinite(v));
  }
}

TEST(EvaluatorLongInput, DeepParenthesesReduceQuickly) {
  const int depth = 127;  // 255 characters, the longest text taken
  const std::string text = std::string(depth, '(') + "2" + std::string(depth, ')');
  const auto start = std::chrono::steady_clock::now();
  const Evaluation e = EvaluateExpression(text, kParams);
  const Evaluation deeper = EvaluateExpression("(" + text + ")", kParams);
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
  EXPECT_TRUE(e.Ok);
  EXPECT_EQ(e.Value, 2);
  EXPECT_FALSE(deeper.Ok);
  EXPECT_LT(seconds.count(), 5.0);
}

TEST(EvaluatorLongInput, LongTextsAreRefusedOrReduced) {
  const std::vector<std::string> invalid = {
      std::string(10000, '-'),
      std::string(10000, '('),
      std::string(10000, '.'),
      "1" + std::string(400, '0'),  // beyond the range of a double
      std::string(5000, '(') + "2" + std::string(4999, ')'),
      Repeated("SIN", "SIN", 3000)};
  for (const std::string& text : invalid) {
    const Evaluation e = EvaluateExpression(text, kParams);
    EXPECT_FALSE(e.Ok) << text.substr(0, 20);
    EXPECT_EQ(e.Value, 0);
  }
  // Longer than 255 characters is refused, however simple; up to it, reduced.
  EXPECT_FALSE(EvaluateExpression(std::string(10000, '0') + "1", kParams).Ok);
  const Evaluation zeros = EvaluateExpression(std::string(254, '0') + "1", kParams);
  EXPECT_TRUE(zeros.Ok);
  EXPECT_EQ(zeros.Value, 1);
  const Evaluation functions =
      EvaluateExpression(Repeated("ABS(", "ABS(", 50) + "-3" + std::string(50, ')'), kParams);
  EXPECT_TRUE(functions.Ok);
  EXPECT_EQ(functions.Value, 3);
}

}  // namespace
}  // namespace tv
