#include "reasoning/independent_parts.h"

std::vector<std::vector<size_t>> IndependentParts(const TTheoryIndex& index,
                                                  const std::vector<size_t>& undetermined,
                                                  const TIncrementalClosure& forcedClosure) {
  std::vector<int> parent(index.TextCount());
  for (size_t id = 0; id < parent.size(); ++id) parent[id] = static_cast<int>(id);
  auto find = [&parent](int id) {
    while (parent[static_cast<size_t>(id)] != id) {
      parent[static_cast<size_t>(id)] =
          parent[static_cast<size_t>(parent[static_cast<size_t>(id)])];
      id = parent[static_cast<size_t>(id)];
    }
    return id;
  };
  auto joinAlways = [&](int a, int b) {
    if (a >= 0 && b >= 0) parent[static_cast<size_t>(find(a))] = find(b);
  };
  auto join = [&](int a, int b) {
    if (a >= 0 && b >= 0 && !forcedClosure.Contains(a) && !forcedClosure.Contains(b))
      joinAlways(a, b);
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
  for (size_t id = 0; id < parent.size(); ++id)
    join(static_cast<int>(id), index.Negation(static_cast<int>(id)));
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
