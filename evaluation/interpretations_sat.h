// The search over one part of the undetermined assumptions with the ordered
// conflict-driven solver of sat/ordered_solver.h: the solver learns why a
// branch fails, propagates to assumptions not yet decided and jumps back over
// choices that did not matter, where the depth-first search of
// interpretations_search.h can only try and undo.
//
// The part is encoded as clauses by part_encoding.h; where its rules have
// cycles, every model is checked against the real closure of its choice and
// the solver is asked again after the loop clauses it gets.
//
// Whether a part has any choice at all is asked first, in the solver's own
// order; a part whose question runs over a conflict budget is asked of
// CaDiCaL instead, which proves hard parts empty far sooner.
//
// The choices come in the order of the binary counter (first position most
// significant, "left out" before "taken in"): the position variables are the
// solver's ordered variables, decided in theory order, "left out" first. One
// search lists every choice: after each it goes back to the deepest position
// decided "left out" and takes it in, keeping what it learned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "reasoning/evaluation_control.h"
#include "reasoning/interpretations_closure.h"
#include "reasoning/interpretations_index.h"

class TSatPartSearch {
 public:
  // `lower` holds the closure of the forced assumptions (with a trail); it is
  // back in that state whenever Run returns.
  TSatPartSearch(const TTheoryIndex& index, TIncrementalClosure& lower,
                 TEvaluationControl* control = nullptr);

  // Searches the given positions, in order, as TUndeterminedSearch::Run does:
  // `accept` gets the positions taken in for every accepted choice and answers
  // whether to go on. With `after` (the positions taken in by a choice found
  // before), only the choices that come after it in counter order. Returns
  // false when `accept` or a stop request ended the search.
  bool Run(const std::vector<size_t>& positions,
           const std::function<bool(const std::vector<size_t>& taken)>& accept,
           const std::vector<size_t>* after = nullptr);

  // Some choice of the given positions, not necessarily the first in order:
  // the solver searches in its own order. 1 with the positions taken in,
  // 0 when there is no choice, -1 on a stop request.
  int Any(const std::vector<size_t>& positions, std::vector<size_t>& taken);

  // Conflicts the ordered solver may spend on whether a part has any choice
  // before CaDiCaL is asked instead (0: CaDiCaL at once).
  static constexpr uint64_t kAskBudget = 10000;
  void SetAskBudget(uint64_t conflicts) { askBudget_ = conflicts; }

 private:
  uint64_t askBudget_ = kAskBudget;
  const TTheoryIndex& index_;
  TIncrementalClosure& lower_;
  TEvaluationControl* control_;
};
