// One independent part of the undetermined assumptions as a SAT problem
// asked under assumptions: the part's clauses (evaluation/part_encoding.h) in
// CaDiCaL, with its models kept exact: every model the solver gives back is
// checked against the real closure of its choice, and a model with texts
// present without support gets their loop clauses and the solver is asked
// again. A model that passes is one interpretation's choice for the part.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "evaluation/evaluation_control.h"
#include "evaluation/interpretations_closure.h"
#include "evaluation/interpretations_index.h"

class TPartSolver {
 public:
  // `lower` holds the closure of the forced assumptions (with a trail) and is
  // back in that state after every call.
  TPartSolver(const TTheoryIndex& index, TIncrementalClosure& lower,
              const std::vector<size_t>& positions, TEvaluationControl* control);
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

 private:
  class TEncoding;
  std::unique_ptr<TEncoding> encoding_;
  bool stopped_ = false;
};
