// The steps of a refresh being built. Every step runs on the build's thread
// (the refresh runner's, or the caller's in line) unless its head says
// otherwise, and writes only the build's own fields.
#include "refresh/refresh_build.h"

#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

#include "diagram/diagram_redraw.h"
#include "evaluation/interpretations.h"
#include "logic/theory_storage.h"
#include "refresh/evaluation_schedule.h"
#include "refresh/framework_evaluation.h"
#include "refresh/framework_import.h"

namespace {

// The structure laid out aside, drawn again with the statuses now marked.
void DrawStatuses(TDrawContext& drawing, TKorvelTheory& theory) {
  drawing.StructureOnly = false;
  drawing.Theory = &theory;
  RedrawCalls(drawing);
  drawing.Theory = nullptr;
}

}  // namespace

void TRefreshBuild::Run() {
  TRefreshProgress& progress = *Progress;
  try {
    MakePreSavedText();
    if (!ReadInput()) return;
    TRefreshResult& result = Structure.Result;
    // The text in normal form is final once read: its check, lines and
    // scratch write need nothing the layout makes, and are made beside it
    // when the layout is made aside.
    std::optional<TBesideThread> writing;
    if (PrepareLayout) writing.emplace([this] { WriteOut(); });
    // A drawing made aside is laid out while the evaluation runs beside it,
    // and given the statuses after when the evaluation ended meanwhile: where
    // a box goes never depends on statuses. One that has not ended by then
    // goes on as the background evaluation.
    const bool beside = PrepareLayout && Runner && result.Evaluated;
    // An evaluation beside the layout makes its copy of the theory on its own
    // thread; this build waits for the copy before it returns, whatever ends it.
    struct TCopyWaited {
      std::shared_ptr<TPendingEvaluation>& Copying;
      ~TCopyWaited() {
        if (Copying) Copying->WaitForCopy();
      }
    } copyWaited{copying_};
    if (result.Evaluated) StartEvaluation(beside);
    progress.Sentences.store(result.AllSentences.size(), std::memory_order_relaxed);
    progress.Phase.store(TRefreshPhase::LayingOut, std::memory_order_relaxed);
    const bool withStatuses = !Options.ShowStructureOnly && (!result.Evaluated || Ended);
    // The hit index reads only the finished drawing: it is built beside what
    // follows the layout (the wait for the evaluation, the sentences'
    // variables, the structure's report).
    std::optional<TBesideThread> indexing;
    FinishStructure(Structure, LayoutStep(beside, withStatuses, indexing), !beside && !Ended);
    if (beside && !Ended) result.ReportLines = StructureReport(result.Theory, true);
    if (indexing) indexing->Join();
    if (progress.StopRequested()) return;
    EvaluateWithLayoutIssues();
    progress.Phase.store(TRefreshPhase::Writing, std::memory_order_relaxed);
    if (writing)
      writing->Join();
    else if (WritesOut)
      WriteOut();
  } catch (const std::bad_alloc&) {
    // What was built so far is let go here, which gives the memory back.
    OutOfMemory = true;
    Structure = TStructureRefresh{};
    Pending.reset();
    Drawing.reset();
  }
}

// Reads: Written, MakeText, PreSaved. Writes: PreSaved, Loaded.
// The text a commit saves before its refresh, made here so that a large
// theory's text costs the document's thread nothing.
void TRefreshBuild::MakePreSavedText() {
  if (Written) WriteTheory(*Written, PreSaved);
  if (MakeText) {
    // What it holds (an undo step's snapshot) is let go of here, while
    // its owner surely lives, and not with the build's leftovers.
    const auto makeText = std::move(MakeText);
    MakeText = nullptr;
    PreSaved.Text = makeText();
  }
  if (LoadPreSaved) Loaded.LoadFromText(PreSaved.FileBytes());
}

std::optional<TTheoryReadAhead::TRead> TRefreshBuild::TakeReadAhead(const std::string& path,
                                                                   std::string_view bytes) {
  std::optional<TTheoryReadAhead::TRead> read;
  if (ReadAhead) read = ReadAhead->Take(path, bytes, Options, *Progress);
  ReadAhead.reset();
  return read;
}

