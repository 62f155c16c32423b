#include "evaluation/interpretations_sat.h"

#include <climits>

#include "sat/ordered_solver.h"

namespace {

constexpr int kTrue = INT_MAX;
constexpr int kFalse = INT_MIN;

// The clauses of one part and the solver that holds them.
class TPartEncoding {
 public:
  TPartEncoding(const TTheoryIndex& index, const std::vector<int>& ids,
                TIncrementalClosure& lower, const std::vector<size_t>& positions,
                TEvaluationControl* control)
      : index_(index),
        ids_(ids),
        lower_(lower),
        positions_(positions),
        control_(control),
        solver_(static_cast<int>(positions.size())) {
    Encode();
  }

  int PositionVar(size_t depth) const { return static_cast<int>(depth) + 1; }
  bool Taken(size_t depth) const { return solver_.Value(PositionVar(depth)); }
  bool Stopped() const { return stopped_; }
  bool Tight() const { return tight_; }
  TOrderedSolver& Solver() { return solver_; }
  // Whether the model's closure is the real closure of its choice; if not,
  // adds the loop clauses of the texts present without support.
  bool Founded();

 private:
  int Lit(int text) const {
    const int var = varOf_[static_cast<size_t>(text)];
    if (var != 0) return var;
    return lower_.Contains(text) ? kTrue : kFalse;
  }
  int NewVar() { return solver_.NewVar(); }
  void Clause(const std::vector<int>& lits) { solver_.AddClause(lits); }
  // The literal that holds when a rule's body does: kTrue, kFalse, one text's
  // variable or an auxiliary variable for the conjunction.
  int BodyLit(int rule);
  void Encode();
  bool IsTight() const;

