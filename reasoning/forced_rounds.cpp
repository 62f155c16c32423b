#include "reasoning/forced_rounds.h"

#include <algorithm>

TForcedSplit SplitForced(const TTheoryIndex& index, TIncrementalClosure& admitted,
                         TIncrementalClosure& undefeated, const TEvaluationControl* control) {
  const std::vector<int>& ids = index.AssumptionIds();
  const size_t textCount = index.TextCount();
  // The positions of each assumption text, as a list threaded through an array.
  constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<size_t> firstPosition(textCount, kNone), nextPosition(ids.size(), kNone);
  for (size_t pos = ids.size(); pos-- > 0;) {
    nextPosition[pos] = firstPosition[static_cast<size_t>(ids[pos])];
    firstPosition[static_cast<size_t>(ids[pos])] = pos;
  }
  auto forEachPositionOf = [&](int text, auto&& visit) {
    for (size_t pos = firstPosition[static_cast<size_t>(text)]; pos != kNone;
         pos = nextPosition[pos])
      visit(pos);
  };

  TForcedSplit split;
  for (int id : ids) undefeated.AddBase(id);
  std::vector<char> isForced(textCount, 0);
  std::vector<size_t> candidates(ids.size());
  for (size_t pos = 0; pos < ids.size(); ++pos) candidates[pos] = pos;
  std::vector<int> lost, admittedNow;
  for (size_t round = 0;; ++round) {
    if (StopRequested(control)) {
      split.Stopped = true;
      return split;
    }
    std::sort(candidates.begin(), candidates.end());
    admittedNow.clear();
    for (size_t pos : candidates) {
      const int id = ids[pos];
      if (isForced[static_cast<size_t>(id)] || undefeated.ContainsNegationOf(id)) continue;
      isForced[static_cast<size_t>(id)] = 1;
      split.Forced.push_back(pos);
      split.ForcedRounds.push_back(round);
      admittedNow.push_back(id);
    }
    if (admittedNow.empty()) break;
    const size_t mark = admitted.Mark();
    for (int id : admittedNow) admitted.AddBase(id);
    // Assumptions now defeated leave the undefeated set; assumptions whose
    // negation thereby left its closure are the next round's candidates.
    lost.clear();
    for (int fact : admitted.EnteredSince(mark)) {
      const int defeated = index.Negated(fact);
      if (defeated >= 0)
        forEachPositionOf(defeated, [&](size_t pos) { undefeated.RemoveBase(ids[pos], &lost); });
    }
    candidates.clear();
    for (int fact : lost) {
      const int freed = index.Negated(fact);
      if (freed >= 0) forEachPositionOf(freed, [&](size_t pos) { candidates.push_back(pos); });
    }
  }
  split.Consistent = admitted.IsConsistent();
  if (!split.Consistent) return split;
  // Further copies of a forced text are neither: its text is in every closure.
  for (size_t pos = 0; pos < ids.size(); ++pos) {
    const int id = ids[pos];
    if (!isForced[static_cast<size_t>(id)] && !admitted.ContainsNegationOf(id))
      split.Undetermined.push_back(pos);
  }
  return split;
}
