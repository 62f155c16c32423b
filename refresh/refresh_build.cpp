// The document's refresh: the new state is built whole (on the refresh
// runner's thread when there is one) and then replaces the current state in
// one step on the document's thread, in the order the refresh cycle shows it:
// the diagram, the scratch file, the log, the views.
#include "document/document_refresh.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "diagram/diagram_redraw.h"
#include "document/framework_evaluation.h"
#include "document/framework_import.h"
#include "evaluation/interpretations.h"
#include "logic/theory_read_check.h"
#include "logic/theory_storage.h"

namespace {

struct TReplacedState {
  TKorvelTheory Theory;
  TListOfKorvelSentences AllSentences;
  TInterpretationList Interpretations;
};

// The structure laid out aside, drawn again with the statuses now marked.
void DrawStatuses(TDrawContext& drawing, TKorvelTheory& theory) {
  drawing.StructureOnly = false;
  drawing.Theory = &theory;
  RedrawCalls(drawing);
  drawing.Theory = nullptr;
}

// A part of the build that needs nothing the build's thread is making,
// run on a thread of its own beside it. What it made is read after Join,
// which throws what the part threw, on the build's thread as in line; an
// object left without Join waits for the part and drops what it threw.
class TBeside {
 public:
  explicit TBeside(std::function<void()> part)
      : thread_([this, part = std::move(part)] {
          try {
            part();
          } catch (...) {
            failure_ = std::current_exception();
          }
        }) {}
  TBeside(const TBeside&) = delete;
  TBeside& operator=(const TBeside&) = delete;

  void Join() {
    thread_.join();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  }

 private:
  std::exception_ptr failure_;  // before the thread, which may set it at once
  std::jthread thread_;
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

std::vector<std::string> TDocument::FileTextLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const size_t stop = end > start && text[end - 1] == '\r' ? end - 1 : end;
    lines.emplace_back(text, start, stop - start);
    start = end + 1;
  }
  return lines;
}

bool TDocument::RefreshFromLoaded(const TKorvelFile& loaded) {
  auto build = std::make_shared<TRefreshBuild>();
  build->Loaded = loaded;
  return RunRefresh(build, false);
}

