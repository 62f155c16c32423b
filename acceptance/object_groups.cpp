// Groups of assumptions with ambiguous texts, answered by listing their
// interpretations. A closure holds only texts among the parts of its members
// and defeat only pairs a text with its negation, so the closure of an
// interpretation restricted to one group is the closure of its members in
// that group, and the group's choices combine freely with the others'.
#include <limits>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "acceptance/acceptance_units.h"
#include "evaluation/interpretations.h"

namespace {

using TTextSet = std::unordered_set<std::string_view>;

// The closure in passes over the objects, as the evaluation defines it for
// ambiguous texts: the first object of a text is the one that counts, and a
// consequent appended in a pass is examined from the next pass on.
void ObjectClosure(const TListOfKorvelSentences& list, TTextSet& texts) {
  texts.clear();
  TListOfKorvelSentences result;
  for (const auto& sentence : list)
    if (texts.insert(sentence->Text).second) result.push_back(sentence);
  bool appended = !list.empty();
  while (appended) {
    appended = false;
    const size_t count = result.size();
    for (size_t i = 0; i < count; ++i) {
      auto* conditional = AsKind<TKorvelConditional>(result[i].get());
      if (conditional == nullptr || texts.count(conditional->Consequent->Text) != 0) continue;
      bool allConjuncts = true;
      for (const auto& conjunct : conditional->Antecedents)
        if (texts.count(conjunct->Text) == 0) allConjuncts = false;
      if (!allConjuncts) continue;
      result.push_back(conditional->Consequent);
      texts.insert(result.back()->Text);
      appended = true;
    }
  }
}

}  // namespace

void TUnitAnswers::MultiplyCount(uint64_t count, bool known) {
  if (!Count) return;
  if (!known || (count != 0 && Interpretations > std::numeric_limits<uint64_t>::max() / count))
    CountKnown = false;
  else
    Interpretations *= count;
}

std::vector<std::vector<size_t>> GroupsBySharedTexts(const TKorvelTheory& theory) {
  std::unordered_map<std::string_view, size_t> idOf;
  std::vector<size_t> parent;
  auto id = [&](std::string_view text) {
    auto [it, added] = idOf.emplace(text, parent.size());
    if (added) parent.push_back(parent.size());
    return it->second;
  };
  auto find = [&parent](size_t x) {
    while (parent[x] != x) x = parent[x] = parent[parent[x]];
    return x;
  };
  const auto& assumptions = theory.Assumptions;
  std::vector<size_t> root(assumptions.size());
  TListOfKorvelSentences parts;
  for (size_t pos = 0; pos < assumptions.size(); ++pos) {
    parts.clear();
    CollectParts(assumptions[pos], parts);
    root[pos] = id(assumptions[pos]->Text);
    for (const auto& part : parts) parent[find(id(part->Text))] = find(root[pos]);
  }
  std::vector<std::string_view> texts(idOf.size());
  for (const auto& [text, at] : idOf) texts[at] = text;
  for (std::string_view text : texts) {
    const auto negation = idOf.find(NegationText(text));
    if (negation != idOf.end()) parent[find(idOf.at(text))] = find(negation->second);
  }
  std::vector<std::vector<size_t>> groups;
  std::unordered_map<size_t, size_t> groupOf;
  for (size_t pos = 0; pos < assumptions.size(); ++pos) {
    auto [it, added] = groupOf.emplace(find(root[pos]), groups.size());
    if (added) groups.emplace_back();
    groups[it->second].push_back(pos);
  }
  return groups;
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
