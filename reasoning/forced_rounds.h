// The first step of every question over the interpretations of a theory whose
// texts follow the rules: the assumptions every interpretation holds (the
// forced ones), admitted round by round, and those it may or may not hold
// (the undetermined ones).
//
// The rounds run incrementally. The closure of what is admitted only grows
// and the closure of what it leaves undefeated only shrinks, so each round
// touches only what changed, and a round's new admissions are exactly the
// assumptions whose negation has just left the shrinking closure.
#pragma once

#include <cstddef>
#include <vector>

#include "reasoning/evaluation_control.h"
#include "reasoning/interpretations_closure.h"
#include "reasoning/interpretations_index.h"

struct TForcedSplit {
  bool Stopped = false;
  // False when the forced assumptions contradict each other: then no
  // interpretation exists and Undetermined is empty.
  bool Consistent = true;
  // Positions among the index's assumptions, in the order admitted, with the
  // round (from 0) of each.
  std::vector<size_t> Forced, ForcedRounds;
  // Neither forced nor defeated by the forced ones, in theory order.
  std::vector<size_t> Undetermined;
};

// `admitted` (a closure with a trail) and `undefeated` start empty; they end
// holding the closure of the forced assumptions and the closure of every
// assumption those leave undefeated (each copy a base): the lower and upper
// bounds a search over the undetermined ones starts from.
TForcedSplit SplitForced(const TTheoryIndex& index, TIncrementalClosure& admitted,
                         TIncrementalClosure& undefeated, const TEvaluationControl* control);
