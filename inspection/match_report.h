// The Match command without its window: the theory's sentences with variables
// that match a target sentence exactly, the sentences that contain those
// patterns instantiated with the bindings found ("other matches"), the
// textual report, and the sentences the match diagram draws.
//
// Nothing here changes the theory: instantiated sentences are new objects.
// Variable lookups for other matches ignore the case of ASCII letters.
#pragma once

#include <string>
#include <vector>

#include "logic/sentence.h"
#include "logic/theory.h"

struct TMatch {
  SentencePtr Source;        // the theory sentence that matched
  std::string MatchedText;   // its text
  std::string ResultText;    // the target's text, or the instantiated text
  std::vector<std::string> Bindings;  // one per entry of Source's variables
};

struct TMatchReport {
  std::vector<TMatch> Matches;  // the exact matches first, then the other matches
  size_t ExactMatches = 0;
  // The instantiated sentences of the other matches, then their parts; each
  // instantiated assumption marked justified.
  TListOfKorvelSentences DrawnResults;
  std::vector<std::string> Lines;  // the "Textual" page
};

TMatchReport ComputeMatchReport(const TKorvelTheory& theory, const SentencePtr& target);

// The binding of a variable of a sentence that contains a matched pattern: the
// pattern's binding of the first variable equal to it but for letter case, or
// the variable itself.
std::string BindingForVariable(const std::string& variable,
                               const std::vector<std::string>& patternVariables,
                               const std::vector<std::string>& patternBindings);
