// Sweeps across a zero or pole on the imaginary axis, curves on paper, and a page's margins sampled
// as on the window.
#include "render/paper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/headless_host.h"
#include "render/black.h"
#include "render/bode.h"
#include "render/margin_record.h"
#include "support/recording_surface.h"
#include "support/three_functions.h"

namespace tv {
namespace {

class SweepTest : public testing::Test {
 protected:
  void SetUp() override { t = scenes::OnSurface(s, host, surface); }

  void Draw() {
    if (s.BlackView) {
      DrawBlackDiagram(s, t, f);
    } else {
      DrawBodeFrame(s, t, f);
      DrawBodeCurves(s, t, f);
    }
  }
  std::vector<RecordedOp> LinesIn(Rgb colour) const {
    std::vector<RecordedOp> out;
    for (const auto& l : surface.Lines())
      if (l.colour == colour) out.push_back(l);
    return out;
  }

  DiagramState s;
  DrawTarget t;
  FrameResult f;
  HeadlessHost host;
  RecordingSurface surface;
};

// H1 = (1 + p^2) / (1 + p)^2 is exactly zero at w = 1, which the sweep lands
// on: at column 0 from decade 0, mid-axis from decade -1 to 1, and at the
// first point of decade 0 in the Black view. The curve goes to the plot's
// bottom edge there and on to the last pulsation, without a beep.
struct NotchCase {
  const char* Name;
  int Black, DecadeMin, DecadeMax;
};

class NotchTest : public SweepTest, public testing::WithParamInterface<NotchCase> {};

TEST_P(NotchTest, CurveReachesTheEdgeAndGoesOn) {
  const NotchCase& c = GetParam();
  s.BlackView = static_cast<std::uint8_t>(c.Black);
  s.DecadeMin = c.DecadeMin;
  s.DecadeMax = c.DecadeMax;
  s.NumCoeffs[0] = {1, 0, 1, 0, 0, 0};
  s.DenCoeffs[0] = {1, 2, 1, 0, 0, 0};
  s.CurveTicked[0] = true;
  s.CurveTicked[3] = true;
  Draw();
  EXPECT_EQ(host.BeepCount, 0);
  EXPECT_EQ(f.ResponseValid, 1);
  for (Rgb colour : {kBlue, kBlack}) {
    bool edge = false;
    for (const auto& l : LinesIn(colour)) edge |= l.h == t.PlotHeight || l.y == t.PlotHeight;
    EXPECT_TRUE(edge) << "the zero column at the bottom edge";
  }
  if (c.Black) {
    // Decade 1 is drawn: 10 and 50 are labelled on H1.
    EXPECT_NE(surface.FindText("50"), nullptr);
  } else {
    // The last column is drawn, and the phase jumps by 180 degrees (159.5 px
    // at 79.75 px per 90 degrees) from the zero's column to the next.
    bool last = false, jump = false;
    for (const auto& l : LinesIn(kBlue)) {
      last |= l.w == t.PlotWidth - 30;
      jump |= l.penStyle == PenStyle::Dotted && l.w == l.x + 1 && std::abs(l.h - l.y) >= 159 &&
              std::abs(l.h - l.y) <= 160;
    }
    EXPECT_TRUE(last);
    EXPECT_TRUE(jump);
  }
}

INSTANTIATE_TEST_SUITE_P(Views, NotchTest,
                         testing::Values(NotchCase{"BodeFromTheZero", 0, 0, 2},
                                         NotchCase{"BodeAcrossTheZero", 0, -1, 1},
                                         NotchCase{"BlackAcrossTheZero", 1, -1, 1}),
                         [](const testing::TestParamInfo<NotchCase>& p) {
                           return std::string(p.param.Name);
                         });

// 4 (1 + p^2) / (1 + p)^2 crosses 0 dB at w^2 = 3/5 and 5/3, either side of
// its notch: both phase margins are found.
TEST_F(SweepTest, MarginsOnBothSidesOfANotch) {
  std::vector<MarginRecord> margins;
  s.MarginRecords = &margins;
  s.ShowMargins = 1;
  s.DecadeMin = -1;
  s.DecadeMax = 1;
  s.NumCoeffs[0] = {4, 0, 4, 0, 0, 0};
  s.DenCoeffs[0] = {1, 2, 1, 0, 0, 0};
  s.CurveTicked[0] = true;
  Draw();
  ASSERT_EQ(margins.size(), 2u);
  EXPECT_EQ(MarginText(margins[0]).rfind("MP1: ", 0), 0u);
  EXPECT_NEAR(margins[0].W, std::sqrt(0.6), 0.01);
  EXPECT_NEAR(margins[1].W, std::sqrt(5.0 / 3), 0.01);
}

// A polynomial of zeros can be drawn nowhere: the sweep still stops and beeps.
TEST_F(SweepTest, ZeroPolynomialStillStops) {
  s.NumCoeffs[0] = {0, 0, 0, 0, 0, 0};
  s.CurveTicked[0] = true;
  Draw();
  EXPECT_EQ(f.ResponseValid, 0);
  EXPECT_EQ(host.BeepCount, 20);
}

// On paper every curve is drawn at least kPaperCurvePen wide, solid (the
// phase curves in dashes of their own), inside the frame, and named.
struct PenCase {
  const char* Name;
  int Black, Curve, Frame;
};

class PaperPenTest : public SweepTest, public testing::WithParamInterface<PenCase> {};

TEST_P(PaperPenTest, CurvesWideSolidInsideAndNamed) {
  const PenCase& c = GetParam();
  s.BlackView = static_cast<std::uint8_t>(c.Black);
  t.OnPaper = 1;
  t.CurvePenWidth = c.Curve;
  t.FramePenWidth = c.Frame;
  // 10 / (p (1 + p)): far below the frame at the high end.
  s.NumCoeffs[0] = {10, 0, 0, 0, 0, 0};
  s.DenCoeffs[0] = {0, 1, 1, 0, 0, 0};
  s.CurveTicked[0] = true;
  Draw();
  const std::vector<RecordedOp> curve = LinesIn(kBlue);
  ASSERT_FALSE(curve.empty());
  const int top = c.Black ? 80 : 5;  // y of +40 dB in the Black chart
  const int bottom = c.Black ? 586 : t.PlotHeight - 40;
  // Dashes: lines that do not start where the one before ended.
  int dashes = 0;
  for (std::size_t i = 1; i < curve.size(); ++i)
    dashes += curve[i].x != curve[i - 1].w || curve[i].y != curve[i - 1].h;
  for (const auto& l : curve) {
    EXPECT_GE(l.penWidth, std::max(c.Curve, kPaperCurvePen));
    EXPECT_EQ(l.penStyle, PenStyle::Solid);
    for (int y : {l.y, l.h}) {
      EXPECT_GE(y, top);
      EXPECT_LE(y, bottom);
    }
  }
  const RecordedOp* name = surface.FindText("H1");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->colour, kBlue);
  // The phase curve's dots.
  if (!c.Black) {
    EXPECT_GT(dashes, 50);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pens, PaperPenTest,
    testing::Values(PenCase{"BodePage", 0, 3, 2}, PenCase{"BodeDarkerPage", 0, 4, 3},
                    PenCase{"BodeMetafile", 0, 2, 1}, PenCase{"BlackMetafile", 1, 2, 1}),
    [](const testing::TestParamInfo<PenCase>& p) { return std::string(p.param.Name); });

// A page of another size writes the margins the window shows; sampled at
// its own columns it would not (17.926 against 17.869 degrees).
TEST_F(SweepTest, PageWritesTheWindowsMargins) {
  s.ShowMargins = 1;
  s.NumCoeffs[1] = {10, 0, 0, 0, 0, 0};
  s.DenCoeffs[1] = {0, 1, 1, 0, 0, 0};
  s.CurveTicked[1] = true;
  s.CurveTicked[3] = true;
  const auto margins = [this] {
    std::vector<MarginRecord> records;
    s.MarginRecords = &records;
    Draw();
    s.MarginRecords = nullptr;
    std::vector<std::string> texts;
    for (const MarginRecord& m : records) texts.push_back(MarginText(m));
    return texts;
  };
  const std::vector<std::string> window = margins();
  ASSERT_FALSE(window.empty());
  t.PlotWidth = 694;
  t.PlotHeight = 694;
  t.OnPaper = 1;
  const std::vector<std::string> ownColumns = margins();
  t.MarginPlotWidth = scenes::kPlotWidth;
  t.MarginPlotHeight = scenes::kPlotHeight;
  EXPECT_EQ(margins(), window);
  EXPECT_NE(ownColumns, window);
}

}  // namespace
}  // namespace tv
