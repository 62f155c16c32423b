// The evaluation by rules: forced assumptions in incremental rounds, then the
// pruned depth-first search. See interpretations_engine.h.
#include "evaluation/interpretations_engine.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "evaluation/interpretations_closure.h"
#include "evaluation/interpretations_combine.h"
#include "evaluation/interpretations_sat.h"
#include "evaluation/interpretations_search.h"

TInterpretationEngine::TInterpretationEngine(const TKorvelTheory& theory,
                                             const TEvaluationControl* control)
    : theory_(theory), index_(theory, control) {}

namespace {

const TKorvelTheory& NoTheory() {
  static const TKorvelTheory empty;
  return empty;
}

}  // namespace

TInterpretationEngine::TInterpretationEngine(size_t arguments,
                                             std::span<const std::pair<size_t, size_t>> attacks)
    : theory_(NoTheory()), hasTheory_(false), index_(arguments, attacks) {}

void TInterpretationEngine::RequireTheory() const {
  if (!hasTheory_)
    throw std::logic_error("an engine made from attacks alone has no sentences to list or mark");
}

TEvaluation TInterpretationEngine::Evaluate(size_t limit, TEvaluationControl* control) {
  RequireTheory();
  TEvaluation result;
  // The interpretations name the theory's assumptions by position.
  result.Interpretations = TInterpretationList(theory_.Assumptions);
  const TEnumerationSummary summary = Enumerate(
      limit,
      [&](std::span<const size_t> forced, std::span<const size_t> taken) {
        // The forced part is the same for every interpretation of a run.
        if (result.Interpretations.empty()) result.Interpretations.Add(forced, taken);
        else result.Interpretations.AddWithSameForced(taken);
        return true;
      },
      control);
  result.Cut = summary.Cut;
  if (summary.Stopped) {
    // A stop keeps nothing half-computed.
    result = TEvaluation{};
    result.Stopped = true;
  }
  return result;
}

TEnumerationSummary TInterpretationEngine::Count(size_t limit, TEvaluationControl* control) {
  countOnly_ = true;
  const TEnumerationSummary summary = Enumerate(limit, nullptr, control);
  countOnly_ = false;
  return summary;
}

TEnumerationSummary TInterpretationEngine::FindAny(const TInterpretationSink& sink,
                                                   TEvaluationControl* control) {
  anyOrder_ = true;
  const TEnumerationSummary summary = Enumerate(1, sink, control);
  anyOrder_ = false;
  return summary;
}

TEnumerationSummary TInterpretationEngine::Enumerate(size_t limit, const TInterpretationSink& sink,
                                                     TEvaluationControl* control) {
  control_ = control;
  sink_ = sink ? &sink : nullptr;
  limit_ = limit;
  emitted_ = 0;
  cut_ = false;
  if (!index_.Stopped()) {
    if (index_.Ambiguous()) EvaluateInGroups();
    else EvaluateByRules();
  }
  control_ = nullptr;
  sink_ = nullptr;
  TEnumerationSummary summary{emitted_, cut_, false};
  if (index_.Stopped() || StopRequested(control)) summary = {emitted_, false, true};
  return summary;
}

bool TInterpretationEngine::Emit(std::span<const size_t> forced, const std::vector<size_t>& taken,
                                 bool progress) {
  if (StopRequested(control_)) return false;
  if (progress && control_ != nullptr && raw_ == nullptr)
    control_->InterpretationsFound.fetch_add(1, std::memory_order_relaxed);
  if (emitted_ == limit_) {
    cut_ = true;
    return false;
  }
  ++emitted_;
  if (raw_ != nullptr) {
    raw_->Choices.push_back(taken);
    return true;
  }
  return sink_ == nullptr || (*sink_)(forced, taken);
}

void TInterpretationEngine::CountParts(
    const std::vector<std::vector<size_t>>& parts,
    const std::function<void(const std::vector<size_t>&,
                             const std::function<bool(const std::vector<size_t>&)>&)>& searchPart) {
  // Each part needs counting only up to limit + 1: the product is then past the limit.
  const size_t kept = limit_ == static_cast<size_t>(-1) ? limit_ : limit_ + 1;
  size_t product = 1;
  for (const auto& part : parts) {
    size_t count = 0;
    searchPart(part, [&](const std::vector<size_t>&) { return ++count < kept; });
    if (count == 0 || StopRequested(control_)) return;
    product = product > static_cast<size_t>(-1) / count ? static_cast<size_t>(-1) : product * count;
  }
  if (control_ != nullptr)
    control_->InterpretationsFound.fetch_add(std::min(product, kept), std::memory_order_relaxed);
  emitted_ = std::min(product, limit_);
  cut_ = product > limit_;
}


