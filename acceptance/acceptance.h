// Acceptance over all dialectical interpretations of a theory: for each text
// asked, whether it is justified (in the closure) and whether it is defeated
// (its negation in the closure) in every interpretation, in some, or in none,
// without listing the interpretations.
//
// Forced assumptions are in every interpretation; the undetermined ones are
// split into independent parts, and each part goes to a SAT solver that is
// asked only what its models have not settled yet (part_consequences.h): the
// ordered solver, or CaDiCaL for a part too hard for it (part_solver.h).
// Texts that are ambiguous (interpretations_index.h) are answered by listing
// the interpretations of the assumptions that share texts with them, object
// by object, as the evaluation defines them; the rest of the theory by rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "acceptance/acceptance_control.h"
#include "logic/sentence.h"
#include "logic/theory.h"

// In how many of the interpretations.
enum class TReach { None, Some, All };

struct TTextAcceptance {
  TReach Justified = TReach::None;
  TReach Defeated = TReach::None;
  bool operator==(const TTextAcceptance&) const = default;
};

// An interpretation that shows one answer: its choice in one unit (a part, or
// a group of ambiguous texts), the first choice found in every other.
struct TWitness {
  bool Exists = false;
  int Unit = -1;  // -1: any interpretation shows it
  int Model = 0;
};

struct TAcceptance {
  // Ended on a stop request: nothing else holds.
  bool Stopped = false;
  // False when the theory has no interpretation: then nothing is "in every".
  bool HasInterpretation = false;
  // One per text asked, in order; empty without an interpretation.
  std::vector<TTextAcceptance> Texts;
  // How many interpretations there are, when counted and not too many to count.
  std::optional<uint64_t> InterpretationCount;

  // Witnesses per text asked: justified in one, not justified in one.
  std::vector<TWitness> JustifiedIn, UnjustifiedIn;
  // Behind the witnesses: the positions every interpretation takes in, and
  // per unit the choices found (positions among the theory's assumptions).
  std::vector<size_t> Forced;
  std::vector<std::vector<std::vector<size_t>>> UnitChoices;
};

inline constexpr uint64_t kCountLimitPerPart = 10000;
inline constexpr uint64_t kOrderedConflictBudget = 300;

struct TAcceptanceOptions {
  // Counts the interpretations, part by part up to CountLimitPerPart choices
  // (one solver question each); a part with more leaves the count unknown.
  bool CountInterpretations = false;
  uint64_t CountLimitPerPart = kCountLimitPerPart;
  // Conflicts the ordered solver may spend on one question of a part before
  // the part goes to CaDiCaL; 0: CaDiCaL from the start (for tests and
  // measuring).
  uint64_t OrderedConflictBudget = kOrderedConflictBudget;
};

// The texts are looked up among the texts of the theory's sentences; a text
// that occurs nowhere is in no closure. `control`, when given, can stop the
// computation and receives its progress.
TAcceptance ComputeAcceptance(const TKorvelTheory& theory, const std::vector<std::string>& texts,
                              const TAcceptanceOptions& options = {},
                              TAcceptanceControl* control = nullptr);

// The texts of the sentences the report lists: the assumptions, then the issues.
std::vector<std::string> ReportTexts(const TKorvelTheory& theory);

// The interpretation behind a witness, as the theory's assumption objects in
// theory order; nothing when the witness does not exist.
std::optional<TListOfKorvelSentences> WitnessInterpretation(const TKorvelTheory& theory,
                                                            const TAcceptance& acceptance,
                                                            const TWitness& witness);
