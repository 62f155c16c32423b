// The checks behind the fuzz targets. Each takes arbitrary bytes and answers
// an empty string when the property holds, otherwise a description of what
// went wrong. The libFuzzer programs (built with -DPELMORA_FUZZ=ON and clang)
// abort on a non-empty answer; the replay test runs the same checks on every
// seed and every input that ever failed, in the ordinary build.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Reader round trip: read, write the normal form, read and write again; the
// two normal forms are equal unless the storage check names the sentences
// whose texts the format cannot hold (and then they differ).
std::string CheckTheoryFile(std::string_view data);
// Parser: the documented results for elementary results, the text form of
// compound results, and the round trip of that text form.
std::string CheckParser(std::string_view data);
// Matching: pattern and target split at the first line break; a successful
// match instantiated with bindings free of "<" gives the target back.
std::string CheckMatching(std::string_view data);
// Evaluation: a small theory decoded from the bytes, the engine against the
// exhaustive definition (interpretations, their order, the cut flag, marks).
std::string CheckEvaluation(std::string_view data);
// Layout: a small theory decoded from the bytes, the indexed layout against
// the plain one.
std::string CheckLayout(std::string_view data);
// korvel: the first byte picks a subcommand and its options, the rest is the
// file (and for match and matches the text before the first line break).
std::string CheckKorvel(std::string_view data);

struct TFuzzCheck {
  const char* Name;  // also the directory of its corpus and regression files
  std::string (*Check)(std::string_view data);
};

// Every check, in a fixed order.
const std::vector<TFuzzCheck>& FuzzChecks();
