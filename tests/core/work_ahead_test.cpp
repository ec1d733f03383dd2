// The second thread's works: all done by Finish, failures handed back, and the host's listeners
// told when to drop what they computed.
#include "core/work_ahead.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "core/diagram_host.h"
#include "core/diagram_state.h"
#include "core/headless_host.h"

namespace tv {
namespace {

TEST(WorkAhead, EveryWorkDoneOnceWhenFinishReturnsAndAFailureThrownThere) {
  struct Round {
    const char* Name;
    int Works;
    bool OneFails;
  };
  const Round rounds[] = {{"none", 0, false},
                          {"one", 1, false},
                          {"several", 7, false},
                          {"one fails", 5, true},
                          {"after it", 64, false}};
  WorkAhead ahead;
  for (const Round& r : rounds) {
    std::vector<int> done(static_cast<std::size_t>(r.Works), 0);
    std::vector<std::function<void()>> works;
    for (std::size_t i = 0; i < done.size(); ++i)
      works.push_back([&done, i, fails = r.OneFails && i == 0] {
        ++done[i];
        if (fails) throw std::runtime_error("work failed");
      });
    ahead.Start(std::move(works));
    if (r.OneFails)
      EXPECT_THROW(ahead.Finish(), std::runtime_error) << r.Name;
    else
      EXPECT_NO_THROW(ahead.Finish()) << r.Name;
    EXPECT_EQ(done, std::vector<int>(done.size(), 1)) << r.Name;
  }
}

// A listener that counts what the host asks of it.
class Follower : public RedrawListener {
 public:
  void DiagramRedrawn(const DiagramState&, bool) override { ++told; }
  std::function<void()> ComputeAhead(const DiagramState&) override {
    result = 0;
    return [this] { result = 42; };
  }
  void DropAhead() override { result = -1; }
  int told = 0;
  int result = 0;
};

TEST(DiagramHostAhead, ResultsKeptOrDroppedOnce) {
  struct Case {
    const char* Name;
    std::function<void(HeadlessHost&)> End;
    int Result;
  };
  const Case cases[] = {
      {"kept", [](HeadlessHost& h) { h.FinishAhead(true); }, 42},
      {"dropped", [](HeadlessHost& h) { h.FinishAhead(false); }, -1},
      // A host given another's listeners first drops its own work.
      {"host assigned anew", [](HeadlessHost& h) { h = HeadlessHost{}; }, -1},
  };
  for (const Case& c : cases) {
    HeadlessHost host;
    DiagramState s;
    Follower follower;
    host.AddRedrawListener(&follower);
    host.StartAhead(s);
    c.End(host);
    EXPECT_EQ(follower.result, c.Result) << c.Name;
    // Nothing pending: a second finish drops nothing.
    follower.result = 7;
    host.FinishAhead(false);
    EXPECT_EQ(follower.result, 7) << c.Name;
  }
}

}  // namespace
}  // namespace tv
