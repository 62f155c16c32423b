// Splits a pass over many items into parts run on threads at once. On a
// machine busy with other work each thread gets its own share of the cores,
// so a pass on the refresh's critical path ends sooner split than whole.
#pragma once

#include <cstddef>
#include <functional>

// How many parts a pass over `count` items is split into: four, whatever the
// cores, none smaller than `minimumPerPart` items; at least one, and one
// where the address space is limited.
size_t PartsFor(size_t count, size_t minimumPerPart);

// The items [Begin, End) of part `part` of `parts` over `count` items: the
// parts follow each other in order and differ in size by at most one.
struct TPartRange {
  size_t Begin = 0, End = 0;
};
TPartRange PartRange(size_t count, size_t parts, size_t part);

// Runs work(part) for every part, part 0 on the calling thread and each
// other on a thread of its own, and returns once all have ended. What a part
// threw is thrown here after all have ended (the first part's first).
void RunInParts(size_t parts, const std::function<void(size_t part)>& work);
