// The curves as numbers against the picture: the same pulsations column by column, the values the
// sweep draws, where the sweep stops.
#include "analysis/curve_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/headless_host.h"
#include "render/bode.h"
#include "render/primitives.h"
#include "support/recording_surface.h"
#include "support/three_functions.h"

namespace tv {
namespace {

class CurveTableTest : public testing::Test {
 protected:
  void SetUp() override {
    target = scenes::OnSurface(s, host, surface);
    // H1 = 1/(1+p), H2 = 2/(1+0.1p+p^2), and their product.
    s.NumCoeffs[0] = {1, 0, 0, 0, 0, 0};
    s.DenCoeffs[0] = {1, 1, 0, 0, 0, 0};
    s.NumCoeffs[1] = {2, 0, 0, 0, 0, 0};
    s.DenCoeffs[1] = {1, 0.1, 1, 0, 0, 0};
    s.CurveTicked[0] = s.CurveTicked[1] = s.CurveTicked[3] = true;
  }

  DiagramState s;
  DrawTarget target;
  FrameResult frame;
  HeadlessHost host;
  RecordingSurface surface;
};

TEST_F(CurveTableTest, BodeRowsAreThePictureColumns) {
  s.DecadeMin = -1;
  s.DecadeMax = 1;
  s.BodeMode = 0;  // gain only: H1's blue lines are its gain segments, one per column
  DrawBodeFrame(s, target, frame);
  DrawBodeCurves(s, target, frame);
  const CurveTable t = SweepDrawnCurves(s, target.PlotWidth);
  ASSERT_EQ(t.Names, (std::vector<std::string>{"H1", "H2", "H1.H2"}));
  ASSERT_EQ(t.W.size(), static_cast<std::size_t>(target.PlotWidth - 60 + 1));
  std::vector<RecordedOp> blue;
  for (const RecordedOp& op : surface.Lines())
    if (op.colour == kBlue) blue.push_back(op);
  ASSERT_EQ(blue.size(), t.W.size());
  for (std::size_t i = 0; i < t.W.size(); ++i) {
    EXPECT_NEAR(std::log10(t.W[i]), -1 + 2.0 * static_cast<double>(i) / (target.PlotWidth - 60),
                1e-12);
    EXPECT_EQ(blue[i].w, static_cast<int>(i) + 30);
    EXPECT_EQ(blue[i].h, frame.MidY - RoundPixel(t.GainDb[0][i] * frame.GainPixelsPerDb)) << i;
    const double w = t.W[i];
    EXPECT_NEAR(t.GainDb[0][i], -10 * std::log10(1 + w * w), 1e-5);
    EXPECT_NEAR(t.PhaseDeg[0][i], -std::atan(w) * 180 / std::numbers::pi, 1e-9);
    EXPECT_EQ(t.GainDb[2][i], t.GainDb[0][i] + t.GainDb[1][i]);
    EXPECT_NEAR(t.PhaseDeg[2][i], t.PhaseDeg[0][i] + t.PhaseDeg[1][i], 1e-12);
  }
  // Past the resonance at w = 1 the phase of H2 goes on to -180, as drawn.
  EXPECT_NEAR(t.PhaseDeg[1].back(), -180 + std::atan(0.1 * 10 / 99) * 180 / std::numbers::pi, 1e-9);
}

TEST_F(CurveTableTest, BlackRowsFollowItsDecadesAndStopWithThePicture) {
  s.BlackView = 1;
  s.DecadeMin = -2;
  s.DecadeMax = 1;
  CurveTable t = SweepDrawnCurves(s, target.PlotWidth);
  ASSERT_EQ(t.W.size(), 4u * 451u);
  EXPECT_NEAR(t.W.front(), 0.01, 1e-15);
  EXPECT_NEAR(t.W.back(), 100, 1e-12);
  EXPECT_NEAR(t.W[450], t.W[451], 1e-16);  // a decade's end and the next one's start
  // H1's numerator zero at every pulsation: the first decade is finished,
  // then the picture stops, and so does the table.
  s.NumCoeffs[0] = {};
  t = SweepDrawnCurves(s, target.PlotWidth);
  EXPECT_EQ(t.W.size(), 451u);
  s.BlackView = 0;
  t = SweepDrawnCurves(s, target.PlotWidth);
  EXPECT_EQ(t.W.size(), 1u);
}

// A zero or a pole on the imaginary axis at a swept pulsation (w = 1 starts
// the Black view's decade 0): the picture goes on through an infinite gain,
// and so does the table, with the product's gain infinite unless a zero and
// a pole of its factors meet there.
TEST_F(CurveTableTest, ZeroOrPoleOnTheAxisGoesOnThroughAnInfiniteGain) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* name;
    CoefficientSet num1, den2;
    double h1, h2, product;  // the gains at w = 1 (NaN: finite)
  } cases[] = {
      {"ZeroOfH1", {1, 0, 1, 0, 0, 0}, {1, 0.1, 1, 0, 0, 0}, -inf, NAN, -inf},
      {"PoleOfH2", {1, 0, 0, 0, 0, 0}, {1, 0, 1, 0, 0, 0}, NAN, inf, inf},
      {"ZeroMeetsPole", {1, 0, 1, 0, 0, 0}, {1, 0, 1, 0, 0, 0}, -inf, inf, NAN},
  };
  s.BlackView = 1;
  s.DecadeMin = -1;
  s.DecadeMax = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    s.NumCoeffs[0] = c.num1;
    s.DenCoeffs[1] = c.den2;
    const CurveTable t = SweepDrawnCurves(s, target.PlotWidth);
    ASSERT_EQ(t.W.size(), 2u * 451u);
    ASSERT_EQ(t.W[451], 1.0);
    const double expected[3] = {c.h1, c.h2, c.product};
    for (std::size_t k = 0; k < 3; ++k) {
      if (std::isnan(expected[k]))
        EXPECT_TRUE(std::isfinite(t.GainDb[k][451])) << k;
      else
        EXPECT_EQ(t.GainDb[k][451], expected[k]) << k;
      EXPECT_TRUE(std::isfinite(t.PhaseDeg[k][451])) << k;
      EXPECT_TRUE(std::isfinite(t.GainDb[k][452])) << k;
    }
  }
  s.NumCoeffs[0] = {1, 0, 1, 0, 0, 0};
  EXPECT_NE(CurveTableCsv(SweepDrawnCurves(s, target.PlotWidth)).find("\n1,-inf,"),
            std::string::npos);
}

}  // namespace
}  // namespace tv
