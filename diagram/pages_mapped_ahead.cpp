#include "diagram/pages_mapped_ahead.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace {

// Below this the thread costs more than the faults it saves.
constexpr size_t kSmallestBlock = 8u << 20;
// Mapped a step at a time, so that the thread hears it is no longer wanted.
constexpr size_t kStep = 2u << 20;

}  // namespace

TPagesMappedAhead::TPagesMappedAhead(void* begin, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  if (bytes < kSmallestBlock) return;
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pageSize <= 0) return;
  const auto page = static_cast<std::uintptr_t>(pageSize);
  // Only whole pages inside the block: the caller owns its edges.
  const auto first = (reinterpret_cast<std::uintptr_t>(begin) + page - 1) / page * page;
  const auto last = (reinterpret_cast<std::uintptr_t>(begin) + bytes) / page * page;
  if (last <= first) return;
  thread_ = std::thread([this, first, last] {
    for (std::uintptr_t at = first; at < last && !done_.load(std::memory_order_relaxed); at += kStep) {
      const size_t length = last - at < kStep ? last - at : kStep;
      // The kernel maps the pages writable; it writes nothing the filling
      // thread sees. A kernel without this request says so once: stop.
      if (madvise(reinterpret_cast<void*>(at), length, MADV_POPULATE_WRITE) != 0) return;
    }
  });
#else
  (void)begin;
  (void)bytes;
#endif
}

TPagesMappedAhead::~TPagesMappedAhead() {
  done_.store(true, std::memory_order_relaxed);
  if (thread_.joinable()) thread_.join();
}
