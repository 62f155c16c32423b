// The sentence parser: text form to sentence. It never fails; text that is not
// a well-formed "x(...)" or "if(..., ...)" form becomes an elementary sentence
// holding the text.
//
// Limits that keep untrusted input safe (both leave the whole text as one
// elementary sentence, trimmed):
//  - compound forms nested deeper than kMaxParseDepth levels;
//  - parses whose sentence texts would add up to more than
//    kParseTextBudgetFactor times the input plus kParseTextBudgetBase bytes
//    (malformed forms copy the rest of the text, which can grow quadratically).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "logic/sentence.h"

inline constexpr int kMaxParseDepth = 1000;
inline constexpr size_t kParseTextBudgetFactor = 16;
inline constexpr size_t kParseTextBudgetBase = size_t{1} << 24;

// Parses a whole text; what follows the top-level form is ignored. A text
// nested deeper than maxDepth compound levels is one elementary sentence.
SentencePtr ParseSentence(std::string_view text, int maxDepth = kMaxParseDepth);

// Parses the front of a text; `remaining` receives what is left after it.
// Called with an empty remaining text, it behaves as ParseSentence.
SentencePtr ParsePart(std::string_view text, std::string& remaining);