// Groups the undetermined positions into parts that cannot influence each
// other: texts are joined through every rule (its conditional, conjuncts and
// consequent) and every text/negation pair, leaving out the texts the forced
// assumptions already bring in, which are present in every candidate; and
// every undetermined assumption is joined with its negation.
std::vector<std::vector<size_t>> TInterpretationEngine::IndependentParts(
    const std::vector<size_t>& undetermined, const TIncrementalClosure& forcedClosure) const {
  std::vector<int> parent(index_.TextCount());
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
  for (const TClosureRule& rule : index_.Rules()) {
    join(rule.Conditional, rule.Consequent);
    for (int c : rule.Conjuncts) join(rule.Conditional, c);
    // A present conditional still ties its conjuncts to its consequent.
    for (int c : rule.Conjuncts) join(c, rule.Consequent);
    if (!rule.Conjuncts.empty())
      for (int c : rule.Conjuncts) join(rule.Conjuncts.front(), c);
  }
  for (size_t id = 0; id < parent.size(); ++id)
    join(static_cast<int>(id), index_.Negation(static_cast<int>(id)));
  // An assumption left out must be defeated: it depends on whatever can
  // derive its negation, even when its own text is always present.
  for (size_t pos : undetermined) {
    const int id = index_.AssumptionIds()[pos];
    joinAlways(id, index_.Negation(id));
  }
  std::vector<std::vector<size_t>> parts;
  std::vector<int> partOfRoot(parent.size(), -1);
  for (size_t pos : undetermined) {
    const size_t root = static_cast<size_t>(find(index_.AssumptionIds()[pos]));
    if (partOfRoot[root] < 0) {
      partOfRoot[root] = static_cast<int>(parts.size());
      parts.emplace_back();
    }
    parts[static_cast<size_t>(partOfRoot[root])].push_back(pos);
  }
  return parts;
}

