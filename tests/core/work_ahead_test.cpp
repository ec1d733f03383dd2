// The second thread's works: all done by Finish, failures handed back, and the host's listeners
// told when to drop what they computed.
#include "core/work_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/diagram_host.h"
#include "core/diagram_state.h"
#include "core/headless_host.h"

namespace tv {
namespace {

struct Case {
  const char* Name;
  int Works;
  int Rounds;
};

class WorkAheadRounds : public ::testing::TestWithParam<Case> {};

TEST_P(WorkAheadRounds, EveryWorkDoneOnceWhenFinishReturns) {
  const Case c = GetParam();
  WorkAhead ahead;
  for (int round = 0; round < c.Rounds; ++round) {
    std::vector<int> done(static_cast<std::size_t>(c.Works), 0);
    std::vector<std::function<void()>> works;
    for (int i = 0; i < c.Works; ++i)
      works.push_back([&done, i] {
        std::this_thread::sleep_for(std::chrono::microseconds(50 * (i % 3)));
        ++done[static_cast<std::size_t>(i)];
      });
    ahead.Start(std::move(works));
    ahead.Finish();
    for (int i = 0; i < c.Works; ++i)
      EXPECT_EQ(done[static_cast<std::size_t>(i)], 1) << "round " << round << " work " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkAheadRounds,
                         ::testing::Values(Case{"None", 0, 2}, Case{"One", 1, 3},
                                           Case{"Several", 7, 20}, Case{"Many", 64, 5}),
                         [](const auto& p) { return std::string(p.param.Name); });

TEST(WorkAhead, AFailureIsThrownByFinishOnceAndTheOthersStillRun) {
  WorkAhead ahead;
  std::atomic<int> ran{0};
  std::vector<std::function<void()>> works;
  works.push_back([] { throw std::runtime_error("work failed"); });
  for (int i = 0; i < 4; ++i) works.push_back([&ran] { ++ran; });
  ahead.Start(std::move(works));
  EXPECT_THROW(ahead.Finish(), std::runtime_error);
  EXPECT_EQ(ran.load(), 4);
  ahead.Start({[&ran] { ++ran; }});
  EXPECT_NO_THROW(ahead.Finish());
  EXPECT_EQ(ran.load(), 5);
}

// A listener that counts what the host asks of it.
class Follower : public RedrawListener {
 public:
  explicit Follower(bool computes) : computes_(computes) {}
  void DiagramRedrawn(const DiagramState&, bool) override { ++told; }
  std::function<void()> ComputeAhead(const DiagramState&) override {
    result = 0;
    if (!computes_) return {};
    return [this] { result = 42; };
  }
  void DropAhead() override { result = -1; }
  int told = 0;
  int result = 0;

 private:
  bool computes_;
};

TEST(DiagramHostAhead, KeptOrDroppedOnlyForThoseThatComputed) {
  struct Row {
    const char* Name;
    bool Keep;
    int Computing, Idle;  // the results then seen
  };
  for (const Row& row : {Row{"Kept", true, 42, 0}, Row{"Dropped", false, -1, 0}}) {
    HeadlessHost host;
    DiagramState s;
    Follower computing(true), idle(false);
    host.AddRedrawListener(&computing);
    host.AddRedrawListener(&idle);
    host.StartAhead(s);
    host.FinishAhead(row.Keep);
    EXPECT_EQ(computing.result, row.Computing) << row.Name;
    EXPECT_EQ(idle.result, row.Idle) << row.Name;
    // Nothing pending: a second finish drops nothing.
    computing.result = 7;
    host.FinishAhead(false);
    EXPECT_EQ(computing.result, 7) << row.Name;
  }
}

TEST(DiagramHostAhead, AHostGivenAnothersListenersFirstDropsItsOwnWork) {
  HeadlessHost host;
  DiagramState s;
  Follower computing(true);
  host.AddRedrawListener(&computing);
  host.StartAhead(s);
  host = HeadlessHost{};
  EXPECT_EQ(computing.result, -1);
  host.NotifyRedrawn(s, true);
  EXPECT_EQ(computing.told, 0);
}

}  // namespace
}  // namespace tv
