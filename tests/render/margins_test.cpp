// Gain and phase margins: crossings found by the Bode sweep, marks, texts, rows and the Black step.
#include "render/margins.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/headless_host.h"
#include "render/black.h"
#include "render/bode.h"
#include "render/margin_record.h"
#include "render/primitives.h"
#include "support/recording_surface.h"
#include "support/three_functions.h"

namespace tv {
namespace {

constexpr double kPi = std::numbers::pi;

// Default Bode view, 1134 x 678: MidY 339, Minus180Y 499, 6.68 px per dB,
// 319 / 2pi px per rad, columns x = i + 30 at w = 10^(-1 + 4 i / 1074).
// Text columns: xMP = 12 + 40 = 52, xMG = 232; rows 10 k + 40.
class MarginsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t = scenes::OnSurface(s, host, surface);
    s.ShowMargins = 1;
    s.MarginRecords = &margins;
  }

  void DrawBode() {
    DrawBodeFrame(s, t, f);
    DrawBodeCurves(s, t, f);
  }

  const RecordedOp* Text(std::string_view text) const { return surface.FindText(text); }
  std::vector<RecordedOp> TextsStartingWith(std::string_view prefix) const {
    std::vector<RecordedOp> out;
    for (const auto& op : surface.Texts())
      if (op.text.rfind(prefix, 0) == 0) out.push_back(op);
    return out;
  }
  static double PulsationOf(const std::string& text) {
    return std::stod(text.substr(text.find(" en w= ") + 7));
  }

  // The texts of the margins found, as the picture writes them.
  std::vector<std::string> Log() const {
    std::vector<std::string> texts;
    for (const MarginRecord& m : margins) texts.push_back(MarginText(m));
    return texts;
  }

  DiagramState s;
  DrawTarget t;
  FrameResult f;
  HeadlessHost host;
  RecordingSurface surface;
  std::vector<MarginRecord> margins;
};

// H1 = 1/(p(1+p)): |H| = 1 at w^2 = (sqrt 5 - 1)/2, w = 0.7862, where the
// phase is -180 + atan(1/w) = -128.17 degrees, a margin of 51.83 degrees.
// The crossing lies between columns 240 and 241; column 241 has w = 0.7899.
TEST_F(MarginsTest, BodePhaseMarginOfIntegratorWithLag) {
  s.DenCoeffs[0] = {0, 1, 1, 0, 0, 0};
  s.CurveTicked[0] = true;
  DrawBode();
  ASSERT_EQ(margins.size(), 1u);
  EXPECT_EQ(Log()[0], "MP1: 51.694 en w= 0.79");
  const double w = margins[0].W;
  const double step = std::pow(10.0, 4.0 / 1074);
  EXPECT_GT(w, 0.786151 / step);
  EXPECT_LT(w, 0.786151 * step);
  EXPECT_NEAR(margins[0].Value, 51.827, 0.3);
  EXPECT_EQ(margins[0].Kind, MarginKind::Phase);

  const RecordedOp* text = Text(Log()[0]);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->x, 52);
  EXPECT_EQ(text->y, 50);
  EXPECT_EQ(text->colour, kBlue);
  // x = 241 + 30; phase -2.2375 rad is 113.6 px below MidY; gain about 0.
  EXPECT_TRUE(surface.HasLine(271, 339, 271, 499));
  EXPECT_TRUE(surface.HasLine(271, 453, 271, 339));
  EXPECT_TRUE(surface.HasLine(271, 499, 271, 453));
  EXPECT_TRUE(surface.HasLine(271, 453, 267, 465));
  EXPECT_TRUE(surface.HasLine(271, 453, 275, 465));
  EXPECT_TRUE(TextsStartingWith("MG").empty());
}

// H1 = 1/(1+p)^3: the phase -3 atan(w) passes -180 degrees at w = sqrt 3
// (between columns 332 and 333), where |H| = 1/8 (-18.06 dB). The gain
// never reaches 0 dB: no phase margin.
TEST_F(MarginsTest, BodeGainMarginOfTripleLag) {
  s.DenCoeffs[0] = {1, 3, 3, 1, 0, 0};
  s.CurveTicked[0] = true;
  DrawBode();
  ASSERT_EQ(margins.size(), 1u);
  EXPECT_EQ(Log()[0], "MG1: 18.137 en w= 1.739");
  const RecordedOp* text = Text(Log()[0]);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->x, 232);
  EXPECT_EQ(text->y, 50);
  // Column 333: gain -18.14 dB at y = 339 + 121, phase just past -180.
  EXPECT_TRUE(surface.HasLine(363, 339, 363, 499));
  EXPECT_TRUE(surface.HasLine(363, 499, 363, 460));
  EXPECT_TRUE(surface.HasLine(363, 339, 363, 460));
  EXPECT_TRUE(surface.HasLine(363, 460, 367, 448));
  EXPECT_TRUE(surface.HasLine(363, 460, 359, 448));
}

