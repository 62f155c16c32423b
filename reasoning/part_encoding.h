// One independent part of the undetermined assumptions as clauses, written
// into any clause sink: the one encoding behind the ordered listing of
// interpretations_sat.h and the questions of acceptance.
//
// The encoding, for the texts that some choice of the part can bring into the
// closure (those the forced assumptions bring in anyway are constants):
//   - one variable per position of the part (taken in) and one per text
//     (present in the closure);
//   - a text is present exactly when a position with its text is taken in or
//     the body of a rule producing it holds (a body: the conditional and its
//     conjuncts present);
//   - no text is present together with its negation;
//   - every position of the part has its text taken in or its negation present.
// Such a completion also admits texts that support each other in a cycle
// without a base. Where the rules have cycles (the part is not tight), every
// model must be checked against the real closure of its choice (Founded): a
// set of texts present without support gets its loop clauses (present only
// with support from outside the set), and the solver is asked again.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

#include "reasoning/evaluation_control.h"
#include "reasoning/interpretations_closure.h"
#include "reasoning/interpretations_index.h"
#include "sat/clause_sink.h"

class TPartEncoding {
 public:
  // `lower` holds the closure of the forced assumptions (with a trail) and is
  // back in that state after every call. The sink's variables 1 .. n are the
  // part's n positions, in order; the encoding takes the next ones, first one
  // per varying text (in the order of VaryingTexts()), then auxiliary ones.
  // A stop request may end the encoding early: then Stopped().
  TPartEncoding(const TTheoryIndex& index, TIncrementalClosure& lower,
                std::vector<size_t> positions, TClauseSink& sink,
                const TEvaluationControl* control);

  bool Stopped() const { return stopped_; }
  // Whether no varying text depends on itself through rule bodies: then
  // every model is founded and Founded need not be asked.
  bool Tight() const { return tight_; }

  size_t Size() const { return positions_.size(); }
  size_t Position(size_t depth) const { return positions_[depth]; }
  static int PositionVar(size_t depth) { return static_cast<int>(depth) + 1; }

  // Whether the text's presence depends on the choice within the part; its
  // variable (only then); all such texts.
  bool Varies(int text) const { return text >= 0 && varOf_[static_cast<size_t>(text)] != 0; }
  int Var(int text) const { return varOf_[static_cast<size_t>(text)]; }
  const std::vector<int>& VaryingTexts() const { return texts_; }

  // Whether the model (`value` of each variable) holds exactly the closure of
  // its choice; if not, writes the loop clauses of the texts present without
  // support into the sink and answers false.
  bool Founded(const std::function<bool(int var)>& value);

 private:
  // A text's literal, or kTrue / kFalse for a constant.
  int Lit(int text) const;
  // The literal that holds when a rule's body does: kTrue, kFalse, one text's
  // variable or an auxiliary variable for the conjunction.
  int BodyLit(int rule);
  void Clause(std::initializer_list<int> lits) {
    sink_.AddClause(std::span<const int>(lits.begin(), lits.size()));
  }
  void Clause(const std::vector<int>& lits) { sink_.AddClause(lits); }
  void Encode();
  bool IsTight() const;
  const std::vector<size_t>& DepthsOf(int text) const {
    return depthsOf_[static_cast<size_t>(Var(text)) - positions_.size() - 1];
  }

  const TTheoryIndex& index_;
  TIncrementalClosure& lower_;
  const std::vector<size_t> positions_;
  TClauseSink& sink_;
  const TEvaluationControl* control_;
  bool tight_ = true;
  bool stopped_ = false;
  std::vector<int> varOf_;                     // per text: its variable, 0 when constant
  std::vector<int> texts_;                     // the texts with a variable, in variable order
  std::vector<int> bodyLit_;                   // per rule: 0 until computed
  std::vector<std::vector<size_t>> depthsOf_;  // per varying text: the depths of its positions
};
