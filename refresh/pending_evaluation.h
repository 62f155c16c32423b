// One evaluation in flight: a copy of the theory, its evaluation, and what
// it produced, shared by the refresh's build, the scheduling
// (evaluation_schedule.cpp) and the document that shows the result.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <functional>

#include "diagram/draw_context.h"
#include "refresh/framework_evaluation.h"
#include "refresh/refresh_phases.h"

struct TPendingEvaluation;

// Who shows a pending evaluation's result: told on its own thread (through
// the evaluation runner) when the job has finished.
class TEvaluationOwner {
 public:
  virtual void EvaluationJobFinished(const std::shared_ptr<TPendingEvaluation>& pending) = 0;

 protected:
  ~TEvaluationOwner() = default;
};

// A diagram laid out away from the window's thread: called on the refresh
// runner's or the evaluation runner's thread, it lays the sentences out into
// a new context of its own (with status icons or as structure only) and may
// touch nothing but its arguments and that context. `beforeRolesGiven`, when
// set, becomes the context's BeforeRolesGiven: another thread still reads
// the theory until it returns, so the layout writes nothing into it before.
using TLayoutAside = std::function<std::shared_ptr<TDrawContext>(
    TKorvelTheory& theory, const TListOfKorvelSentences& allSentences, bool withStatuses,
    bool showDialecticalNegations, std::function<void()> beforeRolesGiven)>;

// One evaluation of one theory. The job's thread owns Evaluation, Outcome and
// Drawing until JobDone is set; everything else belongs to the owner's
// thread.
struct TPendingEvaluation {
  TEvaluationOwner* Owner = nullptr;  // null once superseded, stopped or the owner is gone
  TTheoryCopy Copy;
  std::unique_ptr<TStructureEvaluation> Evaluation;
  // When set, the interpretations are those of this evaluation of the opened
  // framework, waited for instead of evaluating the copy.
  std::shared_ptr<TFrameworkEvaluation> Early;
  TEvaluationControl Control;
  TEvaluationOutcome Outcome;
  bool OutOfMemory = false;  // then Outcome is a stopped one
  std::mutex Mutex;
  std::condition_variable Done;
  bool JobDone = false;
  bool Applied = false;

  // The interpretations in the document's own sentences. Made by the job: it
  // only copies the originals' pointers from Pairs, never reads the sentences.
  TInterpretationList Interpretations;

  // When set, the job also lays out the copy with the result's statuses, so
  // that showing the result costs no layout on the document's thread.
  // AllSentences are the document's; the job lays out their copies, and the
  // drawing it leaves in Drawing names the document's sentences again.
  TLayoutAside PrepareLayout;
  bool ShowDialecticalNegations = true;
  TListOfKorvelSentences AllSentences;
  std::shared_ptr<TDrawContext> Drawing;

  // Copy, and the Evaluation of it (taking `early` when made for it).
  void MakeCopy(const TKorvelTheory& theory, size_t issuesAtRead, size_t issuesBeforeLayout,
                const std::shared_ptr<TFrameworkEvaluation>& early);
  // No copy: the Evaluation of `theory` itself, which nobody else reads or
  // changes until the job is done; its marks and interpretations are the
  // theory's own.
  void EvaluateItself(TKorvelTheory& theory, size_t issuesAtRead, size_t issuesBeforeLayout);
  void RunJob();
  // Evaluation->Evaluate, or the early evaluation's result taken; false when
  // `control` stopped it.
  bool Evaluate(TEvaluationControl* control);
  // After an evaluation ended in line or beside the layout: the job's rest
  // (the report, the marks) made here when the report is short.
  void ReportIfShort();
  // Ends an evaluation that ran out of memory in line or beside the layout.
  void EndOutOfMemory();
  // Waits for the evaluation begun beside the layout, if one was, to return.
  void JoinBeside();

  // The evaluation begun beside the layout (EvaluateBeside),
  // under Control; BesideReturned is set (under Mutex, with Done notified)
  // when it returned. Until then it owns Evaluation and Early; whoever goes
  // on with the evaluation joins it first. Last, so that it is joined before
  // anything it uses is destroyed.
  std::chrono::steady_clock::time_point BesideDeadline;
  bool BesideReturned = false;
  // Set (under Mutex, with Done notified) once Copy, Evaluation and the
  // deadline are made; the evaluation beside the layout makes its own copy
  // on its thread, and reads the original theory until then.
  bool CopyMade = true;
  void WaitForCopy();
  std::thread Beside;
  ~TPendingEvaluation() {
    if (Beside.joinable()) {
      Control.RequestStop();
      Beside.join();
    }
  }
};
