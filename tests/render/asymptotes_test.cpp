// Asymptotes over the Bode curves: dashes on the asymptotic lines, phase on the curve's turn, break
// marks.
#include "render/asymptotes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/headless_host.h"
#include "render/redraw.h"
#include "support/recording_surface.h"

namespace tv {
namespace {

// 1134 x 678, decades -1..3: 268.5 px per decade from x = 30, MidY = 339,
// 6.68 px per dB, 319 px per 360 degrees.
class AsymptotesViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStartValues(s);
    s.Host = &host;
    t = ScreenTarget(&surface, 1134, 678);
    s.CurveTicked[0] = true;
  }
  void Function(const char* num, const char* den) {
    s.NumText[0].Assign(num);
    s.DenText[0].Assign(den);
  }
  // The ops the asymptotes add to the redraw, in the colour of H1.
  std::vector<RecordedOp> Added(std::uint8_t mode) {
    s.BodeMode = mode;
    s.ShowAsymptotes = 0;
    surface.Clear();
    RedrawDiagram(s, t, f);
    const std::vector<RecordedOp> off = surface.Ops;
    s.ShowAsymptotes = 1;
    surface.Clear();
    RedrawDiagram(s, t, f);
    const std::vector<RecordedOp> on = surface.Ops;
    // Everything drawn without the asymptotes comes first and unchanged.
    std::size_t same = 0;
    while (same < off.size() && same < on.size() && on[same].kind == off[same].kind &&
           on[same].x == off[same].x && on[same].y == off[same].y &&
           on[same].text == off[same].text)
      ++same;
    std::vector<RecordedOp> added;
    for (std::size_t i = same; i + (off.size() - same) < on.size(); ++i)
      if (on[i].kind == RecordedOp::Line || on[i].kind == RecordedOp::Text) added.push_back(on[i]);
    return added;
  }
  static double Column(double w) { return 30 + (std::log10(w) + 1) * 268.5; }

  DiagramState s;
  HeadlessHost host;
  RecordingSurface surface;
  DrawTarget t;
  FrameResult f;
};

TEST_F(AsymptotesViewTest, GainDashesLieOnTheAsymptote) {
  Function("2", "1+0.5*p");  // 6 dB, break at 2, then -20 dB per decade
  const double k = 20 * std::log10(2.0);
  const auto expected = [&](double x) {
    const double lw = (x - 30) / 268.5 - 1;
    const double db = lw < std::log10(2.0) ? k : k - 20 * (lw - std::log10(2.0));
    return 339 - db * 6.68;
  };
  int dashes = 0;
  for (const RecordedOp& op : Added(0)) {
    if (op.kind != RecordedOp::Line || op.x == op.w) continue;  // the break tick is vertical
    ++dashes;
    EXPECT_EQ(op.colour, kBlue);
    EXPECT_EQ(op.penWidth, 1);
    EXPECT_LE(std::hypot(op.w - op.x, op.h - op.y), 8.5);
    EXPECT_NEAR(op.y, expected(op.x), 1.5) << op.x;
    EXPECT_NEAR(op.h, expected(op.w), 1.5) << op.w;
    EXPECT_GE(op.x, 30);
    EXPECT_LE(op.w, 1104);
  }
  // About 1080 px of line at 11 px per dash.
  EXPECT_GT(dashes, 90);
  const int x = static_cast<int>(std::lround(Column(2)));
  EXPECT_TRUE(surface.HasLine(x, 333, x, 345));
  // The value under the tick, centred on it (the decade exponent "2" is elsewhere).
  bool labelled = false;
  for (const RecordedOp& op : surface.Texts())
    labelled = labelled || (op.text == "2" && op.y == 347 && op.x == x - 3);
  EXPECT_TRUE(labelled);
}

struct PhaseCase {
  const char* Name;
  const char* Num;
  const char* Den;
  double LeftDeg;   // the drawn phase at the left edge, on its own turn
  double RightDeg;  // the asymptote's last level on that turn
};

class AsymptotePhaseTest : public AsymptotesViewTest,
                           public testing::WithParamInterface<PhaseCase> {};

TEST_P(AsymptotePhaseTest, StartsOnTheCurveAndStepsAtTheBreaks) {
  Function(GetParam().Num, GetParam().Den);
  const std::vector<RecordedOp> added = Added(1);
  ASSERT_FALSE(added.empty());
  const auto row = [](double deg) { return 339 - deg * 319.0 / 360.0; };
  const RecordedOp& first = added.front();
  EXPECT_EQ(first.x, 30);
  EXPECT_NEAR(first.y, row(GetParam().LeftDeg), 1.5);
  const RecordedOp* last = nullptr;
  for (const RecordedOp& op : added)
    if (op.kind == RecordedOp::Line && op.y == op.h && op.x != op.w) last = &op;
  ASSERT_NE(last, nullptr);
  EXPECT_NEAR(last->y, row(GetParam().RightDeg), 1.5);
}

INSTANTIATE_TEST_SUITE_P(
    Functions, AsymptotePhaseTest,
    testing::Values(PhaseCase{"Lag", "2", "1+0.5*p", 0, -90},
                    PhaseCase{"IntegratorLag", "1", "p+p^2", -90, -180},
                    // 1-Tp starts at 360 degrees as drawn (an angle just below 2 pi).
                    PhaseCase{"NonMinimumPhaseZero", "1-0.5*p", "1", 360, 270},
                    // Four integrators are drawn at 0 degrees, not -360.
                    PhaseCase{"FourIntegrators", "1", "p^4", 0, 0}),
    [](const testing::TestParamInfo<PhaseCase>& param) { return param.param.Name; });

TEST_F(AsymptotesViewTest, SecondOrderMarksKsiAndResonance) {
  Function("1", "1+0.04*p+0.01*p^2");
  Added(2);
  EXPECT_NE(surface.FindText("10"), nullptr);
  EXPECT_NE(surface.FindText("Ksi=0.2"), nullptr);
  EXPECT_NE(surface.FindText("r\xE9sonance 8.136 dB"), nullptr);
}

TEST_F(AsymptotesViewTest, NothingInTheBlackView) {
  Function("2", "1+0.5*p");
  s.BlackView = 1;
  EXPECT_TRUE(Added(2).empty());
}

}  // namespace
}  // namespace tv