// Reads: the framework file, the scratch text a commit saves, the theory
// file, what was read ahead. Writes: Loaded, Early, Structure, ReadCheck, the
// scratch file (PreSaved), FileError. Waits for: the read ahead, when it is
// of the same file's bytes. False when the build ends here (a file that
// cannot be read, a stop).
bool TRefreshBuild::ReadInput() {
  TRefreshProgress& progress = *Progress;
  std::optional<TTheoryReadAhead::TRead> readAhead;
  if (!FrameworkPath.empty() && !ReadFramework(readAhead)) return false;
  // A text given in memory is read against its own size.
  if (Path.empty()) progress.FileBytes.store(Loaded.Text.size(), std::memory_order_relaxed);
  if (ScratchWriter && !PreSaved.Text.empty()) {
    // A failed write is made again by the document's thread, which says
    // what went wrong.
    WriteScratch(PreSaved);
    PreSaved = TKorvelFile{};
  }
  // The file's bytes; what reading them made of the file (whole, no theory,
  // stopped where) is told from the theory's reading, for telling a foreign
  // or damaged file.
  std::string content;
  if (!Path.empty() && !ReadTheoryFile(readAhead, content)) return false;
  if (progress.StopRequested()) return false;
  return ReadStructureAndRoles(readAhead, content);
}

// A framework file turned into its theory's text; its evaluation begins as
// soon as its attacks are known, on a thread of its own (Early).
bool TRefreshBuild::ReadFramework(std::optional<TTheoryReadAhead::TRead>& readAhead) {
  try {
    const std::string text = ReadFrameworkFileText(FrameworkPath);
    readAhead = TakeReadAhead(FrameworkPath, text);
    auto evaluateEarly = [this](TArgumentationFramework framework) {
      if (EvaluateFrameworkEarly && !framework.Arguments.empty())
        Early = TFrameworkEvaluation::Start(std::move(framework), kInterpretationLimit);
    };
    if (readAhead) {
      evaluateEarly(std::move(*readAhead->Framework));
      Loaded = std::move(readAhead->Loaded);
    } else {
      TImportedFramework imported = ImportFrameworkText(text, FrameworkPath);
      evaluateEarly(std::move(imported.Framework));
      Loaded.LoadFromText(imported.File.FileBytes());
    }
    return true;
  } catch (const TKorvelFileError& failure) {
    FileError = failure.what();
    return false;
  }
}

bool TRefreshBuild::ReadTheoryFile(std::optional<TTheoryReadAhead::TRead>& readAhead, std::string& content) {
  std::error_code error;
  const auto size = std::filesystem::file_size(Path, error);
  if (!error) Progress->FileBytes.store(static_cast<size_t>(size), std::memory_order_relaxed);
  try {
    content = ReadTheoryFileBytes(Path);
    readAhead = TakeReadAhead(Path, content);
    if (readAhead)
      Loaded = std::move(readAhead->Loaded);
    else
      Loaded.LoadFromText(content);
    return true;
  } catch (const TKorvelFileError& failure) {
    FileError = failure.what();
    return false;
  }
}

// Reads: Loaded (or what was read ahead of it). Writes: Structure (read,
// normalised, every sentence once, the roles given) and ReadCheck.
bool TRefreshBuild::ReadStructureAndRoles(std::optional<TTheoryReadAhead::TRead>& readAhead,
                                          const std::string& content) {
  TReadStop readStop;
  if (readAhead) {
    readStop = readAhead->Stop;
    Structure = std::move(readAhead->Structure);
    readAhead.reset();
  } else {
    Structure = ReadStructure(Loaded, Options, Progress.get(), &readStop);
  }
  if (Progress->StopRequested()) return false;
  if (Path.empty()) return true;
  try {
    ReadCheck = CheckTheoryRead(content, Loaded, readStop);
    return true;
  } catch (const TKorvelFileError& failure) {
    FileError = failure.what();
    return false;
  }
}

// Runs beside the layout when the layout is made aside, else after it.
// Reads: Structure's normal form and Loaded, which nothing changes any more.
// Writes: StorageFault, FileLines, the scratch file, ScratchSaved.
void TRefreshBuild::WriteOut() {
  const TRefreshResult& result = Structure.Result;
  // A text in normal form that came back unchanged is stored; otherwise
  // read it once more to learn whether its normal form is (sentences just
  // read, before the refresh added issues, name what cannot be stored).
  if (result.TheoryFile.Text != Loaded.Text) {
    const TNormalizedTheory read = ReadAndNormalize(Loaded, Options.ParseSentences);
    StorageFault = CheckTheoryStorage(read.Theory, read.File, Options.ParseSentences).Message();
  }
  FileLines = std::make_shared<const std::vector<std::string>>(FileTextLines(result.TheoryFile.Text));
  if (ScratchWriter) ScratchSaved = WriteScratch(result.TheoryFile);
}

std::shared_ptr<TPendingEvaluation> TRefreshBuild::NewEvaluation() {
  TKorvelTheory& theory = Structure.Result.Theory;
  if (EvaluateInPlace) return PrepareEvaluationInPlace(theory, Structure.IssuesAtRead, Structure.IssuesBeforeLayout);
  return PrepareEvaluation(theory, Structure.IssuesAtRead, Structure.IssuesBeforeLayout, Early);
}

