#include "reasoning/part_backends.h"

#include <cadical.hpp>

#include "sat/ordered_solver.h"

namespace {

class TOrderedBackend final : public TPartBackend {
 public:
  TOrderedBackend(const TTheoryIndex& index, TIncrementalClosure& lower,
                  const std::vector<size_t>& positions, const TEvaluationControl* control,
                  uint64_t budget)
      : control_(control), budget_(budget), solver_(static_cast<int>(positions.size())) {
    Encode(index, lower, positions, control);
    if (!encoding_->Tight())
      hooks_.Check = [this] {
        return encoding_->Founded([this](int var) { return solver_.Value(var); });
      };
    hooks_.Stop = [this] { return StopRequested(control_) || solver_.Conflicts() >= limit_; };
  }

  int NewVar() override { return solver_.NewVar(); }
  void AddClause(std::span<const int> lits) override { solver_.AddClause(lits); }
  void Phase(int lit) override { solver_.SetPhase(lit); }
  int VarCount() const override { return solver_.VarCount(); }

  TAnswer Solve(std::span<const int> assumptions) override {
    limit_ = solver_.Conflicts() + budget_;
    const int answer = solver_.Solve(hooks_, assumptions);
    if (StopRequested(control_)) return TAnswer::Stopped;
    if (answer < 0) return TAnswer::OverBudget;
    if (answer == 0) return TAnswer::None;
    model_.assign(static_cast<size_t>(solver_.VarCount()) + 1, 0);
    for (int var = 1; var <= solver_.VarCount(); ++var)
      model_[static_cast<size_t>(var)] = solver_.Value(var);
    return TAnswer::Model;
  }

 private:
  const TEvaluationControl* control_;
  uint64_t budget_;
  uint64_t limit_ = 0;
  TOrderedSolver solver_;
  TOrderedSolver::THooks hooks_;
};

// Ends a CaDiCaL call as soon as a stop is requested.
class TStopWatch : public CaDiCaL::Terminator {
 public:
  explicit TStopWatch(const TEvaluationControl* control) : control_(control) {}
  bool terminate() override { return StopRequested(control_); }

 private:
  const TEvaluationControl* control_;
};

class TCadicalBackend final : public TPartBackend {
 public:
  TCadicalBackend(const TTheoryIndex& index, TIncrementalClosure& lower,
                  const std::vector<size_t>& positions, const TEvaluationControl* control)
      : control_(control), stopWatch_(control), vars_(static_cast<int>(positions.size())) {
    solver_.set("quiet", 1);
    solver_.connect_terminator(&stopWatch_);
    Encode(index, lower, positions, control);
  }
  ~TCadicalBackend() override { solver_.disconnect_terminator(); }

  int NewVar() override { return ++vars_; }
  void AddClause(std::span<const int> lits) override {
    for (int lit : lits) solver_.add(lit);
    solver_.add(0);
  }
  void Phase(int lit) override { solver_.phase(lit); }
  int VarCount() const override { return vars_; }

  TAnswer Solve(std::span<const int> assumptions) override {
    for (;;) {
      for (int lit : assumptions) solver_.assume(lit);
      const int answer = solver_.solve();
      if (answer == 20) return TAnswer::None;
      if (answer != 10 || StopRequested(control_)) return TAnswer::Stopped;
      model_.assign(static_cast<size_t>(vars_) + 1, 0);
      for (int var = 1; var <= vars_; ++var)
        model_[static_cast<size_t>(var)] = solver_.val(var) > 0;
      if (encoding_->Tight() || encoding_->Founded([this](int var) { return Value(var); }))
        return TAnswer::Model;
    }
  }

 private:
  const TEvaluationControl* control_;
  TStopWatch stopWatch_;
  CaDiCaL::Solver solver_;
  int vars_;
};

}  // namespace

std::unique_ptr<TPartBackend> OrderedPartBackend(const TTheoryIndex& index,
                                                 TIncrementalClosure& lower,
                                                 const std::vector<size_t>& positions,
                                                 const TEvaluationControl* control,
                                                 uint64_t conflictBudget) {
  return std::make_unique<TOrderedBackend>(index, lower, positions, control, conflictBudget);
}

std::unique_ptr<TPartBackend> CadicalPartBackend(const TTheoryIndex& index,
                                                 TIncrementalClosure& lower,
                                                 const std::vector<size_t>& positions,
                                                 const TEvaluationControl* control) {
  return std::make_unique<TCadicalBackend>(index, lower, positions, control);
}
