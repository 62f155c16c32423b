#include "diagram/layout_candidates.h"

TLayoutCandidates::TLayoutCandidates(const TListOfKorvelSentences& sentences)
    : sentences_(sentences), entryAt_(sentences.size(), nullptr) {
  entries_.reserve(sentences.size());
  for (size_t i = 0; i < sentences.size(); ++i) {
    const SentencePtr& sentence = sentences[i];
    if (!sentence) continue;
    TEntry& entry = entries_[sentence->Text];
    if (entry.First == TEntry::kNone) entry.First = i;
    if (auto conditional = As<TKorvelConditional>(sentence))
      entries_[conditional->Consequent->Text].ConditionalsFor.push_back(i);
  }
  // Entries stay where they are once the map is filled.
  firstAntecedent_.reserve(sentences.size());
  for (size_t i = 0; i < sentences.size(); ++i) {
    firstAntecedent_.push_back(antecedentEntries_.size());
    if (!sentences[i]) continue;
    entryAt_[i] = &entries_.find(sentences[i]->Text)->second;
    if (auto* conditional = AsKind<TKorvelConditional>(sentences[i].get()))
      for (const SentencePtr& antecedent : conditional->Antecedents) antecedentEntries_.push_back(Find(antecedent->Text));
  }
}

TLayoutCandidates::TEntry* TLayoutCandidates::Find(std::string_view text) {
  auto found = entries_.find(text);
  return found == entries_.end() ? nullptr : &found->second;
}

TLayoutCandidates::TEntry* TLayoutCandidates::NegationOf(std::string_view text, TEntry* entry) {
  if (entry == nullptr) return Find(NegationText(text));
  if (!entry->NegationLooked) {
    entry->Negation = Find(NegationText(text));
    entry->NegationLooked = true;
  }
  return entry->Negation;
}

const SentencePtr* TLayoutCandidates::Candidate(const TEntry* entry, const TEntry* own) const {
  if (!Listed(entry)) return nullptr;
  // One entry per text: the same entry is the same text.
  if (entry != own && entry->Above) return nullptr;
  return &sentences_[entry->First];
}

void TLayoutCandidates::ConditionalsFor(const TEntry* entry, std::vector<size_t>& out) const {
  out.clear();
  if (entry == nullptr) return;
  for (size_t index : entry->ConditionalsFor)
    if (!entryAt_[index]->Above) out.push_back(index);
}
