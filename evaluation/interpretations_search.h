// The depth-first search over undetermined assumptions, given the closures of
// the forced assumptions. Positions are visited in the order given (theory
// order), each first left out, then taken in, so accepted choices come in the
// order of the binary counter whose most significant digit is the first
// position. See interpretations_engine.h for the pruning.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "reasoning/evaluation_control.h"
#include "reasoning/interpretations_closure.h"
#include "reasoning/interpretations_index.h"

class TUndeterminedSearch {
 public:
  // `lower` holds the closure of the forced assumptions, `upper` that of the
  // forced and every undetermined assumption (each copy a base). Both are
  // back in that state whenever Run returns.
  TUndeterminedSearch(const TTheoryIndex& index, const std::vector<int>& assumptionIds,
                      TIncrementalClosure& lower, TIncrementalClosure& upper,
                      TEvaluationControl* control = nullptr);

  // Searches the given positions (the others stay undecided). `accept` gets
  // the positions taken in, in order, for every accepted choice and answers
  // whether to go on. Returns false when `accept` stopped the search.
  bool Run(const std::vector<size_t>& positions,
           const std::function<bool(const std::vector<size_t>& taken)>& accept);

  // Limits the work of each Run between two accepted choices (and before the
  // first) to about `steps` steps beyond a few per position and to `time`
  // (0: no limit). A step's cost grows with what the closures must undo, so
  // the time is what keeps a lost search short. A Run over its budget gives
  // up: it returns false and BudgetSpent() tells why; the choices accepted so
  // far stand.
  void SetBudget(uint64_t steps, std::chrono::nanoseconds time) {
    budget_ = steps;
    timeBudget_ = time;
  }
  bool BudgetSpent() const { return budgetSpent_; }

 private:
  struct TFrame {
    size_t Depth = 0;
    int Stage = 0;  // 0: leave out next; 1: take in next; 2: undo the taking
    size_t LowerMark = 0;
    bool FinallyOut = false;  // no copy of the text is or will be taken in
  };
  bool LeaveOut(TFrame& frame, int id);
  void TakeBack(const TFrame& frame, int id);
  void Unwind(const std::vector<size_t>& positions);

  const TTheoryIndex& index_;
  const std::vector<int>& ids_;
  TIncrementalClosure& lower_;
  TIncrementalClosure& upper_;
  TEvaluationControl* control_;
  std::vector<int> takenCopies_;
  std::vector<char> finallyOut_;
  std::vector<size_t> lastDepth_;
  std::vector<TFrame> stack_;
  std::vector<size_t> taken_;
  std::vector<int> lost_;
  uint64_t budget_ = 0;
  std::chrono::nanoseconds timeBudget_{0};
  bool budgetSpent_ = false;
};
