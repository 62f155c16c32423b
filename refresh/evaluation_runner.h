// How the document has an evaluation run away from its own thread. The
// desktop runs jobs on a thread pool and reports back through the event loop;
// tests run them when and in whatever order they choose.
#pragma once

#include <functional>

class TEvaluationRunner {
 public:
  virtual ~TEvaluationRunner() = default;
  // Runs `job` on another thread; once it has returned, `finished` is called
  // on the thread that owns the runner, from its event loop. A runner that is
  // destroyed waits for its jobs and then calls no `finished` any more.
  virtual void Start(std::function<void()> job, std::function<void()> finished) = 0;
};
