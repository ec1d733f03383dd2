// The locus picture: the crossing's value in red at its place, every line kept inside the frame,
// the current poles as filled squares, a step's markers drawing nothing of the base.
#include "render/locus_view.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/headless_host.h"
#include "render/primitives.h"
#include "support/recording_surface.h"

namespace tv {
namespace {

struct Picture {
  RecordingSurface surface;
  HeadlessHost host;
  DiagramState system;
  DrawTarget s;
  Locus locus;
  LocusPoles poles;
  Picture() {
    SetStartValues(system);
    system.Host = &host;
    system.NumText[0].Assign("K");
    system.DenText[0].Assign("1+3*p+3*p^2+p^3");
    system.ParamK = 4;
    system.CurveTicked[0] = true;
    const StateLocus l = ComputeStateLocus(system, Parameter::K);
    locus = l.L;
    poles = l.Poles;
    s.DrawCanvas = s.ScreenCanvas = &surface;
    s.PlotWidth = 640;
    s.PlotHeight = 520;
    s.CurvePenWidth = 2;
    s.FramePenWidth = 1;
  }
};

TEST(LocusViewTest, CrossingLabelledBranchesClippedPolesSquared) {
  Picture p;
  const LocusFrame f = DrawLocusView(p.s, p.locus, p.poles, "H1/(1+H1)");
  ASSERT_TRUE(f.Valid);
  const RecordedOp* label = p.surface.FindText("K = 8");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->colour, kRed);
  EXPECT_NEAR(label->x, f.X(0) + 6, 1);
  EXPECT_LT(std::abs(label->y - f.Y(std::sqrt(3.0))), 20);
  ASSERT_NE(p.surface.FindText("Ksi=0.42"), nullptr);
  ASSERT_NE(p.surface.FindText("Ksi=0.7"), nullptr);
  int blue = 0;
  for (const RecordedOp& line : p.surface.Lines()) {
    if (line.colour == kBlue) ++blue;
    if (line.colour != kBlue && line.penStyle != PenStyle::Dotted) continue;
    // Branches and damping lines stop at the frame.
    EXPECT_GE(std::min(line.x, line.w), f.Left);
    EXPECT_LE(std::max(line.x, line.w), f.Right);
    EXPECT_GE(std::min(line.y, line.h), f.Top);
    EXPECT_LE(std::max(line.y, line.h), f.Bottom);
  }
  EXPECT_GT(blue, 100);
  // The real closed-loop pole, -1 - 4^(1/3), as a black square 7 pixels wide.
  const int x = RoundPixel(f.X(-1 - std::cbrt(4.0))), y = RoundPixel(f.Y(0));
  EXPECT_TRUE(p.surface.HasLine(x - 3, y - 3, x + 3, y - 3));
  EXPECT_TRUE(p.surface.HasLine(x - 3, y + 3, x + 3, y + 3));
}

TEST(LocusViewTest, MarkersDrawNeitherTextNorBranch) {
  Picture p;
  const LocusFrame f = DrawLocusView(p.s, p.locus, p.poles, "H1/(1+H1)");
  p.surface.Clear();
  DrawLocusMarkers(p.s, p.locus, f, p.poles);
  EXPECT_TRUE(p.surface.Texts().empty());
  for (const RecordedOp& line : p.surface.Lines()) EXPECT_EQ(line.colour, kBlack);
  EXPECT_FALSE(p.surface.Lines().empty());
}

}  // namespace
}  // namespace tv
