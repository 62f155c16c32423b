// An evaluation's schedule: in line while it is short, beside the layout,
// then on the runner's thread; only the newest theory's result is applied,
// by whoever owns the evaluation.
#include "refresh/evaluation_schedule.h"

#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>

#include "refresh/refresh_phases.h"

namespace {

// An evaluation in line that does not end in its budget leaves a refresh
// without a drawing made aside to finish; waiting a little longer for a
// large theory's evaluation usually lets it end there. (Beside the layout
// the wait has the budget given only: a later result is drawn by replaying
// the drawing's calls aside, and a longer wait would only hold a large
// theory's structure back.)
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

namespace {

// The copy's sentences by their originals and the reverse, for carrying
// lists across; only pointers are read.
struct TCopyMaps {
  explicit TCopyMaps(const TTheoryCopy& copy) {
    copies.reserve(copy.Pairs.size());
    originals.reserve(copy.Pairs.size());
    for (const auto& [original, made] : copy.Pairs) {
      copies.emplace(original.get(), &made);
      originals.emplace(made.get(), &original);
    }
  }
  static const SentencePtr& Find(const std::unordered_map<const TKorvelSentence*, const SentencePtr*>& map,
                                 const SentencePtr& sentence) {
    const auto found = map.find(sentence.get());
    return found != map.end() ? *found->second : sentence;
  }
  std::unordered_map<const TKorvelSentence*, const SentencePtr*> copies, originals;
};

}  // namespace

void TPendingEvaluation::RunJob() {
  TInterpretationList interpretations;
  TEvaluationOutcome outcome;
  std::shared_ptr<TDrawContext> drawing;
  bool outOfMemory = false;
  try {
    if (!Evaluation->Evaluated()) Evaluate(&Control);
    outcome = Evaluation->Report(&Control);
    Evaluation.reset();
    interpretations = MapInterpretations(Copy, outcome.Interpretations);
    outcome.Interpretations.clear();
    if (PrepareLayout && !outcome.Stopped) {
      const TCopyMaps maps(Copy);
      TListOfKorvelSentences copied;
      copied.reserve(AllSentences.size());
      for (const SentencePtr& sentence : AllSentences) copied.push_back(TCopyMaps::Find(maps.copies, sentence));
      drawing = PrepareLayout(Copy.Theory, copied, true, ShowDialecticalNegations, nullptr);
      if (drawing) {
        for (SentencePtr& sentence : drawing->DrawnSentences) sentence = TCopyMaps::Find(maps.originals, sentence);
        for (TDrawCall& call : drawing->Drawing.Calls)
          if (call.Sentence) call.Sentence = TCopyMaps::Find(maps.originals, call.Sentence);
        drawing->Theory = nullptr;  // the document's theory, set when it is shown
      }
    }
  } catch (const std::bad_alloc&) {
    Evaluation.reset();
    interpretations = {};
    outcome = TEvaluationOutcome{};
    outcome.Stopped = true;
    outcome.OutOfMemory = true;
    drawing.reset();
    outOfMemory = true;
  }
  std::lock_guard lock(Mutex);
  Interpretations = std::move(interpretations);
  Outcome = std::move(outcome);
  Drawing = std::move(drawing);
  OutOfMemory = outOfMemory;
  JobDone = true;
  Done.notify_all();
}

bool TPendingEvaluation::Evaluate(TEvaluationControl* control) {
  if (Early) {
    std::optional<TEvaluation> evaluation = Early->Wait(Copy.Theory, control);
    if (evaluation) return Evaluation->Adopt(std::move(*evaluation));
    Early.reset();  // it could not be made: evaluate the copy as usual
  }
  return Evaluation->Evaluate(control);
}

void TPendingEvaluation::MakeCopy(const TKorvelTheory& theory, size_t issuesAtRead,
                                             size_t issuesBeforeLayout,
                                             const std::shared_ptr<TFrameworkEvaluation>& early) {
  Copy = CopyTheory(theory);
  Evaluation = std::make_unique<TStructureEvaluation>(Copy.Theory, issuesAtRead, issuesBeforeLayout);
  if (early && early->Fits(Copy.Theory, issuesAtRead)) Early = early;
}

void TPendingEvaluation::EvaluateItself(TKorvelTheory& theory, size_t issuesAtRead, size_t issuesBeforeLayout) {
  Evaluation = std::make_unique<TStructureEvaluation>(theory, issuesAtRead, issuesBeforeLayout);
}

std::shared_ptr<TPendingEvaluation> PrepareEvaluationInPlace(TKorvelTheory& theory, size_t issuesAtRead,
                                                             size_t issuesBeforeLayout) {
  auto pending = std::make_shared<TPendingEvaluation>();
  pending->EvaluateItself(theory, issuesAtRead, issuesBeforeLayout);
  return pending;
}

std::shared_ptr<TPendingEvaluation> PrepareEvaluation(
    const TKorvelTheory& theory, size_t issuesAtRead, size_t issuesBeforeLayout,
    const std::shared_ptr<TFrameworkEvaluation>& early) {
  auto pending = std::make_shared<TPendingEvaluation>();
  pending->MakeCopy(theory, issuesAtRead, issuesBeforeLayout, early);
  return pending;
}

void TPendingEvaluation::WaitForCopy() {
  std::unique_lock lock(Mutex);
  Done.wait(lock, [this] { return CopyMade; });
}

namespace {

// How long an evaluation may take in line (or be waited for beside the
// layout): the budget given, and more for a larger theory.
std::chrono::microseconds InLineBudget(const TTheoryCopy& copy, std::chrono::milliseconds inlineBudget) {
  return inlineBudget + kInlineBudgetPerSentence * static_cast<long long>(copy.Pairs.size());
}

}  // namespace

void EvaluateInLine(TPendingEvaluation& pending, TEvaluationRunner* runner,
                               std::chrono::milliseconds inlineBudget) {
  if (!runner) {
    pending.RunJob();
    return;
  }
  if (inlineBudget.count() <= 0) return;
  // Most evaluations end at once: then the window shows the result without
  // a moment of the bare structure.
  TEvaluationControl inlineControl;
  bool ended = false;
  const auto budget =
      std::chrono::duration_cast<std::chrono::milliseconds>(InLineBudget(pending.Copy, inlineBudget));
  try {
    TWatchdog watchdog(inlineControl, budget);
    ended = pending.Evaluate(&inlineControl);
  } catch (const std::bad_alloc&) {
    pending.EndOutOfMemory();
    return;
  }
  if (ended) pending.ReportIfShort();
}

std::shared_ptr<TPendingEvaluation> EvaluateBeside(
    const TKorvelTheory& theory, size_t issuesAtRead, size_t issuesBeforeLayout,
    const std::shared_ptr<TFrameworkEvaluation>& early, std::chrono::milliseconds inlineBudget) {
  auto pending = std::make_shared<TPendingEvaluation>();
  pending->CopyMade = false;
  // The thread is the pending evaluation's own, joined before it is
  // destroyed: a bare reference to it is safe. The theory is the caller's,
  // who waits for the copy before it changes it.
  pending->Beside = std::thread([&pending = *pending, &theory, issuesAtRead, issuesBeforeLayout, early,
                                 inlineBudget] {
    bool made = false;
    try {
      pending.MakeCopy(theory, issuesAtRead, issuesBeforeLayout, early);
      made = true;
    } catch (const std::bad_alloc&) {
      pending.Copy = TTheoryCopy{};
      pending.EndOutOfMemory();
    }
    {
      std::lock_guard lock(pending.Mutex);
      pending.BesideDeadline = std::chrono::steady_clock::now() + inlineBudget;
      pending.CopyMade = true;
      pending.Done.notify_all();
    }
    if (made) {
      try {
        pending.Evaluate(&pending.Control);
      } catch (const std::bad_alloc&) {
        pending.EndOutOfMemory();
      }
    }
    std::lock_guard lock(pending.Mutex);
    pending.BesideReturned = true;
    pending.Done.notify_all();
  });
  return pending;
}

void WaitBeside(TPendingEvaluation& pending) {
  if (!pending.Beside.joinable()) return;
  {
    // An evaluation that has found more interpretations than a report
    // written here may hold ends on the runner's thread in any case: the
    // structure does not wait for it. Its count is looked at now and then.
    constexpr auto kLook = std::chrono::milliseconds(2);
    auto tooMany = [&] {
      return pending.Control.InterpretationsFound.load(std::memory_order_relaxed) > kInlineReportLimit;
    };
    std::unique_lock lock(pending.Mutex);
    while (!pending.BesideReturned) {
      const auto now = std::chrono::steady_clock::now();
      if (now >= pending.BesideDeadline || tooMany()) return;
      pending.Done.wait_until(lock, std::min(pending.BesideDeadline, now + kLook));
    }
  }
  pending.JoinBeside();
  // Ended (not stopped nor out of memory): reported here, as in line.
  if (!pending.JobDone && pending.Evaluation && pending.Evaluation->Evaluated()) pending.ReportIfShort();
}

void TPendingEvaluation::ReportIfShort() {
  if (Evaluation->Count() <= kInlineReportLimit) RunJob();
}

void TPendingEvaluation::EndOutOfMemory() {
  // The evaluation's memory is given back; the result is a stop that says why.
  Evaluation.reset();
  std::lock_guard lock(Mutex);
  Outcome = TEvaluationOutcome{};
  Outcome.Stopped = true;
  Outcome.OutOfMemory = true;
  OutOfMemory = true;
  JobDone = true;
  Done.notify_all();
}

void TPendingEvaluation::JoinBeside() {
  if (Beside.joinable()) Beside.join();
}

bool EvaluationEnded(TPendingEvaluation& pending) {
  std::lock_guard lock(pending.Mutex);
  return pending.JobDone && !pending.Outcome.Stopped;
}

bool EvaluationOutOfMemory(TPendingEvaluation& pending) {
  std::lock_guard lock(pending.Mutex);
  return pending.JobDone && pending.OutOfMemory;
}

void MarkFromEvaluation(const TPendingEvaluation& pending) { CopyMarks(pending.Copy); }

void RunInBackground(const std::shared_ptr<TPendingEvaluation>& pending, TEvaluationRunner& runner) {
  std::weak_ptr<TPendingEvaluation> weak = pending;
  runner.Start(
      [pending] {
        // An evaluation begun beside the layout is taken over where it is.
        pending->JoinBeside();
        {
          std::lock_guard lock(pending->Mutex);
          if (pending->JobDone) return;
        }
        pending->RunJob();
      },
      [weak] {
        std::shared_ptr<TPendingEvaluation> finished = weak.lock();
        if (finished && finished->Owner) finished->Owner->EvaluationJobFinished(finished);
      });
}