// Reads: the theory with its roles. Writes: Pending, Ended, the theory's
// marks when the evaluation ended in line. A short evaluation ends before
// the layout, which then draws the statuses at once; a longer one goes on
// after the structure is shown. Beside a layout made aside, the evaluation
// runs on a thread of its own, which first copies the theory: until the copy
// is made (copying_), the theory is only read.
void TRefreshBuild::StartEvaluation(bool beside) {
  const TRefreshResult& result = Structure.Result;
  Progress->Phase.store(TRefreshPhase::Evaluating, std::memory_order_relaxed);
  const bool evaluates = !Progress->EvaluationStop.load(std::memory_order_relaxed);
  if (beside && evaluates && InlineBudget.count() > 0) {
    Pending = copying_ = EvaluateBeside(result.Theory, Structure.IssuesAtRead, Structure.IssuesBeforeLayout,
                                        Early, InlineBudget);
  } else {
    Pending = NewEvaluation();
    if (evaluates && !beside) EvaluateInLine(*Pending, Runner, InlineBudget);
  }
  if (!beside) {
    Ended = EvaluationEnded(*Pending);
    if (Ended) MarkFromEvaluation(*Pending);
  }
}

// The layout: in line, the caller's Layout; aside, PrepareLayout into
// Drawing, then the hit index built beside (into `indexing`), and with an
// evaluation beside the layout, the wait for it within its budget: ended, its
// marks go on and the drawing is drawn again with the statuses.
TLayoutStep TRefreshBuild::LayoutStep(bool beside, bool withStatuses, std::optional<TBesideThread>& indexing) {
  if (!PrepareLayout) return Layout;
  return [this, beside, withStatuses, &indexing](TKorvelTheory& theory, const TListOfKorvelSentences& sentences) {
    auto indexHits = [this, &indexing] {
      if (Drawing) indexing.emplace([drawing = Drawing.get()] { drawing->IndexHitsAside(); });
    };
    std::function<void()> beforeRolesGiven;
    if (copying_) beforeRolesGiven = [pending = copying_] { pending->WaitForCopy(); };
    Drawing = PrepareLayout(theory, sentences, withStatuses, Options.ShowDialecticalNegations,
                            std::move(beforeRolesGiven));
    // Whatever the layout did, nothing below may change the theory before.
    if (copying_) copying_->WaitForCopy();
    // Indexed at once, while the evaluation is waited for; drawn again
    // with the statuses, the drawing is indexed again.
    indexHits();
    if (!beside) return;
    WaitBeside(*Pending);  // returns at once when none was begun
    Ended = EvaluationEnded(*Pending);
    if (!Ended) return;
    MarkFromEvaluation(*Pending);
    if (Drawing && !Options.ShowStructureOnly) {
      if (indexing) indexing->Join();  // it reads what is drawn again
      DrawStatuses(*Drawing, theory);
      indexHits();
    }
  };
}

// After the layout. The layout added issues the evaluation's copy lacks:
// the theory is evaluated again with them (to its end without a runner).
void TRefreshBuild::EvaluateWithLayoutIssues() {
  TRefreshResult& result = Structure.Result;
  if (!Pending || result.Theory.Issues.size() == Structure.IssuesBeforeLayout) return;
  Pending = NewEvaluation();
  if (!Runner) EvaluateInLine(*Pending, nullptr, {});
  if (Ended) result.ReportLines = StructureReport(result.Theory, true);
  Ended = false;
}

// On the build's thread, or the document's for a build given up.
bool TRefreshBuild::WriteScratch(const TKorvelFile& file) {
  std::lock_guard lock(ScratchLock->Mutex);
  if (scratchClosed_ || Progress->StopRequested()) return false;
  scratchTouched_ = true;
  try {
    ScratchWriter->Write(file, ScratchPath);
    return true;
  } catch (const TKorvelFileError&) {
    return false;
  }
}

// On the document's thread.
bool TRefreshBuild::CloseScratch() {
  if (!ScratchLock) return false;
  std::lock_guard lock(ScratchLock->Mutex);
  scratchClosed_ = true;
  return scratchTouched_;
}

// On the document's thread, once the build has returned.
std::shared_ptr<const void> TRefreshBuild::TakeLeftovers() {
  struct TBuilt {
    TKorvelFile Loaded, PreSaved;
    TStructureRefresh Structure;
    std::shared_ptr<TKorvelTheory> Written;
    std::shared_ptr<TDrawContext> Drawing;
    std::shared_ptr<TPendingEvaluation> Pending;
  };
  auto built = std::make_shared<TBuilt>();
  built->Loaded = std::move(Loaded);
  built->PreSaved = std::move(PreSaved);
  built->Structure = std::move(Structure);
  built->Written = std::move(Written);
  built->Drawing = std::move(Drawing);
  built->Pending = std::move(Pending);
  return built;
}
