#include "acceptance/part_solver.h"

#include <cadical.hpp>

#include <climits>

namespace {

constexpr int kTrue = INT_MAX;
constexpr int kFalse = INT_MIN;

// Ends a solver call as soon as a stop is requested.
class TStopWatch : public CaDiCaL::Terminator {
 public:
  explicit TStopWatch(const TEvaluationControl* control) : control_(control) {}
  bool terminate() override { return StopRequested(control_); }

 private:
  const TEvaluationControl* control_;
};

}  // namespace

class TPartSolver::TEncoding {
 public:
  TEncoding(const TTheoryIndex& index, TIncrementalClosure& lower,
            const std::vector<size_t>& positions, TEvaluationControl* control)
      : index_(index), lower_(lower), positions_(positions), control_(control), stopWatch_(control) {
    solver_.set("quiet", 1);
    solver_.connect_terminator(&stopWatch_);
    Encode();
  }
  ~TEncoding() { solver_.disconnect_terminator(); }

  bool Varies(int text) const { return varOf_[static_cast<size_t>(text)] != 0; }
  const std::vector<int>& Texts() const { return texts_; }
  int Var(int text) const { return varOf_[static_cast<size_t>(text)]; }
  int PositionVar(size_t depth) const { return static_cast<int>(depth) + 1; }
  bool Value(int var) const { return model_[static_cast<size_t>(var)] != 0; }
  size_t Size() const { return positions_.size(); }
  size_t Position(size_t depth) const { return positions_[depth]; }
  bool Stopped() const { return stopped_; }

  // 10: an exact model; 20: none; 0: stopped.
  int Solve(const std::vector<int>& assumptions) {
    if (stopped_) return 0;
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
      for (int var = 1; var <= vars_; ++var) model_[static_cast<size_t>(var)] = solver_.val(var) > 0;
      if (tight_ || Founded()) return 10;
    }
  }
  int NewVar() { return ++vars_; }
  void Phase(int lit) { solver_.phase(lit); }
  void Clause(const std::vector<int>& lits) {
    for (int lit : lits) solver_.add(lit);
    solver_.add(0);
  }

 private:
  int Lit(int text) const {
    const int var = varOf_[static_cast<size_t>(text)];
    if (var != 0) return var;
    return lower_.Contains(text) ? kTrue : kFalse;
  }
  int BodyLit(int rule);
  void Encode();
  bool IsTight() const;
  bool Founded();

  const TTheoryIndex& index_;
  TIncrementalClosure& lower_;
  const std::vector<size_t> positions_;
  TEvaluationControl* control_;
  TStopWatch stopWatch_;
  CaDiCaL::Solver solver_;
  int vars_ = 0;
  bool tight_ = true;
  bool stopped_ = false;
  std::vector<int> varOf_;     // per text: its variable, 0 when constant
  std::vector<int> texts_;     // the texts with a variable, in variable order
  std::vector<int> bodyLit_;   // per rule: 0 until computed
  std::vector<std::vector<size_t>> depthsOf_;  // per text with a variable: its positions
  std::vector<char> model_;    // per variable, of the last exact model
};

int TPartSolver::TEncoding::BodyLit(int rule) {
  int& cached = bodyLit_[static_cast<size_t>(rule)];
  if (cached != 0) return cached;
  const TClosureRule& r = index_.Rules()[static_cast<size_t>(rule)];
  std::vector<int> lits;
  bool impossible = false;
  auto take = [&](int text) {
    const int lit = Lit(text);
    if (lit == kFalse) impossible = true;
    else if (lit != kTrue) lits.push_back(lit);
  };
  take(r.Conditional);
  for (int c : r.Conjuncts) take(c);
  if (impossible) return cached = kFalse;
  if (lits.empty()) return cached = kTrue;
  if (lits.size() == 1) return cached = lits.front();
  const int body = NewVar();
  std::vector<int> back{body};
  for (int lit : lits) {
    Clause({-body, lit});
    back.push_back(-lit);
  }
  Clause(back);
  return cached = body;
}

