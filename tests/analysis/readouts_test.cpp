// Exact read-outs and the 2.3 dB tuning against hand-worked values.
#include "analysis/readouts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/factors.h"
#include "analysis/tuning.h"
#include "core/headless_host.h"
#include "expression/coefficients.h"

namespace tv {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr PulsationRange kRange{0.01, 1000};

CurveFactors One(CoefficientSet num, CoefficientSet den) { return CurveFactors{{num}, {den}}; }

double Deg(double rad) { return rad * 180 / kPi; }

struct Expected {
  std::vector<std::pair<double, double>> Gain;   // w, phase margin
  std::vector<std::pair<double, double>> Phase;  // w, gain margin
  int Class;
};

struct ReadoutCase {
  const char* Name;
  CurveFactors F;
  Expected E;
};

// 100 (1+p)^2 / (p^3 (1+0.1p)^2): the phase rises above -180 degrees and
// falls back, crossing it where atan w - atan 0.1w = 45 degrees.
double ConditionalGain(double w) { return 100 * (1 + w * w) / (w * w * w * (1 + 0.01 * w * w)); }
const double kCond1 = (0.9 - std::sqrt(0.41)) / 0.2;
const double kCond2 = (0.9 + std::sqrt(0.41)) / 0.2;
// Its one gain crossover, where ConditionalGain is 1 (about 10 rad/s).
double ConditionalCrossover() {
  double a = 8, b = 200;
  for (int i = 0; i < 200; ++i) ((ConditionalGain((a + b) / 2) > 1) ? a : b) = (a + b) / 2;
  return (a + b) / 2;
}

std::vector<ReadoutCase> Cases() {
  const double w1 = std::sqrt((std::sqrt(5.0) - 1) / 2);  // w^4 + w^2 = 1
  const double w3 = std::sqrt(std::pow(4.0, 2.0 / 3) - 1);
  const double wc = ConditionalCrossover();
  return {
      {"IntegratorLag", One({1}, {0, 1, 1}), {{{w1, 90 - Deg(std::atan(w1))}}, {}, 1}},
      {"ThirdOrder",
       One({4}, {1, 3, 3, 1}),
       {{{w3, 180 - 3 * Deg(std::atan(w3))}}, {{std::sqrt(3.0), 20 * std::log10(2.0)}}, 0}},
      {"ConditionallyStable",
       One({100, 200, 100}, {0, 0, 0, 1, 0.2, 0.01}),
       {{{wc, WrapMarginDeg(-270 + 2 * Deg(std::atan(wc)) - 2 * Deg(std::atan(0.1 * wc)))}},
        {{kCond1, -20 * std::log10(ConditionalGain(kCond1))},
         {kCond2, -20 * std::log10(ConditionalGain(kCond2))}},
        3}},
      // The same loop split over two factors: the product is read as one.
      {"ProductOfFactors",
       CurveFactors{{{100, 100}, {1, 1}}, {{0, 0, 0, 1}, {1, 0.2, 0.01}}},
       {{{wc, WrapMarginDeg(-270 + 2 * Deg(std::atan(wc)) - 2 * Deg(std::atan(0.1 * wc)))}},
        {{kCond1, -20 * std::log10(ConditionalGain(kCond1))},
         {kCond2, -20 * std::log10(ConditionalGain(kCond2))}},
        3}},
  };
}

class ReadoutsTest : public testing::TestWithParam<ReadoutCase> {};

TEST_P(ReadoutsTest, EveryCrossingAndItsMargin) {
  const CurveReadouts r = ComputeReadouts(GetParam().F, kRange);
  const Expected& e = GetParam().E;
  ASSERT_TRUE(r.Defined);
  EXPECT_EQ(r.Class, e.Class);
  ASSERT_EQ(r.GainCrossovers.size(), e.Gain.size());
  for (std::size_t i = 0; i < e.Gain.size(); ++i) {
    EXPECT_NEAR(r.GainCrossovers[i].W, e.Gain[i].first, 1e-9 * e.Gain[i].first);
    EXPECT_NEAR(r.GainCrossovers[i].PhaseMarginDeg, e.Gain[i].second, 1e-7);
  }
  ASSERT_EQ(r.PhaseCrossovers.size(), e.Phase.size());
  for (std::size_t i = 0; i < e.Phase.size(); ++i) {
    EXPECT_NEAR(r.PhaseCrossovers[i].W, e.Phase[i].first, 1e-9 * e.Phase[i].first);
    EXPECT_NEAR(r.PhaseCrossovers[i].GainMarginDb, e.Phase[i].second, 1e-7);
  }
}

INSTANTIATE_TEST_SUITE_P(HandWorked, ReadoutsTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<ReadoutCase>& c) {
                           return std::string(c.param.Name);
                         });

