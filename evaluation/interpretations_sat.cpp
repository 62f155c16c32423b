#include "evaluation/interpretations_sat.h"

#include "reasoning/part_backends.h"
#include "reasoning/part_encoding.h"
#include "sat/ordered_solver.h"

namespace {

// A part's clauses in the ordered solver: its positions are the solver's
// ordered variables, in the part's order.
class TOrderedPart final : public TClauseSink {
 public:
  TOrderedPart(const TTheoryIndex& index, TIncrementalClosure& lower,
               const std::vector<size_t>& positions, const TEvaluationControl* control)
      : solver_(static_cast<int>(positions.size())),
        encoding_(index, lower, positions, *this, control) {}

  int NewVar() override { return solver_.NewVar(); }
  void AddClause(std::span<const int> lits) override { solver_.AddClause(lits); }

  TOrderedSolver& Solver() { return solver_; }
  const TPartEncoding& Encoding() const { return encoding_; }
  bool Taken(size_t depth) const { return solver_.Value(TPartEncoding::PositionVar(depth)); }
  // The hooks' Check: a model counts only when founded.
  void CheckFounded(TOrderedSolver::THooks& hooks) {
    if (!encoding_.Tight())
      hooks.Check = [this] {
        return encoding_.Founded([this](int var) { return solver_.Value(var); });
      };
  }

 private:
  TOrderedSolver solver_;
  TPartEncoding encoding_;
};

}  // namespace

TSatPartSearch::TSatPartSearch(const TTheoryIndex& index, TIncrementalClosure& lower,
                               TEvaluationControl* control)
    : index_(index), lower_(lower), control_(control) {}

int TSatPartSearch::Any(const std::vector<size_t>& positions, std::vector<size_t>& taken) {
  TOrderedPart part(index_, lower_, positions, control_);
  if (part.Encoding().Stopped()) return -1;
  TOrderedSolver::THooks hooks;
  part.CheckFounded(hooks);
  hooks.Accept = [&] {
    taken.clear();
    for (size_t depth = 0; depth < positions.size(); ++depth)
      if (part.Taken(depth)) taken.push_back(positions[depth]);
    return true;
  };
  hooks.Stop = [&] { return StopRequested(control_); };
  const int some = part.Solver().Solve(hooks);
  if (control_ != nullptr) {
    control_->Decisions.fetch_add(part.Solver().Decisions(), std::memory_order_relaxed);
    control_->Conflicts.fetch_add(part.Solver().Conflicts(), std::memory_order_relaxed);
  }
  return StopRequested(control_) ? -1 : some;
}

bool TSatPartSearch::Run(const std::vector<size_t>& positions,
                         const std::function<bool(const std::vector<size_t>&)>& accept,
                         const std::vector<size_t>* after) {
  TOrderedPart part(index_, lower_, positions, control_);
  if (part.Encoding().Stopped()) return false;
  TOrderedSolver& solver = part.Solver();
  const size_t n = positions.size();
  uint64_t decisions = 0, conflicts = 0;
  auto report = [&] {
    if (control_ == nullptr) return;
    control_->Decisions.fetch_add(solver.Decisions() - decisions, std::memory_order_relaxed);
    control_->Conflicts.fetch_add(solver.Conflicts() - conflicts, std::memory_order_relaxed);
    decisions = solver.Decisions();
    conflicts = solver.Conflicts();
  };
  TOrderedSolver::THooks hooks;
  part.CheckFounded(hooks);
  std::vector<size_t> taken;
  hooks.Accept = [&] {
    taken.clear();
    for (size_t depth = 0; depth < n; ++depth)
      if (part.Taken(depth)) taken.push_back(positions[depth]);
    return accept(taken);
  };
  hooks.Stop = [&] {
    report();
    return StopRequested(control_);
  };
  std::vector<char> bits;
  if (after != nullptr) {
    // The choice found before, as a value per position.
    bits.assign(n, 0);
    size_t k = 0;
    for (size_t depth = 0; depth < n && k < after->size(); ++depth)
      if ((*after)[k] == positions[depth]) {
        bits[depth] = 1;
        ++k;
      }
  }
  if (after == nullptr) {
    // Whether there is any choice at all is asked first in the solver's own
    // order: proving that there is none is where a fixed order is slowest.
    // A part that question makes hard goes to CaDiCaL, which proves such
    // parts empty far sooner; when it finds a choice, the listing goes on
    // with what the ordered solver learned so far.
    TOrderedSolver::THooks ask = hooks;
    ask.Accept = nullptr;
    const uint64_t limit = solver.Conflicts() + askBudget_;
    ask.Stop = [&] {
      report();
      return StopRequested(control_) || solver.Conflicts() >= limit;
    };
    int some = askBudget_ == 0 ? -1 : solver.Solve(ask);
    if (some < 0 && !StopRequested(control_)) {
      const TPartBackend::TAnswer answer = CadicalPartBackend(index_, lower_, positions, control_)->Solve({});
      some = answer == TPartBackend::TAnswer::Model ? 1 : answer == TPartBackend::TAnswer::None ? 0 : -1;
    }
    if (some <= 0) {
      report();
      return some == 0 && !StopRequested(control_);
    }
  }
  const bool complete = solver.Enumerate(hooks, after != nullptr ? &bits : nullptr);
  report();
  return complete && !StopRequested(control_);
}
