// The evaluation of a theory: its dialectical interpretations (conflict-free
// sets of assumptions whose closure defeats every assumption left out) and the
// marking of the statuses of one interpretation.
//
// Results are exactly those of the exhaustive procedure kept in
// interpretations_reference.h: the same interpretations, holding the same
// assumption objects in the same order (the forced assumptions in the order
// found, then the chosen undetermined ones in theory order), listed in the
// order the candidates' bit counter would find them. The engine behind them
// interns texts to ids, closes sets by forward chaining and searches the
// undetermined assumptions depth first with pruning, handing parts where that
// fails to a conflict-driven SAT search; see interpretations_engine.h.
#pragma once

#include <cstddef>

#include "reasoning/evaluation_control.h"
#include "evaluation/interpretation_list.h"
#include "logic/sentence.h"
#include "logic/theory.h"

// How many interpretations an evaluation keeps. A theory with more (2^k for k
// independent pairs of mutually attacking assumptions) keeps the first ones
// in order and reports the list as cut, so that neither memory nor the report
// explodes.
inline constexpr size_t kInterpretationLimit = 10000;

struct TEvaluation {
  // The forced assumptions kept once, each interpretation as its choices.
  TInterpretationList Interpretations;
  // True when more interpretations exist than `limit`; then exactly the first
  // `limit` are kept.
  bool Cut = false;
  // True when the evaluation ended on a stop request; Interpretations is then
  // empty and Cut false: nothing half-computed is kept.
  bool Stopped = false;
};

// All dialectical interpretations of the theory, at most `limit` of them.
// `control`, when given, can stop the evaluation and receives its progress.
TEvaluation EvaluateInterpretations(const TKorvelTheory& theory,
                                    size_t limit = kInterpretationLimit,
                                    TEvaluationControl* control = nullptr);

// The interpretations alone (at most kInterpretationLimit).
TListOfListOfKorvelSentences ComputeInterpretations(const TKorvelTheory& theory);

// Marks IsJustified and IsDefeated on every assumption and issue of the theory
// and on their parts for the interpretation (or an empty list: nothing marked).
void MarkStatuses(const TKorvelTheory& theory, const TListOfKorvelSentences& interpretation);
