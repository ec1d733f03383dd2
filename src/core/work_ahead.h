// A second thread for the following windows' numbers, computed while the main picture is drawn.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tv {

// Works handed over together and all done by Finish: the thread, started
// with the first, takes them in their order; Finish runs on the caller's
// thread those it has not begun, then waits for the one it is on. A held
// arrow's step thus computes the windows' numbers on the second core while
// the first draws the picture.
class WorkAhead {
 public:
  WorkAhead() = default;
  WorkAhead(const WorkAhead&) = delete;
  WorkAhead& operator=(const WorkAhead&) = delete;
  ~WorkAhead();

  void Start(std::vector<std::function<void()>> works);
  // Every work done when it returns; the first exception a work threw is
  // thrown again here.
  void Finish();

 private:
  void Loop();
  // Takes the next work under the lock; empty when there is none.
  std::function<void()> Next();
  void Run(std::function<void()>& work);

  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::deque<std::function<void()>> queue_;
  int running_ = 0;  // works begun and not finished
  bool stop_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace tv
