#include "sat/ordered_solver.h"

#include <algorithm>
#include <utility>

TOrderedSolver::TOrderedSolver(int orderedVars) : ordered_(orderedVars) {
  for (int v = 0; v < orderedVars; ++v) NewVar();
}

int TOrderedSolver::NewVar() {
  assigns_.push_back(kUnset);
  levelOf_.push_back(0);
  reason_.push_back(kNoRef);
  seen_.push_back(0);
  activity_.push_back(0);
  heapAt_.push_back(-1);
  phase_.push_back(kFalse);
  inCore_.resize(inCore_.size() + 2, 0);
  watches_.emplace_back();
  watches_.emplace_back();
  if (free_) HeapInsert(static_cast<uint32_t>(assigns_.size() - 1));
  return VarCount();
}

void TOrderedSolver::AddClause(std::span<const int> lits) {
  std::vector<TLit> clause;
  clause.reserve(lits.size());
  for (int lit : lits) clause.push_back(ToLit(lit));
  if (searching_) {
    pending_.push_back(std::move(clause));
    return;
  }
  Settle();
  if (Attach(clause, false, 0) != kNoRef) empty_ = true;  // false at level 0
}

void TOrderedSolver::SetPhase(int lit) {
  const TLit at = ToLit(lit);
  // A kept model's values are saved as phases when it is given up: this one
  // is set after that.
  if (!searching_ && Level() > 0)
    phaseWanted_.push_back(at);
  else
    phase_[VarOf(at)] = (at & 1) ? kFalse : kTrue;
}

void TOrderedSolver::Settle() {
  if (searching_) return;
  Backtrack(0);
  for (TLit lit : phaseWanted_) phase_[VarOf(lit)] = (lit & 1) ? kFalse : kTrue;
  phaseWanted_.clear();
  if (pending_.empty()) return;
  std::vector<std::vector<TLit>> held = std::move(pending_);
  pending_.clear();
  for (auto& clause : held)
    if (Attach(clause, false, 0) != kNoRef) empty_ = true;
}

TOrderedSolver::TSearch::~TSearch() {
  solver_.free_ = false;
  solver_.heap_.clear();
  std::fill(solver_.heapAt_.begin(), solver_.heapAt_.end(), -1);
  if (!keep_) solver_.Backtrack(0);
  solver_.searching_ = false;
}

TOrderedSolver::TRef TOrderedSolver::Store(std::span<const TLit> lits, bool learnt, uint32_t glue) {
  const TRef ref = static_cast<TRef>(arena_.size());
  arena_.push_back(static_cast<uint32_t>(lits.size()));
  arena_.push_back(learnt ? kLearnt : 0);
  arena_.push_back(glue);
  arena_.insert(arena_.end(), lits.begin(), lits.end());
  return ref;
}

void TOrderedSolver::Watch(TRef c) {
  const TLit* lits = Lits(c);
  watches_[lits[0]].push_back({c, lits[1]});
  watches_[lits[1]].push_back({c, lits[0]});
}

void TOrderedSolver::Enqueue(TLit lit, TRef reason) {
  const uint32_t var = VarOf(lit);
  assigns_[var] = (lit & 1) ? kFalse : kTrue;
  levelOf_[var] = Level();
  reason_[var] = reason;
  trail_.push_back(lit);
}

void TOrderedSolver::OpenLevel(bool flipped) {
  levelStart_.push_back(trail_.size());
  levelFlipped_.push_back(flipped ? 1 : 0);
  if (flipped) flips_.push_back(Level());
}

void TOrderedSolver::NewLevel(TLit decision, bool flipped) {
  OpenLevel(flipped);
  ++decisions_;
  Enqueue(decision, kNoRef);
}

void TOrderedSolver::Backtrack(int level) {
  if (Level() <= level) return;
  const size_t start = levelStart_[static_cast<size_t>(level)];
  for (size_t i = trail_.size(); i-- > start;) {
    const uint32_t var = VarOf(trail_[i]);
    phase_[var] = assigns_[var];
    assigns_[var] = kUnset;
    if (free_ && heapAt_[var] < 0) HeapInsert(var);
    reason_[var] = kNoRef;
    nextVar_ = std::min<size_t>(nextVar_, var);
  }
  trail_.resize(start);
  head_ = std::min(head_, start);
  levelStart_.resize(static_cast<size_t>(level));
  levelFlipped_.resize(static_cast<size_t>(level));
  while (!flips_.empty() && flips_.back() > level) flips_.pop_back();
  ReassertUnits();
}

