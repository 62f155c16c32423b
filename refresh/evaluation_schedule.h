// When and where an evaluation runs: in line while it is short, beside the
// layout on a thread of its own, then in the background on the evaluation
// runner's thread; whoever owns it shows only the newest theory's result.
#pragma once

#include <chrono>
#include <memory>

#include "refresh/evaluation_runner.h"
#include "refresh/pending_evaluation.h"

// An evaluation of a copy of the theory as it stands. `early`, when given
// and made for this theory, gives the interpretations.
std::shared_ptr<TPendingEvaluation> PrepareEvaluation(const TKorvelTheory& theory, size_t issuesAtRead,
                                                      size_t issuesBeforeLayout,
                                                      const std::shared_ptr<TFrameworkEvaluation>& early = nullptr);
// The same without a copy, for a refresh in line that nothing else reads
// (korvel's): a large theory is not held twice.
std::shared_ptr<TPendingEvaluation> PrepareEvaluationInPlace(TKorvelTheory& theory, size_t issuesAtRead,
                                                             size_t issuesBeforeLayout);
// Without a runner to its end; with one, as far as the budget allows.
void EvaluateInLine(TPendingEvaluation& pending, TEvaluationRunner* runner, std::chrono::milliseconds inlineBudget);
// With a runner, while the layout is made aside: the evaluation begins on
// a thread of its own (TPendingEvaluation::Beside), which first makes its
// copy of `theory` (nothing may change nor destroy the theory until the
// pending evaluation's WaitForCopy has returned), and is never stopped for
// time. WaitBeside, after the layout, waits for it as long as the budget
// allows and, when it ended, finishes it as EvaluateInLine does; otherwise
// it goes on, and the background job takes it over.
std::shared_ptr<TPendingEvaluation> EvaluateBeside(const TKorvelTheory& theory, size_t issuesAtRead,
                                                   size_t issuesBeforeLayout,
                                                   const std::shared_ptr<TFrameworkEvaluation>& early,
                                                   std::chrono::milliseconds inlineBudget);
void WaitBeside(TPendingEvaluation& pending);
// Whether the evaluation has ended with its report; then its marks can be
// put on the theory's sentences.
bool EvaluationEnded(TPendingEvaluation& pending);
// Whether the evaluation ran out of memory while it ran in line.
bool EvaluationOutOfMemory(TPendingEvaluation& pending);
// Copies the evaluation's marks onto the theory's own sentences.
void MarkFromEvaluation(const TPendingEvaluation& pending);
// Goes on with the evaluation on `runner`'s thread; its owner, if it still
// has one then, is told on the runner's owning thread when it has finished.
void RunInBackground(const std::shared_ptr<TPendingEvaluation>& pending, TEvaluationRunner& runner);
