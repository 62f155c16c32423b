// The evaluation exactly as first defined: linear scans with text comparison,
// every bit pattern of the undetermined assumptions tried in turn. It is slow
// (2^n candidates, each closure quadratic) and kept only as the definition of
// right answers that the fast engine is tested and measured against.
#pragma once

#include <vector>

#include "logic/sentence.h"
#include "logic/theory.h"

namespace reference {

// L without duplicates, then in passes the consequents of the conditionals of
// the list whose conjuncts are all present; a consequent appended during a
// pass is examined from the next pass on.
TListOfKorvelSentences ConditionalClosure(const TListOfKorvelSentences& list);
// No sentence of the closure has its dialectical negation in the closure.
bool IsConsistent(const TListOfKorvelSentences& list);
// Calls ExtendForced until it appends nothing.
TListOfKorvelSentences ForcedAssumptions(const TKorvelTheory& theory);
// Appends, in theory order, the assumptions not defeated by the closure of the
// assumptions that `forced` does not defeat; true when it appended any.
bool ExtendForced(const TKorvelTheory& theory, TListOfKorvelSentences& forced);
// Binary counter, most significant bit first; false when already all set.
bool NextChoice(std::vector<bool>& bits);
// Every candidate (forced + a subset of the undetermined) that is consistent
// and defeats every assumption it leaves out, in the counter's order.
TListOfListOfKorvelSentences ComputeInterpretations(const TKorvelTheory& theory);
// Clears, then sets IsJustified / IsDefeated on the parts of every assumption
// and issue by membership of the text / its negation in the closure of `list`.
void MarkStatuses(const TKorvelTheory& theory, const TListOfKorvelSentences& list);

}  // namespace reference