// 1/p^3: the phase is -270 degrees everywhere, so the -180 line is never
// crossed; the gain crosses 0 dB at w = 1 (between columns 268 and 269).
TEST_F(MarginsTest, TripleIntegratorHasNoGainMarginInBode) {
  s.DenCoeffs[0] = {0, 0, 0, 1, 0, 0};
  s.CurveTicked[0] = true;
  DrawBode();
  ASSERT_EQ(margins.size(), 1u);
  EXPECT_EQ(Log()[0], "MP1: -90 en w= 1.004");
  EXPECT_TRUE(TextsStartingWith("MG").empty());
}

TEST_F(MarginsTest, TripleIntegratorHasNoGainMarginInBlack) {
  s.DenCoeffs[0] = {0, 0, 0, 1, 0, 0};
  s.CurveTicked[0] = true;
  s.CurveTicked[3] = true;
  s.BlackView = 1;
  DrawBlackDiagram(s, t, f);
  for (const auto& text : Log()) EXPECT_NE(text.rfind("MG", 0), 0u) << text;
  EXPECT_TRUE(TextsStartingWith("MG").empty());
}

// 0.5 (1+p) / (1+0.1p)^2 starts at -6 dB, rises above 0 dB near w = 1.8
// and falls back below it near w = 48: two crossings, one row.
TEST_F(MarginsTest, LaterCrossingWritesOverTheEarlierOne) {
  s.NumCoeffs[0] = {0.5, 0.5, 0, 0, 0, 0};
  s.DenCoeffs[0] = {1, 0.2, 0.01, 0, 0, 0};
  s.CurveTicked[0] = true;
  DrawBode();
  ASSERT_EQ(margins.size(), 2u);
  EXPECT_EQ(Log()[0], "MP1: 220.572 en w= 1.815");
  EXPECT_EQ(Log()[1], "MP1: 112.327 en w= 48.036");
  const auto texts = TextsStartingWith("MP1: ");
  ASSERT_EQ(texts.size(), 2u);
  for (const auto& op : texts) {
    EXPECT_EQ(op.x, 52);
    EXPECT_EQ(op.y, 50);
  }
  EXPECT_EQ(texts.back().text, Log()[1]);
  EXPECT_LT(PulsationOf(texts[0].text), PulsationOf(texts[1].text));
  // A mark at each crossing column (338 and 720).
  EXPECT_TRUE(surface.HasLine(368, 339, 368, 499));
  EXPECT_TRUE(surface.HasLine(750, 339, 750, 499));
}

TEST_F(MarginsTest, ProductOfH2AloneRepeatsItsMarginInRowFive) {
  s.DenCoeffs[1] = {0, 1, 1, 0, 0, 0};
  s.CurveTicked[1] = true;
  s.CurveTicked[3] = true;
  DrawBode();
  ASSERT_EQ(margins.size(), 2u);
  EXPECT_EQ(Log()[0], "MP2: 51.694 en w= 0.79");
  EXPECT_EQ(Log()[1], "MP globale: 51.694 en w= 0.79");
  const RecordedOp* own = Text(Log()[0]);
  const RecordedOp* product = Text(Log()[1]);
  ASSERT_NE(own, nullptr);
  ASSERT_NE(product, nullptr);
  EXPECT_EQ(own->y, 60);
  EXPECT_EQ(own->colour, kRed);
  EXPECT_EQ(product->x, 52);
  EXPECT_EQ(product->y, 90);
  EXPECT_EQ(product->colour, kBlack);
}

TEST_F(MarginsTest, SameFunctionTwiceGivesTwoRows) {
  s.DenCoeffs[0] = s.DenCoeffs[2] = {0, 1, 1, 0, 0, 0};
  s.CurveTicked[0] = s.CurveTicked[2] = true;
  DrawBode();
  ASSERT_EQ(margins.size(), 2u);
  EXPECT_EQ(Log()[0], "MP1: 51.694 en w= 0.79");
  EXPECT_EQ(Log()[1], "MP3: 51.694 en w= 0.79");
  EXPECT_EQ(Text(Log()[1])->y, 70);
  EXPECT_EQ(Text(Log()[1])->colour, kPurple);
}

struct ModeCase {
  const char* name;
  int bodeMode;
  int showMargins;
};

