#include "acceptance/acceptance.h"

#include <algorithm>
#include <unordered_map>

#include "acceptance/acceptance_units.h"
#include "acceptance/part_consequences.h"
#include "acceptance/part_solver.h"
#include "reasoning/forced_rounds.h"
#include "reasoning/independent_parts.h"
#include "reasoning/interpretations_closure.h"
#include "reasoning/text_groups.h"

void AnswerByRules(const TTheoryIndex& index, const std::vector<size_t>& global,
                   TUnitAnswers& answers, TAcceptanceControl* control) {
  TIncrementalClosure admitted(index, true), undefeated(index, false);
  const TForcedSplit split = SplitForced(index, admitted, undefeated, control);
  if (split.Stopped) {
    answers.Stopped = true;
    return;
  }
  if (!split.Consistent) {
    answers.NoInterpretation = true;
    return;
  }
  for (size_t pos : split.Forced) answers.Forced.push_back(global[pos]);

  // The queries by text id: present always, or to be asked of their part.
  std::vector<int> queryOf(index.TextCount(), -1);
  size_t settled = 0;
  for (size_t q = 0; q < answers.Queries.size(); ++q) {
    if (answers.Touched[q]) continue;
    const int id = index.Find(answers.Queries[q]);
    if (id >= 0 && admitted.Contains(id)) answers.Presence[q].Always = true;
    else if (id >= 0) queryOf[static_cast<size_t>(id)] = static_cast<int>(q);
  }
  std::vector<int> partTexts, partQueries;
  for (const std::vector<size_t>& part : IndependentParts(index, split.Undetermined, admitted)) {
    TPartSolver solver(index, admitted, part, control, answers.ConflictBudget);
    partTexts.clear();
    partQueries.clear();
    for (int text : solver.VaryingTexts()) {
      const int q = queryOf[static_cast<size_t>(text)];
      if (q < 0) continue;
      partTexts.push_back(text);
      partQueries.push_back(q);
    }
    const TPartConsequences answer =
        PartConsequences(solver, partTexts, answers.Count ? answers.CountLimit : 0, control);
    if (answer.Stopped || solver.Stopped()) {
      answers.Stopped = true;
      return;
    }
    if (!answer.HasChoice) {
      answers.NoInterpretation = true;
      return;
    }
    const int unit = static_cast<int>(answers.Choices.size());
    auto& choices = answers.Choices.emplace_back();
    for (const auto& model : answer.Models) {
      auto& choice = choices.emplace_back();
      for (size_t pos : model) choice.push_back(global[pos]);
    }
    for (size_t k = 0; k < partQueries.size(); ++k) {
      TPresence& presence = answers.Presence[static_cast<size_t>(partQueries[k])];
      presence.Unit = unit;
      presence.PresentIn = answer.PresentIn[k];
      presence.AbsentIn = answer.AbsentIn[k];
    }
    answers.MultiplyCount(answer.Count, answer.CountKnown);
  }
  // The texts no part varies: present in every closure or in none.
  for (size_t q = 0; q < answers.Queries.size(); ++q)
    if (!answers.Touched[q] && answers.Presence[q].Unit < 0) ++settled;
  if (control != nullptr) control->TextsSettled.fetch_add(settled, std::memory_order_relaxed);
}

namespace {

// Every unit of the theory answers the queries.
void AnswerUnits(const TKorvelTheory& theory, TUnitAnswers& answers, TAcceptanceControl* control) {
  const TTheoryIndex index(theory, control);
  if (index.Stopped()) {
    answers.Stopped = true;
    return;
  }
  if (!index.Ambiguous()) {
    std::vector<size_t> all(theory.Assumptions.size());
    for (size_t pos = 0; pos < all.size(); ++pos) all[pos] = pos;
    AnswerByRules(index, all, answers, control);
    return;
  }
  // Groups with ambiguous texts one by one; the others together by rules.
  std::vector<size_t> byRules;
  for (const std::vector<size_t>& group : GroupsBySharedTexts(theory)) {
    const TKorvelTheory sub = SubTheory(theory, group);
    if (!TTheoryIndex(sub).Ambiguous()) {
      byRules.insert(byRules.end(), group.begin(), group.end());
      continue;
    }
    AnswerObjectByObject(sub, group, answers, control);
    if (answers.Stopped || answers.NoInterpretation) return;
  }
  std::sort(byRules.begin(), byRules.end());
  const TKorvelTheory sub = SubTheory(theory, byRules);
  const TTheoryIndex subIndex(sub, control);
  if (subIndex.Stopped()) {
    answers.Stopped = true;
    return;
  }
  AnswerByRules(subIndex, byRules, answers, control);
}

TReach ReachOf(const TPresence& presence) {
  if (presence.Always) return TReach::All;
  if (presence.Unit < 0 || presence.PresentIn < 0) return TReach::None;
  return presence.AbsentIn < 0 ? TReach::All : TReach::Some;
}

TWitness PresentWitness(const TPresence& presence) {
  if (presence.Always) return {true, -1, 0};
  if (presence.Unit >= 0 && presence.PresentIn >= 0) return {true, presence.Unit, presence.PresentIn};
  return {};
}

TWitness AbsentWitness(const TPresence& presence) {
  if (presence.Always) return {};
  if (presence.Unit < 0) return {true, -1, 0};
  if (presence.AbsentIn >= 0) return {true, presence.Unit, presence.AbsentIn};
  return {};
}

}  // namespace