// Clauses of one literal are not watched: whenever the search goes back, the
// ones no longer assigned are asserted again.
void TOrderedSolver::ReassertUnits() {
  for (TRef unit : units_) {
    const TLit lit = Lits(unit)[0];
    if (ValueOf(lit) == kUnset) Enqueue(lit, unit);
  }
}

TOrderedSolver::TRef TOrderedSolver::Propagate() {
  while (head_ < trail_.size()) {
    const TLit falseLit = trail_[head_++] ^ 1;
    std::vector<TWatch>& ws = watches_[falseLit];
    size_t i = 0, j = 0;
    while (i < ws.size()) {
      const TWatch w = ws[i++];
      if (ValueOf(w.Blocker) == kTrue) {
        ws[j++] = w;
        continue;
      }
      TLit* lits = Lits(w.Clause);
      if (lits[0] == falseLit) std::swap(lits[0], lits[1]);
      const TLit first = lits[0];
      if (first != w.Blocker && ValueOf(first) == kTrue) {
        ws[j++] = {w.Clause, first};
        continue;
      }
      const uint32_t size = Size(w.Clause);
      bool moved = false;
      for (uint32_t k = 2; k < size; ++k) {
        if (ValueOf(lits[k]) != kFalse) {
          lits[1] = lits[k];
          lits[k] = falseLit;
          watches_[lits[1]].push_back({w.Clause, first});
          moved = true;
          break;
        }
      }
      if (moved) continue;
      ws[j++] = {w.Clause, first};
      if (ValueOf(first) == kFalse) {
        while (i < ws.size()) ws[j++] = ws[i++];
        ws.resize(j);
        head_ = trail_.size();
        return w.Clause;
      }
      Enqueue(first, w.Clause);
    }
    ws.resize(j);
  }
  return kNoRef;
}

TOrderedSolver::TRef TOrderedSolver::Attach(std::vector<TLit>& lits, bool learnt, uint32_t glue) {
  std::sort(lits.begin(), lits.end());
  lits.erase(std::unique(lits.begin(), lits.end()), lits.end());
  size_t kept = 0;
  for (size_t k = 0; k < lits.size(); ++k) {
    const TLit lit = lits[k];
    if (k + 1 < lits.size() && lits[k + 1] == (lit ^ 1)) return kNoRef;  // always true
    const bool fixed = ValueOf(lit) != kUnset && levelOf_[VarOf(lit)] == 0;
    if (fixed && ValueOf(lit) == kTrue) return kNoRef;  // true for good
    if (!fixed) lits[kept++] = lit;
  }
  lits.resize(kept);
  if (lits.empty()) {
    empty_ = true;
    return kNoRef;
  }
  // The two best literals to watch: not false before false, then the later level first.
  auto rank = [this](TLit lit) {
    return ValueOf(lit) != kFalse ? INT32_MAX : levelOf_[VarOf(lit)];
  };
  for (size_t w = 0; w < std::min<size_t>(2, lits.size()); ++w)
    for (size_t k = w + 1; k < lits.size(); ++k)
      if (rank(lits[k]) > rank(lits[w])) std::swap(lits[k], lits[w]);
  const TRef ref = Store(lits, learnt, glue);
  if (lits.size() == 1) {
    units_.push_back(ref);
  } else {
    Watch(ref);
    if (learnt) learnts_.push_back(ref);
  }
  if (ValueOf(lits[0]) == kFalse) return ref;
  if (ValueOf(lits[0]) == kUnset && (lits.size() == 1 || ValueOf(lits[1]) == kFalse))
    Enqueue(lits[0], ref);
  return kNoRef;
}

int TOrderedSolver::Analyze(TRef conflict) {
  learnt_.assign(1, 0);
  const int level = Level();
  int open = 0;
  TLit p = 0;
  bool first = true;
  size_t index = trail_.size();
  TRef c = conflict;
  for (;;) {
    const TLit* lits = Lits(c);
    const uint32_t size = Size(c);
    for (uint32_t k = first ? 0 : 1; k < size; ++k) {
      const TLit q = lits[k];
      const uint32_t var = VarOf(q);
      if (seen_[var] || levelOf_[var] == 0) continue;
      seen_[var] = 1;
      if (free_) Bump(var);
      if (levelOf_[var] >= level)
        ++open;
      else
        learnt_.push_back(q);
    }
    first = false;
    while (!seen_[VarOf(trail_[--index])]) {
    }
    p = trail_[index];
    c = reason_[VarOf(p)];
    seen_[VarOf(p)] = 0;
    if (--open == 0) break;
  }
  learnt_[0] = p ^ 1;
  // Literals implied by the others of the clause are left out.
  toClear_.assign(learnt_.begin() + 1, learnt_.end());
  size_t kept = 1;
  for (size_t k = 1; k < learnt_.size(); ++k)
    if (!Redundant(learnt_[k])) learnt_[kept++] = learnt_[k];
  learnt_.resize(kept);
  for (TLit lit : toClear_) seen_[VarOf(lit)] = 0;
  // The jump goes to the latest level among the rest, whose literal is watched.
  int jump = 0;
  for (size_t k = 1; k < learnt_.size(); ++k) {
    const int at = levelOf_[VarOf(learnt_[k])];
    if (at > jump) {
      jump = at;
      std::swap(learnt_[1], learnt_[k]);
    }
  }
  return jump;
}