class MarginSearchGate : public MarginsTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(MarginSearchGate, NoSearchOutsideGainAndPhase) {
  s.BodeMode = static_cast<std::uint8_t>(GetParam().bodeMode);
  s.ShowMargins = static_cast<std::uint8_t>(GetParam().showMargins);
  s.DenCoeffs[0] = {1, 3, 3, 1, 0, 0};
  s.DenCoeffs[1] = {0, 1, 1, 0, 0, 0};
  s.CurveTicked[0] = s.CurveTicked[1] = s.CurveTicked[3] = true;
  DrawBode();
  EXPECT_TRUE(margins.empty());
  EXPECT_TRUE(TextsStartingWith("MP").empty());
  EXPECT_TRUE(TextsStartingWith("MG").empty());
}

INSTANTIATE_TEST_SUITE_P(Margins, MarginSearchGate,
                         ::testing::Values(ModeCase{"GainOnly", 0, 1}, ModeCase{"PhaseOnly", 1, 1},
                                           ModeCase{"MarginsOff", 2, 0}),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(MarginsTest, NoLogStillDraws) {
  s.MarginRecords = nullptr;
  s.DenCoeffs[0] = {0, 1, 1, 0, 0, 0};
  s.CurveTicked[0] = true;
  DrawBode();
  EXPECT_NE(Text("MP1: 51.694 en w= 0.79"), nullptr);
}

// Direct steps on the default frame's scales.
class BodeMarginStepTest : public MarginsTest {
 protected:
  void SetUp() override {
    MarginsTest::SetUp();
    DrawBodeFrame(s, t, f);
    surface.Clear();
  }
  double Gain(double db) const { return db * f.GainPixelsPerDb; }
  double Phase(double rad) const { return rad * f.PhasePixelsPerRad; }
};

TEST_F(BodeMarginStepTest, PhaseMarginMarksAndText) {
  UseColour(t, kPurple);
  BodeMarginStep(s, t, f, 3, 400, 2.0, Gain(-1), Phase(-2), Gain(1), Phase(-1.9), 52, 232);
  // (pi - 2) * 180 / pi = 65.4084; yG = 339 + round(6.68), yP = 339 + round(101.54).
  ASSERT_EQ(margins.size(), 1u);
  EXPECT_EQ(Log()[0], "MP3: 65.408 en w= 2");
  const RecordedOp* text = Text(Log()[0]);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->x, 52);
  EXPECT_EQ(text->y, 70);
  EXPECT_EQ(text->colour, kPurple);
  const auto lines = surface.Lines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_TRUE(surface.HasLine(400, 339, 400, 499));
  EXPECT_TRUE(surface.HasLine(400, 441, 400, 346));
  EXPECT_EQ(lines[2].x, 400);
  EXPECT_EQ(lines[2].y, 499);
  EXPECT_EQ(lines[2].w, 400);
  EXPECT_EQ(lines[2].h, 441);
  EXPECT_EQ(lines[2].penWidth, 2);
  EXPECT_EQ(lines[0].penWidth, 1);
}

TEST_F(BodeMarginStepTest, BothCrossingsOnOneSample) {
  BodeMarginStep(s, t, f, 4, 500, 10.0, Gain(-2), Phase(-3.3), Gain(0.5), Phase(-3.0), 52, 232);
  ASSERT_EQ(margins.size(), 2u);
  EXPECT_EQ(Log()[0].rfind("MP globale: ", 0), 0u);
  EXPECT_EQ(Log()[1], "MG globale: 2 en w= 10");
  EXPECT_EQ(Text(Log()[1])->x, 232);
  EXPECT_EQ(Text(Log()[1])->y, 90);
  // Gain margin arrow from the 0 dB line to the gain point 339 + round(13.36).
  EXPECT_TRUE(surface.HasLine(500, 339, 500, 352));
}

struct NoCrossingCase {
  const char* name;
  double gainDb, prevGainDb, phaseRad, prevPhaseRad;
};

class BodeMarginNoCrossing : public BodeMarginStepTest,
                             public ::testing::WithParamInterface<NoCrossingCase> {};

TEST_P(BodeMarginNoCrossing, NothingDrawnOrWritten) {
  const NoCrossingCase& c = GetParam();
  BodeMarginStep(s, t, f, 1, 300, 1.0, Gain(c.gainDb), Phase(c.phaseRad), Gain(c.prevGainDb),
                 Phase(c.prevPhaseRad), 52, 232);
  EXPECT_TRUE(margins.empty());
  EXPECT_TRUE(surface.Ops.empty());
}

