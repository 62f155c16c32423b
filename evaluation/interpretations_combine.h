// The choices of independent parts of the undetermined assumptions, and
// their combination in the order of the binary counter over all positions.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

// The accepted choices of one independent part, in the order found: bit j of
// a choice tells whether the part's j-th position is taken in.
struct TPartChoices {
  std::vector<size_t> Positions;
  std::vector<std::vector<bool>> Bits;
  size_t Count() const { return Bits.size(); }
  void Add(const std::vector<size_t>& taken) {
    std::vector<bool> bits(Positions.size(), false);
    size_t j = 0;
    for (size_t pos : taken) {
      while (Positions[j] != pos) ++j;
      bits[j] = true;
    }
    Bits.push_back(std::move(bits));
  }
};

// Walks all positions in counter order, keeping for each part the range of
// its choices that agree with the decisions made so far. Every range stays
// non-empty, so every leaf is an interpretation and no branch is wasted.
// Each part's choices must come in counter order over its own positions.
// `emit` gets the positions taken in and answers whether to go on.
void CombineInCounterOrder(const std::vector<size_t>& positions,
                           const std::vector<TPartChoices>& parts,
                           const std::function<bool(const std::vector<size_t>&)>& emit);
