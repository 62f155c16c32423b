// The document's refresh: the new state is built whole (refresh/, on the
// refresh runner's thread when there is one) and then replaces the current
// state in one step on the document's thread, in the order the refresh cycle
// shows it: the diagram, the scratch file, the log, the views.
#include <new>
#include <utility>

#include "document/document.h"
#include "evaluation/interpretations.h"
#include "refresh/evaluation_schedule.h"
#include "refresh/refresh_build.h"

namespace {

struct TReplacedState {
  TKorvelTheory Theory;
  TListOfKorvelSentences AllSentences;
  TInterpretationList Interpretations;
};

}  // namespace

bool TDocument::RefreshFromFile(const std::string& path, TTheoryReadCheck* readCheck) {
  // Another file's reading can be abandoned: the document stays as it is.
  auto build = std::make_shared<TRefreshBuild>();
  build->Path = path;
  build->ReadAhead = std::move(readAhead_);
  if (!RunRefresh(build, true)) return false;
  if (readCheck) *readCheck = build->ReadCheck;
  return true;
}

bool TDocument::RefreshFromLoaded(const TKorvelFile& loaded) {
  auto build = std::make_shared<TRefreshBuild>();
  build->Loaded = loaded;
  return RunRefresh(build, false);
}

bool TDocument::RunRefresh(const std::shared_ptr<TRefreshBuild>& build, bool abandonable) {
  const bool applied = RunRefreshBuild(build, abandonable);
  if (build->Returned.load(std::memory_order_acquire)) ReleaseBuilt(*build);
  return applied;
}

void TDocument::ReleaseBuilt(TRefreshBuild& build) {
  // What the build made and this thread did not take over is let go of on
  // the runner's thread: a large theory's thousands of strings take
  // milliseconds to free.
  if (refreshRunner_) refreshRunner_->Release(build.TakeLeftovers());
}

bool TDocument::RunRefreshBuild(const std::shared_ptr<TRefreshBuild>& build, bool abandonable) {
  // A change supersedes the evaluation of the theory before it.
  DetachEvaluation();
  const TEvaluationState stateBefore = evaluationState_;
  const size_t generation = refreshGeneration_;
  build->Options = Options;
  build->Runner = runner_;
  build->InlineBudget = inlineBudget_;
  const std::shared_ptr<TRefreshProgress> progress = build->Progress;
  bool built = true;
  if (refreshRunner_ && PrepareLayout) {
    build->PrepareLayout = PrepareLayout;
    // The scratch file is written by the build; a build given up is closed
    // below before the kept state's text goes back into the file.
    if (!scratchLock_) scratchLock_ = std::make_shared<TScratchLock>();
    build->ScratchWriter = &writer_;
    build->ScratchPath = scratchFileName_;
    build->ScratchLock = scratchLock_;
    // A refresh still being built below this one is superseded by it.
    if (refresh_) refresh_->RequestStop();
    const std::shared_ptr<TRefreshProgress> outer = refresh_;
    const bool outerAbandonable = refreshAbandonable_;
    refresh_ = progress;
    refreshAbandonable_ = abandonable;
    built = refreshRunner_->Run(
        [build] {
          build->Run();
          build->Returned.store(true, std::memory_order_release);
        },
        progress);
    refresh_ = outer;
    refreshAbandonable_ = outerAbandonable;
  } else {
    // In line, the document's own layout step reads the evaluation's state.
    build->Layout = [this, raw = build.get()](TKorvelTheory& theory, const TListOfKorvelSentences& sentences) {
      const TRefreshResult& result = raw->Structure.Result;
      evaluationState_ = !result.Evaluated ? TEvaluationState::None
                         : raw->Ended      ? TEvaluationState::Finished
                                           : TEvaluationState::Running;
      raw->LaidOutInLine = true;
      LayOut(theory, sentences);
    };
    build->Run();
    build->Returned.store(true, std::memory_order_relaxed);
  }

  // A newer refresh made while this one was built has replaced the state
  // (and wrote the scratch file after anything this one wrote).
  if (refreshGeneration_ != generation) {
    build->CloseScratch();
    return false;
  }
  if (!built || progress->StopRequested() || build->OutOfMemory || !build->FileError.empty()) {
    const bool scratchTouched = build->CloseScratch();
    evaluationState_ = stateBefore;
    if (built && build->Written) {
      theory_.Assumptions = build->Written->Assumptions;
      theory_.Issues = build->Written->Issues;
    }
    // A layout made in line drew what is now thrown away: draw the kept state.
    if (build->LaidOutInLine && Layout) {
      try {
        LayOut(theory_, allSentences_);
      } catch (const std::bad_alloc&) {
        // Still no memory: the message below says so all the same.
      }
    }
    // A build given up may still be running: what it found is not read.
    const bool returned = build->Returned.load(std::memory_order_acquire);
    if (returned && build->OutOfMemory)
      ui_.ShowFileError(kRefreshOutOfMemoryMessage);
    else if (returned && !build->FileError.empty())
      ui_.ShowFileError(build->FileError);
    // A change saved its text first, and another file's reading may have
    // saved its own: the scratch file holds the kept state again.
    if (!abandonable || scratchTouched) SaveScratch(theoryFile_);
    // The kept state's evaluation was given up when this refresh started.
    StopEvaluation();
    return false;
  }
  ApplyRefresh(*build);
  if (progress->EvaluationStop.load(std::memory_order_relaxed)) StopEvaluation();
  return true;
}

