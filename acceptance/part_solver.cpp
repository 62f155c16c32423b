#include "acceptance/part_solver.h"

#include "reasoning/part_backends.h"

TPartSolver::TPartSolver(const TTheoryIndex& index, TIncrementalClosure& lower,
                         const std::vector<size_t>& positions, TEvaluationControl* control,
                         uint64_t conflictBudget)
    : index_(index),
      lower_(lower),
      positions_(positions),
      control_(control),
      backend_(conflictBudget == 0
                   ? CadicalPartBackend(index, lower, positions, control)
                   : OrderedPartBackend(index, lower, positions, control, conflictBudget)),
      handedOver_(conflictBudget == 0) {
  stopped_ = backend_->Encoding().Stopped();
}

TPartSolver::~TPartSolver() = default;

bool TPartSolver::Varies(int text) const {
  return backend_->Encoding().Varies(text);
}

const std::vector<int>& TPartSolver::VaryingTexts() const {
  return backend_->Encoding().VaryingTexts();
}

int TPartSolver::PresenceLiteral(int text) const {
  return backend_->Encoding().Var(text);
}

bool TPartSolver::Solve(const std::vector<int>& assumptions) {
  if (stopped_) return false;
  if (control_ != nullptr) control_->Decisions.fetch_add(1, std::memory_order_relaxed);
  TPartBackend::TAnswer answer = backend_->Solve(assumptions);
  if (answer == TPartBackend::TAnswer::OverBudget) {
    HandOver();
    if (!stopped_) answer = backend_->Solve(assumptions);
  }
  if (stopped_ || answer == TPartBackend::TAnswer::Stopped) {
    stopped_ = true;
    return false;
  }
  if (answer == TPartBackend::TAnswer::None && control_ != nullptr)
    control_->Conflicts.fetch_add(1, std::memory_order_relaxed);
  return answer == TPartBackend::TAnswer::Model;
}

void TPartSolver::HandOver() {
  if (handedOver_) return;
  // The same encoding in CaDiCaL numbers its variables alike; the selectors
  // made since follow it, and the clauses added since are added again.
  std::unique_ptr<TPartBackend> next = CadicalPartBackend(index_, lower_, positions_, control_);
  if (next->Encoding().Stopped()) {
    stopped_ = true;
    return;
  }
  while (next->VarCount() < backend_->VarCount()) next->NewVar();
  for (const std::vector<int>& clause : added_) next->AddClause(clause);
  for (int lit : phases_) next->Phase(lit);
  backend_ = std::move(next);
  handedOver_ = true;
  added_ = {};  // only kept for a hand-over
  phases_ = {};
}

bool TPartSolver::Present(int text) const {
  return backend_->Value(backend_->Encoding().Var(text));
}

std::vector<size_t> TPartSolver::Taken() const {
  const TPartEncoding& part = backend_->Encoding();
  std::vector<size_t> taken;
  for (size_t depth = 0; depth < part.Size(); ++depth)
    if (backend_->Value(TPartEncoding::PositionVar(depth))) taken.push_back(part.Position(depth));
  return taken;
}

void TPartSolver::Add(std::vector<int> clause) {
  backend_->AddClause(clause);
  // Only the ordered solver may still hand its clauses over.
  if (!handedOver_) added_.push_back(std::move(clause));
}

int TPartSolver::Selector(const std::vector<int>& literals) {
  const int selector = backend_->NewVar();
  std::vector<int> clause{-selector};
  clause.insert(clause.end(), literals.begin(), literals.end());
  Add(std::move(clause));
  return selector;
}

void TPartSolver::Retire(int selector) {
  Add({-selector});
}

void TPartSolver::PreferPhases(const std::vector<int>& literals) {
  for (int lit : literals) backend_->Phase(lit);
  if (!handedOver_) phases_ = literals;
}

void TPartSolver::ExcludeLastChoice() {
  std::vector<int> clause;
  for (size_t depth = 0; depth < backend_->Encoding().Size(); ++depth) {
    const int var = TPartEncoding::PositionVar(depth);
    clause.push_back(backend_->Value(var) ? -var : var);
  }
  Add(std::move(clause));
}