  const TTheoryIndex& index_;
  const std::vector<int>& ids_;
  TIncrementalClosure& lower_;
  const std::vector<size_t>& positions_;
  TEvaluationControl* control_;
  TOrderedSolver solver_;
  bool tight_ = true;
  bool stopped_ = false;
  std::vector<int> varOf_;            // per text: its variable, 0 when constant
  std::vector<int> texts_;            // the texts with a variable
  std::vector<int> bodyLit_;          // per rule: 0 until computed
  std::vector<std::vector<size_t>> depthsOf_;  // per text with a variable: depths of its positions
};

int TPartEncoding::BodyLit(int rule) {
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

void TPartEncoding::Encode() {
  // The texts some choice can bring in: the closure with every position of the
  // part taken in, less the closure of the forced assumptions.
  const size_t mark = lower_.Mark();
  for (size_t pos : positions_) lower_.AddBase(ids_[pos]);
  texts_ = lower_.EnteredSince(mark);
  lower_.UndoTo(mark);

  varOf_.assign(index_.TextCount(), 0);
  bodyLit_.assign(index_.Rules().size(), 0);
  for (int text : texts_) varOf_[static_cast<size_t>(text)] = NewVar();
  depthsOf_.assign(texts_.size(), {});
  std::vector<int> slotOf(index_.TextCount(), -1);
  for (size_t k = 0; k < texts_.size(); ++k) slotOf[static_cast<size_t>(texts_[k])] = static_cast<int>(k);
  // Positions whose text the forced closure holds anyway only matter for
  // being taken in; their texts get no variable.
  std::vector<std::vector<size_t>> constantDepths;
  std::vector<int> constantTexts;
  for (size_t depth = 0; depth < positions_.size(); ++depth) {
    const int text = ids_[positions_[depth]];
    const int slot = slotOf[static_cast<size_t>(text)];
    if (slot >= 0) {
      depthsOf_[static_cast<size_t>(slot)].push_back(depth);
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
    // A large part takes a while to encode: a stop request ends it.
    if ((k & 1023) == 0 && StopRequested(control_)) {
      stopped_ = true;
      return;
    }
    const int text = texts_[k];
    const int present = varOf_[static_cast<size_t>(text)];
    support.assign(1, -present);
    for (size_t depth : depthsOf_[k]) support.push_back(PositionVar(depth));
    for (int rule : index_.Producers(text)) {
      const int body = BodyLit(rule);
      if (body == kFalse) continue;
      if (body == kTrue) {  // cannot happen: the text would be forced
        support.assign(1, present);
        break;
      }
      support.push_back(body);
    }
    for (size_t s = 1; s < support.size(); ++s) Clause({-support[s], present});
    Clause(support);
    // Never together with its negation.
    const int negation = index_.Negation(text);
    if (negation >= 0) {
      const int other = Lit(negation);
      if (other == kTrue) Clause({-present});
      else if (other != kFalse) Clause({-present, -other});
    }
    const int negated = index_.Negated(text);
    if (negated >= 0 && Lit(negated) == kTrue) Clause({-present});
  }
  // Every position has its text taken in or its negation present.
  auto defeatOrTake = [&](int text, const std::vector<size_t>& depths) {
    std::vector<int> clause;
    for (size_t depth : depths) clause.push_back(PositionVar(depth));
    const int negation = index_.Negation(text);
    const int defeat = negation >= 0 ? Lit(negation) : kFalse;
    if (defeat == kTrue) return;
    if (defeat != kFalse) clause.push_back(defeat);
    Clause(clause);
  };
  for (size_t k = 0; k < texts_.size(); ++k)
    if (!depthsOf_[k].empty()) defeatOrTake(texts_[k], depthsOf_[k]);
  for (size_t k = 0; k < constantTexts.size(); ++k) defeatOrTake(constantTexts[k], constantDepths[k]);
  tight_ = IsTight();
}

// Whether no text with a variable depends on itself through rule bodies.
bool TPartEncoding::IsTight() const {
  std::vector<int> pending(index_.TextCount(), 0);
  std::vector<int> ready;
  // Edges: a text with a variable in a rule's body -> the rule's consequent.
  auto forEachEdge = [&](auto&& visit) {
    for (int text : texts_) {
      for (int rule : index_.Producers(text)) {
        const TClosureRule& r = index_.Rules()[static_cast<size_t>(rule)];
        if (varOf_[static_cast<size_t>(r.Conditional)] != 0) visit(r.Conditional, text);
        for (int c : r.Conjuncts)
          if (varOf_[static_cast<size_t>(c)] != 0) visit(c, text);
      }
    }
  };
  std::vector<std::vector<int>> out(index_.TextCount());
  forEachEdge([&](int from, int to) {
    out[static_cast<size_t>(from)].push_back(to);
    ++pending[static_cast<size_t>(to)];
  });
  for (int text : texts_)
    if (pending[static_cast<size_t>(text)] == 0) ready.push_back(text);
  size_t done = 0;
  while (!ready.empty()) {
    const int text = ready.back();
    ready.pop_back();
    ++done;
    for (int to : out[static_cast<size_t>(text)])
      if (--pending[static_cast<size_t>(to)] == 0) ready.push_back(to);
  }
  return done == texts_.size();
}

bool TPartEncoding::Founded() {
  const size_t mark = lower_.Mark();
  for (size_t depth = 0; depth < positions_.size(); ++depth)
    if (Taken(depth)) lower_.AddBase(ids_[positions_[depth]]);
  std::vector<char> unfounded(index_.TextCount(), 0);
  std::vector<int> set;
  for (int text : texts_)
    if (solver_.Value(varOf_[static_cast<size_t>(text)]) && !lower_.Contains(text)) {
      unfounded[static_cast<size_t>(text)] = 1;
      set.push_back(text);
    }
  lower_.UndoTo(mark);
  if (set.empty()) return true;
  // Support from outside the set: a position of a text in it taken in, or a
  // rule producing a text in it whose body lies wholly outside it.
  std::vector<int> external;
  for (int text : set) {
    // Text variables come right after the position variables, in order.
    const size_t slot = static_cast<size_t>(varOf_[static_cast<size_t>(text)]) -
                        positions_.size() - 1;
    for (size_t depth : depthsOf_[slot]) external.push_back(PositionVar(depth));
    for (int rule : index_.Producers(text)) {
      const TClosureRule& r = index_.Rules()[static_cast<size_t>(rule)];
      bool inside = unfounded[static_cast<size_t>(r.Conditional)] != 0;
      for (int c : r.Conjuncts) inside = inside || unfounded[static_cast<size_t>(c)] != 0;
      const int body = BodyLit(rule);
      if (!inside && body != kFalse) external.push_back(body);
    }
  }
  std::vector<int> clause;
  for (int text : set) {
    clause.assign(1, -varOf_[static_cast<size_t>(text)]);
    clause.insert(clause.end(), external.begin(), external.end());
    solver_.AddClause(clause);
  }
  return false;
}

}  // namespace

TSatPartSearch::TSatPartSearch(const TTheoryIndex& index, const std::vector<int>& assumptionIds,
                               TIncrementalClosure& lower, TEvaluationControl* control)
    : index_(index), ids_(assumptionIds), lower_(lower), control_(control) {}

int TSatPartSearch::Any(const std::vector<size_t>& positions, std::vector<size_t>& taken) {
  TPartEncoding encoding(index_, ids_, lower_, positions, control_);
  if (encoding.Stopped()) return -1;
  TOrderedSolver::THooks hooks;
  if (!encoding.Tight()) hooks.Check = [&] { return encoding.Founded(); };
  hooks.Accept = [&] {
    taken.clear();
    for (size_t depth = 0; depth < positions.size(); ++depth)
      if (encoding.Taken(depth)) taken.push_back(positions[depth]);
    return true;
  };
  hooks.Stop = [&] { return StopRequested(control_); };
  const int some = encoding.Solver().Solve(hooks);
  if (control_ != nullptr) {
    control_->Decisions.fetch_add(encoding.Solver().Decisions(), std::memory_order_relaxed);
    control_->Conflicts.fetch_add(encoding.Solver().Conflicts(), std::memory_order_relaxed);
  }
  return StopRequested(control_) ? -1 : some;
}

bool TSatPartSearch::Run(const std::vector<size_t>& positions,
                         const std::function<bool(const std::vector<size_t>&)>& accept,
                         const std::vector<size_t>* after) {
  TPartEncoding encoding(index_, ids_, lower_, positions, control_);
  if (encoding.Stopped()) return false;
  TOrderedSolver& solver = encoding.Solver();
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
  if (!encoding.Tight()) hooks.Check = [&] { return encoding.Founded(); };
  std::vector<size_t> taken;
  hooks.Accept = [&] {
    taken.clear();
    for (size_t depth = 0; depth < n; ++depth)
      if (encoding.Taken(depth)) taken.push_back(positions[depth]);
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
    TOrderedSolver::THooks ask = hooks;
    ask.Accept = nullptr;
    const int some = solver.Solve(ask);
    if (some <= 0) {
      report();
      return some == 0 && !StopRequested(control_);
    }
  }
  const bool complete = solver.Enumerate(hooks, after != nullptr ? &bits : nullptr);
  report();
  return complete && !StopRequested(control_);
}
