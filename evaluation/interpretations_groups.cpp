// An ambiguous theory evaluated group by group, so that the exhaustive
// object-by-object evaluation covers only the assumptions that ambiguous
// texts touch. See interpretations_engine.h.
//
// The groups are those of text_groups.h, which share no text; the closure
// of a list restricted to one group is the closure of its members there.
// Hence every step of the evaluation splits by groups: a group admits in its
// round r of forcing exactly what the whole theory admits of it in round r,
// the undetermined assumptions are those of the groups, and a choice is
// accepted exactly when each group's part of it is. The interpretations are
// the groups' choices combined in counter order, each with the forced
// assumptions of all groups ordered by round and then by theory order, as the
// whole theory finds them.
#include <algorithm>
#include <numeric>

#include "evaluation/interpretations_combine.h"
#include "evaluation/interpretations_engine.h"
#include "reasoning/text_groups.h"

void TInterpretationEngine::EvaluateRaw(size_t limit, TRawEvaluation& raw,
                                        TEvaluationControl* control) {
  control_ = control;
  raw_ = &raw;
  limit_ = limit;
  emitted_ = 0;
  cut_ = false;
  if (index_.Ambiguous()) EvaluateObjectByObject();
  else EvaluateByRules();
  raw_ = nullptr;
  control_ = nullptr;
}

void TInterpretationEngine::EvaluateInGroups() {
  std::vector<std::vector<size_t>> groups = GroupsBySharedTexts(theory_);
  // The groups whose own texts are unambiguous go together to the engine by
  // rules (which splits them again into independent parts); each of the
  // others is evaluated object by object on its own.
  std::vector<std::vector<size_t>> units;
  std::vector<size_t> byRules;
  for (auto& group : groups) {
    if (groups.size() > 1 && !TTheoryIndex(SubTheory(theory_, group)).Ambiguous())
      byRules.insert(byRules.end(), group.begin(), group.end());
    else
      units.push_back(std::move(group));
  }
  if (units.size() == 1 && byRules.empty()) return EvaluateObjectByObject();
  if (!byRules.empty()) {
    std::sort(byRules.begin(), byRules.end());
    units.push_back(std::move(byRules));
  }

  // Each unit's forced assumptions, undetermined ones and choices, by
  // positions of the whole theory. A unit without a choice leaves none.
  const size_t kept = limit_ == static_cast<size_t>(-1) ? limit_ : limit_ + 1;
  std::vector<size_t> forced, forcedRound, undetermined;
  std::vector<TPartChoices> choices(units.size());
  for (size_t u = 0; u < units.size(); ++u) {
    const TKorvelTheory sub = SubTheory(theory_, units[u]);
    TInterpretationEngine engine(sub);
    engine.SetStrategy(strategy_);
    engine.SetBudget(stepBudget_, timeBudget_);
    engine.SetAskBudget(askBudget_);
    TRawEvaluation raw;
    engine.EvaluateRaw(kept, raw, control_);
    if (raw.Choices.empty() || StopRequested(control_)) return;
    const std::vector<size_t>& global = units[u];
    for (size_t k = 0; k < raw.Forced.size(); ++k) {
      forced.push_back(global[raw.Forced[k]]);
      forcedRound.push_back(raw.ForcedRounds[k]);
    }
    for (size_t pos : raw.Undetermined) choices[u].Positions.push_back(global[pos]);
    undetermined.insert(undetermined.end(), choices[u].Positions.begin(),
                        choices[u].Positions.end());
    std::vector<size_t> taken;
    for (const auto& choice : raw.Choices) {
      taken.clear();
      for (size_t pos : choice) taken.push_back(global[pos]);
      choices[u].Add(taken);
    }
  }
  std::sort(undetermined.begin(), undetermined.end());
  // The forced ones round by round, in theory order within a round.
  std::vector<size_t> order(forced.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return forcedRound[a] != forcedRound[b] ? forcedRound[a] < forcedRound[b]
                                            : forced[a] < forced[b];
  });
  std::vector<size_t> forcedInOrder;
  for (size_t k : order) forcedInOrder.push_back(forced[k]);

  CombineInCounterOrder(undetermined, choices, [&](const std::vector<size_t>& taken) {
    return Emit(forcedInOrder, taken, true);
  });
}
