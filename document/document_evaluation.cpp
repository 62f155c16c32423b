// The document's evaluation: in line while it is short, then on the runner's
// thread, with only the newest theory's result ever applied.
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include "document/document.h"
#include "document/refresh_phases.h"

namespace {

// A background result is drawn by laying the diagram out again, which costs
// about 20 ms per thousand sentences; waiting a little longer for a large
// theory's evaluation to end in line usually saves that second layout.
constexpr std::chrono::microseconds kInlineBudgetPerSentence{5};

// Reports of more interpretations than this are written on the runner's
// thread even when the evaluation ended in line: a report grows with the
// number of interpretations times the size of the theory.
constexpr size_t kInlineReportLimit = 64;

// Asks an evaluation running on this thread to stop once the budget is spent.
class TWatchdog {
 public:
  TWatchdog(TEvaluationControl& control, std::chrono::milliseconds budget)
      : thread_([this, &control, budget] {
          std::unique_lock lock(mutex_);
          if (!wake_.wait_for(lock, budget, [this] { return over_; })) control.RequestStop();
        }) {}
  ~TWatchdog() {
    {
      std::lock_guard lock(mutex_);
      over_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  TWatchdog(const TWatchdog&) = delete;
  TWatchdog& operator=(const TWatchdog&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool over_ = false;
  std::thread thread_;  // last: starts once the others exist
};

}  // namespace

// One evaluation of one theory. The job's thread owns Evaluation and Outcome
// until JobDone is set; everything else belongs to the document's thread.
struct TDocument::TPendingEvaluation {
  TDocument* Owner = nullptr;  // null once superseded, stopped or the document is gone
  TTheoryCopy Copy;
  std::unique_ptr<TStructureEvaluation> Evaluation;
  TEvaluationControl Control;
  TEvaluationOutcome Outcome;
  std::mutex Mutex;
  std::condition_variable Done;
  bool JobDone = false;
  bool Applied = false;

  // The interpretations in the document's own sentences. Made by the job: it
  // only copies the originals' pointers from Pairs, never reads the sentences.
  TListOfListOfKorvelSentences Interpretations;

  void RunJob() {
    TEvaluationOutcome outcome;
    TListOfListOfKorvelSentences interpretations;
    try {
      if (!Evaluation->Evaluated()) Evaluation->Evaluate(&Control);
      outcome = Evaluation->Report(&Control);
      Evaluation.reset();
      interpretations = MapInterpretations(Copy, outcome.Interpretations);
      outcome.Interpretations.clear();
    } catch (const std::bad_alloc&) {
      outcome = OutOfMemory();
      interpretations.clear();
    }
    Finish(std::move(outcome), std::move(interpretations));
  }

  // What running out of memory leaves: the evaluation's memory given back and
  // an outcome that ends it as a stop does.
  TEvaluationOutcome OutOfMemory() {
    Evaluation.reset();
    TEvaluationOutcome outcome;
    outcome.Stopped = true;
    outcome.OutOfMemory = true;
    return outcome;
  }

  void Finish(TEvaluationOutcome outcome, TListOfListOfKorvelSentences interpretations) {
    std::lock_guard lock(Mutex);
    Interpretations = std::move(interpretations);
    Outcome = std::move(outcome);
    JobDone = true;
    Done.notify_all();
  }
};

TDocument::~TDocument() { DetachEvaluation(); }

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

std::shared_ptr<TDocument::TPendingEvaluation> TDocument::PrepareEvaluation(const TKorvelTheory& theory,
                                                                           size_t issuesAtRead,
                                                                           size_t issuesBeforeLayout) {
  auto pending = std::make_shared<TPendingEvaluation>();
  pending->Owner = this;
  pending->Copy = CopyTheory(theory);
  pending->Evaluation =
      std::make_unique<TStructureEvaluation>(pending->Copy.Theory, issuesAtRead, issuesBeforeLayout);
  return pending;
}

void TDocument::EvaluateInLine(TPendingEvaluation& pending) {
  if (!runner_) {
    pending.RunJob();
    return;
  }
  if (inlineBudget_.count() <= 0) return;
  // Most evaluations end at once: then the window shows the result without
  // a moment of the bare structure.
  TEvaluationControl inlineControl;
  bool ended = false;
  const auto budget = std::chrono::duration_cast<std::chrono::milliseconds>(
      inlineBudget_ + kInlineBudgetPerSentence * static_cast<long long>(pending.Copy.Pairs.size()));
  try {
    TWatchdog watchdog(inlineControl, budget);
    ended = pending.Evaluation->Evaluate(&inlineControl);
  } catch (const std::bad_alloc&) {
    pending.Finish(pending.OutOfMemory(), {});
    return;
  }
  if (ended && pending.Evaluation->Count() <= kInlineReportLimit) pending.RunJob();
}

bool TDocument::EvaluationEnded(TPendingEvaluation& pending) {
  std::lock_guard lock(pending.Mutex);
  return pending.JobDone && !pending.Outcome.Stopped;
}

bool TDocument::EvaluationOutOfMemory(TPendingEvaluation& pending) {
  std::lock_guard lock(pending.Mutex);
  return pending.JobDone && pending.Outcome.OutOfMemory;
}

void TDocument::MarkFromEvaluation(const TPendingEvaluation& pending) { CopyMarks(pending.Copy); }

void TDocument::RunInBackground(const std::shared_ptr<TPendingEvaluation>& pending) {
  std::weak_ptr<TPendingEvaluation> weak = pending;
  runner_->Start([pending] { pending->RunJob(); },
                 [weak] {
                   std::shared_ptr<TPendingEvaluation> finished = weak.lock();
                   if (finished && finished->Owner) finished->Owner->EvaluationJobFinished(finished);
                 });
}

void TDocument::EvaluationJobFinished(const std::shared_ptr<TPendingEvaluation>& pending) {
  // Only the newest theory's result is shown.
  if (pending != pending_ || pending->Applied) return;
  ApplyEvaluation(*pending, true);
  if (EvaluationFinished) EvaluationFinished();
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
    if (outcome.OutOfMemory)
      EndEvaluationEarly(kEvaluationOutOfMemoryStatus, kEvaluationOutOfMemoryReportLine);
    else
      StopEvaluation();
    return;
  }
  if (redraw) CopyMarks(pending.Copy);  // otherwise the layout had them already
  interpretations_ = std::move(pending.Interpretations);
  reportLines_ = std::make_shared<const std::vector<std::string>>(std::move(outcome.ReportLines));
  interpretationSummary_ = std::move(outcome.StatusText);
  interpretationButtons_ = outcome.InterpretationButtons;
  shownInterpretation_ = interpretations_.empty() ? -1 : 0;
  evaluationState_ = TEvaluationState::Finished;
  // The diagram again, now with the statuses.
  if (redraw && ShowsStatuses()) {
    if (Remark)
      Remark();
    else if (Layout)
      Layout(theory_, allSentences_);
  }
}

void TDocument::StopEvaluation() {
  EndEvaluationEarly(kEvaluationStoppedStatus, kEvaluationStoppedReportLine);
}

void TDocument::EndEvaluationEarly(const char* status, const char* reportLine) {
  if (evaluationState_ != TEvaluationState::Running) return;
  DetachEvaluation();
  evaluationState_ = TEvaluationState::Stopped;
  // The lists stay; the line about the evaluation says why it ended. The
  // diagram already shows the structure without statuses.
  std::vector<std::string> lines = *reportLines_;
  if (lines.size() >= 2) lines.resize(lines.size() - 2);
  lines.insert(lines.end(), {reportLine, ""});
  reportLines_ = std::make_shared<const std::vector<std::string>>(std::move(lines));
  interpretationSummary_ = status;
  interpretationButtons_ = 0;
  shownInterpretation_ = -1;
  if (EvaluationFinished) EvaluationFinished();
}
