#include "reasoning/part_encoding.h"

#include <climits>
#include <utility>

namespace {

constexpr int kTrue = INT_MAX;
constexpr int kFalse = INT_MIN;

}  // namespace

TPartEncoding::TPartEncoding(const TTheoryIndex& index, TIncrementalClosure& lower,
                             std::vector<size_t> positions, TClauseSink& sink,
                             const TEvaluationControl* control)
    : index_(index),
      lower_(lower),
      positions_(std::move(positions)),
      sink_(sink),
      control_(control) {
  Encode();
}

int TPartEncoding::Lit(int text) const {
  const int var = varOf_[static_cast<size_t>(text)];
  if (var != 0) return var;
  return lower_.Contains(text) ? kTrue : kFalse;
}

int TPartEncoding::BodyLit(int rule) {
  int& cached = bodyLit_[static_cast<size_t>(rule)];
  if (cached != 0) return cached;
  const TClosureRule& r = index_.Rules()[static_cast<size_t>(rule)];
  std::vector<int> lits;
  bool impossible = false;
  auto take = [&](int text) {
    const int lit = Lit(text);
    if (lit == kFalse)
      impossible = true;
    else if (lit != kTrue)
      lits.push_back(lit);
  };
  take(r.Conditional);
  for (int c : r.Conjuncts) take(c);
  if (impossible) return cached = kFalse;
  if (lits.empty()) return cached = kTrue;
  if (lits.size() == 1) return cached = lits.front();
  const int body = sink_.NewVar();
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
  const std::vector<int>& ids = index_.AssumptionIds();
  const size_t mark = lower_.Mark();
  for (size_t pos : positions_) lower_.AddBase(ids[pos]);
  texts_ = lower_.EnteredSince(mark);
  lower_.UndoTo(mark);

  varOf_.assign(index_.TextCount(), 0);
  bodyLit_.assign(index_.Rules().size(), 0);
  for (int text : texts_) varOf_[static_cast<size_t>(text)] = sink_.NewVar();
  depthsOf_.assign(texts_.size(), {});
  // Positions whose text the forced closure holds anyway matter only for
  // being taken in; their texts get no variable.
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
    // A large part takes a while to encode: a stop request ends it.
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
    // Never together with its negation.
    const int negation = index_.Negation(text);
    if (negation >= 0) {
      const int other = Lit(negation);
      if (other == kTrue)
        Clause({-present});
      else if (other != kFalse)
        Clause({-present, -other});
    }
    const int negated = index_.Negated(text);
    if (negated >= 0 && Lit(negated) == kTrue) Clause({-present});
  }
  // Every position has its text taken in or its negation present.
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
  for (size_t k = 0; k < constantTexts.size(); ++k)
    takeOrDefeat(constantTexts[k], constantDepths[k]);
  tight_ = IsTight();
}

bool TPartEncoding::IsTight() const {
  // Edges from a varying text in a rule's body to the rule's consequent, by
  // the texts' slots; tight when the texts can be ordered along them.
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

bool TPartEncoding::Founded(const std::function<bool(int var)>& value) {
  const std::vector<int>& ids = index_.AssumptionIds();
  const size_t mark = lower_.Mark();
  for (size_t depth = 0; depth < positions_.size(); ++depth)
    if (value(PositionVar(depth))) lower_.AddBase(ids[positions_[depth]]);
  std::vector<int> set;
  for (int text : texts_)
    if (value(Var(text)) && !lower_.Contains(text)) set.push_back(text);
  lower_.UndoTo(mark);
  if (set.empty()) return true;
  std::vector<char> unfounded(index_.TextCount(), 0);
  for (int text : set) unfounded[static_cast<size_t>(text)] = 1;
  // Support from outside the set: a position of one of its texts taken in,
  // or a rule producing one of them whose body lies wholly outside it.
  std::vector<int> external;
  for (int text : set) {
    for (size_t depth : DepthsOf(text)) external.push_back(PositionVar(depth));
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
    clause.assign(1, -Var(text));
    clause.insert(clause.end(), external.begin(), external.end());
    sink_.AddClause(clause);
  }
  return false;
}