void TDocument::ApplyRefresh(TRefreshBuild& build) {
  ++refreshGeneration_;
  TRefreshResult& result = build.Structure.Result;
  evaluationState_ = !result.Evaluated ? TEvaluationState::None
                     : build.Ended     ? TEvaluationState::Finished
                                       : TEvaluationState::Running;
  // The state replaced is let go of away from this thread: freeing a large
  // theory's sentences takes longer than anything else done here.
  auto replaced = std::make_shared<TReplacedState>();
  replaced->Theory = std::move(theory_);
  replaced->AllSentences = std::move(allSentences_);
  replaced->Interpretations = std::move(interpretations_);
  theoryFile_ = std::move(result.TheoryFile);
  theory_ = std::move(result.Theory);
  allSentences_ = std::move(result.AllSentences);
  interpretations_.clear();
  reportLines_ = std::make_shared<const TReportText>(std::move(result.ReportLines));
  interpretationSummary_ = std::move(result.StatusText);
  interpretationButtons_ = 0;
  shownInterpretation_ = -1;
  issuesAtRead_ = build.Structure.IssuesAtRead;
  issuesBeforeLayout_ = build.Structure.IssuesBeforeLayout;
  if (build.Drawing) {
    // The diagram made aside is shown where the layout would have run.
    preparedLayout_ = std::move(build.Drawing);
    LayOut(theory_, allSentences_);
    preparedLayout_.reset();
  }
  if (refreshRunner_) refreshRunner_->Release(std::move(replaced));
  replaced.reset();
  if (!build.ScratchSaved) SaveScratch(theoryFile_);
  fileLines_ = build.FileLines ? std::move(build.FileLines)
                               : std::make_shared<const std::vector<std::string>>(FileTextLines(theoryFile_.Text));
  storageFault_ = std::move(build.StorageFault);
  std::vector<std::string> added;
  added.reserve(result.AddedIssues.size());
  for (const std::string& text : result.AddedIssues) added.push_back("Add issue: " + text);
  log_.LogActions(added);
  if (const std::shared_ptr<TPendingEvaluation>& pending = build.Pending) {
    pending->Owner = this;
    pending_ = pending;
    evaluationStart_ = std::chrono::steady_clock::now();
    if (build.Ended)
      ApplyEvaluation(*pending, false);
    else if (EvaluationEnded(*pending))  // without a runner, after the layout added issues
      ApplyEvaluation(*pending, true);
    else if (EvaluationOutOfMemory(*pending))
      ApplyEvaluation(*pending, false);
    else
      RunInBackground(pending);
  }
  Announce(&TDocumentListener::Refreshed);
}
