// Ramp and impulse responses against hand-worked exact ones, the ramp's tracking error and the
// impulse's peak and Dirac.
#include "analysis/input_response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/headless_host.h"

namespace tv {
namespace {

// One function N/D, ticked alone, open or closed by unit feedback.
InputResponse Compute(CoefficientSet n, CoefficientSet d, bool closed, InputKind input) {
  DiagramState s;
  HeadlessHost host;
  s.Host = &host;
  s.CurveTicked[0] = true;
  s.NumCoeffs[0] = n;
  s.DenCoeffs[0] = d;
  return ComputeInputResponse(s, input, closed, 0);
}

void ExpectSamples(const InputResponse& r, const std::function<double(double)>& y) {
  ASSERT_EQ(r.Samples.Outcome, StepOutcome::Drawn);
  double worst = 0;
  for (std::size_t k = 0; k < r.Samples.T.size(); ++k)
    worst = std::max(worst, std::abs(r.Samples.Y[k] - y(r.Samples.T[k])));
  EXPECT_LT(worst, 1e-9);
}

struct RampCase {
  const char* Name;
  CoefficientSet Num, Den;
  bool Closed;
  std::function<double(double)> Y;
  TrackingError Tracking;
  double Error;  // Finite only
};

class RampTest : public testing::TestWithParam<RampCase> {};

TEST_P(RampTest, SamplesAndTrackingError) {
  const RampCase& c = GetParam();
  const InputResponse r = Compute(c.Num, c.Den, c.Closed, InputKind::Ramp);
  ExpectSamples(r, c.Y);
  EXPECT_EQ(r.Tracking, c.Tracking);
  if (c.Tracking != TrackingError::Finite) return;
  EXPECT_NEAR(r.TrackingValue, c.Error, 1e-12);
  // The samples agree: the error has settled at the end of the span.
  EXPECT_NEAR(r.Samples.T.back() - r.Samples.Y.back(), c.Error, 1e-2 * c.Error);
}

INSTANTIATE_TEST_SUITE_P(
    Ramps, RampTest,
    testing::Values(
        // 1/(1+0.5p) open: y = t - T(1 - e^(-t/T)).
        RampCase{"FirstOrder",
                 {1},
                 {1, 0.5},
                 false,
                 [](double x) { return x - 0.5 * (1 - std::exp(-2 * x)); },
                 TrackingError::Finite,
                 0.5},
        // K/(p(1+Tp)), K = 1, T = 0.25, closed: 1/(1 + p/2)^2, error 1/K.
        RampCase{"ClassOneLoop",
                 {1},
                 {0, 1, 0.25},
                 true,
                 [](double x) { return x - 1 + (1 + x) * std::exp(-2 * x); },
                 TrackingError::Finite,
                 1},
        // 3/(1+p) closed: 3/(4+p).
        RampCase{"ClassZeroLoop",
                 {3},
                 {1, 1},
                 true,
                 [](double x) { return 0.75 * (x - (1 - std::exp(-4 * x)) / 4); },
                 TrackingError::Infinite,
                 0},
        // (1+2p)/p^2 closed: (1+2p)/(1+p)^2, t - y = t e^-t.
        RampCase{"ClassTwoLoop",
                 {1, 2},
                 {0, 0, 1},
                 true,
                 [](double x) { return x - x * std::exp(-x); },
                 TrackingError::Zero,
                 0}),
    [](const testing::TestParamInfo<RampCase>& c) { return std::string(c.param.Name); });

struct ImpulseCase {
  const char* Name;
  CoefficientSet Num, Den;
  std::function<double(double)> Y;
  double PeakTime, PeakValue, Dirac;
};

class ImpulseTest : public testing::TestWithParam<ImpulseCase> {};

TEST_P(ImpulseTest, SamplesPeakAndDirac) {
  const ImpulseCase& c = GetParam();
  const InputResponse r = Compute(c.Num, c.Den, false, InputKind::Impulse);
  ExpectSamples(r, c.Y);
  ASSERT_TRUE(r.HasPeak);
  // Between samples the peak is found on their cubic.
  EXPECT_NEAR(r.PeakTime, c.PeakTime, 1e-3);
  EXPECT_NEAR(r.PeakValue, c.PeakValue, 1e-6);
  EXPECT_DOUBLE_EQ(r.DiracWeight, c.Dirac);
}

INSTANTIATE_TEST_SUITE_P(
    Impulses, ImpulseTest,
    testing::Values(
        // 1/(1+Tp), T = 0.5: e^(-t/T)/T, largest at t = 0.
        ImpulseCase{
            "FirstOrder", {1}, {1, 0.5}, [](double x) { return 2 * std::exp(-2 * x); }, 0, 2, 0},
        // (1+2p)/(1+p) = 2 - 1/(1+p): a Dirac of weight 2, then -e^-t.
        ImpulseCase{"WithDirac", {1, 2}, {1, 1}, [](double x) { return -std::exp(-x); }, 0, -1, 2},
        // 1/(1+p)^2: t e^-t, largest at t = 1 between samples.
        ImpulseCase{"SecondOrder",
                    {1},
                    {1, 2, 1},
                    [](double x) { return x * std::exp(-x); },
                    1,
                    std::exp(-1.0),
                    0}),
    [](const testing::TestParamInfo<ImpulseCase>& c) { return std::string(c.param.Name); });

TEST(InputResponseTest, UnstableSystemsSayItInsteadOfAnErrorOrAPeak) {
  EXPECT_EQ(Compute({1}, {1, -1}, false, InputKind::Ramp).Tracking, TrackingError::Unstable);
  const InputResponse r = Compute({1}, {1, -1}, false, InputKind::Impulse);
  EXPECT_TRUE(r.Unstable);
  EXPECT_FALSE(r.HasPeak);
}

TEST(InputResponseTest, TrackingErrorOfTheLoopIsOneOverK) {
  for (double k : {0.5, 2.0, 40.0}) {
    const std::array<CoefficientSet, 3> num{CoefficientSet{}, CoefficientSet{k}};
    const std::array<CoefficientSet, 3> den{CoefficientSet{}, CoefficientSet{0, 1, 0.3}};
    double value = 0;
    EXPECT_EQ(RampTrackingError(num, den, {1}, true, &value), TrackingError::Finite);
    EXPECT_DOUBLE_EQ(value, 1 / k);
    // Open, the same system's output ramps away from the input.
    EXPECT_EQ(RampTrackingError(num, den, {1}, false, &value), TrackingError::Infinite);
  }
}

}  // namespace
}  // namespace tv
