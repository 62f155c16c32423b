// One independent part of the undetermined assumptions as a SAT problem
// asked under assumptions, its models exact (part_backends.h). Questions go
// to the ordered solver first, which answers the easy questions of real
// frameworks quickest and leanest; a question it has not answered within its
// conflict budget hands the part over to CaDiCaL for good, which proves hard
// parts empty far sooner. A model that passes is one interpretation's choice
// for the part.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "reasoning/evaluation_control.h"
#include "reasoning/interpretations_closure.h"
#include "reasoning/interpretations_index.h"

class TPartBackend;

class TPartSolver {
 public:
  // `lower` holds the closure of the forced assumptions (with a trail) and is
  // back in that state after every call. The ordered solver may spend
  // `conflictBudget` conflicts on one question; 0: CaDiCaL from the start.
  TPartSolver(const TTheoryIndex& index, TIncrementalClosure& lower,
              const std::vector<size_t>& positions, TEvaluationControl* control,
              uint64_t conflictBudget);
  ~TPartSolver();
  TPartSolver(const TPartSolver&) = delete;
  TPartSolver& operator=(const TPartSolver&) = delete;

  // Whether the text's presence depends on the choice within this part, and
  // all such texts.
  bool Varies(int text) const;
  const std::vector<int>& VaryingTexts() const;
  // The solver literal true when the text is present (only when it varies).
  int PresenceLiteral(int text) const;

  // Solves with every given literal true. True with an exact model; false
  // when there is none or the solver was stopped (then Stopped()).
  bool Solve(const std::vector<int>& assumptions);
  bool Stopped() const { return stopped_; }

  // Of the last exact model: whether a varying text is present, and the
  // positions taken in, in the order of the part.
  bool Present(int text) const;
  std::vector<size_t> Taken() const;

  // A clause (not selector, literals...) that holds only while `selector` is
  // assumed; Retire drops it for good.
  int Selector(const std::vector<int>& literals);
  void Retire(int selector);
  // Makes the solver try these literals true first when it decides their
  // variables (until changed again).
  void PreferPhases(const std::vector<int>& literals);
  // Rules out the last model's choice of positions.
  void ExcludeLastChoice();

  // Moves the part to CaDiCaL for good, with the selectors, clauses and
  // phases asked for so far: done when a question runs over the ordered
  // solver's budget, and by tests at any point.
  void HandOver();
  bool HandedOver() const { return handedOver_; }

 private:
  void Add(std::vector<int> clause);

  const TTheoryIndex& index_;
  TIncrementalClosure& lower_;
  const std::vector<size_t> positions_;
  TEvaluationControl* control_;
  std::unique_ptr<TPartBackend> backend_;
  bool handedOver_;
  bool stopped_ = false;
  std::vector<std::vector<int>> added_;  // clauses added to the ordered solver after encoding
  std::vector<int> phases_;              // the phases asked for last
};
