// The Nyquist picture: the compressed scale, -1 crossed, the margins where the Mesures window puts
// them, the verdict and the words said instead of a locus.
#include "render/nyquist_view.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/recording_surface.h"

namespace tv {
namespace {

struct Picture {
  RecordingSurface surface;
  DrawTarget s;
  Picture() {
    s.DrawCanvas = s.ScreenCanvas = &surface;
    s.PlotWidth = 640;
    s.PlotHeight = 560;
    s.CurvePenWidth = 2;
    s.FramePenWidth = 1;
  }
  bool Wrote(const std::string& text, Rgb colour) const {
    for (const RecordedOp& op : surface.Ops)
      if (op.kind == RecordedOp::Text && op.text.find(text) != std::string::npos)
        return op.colour == colour;
    return false;
  }
  // A stroke from (x1, y1) to (x2, y2), either way, within a pixel.
  bool Stroke(double x1, double y1, double x2, double y2) const {
    const auto near = [](int a, double b) { return std::abs(a - b) <= 1; };
    for (const RecordedOp& op : surface.Ops)
      if (op.kind == RecordedOp::Line &&
          ((near(op.x, x1) && near(op.y, y1) && near(op.w, x2) && near(op.h, y2)) ||
           (near(op.x, x2) && near(op.y, y2) && near(op.w, x1) && near(op.h, y1))))
        return true;
    return false;
  }
};

// K/(1+p)^3 alone, with its read-outs.
NyquistPicture ThirdOrder(double k) {
  NyquistPicture n;
  const CurveFactors f{{{k}}, {{1, 3, 3, 1}}};
  n.Curves.push_back({Curve{"H1", kBlue, false, {0}}, ComputeNyquist(f), f});
  n.LoopName = "H1";
  n.Loop = n.Curves.front().Locus;
  n.Outcome = n.Loop.Outcome;
  n.LoopReadouts = ComputeReadouts(f, {0.01, 1000});
  return n;
}

TEST(NyquistViewTest, CompressionKeepsTheDirectionAndStaysWithinTwiceTheRadius) {
  NyquistFrame f;
  f.Radius = 5;
  const std::complex<double> inside(3, -4);
  EXPECT_EQ(f.Compressed(inside), inside);
  double previous = 5;
  for (double m : {5.5, 10.0, 1e3, 1e12, 1e300}) {  // 1e300: its square overflows
    const std::complex<double> c = f.Compressed(std::polar(m, -2.0));
    EXPECT_NEAR(std::arg(c), -2.0, 1e-12) << m;
    EXPECT_GT(std::abs(c), previous) << m;
    EXPECT_LE(std::abs(c), 10) << m;
    previous = std::abs(c) - 1e-9;
  }
}

TEST(NyquistViewTest, MarginsOnTheRealAxisAndTheUnitCircle) {
  Picture p;
  const NyquistPicture n = ThirdOrder(4);
  const NyquistFrame f = DrawNyquistView(p.s, n, false);
  // -1 crossed; the gain margin from -1 to -0.5, where 4/(1+p)^3 crosses.
  const double cx = f.X(-1.0), cy = f.Y(-1.0);
  EXPECT_TRUE(p.Stroke(cx - 5, cy - 5, cx + 5, cy + 5));
  EXPECT_TRUE(p.Stroke(cx, cy, f.X(-0.5), f.Y(-0.5)));
  EXPECT_TRUE(p.Wrote("MG= 6.0206 dB (w= 1.73205 rad/s)", kBlue));
  EXPECT_TRUE(p.Wrote("Boucle ferm\xE9"
                      "e stable",
                      kBlack));
  EXPECT_FALSE(p.Wrote("\xE9"
                       "chelle compress\xE9"
                       "e",
                       kBlack));
}

TEST(NyquistViewTest, UnstableVerdictInRedOnACompressedScale) {
  Picture p;
  DrawNyquistView(p.s, ThirdOrder(10), false);
  EXPECT_TRUE(p.Wrote("Boucle ferm\xE9"
                      "e instable : 2 p\xF4le(s)",
                      kRed));
  EXPECT_TRUE(p.Wrote("\xE9"
                      "chelle compress\xE9"
                      "e au-del\xE0 de |H| = 5",
                      kBlack));
}

TEST(NyquistViewTest, WordsInsteadOfALocus) {
  Picture p;
  NyquistPicture n;
  n.Outcome = NyquistOutcome::LoopUndefined;
  DrawNyquistView(p.s, n, true);
  EXPECT_TRUE(p.Wrote("1+H est identiquement nul", kBlack));
  for (const RecordedOp& op : p.surface.Ops) EXPECT_NE(op.kind, RecordedOp::Line);
}

}  // namespace
}  // namespace tv
