// A refresh being built, shared by the files of TDocument: what it is built
// from and what it made. The building thread owns it until the build has
// returned; an abandoned build is dropped on its own thread.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "document/document.h"
#include "document/document_pending.h"
#include "document/refresh_phases.h"
#include "document/theory_read_ahead.h"

struct TDocument::TScratchLock {
  std::mutex Mutex;
};

struct TDocument::TRefreshBuild {
  // --- what to build from
  std::string Path;    // the file to read; when empty, Loaded holds the text
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
  TLayoutStep Layout;          // otherwise the document's own step, in line
  std::shared_ptr<TRefreshProgress> Progress = std::make_shared<TRefreshProgress>();
  // When set, the build writes the scratch file itself: first PreSaved (the
  // text a commit saves before its refresh, when not empty), at the end the
  // normal form. A write that fails is left to the document's thread.
  TTheoryFileWriter* ScratchWriter = nullptr;
  std::string ScratchPath;
  // Taken around every write of the build and the document's own writes,
  // so the file ends with the newest state's text: a build still running
  // after it was given up may not write once the document has closed it.
  std::shared_ptr<TScratchLock> ScratchLock;
  bool ScratchClosed = false;   // under ScratchLock
  bool ScratchTouched = false;  // under ScratchLock: the build wrote the file
  TKorvelFile PreSaved;
  // A commit's lists (the document's own sentences), written into PreSaved
  // on the build's thread; no edit runs while the build does. Writing drops
  // later duplicates from the lists, as the commit in line does.
  std::shared_ptr<TKorvelTheory> Written;
  // Or a text made on the build's thread (Undo's and Redo's), into PreSaved.
  std::function<std::string()> MakeText;
  bool LoadPreSaved = false;  // Loaded is read from PreSaved by the build
  // An opened framework's evaluation, already running (see PrepareEvaluation).
  std::shared_ptr<TFrameworkEvaluation> Early;

  // --- what was built
  // Set by the building thread once the build has returned: until then a
  // build given up is read and let go of by nothing else (it is dropped on
  // its own thread when it returns).
  std::atomic<bool> Returned{false};
  std::string FileError;  // the file could not be read
  TTheoryReadCheck ReadCheck;  // of the file read from Path
  bool OutOfMemory = false;
  bool LaidOutInLine = false;
  TStructureRefresh Structure;
  std::shared_ptr<TPendingEvaluation> Pending;
  bool Ended = false;  // the evaluation ended in line; its marks are on
  std::shared_ptr<TDrawContext> Drawing;
  std::string StorageFault;
  bool ScratchSaved = false;  // the normal form was written; read once the build returned
  std::shared_ptr<const std::vector<std::string>> FileLines;  // of the normal form
};
