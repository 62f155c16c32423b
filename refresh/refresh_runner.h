// How the document builds a refresh's new state away from the thread that
// shows it. The desktop runs the job on a worker thread and keeps its window
// answering meanwhile; without a runner the job runs in line, as in korvel
// and the widget-free tests.
#pragma once

#include <functional>
#include <memory>

#include "refresh/refresh_progress.h"

class TRefreshRunner {
 public:
  virtual ~TRefreshRunner() = default;
  // Runs `job` on another thread and returns true once it has returned; or
  // false as soon as `progress` asks to stop, without waiting for the job,
  // which then runs out on its own thread (it owns what it uses) and whose
  // work is thrown away. The calling thread goes on serving its user, who
  // sees the progress, until then.
  virtual bool Run(std::function<void()> job, const std::shared_ptr<TRefreshProgress>& progress) = 0;
  // Lets go of a replaced state on another thread, so that freeing it costs
  // the caller nothing; by default it is let go of at once.
  virtual void Release(std::shared_ptr<const void> replaced) { replaced.reset(); }
};
