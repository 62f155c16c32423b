// The candidates of a tree being laid out: the sentence list without the
// texts of the nodes above the current one.
//
// The list is indexed once (first entry per text, conditionals by the text of
// their consequent) and the texts above are kept in a set, so that a node
// finds its supports and attacks without scanning and copying the list.
// The views in the indexes point into the sentences' texts, which must not
// change while the layout runs.
#pragma once

#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "sentence.h"

class TLayoutCandidates {
 public:
  explicit TLayoutCandidates(const TListOfKorvelSentences& sentences);

  // Whether some candidate has the text (it is in the list, not above).
  bool Contains(std::string_view text) const;
  // Whether a node above the current one has the text.
  bool Above(std::string_view text) const { return above_.count(text) != 0; }
  // The first candidate with the text, or null. The text `own` counts as not
  // above: it is the text of the node asking, which is still its own candidate.
  SentencePtr Find(std::string_view text, std::string_view own) const;
  // The conditionals among the candidates whose consequent has the text, in
  // list order.
  void ConditionalsWithConsequent(std::string_view text, std::vector<SentencePtr>& out) const;

  // A node starts or stops being above the ones it lays out.
  void Enter(std::string_view text) { above_.insert(text); }
  void Leave(std::string_view text) { above_.erase(text); }

 private:
  const TListOfKorvelSentences& sentences_;
  std::unordered_map<std::string_view, size_t> first_;
  std::unordered_map<std::string_view, std::vector<size_t>> byConsequent_;
  std::unordered_set<std::string_view> above_;
};