void TPartSolver::TEncoding::Encode() {
  // The texts a choice can bring in: the closure with every position taken
  // in, less the closure of the forced assumptions.
  const std::vector<int>& ids = index_.AssumptionIds();
  const size_t mark = lower_.Mark();
  for (size_t pos : positions_) lower_.AddBase(ids[pos]);
  texts_ = lower_.EnteredSince(mark);
  lower_.UndoTo(mark);

  varOf_.assign(index_.TextCount(), 0);
  bodyLit_.assign(index_.Rules().size(), 0);
  vars_ = static_cast<int>(positions_.size());
  for (int text : texts_) varOf_[static_cast<size_t>(text)] = NewVar();
  depthsOf_.assign(texts_.size(), {});
  // Positions whose text the forced closure holds anyway matter only for
  // being taken in.
  std::vector<int> constantTexts;
  std::vector<std::vector<size_t>> constantDepths;
  for (size_t depth = 0; depth < positions_.size(); ++depth) {
    const int text = ids[positions_[depth]];
    if (Varies(text)) {
      depthsOf_[static_cast<size_t>(Var(text)) - positions_.size() - 1].push_back(depth);
      continue;
    }
    size_t k = 0;
    while (k < constantTexts.size() && constantTexts[k] != text) ++k;
    if (k == constantTexts.size()) {
      constantTexts.push_back(text);
      constantDepths.emplace_back();
    }
    constantDepths[k].push_back(depth);
  }

  std::vector<int> support;
  for (size_t k = 0; k < texts_.size(); ++k) {
    if ((k & 1023) == 0 && StopRequested(control_)) {
      stopped_ = true;
      return;
    }
    const int text = texts_[k];
    const int present = Var(text);
    support.assign(1, -present);
    for (size_t depth : depthsOf_[k]) support.push_back(PositionVar(depth));
    for (int rule : index_.Producers(text)) {
      const int body = BodyLit(rule);
      if (body == kFalse) continue;
      if (body == kTrue) {  // cannot happen: the text would be in the forced closure
        support.assign(1, present);
        break;
      }
      support.push_back(body);
    }
    for (size_t s = 1; s < support.size(); ++s) Clause({-support[s], present});
    Clause(support);
    const int negation = index_.Negation(text);
    if (negation >= 0) {
      const int other = Lit(negation);
      if (other == kTrue) Clause({-present});
      else if (other != kFalse) Clause({-present, -other});
    }
    const int negated = index_.Negated(text);
    if (negated >= 0 && Lit(negated) == kTrue) Clause({-present});
  }
  auto takeOrDefeat = [&](int text, const std::vector<size_t>& depths) {
    std::vector<int> clause;
    for (size_t depth : depths) clause.push_back(PositionVar(depth));
    const int negation = index_.Negation(text);
    const int defeat = negation >= 0 ? Lit(negation) : kFalse;
    if (defeat == kTrue) return;
    if (defeat != kFalse) clause.push_back(defeat);
    Clause(clause);
  };
  for (size_t k = 0; k < texts_.size(); ++k)
    if (!depthsOf_[k].empty()) takeOrDefeat(texts_[k], depthsOf_[k]);
  for (size_t k = 0; k < constantTexts.size(); ++k) takeOrDefeat(constantTexts[k], constantDepths[k]);
  tight_ = IsTight();
}

// Whether no varying text depends on itself through rule bodies.
bool TPartSolver::TEncoding::IsTight() const {
  const size_t first = positions_.size() + 1;
  std::vector<int> pending(texts_.size(), 0);
  std::vector<std::vector<int>> out(texts_.size());
  for (size_t k = 0; k < texts_.size(); ++k) {
    for (int rule : index_.Producers(texts_[k])) {
      const TClosureRule& r = index_.Rules()[static_cast<size_t>(rule)];
      auto edge = [&](int from) {
        if (!Varies(from)) return;
        out[static_cast<size_t>(Var(from)) - first].push_back(static_cast<int>(k));
        ++pending[k];
      };
      edge(r.Conditional);
      for (int c : r.Conjuncts) edge(c);
    }
  }
  std::vector<int> ready;
  for (size_t k = 0; k < texts_.size(); ++k)
    if (pending[k] == 0) ready.push_back(static_cast<int>(k));
  size_t done = 0;
  while (!ready.empty()) {
    const int k = ready.back();
    ready.pop_back();
    ++done;
    for (int to : out[static_cast<size_t>(k)])
      if (--pending[static_cast<size_t>(to)] == 0) ready.push_back(to);
  }
  return done == texts_.size();
}

