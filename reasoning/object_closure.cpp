#include "reasoning/object_closure.h"

TListOfKorvelSentences ObjectClosure(const TListOfKorvelSentences& list, TTextSet& texts,
                                     const TAppendedConsequent& appended) {
  texts.clear();
  TListOfKorvelSentences result;
  for (const auto& sentence : list)
    if (texts.insert(sentence->Text).second) result.push_back(sentence);
  bool grew = !list.empty();
  for (int pass = 1; grew; ++pass) {
    grew = false;
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
      if (appended) appended(*conditional, pass);
      grew = true;
    }
  }
  return result;
}

bool HasNegationIn(const TTextSet& texts, const SentencePtr& sentence) {
  return texts.count(NegationText(sentence->Text)) != 0;
}

bool ObjectConsistent(const TListOfKorvelSentences& list) {
  TTextSet texts;
  for (const auto& sentence : ObjectClosure(list, texts))
    if (HasNegationIn(texts, sentence)) return false;
  return true;
}
