// Why a sentence has the status it has in one interpretation, as a tree of
// steps that each name the sentence and the conditional they use.
//
// - justified: a derivation from the interpretation, one of the shortest
//   (see closure_record.h): either the sentence is a member, or a conditional
//   with the sentence as consequent is justified together with all its
//   conjuncts, each explained below it. A sentence derived once is not
//   derived again: later uses point back to its line, so a derivation costs
//   lines in proportion to the texts it uses.
// - defeated: the derivation of its dialectical negation.
// - open: one level only: each conditional of the theory whose consequent is
//   the sentence or its negation, with the premises (the conditional itself
//   and its conjuncts) that are not justified. Each such premise can be
//   explained in turn.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "logic/sentence.h"
#include "logic/theory.h"

enum class TExplainedStatus { Justified, Defeated, Open };

enum class TStepKind {
  Member,            // justified: a member of the interpretation
  Derived,           // justified by Conditional; children: the conditional, then its conjuncts
  ShownAbove,        // justified, derived at line Reference
  Defeated,          // its negation is justified; one child, the negation's derivation
  Open,              // neither; children: WouldGive lines, or one NothingGives
  WouldGive,         // Conditional has Sentence (the open one or its negation) as consequent;
                     // children: its premises that are not justified
  NotJustified,      // such a premise; Status says whether it is open or defeated
  NothingGives,      // no conditional has the open sentence or its negation as consequent
  NoInterpretation,  // no interpretation is shown, so nothing is justified or defeated
  // Acceptance over all interpretations (acceptance_explanation.h): the
  // root, with the explanation in interpretation Interpretation below it.
  JustifiedInEvery,
  NotJustifiedInEvery,  // Interpretation lacks it
  JustifiedInNone,
  NoInterpretationAtAll,  // the assumptions have none; no lines below
};

struct TExplanationLine {
  TStepKind Kind = TStepKind::Member;
  std::string Sentence;
  std::string Conditional;                           // Derived and WouldGive
  TExplainedStatus Status = TExplainedStatus::Open;  // the status of Sentence
  int Parent = -1;
  int Depth = 0;
  int Reference = -1;  // ShownAbove
  // Acceptance lines: the interpretation the lines below are about, numbered
  // from 1 as the interpretations are listed; 0 for one that is not listed,
  // -1 for none.
  int Interpretation = -1;
};

struct TExplanation {
  // Depth-first order: every line after its parent, children in order.
  std::vector<TExplanationLine> Lines;
  const TExplanationLine& Root() const { return Lines.front(); }
};

class TExplainer {
 public:
  // `interpretation` is one of the theory's interpretations, or null when
  // none is shown. The theory must outlive the explainer and stay unchanged.
  TExplainer(const TKorvelTheory& theory, const TListOfKorvelSentences* interpretation);
  ~TExplainer();
  TExplainer(const TExplainer&) = delete;
  TExplainer& operator=(const TExplainer&) = delete;

  bool HasInterpretation() const;
  // Whether the text is an assumption, an issue or a part of one.
  bool IsSentence(std::string_view text) const;
  TExplainedStatus StatusOf(std::string_view text) const;
  // The explanation of a sentence of the theory (IsSentence).
  TExplanation Explain(std::string_view text) const;

 private:
  struct TData;
  std::unique_ptr<TData> data_;
};
