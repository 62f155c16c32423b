// Has the kernel map the pages of a block just allocated, on a thread of its
// own, while the caller fills the block from its start. A large drawing's
// elements take tens of megabytes, whose first touches (a page fault each,
// the page zeroed) would otherwise all fall on the filling thread, the
// critical one of a refresh. Where the system cannot map pages ahead, or the
// block is small, nothing happens and the filling thread faults as before.
#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

class TPagesMappedAhead {
 public:
  TPagesMappedAhead(void* begin, size_t bytes);
  // Waits for the thread, which stops at its next step.
  ~TPagesMappedAhead();
  TPagesMappedAhead(const TPagesMappedAhead&) = delete;
  TPagesMappedAhead& operator=(const TPagesMappedAhead&) = delete;

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;  // last: starts once the flag exists
};