TAcceptance ComputeAcceptance(const TKorvelTheory& theory, const std::vector<std::string>& texts,
                              const TAcceptanceOptions& options, TAcceptanceControl* control) {
  TUnitAnswers answers;
  answers.Count = options.CountInterpretations && options.CountLimitPerPart > 0;
  answers.CountLimit = options.CountLimitPerPart;
  answers.ConflictBudget = options.OrderedConflictBudget;
  // Each text is asked twice: itself (justified) and its negation (defeated).
  std::unordered_map<std::string, size_t> queryOf;
  std::vector<std::pair<size_t, size_t>> queriesOfText;
  auto query = [&](std::string text) {
    auto [it, added] = queryOf.emplace(text, answers.Queries.size());
    if (added) answers.Queries.push_back(std::move(text));
    return it->second;
  };
  for (const std::string& text : texts) {
    const size_t justified = query(text);
    queriesOfText.emplace_back(justified, query(NegationText(text)));
  }
  answers.Presence.assign(answers.Queries.size(), {});
  answers.Touched.assign(answers.Queries.size(), 0);
  if (control != nullptr) control->TextsAsked.store(answers.Queries.size(), std::memory_order_relaxed);

  AnswerUnits(theory, answers, control);

  TAcceptance result;
  if (answers.Stopped || StopRequested(control)) {
    result.Stopped = true;
    return result;
  }
  if (control != nullptr) control->TextsSettled.store(answers.Queries.size(), std::memory_order_relaxed);
  if (answers.NoInterpretation) return result;
  result.HasInterpretation = true;
  if (answers.Count && answers.CountKnown) result.InterpretationCount = answers.Interpretations;
  for (const auto& [justified, defeated] : queriesOfText) {
    const TPresence& j = answers.Presence[justified];
    result.Texts.push_back({ReachOf(j), ReachOf(answers.Presence[defeated])});
    result.JustifiedIn.push_back(PresentWitness(j));
    result.UnjustifiedIn.push_back(AbsentWitness(j));
  }
  result.Forced = std::move(answers.Forced);
  result.UnitChoices = std::move(answers.Choices);
  return result;
}

std::vector<std::string> ReportTexts(const TKorvelTheory& theory) {
  std::vector<std::string> texts;
  texts.reserve(theory.Assumptions.size() + theory.Issues.size());
  for (const auto& s : theory.Assumptions) texts.push_back(s->Text);
  for (const auto& s : theory.Issues) texts.push_back(s->Text);
  return texts;
}

std::optional<TListOfKorvelSentences> WitnessInterpretation(const TKorvelTheory& theory,
                                                            const TAcceptance& acceptance,
                                                            const TWitness& witness) {
  if (!witness.Exists || !acceptance.HasInterpretation) return std::nullopt;
  std::vector<size_t> positions = acceptance.Forced;
  for (size_t unit = 0; unit < acceptance.UnitChoices.size(); ++unit) {
    const auto& choices = acceptance.UnitChoices[unit];
    const auto& choice = static_cast<int>(unit) == witness.Unit
                             ? choices[static_cast<size_t>(witness.Model)]
                             : choices.front();
    positions.insert(positions.end(), choice.begin(), choice.end());
  }
  std::sort(positions.begin(), positions.end());
  TListOfKorvelSentences interpretation;
  for (size_t pos : positions) interpretation.push_back(theory.Assumptions[pos]);
  return interpretation;
}
