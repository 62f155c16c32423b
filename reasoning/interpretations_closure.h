// A closure kept up to date while its starting sentences (its bases) come
// and go, by forward chaining over the rules of a TTheoryIndex: every rule
// counts its conjuncts still missing and fires when the count reaches zero
// while its conditional is present.
//
// Two ways back are offered. The search's lower bound only grows along a path
// and is undone in reverse (Mark / UndoTo). The search's upper bound loses
// bases one at a time (RemoveBase): everything that may have depended on the
// base is taken out, then whatever is still derivable is put back.
//
// The closure also counts the pairs of a text and its negation that are both
// present, so consistency is known at every moment.
#pragma once

#include <cstddef>
#include <vector>

#include "reasoning/interpretations_index.h"

class TIncrementalClosure {
 public:
  // The index must not gain texts while the closure is in use. Without
  // `keepTrail` Mark / UndoTo / EnteredSince are not available.
  TIncrementalClosure(const TTheoryIndex& index, bool keepTrail);

  bool Contains(int id) const { return present_[static_cast<size_t>(id)] != 0; }
  // Whether the negation of the text is present.
  bool ContainsNegationOf(int id) const {
    int negation = index_.Negation(id);
    return negation >= 0 && Contains(negation);
  }
  bool IsConsistent() const { return conflicts_ == 0; }

  // Adds one more copy of a base and everything it lets follow.
  void AddBase(int id);
  // Removes one copy of a base; when it was the last, takes out whatever no
  // longer follows and appends those ids to `lost` (when given).
  void RemoveBase(int id, std::vector<int>* lost = nullptr);

  // Undo for a closure that only grows: Mark() remembers the state, UndoTo()
  // returns to it. Only AddBase may run between the two.
  size_t Mark() const { return trail_.size(); }
  void UndoTo(size_t mark);
  // Ids that entered since a mark, in order.
  std::vector<int> EnteredSince(size_t mark) const;

 private:
  void Derive(int id);  // forward chaining from one new fact
  void Insert(int id);
  void Erase(int id);
  bool Derivable(int id) const;

  const TTheoryIndex& index_;
  std::vector<char> present_;
  std::vector<int> bases_;    // copies of each base
  std::vector<int> missing_;  // per rule: conjuncts not present
  int conflicts_ = 0;
  bool keepTrail_;
  std::vector<int> trail_;  // >= 0: fact entered; < 0: ~id base copy added
  std::vector<int> work_;
};
