// A conflict-driven SAT solver that lists the models of a formula in a fixed
// order: the binary counter over the first variables ("ordered" variables,
// 1 .. n, variable 1 most significant, false before true), each assignment of
// them once, whatever the other variables do.
//
// It is one search that keeps its state from model to model. Ordered
// variables are decided in their order, false first; the others after them,
// false first. Conflicts are analysed to the first unique implication point
// and the learned clause drives a backjump; learned clauses are reduced by
// their number of distinct levels. After a model the search goes back to the
// deepest ordered decision still false and flips it to true; a flipped level
// (the "false" side below it is done) is never jumped over by a conflict: a
// learned clause whose jump would go below it is asserted at its level
// instead, and a conflict within it closes that side too and the search moves
// on to the next decision still false, as after a model.
//
// Models may be checked before they count: the check can refuse a model by
// adding clauses it violates (clauses that every wanted model satisfies, such
// as loop clauses of a logic program), and the search goes on from there.
//
// Variables and literals are written as in DIMACS: variable v >= 1, literal
// v or -v.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class TOrderedSolver {
 public:
  // Variables 1 .. orderedVars are the ordered ones.
  explicit TOrderedSolver(int orderedVars);

  int NewVar();
  int VarCount() const { return static_cast<int>(assigns_.size()); }
  // Adds a clause; allowed before Enumerate and from within its callbacks.
  void AddClause(std::span<const int> lits);

  struct THooks {
    // Called for a complete assignment; answers false to refuse it, after
    // adding (through AddClause) clauses that it violates and every wanted
    // model satisfies. A refusal without such a clause skips the assignment
    // of the ordered variables. Empty: every model counts.
    std::function<bool()> Check;
    // A model counted; answers whether to go on.
    std::function<bool()> Accept;
    // Polled now and then; true ends the search.
    std::function<bool()> Stop;
  };

  // Lists the models in order. With `after` (a value per ordered variable,
  // a model of the formula), only those that come after it. Returns false
  // when Accept or Stop ended the search, true when every model was listed.
  bool Enumerate(const THooks& hooks, const std::vector<char>* after = nullptr);

  // Whether the formula has a model (one that Check accepts), searched in no
  // particular order: decisions by activity (the variables of recent
  // conflicts first) with saved phases and restarts, as proving that nothing
  // exists needs. Clauses learned stay for a later Enumerate. Accept is
  // called with the model found, if any. Returns 0 when there is no model,
  // -1 when Stop ended the search, else 1 (a model, or a refusal by Check
  // without a clause).
  int Solve(const THooks& hooks);

  // The value of a variable in the current model.
  bool Value(int var) const { return assigns_[static_cast<size_t>(var - 1)] == kTrue; }

  // How many conflicts pass before the first reduction of the learned
  // clauses (the interval grows by a tenth at each).
  void SetReduceInterval(uint64_t conflicts) { reduceInterval_ = nextReduce_ = conflicts; }

  uint64_t Conflicts() const { return conflicts_; }
  uint64_t Decisions() const { return decisions_; }

 private:
  using TLit = uint32_t;  // 2 * (var - 1) + (1 when negative)
  using TRef = uint32_t;  // offset of a clause in the arena
  static constexpr TRef kNoRef = UINT32_MAX;
  static constexpr int8_t kTrue = 1, kFalse = -1, kUnset = 0;

  struct TWatch {
    TRef Clause;
    TLit Blocker;
  };
  // A clause in the arena: a header of three words (size, flags, glue), then the literals.
  static constexpr uint32_t kLearnt = 1, kDeleted = 2;
  uint32_t& Size(TRef c) { return arena_[c]; }
  uint32_t& Flags(TRef c) { return arena_[c + 1]; }
  uint32_t& Glue(TRef c) { return arena_[c + 2]; }
  TLit* Lits(TRef c) { return &arena_[c + 3]; }

  static TLit ToLit(int dimacs) {
    return dimacs > 0 ? 2 * static_cast<TLit>(dimacs - 1) : 2 * static_cast<TLit>(-dimacs - 1) + 1;
  }
  static uint32_t VarOf(TLit lit) { return lit >> 1; }
  int8_t ValueOf(TLit lit) const {
    const int8_t v = assigns_[VarOf(lit)];
    return (lit & 1) ? static_cast<int8_t>(-v) : v;
  }
  int Level() const { return static_cast<int>(levelStart_.size()); }

  TRef Store(std::span<const TLit> lits, bool learnt, uint32_t glue);
  void Watch(TRef c);
  void Enqueue(TLit lit, TRef reason);
  void NewLevel(TLit decision, bool flipped);
  void Backtrack(int level);
  TRef Propagate();
  // A clause added while literals are assigned: watched by its best two
  // literals; a unit one is asserted. Returns the clause when it is false.
  TRef Attach(std::vector<TLit>& lits, bool learnt, uint32_t glue);
  // First-UIP analysis of a conflict whose clause has literals at the
  // current level; fills learnt_ (the UIP first) and returns the jump level.
  int Analyze(TRef conflict);
  bool Redundant(TLit lit);
  uint32_t GlueOf(std::span<const TLit> lits);
  // Handles a conflict; false when no model is left.
  bool Resolve(TRef conflict);
  // Closes the deepest open "false" side at or below `level` and flips its
  // decision; false when none is left.
  bool FlipDeepest(int level);
  void ReduceLearnts();
  int DeepestFlip() const { return flips_.empty() ? 0 : flips_.back(); }
  // The next variable to decide, or 0 when all are assigned.
  int NextVar();
  void ReassertUnits();
  // The order of decisions by activity, for Solve: a binary heap of variables.
  void Bump(uint32_t var);
  void HeapUp(size_t at);
  void HeapDown(size_t at);
  void HeapInsert(uint32_t var);
  uint32_t HeapPop();

  int ordered_;
  std::vector<uint32_t> arena_;
  std::vector<TRef> learnts_;
  std::vector<TLit> units_;                   // clauses of one literal
  bool empty_ = false;                        // the empty clause was added
  std::vector<std::vector<TWatch>> watches_;  // per literal that becomes false
  std::vector<int8_t> assigns_;
  std::vector<int> levelOf_;
  std::vector<TRef> reason_;
  std::vector<TLit> trail_;
  size_t head_ = 0;
  std::vector<size_t> levelStart_;  // trail index of each level's first literal
  std::vector<char> levelFlipped_;  // per level (1-based - 1): its decision is a flip
  std::vector<int> flips_;          // the flipped levels, increasing
  size_t nextVar_ = 0;              // no unassigned variable below it
  std::vector<char> seen_;
  std::vector<TLit> learnt_;
  std::vector<uint32_t> levelStamp_;
  uint32_t stamp_ = 0;
  uint64_t reduceInterval_ = 2000, nextReduce_ = 2000;
  uint64_t conflicts_ = 0, decisions_ = 0;
  std::vector<TLit> toClear_;
  std::vector<std::vector<TLit>> pending_;  // clauses added from a callback
  bool free_ = false;                       // Solve is deciding
  std::vector<double> activity_;
  double bump_ = 1;
  std::vector<uint32_t> heap_;
  std::vector<int> heapAt_;  // per variable: its place in heap_, -1 when out
  std::vector<int8_t> phase_;
  bool searching_ = false;
};