TEST(ReadoutsTest, HandWorkedValuesReadAsTheCoursesQuoteThem) {
  const CurveReadouts lag = ComputeReadouts(One({1}, {0, 1, 1}), kRange);
  ASSERT_EQ(lag.GainCrossovers.size(), 1u);
  EXPECT_NEAR(lag.GainCrossovers[0].W, 0.786, 5e-4);
  EXPECT_NEAR(lag.GainCrossovers[0].PhaseMarginDeg, 51.8, 0.05);
  const CurveReadouts third = ComputeReadouts(One({4}, {1, 3, 3, 1}), kRange);
  ASSERT_EQ(third.PhaseCrossovers.size(), 1u);
  EXPECT_NEAR(third.PhaseCrossovers[0].GainMarginDb, 6.02, 0.005);
  EXPECT_NEAR(*third.StaticGainDb, 20 * std::log10(4.0), 1e-12);
  EXPECT_NEAR(*third.StepError, 0.2, 1e-15);
}

// 1/(1 + 2 ksi p / w0 + p^2 / w0^2) closed around w0^2 / (p (p + 2 ksi w0)).
TEST(ReadoutsTest, SecondOrderClosedLoopPeakAndBandwidthInClosedForm) {
  for (const double ksi : {0.1, 0.3, 0.5}) {
    const double w0 = 2;
    const CurveReadouts r = ComputeReadouts(One({w0 * w0}, {0, 2 * ksi * w0, 1}), kRange);
    const double peak = 1 / (2 * ksi * std::sqrt(1 - ksi * ksi));
    ASSERT_TRUE(r.ClosedLoop.PeakDb && r.ClosedLoop.PeakW && r.ClosedLoop.BandwidthW);
    EXPECT_NEAR(*r.ClosedLoop.PeakDb, 20 * std::log10(peak), 1e-9) << ksi;
    EXPECT_NEAR(*r.ClosedLoop.PeakW, w0 * std::sqrt(1 - 2 * ksi * ksi), 1e-5) << ksi;
    // (1 - x^2)^2 + (2 ksi x)^2 = 10^0.3 at x = wb / w0.
    const double b = 1 - 2 * ksi * ksi;
    const double x2 = b + std::sqrt(b * b - 1 + std::pow(10.0, 0.3));
    EXPECT_NEAR(*r.ClosedLoop.BandwidthW, w0 * std::sqrt(x2), 1e-9) << ksi;
  }
}

// Octave: gain margin 16.36 dB at 22.3 rad/s, which the sampled search
// misses behind a jump of the never-unwrapped phase.
TEST(ReadoutsTest, PhaseCrossingBehindAWrapIsFound) {
  const CurveReadouts r = ComputeReadouts(One({1, 0.02, 0.3}, {1, 2, 3, 0.5, 0.01, 0.001}), kRange);
  ASSERT_EQ(r.PhaseCrossovers.size(), 1u);
  EXPECT_NEAR(r.PhaseCrossovers[0].W, 22.3, 0.05);
  EXPECT_NEAR(r.PhaseCrossovers[0].GainMarginDb, 16.36, 0.005);
}

TEST(ReadoutsTest, ZeroPolynomialAndDifferentiator) {
  EXPECT_FALSE(ComputeReadouts(One({0}, {1, 1}), kRange).Defined);
  const CurveReadouts d = ComputeReadouts(One({0, 1}, {1, 1}), kRange);
  EXPECT_EQ(d.Class, -1);
  EXPECT_FALSE(d.StaticGainDb);
  EXPECT_EQ(*d.StepError, 1);
  EXPECT_FALSE(d.ClosedLoop.BandwidthW);
}

