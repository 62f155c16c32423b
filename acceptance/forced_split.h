// The first steps of answering over all interpretations of a theory whose
// texts follow the rules: the assumptions every interpretation holds (the
// forced ones), those it may or may not hold (the undetermined ones), and the
// undetermined ones split into parts that cannot influence each other.
#pragma once

#include <cstddef>
#include <vector>

#include "evaluation/evaluation_control.h"
#include "evaluation/interpretations_closure.h"
#include "evaluation/interpretations_index.h"

struct TForcedSplit {
  bool Stopped = false;
  // False when the forced assumptions contradict each other: then no
  // interpretation exists.
  bool Consistent = true;
  std::vector<size_t> Forced;        // positions among the index's assumptions
  std::vector<size_t> Undetermined;  // neither forced nor defeated by the forced ones
};

// Admits undefeated assumptions round by round until nothing changes; `admitted`
// (a closure with a trail) ends holding the closure of the forced assumptions.
TForcedSplit SplitForced(const TTheoryIndex& index, TIncrementalClosure& admitted,
                         const TEvaluationControl* control);

// Groups undetermined positions whose choices cannot influence each other:
// texts are joined through every rule and every text/negation pair, apart
// from texts the forced closure holds anyway, and every undetermined
// assumption with its negation. A text a choice can bring in belongs to
// exactly one part.
std::vector<std::vector<size_t>> IndependentParts(const TTheoryIndex& index,
                                                  const std::vector<size_t>& undetermined,
                                                  const TIncrementalClosure& forcedClosure);
