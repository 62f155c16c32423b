// Variables as patterns: matching a pattern text against a target text, and
// instantiating a sentence's variables with bindings.
//
// Each variable takes the shortest text that reaches the first occurrence of
// the next literal piece, left to right, without backtracking; equal
// variables must bind equal texts.
//
// A variable list whose entries do not occur in the pattern in list order (a
// compound pattern lists its consequent's variables first) cannot split the
// pattern: when a variable is not found in the rest of the pattern, the match
// fails. It never reads outside the texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "logic/sentence.h"

struct TMatchResult {
  bool Matched = false;
  // One entry per variable of the list, in list order; of no use on failure.
  std::vector<std::string> Bindings;
};

TMatchResult MatchSentence(std::string_view pattern, std::string_view target,
                           const std::vector<std::string>& variables);

// Replaces the first remaining occurrence of each variable (in the order of
// the sentence's rebuilt Variables) by its binding and parses the result into
// a new sentence. A variable without a binding, or no longer found, is left.
SentencePtr InstantiateSentence(TKorvelSentence& sentence, const std::vector<std::string>& bindings);
