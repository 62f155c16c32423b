// The channel between a running evaluation and whoever waits for it, usually
// on another thread: a stop request, and progress counters the evaluation
// updates as it goes. Reading and writing are lock-free and safe across
// threads; counters are approximate while the evaluation runs.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

class TEvaluationControl {
 public:
  // Asks the evaluation to end as soon as it can. It then returns a result
  // with Stopped set and no interpretation in it.
  void RequestStop() noexcept { stop_.store(true, std::memory_order_relaxed); }
  bool StopRequested() const noexcept { return stop_.load(std::memory_order_relaxed); }

  // Progress, written by the evaluation.
  std::atomic<size_t> InterpretationsFound{0};
  std::atomic<uint64_t> Decisions{0};
  std::atomic<uint64_t> Conflicts{0};

 private:
  std::atomic<bool> stop_{false};
};

// True when `control` is given and asks to stop.
inline bool StopRequested(const TEvaluationControl* control) noexcept {
  return control != nullptr && control->StopRequested();
}