INSTANTIATE_TEST_SUITE_P(Margins, BodeMarginNoCrossing,
                         ::testing::Values(NoCrossingCase{"SameSignGain", -1, -2, -1, -1},
                                           NoCrossingCase{"GainExactlyZeroNow", 0, 1, -1, -1},
                                           NoCrossingCase{"GainExactlyZeroBefore", -1, 0, -1, -1},
                                           NoCrossingCase{"PhaseExactlyMinusPi", -1, -1, -kPi,
                                                          -3.0},
                                           NoCrossingCase{"PhaseStaysAbove", -1, -1, -3.0, -2.0},
                                           NoCrossingCase{"PhaseStaysBelow", -1, -1, -4.0, -4.5}),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(BodeMarginStepTest, PhaseWrapCountsAsCrossing) {
  // From -200 degrees to +143 degrees: the jump passes -180.
  BodeMarginStep(s, t, f, 2, 600, 3.0, Gain(-4), Phase(2.5), Gain(-4), Phase(-3.5), 52, 232);
  ASSERT_EQ(margins.size(), 1u);
  EXPECT_EQ(Log()[0], "MG2: 4 en w= 3");
}

// Black view with W = 1135 (odd XS), H = 678: XS = 1055, X0 = 1085, Y0 = 369,
// xText = 62; round(1055 / 2) = 528 but 1055 div 2 = 527. Rows 10 k + 80.
class BlackMarginStepTest : public MarginsTest {
 protected:
  void SetUp() override {
    MarginsTest::SetUp();
    t.PlotWidth = 1135;
    layout.XS = 1055;
    layout.X0 = 1085;
    layout.YS = 578;
    layout.Y0 = 369;
    layout.XText = 62;
  }
  BlackLayout layout;
};

struct BlackCase {
  const char* name;
  int slot;
  double phase, gain, prevPhase, prevGain;
  int xs, ys;
  const char* text;
  int textX, textY;
  int x1, y1, x2, y2;  // the arrow's shaft
};

class BlackMarginCases : public BlackMarginStepTest,
                         public ::testing::WithParamInterface<BlackCase> {};

TEST_P(BlackMarginCases, ArrowAndText) {
  const BlackCase& c = GetParam();
  BlackMarginStep(s, t, c.slot, layout, 2.0, c.phase, c.gain, c.prevPhase, c.prevGain, c.xs, c.ys);
  ASSERT_EQ(margins.size(), 1u);
  EXPECT_EQ(Log()[0], c.text);
  const RecordedOp* text = Text(c.text);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->x, c.textX);
  EXPECT_EQ(text->y, c.textY);
  const auto lines = surface.Lines();
  ASSERT_EQ(lines.size(), 3u) << "an arrow only";
  EXPECT_EQ(lines[0].x, c.x1);
  EXPECT_EQ(lines[0].y, c.y1);
  EXPECT_EQ(lines[0].w, c.x2);
  EXPECT_EQ(lines[0].h, c.y2);
  EXPECT_EQ(lines[0].penWidth, 2);
}

// Phase margin (pi - 2) 180 / pi = 65.408; arrow to x((-2 - 1.9) / 2) =
// round(1085 - 1055 * 1.95 / 2pi) = 758 for a function, to xs for the product.
INSTANTIATE_TEST_SUITE_P(
    Margins, BlackMarginCases,
    ::testing::Values(BlackCase{"PhaseMarginOfH1", 1, -2.0, -1.0, -1.9, 1.0, 700, 400,
                                "MP1: 65.408 en w= 2", 62, 90, 557, 369, 758, 369},
                      BlackCase{"PhaseMarginOfProduct", 4, -2.0, -1.0, -1.9, 1.0, 700, 400,
                                "MP globale : 65.408 en w= 2", 62, 130, 557, 369, 700, 369},
                      BlackCase{"GainMarginOfH2", 2, -3.3, -7.5, -3.0, -7.4, 600, 420,
                                "MG2: 7.5 en w= 2", 252, 100, 558, 369, 558, 420},
                      BlackCase{"GainMarginOfProduct", 4, -3.3, -7.5, -3.0, -7.4, 600, 420,
                                "MG globale : 7.5 en w= 2", 252, 130, 558, 369, 600, 420}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(BlackMarginStepTest, EvenChartWidthPutsBothArrowsOnOneAbscissa) {
  layout.XS = 1054;
  layout.X0 = 1084;
  BlackMarginStep(s, t, 1, layout, 5.0, -3.3, -1.0, -3.0, 1.0, 600, 420);
  ASSERT_EQ(margins.size(), 2u);
  EXPECT_EQ(Log()[1], "MG1: 1 en w= 5");
  const auto lines = surface.Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].x, 557);
  EXPECT_EQ(lines[3].x, 557);
}

TEST_F(BlackMarginStepTest, TripleIntegratorPhaseNeverCrosses) {
  BlackMarginStep(s, t, 1, layout, 1.0, -1.5 * kPi, -3.0, -1.5 * kPi, 3.0, 600, 420);
  ASSERT_EQ(margins.size(), 1u);
  EXPECT_EQ(Log()[0].rfind("MP1: -90 ", 0), 0u);
}

}  // namespace
}  // namespace tv