bool TPartSolver::TEncoding::Founded() {
  const std::vector<int>& ids = index_.AssumptionIds();
  const size_t mark = lower_.Mark();
  for (size_t depth = 0; depth < positions_.size(); ++depth)
    if (Value(PositionVar(depth))) lower_.AddBase(ids[positions_[depth]]);
  std::vector<int> set;
  for (int text : texts_)
    if (Value(Var(text)) && !lower_.Contains(text)) set.push_back(text);
  lower_.UndoTo(mark);
  if (set.empty()) return true;
  std::vector<char> unfounded(index_.TextCount(), 0);
  for (int text : set) unfounded[static_cast<size_t>(text)] = 1;
  // Support from outside the set: a position of one of its texts taken in,
  // or a rule producing one of them whose body lies wholly outside it.
  std::vector<int> external;
  for (int text : set) {
    for (size_t depth : depthsOf_[static_cast<size_t>(Var(text)) - positions_.size() - 1])
      external.push_back(PositionVar(depth));
    for (int rule : index_.Producers(text)) {
      const TClosureRule& r = index_.Rules()[static_cast<size_t>(rule)];
      bool inside = unfounded[static_cast<size_t>(r.Conditional)] != 0;
      for (int c : r.Conjuncts) inside = inside || unfounded[static_cast<size_t>(c)] != 0;
      const int body = BodyLit(rule);
      if (!inside && body != kFalse) external.push_back(body);
    }
  }
  for (int text : set) {
    solver_.add(-Var(text));
    for (int lit : external) solver_.add(lit);
    solver_.add(0);
  }
  return false;
}

TPartSolver::TPartSolver(const TTheoryIndex& index, TIncrementalClosure& lower,
                         const std::vector<size_t>& positions, TEvaluationControl* control)
    : encoding_(std::make_unique<TEncoding>(index, lower, positions, control)) {
  stopped_ = encoding_->Stopped();
}

TPartSolver::~TPartSolver() = default;

bool TPartSolver::Varies(int text) const { return text >= 0 && encoding_->Varies(text); }

const std::vector<int>& TPartSolver::VaryingTexts() const { return encoding_->Texts(); }

int TPartSolver::PresenceLiteral(int text) const { return encoding_->Var(text); }

bool TPartSolver::Solve(const std::vector<int>& assumptions) {
  const int answer = encoding_->Solve(assumptions);
  stopped_ = encoding_->Stopped();
  return answer == 10;
}

bool TPartSolver::Present(int text) const { return encoding_->Value(encoding_->Var(text)); }

std::vector<size_t> TPartSolver::Taken() const {
  std::vector<size_t> taken;
  for (size_t depth = 0; depth < encoding_->Size(); ++depth)
    if (encoding_->Value(encoding_->PositionVar(depth))) taken.push_back(encoding_->Position(depth));
  return taken;
}

int TPartSolver::Selector(const std::vector<int>& literals) {
  const int selector = encoding_->NewVar();
  std::vector<int> clause{-selector};
  clause.insert(clause.end(), literals.begin(), literals.end());
  encoding_->Clause(clause);
  return selector;
}

void TPartSolver::PreferPhases(const std::vector<int>& literals) {
  for (int lit : literals) encoding_->Phase(lit);
}

void TPartSolver::Retire(int selector) { encoding_->Clause({-selector}); }

void TPartSolver::ExcludeLastChoice() {
  std::vector<int> clause;
  for (size_t depth = 0; depth < encoding_->Size(); ++depth) {
    const int var = encoding_->PositionVar(depth);
    clause.push_back(encoding_->Value(var) ? -var : var);
  }
  encoding_->Clause(clause);
}
