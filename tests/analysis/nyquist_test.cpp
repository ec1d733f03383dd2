// The Nyquist count against loops whose closed-loop poles are known by hand.
#include "analysis/nyquist.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace tv {
namespace {

CurveFactors One(CoefficientSet num, CoefficientSet den) { return CurveFactors{{num}, {den}}; }

struct VerdictCase {
  const char* Name;
  CurveFactors F;
  int P;
  std::optional<int> N;  // none at the limit of stability
  int Z;
  std::optional<double> LimitW = std::nullopt;
};

constexpr CoefficientSet kCube{1, 3, 3, 1};           // (1+p)^3
constexpr CoefficientSet kFifth{1, 5, 10, 10, 5, 1};  // (1+p)^5

// K (1+p)^2 / (p^3 (1+0.1p)^2): by Routh, stable between two gains only.
CurveFactors Conditional(double k) { return One({k, 2 * k, k}, {0, 0, 0, 1, 0.2, 0.01}); }

std::vector<VerdictCase> Cases() {
  return {
      {"FirstOrder", One({1}, {1, 1}), 0, 0, 0},
      {"ThirdOrderStable", One({4}, kCube), 0, 0, 0},
      {"ThirdOrderUnstable", One({10}, kCube), 0, 2, 2},
      {"ThirdOrderAtTheLimit", One({8}, kCube), 0, std::nullopt, 0, std::sqrt(3.0)},
      {"NegativeGainStable", One({-0.5}, {1, 1}), 0, 0, 0},
      {"NegativeGainUnstable", One({-2}, {1, 1}), 0, 1, 1},
      // 2/(p-1): one turn anticlockwise closes the loop stable.
      {"UnstableOpenLoopStabilised", One({2}, {-1, 1}), 1, -1, 0},
      {"UnstableOpenLoopStaysUnstable", One({0.5}, {-1, 1}), 1, 0, 1},
      {"OneIntegrator", One({1}, {0, 1, 1}), 0, 0, 0},
      // p^3 + p^2 + 1: Routh's first column changes sign twice.
      {"TwoIntegrators", One({1}, {0, 0, 1, 1}), 0, 2, 2},
      // 1 + 1/p^2 vanishes on the axis, and the locus stays at infinity
      // around the double pole: sampled in bounded time all the same.
      {"BareDoubleIntegratorAtTheLimit", One({1}, {0, 0, 1}), 0, std::nullopt, 0, 1.0},
      {"TwoIntegratorsWithLead", One({1, 2}, {0, 0, 1, 0.1}), 0, 0, 0},
      // p^3 + p^2 + 2p + 1 and p^3 + p + 1.
      {"ThreeIntegratorsStable", One({1, 2, 1}, {0, 0, 0, 1}), 0, 0, 0},
      {"ThreeIntegratorsUnstable", One({1, 1}, {0, 0, 0, 1}), 0, 2, 2},
      // (1+p^2)(1+p) + (1+2p) = p^3 + p^2 + 3p + 2, and + 1: p^3 + p^2 + p + 2.
      {"UndampedPairStable", One({1, 2}, {1, 1, 1, 1}), 0, 0, 0},
      {"UndampedPairUnstable", One({1}, {1, 1, 1, 1}), 0, 2, 2},
      {"ConditionalLowGain", Conditional(0.2), 0, 2, 2},
      {"ConditionalMiddleGain", Conditional(10), 0, 0, 0},
      {"ConditionalHighGain", Conditional(1000), 0, 2, 2},
      // K/(1+p)^15: closed-loop poles -1 + K^(1/15) e^(j(2k+1)pi/15), the
      // first pair on the right for K > 1/cos(pi/15)^15 = 1.39.
      {"Degree15Stable", CurveFactors{{{1}, {1}, {1.2}}, {kFifth, kFifth, kFifth}}, 0, 0, 0},
      {"Degree15Unstable", CurveFactors{{{1}, {1}, {2}}, {kFifth, kFifth, kFifth}}, 0, 2, 2},
      // 2p: improper; 1 + 2p has its root at -0.5.
      {"Improper", One({0, 2}, {1}), 0, 0, 0},
  };
}

class NyquistVerdictTest : public testing::TestWithParam<VerdictCase> {};

TEST_P(NyquistVerdictTest, CountsAgreeWithTheClosedLoopRoots) {
  const VerdictCase& c = GetParam();
  const NyquistLocus l = ComputeNyquist(c.F);
  ASSERT_EQ(l.Outcome, NyquistOutcome::Drawn);
  const NyquistVerdict& v = l.Verdict;
  EXPECT_EQ(v.OpenLoopRhp, c.P);
  EXPECT_EQ(v.Encirclements, c.N);
  EXPECT_EQ(v.ClosedLoopRhp, c.Z);
  EXPECT_EQ(v.RootsRhp, c.Z);
  EXPECT_TRUE(v.RootsAgree);
  ASSERT_EQ(v.LimitW.has_value(), c.LimitW.has_value());
  if (c.LimitW) {
    EXPECT_NEAR(*v.LimitW, *c.LimitW, 1e-9);
  }
  EXPECT_EQ(v.Stable(), c.Z == 0 && !c.LimitW);
}

INSTANTIATE_TEST_SUITE_P(Loops, NyquistVerdictTest, testing::ValuesIn(Cases()),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(NyquistTest, SimplifiedCriterionReadsTheSideOfMinusOne) {
  EXPECT_EQ(ComputeNyquist(One({4}, kCube)).Verdict.CriticalOnLeft, true);
  EXPECT_EQ(ComputeNyquist(One({10}, kCube)).Verdict.CriticalOnLeft, false);
  // Only for a loop without unstable poles.
  EXPECT_FALSE(ComputeNyquist(One({2}, {-1, 1})).Verdict.CriticalOnLeft.has_value());
}

TEST(NyquistTest, IntegratorsCloseThroughHalfTurnsAtInfinity) {
  // 1/(p^2 (1+p)): the contour's small half circle takes the phase from 0
  // to -180 degrees before the axis; the axis then ends at -270.
  const NyquistLocus l = ComputeNyquist(One({1}, {0, 0, 1, 1}));
  ASSERT_FALSE(l.Points.empty());
  EXPECT_EQ(l.Points.front().Part, ContourPart::Indentation);
  EXPECT_NEAR(l.Points.front().PhaseDeg, 0, 1e-6);
  double lastAxis = 0;
  for (const NyquistPoint& p : l.Points)
    if (p.Part == ContourPart::Axis) lastAxis = p.PhaseDeg;
  EXPECT_NEAR(lastAxis, -270, 1);
  EXPECT_GT(std::abs(l.Points.front().H), 1e3);
}

TEST(NyquistTest, DegenerateLoopsSayWhy) {
  EXPECT_EQ(ComputeNyquist(One({1}, {0})).Outcome, NyquistOutcome::ZeroDenominator);
  EXPECT_EQ(ComputeNyquist(One({-1, -1}, {1, 1})).Outcome, NyquistOutcome::LoopUndefined);
  EXPECT_EQ(ComputeNyquist(CurveFactors{}).Outcome, NyquistOutcome::NoFunction);
  // 1e200 (1+p)^5 / (1e-200 + p^5) cubed: its products leave the doubles.
  const CurveFactors huge{{{1e200, 5e200, 1e201, 1e201, 5e200, 1e200}}, {{1e-200, 0, 0, 0, 0, 1}}};
  EXPECT_EQ(
      ComputeNyquist(CurveFactors{{huge.Num[0], huge.Num[0]}, {huge.Den[0], huge.Den[0]}}).Outcome,
      NyquistOutcome::Overflow);
  // A root at the edge of the doubles: the sampled range stays finite.
  EXPECT_NE(ComputeNyquist(One({1}, {1, 1e-307})).Outcome, NyquistOutcome::NoFunction);
  EXPECT_NE(ComputeNyquist(One({1}, {1e-310, 1})).Outcome, NyquistOutcome::NoFunction);
  // H = 0: the closed loop keeps the open loop's poles.
  const NyquistLocus zero = ComputeNyquist(One({0}, {-1, 1}));
  EXPECT_EQ(zero.Verdict.ClosedLoopRhp, 1);
  EXPECT_TRUE(zero.Verdict.RootsAgree);
}

}  // namespace
}  // namespace tv
