// The document's evaluation: the state it shows while one runs, applying
// the newest theory's result, stopping and evaluating again. When and where
// the evaluation runs is the refresh's scheduling (evaluation_schedule.h).
#include <new>

#include "document/document.h"
#include "refresh/evaluation_schedule.h"

TDocument::~TDocument() {
  Announce(&TDocumentListener::Closing);
  if (refresh_) refresh_->RequestStop();
  DetachEvaluation();
}

void TDocument::SetEvaluationRunner(TEvaluationRunner* runner, std::chrono::milliseconds inlineBudget) {
  runner_ = runner;
  inlineBudget_ = inlineBudget;
}

bool TDocument::ShowsStatuses() const {
  return !Options.ShowStructureOnly &&
         (evaluationState_ == TEvaluationState::None || evaluationState_ == TEvaluationState::Finished);
}

const TEvaluationControl* TDocument::RunningEvaluation() const {
  return pending_ ? &pending_->Control : nullptr;
}

void TDocument::DetachEvaluation() {
  if (!pending_) return;
  pending_->Control.RequestStop();
  pending_->Owner = nullptr;
  pending_.reset();
}

void TDocument::RunInBackground(const std::shared_ptr<TPendingEvaluation>& pending) {
  if (PrepareLayout && !Remark) {
    pending->PrepareLayout = PrepareLayout;
    pending->ShowDialecticalNegations = Options.ShowDialecticalNegations;
    pending->AllSentences = allSentences_;
  }
  ::RunInBackground(pending, *runner_);
}

void TDocument::EvaluationJobFinished(const std::shared_ptr<TPendingEvaluation>& pending) {
  // Only the newest theory's result is shown.
  if (pending != pending_ || pending->Applied) return;
  ApplyEvaluation(*pending, true);
  // The copy of the theory goes with the last holder: not on this thread.
  if (refreshRunner_) refreshRunner_->Release(pending);
  Announce(&TDocumentListener::EvaluationFinished);
}

void TDocument::WaitForEvaluation() {
  std::shared_ptr<TPendingEvaluation> pending = pending_;
  if (!pending) return;
  {
    std::unique_lock lock(pending->Mutex);
    pending->Done.wait(lock, [&] { return pending->JobDone; });
  }
  EvaluationJobFinished(pending);
}

void TDocument::ApplyEvaluation(TPendingEvaluation& pending, bool redraw) {
  pending.Applied = true;
  pending.Owner = nullptr;
  pending_.reset();
  TEvaluationOutcome& outcome = pending.Outcome;
  if (outcome.Stopped) {
    // Nobody asked for this stop; show it as one all the same, or say that
    // memory ran out.
    evaluationState_ = TEvaluationState::Running;
    if (pending.OutOfMemory) {
      EndEvaluationEarly(kEvaluationOutOfMemoryStatus, kEvaluationOutOfMemoryReportLine);
      ui_.ShowFileError(kEvaluationOutOfMemoryMessage);
    } else {
      StopEvaluation();
    }
    return;
  }
  if (redraw) CopyMarks(pending.Copy);  // otherwise the layout had them already
  preparedLayout_ = std::move(pending.Drawing);
  interpretations_ = std::move(pending.Interpretations);
  reportLines_ = std::make_shared<const TReportText>(std::move(outcome.ReportLines));
  interpretationSummary_ = std::move(outcome.StatusText);
  interpretationButtons_ = outcome.InterpretationButtons;
  shownInterpretation_ = interpretations_.empty() ? -1 : 0;
  evaluationState_ = TEvaluationState::Finished;
  // The diagram again, now with the statuses: only the marks change.
  if (redraw && ShowsStatuses()) {
    Redraw();
  }
  preparedLayout_.reset();
}

void TDocument::StopEvaluation() {
  if (refresh_) {
    // Heard by the refresh being built, which finishes or is abandoned.
    if (refreshAbandonable_)
      refresh_->RequestStop();
    else
      refresh_->EvaluationStop.store(true, std::memory_order_relaxed);
    return;
  }
  EndEvaluationEarly(kEvaluationStoppedStatus, kEvaluationStoppedReportLine);
}

void TDocument::EndEvaluationEarly(const char* status, const char* reportLine) {
  if (evaluationState_ != TEvaluationState::Running) return;
  DetachEvaluation();
  evaluationState_ = TEvaluationState::Stopped;
  // The lists stay, shared with the report before (a large theory's would
  // cost milliseconds to copy); the line about the evaluation, the last but
  // one, says why it ended. The diagram already shows the structure without
  // statuses.
  reportLines_ = std::make_shared<const TReportText>(
      reportLines_->Replaced(reportLines_->size() >= 2 ? 2 : 0, {reportLine, ""}));
  interpretationSummary_ = status;
  interpretationButtons_ = 0;
  shownInterpretation_ = -1;
  Announce(&TDocumentListener::EvaluationFinished);
}

bool TDocument::EvaluateAgain() {
  if (evaluationState_ != TEvaluationState::Stopped || refresh_) return false;
  // The theory as the refresh left it, with the issue counts of that refresh,
  // so the evaluation repeats the refresh's steps as they were.
  std::shared_ptr<TPendingEvaluation> pending = PrepareEvaluation(theory_, issuesAtRead_, issuesBeforeLayout_);
  pending->Owner = this;
  pending_ = pending;
  evaluationState_ = TEvaluationState::Running;
  evaluationStart_ = std::chrono::steady_clock::now();
  reportLines_ = std::make_shared<const TReportText>(StructureReport(theory_, true));
  interpretationSummary_.clear();
  if (runner_) {
    RunInBackground(pending);
    Announce(&TDocumentListener::EvaluationFinished);
    return true;
  }
  pending->RunJob();
  EvaluationJobFinished(pending);
  return true;
}