void TDocument::BuildRefresh(TRefreshBuild& build) {
  TRefreshProgress& progress = *build.Progress;
  try {
    if (build.Written) WriteTheory(*build.Written, build.PreSaved);
    if (build.MakeText) {
      // What it holds (an undo step's snapshot) is let go of here, while
      // its owner surely lives, and not with the build's leftovers.
      const auto makeText = std::move(build.MakeText);
      build.MakeText = nullptr;
      build.PreSaved.Text = makeText();
    }
    if (build.LoadPreSaved) build.Loaded.LoadFromText(build.PreSaved.FileBytes());
    // What was read ahead of the file, when its bytes are still the same.
    std::optional<TTheoryReadAhead::TRead> readAhead;
    auto takeReadAhead = [&](const std::string& path, std::string_view bytes) {
      if (build.ReadAhead) readAhead = build.ReadAhead->Take(path, bytes, build.Options, progress);
      build.ReadAhead.reset();
    };
    if (!build.FrameworkPath.empty()) {
      try {
        const std::string text = ReadFrameworkFileText(build.FrameworkPath);
        takeReadAhead(build.FrameworkPath, text);
        // The framework's evaluation begins as soon as its attacks are known.
        auto evaluateEarly = [&build](TArgumentationFramework framework) {
          if (build.EvaluateFrameworkEarly && !framework.Arguments.empty())
            build.Early = TFrameworkEvaluation::Start(std::move(framework), kInterpretationLimit);
        };
        if (readAhead) {
          evaluateEarly(std::move(*readAhead->Framework));
          build.Loaded = std::move(readAhead->Loaded);
        } else {
          TImportedFramework imported = ImportFrameworkText(text, build.FrameworkPath);
          evaluateEarly(std::move(imported.Framework));
          build.Loaded.LoadFromText(imported.File.FileBytes());
        }
      } catch (const TKorvelFileError& failure) {
        build.FileError = failure.what();
        return;
      }
    }
    // A text given in memory is read against its own size.
    if (build.Path.empty()) progress.FileBytes.store(build.Loaded.Text.size(), std::memory_order_relaxed);
    if (build.ScratchWriter && !build.PreSaved.Text.empty()) {
      // A failed write is made again by the document's thread, which says
      // what went wrong.
      WriteScratchAside(build, build.PreSaved);
      build.PreSaved = TKorvelFile{};
    }
    // The file's bytes; what reading them made of the file (whole, no theory,
    // stopped where) is told from the theory's reading below, for telling a
    // foreign or damaged file.
    std::string content;
    if (!build.Path.empty()) {
      std::error_code error;
      const auto size = std::filesystem::file_size(build.Path, error);
      if (!error) progress.FileBytes.store(static_cast<size_t>(size), std::memory_order_relaxed);
      try {
        content = ReadTheoryFileBytes(build.Path);
        takeReadAhead(build.Path, content);
        if (readAhead)
          build.Loaded = std::move(readAhead->Loaded);
        else
          build.Loaded.LoadFromText(content);
      } catch (const TKorvelFileError& failure) {
        build.FileError = failure.what();
        return;
      }
    }
    if (progress.StopRequested()) return;
    TReadStop readStop;
    if (readAhead) {
      readStop = readAhead->Stop;
      build.Structure = std::move(readAhead->Structure);
      readAhead.reset();
    } else {
      build.Structure = ReadStructure(build.Loaded, build.Options, &progress, &readStop);
    }
    if (progress.StopRequested()) return;
    if (!build.Path.empty()) {
      try {
        build.ReadCheck = CheckTheoryRead(content, build.Loaded, readStop);
      } catch (const TKorvelFileError& failure) {
        build.FileError = failure.what();
        return;
      }
    }

    TRefreshResult& result = build.Structure.Result;
    // The text in normal form is final once read: its check, lines and
    // scratch write need nothing the layout makes, and are made beside it
    // when the layout is made aside.
    auto writeOut = [&build, &result] {
      // A text in normal form that came back unchanged is stored; otherwise
      // read it once more to learn whether its normal form is (sentences just
      // read, before the refresh added issues, name what cannot be stored).
      if (result.TheoryFile.Text != build.Loaded.Text) {
        const TNormalizedTheory read = ReadAndNormalize(build.Loaded, build.Options.ParseSentences);
        build.StorageFault = CheckTheoryStorage(read.Theory, read.File, build.Options.ParseSentences).Message();
      }
      build.FileLines = std::make_shared<const std::vector<std::string>>(FileTextLines(result.TheoryFile.Text));
      if (build.ScratchWriter) build.ScratchSaved = WriteScratchAside(build, result.TheoryFile);
    };
    std::optional<TBeside> writing;
    if (build.PrepareLayout) writing.emplace(writeOut);
    // A drawing made aside is laid out while the evaluation runs beside it,
    // and given the statuses after when the evaluation ended meanwhile: where
    // a box goes never depends on statuses. One that has not ended by then
    // goes on as the background evaluation.
    const bool beside = build.PrepareLayout && build.Runner && result.Evaluated;
    // An evaluation beside the layout makes its copy of the theory on its own
    // thread, while the layout finds its places: until the copy is made, the
    // theory is only read (the layout keeps the roles it gives until then),
    // and this build waits for it before it returns, whatever ends it.
    std::shared_ptr<TPendingEvaluation> copying;
    struct TCopyWaited {
      std::shared_ptr<TPendingEvaluation>& Copying;
      ~TCopyWaited() {
        if (Copying) Copying->WaitForCopy();
      }
    } copyWaited{copying};
    if (result.Evaluated) {
      // A short evaluation ends before the layout, which then draws the
      // statuses at once; a longer one goes on after the structure is shown.
      progress.Phase.store(TRefreshPhase::Evaluating, std::memory_order_relaxed);
      const bool evaluates = !progress.EvaluationStop.load(std::memory_order_relaxed);
      if (beside && evaluates && build.InlineBudget.count() > 0) {
        build.Pending = copying =
            EvaluateBeside(result.Theory, build.Structure.IssuesAtRead,
                                   build.Structure.IssuesBeforeLayout, build.Early, build.InlineBudget);
      } else {
        build.Pending =
            PrepareEvaluation(result.Theory, build.Structure.IssuesAtRead, build.Structure.IssuesBeforeLayout,
                              build.Early);
        if (evaluates && !beside) EvaluateInLine(*build.Pending, build.Runner, build.InlineBudget);
      }
      if (!beside) {
        build.Ended = EvaluationEnded(*build.Pending);
        if (build.Ended) MarkFromEvaluation(*build.Pending);
      }
    }
    progress.Sentences.store(result.AllSentences.size(), std::memory_order_relaxed);
    progress.Phase.store(TRefreshPhase::LayingOut, std::memory_order_relaxed);
    const bool withStatuses = !build.Options.ShowStructureOnly && (!result.Evaluated || build.Ended);
    TLayoutStep layout = build.Layout;
    // The hit index reads only the finished drawing: it is built beside what
    // follows the layout (the wait for the evaluation, the sentences'
    // variables, the structure's report).
    std::optional<TBeside> indexing;
    auto indexHits = [&build, &indexing] {
      if (build.Drawing) indexing.emplace([drawing = build.Drawing.get()] { drawing->IndexHitsAside(); });
    };
    if (build.PrepareLayout)
      layout = [&build, beside, &indexing, &indexHits, withStatuses, &copying](
                   TKorvelTheory& theory, const TListOfKorvelSentences& sentences) {
        std::function<void()> beforeRolesGiven;
        if (copying) beforeRolesGiven = [pending = copying] { pending->WaitForCopy(); };
        build.Drawing = build.PrepareLayout(theory, sentences, withStatuses, build.Options.ShowDialecticalNegations,
                                            std::move(beforeRolesGiven));
        // Whatever the layout did, nothing below may change the theory before.
        if (copying) copying->WaitForCopy();
        // Indexed at once, while the evaluation is waited for; drawn again
        // with the statuses, the drawing is indexed again.
        indexHits();
        if (!beside) return;
        WaitBeside(*build.Pending);  // returns at once when none was begun
        build.Ended = EvaluationEnded(*build.Pending);
        if (!build.Ended) return;
        MarkFromEvaluation(*build.Pending);
        if (build.Drawing && !build.Options.ShowStructureOnly) {
          if (indexing) indexing->Join();  // it reads what is drawn again
          DrawStatuses(*build.Drawing, theory);
          indexHits();
        }
      };
    FinishStructure(build.Structure, layout, !beside && !build.Ended);
    if (beside && !build.Ended) result.ReportLines = StructureReport(result.Theory, true);
    if (indexing) indexing->Join();
    if (progress.StopRequested()) return;
    if (build.Pending && result.Theory.Issues.size() != build.Structure.IssuesBeforeLayout) {
      // The layout added issues the copy lacks: evaluate the theory with them.
      build.Pending =
          PrepareEvaluation(result.Theory, build.Structure.IssuesAtRead, build.Structure.IssuesBeforeLayout,
                            build.Early);
      if (!build.Runner) EvaluateInLine(*build.Pending, nullptr, {});
      if (build.Ended) result.ReportLines = StructureReport(result.Theory, true);
      build.Ended = false;
    }

    progress.Phase.store(TRefreshPhase::Writing, std::memory_order_relaxed);
    if (writing)
      writing->Join();
    else
      writeOut();
  } catch (const std::bad_alloc&) {
    // What was built so far is let go here, which gives the memory back.
    build.OutOfMemory = true;
    build.Structure = TStructureRefresh{};
    build.Pending.reset();
    build.Drawing.reset();
  }
}

