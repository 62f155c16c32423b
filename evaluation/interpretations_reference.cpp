// The literal evaluation. Every membership test is a linear scan comparing
// texts (IndexOfSentence / IndexOfText); nothing is indexed or cached.
#include "evaluation/interpretations_reference.h"

namespace reference {

namespace {

bool Contains(const TListOfKorvelSentences& list, const SentencePtr& sentence) {
  return IndexOfSentence(list, sentence) >= 0;
}

bool ContainsNegationOf(const TListOfKorvelSentences& list, const SentencePtr& sentence) {
  return IndexOfText(list, NegationText(sentence->Text)) >= 0;
}

}  // namespace

TListOfKorvelSentences ConditionalClosure(const TListOfKorvelSentences& list) {
  TListOfKorvelSentences result;
  for (const auto& sentence : list)
    if (!Contains(result, sentence)) result.push_back(sentence);
  if (list.empty()) return result;
  bool appended = true;
  while (appended) {
    appended = false;
    const size_t count = result.size();
    for (size_t i = 0; i < count; ++i) {
      auto conditional = As<TKorvelConditional>(result[i]);
      if (!conditional || Contains(result, conditional->Consequent)) continue;
      bool allConjuncts = true;
      for (const auto& conjunct : conditional->Antecedents) {
        if (!Contains(result, conjunct)) {
          allConjuncts = false;
          break;
        }
      }
      if (allConjuncts) {
        result.push_back(conditional->Consequent);
        appended = true;
      }
    }
  }
  return result;
}

bool IsConsistent(const TListOfKorvelSentences& list) {
  TListOfKorvelSentences closure = ConditionalClosure(list);
  for (const auto& sentence : closure)
    if (ContainsNegationOf(closure, sentence)) return false;
  return true;
}

bool ExtendForced(const TKorvelTheory& theory, TListOfKorvelSentences& forced) {
  TListOfKorvelSentences closure = ConditionalClosure(forced);
  TListOfKorvelSentences undefeated;
  for (const auto& assumption : theory.Assumptions)
    if (!ContainsNegationOf(closure, assumption)) undefeated.push_back(assumption);
  TListOfKorvelSentences closureOfUndefeated = ConditionalClosure(undefeated);
  bool appended = false;
  for (const auto& assumption : theory.Assumptions) {
    if (!ContainsNegationOf(closureOfUndefeated, assumption) && !Contains(forced, assumption)) {
      forced.push_back(assumption);
      appended = true;
    }
  }
  return appended;
}

TListOfKorvelSentences ForcedAssumptions(const TKorvelTheory& theory) {
  TListOfKorvelSentences forced;
  while (ExtendForced(theory, forced)) {
  }
  return forced;
}

bool NextChoice(std::vector<bool>& bits) {
  size_t lastClear = bits.size();
  for (size_t i = bits.size(); i-- > 0;) {
    if (!bits[i]) {
      lastClear = i;
      break;
    }
  }
  if (lastClear == bits.size()) return false;
  bits[lastClear] = true;
  for (size_t i = lastClear + 1; i < bits.size(); ++i) bits[i] = false;
  return true;
}

TListOfListOfKorvelSentences ComputeInterpretations(const TKorvelTheory& theory) {
  TListOfListOfKorvelSentences result;
  TListOfKorvelSentences forced = ForcedAssumptions(theory);
  if (!IsConsistent(forced)) return result;
  TListOfKorvelSentences forcedClosure = ConditionalClosure(forced);
  TListOfKorvelSentences excluded;
  for (const auto& assumption : theory.Assumptions)
    if (ContainsNegationOf(forcedClosure, assumption)) excluded.push_back(assumption);
  TListOfKorvelSentences undetermined;
  for (const auto& assumption : theory.Assumptions)
    if (!Contains(forced, assumption) && !Contains(excluded, assumption))
      undetermined.push_back(assumption);

  std::vector<bool> bits(undetermined.size(), false);
  for (;;) {
    TListOfKorvelSentences candidate = forced;
    for (size_t i = 0; i < bits.size(); ++i)
      if (bits[i]) candidate.push_back(undetermined[i]);
    if (IsConsistent(candidate)) {
      TListOfKorvelSentences closure = ConditionalClosure(candidate);
      bool accepted = true;
      for (const auto& assumption : theory.Assumptions) {
        if (!Contains(candidate, assumption) && !ContainsNegationOf(closure, assumption)) {
          accepted = false;
          break;
        }
      }
      if (accepted) result.push_back(candidate);
    }
    if (!NextChoice(bits)) break;
  }
  return result;
}

void MarkStatuses(const TKorvelTheory& theory, const TListOfKorvelSentences& list) {
  TListOfKorvelSentences closure = ConditionalClosure(list);
  auto forEachPart = [&theory](auto&& action) {
    for (const auto* section : {&theory.Assumptions, &theory.Issues}) {
      for (const auto& sentence : *section) {
        TListOfKorvelSentences parts;
        CollectParts(sentence, parts);
        for (const auto& part : parts) action(part);
      }
    }
  };
  forEachPart([](const SentencePtr& part) {
    part->IsJustified = false;
    part->IsDefeated = false;
  });
  forEachPart([&closure](const SentencePtr& part) {
    if (Contains(closure, part)) part->IsJustified = true;
    if (ContainsNegationOf(closure, part)) part->IsDefeated = true;
  });
}

}  // namespace reference
