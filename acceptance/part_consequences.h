// Which texts are present in every choice of one independent part and which
// in some, without listing the choices. Each exact model found settles the
// question "present in some?" for every text it holds and "present in all?"
// for every text it lacks, so a question is asked only for the texts no model
// has settled yet, all of them at once: is there a model where one of them is
// present (absent)? A model answers it for some and the search goes on; no
// model answers it for all that remain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "acceptance/acceptance_control.h"
#include "acceptance/part_solver.h"

struct TPartConsequences {
  bool Stopped = false;
  bool HasChoice = false;
  // The choices found (positions taken in), the witnesses below point into it.
  std::vector<std::vector<size_t>> Models;
  // Per text asked: a model holding it / lacking it, or -1 when none does.
  std::vector<int> PresentIn, AbsentIn;
  // The number of choices, when counted and not more than the limit.
  uint64_t Count = 0;
  bool CountKnown = false;
};

// `texts` are texts that vary in the part. With `countLimit` > 0 the part's
// choices are also counted, up to that many.
TPartConsequences PartConsequences(TPartSolver& solver, const std::vector<int>& texts,
                                   uint64_t countLimit, TAcceptanceControl* control);
