#include "logic/work_in_parts.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

#include <sys/resource.h>

namespace {

// Whether the process's address space is limited. Each thread takes room of
// its own, its stack and a heap of its own the allocator reserves for it
// (64 MiB), which such a limit counts in full: there, a pass is not split.
bool AddressSpaceLimited() {
  rlimit limit{};
  return getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
}

}  // namespace

size_t PartsFor(size_t count, size_t minimumPerPart) {
  // Four parts whatever the cores: on a machine busy with other work each
  // thread gets its own share, so more parts than cores end sooner there,
  // and with the cores free the extra threads cost next to nothing.
  constexpr size_t kParts = 4;
  if (AddressSpaceLimited()) return 1;
  const size_t bySize = minimumPerPart == 0 ? count : count / minimumPerPart;
  return std::max<size_t>(1, std::min(kParts, bySize));
}

TPartRange PartRange(size_t count, size_t parts, size_t part) {
  const size_t base = count / parts, extra = count % parts;
  const size_t begin = part * base + std::min(part, extra);
  return {begin, begin + base + (part < extra ? 1 : 0)};
}

void RunInParts(size_t parts, const std::function<void(size_t part)>& work) {
  std::vector<std::exception_ptr> failures(parts);
  auto run = [&](size_t part) {
    try {
      work(part);
    } catch (...) {
      failures[part] = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(parts > 0 ? parts - 1 : 0);
  try {
    for (size_t part = 1; part < parts; ++part) threads.emplace_back(run, part);
  } catch (...) {
    // No thread to be had: the parts not started run here.
    for (size_t part = threads.size() + 1; part < parts; ++part) run(part);
  }
  if (parts > 0) run(0);
  for (std::thread& thread : threads) thread.join();
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
}
