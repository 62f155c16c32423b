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
// Any model can also be searched for under assumptions: literals decided
// first, one level each, before the free decisions. When they cannot all
// hold, the assumptions to blame are traced back from the one found false.
// Assumptions are decisions, never clauses, so whatever is learned holds for
// the clauses alone and the solver can be asked again with other assumptions
// and more clauses.
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
  // Adds a clause; allowed at any time. One added from within a callback is
  // held until the search can take it: at once when Check refuses, else when
  // the search ends.
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
  // Each model is read (Value) from within Check and Accept; on return the
  // search is undone, so Value means nothing then.
  bool Enumerate(const THooks& hooks, const std::vector<char>* after = nullptr);

  // Whether the formula has a model (one that Check accepts), searched in no
  // particular order: decisions by activity (the variables of recent
  // conflicts first) with saved phases and restarts, as proving that nothing
  // exists needs. Clauses learned stay for later calls. Accept is called
  // with the model found, if any. Returns 0 when there is no model, -1 when
  // Stop ended the search, else 1 (a model, or a refusal by Check without a
  // clause); after 1, Value gives that assignment until the solver is next
  // changed or searched.
  int Solve(const THooks& hooks) { return Solve(hooks, {}); }
  // The same under assumptions (literals that must hold in this search only,
  // each of a variable of the solver). On 0, FailedCore tells which of them
  // are to blame.
  int Solve(const THooks& hooks, std::span<const int> assumptions);

  // After Solve answered 0: assumptions (as given, in their order) that the
  // clauses contradict together; empty when the clauses were found
  // contradictory by themselves.
  const std::vector<int>& FailedCore() const { return failed_; }
  // Whether `lit` is in FailedCore.
  bool Failed(int lit) const {
    const TLit at = ToLit(lit);
    return at < inCore_.size() && inCore_[at];
  }

  // The value Solve tries first for the variable of `lit`: that of `lit`.
  // It holds until a search assigns the variable and takes it back, which
  // then saves the value it had instead.
  void SetPhase(int lit);

  // The value of a variable in the model at hand: within Check and Accept,
  // and after Solve answered 1.
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
  static constexpr TLit kNoLit = UINT32_MAX;
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
  void OpenLevel(bool flipped);
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
  // Fills the core from an assumption found false: the assumptions decided
  // before it that its negation was implied from, with itself.
  void FindCore(TLit failed, std::span<const int> assumptions);
  // Outside a search: back to level 0 (a model kept by Solve is given up),
  // then the phases asked for meanwhile and the clauses held are taken.
  void Settle();
  // A search in progress for its whole length (clauses added are held), ended
  // on every way out: unless a model is kept, back to level 0, so that a
  // clause added next is attached there.
  class TSearch {
   public:
    explicit TSearch(TOrderedSolver& solver) : solver_(solver) { solver_.searching_ = true; }
    ~TSearch();
    TSearch(const TSearch&) = delete;
    TSearch& operator=(const TSearch&) = delete;
    void KeepModel() { keep_ = true; }

   private:
    TOrderedSolver& solver_;
    bool keep_ = false;
  };
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
  std::vector<TLit> phaseWanted_;  // SetPhase while a model was kept
  bool searching_ = false;
  std::vector<int> failed_;   // the core of the last Solve
  std::vector<char> inCore_;  // per literal: in failed_
};