// K(1+p)^2/p^3 / (1 + 0.01p + 0.01p^2) / (1 + 0.02p + 1e-4p^2): two gain
// crossovers 1 % apart near the lightly damped pair (mpmath, 30 digits).
TEST(ReadoutsTest, CloseCrossoversAreEachFound) {
  CurveFactors f{{{1, 2, 1}, {1}, {1}}, {{0, 0, 0, 1}, {1, 0.01, 0.01}, {1, 0.02, 1e-4}}};
  const CurveReadouts r = ComputeReadouts(f, kRange);
  ASSERT_EQ(r.GainCrossovers.size(), 3u);
  const double w[] = {1.48547134703127, 9.89636632004032, 10.0};
  const double margin[] = {19.53179563, -11.074232505, -22.84237255};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(r.GainCrossovers[i].W, w[i], 1e-9 * w[i]) << i;
    EXPECT_NEAR(r.GainCrossovers[i].PhaseMarginDeg, margin[i], 1e-6) << i;
  }
}

TEST(ReadoutsTest, DegenerateValuesSaidInWords) {
  // 1/(1 + p^2/4): the phase is exactly -180 degrees beyond w = 2.
  const CurveReadouts undamped = ComputeReadouts(One({1}, {1, 0, 0.25}), kRange);
  EXPECT_TRUE(undamped.PhaseCrossovers.empty());
  EXPECT_TRUE(undamped.PhaseAt180);
  // 8/(1+p)^3 closed has poles at +-j sqrt 3: an infinite resonance there.
  const CurveReadouts limit = ComputeReadouts(One({8}, {1, 3, 3, 1}), kRange);
  ASSERT_TRUE(limit.ClosedLoop.PeakDb && limit.ClosedLoop.PeakW);
  EXPECT_TRUE(std::isinf(*limit.ClosedLoop.PeakDb));
  EXPECT_NEAR(*limit.ClosedLoop.PeakW, std::sqrt(3.0), 1e-9);
  // A lead alone: its closed loop only rises to 10/11 at high frequency.
  const CurveReadouts lead = ComputeReadouts(One({1, 1}, {1, 0.1}), kRange);
  EXPECT_FALSE(lead.ClosedLoop.PeakDb);
  EXPECT_TRUE(lead.ClosedLoop.NoResonance);
  EXPECT_NEAR(*lead.ClosedLoop.HighFrequencyLimitDb, 20 * std::log10(10.0 / 11), 1e-12);
}

TEST(TuningTest, OnlyStableLoopsCount) {
  DiagramState s;
  HeadlessHost host;
  SetStartValues(s);
  s.Host = &host;
  s.CurveTicked[0] = true;
  s.ParamK = 0.3;
  s.NumText[0].Assign("K+2*K*p+K*p^2");
  s.DenText[0].Assign("p^3");
  // K(1+p)^2/p^3 closed: p^3 + K p^2 + 2K p + K, stable for K > 1/2 only
  // (Routh); the values below also give 2.3 dB peaks, which mean nothing.
  const std::optional<double> k = TuneClosedLoopPeak(s, Parameter::K);
  ASSERT_TRUE(k);
  EXPECT_GT(*k, 0.5);
  const std::optional<double> peak =
      ClosedLoopPeakDb(CurveFactors{{{*k, 2 * *k, *k}}, {{0, 0, 0, 1}}}, kRange);
  ASSERT_TRUE(peak);
  EXPECT_NEAR(*peak, kContourPeakDb, 1e-6);
}