bool TOrderedSolver::Redundant(TLit lit) {
  const TRef reason = reason_[VarOf(lit)];
  if (reason == kNoRef) return false;
  const TLit* lits = Lits(reason);
  for (uint32_t k = 1; k < Size(reason); ++k) {
    const uint32_t var = VarOf(lits[k]);
    if (!seen_[var] && levelOf_[var] > 0) return false;
  }
  return true;
}

uint32_t TOrderedSolver::GlueOf(std::span<const TLit> lits) {
  if (levelStamp_.size() <= static_cast<size_t>(Level()))
    levelStamp_.resize(static_cast<size_t>(Level()) + 1, 0);
  ++stamp_;
  uint32_t glue = 0;
  for (TLit lit : lits) {
    const int at = levelOf_[VarOf(lit)];
    if (levelStamp_[static_cast<size_t>(at)] != stamp_) {
      levelStamp_[static_cast<size_t>(at)] = stamp_;
      ++glue;
    }
  }
  return glue;
}

bool TOrderedSolver::Resolve(TRef conflict) {
  while (conflict != kNoRef) {
    ++conflicts_;
    int top = 0;
    const TLit* lits = Lits(conflict);
    for (uint32_t k = 0; k < Size(conflict); ++k) top = std::max(top, levelOf_[VarOf(lits[k])]);
    if (top == 0) {
      empty_ = true;  // what holds at level 0 follows from the clauses alone
      return false;
    }
    const int flip = DeepestFlip();
    Backtrack(top);
    const int jump = Analyze(conflict);
    std::vector<TLit> learnt = learnt_;
    const uint32_t glue = GlueOf(learnt);
    if (top <= flip) {
      // The conflict lies within a side already closed below: whatever lies
      // under this prefix is done.
      if (!FlipDeepest(top)) return false;
    } else {
      // A jump below the deepest flip would forget which sides are closed:
      // the clause is asserted there instead.
      Backtrack(std::max(jump, flip));
    }
    conflict = Attach(learnt, true, glue);
    if (empty_) return false;
  }
  return true;
}

bool TOrderedSolver::FlipDeepest(int level) {
  for (int d = level; d >= 1; --d) {
    if (levelFlipped_[static_cast<size_t>(d - 1)]) continue;
    const TLit decision = trail_[levelStart_[static_cast<size_t>(d - 1)]];
    if (VarOf(decision) >= static_cast<uint32_t>(ordered_)) continue;
    Backtrack(d - 1);
    NewLevel(decision ^ 1, true);
    return true;
  }
  return false;
}

int TOrderedSolver::NextVar() {
  while (nextVar_ < assigns_.size() && assigns_[nextVar_] != kUnset) ++nextVar_;
  return nextVar_ < assigns_.size() ? static_cast<int>(nextVar_) + 1 : 0;
}

void TOrderedSolver::ReduceLearnts() {
  auto locked = [this](TRef c) {
    const TLit lit = Lits(c)[0];
    return reason_[VarOf(lit)] == c && ValueOf(lit) == kTrue;
  };
  std::sort(learnts_.begin(), learnts_.end(), [this](TRef a, TRef b) {
    return Glue(a) != Glue(b) ? Glue(a) > Glue(b) : Size(a) > Size(b);
  });
  const size_t half = learnts_.size() / 2;
  for (size_t k = 0; k < half; ++k)
    if (Glue(learnts_[k]) > 2 && !locked(learnts_[k])) Flags(learnts_[k]) |= kDeleted;
  // Compact the arena: each live clause's old header keeps its new place.
  std::vector<uint32_t> arena;
  arena.reserve(arena_.size());
  for (TRef c = 0; c < arena_.size();) {
    const TRef next = c + 3 + Size(c);
    if (!(Flags(c) & kDeleted)) {
      const TRef moved = static_cast<TRef>(arena.size());
      arena.insert(arena.end(), arena_.begin() + c, arena_.begin() + next);
      Glue(c) = moved;
    } else {
      Glue(c) = kNoRef;
    }
    c = next;
  }
  for (TLit lit : trail_) {
    TRef& reason = reason_[VarOf(lit)];
    if (reason != kNoRef) reason = Glue(reason);
  }
  std::vector<TRef> learnts;
  for (TRef c : learnts_)
    if (Glue(c) != kNoRef) learnts.push_back(Glue(c));
  for (TRef& unit : units_) unit = Glue(unit);
  arena_ = std::move(arena);
  learnts_ = std::move(learnts);
  for (auto& ws : watches_) ws.clear();
  for (TRef c = 0; c < arena_.size(); c += 3 + Size(c))
    if (Size(c) >= 2) Watch(c);
  reduceInterval_ += reduceInterval_ / 10;
  nextReduce_ = conflicts_ + reduceInterval_;
}

