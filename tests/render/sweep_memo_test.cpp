// Kept sweep samples: a redraw through them draws what a redraw without them draws, whatever
// changed since the samples were kept.
#include "render/sweep_memo.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "core/headless_host.h"
#include "render/redraw.h"
#include "support/recording_surface.h"
#include "support/three_functions.h"

namespace tv {
namespace {

struct MemoCase {
  const char* Name;
  bool Black;
  // What differs in the redraw before the compared one.
  std::function<void(DiagramState&)> Before;
  bool Reuses;  // some samples of the compared redraw come from the memo
};

void PrintTo(const MemoCase& c, std::ostream* os) { *os << c.Name; }

auto Key(const RecordedOp& op) {
  return std::tie(op.kind, op.x, op.y, op.w, op.h, op.colour.R, op.colour.G, op.colour.B,
                  op.penWidth, op.penStyle, op.text);
}

// The calls of the redraw that follows one of the state changed by Before.
std::vector<RecordedOp> Drawn(const MemoCase& c, SweepMemo* memo) {
  DiagramState s;
  HeadlessHost host;
  RecordingSurface surface;
  DrawTarget t = scenes::OnSurface(s, host, surface);
  t.Sweeps = memo;
  scenes::ThreeFunctions(s);
  s.ShowMargins = 1;
  s.BlackView = c.Black ? 1 : 0;
  DiagramState after = s;
  c.Before(s);
  FrameResult f;
  RedrawDiagram(s, t, f);
  surface.Clear();
  after.Host = &host;
  after.NumCompiled = s.NumCompiled;
  after.DenCompiled = s.DenCompiled;
  RedrawDiagram(after, t, f);
  return surface.Ops;
}

class SweepMemoTest : public testing::TestWithParam<MemoCase> {};

TEST_P(SweepMemoTest, DrawsAsWithout) {
  const MemoCase& c = GetParam();
  SweepMemo memo;
  const std::vector<RecordedOp> with = Drawn(c, &memo);
  const std::vector<RecordedOp> without = Drawn(c, nullptr);
  ASSERT_EQ(with.size(), without.size());
  for (std::size_t i = 0; i < with.size(); ++i)
    ASSERT_TRUE(Key(with[i]) == Key(without[i])) << "call " << i;
  EXPECT_EQ(memo.Reused() > 0, c.Reuses);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SweepMemoTest,
    testing::Values(
        MemoCase{"NothingBode", false, [](DiagramState&) {}, true},
        MemoCase{"OneTextBode", false, [](DiagramState& s) { s.NumText[1].Assign("A+B*p"); }, true},
        MemoCase{"OneTextBlack", true, [](DiagramState& s) { s.DenText[2].Assign("1+p"); }, true},
        MemoCase{"ParameterEveryFunctionReads", false, [](DiagramState& s) { s.ParamKsi = 0.5; },
                 false},
        MemoCase{"DecadesBode", false, [](DiagramState& s) { s.DecadeMin -= 1; }, false},
        MemoCase{"ViewSwitched", false, [](DiagramState& s) { s.BlackView = 1; }, false}),
    [](const testing::TestParamInfo<MemoCase>& tested) { return std::string(tested.param.Name); });

}  // namespace
}  // namespace tv
