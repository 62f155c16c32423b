#include "evaluation/interpretations_sat.h"

#include <cadical.hpp>

#include <climits>
#include <memory>

namespace {

constexpr int kTrue = INT_MAX;
constexpr int kFalse = INT_MIN;

// Ends a solver call as soon as a stop is requested. The solver asks often
// while it searches; each question counts as progress.
class TStopWatch : public CaDiCaL::Terminator {
 public:
  explicit TStopWatch(TEvaluationControl* control) : control_(control) {}
  bool terminate() override {
    if (control_ == nullptr) return false;
    control_->Decisions.fetch_add(1, std::memory_order_relaxed);
    return control_->StopRequested();
  }

 private:
  TEvaluationControl* control_;
};

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
        stopWatch_(control) {
    solver_.set("quiet", 1);
    solver_.connect_terminator(&stopWatch_);
    Encode();
  }
  ~TPartEncoding() { solver_.disconnect_terminator(); }

  int PositionVar(size_t depth) const { return static_cast<int>(depth) + 1; }

  // Solves under the assumptions; true when satisfiable with a model whose
  // closure is real. Sets stopped_ when the solver was interrupted.
  bool Solve(const std::vector<int>& assumptions) {
    for (;;) {
      for (int lit : assumptions) solver_.assume(lit);
      const int answer = solver_.solve();
      if (control_ != nullptr) control_->Decisions.fetch_add(1, std::memory_order_relaxed);
      if (answer == 0 || StopRequested(control_)) {
        stopped_ = true;
        return false;
      }
      if (answer == 20) {
        if (control_ != nullptr) control_->Conflicts.fetch_add(1, std::memory_order_relaxed);
        return false;
      }
      if (tight_ || Founded()) return true;
    }
  }
  bool Taken(size_t depth) { return solver_.val(PositionVar(depth)) > 0; }
  bool Stopped() const { return stopped_; }

 private:
  int Lit(int text) const {
    const int var = varOf_[static_cast<size_t>(text)];
    if (var != 0) return var;
    return lower_.Contains(text) ? kTrue : kFalse;
  }
  int NewVar() { return ++vars_; }
  void Clause(const std::vector<int>& lits) {
    for (int lit : lits) solver_.add(lit);
    solver_.add(0);
  }
  // The literal that holds when a rule's body does: kTrue, kFalse, one text's
  // variable or an auxiliary variable for the conjunction.
  int BodyLit(int rule);
  void Encode();
  bool IsTight() const;
  // Whether the model's closure is the real closure of its choice; if not,
  // adds the loop clauses of the texts present without support.
  bool Founded();

  const TTheoryIndex& index_;
  const std::vector<int>& ids_;
  TIncrementalClosure& lower_;
  const std::vector<size_t>& positions_;
  TEvaluationControl* control_;
  TStopWatch stopWatch_;
  CaDiCaL::Solver solver_;
  int vars_ = 0;
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
  vars_ = static_cast<int>(positions_.size());
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
    if (solver_.val(varOf_[static_cast<size_t>(text)]) > 0 && !lower_.Contains(text)) {
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
  for (int text : set) {
    solver_.add(-varOf_[static_cast<size_t>(text)]);
    for (int lit : external) solver_.add(lit);
    solver_.add(0);
  }
  return false;
}

}  // namespace

TSatPartSearch::TSatPartSearch(const TTheoryIndex& index, const std::vector<int>& assumptionIds,
                               TIncrementalClosure& lower, TEvaluationControl* control)
    : index_(index), ids_(assumptionIds), lower_(lower), control_(control) {}

bool TSatPartSearch::Run(const std::vector<size_t>& positions,
                         const std::function<bool(const std::vector<size_t>&)>& accept,
                         const std::vector<size_t>* after) {
  TPartEncoding encoding(index_, ids_, lower_, positions, control_);
  if (encoding.Stopped()) return false;
  const size_t n = positions.size();
  // The decided prefix as solver assumptions, and the model behind it.
  std::vector<int> prefix;
  std::vector<char> model(n, 0);
  auto keepModel = [&]() {
    for (size_t d = 0; d < n; ++d) model[d] = encoding.Taken(d) ? 1 : 0;
  };
  std::vector<size_t> taken;
  bool resume = after != nullptr;
  if (resume) {
    // Back at the choice found before, as if it had just been accepted.
    size_t k = 0;
    for (size_t depth = 0; depth < n; ++depth) {
      const bool in = k < after->size() && (*after)[k] == positions[depth];
      if (in) {
        ++k;
        taken.push_back(positions[depth]);
      }
      prefix.push_back(in ? encoding.PositionVar(depth) : -encoding.PositionVar(depth));
    }
  } else {
    if (!encoding.Solve(prefix)) return !encoding.Stopped();
    keepModel();
  }
  for (;;) {
    // Down to a leaf: every position left out unless it must be taken in.
    while (prefix.size() < n) {
      const size_t depth = prefix.size();
      const int var = encoding.PositionVar(depth);
      if (model[depth] != 0) {
        prefix.push_back(-var);
        if (encoding.Solve(prefix)) {
          keepModel();
          continue;
        }
        if (encoding.Stopped()) return false;
        prefix.back() = var;
        taken.push_back(positions[depth]);
        continue;
      }
      prefix.push_back(-var);
    }
    if (!resume && !accept(taken)) return false;
    resume = false;
    // Back to the deepest position left out that could still be taken in.
    for (;;) {
      if (prefix.empty()) return true;
      const int lit = prefix.back();
      prefix.pop_back();
      if (lit > 0) {
        taken.pop_back();
        continue;
      }
      prefix.push_back(-lit);
      if (encoding.Solve(prefix)) {
        keepModel();
        taken.push_back(positions[prefix.size() - 1]);
        break;
      }
      if (encoding.Stopped()) return false;
      prefix.pop_back();
    }
  }
}
