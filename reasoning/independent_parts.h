// The undetermined assumptions split into parts whose choices cannot
// influence each other, so that each part is searched, counted or asked
// apart: one part without a working choice means no interpretation at all,
// and otherwise the parts' choices combine freely.
#pragma once

#include <cstddef>
#include <vector>

#include "reasoning/interpretations_closure.h"
#include "reasoning/interpretations_index.h"

// Texts are joined through every rule (its conditional, conjuncts and
// consequent) and every text/negation pair, leaving out the texts the forced
// assumptions already bring in (`forcedClosure`), which are present in every
// candidate; and every undetermined assumption is joined with its negation.
// A text some choice can bring in belongs to exactly one part. The parts come
// in the order of their first position, each in theory order.
std::vector<std::vector<size_t>> IndependentParts(const TTheoryIndex& index,
                                                  const std::vector<size_t>& undetermined,
                                                  const TIncrementalClosure& forcedClosure);
