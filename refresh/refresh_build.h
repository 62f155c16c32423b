// One refresh being built: from a file text (or a file, or a framework) to a
// complete new state, ready to replace the document's in one step. The
// document runs `Run` on its refresh runner's thread (or in line) and reads
// what was built once it has returned; `Refresh` (refresh_core.h) runs the
// same steps in line for korvel, the benchmarks and the tests.
//
// The steps, in refresh_build.cpp, each with its contract at its head:
// the text a commit saves, reading the input, the structure and roles, the
// evaluation's start, the layout, the writing out. The evaluation itself is
// a TPendingEvaluation (pending_evaluation.h, evaluation_schedule.cpp).
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "diagram/draw_context.h"
#include "logic/theory.h"
#include "logic/theory_read_check.h"
#include "refresh/beside_thread.h"
#include "refresh/evaluation_runner.h"
#include "refresh/pending_evaluation.h"
#include "refresh/refresh_core.h"
#include "refresh/refresh_phases.h"
#include "refresh/refresh_progress.h"
#include "refresh/theory_file_writer.h"
#include "refresh/theory_read_ahead.h"

class TFrameworkEvaluation;

// Taken around every write of a build and the document's own writes of the
// scratch file, so the file ends with the newest state's text: a build still
// running after it was given up may not write once the document closed it.
struct TScratchLock {
  std::mutex Mutex;
};

class TRefreshBuild {
 public:
  // --- what to build from
  std::string Path;                             // the file to read; when empty, Loaded holds the text
  std::shared_ptr<TTheoryReadAhead> ReadAhead;  // of that file, perhaps
  // Or a framework file, read and turned into its theory's text by the
  // build; with EvaluateFrameworkEarly its evaluation starts from the
  // attacks as soon as it is read (Early).
  std::string FrameworkPath;
  bool EvaluateFrameworkEarly = false;
  TKorvelFile Loaded;
  TRefreshOptions Options;
  TEvaluationRunner* Runner = nullptr;
  std::chrono::milliseconds InlineBudget{0};
  TLayoutAside PrepareLayout;  // when set, the layout is made into Drawing
  TLayoutStep Layout;          // otherwise this step, in line
  std::shared_ptr<TRefreshProgress> Progress = std::make_shared<TRefreshProgress>();
  // When set, the build writes the scratch file itself: first PreSaved (the
  // text a commit saves before its refresh, when not empty), at the end the
  // normal form. A write that fails is left to the document's thread.
  TTheoryFileWriter* ScratchWriter = nullptr;
  std::string ScratchPath;
  std::shared_ptr<TScratchLock> ScratchLock;
  TKorvelFile PreSaved;
  // A commit's lists (the document's own sentences), written into PreSaved
  // on the build's thread; no edit runs while the build does. Writing drops
  // later duplicates from the lists, as the commit in line does.
  std::shared_ptr<TKorvelTheory> Written;
  // Or a text made on the build's thread (Undo's and Redo's), into PreSaved.
  std::function<std::string()> MakeText;
  bool LoadPreSaved = false;  // Loaded is read from PreSaved by the build
  // Whether the build makes what only a document needs: the file view's
  // lines, the storage check, the scratch file (WriteOut).
  bool WritesOut = true;
  // Evaluates the theory read instead of a copy of it: only for a build in
  // line without a runner or a layout aside, whose theory nothing else reads.
  bool EvaluateInPlace = false;
  // An opened framework's evaluation, already running (see PrepareEvaluation).
  std::shared_ptr<TFrameworkEvaluation> Early;

  // --- what was built
  // Set by the building thread once the build has returned: until then a
  // build given up is read and let go of by nothing else (it is dropped on
  // its own thread when it returns).
  std::atomic<bool> Returned{false};
  std::string FileError;       // the file could not be read
  TTheoryReadCheck ReadCheck;  // of the file read from Path
  bool OutOfMemory = false;
  bool LaidOutInLine = false;  // set by the caller's Layout step
  TStructureRefresh Structure;
  std::shared_ptr<TPendingEvaluation> Pending;
  bool Ended = false;  // the evaluation ended in line; its marks are on
  std::shared_ptr<TDrawContext> Drawing;
  std::string StorageFault;
  bool ScratchSaved = false;  // the normal form was written; read once the build returned
  std::shared_ptr<const std::vector<std::string>> FileLines;  // of the normal form

  // Builds the new state on the calling thread; what it made is read once
  // it has returned. Running out of memory ends it with OutOfMemory set and
  // what was built let go.
  void Run();

  // Writes the scratch file from the build's thread unless the build was
  // stopped or closed; whether it was written.
  bool WriteScratch(const TKorvelFile& file);
  // Keeps a build given up from writing the scratch file from now on;
  // whether it wrote it already.
  bool CloseScratch();
  // What the build made and its caller did not take over (the text read,
  // the lines of the report and of the issues added, a commit's copy of the
  // lists), as one object to let go of where that costs nobody anything.
  std::shared_ptr<const void> TakeLeftovers();

 private:
  // The steps of Run, in their order (refresh_build.cpp).
  void MakePreSavedText();
  bool ReadInput();
  bool ReadFramework(std::optional<TTheoryReadAhead::TRead>& readAhead);
  bool ReadTheoryFile(std::optional<TTheoryReadAhead::TRead>& readAhead, std::string& content);
  bool ReadStructureAndRoles(std::optional<TTheoryReadAhead::TRead>& readAhead, const std::string& content);
  void WriteOut();
  void StartEvaluation(bool beside);
  TLayoutStep LayoutStep(bool beside, bool withStatuses, std::optional<TBesideThread>& indexing);
  void EvaluateWithLayoutIssues();
  std::shared_ptr<TPendingEvaluation> NewEvaluation();

  std::optional<TTheoryReadAhead::TRead> TakeReadAhead(const std::string& path, std::string_view bytes);

  bool scratchClosed_ = false;   // under ScratchLock
  bool scratchTouched_ = false;  // under ScratchLock: the build wrote the file
  // An evaluation beside the layout that is still making its copy of the
  // theory: until then the theory is only read.
  std::shared_ptr<TPendingEvaluation> copying_;
};
