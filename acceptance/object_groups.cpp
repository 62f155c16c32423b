// Groups of assumptions with ambiguous texts (reasoning/text_groups.h),
// answered by listing their interpretations; a group's choices combine freely
// with the others'.
#include <limits>
#include <unordered_map>

#include "acceptance/acceptance_units.h"
#include "evaluation/interpretations.h"
#include "reasoning/object_closure.h"

void TUnitAnswers::MultiplyCount(uint64_t count, bool known) {
  if (!Count) return;
  if (!known || (count != 0 && Interpretations > std::numeric_limits<uint64_t>::max() / count))
    CountKnown = false;
  else
    Interpretations *= count;
}

void AnswerObjectByObject(const TKorvelTheory& theory, const std::vector<size_t>& global,
                          TUnitAnswers& answers, TAcceptanceControl* control) {
  const TEvaluation evaluation =
      EvaluateInterpretations(theory, std::numeric_limits<size_t>::max(), control);
  if (evaluation.Stopped) {
    answers.Stopped = true;
    return;
  }
  if (evaluation.Interpretations.empty()) {
    answers.NoInterpretation = true;
    return;
  }
  std::unordered_map<const TKorvelSentence*, size_t> positionOf;
  for (size_t k = theory.Assumptions.size(); k-- > 0;) positionOf[theory.Assumptions[k].get()] = global[k];
  const int unit = static_cast<int>(answers.Choices.size());
  auto& choices = answers.Choices.emplace_back();
  const size_t queries = answers.Queries.size();
  std::vector<int> presentIn(queries, -1), absentIn(queries, -1);
  TTextSet texts;
  for (const auto& interpretation : evaluation.Interpretations) {
    if (StopRequested(control)) {
      answers.Stopped = true;
      return;
    }
    const int model = static_cast<int>(choices.size());
    auto& choice = choices.emplace_back();
    for (const auto& member : interpretation) choice.push_back(positionOf.at(member.get()));
    ObjectClosure(interpretation, texts);
    for (size_t q = 0; q < queries; ++q) {
      int& witness = texts.count(answers.Queries[q]) != 0 ? presentIn[q] : absentIn[q];
      if (witness < 0) witness = model;
    }
  }
  size_t settled = 0;
  for (size_t q = 0; q < queries; ++q) {
    if (presentIn[q] < 0) continue;  // in none of the group's closures
    TPresence& presence = answers.Presence[q];
    answers.Touched[q] = 1;
    ++settled;
    if (absentIn[q] < 0) {
      presence.Always = true;
    } else {
      presence.Unit = unit;
      presence.PresentIn = presentIn[q];
      presence.AbsentIn = absentIn[q];
    }
  }
  if (control != nullptr) control->TextsSettled.fetch_add(settled, std::memory_order_relaxed);
  answers.MultiplyCount(evaluation.Interpretations.size(), true);
}
