// The Black-Nichols chart over the Black view: inside the chart's frame, dotted and light, labels
// apart, black in print.
#include "render/nichols_chart.h"

#include <gtest/gtest.h>

#include <string>

#include "core/headless_host.h"
#include "render/black.h"
#include "support/recording_surface.h"
#include "support/three_functions.h"

namespace tv {
namespace {

class NicholsChartTest : public testing::Test {
 protected:
  void SetUp() override {
    t = scenes::OnSurface(s, host, surface);
    s.BlackView = 1;
    s.ShowNicholsChart = 1;
  }
  DiagramState s;
  DrawTarget t;
  FrameResult f;
  HeadlessHost host;
  RecordingSurface surface;
};

TEST_F(NicholsChartTest, ContoursStayInTheFrameAndLabelsApart) {
  DrawBlackDiagram(s, t, f);
  const BlackLayout l = ComputeBlackLayout(t);
  const int top = l.Y0 - l.YS * 40 / 80 - 1, bottom = l.Y0 + l.YS * 30 / 80 + 1;
  int lines = 0;
  for (const RecordedOp& op : surface.Lines()) {
    if (op.colour != kChartLineGrey) continue;
    ++lines;
    EXPECT_EQ(op.penStyle, PenStyle::Dotted);
    for (auto [x, y] : {std::pair(op.x, op.y), std::pair(op.w, op.h)}) {
      EXPECT_GE(x, 30);
      EXPECT_LE(x, l.X0);
      EXPECT_GE(y, top);
      EXPECT_LE(y, bottom);
    }
  }
  EXPECT_GT(lines, 200);

  std::vector<RecordedOp> labels;
  for (const RecordedOp& op : surface.Texts())
    if (op.colour == kChartLabelGrey) labels.push_back(op);
  // Most of the 27 contours find room for their label; none overlaps another.
  EXPECT_GE(labels.size(), 18u);
  const int h = surface.FontHeight();
  for (std::size_t i = 0; i < labels.size(); ++i)
    for (std::size_t j = i + 1; j < labels.size(); ++j) {
      const RecordedOp &a = labels[i], &b = labels[j];
      const int aw = surface.TextWidth(a.text), bw = surface.TextWidth(b.text);
      EXPECT_FALSE(a.x < b.x + bw && b.x < a.x + aw && a.y < b.y + h && b.y < a.y + h)
          << a.text << " and " << b.text;
    }
}

TEST_F(NicholsChartTest, PrintedInBlack) {
  t.ForceBlack = 1;
  DrawBlackDiagram(s, t, f);
  for (const RecordedOp& op : surface.Ops)
    if (op.kind == RecordedOp::Line || op.kind == RecordedOp::Text) {
      EXPECT_EQ(op.colour, kBlack);
    }
}

}  // namespace
}  // namespace tv
