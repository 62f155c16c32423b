// The evaluation engine behind interpretations.h.
//
// 1. Forced assumptions: the rounds of admitting undefeated assumptions are
//    run incrementally. The closure of what is admitted only grows and the
//    closure of what it leaves undefeated only shrinks, so each round touches
//    only what changed, and a round's new admissions are exactly the
//    assumptions whose negation has just left the shrinking closure.
// 2. Search: depth first over the undetermined assumptions in theory order,
//    "left out" before "taken in", which visits the candidates in the order of
//    the bit counter. A branch is cut when taking an assumption makes the
//    closure inconsistent (inconsistency only grows as assumptions are added)
//    or when an assumption finally left out is not defeated even by the
//    closure of everything still possible (it never will be).
// 3. Independent parts: undetermined assumptions that cannot influence each
//    other (no rule or negation ties their texts, apart from texts the forced
//    assumptions bring in anyway) are searched apart. One part without a
//    working choice means no interpretation at all, however many choices the
//    others offer; otherwise the parts' choices are combined in counter order
//    without dead ends. Each part keeps at most limit + 1 choices, which is
//    all the first limit + 1 combinations can use.
// 4. Learning: a part whose depth-first search finds no choice within its
//    budget goes on, after the last choice found, with the conflict-driven
//    search of interpretations_sat.h, which gives the same choices in the
//    same order.
//
// When the index is ambiguous (see interpretations_index.h) the assumptions
// are split into groups that share no text; groups with ambiguous texts are
// closed object by object in passes, exactly as the definition reads, with a
// hash for membership, trying every candidate; the rest as above.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "evaluation/interpretations.h"
#include "reasoning/interpretations_closure.h"
#include "reasoning/interpretations_index.h"

// What an evaluation found, by positions among the theory's assumptions:
// the forced ones in the order found with the round of admission of each,
// the undetermined ones, and the accepted choices (positions taken in).
struct TRawEvaluation {
  std::vector<size_t> Forced;
  std::vector<size_t> ForcedRounds;
  std::vector<size_t> Undetermined;
  std::vector<std::vector<size_t>> Choices;
};

// One interpretation as it is found, by positions among the theory's
// assumptions: the forced ones in the order the interpretation lists them
// (the same list for every interpretation of an evaluation) and the chosen
// ones taken in, in theory order. Answers whether to go on.
using TInterpretationSink =
    std::function<bool(std::span<const size_t> forced, std::span<const size_t> taken)>;

// What a streamed evaluation found: how many interpretations were passed on,
// whether more than the limit exist (Cut), and whether a stop request ended it
// (then what was passed on is only a beginning).
struct TEnumerationSummary {
  size_t Count = 0;
  bool Cut = false;
  bool Stopped = false;
};

// Which search the engine runs over a part of the undetermined assumptions.
enum class TSearchStrategy {
  Portfolio,   // depth first within a step budget, then learning
  DepthFirst,  // depth first only (the engine as it was, for comparison)
  Learning,    // the learning search only
};

// The members are spread over files by concern: construction, Evaluate,
// Enumerate, Count and FindAny in interpretations_engine.cpp; the groups of
// ambiguous texts in interpretations_groups.cpp; the marks of the top-level
// sentences over a list in interpretations_root_marks.cpp; the marks and the
// object-by-object evaluation in interpretations.cpp.
class TInterpretationEngine {
 public:
  // The theory must outlive the engine and not change while it is used,
  // except that MarkStatuses may be called after issues were appended.
  // `control`, when given, can stop the indexing done here already; Evaluate
  // then answers at once with a stopped result.
  explicit TInterpretationEngine(const TKorvelTheory& theory,
                                 const TEvaluationControl* control = nullptr);
  // The engine of an argumentation framework's theory (see TTheoryIndex's
  // constructor from attacks), made without the theory's sentences: its
  // positions are the arguments, then the attacks. It answers Enumerate,
  // Count and FindAny only; the rest need sentences and throw
  // std::logic_error.
  TInterpretationEngine(size_t arguments, std::span<const std::pair<size_t, size_t>> attacks);

