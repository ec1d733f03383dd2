// Frequency response: polynomial at p = jw, angle quadrants, gain, zero guard, product.
#include "response/response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <string>

namespace tv {
namespace {

constexpr double kPi = std::numbers::pi;

struct AngleCase {
  const char* Name;
  double Re, Im;
  double Expected;
};

class PhaseAngleTest : public testing::TestWithParam<AngleCase> {};

TEST_P(PhaseAngleTest, LiesInItsQuadrant) {
  EXPECT_NEAR(PhaseAngle(GetParam().Re, GetParam().Im), GetParam().Expected, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PhaseAngleTest,
    testing::Values(
        AngleCase{"PositiveReal", 1, 0, 0}, AngleCase{"PositiveImaginary", 0, 1, kPi / 2},
        AngleCase{"NegativeReal", -1, 0, kPi}, AngleCase{"NegativeImaginary", 0, -1, 3 * kPi / 2},
        AngleCase{"FourthQuadrant", 1, -1, 7 * kPi / 4},
        AngleCase{"ThirdQuadrant", -1, -1, 5 * kPi / 4}, AngleCase{"FirstQuadrant", 1, 1, kPi / 4},
        AngleCase{"SecondQuadrant", -1, 1, 3 * kPi / 4},
        AngleCase{"ThirtyDegrees", std::sqrt(3.0), 1, kPi / 6},
        AngleCase{"SmallNegativeImaginaryIsJustBelowTwoPi", 1, -1e-9, 2 * kPi - 1e-9},
        // re = 0 is tested first, so the origin gives 3pi/2.
        AngleCase{"OriginIsThreeHalvesPi", 0, 0, 3 * kPi / 2},
        AngleCase{"NegativeZeroRealCountsAsZero", -0.0, 2, kPi / 2},
        AngleCase{"NegativeZeroImaginaryCountsAsZero", -3, -0.0, kPi}),
    [](const testing::TestParamInfo<AngleCase>& tested) { return std::string(tested.param.Name); });

TEST(PolynomialAtJw, UsesPowersOfJ) {
  const CoefficientSet c{1, 2, 3, 4, 5, 6};
  const double w = 2, w2 = 4;
  // 1 - 3*4 + 5*16 and 2*2 - 4*8 + 6*32.
  EXPECT_DOUBLE_EQ(RealPartAt(c, w2), 69);
  EXPECT_DOUBLE_EQ(ImagPartAt(c, w, w2), 164);
}

TEST(GainDbTest, DividesByTheFixedConstant) {
  std::uint8_t valid = 1;
  // 10 ln 100 / 2.302585, a little above 20 dB.
  EXPECT_DOUBLE_EQ(GainDb(valid, 10, 0), 10 * std::log(100.0) / 2.302585);
  EXPECT_GT(GainDb(valid, 0, 10), 20.0000005);
  EXPECT_EQ(valid, 1);
}

struct GuardCase {
  const char* Name;
  double X;
  bool Clears;
};

class GuardedLnTest : public testing::TestWithParam<GuardCase> {};

TEST_P(GuardedLnTest, ClearsTheFlagOnlyForZeroOrNan) {
  std::uint8_t valid = 1;
  const double v = GuardedLn(valid, GetParam().X);
  if (GetParam().Clears) {
    EXPECT_EQ(v, 0);
    EXPECT_EQ(valid, 0);
  } else {
    EXPECT_DOUBLE_EQ(v, std::log(GetParam().X));
    EXPECT_EQ(valid, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GuardedLnTest,
    testing::Values(GuardCase{"Zero", 0.0, true}, GuardCase{"NegativeZero", -0.0, true},
                    GuardCase{"NotANumber", std::numeric_limits<double>::quiet_NaN(), true},
                    GuardCase{"One", 1.0, false}, GuardCase{"Tiny", 1e-300, false},
                    GuardCase{"Subnormal", 5e-324, false}),
    [](const testing::TestParamInfo<GuardCase>& tested) { return std::string(tested.param.Name); });

struct FunctionCase {
  const char* Name;
  CoefficientSet Num, Den;
  double W;
  double PhaseRad, GainDb;
};

class FunctionResponseTest : public testing::TestWithParam<FunctionCase> {};

TEST_P(FunctionResponseTest, IsNumeratorMinusDenominator) {
  const FunctionCase& c = GetParam();
  DiagramState s;
  std::uint8_t valid = 1;
  s.NumCoeffs[1] = c.Num;
  s.DenCoeffs[1] = c.Den;
  const Response r = FunctionResponse(s, 1, c.W, c.W * c.W, valid);
  EXPECT_NEAR(r.PhaseRad, c.PhaseRad, 1e-12);
  EXPECT_NEAR(r.GainDb, c.GainDb, 1e-9);
  EXPECT_EQ(valid, 1);
}

const double kLn10 = std::log(10.0);

INSTANTIATE_TEST_SUITE_P(
    Cases, FunctionResponseTest,
    testing::Values(
        FunctionCase{"DefaultSets", {1, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, 123.4, 0, 0},
        FunctionCase{"FirstOrderAtCorner",
                     {1, 0, 0, 0, 0, 0},
                     {1, 1, 0, 0, 0, 0},
                     1,
                     -kPi / 4,
                     -10 * std::log(2.0) / 2.302585},
        FunctionCase{"Integrator",
                     {1, 0, 0, 0, 0, 0},
                     {0, 1, 0, 0, 0, 0},
                     10,
                     -kPi / 2,
                     -20 * kLn10 / 2.302585},
        FunctionCase{"DoubleIntegrator", {1, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0}, 1, -kPi, 0},
        FunctionCase{
            "TripleIntegrator", {1, 0, 0, 0, 0, 0}, {0, 0, 0, 1, 0, 0}, 1, -3 * kPi / 2, 0},
        // The angle of p^4 at jw is 0, not 2pi: the phase is never unwrapped.
        FunctionCase{"FourfoldIntegratorWrapsToZero",
                     {1, 0, 0, 0, 0, 0},
                     {0, 0, 0, 0, 1, 0},
                     10,
                     0,
                     -80 * kLn10 / 2.302585},
        FunctionCase{"FivefoldIntegrator", {1, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 1}, 1, -kPi / 2, 0},
        // 1 - p at w = 1 is 1 - j: angle 7pi/4, just below a full turn.
        FunctionCase{"RightHalfPlaneZero",
                     {1, -1, 0, 0, 0, 0},
                     {1, 0, 0, 0, 0, 0},
                     1,
                     7 * kPi / 4,
                     10 * std::log(2.0) / 2.302585},
        FunctionCase{"GainOnly",
                     {5, 0, 0, 0, 0, 0},
                     {0.5, 0, 0, 0, 0, 0},
                     3,
                     0,
                     10 * std::log(100.0) / 2.302585},
        FunctionCase{"NegativeGainIsPi",
                     {-2, 0, 0, 0, 0, 0},
                     {1, 0, 0, 0, 0, 0},
                     1,
                     kPi,
                     10 * std::log(4.0) / 2.302585}),
    [](const testing::TestParamInfo<FunctionCase>& tested) {
      return std::string(tested.param.Name);
    });

TEST(ZeroGuard, NumeratorZeroAtItsResonance) {
  DiagramState s;
  std::uint8_t valid = 1;
  s.NumCoeffs[0] = {1, 0, 1, 0, 0, 0};  // 1 + p^2 is 0 at w = 1
  s.DenCoeffs[0] = {1, 1, 0, 0, 0, 0};
  const Response r = FunctionResponse(s, 0, 1, 1, valid);
  EXPECT_EQ(valid, 0);
  // The numerator counts as 0 dB: only the denominator's -3 dB remains.
  EXPECT_NEAR(r.GainDb, -10 * std::log(2.0) / 2.302585, 1e-12);
}

TEST(ZeroGuard, AllZeroDenominator) {
  DiagramState s;
  std::uint8_t valid = 1;
  s.NumCoeffs[2] = {1, 0, 0, 0, 0, 0};
  s.DenCoeffs[2] = {0, 0, 0, 0, 0, 0};
  const Response r = FunctionResponse(s, 2, 5, 25, valid);
  EXPECT_EQ(valid, 0);
  EXPECT_EQ(r.GainDb, 0);
}

class ProductResponseTest : public testing::Test {
 protected:
  void SetUp() override {
    s.NumCoeffs[0] = {1, 0, 0, 0, 0, 0};
    s.DenCoeffs[0] = {1, 1, 0, 0, 0, 0};  // 1/(1+p)
    s.NumCoeffs[1] = {1, 0, 0, 0, 0, 0};
    s.DenCoeffs[1] = {0, 0, 0, 0, 0, 0};  // zero everywhere
    s.NumCoeffs[2] = {10, 0, 0, 0, 0, 0};
    s.DenCoeffs[2] = {0, 1, 0, 0, 0, 0};  // 10/p
  }
  DiagramState s;
  std::uint8_t valid = 1;
};

TEST_F(ProductResponseTest, SumsOnlyTheCheckedFunctions) {
  const bool enabled[3] = {true, false, true};
  const std::optional<Response> r = ProductResponse(s, enabled, 1, 1);
  // -pi/4 - pi/2, and -3.01 dB + 20 dB; H2 is never evaluated.
  ASSERT_TRUE(r.has_value());
  EXPECT_NEAR(r->PhaseRad, -3 * kPi / 4, 1e-12);
  EXPECT_NEAR(r->GainDb, (10 * std::log(100.0) - 10 * std::log(2.0)) / 2.302585, 1e-9);
}

TEST_F(ProductResponseTest, IsTheSweepsSumBitForBit) {
  // The cursor read-out must show what the Black sweep summed, not a value a
  // rounding away.
  const bool enabled[3] = {true, false, true};
  const double w = 3.7;
  const Response h1 = FunctionResponse(s, 0, w, w * w, valid);
  const Response h3 = FunctionResponse(s, 2, w, w * w, valid);
  const std::optional<Response> r = ProductResponse(s, enabled, w, w * w);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->PhaseRad, 0 + h1.PhaseRad + h3.PhaseRad);
  EXPECT_EQ(r->GainDb, 0 + h1.GainDb + h3.GainDb);
}

TEST_F(ProductResponseTest, NothingCheckedIsZeroDbZeroRad) {
  const bool enabled[3] = {false, false, false};
  const std::optional<Response> r = ProductResponse(s, enabled, 7, 49);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->PhaseRad, 0);
  EXPECT_EQ(r->GainDb, 0);
}

TEST_F(ProductResponseTest, CheckedZeroFunctionHasNoValueAndLeavesTheStateAlone) {
  const bool enabled[3] = {true, true, true};
  EXPECT_FALSE(ProductResponse(s, enabled, 1, 1).has_value());
  EXPECT_EQ(valid, 1);
}

}  // namespace
}  // namespace tv
