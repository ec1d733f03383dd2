// The chart's contours against the closed form of the closed loop H/(1+H) at their points.
#include "analysis/nichols_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

namespace tv {
namespace {

constexpr double kDeg = std::numbers::pi / 180;

std::complex<double> ClosedLoopAt(const ChartPoint& p) {
  const std::complex<double> h = std::polar(std::pow(10.0, p.GainDb / 20), p.PhaseDeg * kDeg);
  return h / (1.0 + h);
}

TEST(NicholsGridTest, EveryPointLiesOnItsClosedLoopValue) {
  const std::vector<ChartContour> contours = NicholsContours(-30, 40);
  ASSERT_EQ(contours.size(), kIsoGainsDb.size() + 2 * kIsoPhasesDeg.size());
  for (const ChartContour& c : contours) {
    SCOPED_TRACE((c.IsoGain ? "gain " : "phase ") + std::to_string(c.Value));
    ASSERT_GT(c.Points.size(), 10u);
    double worst = 0, largestStep = 0;
    for (std::size_t k = 0; k < c.Points.size(); ++k) {
      const ChartPoint& p = c.Points[k];
      EXPECT_GT(p.PhaseDeg, -360 - 1e-9);
      EXPECT_LE(p.PhaseDeg, 1e-9);
      const std::complex<double> t = ClosedLoopAt(p);
      double miss = 0;
      if (c.IsoGain) {
        miss = 20 * std::log10(std::abs(t)) - c.Value;
      } else {
        miss = std::remainder(std::arg(t) / kDeg - c.Value, 360.0);
      }
      // Near the critical point both forms lose digits to 1 + H.
      if (std::abs(1.0 + std::polar(std::pow(10.0, p.GainDb / 20), p.PhaseDeg * kDeg)) > 1e-3)
        worst = std::max(worst, std::abs(miss));
      // A line, not scattered points: the phase is continuous (no turn of
      // 360 degrees between two points), and no chord is long.
      if (k > 0 && p.GainDb > -30 && p.GainDb < 40)
        largestStep = std::max(largestStep, std::abs(p.PhaseDeg - c.Points[k - 1].PhaseDeg));
    }
    EXPECT_LT(worst, 1e-9);
    EXPECT_LT(largestStep, 30.0);
    // Below 0 dB the closed-loop gain is met at every open-loop phase.
    if (c.IsoGain && c.Value < 0) {
      EXPECT_NEAR(c.Points.front().PhaseDeg - c.Points.back().PhaseDeg, 360, 1e-9);
    }
  }
}

}  // namespace
}  // namespace tv
