// A part of a build that needs nothing the build's thread is making, run on a
// thread of its own beside it. What it made is read after Join, which throws
// what the part threw, on the build's thread as in line; an object left
// without Join waits for the part and drops what it threw.
#pragma once

#include <exception>
#include <functional>
#include <thread>
#include <utility>

class TBesideThread {
 public:
  explicit TBesideThread(std::function<void()> part)
      : thread_([this, part = std::move(part)] {
          try {
            part();
          } catch (...) {
            failure_ = std::current_exception();
          }
        }) {}
  TBesideThread(const TBesideThread&) = delete;
  TBesideThread& operator=(const TBesideThread&) = delete;

  void Join() {
    thread_.join();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  }

 private:
  std::exception_ptr failure_;  // before the thread, which may set it at once
  std::jthread thread_;
};
