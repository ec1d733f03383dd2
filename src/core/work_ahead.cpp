// A second thread for the following windows' numbers, computed while the main picture is drawn.
#include "core/work_ahead.h"

#include <utility>

namespace tv {

WorkAhead::~WorkAhead() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    queue_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void WorkAhead::Start(std::vector<std::function<void()>> works) {
  {
    std::lock_guard lock(mutex_);
    for (auto& w : works)
      if (w) queue_.push_back(std::move(w));
    if (queue_.empty()) return;
  }
  if (!thread_.joinable()) thread_ = std::thread([this] { Loop(); });
  wake_.notify_one();
}

std::function<void()> WorkAhead::Next() {
  std::function<void()> work;
  if (!queue_.empty()) {
    work = std::move(queue_.front());
    queue_.pop_front();
    ++running_;
  }
  return work;
}

void WorkAhead::Run(std::function<void()>& work) {
  std::exception_ptr failed;
  try {
    work();
  } catch (...) {
    failed = std::current_exception();
  }
  work = nullptr;  // what it captured goes before it is counted done
  std::lock_guard lock(mutex_);
  if (failed && !failure_) failure_ = failed;
  if (--running_ == 0 && queue_.empty()) idle_.notify_all();
}

void WorkAhead::Loop() {
  for (;;) {
    std::function<void()> work;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (stop_) return;
      work = Next();
    }
    Run(work);
  }
}

void WorkAhead::Finish() {
  for (;;) {
    std::function<void()> work;
    {
      std::lock_guard lock(mutex_);
      work = Next();
    }
    if (!work) break;
    Run(work);
  }
  std::exception_ptr failed;
  {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return running_ == 0 && queue_.empty(); });
    failed = std::exchange(failure_, nullptr);
  }
  if (failed) std::rethrow_exception(failed);
}

}  // namespace tv
