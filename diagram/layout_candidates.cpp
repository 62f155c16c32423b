#include "layout_candidates.h"

TLayoutCandidates::TLayoutCandidates(const TListOfKorvelSentences& sentences) : sentences_(sentences) {
  first_.reserve(sentences.size());
  for (size_t i = 0; i < sentences.size(); ++i) {
    const SentencePtr& sentence = sentences[i];
    if (!sentence) continue;
    first_.try_emplace(sentence->Text, i);
    if (auto conditional = As<TKorvelConditional>(sentence))
      byConsequent_[conditional->Consequent->Text].push_back(i);
  }
}

bool TLayoutCandidates::Contains(std::string_view text) const {
  return first_.count(text) != 0 && !Above(text);
}

SentencePtr TLayoutCandidates::Find(std::string_view text, std::string_view own) const {
  auto found = first_.find(text);
  if (found == first_.end()) return nullptr;
  if (text != own && Above(text)) return nullptr;
  return sentences_[found->second];
}

void TLayoutCandidates::ConditionalsWithConsequent(std::string_view text, std::vector<SentencePtr>& out) const {
  out.clear();
  auto found = byConsequent_.find(text);
  if (found == byConsequent_.end()) return;
  for (size_t index : found->second) {
    const SentencePtr& conditional = sentences_[index];
    if (!Above(conditional->Text)) out.push_back(conditional);
  }
}
