#include "acceptance/part_solver.h"

#include <cadical.hpp>

#include "evaluation/part_encoding.h"

namespace {

// Ends a solver call as soon as a stop is requested.
class TStopWatch : public CaDiCaL::Terminator {
 public:
  explicit TStopWatch(const TEvaluationControl* control) : control_(control) {}
  bool terminate() override { return StopRequested(control_); }

 private:
  const TEvaluationControl* control_;
};

}  // namespace

// The part's clauses in the solver, and the last exact model.
class TPartSolver::TEncoding final : public TClauseSink {
 public:
  TEncoding(const TTheoryIndex& index, TIncrementalClosure& lower,
            const std::vector<size_t>& positions, TEvaluationControl* control)
      : control_(control),
        stopWatch_(control),
        vars_(static_cast<int>(positions.size())),
        encoding_(index, lower, positions, *this, control) {
    solver_.set("quiet", 1);
    solver_.connect_terminator(&stopWatch_);
  }
  ~TEncoding() { solver_.disconnect_terminator(); }

  int NewVar() override { return ++vars_; }
  void AddClause(std::span<const int> lits) override {
    for (int lit : lits) solver_.add(lit);
    solver_.add(0);
  }

  const TPartEncoding& Encoding() const { return encoding_; }
  bool Value(int var) const { return model_[static_cast<size_t>(var)] != 0; }
  bool Stopped() const { return stopped_ || encoding_.Stopped(); }
  void Phase(int lit) { solver_.phase(lit); }

  // 10: an exact model; 20: none; 0: stopped.
  int Solve(const std::vector<int>& assumptions) {
    if (Stopped()) return 0;
    for (;;) {
      for (int lit : assumptions) solver_.assume(lit);
      const int answer = solver_.solve();
      if (control_ != nullptr) control_->Decisions.fetch_add(1, std::memory_order_relaxed);
      if (answer == 20) {
        if (control_ != nullptr) control_->Conflicts.fetch_add(1, std::memory_order_relaxed);
        return 20;
      }
      if (answer != 10 || StopRequested(control_)) {
        stopped_ = true;
        return 0;
      }
      model_.assign(static_cast<size_t>(vars_) + 1, 0);
      for (int var = 1; var <= vars_; ++var)
        model_[static_cast<size_t>(var)] = solver_.val(var) > 0;
      if (encoding_.Tight() || encoding_.Founded([this](int var) { return Value(var); })) return 10;
    }
  }

 private:
  TEvaluationControl* control_;
  TStopWatch stopWatch_;
  CaDiCaL::Solver solver_;
  int vars_;
  bool stopped_ = false;
  std::vector<char> model_;  // per variable, of the last exact model
  TPartEncoding encoding_;
};

TPartSolver::TPartSolver(const TTheoryIndex& index, TIncrementalClosure& lower,
                         const std::vector<size_t>& positions, TEvaluationControl* control)
    : encoding_(std::make_unique<TEncoding>(index, lower, positions, control)) {
  stopped_ = encoding_->Stopped();
}

TPartSolver::~TPartSolver() = default;

bool TPartSolver::Varies(int text) const {
  return encoding_->Encoding().Varies(text);
}

const std::vector<int>& TPartSolver::VaryingTexts() const {
  return encoding_->Encoding().VaryingTexts();
}

int TPartSolver::PresenceLiteral(int text) const {
  return encoding_->Encoding().Var(text);
}

bool TPartSolver::Solve(const std::vector<int>& assumptions) {
  const int answer = encoding_->Solve(assumptions);
  stopped_ = encoding_->Stopped();
  return answer == 10;
}

bool TPartSolver::Present(int text) const {
  return encoding_->Value(encoding_->Encoding().Var(text));
}

std::vector<size_t> TPartSolver::Taken() const {
  const TPartEncoding& part = encoding_->Encoding();
  std::vector<size_t> taken;
  for (size_t depth = 0; depth < part.Size(); ++depth)
    if (encoding_->Value(TPartEncoding::PositionVar(depth))) taken.push_back(part.Position(depth));
  return taken;
}

int TPartSolver::Selector(const std::vector<int>& literals) {
  const int selector = encoding_->NewVar();
  std::vector<int> clause{-selector};
  clause.insert(clause.end(), literals.begin(), literals.end());
  encoding_->AddClause(clause);
  return selector;
}

void TPartSolver::PreferPhases(const std::vector<int>& literals) {
  for (int lit : literals) encoding_->Phase(lit);
}

void TPartSolver::Retire(int selector) {
  const int clause[] = {-selector};
  encoding_->AddClause(clause);
}

void TPartSolver::ExcludeLastChoice() {
  std::vector<int> clause;
  for (size_t depth = 0; depth < encoding_->Encoding().Size(); ++depth) {
    const int var = TPartEncoding::PositionVar(depth);
    clause.push_back(encoding_->Value(var) ? -var : var);
  }
  encoding_->AddClause(clause);
}
