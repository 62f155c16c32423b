#include "evaluation/interpretations_search.h"

#include <ctime>

namespace {

// Processor time rather than wall time, so that a busy machine does not make
// the depth-first search give up where it is doing well.
std::chrono::nanoseconds ProcessorTime() {
  return std::chrono::nanoseconds(static_cast<int64_t>(
      static_cast<double>(std::clock()) * (1e9 / static_cast<double>(CLOCKS_PER_SEC))));
}

}  // namespace

TUndeterminedSearch::TUndeterminedSearch(const TTheoryIndex& index,
                                         const std::vector<int>& assumptionIds,
                                         TIncrementalClosure& lower, TIncrementalClosure& upper,
                                         TEvaluationControl* control)
    : index_(index),
      ids_(assumptionIds),
      lower_(lower),
      upper_(upper),
      control_(control),
      takenCopies_(index.TextCount(), 0),
      finallyOut_(index.TextCount(), 0),
      lastDepth_(index.TextCount(), 0) {}

bool TUndeterminedSearch::LeaveOut(TFrame& frame, int id) {
  const size_t text = static_cast<size_t>(id);
  lost_.clear();
  upper_.RemoveBase(id, &lost_);
  frame.FinallyOut = takenCopies_[text] == 0 && lastDepth_[text] == frame.Depth;
  if (frame.FinallyOut) {
    finallyOut_[text] = 1;
    // Left out for good, it must be defeated by what is still possible.
    if (!upper_.ContainsNegationOf(id)) return false;
  }
  // What the upper bound lost may have defeated an assumption left out before.
  for (int fact : lost_) {
    const int defeated = index_.Negated(fact);
    if (defeated >= 0 && finallyOut_[static_cast<size_t>(defeated)]) return false;
  }
  return true;
}

void TUndeterminedSearch::TakeBack(const TFrame& frame, int id) {
  if (frame.FinallyOut) finallyOut_[static_cast<size_t>(id)] = 0;
  upper_.AddBase(id);
}

bool TUndeterminedSearch::Run(const std::vector<size_t>& positions,
                              const std::function<bool(const std::vector<size_t>&)>& accept) {
  for (size_t depth = 0; depth < positions.size(); ++depth)
    lastDepth_[static_cast<size_t>(ids_[positions[depth]])] = depth;
  const size_t n = positions.size();
  stack_.assign(1, TFrame{});
  taken_.clear();
  uint64_t steps = 0, lastAccepted = 0;
  bool timing = false;
  std::chrono::nanoseconds timedSince{0};
  budgetSpent_ = false;
  while (!stack_.empty()) {
    // Checking the stop request every 64 steps keeps its cost unmeasurable
    // and the answer prompt even where a step undoes much of a closure.
    if ((++steps & 63) == 0 && control_ != nullptr) {
      control_->Decisions.fetch_add(64, std::memory_order_relaxed);
      if (control_->StopRequested()) {
        Unwind(positions);
        return false;
      }
    }
    // The budget runs from the last accepted choice: a search that keeps
    // finding choices goes on, one lost among dead ends gives up.
    bool spent = budget_ != 0 && steps - lastAccepted > budget_ + 4 * (n + 1);
    // The clock is read only once the search has gone a while without a
    // choice, so that a search finding choices pays nothing for it.
    if (!spent && timeBudget_.count() != 0 && (steps & 255) == 0 && steps - lastAccepted > 1024) {
      if (!timing) {
        timing = true;
        timedSince = ProcessorTime();
      } else {
        spent = ProcessorTime() - timedSince > timeBudget_;
      }
    }
    if (spent) {
      budgetSpent_ = true;
      Unwind(positions);
      return false;
    }
    TFrame& frame = stack_.back();
    if (frame.Depth == n) {
      stack_.pop_back();
      lastAccepted = steps;
      timing = false;
      if (!accept(taken_)) {
        Unwind(positions);
        return false;
      }
      continue;
    }
    const int id = ids_[positions[frame.Depth]];
    if (frame.Stage == 0) {
      frame.Stage = 1;
      if (LeaveOut(frame, id)) stack_.push_back(TFrame{frame.Depth + 1, 0, 0, false});
    } else if (frame.Stage == 1) {
      TakeBack(frame, id);
      frame.Stage = 2;
      frame.LowerMark = lower_.Mark();
      lower_.AddBase(id);
      // Inconsistency only grows as assumptions are added: cut at once.
      if (lower_.IsConsistent()) {
        ++takenCopies_[static_cast<size_t>(id)];
        taken_.push_back(positions[frame.Depth]);
        stack_.push_back(TFrame{frame.Depth + 1, 0, 0, false});
      } else {
        lower_.UndoTo(frame.LowerMark);
        stack_.pop_back();
      }
    } else {
      lower_.UndoTo(frame.LowerMark);
      --takenCopies_[static_cast<size_t>(id)];
      taken_.pop_back();
      stack_.pop_back();
    }
  }
  return true;
}

void TUndeterminedSearch::Unwind(const std::vector<size_t>& positions) {
  // Undo what every open position has applied, innermost first.
  while (!stack_.empty()) {
    const TFrame& frame = stack_.back();
    if (frame.Depth < positions.size()) {
      const int id = ids_[positions[frame.Depth]];
      if (frame.Stage == 1) {
        TakeBack(frame, id);
      } else if (frame.Stage == 2) {
        lower_.UndoTo(frame.LowerMark);
        --takenCopies_[static_cast<size_t>(id)];
      }
    }
    stack_.pop_back();
  }
  taken_.clear();
}