bool TDocument::RunRefresh(const std::shared_ptr<TRefreshBuild>& build, bool abandonable) {
  const bool applied = RunRefreshBuild(build, abandonable);
  if (build->Returned.load(std::memory_order_acquire)) ReleaseBuilt(*build);
  return applied;
}

void TDocument::ReleaseBuilt(TRefreshBuild& build) {
  if (!refreshRunner_) return;
  // What the build made and this thread did not take over (the text read,
  // the lines of the report and of the issues added, a commit's copy of the
  // lists) is let go of on the runner's thread: a large theory's thousands
  // of strings take milliseconds to free.
  struct TBuilt {
    TKorvelFile Loaded, PreSaved;
    TStructureRefresh Structure;
    std::shared_ptr<TKorvelTheory> Written;
    std::shared_ptr<TDrawContext> Drawing;
    std::shared_ptr<TPendingEvaluation> Pending;
  };
  auto built = std::make_shared<TBuilt>();
  built->Loaded = std::move(build.Loaded);
  built->PreSaved = std::move(build.PreSaved);
  built->Structure = std::move(build.Structure);
  built->Written = std::move(build.Written);
  built->Drawing = std::move(build.Drawing);
  built->Pending = std::move(build.Pending);
  refreshRunner_->Release(std::move(built));
}

bool TDocument::WriteScratchAside(TRefreshBuild& build, const TKorvelFile& file) {
  std::lock_guard lock(build.ScratchLock->Mutex);
  if (build.ScratchClosed || build.Progress->StopRequested()) return false;
  build.ScratchTouched = true;
  try {
    build.ScratchWriter->Write(file, build.ScratchPath);
    return true;
  } catch (const TKorvelFileError&) {
    return false;
  }
}

bool TDocument::CloseScratch(TRefreshBuild& build) {
  if (!build.ScratchLock) return false;
  std::lock_guard lock(build.ScratchLock->Mutex);
  build.ScratchClosed = true;
  return build.ScratchTouched;
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
          BuildRefresh(*build);
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
    BuildRefresh(*build);
    build->Returned.store(true, std::memory_order_relaxed);
  }

  // A newer refresh made while this one was built has replaced the state
  // (and wrote the scratch file after anything this one wrote).
  if (refreshGeneration_ != generation) {
    CloseScratch(*build);
    return false;
  }
  if (!built || progress->StopRequested() || build->OutOfMemory || !build->FileError.empty()) {
    const bool scratchTouched = CloseScratch(*build);
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
