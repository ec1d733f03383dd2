// Roots, breaks and asymptotic gain and phase: hand-worked cases, edge cases, and roots from
// Octave.
#include "analysis/asymptotes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/factors.h"
#include "core/headless_host.h"

namespace tv {
namespace {

struct ExpectedBreak {
  double W;
  int Order;
  bool Pole;
  double Ksi;  // NaN for first order
};

struct HandCase {
  const char* Name;
  CoefficientSet Num, Den;
  int Class;
  double StaticGain;
  std::vector<ExpectedBreak> Breaks;
  double FinalSlope;
  // Asymptotic gain (dB) and phase (degrees) at a few pulsations.
  std::vector<std::array<double, 3>> Samples;
};

const double kNone = std::nan("");

class HandWorkedTest : public testing::TestWithParam<HandCase> {};

TEST_P(HandWorkedTest, BreaksSlopesAndLevels) {
  const HandCase& c = GetParam();
  const CurveAsymptotes a = FunctionAsymptotes(c.Num, c.Den);
  ASSERT_TRUE(a.Valid);
  EXPECT_EQ(a.Class, c.Class);
  EXPECT_NEAR(a.StaticGain, c.StaticGain, 1e-12 * std::fabs(c.StaticGain));
  ASSERT_EQ(a.Breaks.size(), c.Breaks.size());
  for (std::size_t i = 0; i < c.Breaks.size(); ++i) {
    const Break& b = a.Breaks[i];
    EXPECT_NEAR(b.W, c.Breaks[i].W, 1e-9 * c.Breaks[i].W) << i;
    EXPECT_EQ(b.Order, c.Breaks[i].Order) << i;
    EXPECT_EQ(b.Pole, c.Breaks[i].Pole) << i;
    EXPECT_EQ(b.Ksi.has_value(), !std::isnan(c.Breaks[i].Ksi)) << i;
    if (b.Ksi) {
      EXPECT_NEAR(*b.Ksi, c.Breaks[i].Ksi, 1e-9) << i;
    }
  }
  EXPECT_DOUBLE_EQ(a.FinalSlopeDbPerDecade(), c.FinalSlope);
  for (const auto& [w, gain, phase] : c.Samples) {
    EXPECT_NEAR(a.GainDbAt(w), gain, 1e-9) << "w=" << w;
    EXPECT_NEAR(a.PhaseDegAt(w), phase, 1e-9) << "w=" << w;
  }
}

const double k2Db = 20 * std::log10(2.0);
const double k5Db = 20 * std::log10(5.0);

INSTANTIATE_TEST_SUITE_P(
    Functions, HandWorkedTest,
    testing::Values(
        // K/(1+Tp), K = 2, T = 0.5: 6 dB, then -20 dB/dec from 1/T = 2.
        HandCase{"FirstOrder",
                 {2},
                 {1, 0.5},
                 0,
                 2,
                 {{2, 1, true, kNone}},
                 -20,
                 {{0.02, k2Db, 0}, {20, k2Db - 20, -90}, {200, k2Db - 40, -90}}},
        // 1/(p(1+p)) typed expanded: -20, then -40 from 1.
        HandCase{"IntegratorAndLag",
                 {1},
                 {0, 1, 1},
                 1,
                 1,
                 {{1, 1, true, kNone}},
                 -40,
                 {{0.1, 20, -90}, {1, 0, -180}, {100, -80, -180}}},
        // (1+aTp)/(1+Tp), a = 5, T = 0.1: +20 dB/dec between 1/(aT) = 2 and 1/T = 10.
        HandCase{"LeadCompensator",
                 {1, 0.5},
                 {1, 0.1},
                 0,
                 1,
                 {{2, 1, false, kNone}, {10, 1, true, kNone}},
                 0,
                 {{1, 0, 0}, {4, 20 * std::log10(2.0), 90}, {10, k5Db, 0}, {1000, k5Db, 0}}},
        // 1/(1+2 Ksi p/W+p^2/W^2), W = 10, Ksi = 0.2: -40 dB/dec after 10.
        HandCase{"SecondOrder",
                 {1},
                 {1, 0.04, 0.01},
                 0,
                 1,
                 {{10, 2, true, 0.2}},
                 -40,
                 {{1, 0, 0}, {100, -40, -180}}},
        // (1-Tp), T = 0.5: the gain of a lead, the phase of a lag.
        HandCase{"NonMinimumPhaseZero",
                 {1, -0.5},
                 {1},
                 0,
                 1,
                 {{2, 1, false, kNone}},
                 20,
                 {{0.2, 0, 0}, {20, 20, -90}}},
        // A constant: a horizontal line, 180 degrees for a negative one.
        HandCase{"NegativeConstant",
                 {-3},
                 {1},
                 0,
                 -3,
                 {},
                 0,
                 {{0.001, 20 * std::log10(3.0), 180}, {1000, 20 * std::log10(3.0), 180}}},
        // A tiny constant term is a root at 0 in the asymptotes: 1/p, not 1e13.
        HandCase{"RootNearZero", {1}, {1e-13, 1}, 1, 1, {}, -20, {{10, -20, -90}}},
        // A derivator over an unstable pole: class -1, the pole's phase goes up.
        HandCase{"DerivatorUnstablePole",
                 {0, 3},
                 {-1, 1},
                 -1,
                 -3,
                 {{1, 1, true, kNone}},
                 0,
                 {{0.1, 20 * std::log10(0.3), 270}, {10, 20 * std::log10(3.0), 360}}},
        // (1+p)^5 expanded: one fifth-order root, the worst spread degree 5
        // allows, read as one break of order 5.
        HandCase{"FifthOrderRoot",
                 {1},
                 {1, 5, 10, 10, 5, 1},
                 0,
                 1,
                 {{1, 5, true, kNone}},
                 -100,
                 {{10, -100, -450}}}),
    [](const testing::TestParamInfo<HandCase>& param) { return param.param.Name; });

// Roots whatever the scale of p: each case's exact roots (by construction,
// the polynomial being written from them) against the factors found.
struct RootCase {
  const char* Name;
  CoefficientSet Den;
  double W;  // the one break pulsation
  int Order;
  double Ksi;  // kNone for real roots
};

class ScaledRootTest : public testing::TestWithParam<RootCase> {};

TEST_P(ScaledRootTest, OneBreakOfTheRootsOrder) {
  const RootCase& c = GetParam();
  const CurveAsymptotes a = FunctionAsymptotes({1}, c.Den);
  ASSERT_EQ(a.Breaks.size(), 1u);
  EXPECT_NEAR(a.Breaks[0].W, c.W, 1e-10 * c.W);
  EXPECT_EQ(a.Breaks[0].Order, c.Order);
  EXPECT_EQ(a.Breaks[0].Ksi.has_value(), !std::isnan(c.Ksi));
  if (a.Breaks[0].Ksi) {
    EXPECT_NEAR(*a.Breaks[0].Ksi, c.Ksi, 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Roots, ScaledRootTest,
    testing::Values(RootCase{"SmallLeadE12", {1, 1e-12}, 1e12, 1, kNone},
                    RootCase{"SmallLeadE10", {1, 1e-10}, 1e10, 1, kNone},
                    // (1+p/5)^5, (1+p/1000)^2, (1+p)^3 expanded.
                    RootCase{"FifthOrderAtFive", {1, 1, 0.4, 0.08, 0.008, 0.00032}, 5, 5, kNone},
                    RootCase{"DoubleAtThousand", {1, 2e-3, 1e-6}, 1000, 2, kNone},
                    RootCase{"TripleAtOne", {1, 3, 3, 1}, 1, 3, kNone},
                    // (1 + p + p^2)^2: a double pair, xi = 1/2.
                    RootCase{"DoublePair", {1, 2, 3, 2, 1}, 1, 4, 0.5},
                    // 1 + 2 0.3 p/1e4 + p^2/1e8: a pair far from 1.
                    RootCase{"PairFarFromItsNeighbour", {1, 0.6e-4, 1e-8}, 1e4, 2, 0.3}),
    [](const testing::TestParamInfo<RootCase>& param) { return param.param.Name; });

TEST(FactorPolynomialTest, CloseDistinctRootsStayApart) {
  // (1+p)(1+p/1.001): two roots a thousandth apart are two roots, not one.
  const PolynomialFactors f = FactorPolynomial({1, 1 + 1 / 1.001, 1 / 1.001});
  ASSERT_EQ(f.Real.size(), 2u);
  EXPECT_NEAR(f.Real[0], -1.001, 1e-12);
  EXPECT_NEAR(f.Real[1], -1, 1e-12);
}

TEST(BreakTest, ResonanceOnlyBelowTheLimit) {
  const Break pole{10, 2, true, 0.2, false};
  EXPECT_NEAR(*pole.ResonanceDb(), 20 * std::log10(1 / (2 * 0.2 * std::sqrt(1 - 0.04))), 1e-12);
  const Break zero{10, 2, false, 0.2, false};
  EXPECT_NEAR(*zero.ResonanceDb(), -*pole.ResonanceDb(), 1e-12);
  EXPECT_FALSE((Break{10, 2, true, 0.8, false}.ResonanceDb()));
  EXPECT_FALSE((Break{10, 2, true, 0.0, false}.ResonanceDb()));
  EXPECT_FALSE((Break{10, 1, true, std::nullopt, false}.ResonanceDb()));
}

TEST(FactorPolynomialTest, NothingToFactor) {
  EXPECT_FALSE(FactorPolynomial(CoefficientSet{}).Valid);
  EXPECT_FALSE(FactorPolynomial(CoefficientSet{1, std::nan(""), 0, 0, 0, 0}).Valid);
  EXPECT_FALSE(FunctionAsymptotes({1}, {}).Valid);
  const PolynomialFactors f = FactorPolynomial(CoefficientSet{0, 0, 0, 0, 0, 2});
  EXPECT_TRUE(f.Valid);
  EXPECT_EQ(f.AtZero, 5);
  EXPECT_DOUBLE_EQ(f.LowFrequencyGain(), 2);
}

// Roots from Octave's roots() of the same polynomials (rounded to 15 digits).
struct OctaveCase {
  const char* Name;
  CoefficientSet Poly;
  int AtZero;
  std::vector<ExpectedBreak> Breaks;  // Pole unused
};

class OctaveRootsTest : public testing::TestWithParam<OctaveCase> {};

TEST_P(OctaveRootsTest, SameBreaksAsOctave) {
  const OctaveCase& c = GetParam();
  const CurveAsymptotes a = FunctionAsymptotes({1}, c.Poly);
  ASSERT_TRUE(a.Valid);
  EXPECT_EQ(a.Class, c.AtZero);
  ASSERT_EQ(a.Breaks.size(), c.Breaks.size());
  for (std::size_t i = 0; i < c.Breaks.size(); ++i) {
    EXPECT_NEAR(a.Breaks[i].W, c.Breaks[i].W, 1e-11 * c.Breaks[i].W) << i;
    EXPECT_EQ(a.Breaks[i].Order, c.Breaks[i].Order) << i;
    if (c.Breaks[i].Order == 2) {
      EXPECT_NEAR(*a.Breaks[i].Ksi, c.Breaks[i].Ksi, 1e-11) << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Polynomials, OctaveRootsTest,
    testing::Values(OctaveCase{"FifthDegree",
                               {1, 2.5, 0.7, 0.3, 0.05, 0.002},
                               0,
                               {{0.445788609776418, 1, true, kNone},
                                {3.08898086655609, 2, true, 0.0805093010950925},
                                {6.81919136808531, 1, true, kNone},
                                {17.2376366408132, 1, true, kNone}}},
                    OctaveCase{"LightlyDamped",
                               {1, 0.4, 4, 0.1},
                               0,
                               {{0.500588261390475, 2, true, 0.0938455665119139},
                                {39.9060440220412, 1, true, kNone}}},
                    OctaveCase{"IntegratorUnstablePair",
                               {0, 1, 0.02, 0.01, 0.0004},
                               1,
                               {{9.6864216395208, 2, true, -0.0849049033859088},
                                {26.6448493869174, 1, true, kNone}}},
                    OctaveCase{"TwoPairsOnBothSides",
                               {1, 0.1, 0, 0, 0.5},
                               0,
                               {{1.16448605793715, 2, true, 0.722436703576425},
                                {1.21445297926394, 2, true, -0.692713084344111}}},
                    OctaveCase{"MixedFifthDegree",
                               {3, 1, 2, 1, 0.2, 0.01},
                               0,
                               {{1.22691521233336, 2, true, -0.116556963731345},
                                {3.80597537037988, 2, true, 0.857579878696725},
                                {13.7581552309045, 1, true, kNone}}}),
    [](const testing::TestParamInfo<OctaveCase>& param) { return param.param.Name; });

// The fuzzer found 1 + T p with a subnormal T written as a break at "+Inf"
// rad/s: a root beyond the doubles is no break.
TEST(FactorPolynomialTest, RootBeyondTheDoublesIsNoBreak) {
  const CurveAsymptotes a = FunctionAsymptotes({1}, {1, 1e-320});
  EXPECT_TRUE(a.Valid);
  EXPECT_TRUE(a.Breaks.empty());
}

TEST(AsymptotesOfTest, ProductIsTheUnionOfItsFactors) {
  HeadlessHost host;
  DiagramState s;
  s.Host = &host;
  s.CurveTicked[0] = s.CurveTicked[1] = s.CurveTicked[3] = true;
  s.NumCoeffs[0] = {1, 0.5};
  s.DenCoeffs[0] = {1, 0.1};  // lead: zero at 2, pole at 10
  s.NumCoeffs[1] = {10};
  s.DenCoeffs[1] = {0, 1, 1};  // 10/(p(1+p))
  const std::vector<Curve> curves = DrawnCurves(s);
  ASSERT_EQ(curves.size(), 3u);
  const CurveAsymptotes p = AsymptotesOf(s, curves[2]);
  ASSERT_TRUE(p.Valid);
  EXPECT_EQ(p.Class, 1);
  EXPECT_DOUBLE_EQ(p.StaticGain, 10);
  ASSERT_EQ(p.Breaks.size(), 3u);
  EXPECT_DOUBLE_EQ(p.Breaks[0].W, 1);
  EXPECT_DOUBLE_EQ(p.Breaks[1].W, 2);
  EXPECT_FALSE(p.Breaks[1].Pole);
  EXPECT_DOUBLE_EQ(p.Breaks[2].W, 10);
  EXPECT_DOUBLE_EQ(p.FinalSlopeDbPerDecade(), -40);
  for (double w : {0.05, 1.5, 3.0, 50.0})
    EXPECT_NEAR(p.GainDbAt(w),
                AsymptotesOf(s, curves[0]).GainDbAt(w) + AsymptotesOf(s, curves[1]).GainDbAt(w),
                1e-12);
}

}  // namespace
}  // namespace tv
