// What the units of a theory (its independent parts, and its groups of
// ambiguous texts) answer about the texts asked, gathered before they are
// turned into a TAcceptance. Texts of different units never meet: a text
// varies in one unit at most.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "acceptance/acceptance_control.h"
#include "reasoning/interpretations_index.h"
#include "logic/theory.h"

struct TPresence {
  bool Always = false;  // present in every interpretation
  int Unit = -1;        // the unit it varies in, or -1
  int PresentIn = -1, AbsentIn = -1;  // the unit's choices that show it present / absent
};

struct TUnitAnswers {
  bool Stopped = false;
  bool NoInterpretation = false;
  std::vector<std::string> Queries;  // distinct texts
  std::vector<TPresence> Presence;   // per query
  std::vector<char> Touched;         // per query: some unit has answered it
  std::vector<size_t> Forced;        // positions among the theory's assumptions
  std::vector<std::vector<std::vector<size_t>>> Choices;  // per unit
  bool Count = false;
  uint64_t CountLimit = 0;  // per part
  uint64_t ConflictBudget = 0;  // of the ordered solver, per question
  uint64_t Interpretations = 1;
  bool CountKnown = true;

  void MultiplyCount(uint64_t count, bool known);
};

// The assumptions of the index (the theory's at positions `global`) by rules.
void AnswerByRules(const TTheoryIndex& index, const std::vector<size_t>& global,
                   TUnitAnswers& answers, TAcceptanceControl* control);
// The theory's assumptions at positions `global`, whose texts are ambiguous,
// by listing their interpretations object by object.
void AnswerObjectByObject(const TKorvelTheory& theory, const std::vector<size_t>& global,
                          TUnitAnswers& answers, TAcceptanceControl* control);