  // `control`, when given, can stop the evaluation and receives its progress.
  TEvaluation Evaluate(size_t limit, TEvaluationControl* control = nullptr);
  // The same interpretations in the same order, passed to `sink` one by one
  // and not kept: memory stays that of the search, however many there are.
  // At most `limit` are passed on; a sink answering false ends the search
  // (not cut, not stopped).
  TEnumerationSummary Enumerate(size_t limit, const TInterpretationSink& sink,
                                TEvaluationControl* control = nullptr);
  // How many interpretations there are, up to `limit` (Cut when more). Parts
  // that cannot influence each other are counted apart and multiplied, so
  // neither their choices nor their combinations are kept or walked.
  TEnumerationSummary Count(size_t limit, TEvaluationControl* control = nullptr);
  // Some interpretation, passed to `sink`, not necessarily the first in
  // order: each independent part's choice is asked of the solver in its own
  // order, as a question that needs any answer should be. Theories with
  // ambiguous texts give the first in order.
  TEnumerationSummary FindAny(const TInterpretationSink& sink,
                              TEvaluationControl* control = nullptr);
  void MarkStatuses(const TListOfKorvelSentences& interpretation);
  // The marks MarkStatuses would give the top-level sentences (the theory's
  // assumptions, then its issues; kJustified | kDefeated per sentence) for
  // every interpretation of `list` in turn, without marking anything and
  // without closing every interpretation from scratch: `baseline(marks)`
  // with the marks of the forced part alone (again whenever the forced part
  // changes), then `visit(index, changed)` with the sentences whose marks
  // differ from those in force before (the previous interpretation's, or the
  // baseline's just after it), as (position, new marks). Answers false, having
  // called nothing, when the list cannot be followed so (an ambiguous
  // theory, or a table other than the theory's assumptions); otherwise false
  // when `control` asked to stop on the way.
  static constexpr uint8_t kJustified = 1, kDefeated = 2;
  using TRootMarks = std::span<const uint8_t>;
  using TChangedMarks = std::span<const std::pair<size_t, uint8_t>>;
  bool FollowRootMarks(const TInterpretationList& list, const std::function<void(TRootMarks)>& baseline,
                       const std::function<void(size_t, TChangedMarks)>& visit,
                       const TEvaluationControl* control = nullptr);

  // For tests and benchmarks: which search runs, and the depth-first
  // search's budget (steps and time without finding a choice) before the
  // learning search takes over a part.
  void SetStrategy(TSearchStrategy strategy) { strategy_ = strategy; }
  void SetBudget(uint64_t steps, std::chrono::nanoseconds time) {
    stepBudget_ = steps;
    timeBudget_ = time;
  }
  // For tests: the conflicts the learning search's ordered solver may spend
  // on whether a part has any choice before CaDiCaL is asked.
  void SetAskBudget(uint64_t conflicts) { askBudget_ = conflicts; }

  // For tests: how many bytes of choices of independent parts (about
  // kChoiceBytes plus a bit per position for each) an evaluation with a limit
  // of at least kKeepAllChoicesBelow keeps for combining them, before it
  // searches all of them together instead.
  static constexpr size_t kKeepAllChoicesBelow = size_t{1} << 16;
  static constexpr size_t kChoiceBytes = 48;
  void SetKeptChoicesBudget(size_t bytes) { keptChoicesBudget_ = bytes; }

  // For tests: whether the texts had to be taken object by object.
  bool Ambiguous() const { return index_.Ambiguous(); }

 private:
  void EvaluateByRules();
  // Counts each part's choices and multiplies the counts.
  void CountParts(const std::vector<std::vector<size_t>>& parts,
                  const std::function<void(const std::vector<size_t>&,
                                           const std::function<bool(const std::vector<size_t>&)>&)>&
                      searchPart);
  void EvaluateObjectByObject();
  // An ambiguous theory split by the texts its assumptions share: the groups
  // with ambiguous texts object by object, the rest by rules, their choices
  // combined (interpretations_groups.cpp).
  void EvaluateInGroups();
  // Counts one interpretation toward the limit and passes it on (to raw_ or
  // the sink); false when the search must end.
  bool Emit(std::span<const size_t> forced, const std::vector<size_t>& taken, bool progress);
  // Evaluates by rules or object by object, as the index requires, into `raw`.
  void EvaluateRaw(size_t limit, TRawEvaluation& raw, TEvaluationControl* control);
  // Presence flags per id of the closure of a list.
  std::vector<char> ClosureFlags(const TListOfKorvelSentences& list);

  // Throws std::logic_error for an engine made without a theory.
  void RequireTheory() const;

  const TKorvelTheory& theory_;
  bool hasTheory_ = true;
  TTheoryIndex index_;
  TEvaluationControl* control_ = nullptr;
  TSearchStrategy strategy_ = TSearchStrategy::Portfolio;
  TRawEvaluation* raw_ = nullptr;  // when set, results go here instead
  const TInterpretationSink* sink_ = nullptr;  // none: only counted
  size_t limit_ = 0;
  bool countOnly_ = false;
  bool anyOrder_ = false;
  size_t emitted_ = 0;
  bool cut_ = false;
  size_t keptChoicesBudget_ = size_t{1} << 20;
  uint64_t stepBudget_ = 1u << 17;
  uint64_t askBudget_ = static_cast<uint64_t>(-1);  // none set: the learning search's own
  std::chrono::nanoseconds timeBudget_ = std::chrono::milliseconds(5);
};
