#include "evaluation/interpretations_combine.h"

#include <algorithm>

void CombineInCounterOrder(const std::vector<size_t>& positions,
                           const std::vector<TPartChoices>& parts,
                           const std::function<bool(const std::vector<size_t>&)>& emit) {
  std::vector<size_t> partOf(positions.empty() ? 0 : positions.back() + 1), localOf(partOf.size());
  for (size_t c = 0; c < parts.size(); ++c)
    for (size_t j = 0; j < parts[c].Positions.size(); ++j) {
      partOf[parts[c].Positions[j]] = c;
      localOf[parts[c].Positions[j]] = j;
    }
  std::vector<size_t> low(parts.size(), 0), high(parts.size());
  for (size_t c = 0; c < parts.size(); ++c) high[c] = parts[c].Count();
  struct TFrame {
    size_t Depth;
    int Stage;
    size_t Low, High;
  };
  std::vector<TFrame> stack{{0, 0, 0, 0}};
  std::vector<size_t> taken;
  while (!stack.empty()) {
    TFrame& frame = stack.back();
    if (frame.Depth == positions.size()) {
      if (!emit(taken)) return;
      stack.pop_back();
      continue;
    }
    const size_t pos = positions[frame.Depth];
    const size_t c = partOf[pos], j = localOf[pos];
    if (frame.Stage == 0) {
      frame.Low = low[c];
      frame.High = high[c];
    } else {
      low[c] = frame.Low;
      high[c] = frame.High;
    }
    // Choices in range agree before j and are sorted, so those leaving j out come first.
    const auto& bits = parts[c].Bits;
    const size_t split = static_cast<size_t>(
        std::partition_point(bits.begin() + static_cast<long>(low[c]),
                             bits.begin() + static_cast<long>(high[c]),
                             [j](const std::vector<bool>& b) { return !b[j]; }) -
        bits.begin());
    if (frame.Stage == 0) {
      frame.Stage = 1;
      if (split > low[c]) {
        high[c] = split;
        stack.push_back({frame.Depth + 1, 0, 0, 0});
      }
    } else if (frame.Stage == 1) {
      frame.Stage = 2;
      if (split < high[c]) {
        low[c] = split;
        taken.push_back(pos);
        stack.push_back({frame.Depth + 1, 0, 0, 0});
      } else {
        stack.pop_back();
      }
    } else {
      taken.pop_back();
      stack.pop_back();
    }
  }
}