TEST(TuningTest, IntegratorLagReachesTheContourAtTheDirectGain) {
  DiagramState s;
  HeadlessHost host;
  SetStartValues(s);
  s.Host = &host;
  s.CurveTicked[0] = true;
  s.NumText[0].Assign("K");
  s.DenText[0].Assign("p+p^2");
  // K/(p^2 + p + K): ksi = 1/(2 sqrt K) and 1/(2 ksi sqrt(1 - ksi^2)) = 10^(2.3/20).
  const double ksi2 = (1 - std::sqrt(1 - std::pow(10.0, -2.3 / 10))) / 2;
  const std::optional<double> k = TuneClosedLoopPeak(s, Parameter::K);
  ASSERT_TRUE(k);
  EXPECT_NEAR(*k, 1 / (4 * ksi2), 1e-9);
  EXPECT_EQ(s.ParamK, 1);  // the state is not changed

  // Only K.T matters: T = 1.39.../0.1, a resonance below the displayed decades.
  s.NumText[0].Assign("0.1");
  s.DenText[0].Assign("p+T*p^2");
  const std::optional<double> t = TuneClosedLoopPeak(s, Parameter::T);
  ASSERT_TRUE(t);
  EXPECT_NEAR(*t, 10 / (4 * ksi2), 1e-8);
  // K/(p - 1) closed: K/(p + K - 1) peaks at w = 0, K/(K - 1) = M; the
  // values below K = 1 are unstable.
  s.NumText[0].Assign("K");
  s.DenText[0].Assign("-1+p");
  const double m = std::pow(10.0, kContourPeakDb / 20);
  const std::optional<double> staticPeak = TuneClosedLoopPeak(s, Parameter::K);
  ASSERT_TRUE(staticPeak);
  EXPECT_NEAR(*staticPeak, m / (m - 1), 1e-9);
  s.NumText[0].Assign("1");
  s.DenText[0].Assign("1+p+K*0");  // K changes nothing: no value reaches it
  EXPECT_FALSE(TuneClosedLoopPeak(s, Parameter::K));
}

// Fast factors typed as texts, ten and twelve decades from the constant
// term: the break and the exact read-outs to 1e-10 (the crossover of
// K/((1+p)(1+p/F)) with K = F solves w^2 (1 + w^2/F^2) = F^2 - 1; the
// references to 25 digits, computed once with mpmath).
TEST(ReadoutsTest, FastFactorsReadFromTheirTexts) {
  struct Case {
    const char* Name;
    const char* Num;
    const char* Den;
    double Fast, W, MarginDeg;
  } cases[] = {
      {"TwelveDecades", "1000000000000", "1+1.000000000001*p+0.000000000001*p^2", 1e12,
       786151377757.4232860695581, 51.82729237306063386390658},
      {"TenDecades", "10000000000", "1+1.0000000001*p+0.0000000001*p^2", 1e10,
       7861513777.574232860649564, 51.82729238027588824418130},
  };
  constexpr ParameterValues kAny{1, 1, 1, 1, 1, 1};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    CoefficientSet num, den;
    ASSERT_TRUE(ExtractPolynomial(c.Num, kAny, num));
    ASSERT_TRUE(ExtractPolynomial(c.Den, kAny, den));
    const PolynomialFactors f = FactorPolynomial(den);
    ASSERT_EQ(f.Real.size(), 2u);
    EXPECT_NEAR(f.Real[0], -c.Fast, 1e-10 * c.Fast);
    EXPECT_NEAR(f.Real[1], -1, 1e-15);
    const CurveReadouts r = ComputeReadouts(One(num, den), PulsationRange{1, 1e14});
    ASSERT_EQ(r.GainCrossovers.size(), 1u);
    EXPECT_NEAR(r.GainCrossovers[0].W, c.W, 1e-10 * c.W);
    EXPECT_NEAR(r.GainCrossovers[0].PhaseMarginDeg, c.MarginDeg, 1e-9);
  }
}

// The grids are kept with their range: each range reads its own decades,
// whichever was read before it. 10/(p (1+p)) crosses 0 dB at w = 3.08.
TEST(ReadoutsTest, EachRangeReadsItsOwnDecades) {
  struct Case {
    const char* Name;
    PulsationRange Range;
    bool Crosses;
  };
  const Case cases[] = {
      {"wide", {0.01, 1000}, true},
      {"below the crossover", {0.01, 1}, false},
      {"above it", {10, 1000}, false},
      {"wide again", {0.01, 1000}, true},
  };
  const double w = std::sqrt((std::sqrt(401.0) - 1) / 2);
  double k = 10;
  for (const Case& c : cases) {
    // Another gain each time, so that no read-out is handed out again.
    k += 1e-12;
    const CurveReadouts r = ComputeReadouts(One({k}, {0, 1, 1}), c.Range);
    ASSERT_EQ(r.GainCrossovers.size(), c.Crosses ? 1u : 0u) << c.Name;
    if (c.Crosses) {
      EXPECT_NEAR(r.GainCrossovers[0].W, w, 1e-9) << c.Name;
    }
  }
}

}  // namespace
}  // namespace tv
