// The step response against hand-worked exact responses, and the degenerate systems answered in
// words.
#include "analysis/step_response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "core/headless_host.h"

namespace tv {
namespace {

using Exact = std::function<double(double)>;

struct Function {
  CoefficientSet Num, Den;
};

StepResponse Response(const std::vector<Function>& functions, bool closed, double tMax = 0) {
  std::array<CoefficientSet, 3> num{}, den{};
  std::vector<int> factors;
  for (std::size_t i = 0; i < functions.size(); ++i) {
    num[i] = functions[i].Num;
    den[i] = functions[i].Den;
    factors.push_back(static_cast<int>(i));
  }
  return ComputeStepResponse(RealiseStepSystem(num, den, factors, closed), tMax);
}

// Every sample of the response within 1e-9 of the exact y(t), the slope
// within 1e-8 of y'(t) where the case gives it.
struct ExactCase {
  const char* Name;
  std::vector<Function> Functions;
  bool Closed;
  Exact Y;
  StepKind Kind;
  double FinalOrVelocity;
};

class ExactResponseTest : public testing::TestWithParam<ExactCase> {};

TEST_P(ExactResponseTest, SamplesAreTheExactResponse) {
  const ExactCase& c = GetParam();
  const StepResponse r = Response(c.Functions, c.Closed);
  ASSERT_EQ(r.Outcome, StepOutcome::Drawn);
  ASSERT_GE(r.T.size(), static_cast<std::size_t>(kMinStepSamples));
  ASSERT_LE(r.T.size(), static_cast<std::size_t>(kMaxStepSamples));
  EXPECT_DOUBLE_EQ(r.T.back(), r.TMax);
  double worst = 0;
  for (std::size_t k = 0; k < r.T.size(); ++k)
    worst = std::max(worst, std::abs(r.Y[k] - c.Y(r.T[k])));
  EXPECT_LT(worst, 1e-9);
  EXPECT_EQ(r.Readouts.Kind, c.Kind);
  EXPECT_NEAR(c.Kind == StepKind::Ramp ? r.Readouts.Velocity : r.Readouts.FinalValue,
              c.FinalOrVelocity, 1e-12);
}

const double kXi = 0.3, kWn = 2.0;
const double kWd = kWn * std::sqrt(1 - kXi * kXi);

INSTANTIATE_TEST_SUITE_P(
    Systems, ExactResponseTest,
    testing::Values(ExactCase{"FirstOrder",
                              {{{1}, {1, 2}}},
                              false,
                              [](double x) { return 1 - std::exp(-x / 2); },
                              StepKind::Settles,
                              1},
                    ExactCase{"SecondOrder",
                              {{{1}, {1, 2 * kXi / kWn, 1 / (kWn * kWn)}}},
                              false,
                              [](double x) {
                                return 1 - std::exp(-kXi * kWn * x) *
                                               (std::cos(kWd * x) +
                                                kXi / std::sqrt(1 - kXi * kXi) * std::sin(kWd * x));
                              },
                              StepKind::Settles,
                              1},
                    ExactCase{"IntegratorRamp",
                              {{{3}, {0, 1}}},
                              false,
                              [](double x) { return 3 * x; },
                              StepKind::Ramp,
                              3},
                    ExactCase{"SeriesOfTwoFirstOrders",
                              {{{1}, {1, 1}}, {{1}, {1, 2}}},
                              false,
                              [](double x) { return 1 - 2 * std::exp(-x / 2) + std::exp(-x); },
                              StepKind::Settles,
                              1},
                    // p times 1/(1+p)^2: improper alone, proper as a product.
                    ExactCase{"ImproperFactorProperProduct",
                              {{{0, 1}, {1}}, {{1}, {1, 2, 1}}},
                              false,
                              [](double x) { return x * std::exp(-x); },
                              StepKind::Settles,
                              0},
                    // 4/(1+p) closed: 0.8 (1 - e^{-5t}), with a direct-term-free loop.
                    ExactCase{"ClosedFirstOrder",
                              {{{4}, {1, 1}}},
                              true,
                              [](double x) { return 0.8 * (1 - std::exp(-5 * x)); },
                              StepKind::Settles,
                              0.8},
                    // (1+2p)/(1+p): a jump to 2 at x = 0, then back to 1.
                    ExactCase{"DirectTerm",
                              {{{1, 2}, {1, 1}}},
                              false,
                              [](double x) { return 1 + std::exp(-x); },
                              StepKind::Settles,
                              1},
                    ExactCase{"Undamped",
                              {{{1}, {1, 0, 1}}},
                              false,
                              [](double x) { return 1 - std::cos(x); },
                              StepKind::Unstable,
                              0}),
    [](const testing::TestParamInfo<ExactCase>& c) { return c.param.Name; });

// Read-outs against their closed forms, to 1e-4 (s or %): between samples they are read on
// cubics through the exact samples and slopes, well below the third decimal they are shown with.
TEST(StepReadoutsTest, FirstOrderSettlingAndRise) {
  const StepResponse r = Response({{{1}, {1, 2}}}, false);
  const StepReadouts& o = r.Readouts;
  EXPECT_FALSE(o.HasOvershoot);
  ASSERT_TRUE(o.HasSettling && o.SettledInSpan);
  EXPECT_NEAR(o.SettlingTime, -2 * std::log(0.05), 1e-4);
  ASSERT_TRUE(o.HasRise);
  EXPECT_NEAR(o.RiseEnd - o.RiseStart, 2 * std::log(9.0), 1e-4);
}

TEST(StepReadoutsTest, SecondOrderOvershootAndPeakTime) {
  const StepResponse r = Response({{{1}, {1, 2 * kXi / kWn, 1 / (kWn * kWn)}}}, false);
  const StepReadouts& o = r.Readouts;
  ASSERT_TRUE(o.HasOvershoot);
  EXPECT_NEAR(o.OvershootPercent,
              100 * std::exp(-std::numbers::pi * kXi / std::sqrt(1 - kXi * kXi)), 1e-4);
  EXPECT_NEAR(o.PeakTime, std::numbers::pi / kWd, 1e-4);
  const std::vector<std::string> lines = StepReadoutTexts(r);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Valeur finale : 1");
  EXPECT_EQ(lines[1], "D\xE9passement D% : 37.233 % en t= 1.647 s");
}

// K/(p(1+Tp)) closed by unit feedback: the overshoot depends on KT only.
TEST(StepReadoutsTest, ClosedLoopOvershootDependsOnKTOnly) {
  const auto overshoot = [](double k, double t) {
    return Response({{{k}, {0, 1, t}}}, true).Readouts.OvershootPercent;
  };
  const double xi = 1 / (2 * std::sqrt(2.0));  // KT = 2
  const double expected = 100 * std::exp(-std::numbers::pi * xi / std::sqrt(1 - xi * xi));
  EXPECT_NEAR(overshoot(4, 0.5), expected, 1e-4);
  EXPECT_NEAR(overshoot(0.5, 4), expected, 1e-4);
  EXPECT_NEAR(overshoot(20, 0.1), expected, 1e-4);
}

struct DegenerateCase {
  const char* Name;
  std::vector<Function> Functions;
  bool Closed;
  StepOutcome Outcome;
};

class DegenerateTest : public testing::TestWithParam<DegenerateCase> {};

TEST_P(DegenerateTest, AnsweredInWordsWithoutSamples) {
  const DegenerateCase& c = GetParam();
  const StepResponse r = Response(c.Functions, c.Closed, 0);
  EXPECT_EQ(r.Outcome, c.Outcome);
  EXPECT_TRUE(r.Y.empty());
  EXPECT_FALSE(StepOutcomeText(r.Outcome).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Systems, DegenerateTest,
    testing::Values(
        DegenerateCase{"ImproperProduct", {{{0, 0, 1}, {1, 1}}}, false, StepOutcome::Improper},
        DegenerateCase{
            "ZeroDenominator", {{{1}, {0}}, {{1}, {1, 1}}}, false, StepOutcome::ZeroDenominator},
        DegenerateCase{"OnePlusHIdenticallyZero", {{{-1}, {1}}}, true, StepOutcome::LoopUndefined},
        DegenerateCase{"OnePlusHOfLowerDegree", {{{-2, -1}, {1, 1}}}, true, StepOutcome::Improper},
        DegenerateCase{
            "ExtremeCoefficients", {{{1}, {1e300, 1e-300}}}, false, StepOutcome::Overflow}),
    [](const testing::TestParamInfo<DegenerateCase>& c) { return c.param.Name; });

TEST(StepResponseTest, TheWindowsTMaxOverridesTheSpan) {
  const StepResponse automatic = Response({{{1}, {1, 2}}}, false);
  EXPECT_GE(automatic.TMax, 2 * std::log(1000.0));
  const StepResponse unstable = Response({{{1}, {-1e6, 1}}}, false, 1.0);
  EXPECT_EQ(unstable.Outcome, StepOutcome::Overflow);
  const StepResponse shortSpan = Response({{{1}, {1, 2}}}, false, 1.0);
  EXPECT_DOUBLE_EQ(shortSpan.TMax, 1.0);
  EXPECT_FALSE(shortSpan.Readouts.SettledInSpan);
}

TEST(StepResponseTest, NoTickedFunction) {
  HeadlessHost host;
  DiagramState s;
  s.Host = &host;
  EXPECT_EQ(ComputeStepResponse(s, true, 0).Outcome, StepOutcome::NoFunction);
}

}  // namespace
}  // namespace tv
