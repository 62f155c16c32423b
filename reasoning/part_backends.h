// The two solvers a part's questions go to, behind one interface: the
// ordered solver of sat/ (lean, quick to build, quick on the many easy
// questions of real frameworks) and CaDiCaL (whose preprocessing proves hard
// parts empty far sooner). Each holds the part's clauses as
// reasoning/part_encoding.h writes them, so both number the variables alike,
// and keeps its models exact: a model with texts present without support gets
// their loop clauses and the search goes on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "reasoning/evaluation_control.h"
#include "reasoning/interpretations_closure.h"
#include "reasoning/interpretations_index.h"
#include "reasoning/part_encoding.h"
#include "sat/clause_sink.h"

class TPartBackend : public TClauseSink {
 public:
  virtual ~TPartBackend() = default;

  enum class TAnswer { Model, None, Stopped, OverBudget };
  // Solves with every given literal true; a Model is exact and read by Value.
  virtual TAnswer Solve(std::span<const int> assumptions) = 0;
  // The value the solver tries first for the literal's variable.
  virtual void Phase(int lit) = 0;
  virtual int VarCount() const = 0;

  const TPartEncoding& Encoding() const { return *encoding_; }
  bool Value(int var) const { return model_[static_cast<size_t>(var)] != 0; }

 protected:
  // Called by the solver's constructor once the solver can take clauses.
  void Encode(const TTheoryIndex& index, TIncrementalClosure& lower,
              const std::vector<size_t>& positions, const TEvaluationControl* control) {
    encoding_ = std::make_unique<TPartEncoding>(index, lower, positions, *this, control);
  }
  std::unique_ptr<TPartEncoding> encoding_;
  std::vector<char> model_;  // per variable, of the last exact model
};

// The ordered solver, giving up a question after `conflictBudget` conflicts.
std::unique_ptr<TPartBackend> OrderedPartBackend(const TTheoryIndex& index,
                                                 TIncrementalClosure& lower,
                                                 const std::vector<size_t>& positions,
                                                 const TEvaluationControl* control,
                                                 uint64_t conflictBudget);
// CaDiCaL, which answers every question.
std::unique_ptr<TPartBackend> CadicalPartBackend(const TTheoryIndex& index,
                                                 TIncrementalClosure& lower,
                                                 const std::vector<size_t>& positions,
                                                 const TEvaluationControl* control);