void TInterpretationEngine::EvaluateByRules() {
  const std::vector<int>& ids = index_.AssumptionIds();
  const size_t textCount = index_.TextCount();
  // The positions of each assumption text, as a list threaded through an array.
  constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<size_t> firstPosition(textCount, kNone), nextPosition(ids.size(), kNone);
  for (size_t pos = ids.size(); pos-- > 0;) {
    nextPosition[pos] = firstPosition[static_cast<size_t>(ids[pos])];
    firstPosition[static_cast<size_t>(ids[pos])] = pos;
  }

  // --- forced assumptions, round by round
  TIncrementalClosure admitted(index_, true);     // closure of the forced ones
  TIncrementalClosure undefeated(index_, false);  // closure of those they leave undefeated
  for (int id : ids) undefeated.AddBase(id);
  std::vector<char> isForced(textCount, 0);
  std::vector<size_t> forcedPositions, forcedRounds;
  size_t round = 0;
  std::vector<size_t> candidates(ids.size());
  for (size_t pos = 0; pos < ids.size(); ++pos) candidates[pos] = pos;
  std::vector<int> lost;
  for (;;) {
    if (StopRequested(control_)) return;
    std::sort(candidates.begin(), candidates.end());
    std::vector<int> admittedNow;
    for (size_t pos : candidates) {
      const int id = ids[pos];
      if (isForced[static_cast<size_t>(id)] || undefeated.ContainsNegationOf(id)) continue;
      isForced[static_cast<size_t>(id)] = 1;
      forcedPositions.push_back(pos);
      forcedRounds.push_back(round);
      admittedNow.push_back(id);
    }
    if (admittedNow.empty()) break;
    ++round;
    const size_t mark = admitted.Mark();
    for (int id : admittedNow) admitted.AddBase(id);
    // Assumptions now defeated leave the undefeated set; assumptions whose
    // negation thereby left its closure are the next round's candidates.
    lost.clear();
    for (int fact : admitted.EnteredSince(mark)) {
      const int defeated = index_.Negated(fact);
      if (defeated < 0) continue;
      for (size_t pos = firstPosition[static_cast<size_t>(defeated)]; pos != kNone;
           pos = nextPosition[pos])
        undefeated.RemoveBase(ids[pos], &lost);
    }
    candidates.clear();
    for (int fact : lost) {
      const int freed = index_.Negated(fact);
      if (freed < 0) continue;
      for (size_t pos = firstPosition[static_cast<size_t>(freed)]; pos != kNone;
           pos = nextPosition[pos])
        candidates.push_back(pos);
    }
  }

  if (!admitted.IsConsistent()) return;

  // --- undetermined: neither forced nor defeated by the forced ones
  std::vector<size_t> undetermined;
  for (size_t pos = 0; pos < ids.size(); ++pos) {
    const int id = ids[pos];
    if (!isForced[static_cast<size_t>(id)] && !admitted.ContainsNegationOf(id))
      undetermined.push_back(pos);
  }
  if (raw_ != nullptr) {
    raw_->Forced = forcedPositions;
    raw_->ForcedRounds = forcedRounds;
    raw_->Undetermined = undetermined;
  }

  // --- search. `admitted` is the lower bound (forced + taken), `undefeated`
  // the upper bound (forced + taken + not yet decided).
  TUndeterminedSearch search(index_, ids, admitted, undefeated, control_);
  if (strategy_ != TSearchStrategy::DepthFirst) search.SetBudget(stepBudget_, timeBudget_);
  TSatPartSearch learning(index_, ids, admitted, control_);
  using TAccept = std::function<bool(const std::vector<size_t>&)>;
  // A part is searched depth first while that keeps finding choices (small
  // parts, chains, ladders); once the depth-first search spends its step
  // budget among dead ends, the learning search goes on after the last
  // choice it found.
  std::vector<size_t> last;
  std::chrono::nanoseconds partTimeBudget = timeBudget_;
  auto searchPart = [&](const std::vector<size_t>& positions, const TAccept& accept) {
    bool found = false;
    if (strategy_ != TSearchStrategy::Learning) {
      const bool ended = search.Run(positions, [&](const std::vector<size_t>& taken) {
        last = taken;
        found = true;
        return accept(taken);
      });
      if (ended || !search.BudgetSpent()) return;
      // Parts alike in shape are often alike in difficulty: each hand-over
      // halves the time the next parts get depth first (down to a tenth).
      partTimeBudget = std::max(partTimeBudget / 2, timeBudget_ / 10);
      search.SetBudget(stepBudget_, partTimeBudget);
    }
    learning.Run(positions, accept, found ? &last : nullptr);
  };
  auto emit = [&](const std::vector<size_t>& taken) { return Emit(forcedPositions, taken, true); };
  const std::vector<std::vector<size_t>> parts = IndependentParts(undetermined, admitted);
  if (anyOrder_ && raw_ == nullptr) {
    // One choice per part, found in the solver's own order, together.
    std::vector<size_t> taken, choice;
    for (const auto& part : parts) {
      if (learning.Any(part, choice) <= 0) return;
      taken.insert(taken.end(), choice.begin(), choice.end());
    }
    std::sort(taken.begin(), taken.end());
    Emit(forcedPositions, taken, true);
    return;
  }
  if (parts.size() <= 1) {
    searchPart(undetermined, emit);
    return;
  }
  if (countOnly_ && raw_ == nullptr) return CountParts(parts, searchPart);
  // Independent parts are searched one by one; if one has no choice that
  // works, nothing does. Otherwise their choices are combined in counter order.
  // Under a large limit a part may have more choices than are worth keeping
  // (millions, of which the combination needs every one before its first
  // interpretation); past the budget the parts are only checked for a choice
  // each, and one search over all undetermined assumptions together gives the
  // same interpretations in the same order, each as soon as it is found.
  const size_t kept = limit_ == static_cast<size_t>(-1) ? limit_ : limit_ + 1;
  const size_t budget = limit_ >= kKeepAllChoicesBelow ? keptChoicesBudget_ : static_cast<size_t>(-1);
  size_t stored = 0;
  bool overBudget = false;
  std::vector<TPartChoices> choices(parts.size());
  for (size_t c = 0; c < parts.size(); ++c) {
    choices[c].Positions = parts[c];
    if (overBudget) {
      bool some = false;
      searchPart(parts[c], [&](const std::vector<size_t>&) {
        some = true;
        return false;
      });
      if (!some || StopRequested(control_)) return;
      continue;
    }
    const size_t choiceBytes = kChoiceBytes + parts[c].size() / 8;
    searchPart(parts[c], [&](const std::vector<size_t>& taken) {
      stored += choiceBytes;
      if (stored > budget) {
        overBudget = true;
        return false;
      }
      choices[c].Add(taken);
      return choices[c].Count() < kept;
    });
    if ((choices[c].Count() == 0 && !overBudget) || StopRequested(control_)) return;
  }
  if (overBudget) {
    choices.clear();
    searchPart(undetermined, emit);
    return;
  }
  CombineInCounterOrder(undetermined, choices, emit);
}