void TOrderedSolver::Bump(uint32_t var) {
  if ((activity_[var] += bump_) > 1e100) {
    for (double& a : activity_) a *= 1e-100;
    bump_ *= 1e-100;
  }
  if (heapAt_[var] >= 0) HeapUp(static_cast<size_t>(heapAt_[var]));
}

void TOrderedSolver::HeapUp(size_t at) {
  const uint32_t var = heap_[at];
  while (at > 0 && activity_[heap_[(at - 1) / 2]] < activity_[var]) {
    heap_[at] = heap_[(at - 1) / 2];
    heapAt_[heap_[at]] = static_cast<int>(at);
    at = (at - 1) / 2;
  }
  heap_[at] = var;
  heapAt_[var] = static_cast<int>(at);
}

void TOrderedSolver::HeapDown(size_t at) {
  const uint32_t var = heap_[at];
  for (;;) {
    size_t child = 2 * at + 1;
    if (child >= heap_.size()) break;
    if (child + 1 < heap_.size() && activity_[heap_[child + 1]] > activity_[heap_[child]]) ++child;
    if (activity_[heap_[child]] <= activity_[var]) break;
    heap_[at] = heap_[child];
    heapAt_[heap_[at]] = static_cast<int>(at);
    at = child;
  }
  heap_[at] = var;
  heapAt_[var] = static_cast<int>(at);
}

void TOrderedSolver::HeapInsert(uint32_t var) {
  heap_.push_back(var);
  HeapUp(heap_.size() - 1);
}

uint32_t TOrderedSolver::HeapPop() {
  const uint32_t top = heap_.front();
  heapAt_[top] = -1;
  heap_.front() = heap_.back();
  heap_.pop_back();
  if (!heap_.empty()) HeapDown(0);
  return top;
}

void TOrderedSolver::FindCore(TLit failed, std::span<const int> assumptions) {
  inCore_[failed] = 1;
  const uint32_t var = VarOf(failed);
  if (levelOf_[var] > 0) {
    // Back along the trail from the negation of the failed assumption: the
    // decisions reached are the assumptions it was implied from.
    seen_[var] = 1;
    for (size_t i = trail_.size(); i-- > levelStart_[0];) {
      const uint32_t at = VarOf(trail_[i]);
      if (!seen_[at]) continue;
      seen_[at] = 0;
      const TRef reason = reason_[at];
      if (reason == kNoRef) {
        inCore_[trail_[i]] = 1;
        continue;
      }
      const TLit* lits = Lits(reason);
      for (uint32_t k = 1; k < Size(reason); ++k)
        if (levelOf_[VarOf(lits[k])] > 0) seen_[VarOf(lits[k])] = 1;
    }
  }
  // In the order given, each once.
  for (int lit : assumptions) {
    char& mark = inCore_[ToLit(lit)];
    if (mark == 1) {
      failed_.push_back(lit);
      mark = 2;
    }
  }
  for (int lit : failed_) inCore_[ToLit(lit)] = 1;
}

