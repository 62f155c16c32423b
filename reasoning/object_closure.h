// The closure of a list of sentence objects taken object by object, as the
// evaluation defines it where texts are ambiguous (interpretations_index.h):
// the first object of a text is the one that counts, and a consequent
// appended during a pass over the objects is examined from the next pass on.
// The evaluation, acceptance and the explanation all close such lists here.
#pragma once

#include <functional>
#include <string_view>
#include <unordered_set>

#include "logic/sentence.h"

using TTextSet = std::unordered_set<std::string_view>;

// Called for each consequent appended: the conditional that brought it in
// and the pass (from 1) in which it did.
using TAppendedConsequent = std::function<void(const TKorvelConditional& conditional, int pass)>;

// The objects of the closure (the list's first object of each text, then the
// consequents in the order appended); `texts` receives the texts present.
TListOfKorvelSentences ObjectClosure(const TListOfKorvelSentences& list, TTextSet& texts,
                                     const TAppendedConsequent& appended = {});

// Whether no text of the closure is present with its negation.
bool ObjectConsistent(const TListOfKorvelSentences& list);

// Whether the negation of the sentence's text is among the texts.
bool HasNegationIn(const TTextSet& texts, const SentencePtr& sentence);
