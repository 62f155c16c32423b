// The evaluation by rules: the forced rounds and independent parts of the
// kernel, then each part searched depth first or by learning. See
// interpretations_engine.h.
#include "evaluation/interpretations_engine.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "reasoning/forced_rounds.h"
#include "reasoning/independent_parts.h"
#include "reasoning/interpretations_closure.h"
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
  bool past = false;  // the product is past what size_t holds, so past any limit
  for (const auto& part : parts) {
    size_t count = 0;
    searchPart(part, [&](const std::vector<size_t>&) { return ++count < kept; });
    if (count == 0 || StopRequested(control_)) return;
    past = past || product > static_cast<size_t>(-1) / count;
    product = past ? static_cast<size_t>(-1) : product * count;
  }
  if (control_ != nullptr)
    control_->InterpretationsFound.fetch_add(std::min(product, kept), std::memory_order_relaxed);
  emitted_ = std::min(product, limit_);
  cut_ = past || product > limit_;
}

void TInterpretationEngine::EvaluateByRules() {
  TIncrementalClosure admitted(index_, true);     // closure of the forced ones
  TIncrementalClosure undefeated(index_, false);  // closure of those they leave undefeated
  const TForcedSplit split = SplitForced(index_, admitted, undefeated, control_);
  if (split.Stopped || !split.Consistent) return;
  const std::vector<size_t>& forcedPositions = split.Forced;
  const std::vector<size_t>& undetermined = split.Undetermined;
  if (raw_ != nullptr) {
    raw_->Forced = split.Forced;
    raw_->ForcedRounds = split.ForcedRounds;
    raw_->Undetermined = split.Undetermined;
  }

  // --- search. `admitted` is the lower bound (forced + taken), `undefeated`
  // the upper bound (forced + taken + not yet decided).
  TUndeterminedSearch search(index_, index_.AssumptionIds(), admitted, undefeated, control_);
  if (strategy_ != TSearchStrategy::DepthFirst) search.SetBudget(stepBudget_, timeBudget_);
  TSatPartSearch learning(index_, admitted, control_);
  if (askBudget_ != static_cast<uint64_t>(-1)) learning.SetAskBudget(askBudget_);
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
  const std::vector<std::vector<size_t>> parts = IndependentParts(index_, undetermined, admitted);
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
