// The document's evaluation in flight, shared by the files of TDocument.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "document/document.h"
#include "document/framework_evaluation.h"
#include "document/refresh_phases.h"

// One evaluation of one theory. The job's thread owns Evaluation, Outcome and
// Drawing until JobDone is set; everything else belongs to the document's
// thread.
struct TDocument::TPendingEvaluation {
  TDocument* Owner = nullptr;  // null once superseded, stopped or the document is gone
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

  // The evaluation begun beside the layout (TDocument::EvaluateBeside),
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