int TOrderedSolver::Solve(const THooks& hooks, std::span<const int> assumptions) {
  Settle();
  for (int lit : failed_) inCore_[ToLit(lit)] = 0;
  failed_.clear();
  TSearch search(*this);
  if (empty_) return 0;
  if (Propagate() != kNoRef) {
    empty_ = true;
    return 0;
  }
  free_ = true;
  for (uint32_t var = 0; var < assigns_.size(); ++var)
    if (heapAt_[var] < 0) HeapInsert(var);
  // Restarts after a number of conflicts that follows the Luby sequence.
  auto luby = [](uint64_t i) {
    uint64_t size = 1, power = 0;
    while (size < i + 1) size = 2 * size + 1, ++power;
    while (size - 1 != i) {
      size = (size - 1) / 2;
      --power;
      i %= size;
    }
    return uint64_t{1} << power;
  };
  uint64_t restarts = 0, budget = 100 * luby(0), sinceRestart = 0;
  // Assumption k is decided at level k + 1 (an empty level when it already
  // holds), so that the levels up to their count are theirs alone.
  const int assumed = static_cast<int>(assumptions.size());
  for (uint64_t step = 1;; ++step) {
    if (const TRef conflict = Propagate(); conflict != kNoRef) {
      // A learned clause may jump below assumptions: they are decided again.
      if (!Resolve(conflict)) return 0;
      bump_ /= 0.95;
      if (++sinceRestart >= budget) {
        Backtrack(assumed);
        sinceRestart = 0;
        budget = 100 * luby(++restarts);
      }
      continue;
    }
    if ((step & 255) == 0 && hooks.Stop && hooks.Stop()) return -1;
    if (conflicts_ >= nextReduce_) ReduceLearnts();
    TLit decision = kNoLit;
    while (decision == kNoLit && Level() < assumed) {
      const TLit lit = ToLit(assumptions[static_cast<size_t>(Level())]);
      if (ValueOf(lit) == kFalse) {
        FindCore(lit, assumptions);
        return 0;
      }
      if (ValueOf(lit) == kTrue)
        OpenLevel(false);
      else
        decision = lit;
    }
    while (decision == kNoLit && !heap_.empty()) {
      const uint32_t var = HeapPop();
      if (assigns_[var] == kUnset) decision = 2 * var + (phase_[var] == kTrue ? 0 : 1);
    }
    if (decision != kNoLit) {
      NewLevel(decision, false);
      continue;
    }
    if (hooks.Check && !hooks.Check()) {
      std::vector<std::vector<TLit>> added = std::move(pending_);
      pending_.clear();
      bool refuted = false;
      for (auto& clause : added) {
        const TRef conflict = Attach(clause, false, 0);
        if (empty_ || (conflict != kNoRef && !Resolve(conflict))) return 0;
        refuted = refuted || conflict != kNoRef;
      }
      if (refuted) continue;
      // A refusal without a clause cannot be searched past in this order.
    } else if (hooks.Accept) {
      hooks.Accept();
    }
    search.KeepModel();
    return 1;
  }
}

bool TOrderedSolver::Enumerate(const THooks& hooks, const std::vector<char>* after) {
  Settle();
  TSearch search(*this);
  if (empty_) return true;
  if (Propagate() != kNoRef) {
    empty_ = true;
    return true;
  }
  if (after != nullptr) {
    // Back at the model given, as if it had just been counted: its true
    // ordered variables not implied are flips (their false side came before).
    for (int var = 1; var <= ordered_; ++var) {
      const TLit lit = ToLit((*after)[static_cast<size_t>(var - 1)] ? var : -var);
      if (ValueOf(lit) != kUnset) continue;
      NewLevel(lit, (lit & 1) == 0);
      if (const TRef conflict = Propagate(); conflict != kNoRef) {
        if (!Resolve(conflict)) return true;
        break;
      }
    }
    if (NextVar() == 0 || NextVar() > ordered_) {
      if (!FlipDeepest(Level())) return true;
    }
  }
  for (uint64_t step = 1;; ++step) {
    if (const TRef conflict = Propagate(); conflict != kNoRef) {
      if (!Resolve(conflict)) return true;
      continue;
    }
    if ((step & 255) == 0 && hooks.Stop && hooks.Stop()) return false;
    if (conflicts_ >= nextReduce_) ReduceLearnts();
    const int var = NextVar();
    if (var != 0) {
      NewLevel(ToLit(-var), false);
      continue;
    }
    // A complete assignment.
    if (hooks.Check && !hooks.Check()) {
      if (pending_.empty()) {
        if (!FlipDeepest(Level())) return true;
        continue;
      }
      std::vector<std::vector<TLit>> added = std::move(pending_);
      pending_.clear();
      bool refuted = false;
      for (auto& clause : added) {
        const TRef conflict = Attach(clause, false, 0);
        if (empty_ || (conflict != kNoRef && !Resolve(conflict))) return true;
        refuted = refuted || conflict != kNoRef;
      }
      if (!refuted && !FlipDeepest(Level())) return true;
      continue;
    }
    if (hooks.Accept && !hooks.Accept()) return false;
    if (!FlipDeepest(Level())) return true;
  }
}
