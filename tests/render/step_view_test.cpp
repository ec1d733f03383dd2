// The step-response picture: read-outs written in their marks' colours, black when printed, words
// instead of a curve.
#include "render/step_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/recording_surface.h"
#include "render/step_texts.h"

namespace tv {
namespace {

StepResponse SecondOrder() {
  std::array<CoefficientSet, 3> num{}, den{};
  num[0] = {1, 0, 0, 0, 0, 0};
  den[0] = {1, 0.15, 0.25, 0, 0, 0};  // ξ = 0.15, W = 2
  return ComputeStepResponse(RealiseStepSystem(num, den, {0}, false), 0);
}

struct Picture {
  RecordingSurface surface;
  DrawTarget s;
  explicit Picture(bool black = false) {
    s.DrawCanvas = s.ScreenCanvas = &surface;
    s.PlotWidth = 640;
    s.PlotHeight = 420;
    s.CurvePenWidth = 2;
    s.FramePenWidth = 1;
    s.ForceBlack = black ? 1 : 0;
  }
};

TEST(StepViewTest, ReadoutsInTheColoursOfTheirMarks) {
  Picture p;
  const StepResponse r = SecondOrder();
  DrawStepView(p.s, r, "H1");
  const std::vector<std::string> lines = StepReadoutTexts(r);
  ASSERT_EQ(lines.size(), 4u);
  const Rgb colours[] = {kBlack, kRed, kPurple, kGreen};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const RecordedOp* text = p.surface.FindText(lines[i]);
    ASSERT_NE(text, nullptr) << lines[i];
    EXPECT_EQ(text->colour, colours[i]) << lines[i];
  }
  // The overshoot's arrow is red and vertical, at the peak's column.
  int redVertical = 0;
  for (const RecordedOp& line : p.surface.Lines())
    if (line.colour == kRed && line.x == line.w && line.y != line.h) ++redVertical;
  EXPECT_GE(redVertical, 2);
  // The curve stays between the frame's sides.
  for (const RecordedOp& line : p.surface.Lines())
    if (line.colour == kBlue) {
      EXPECT_GE(std::min(line.x, line.w), 0);
      EXPECT_LE(std::max(line.x, line.w), p.s.PlotWidth - 16);
    }
}

TEST(StepViewTest, PrintedAllBlack) {
  Picture p(true);
  p.s.FramePenWidth = 3;  // "Noircir les traits"
  DrawStepView(p.s, SecondOrder(), "H1");
  int grid = 0, dotted = 0;
  for (const RecordedOp& op : p.surface.Ops) {
    if (op.kind == RecordedOp::Text) {
      EXPECT_EQ(op.colour, kBlack);
    }
    if (op.kind != RecordedOp::Line) continue;
    // Only the grid keeps its light grey, one pixel wide, behind the rest.
    if (op.colour == kGridGrey) {
      ++grid;
      EXPECT_EQ(op.penWidth, 1);
    } else {
      EXPECT_EQ(op.colour, kBlack);
    }
    // Band dashed and markers solid: nothing else dotted like the grid.
    if (op.penStyle == PenStyle::Dotted) {
      ++dotted;
      EXPECT_EQ(op.colour, kGridGrey);
    }
  }
  EXPECT_GT(grid, 4);
  EXPECT_EQ(dotted, grid);
}

TEST(StepViewTest, DivergingResponseStaysInsideItsFrame) {
  std::array<CoefficientSet, 3> num{}, den{};
  num[0] = {1, 0, 0, 0, 0, 0};
  den[0] = {-1, 1, 0, 0, 0, 0};  // a pole at p = 1: e^t grows
  const StepResponse r = ComputeStepResponse(RealiseStepSystem(num, den, {0}, false), 0);
  ASSERT_EQ(r.Outcome, StepOutcome::Drawn);
  Picture p;
  DrawStepView(p.s, r, "H1");
  // The frame: its black lines; the curve never leaves it, where it would
  // cross the read-outs and the title.
  int top = p.s.PlotHeight, bottom = 0, left = p.s.PlotWidth, right = 0, curve = 0;
  for (const RecordedOp& line : p.surface.Lines())
    if (line.colour == kBlack && line.penStyle == PenStyle::Solid) {
      top = std::min({top, line.y, line.h});
      bottom = std::max({bottom, line.y, line.h});
      left = std::min({left, line.x, line.w});
      right = std::max({right, line.x, line.w});
    }
  for (const RecordedOp& line : p.surface.Lines()) {
    if (line.colour != kBlue) continue;
    ++curve;
    EXPECT_GE(std::min(line.y, line.h), top);
    EXPECT_LE(std::max(line.y, line.h), bottom);
    EXPECT_GE(std::min(line.x, line.w), left);
    EXPECT_LE(std::max(line.x, line.w), right);
  }
  EXPECT_GT(curve, 10);
}

TEST(StepViewTest, WordsInsteadOfACurve) {
  Picture p;
  StepResponse r;
  r.Outcome = StepOutcome::Improper;
  DrawStepView(p.s, r, "H1");
  EXPECT_TRUE(p.surface.Lines().empty());
  EXPECT_NE(p.surface.FindText(StepOutcomeText(StepOutcome::Improper)), nullptr);
}

}  // namespace
}  // namespace tv
