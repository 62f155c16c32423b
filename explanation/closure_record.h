// The closure of one interpretation with a record of how every text came in:
// as a member of the interpretation (round 0) or in a later round as the
// consequent of a conditional whose text and conjuncts all came in earlier.
//
// Texts enter round by round: a text enters in round r + 1 when some rule
// has its conditional and every conjunct present after round r. The round of
// a text is thus the depth of its shallowest derivation, and the producer
// kept is the first such rule in theory order, so following producers gives
// one of the shortest derivations. A theory whose texts are ambiguous (see
// interpretations_index.h) is closed object by object in passes, as its
// statuses are marked, and the producers are those of the passes.
#pragma once

#include <span>
#include <vector>

#include "reasoning/interpretations_index.h"
#include "logic/sentence.h"

class TClosureRecord {
 public:
  // Closes the interpretation (objects of the theory indexed). The index
  // may gain texts (the object-by-object way interns consequents).
  TClosureRecord(TTheoryIndex& index, const TListOfKorvelSentences& interpretation);

  bool Contains(int id) const { return id >= 0 && Round(id) >= 0; }
  // -1 when the text is not in the closure; 0 for members.
  int Round(int id) const {
    return static_cast<size_t>(id) < round_.size() ? round_[static_cast<size_t>(id)] : -1;
  }
  // The conditional that brought the text in and its distinct conjuncts (in
  // no particular order); -1 and empty for members and absent texts.
  int Conditional(int id) const;
  std::span<const int> Conjuncts(int id) const;

 private:
  void CloseByRules(const TTheoryIndex& index, const std::vector<int>& members);
  void CloseObjectByObject(TTheoryIndex& index, const TListOfKorvelSentences& interpretation);
  void Enter(int id, int round, int producer);

  std::vector<int> round_;
  std::vector<int> producer_;                         // index into *rules_, or -1
  const std::vector<TClosureRule>* rules_ = nullptr;  // the index's, or own
  std::vector<TClosureRule> ownRules_;                // one per consequent, object by object
};
