#include "acceptance/forced_split.h"

#include <algorithm>

TForcedSplit SplitForced(const TTheoryIndex& index, TIncrementalClosure& admitted,
                         const TEvaluationControl* control) {
  const std::vector<int>& ids = index.AssumptionIds();
  const size_t textCount = index.TextCount();
  // The positions of each assumption text, threaded through an array.
  constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<size_t> firstPosition(textCount, kNone), nextPosition(ids.size(), kNone);
  for (size_t pos = ids.size(); pos-- > 0;) {
    nextPosition[pos] = firstPosition[static_cast<size_t>(ids[pos])];
    firstPosition[static_cast<size_t>(ids[pos])] = pos;
  }
  auto forEachPositionOf = [&](int text, auto&& visit) {
    for (size_t pos = firstPosition[static_cast<size_t>(text)]; pos != kNone; pos = nextPosition[pos])
      visit(pos);
  };

  TForcedSplit split;
  // `admitted` only grows; the closure of what it leaves undefeated only
  // shrinks, and a round's admissions are the assumptions whose negation has
  // just left that closure.
  TIncrementalClosure undefeated(index, false);
  for (int id : ids) undefeated.AddBase(id);
  std::vector<char> isForced(textCount, 0);
  std::vector<size_t> candidates(ids.size());
  for (size_t pos = 0; pos < ids.size(); ++pos) candidates[pos] = pos;
  std::vector<int> lost, admittedNow;
  for (;;) {
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
      admittedNow.push_back(id);
    }
    if (admittedNow.empty()) break;
    const size_t mark = admitted.Mark();
    for (int id : admittedNow) admitted.AddBase(id);
    lost.clear();
    for (int fact : admitted.EnteredSince(mark)) {
      const int defeated = index.Negated(fact);
      if (defeated >= 0) forEachPositionOf(defeated, [&](size_t pos) { undefeated.RemoveBase(ids[pos], &lost); });
    }
    candidates.clear();
    for (int fact : lost) {
      const int freed = index.Negated(fact);
      if (freed >= 0) forEachPositionOf(freed, [&](size_t pos) { candidates.push_back(pos); });
    }
  }
  // Further copies of a forced text are neither: its text is in every closure.
  for (size_t pos = 0; pos < ids.size(); ++pos) {
    const int id = ids[pos];
    if (!isForced[static_cast<size_t>(id)] && !admitted.ContainsNegationOf(id))
      split.Undetermined.push_back(pos);
  }
  split.Consistent = admitted.IsConsistent();
  return split;
}

std::vector<std::vector<size_t>> IndependentParts(const TTheoryIndex& index,
                                                  const std::vector<size_t>& undetermined,
                                                  const TIncrementalClosure& forcedClosure) {
  std::vector<int> parent(index.TextCount());
  for (size_t id = 0; id < parent.size(); ++id) parent[id] = static_cast<int>(id);
  auto find = [&parent](int id) {
    while (parent[static_cast<size_t>(id)] != id) {
      parent[static_cast<size_t>(id)] = parent[static_cast<size_t>(parent[static_cast<size_t>(id)])];
      id = parent[static_cast<size_t>(id)];
    }
    return id;
  };
  auto joinAlways = [&](int a, int b) {
    if (a >= 0 && b >= 0) parent[static_cast<size_t>(find(a))] = find(b);
  };
  auto join = [&](int a, int b) {
    if (a >= 0 && b >= 0 && !forcedClosure.Contains(a) && !forcedClosure.Contains(b)) joinAlways(a, b);
  };
  for (const TClosureRule& rule : index.Rules()) {
    join(rule.Conditional, rule.Consequent);
    for (int c : rule.Conjuncts) {
      join(rule.Conditional, c);
      // A present conditional still ties its conjuncts to its consequent.
      join(c, rule.Consequent);
      join(rule.Conjuncts.front(), c);
    }
  }
  for (size_t id = 0; id < parent.size(); ++id) join(static_cast<int>(id), index.Negation(static_cast<int>(id)));
  // An assumption left out must be defeated: it depends on whatever can
  // derive its negation, even when its own text is always present.
  for (size_t pos : undetermined) {
    const int id = index.AssumptionIds()[pos];
    joinAlways(id, index.Negation(id));
  }
  std::vector<std::vector<size_t>> parts;
  std::vector<int> partOfRoot(parent.size(), -1);
  for (size_t pos : undetermined) {
    const size_t root = static_cast<size_t>(find(index.AssumptionIds()[pos]));
    if (partOfRoot[root] < 0) {
      partOfRoot[root] = static_cast<int>(parts.size());
      parts.emplace_back();
    }
    parts[static_cast<size_t>(partOfRoot[root])].push_back(pos);
  }
  return parts;
}
