#include "document/document.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <utility>

#include "refresh/refresh_build.h"
#include "refresh/framework_import.h"
#include "logic/text_util.h"
#include "logic/theory_read_check.h"
#include "logic/theory_storage.h"

namespace fs = std::filesystem;

namespace {

std::string FileNamePart(const std::string& path) { return fs::path(path).filename().string(); }

// The file's bytes up to its first NUL, with the reader's size limit;
// throws TKorvelFileError like the core's reader.
std::string ReadWholeFile(const std::string& path) { return ReadTheoryFileBytes(path); }

}  // namespace

TDocument::TDocument(TDocumentUi& ui, TActionLog& log, TTheoryFileWriter* writer)
    : ui_(ui), log_(log), writer_(writer ? *writer : defaultWriter_) {}

std::string TDocument::Caption() const {
  if (currentFileName_.empty()) return kUnnamedCaption;
  return "Pelmora - " + FileNamePart(currentFileName_);
}

// --- lifecycle

std::optional<bool> TDocument::HasUnsavedChanges() {
  if (currentFileName_.empty()) return !theory_.Assumptions.empty() || !theory_.Issues.empty();
  try {
    // Line-break style and surrounding blanks do not count as changes.
    const std::string onDisk = JoinLinesWithCrLf(ReadWholeFile(currentFileName_));
    return Trim(onDisk) != Trim(theoryFile_.Text);
  } catch (const TKorvelFileError& error) {
    ui_.ShowFileError(error.what());
    return std::nullopt;
  }
}

bool TDocument::AskToSaveChanges() {
  const std::optional<bool> unsaved = HasUnsavedChanges();
  if (!unsaved) return false;
  if (!*unsaved) return true;
  const std::string question =
      currentFileName_.empty()
          ? std::string("Do you want to save the changes?")
          : "Do you want to save the changes in " + FileNamePart(currentFileName_) + "?";
  switch (ui_.AskToSave(question)) {
    case TDocumentUi::TAnswer::Yes:
      // Going ahead after a failed save would throw the changes away.
      if (currentFileName_.empty()) return SaveWithDialog();
      return SaveTo(currentFileName_);
    case TDocumentUi::TAnswer::No:
      return true;
    case TDocumentUi::TAnswer::Cancel:
      break;
  }
  return false;
}

bool TDocument::New() {
  if (!AskToSaveChanges()) return false;
  log_.LogAction("");
  log_.LogAction("New file");
  currentFileName_.clear();
  readWarning_.clear();
  TKorvelFile empty;
  empty.Text = kEmptyTheoryText;
  return CommitFileText(empty);
}

bool TDocument::Open() {
  StopEvaluation();  // the theory being evaluated is left before the question
  if (!AskToSaveChanges()) return false;
  const std::optional<std::string> path = ui_.ChooseFileToOpen();
  if (!path) return false;
  return OpenChosen(*path);
}

bool TDocument::OpenPath(const std::string& path) {
  if (!AskToSaveChanges()) return false;
  return OpenChosen(path);
}

bool TDocument::OpenChosen(const std::string& path) {
  if (IsFrameworkFileName(path)) return ImportFramework(path);
  TTheoryReadCheck readCheck;
  if (!RefreshFromFile(path, &readCheck)) return false;
  currentFileName_ = path;
  log_.LogAction("");
  log_.LogAction("Open file:" + path);
  // A foreign or damaged file is named, and the first save over it asks.
  readWarning_ = TheoryReadWarning(readCheck, path);
  if (!readWarning_.empty()) ui_.ShowFileError(readWarning_);
  if (!storageFault_.empty()) ui_.ShowFileError(storageFault_);
  return true;
}

// A framework file becomes a new theory without a file name: saving it asks
// where, so the framework file itself is never overwritten with a theory.
bool TDocument::ImportFramework(const std::string& path) {
  // Read, turned into its theory's text and, from its attacks, evaluated by
  // the build, off the window's thread; like another file's reading, Stop
  // abandons it and leaves the document.
  auto build = std::make_shared<TRefreshBuild>();
  build->FrameworkPath = path;
  build->ReadAhead = std::move(readAhead_);
  build->EvaluateFrameworkEarly = !Options.ShowStructureOnly;
  const std::string previousName = currentFileName_;
  currentFileName_.clear();
  if (!RunRefresh(build, true)) {
    currentFileName_ = previousName;
    return false;
  }
  readWarning_.clear();
  log_.LogAction("");
  log_.LogAction("Import framework:" + path);
  return true;
}

bool TDocument::Save() {
  if (currentFileName_.empty()) {
    if (!SaveWithDialog()) return false;
    log_.LogAction("");
    log_.LogAction("Save file (new):" + currentFileName_);
    return true;
  }
  if (!SaveTo(currentFileName_)) return false;
  log_.LogAction("");
  log_.LogAction("Save file (existing):" + currentFileName_);
  return true;
}

bool TDocument::SaveAs() {
  if (!SaveWithDialog()) return false;
  log_.LogAction("");
  log_.LogAction("Save file as:" + currentFileName_);
  return true;
}

bool TDocument::SaveWithDialog() {
  const std::optional<std::string> path = ui_.ChooseFileToSave();
  if (!path || !SaveTo(*path)) return false;
  if (*path != currentFileName_) readWarning_.clear();  // the damaged file is no longer the document's
  currentFileName_ = *path;
  return true;
}

bool TDocument::SaveTo(const std::string& path) {
  // A file that would read back differently is never written.
  if (!storageFault_.empty()) {
    ui_.ShowFileError(storageFault_);
    return false;
  }
  if (!readWarning_.empty() && path == currentFileName_ &&
      !ui_.Confirm(readWarning_ + ". Saving replaces it with the theory shown. Save anyway?"))
    return false;
  try {
    writer_.Write(theoryFile_, path);
    if (path == currentFileName_) readWarning_.clear();
    return true;
  } catch (const TKorvelFileError& error) {
    ui_.ShowFileError(error.what());
    return false;
  }
}

// --- refresh cycle

bool TDocument::RefreshFromScratch() {
  // The scratch file holds TheoryFile's bytes, whichever location took it.
  // Sentences it cannot hold are lost by this re-reading: say so.
  if (!storageFault_.empty()) ui_.ShowFileError(storageFault_);
  TKorvelFile loaded;
  loaded.LoadFromText(theoryFile_.FileBytes());
  return RefreshFromLoaded(loaded);
}

// Writing a large theory's text, or copying its lists, may itself run out of
// memory before the refresh (which catches its own) begins: the change is then
// not taken up, and the user is told, instead of the program ending.
bool TDocument::CommitTheory() {
  try {
    return CommitTheoryText();
  } catch (const std::bad_alloc&) {
    ui_.ShowFileError(kRefreshOutOfMemoryMessage);
    return false;
  }
}

bool TDocument::CommitFileText(const TKorvelFile& file) {
  try {
    return CommitLoadedText(file);
  } catch (const std::bad_alloc&) {
    ui_.ShowFileError(kRefreshOutOfMemoryMessage);
    return false;
  }
}

bool TDocument::CommitMadeText(std::function<std::string()> makeText) {
  try {
    if (refreshRunner_ && PrepareLayout) {
      auto build = std::make_shared<TRefreshBuild>();
      build->MakeText = std::move(makeText);
      build->LoadPreSaved = true;
      return RunRefresh(build, false);
    }
    TKorvelFile file;
    file.Text = makeText();
    return CommitLoadedText(file);
  } catch (const std::bad_alloc&) {
    ui_.ShowFileError(kRefreshOutOfMemoryMessage);
    return false;
  }
}

bool TDocument::CommitTheoryText() {
  if (refreshRunner_ && PrepareLayout && storageFault_.empty()) {
    // The text is written and saved on the build's thread, from a copy of
    // the lists that holds the document's own sentences.
    auto build = std::make_shared<TRefreshBuild>();
    build->Written = std::make_shared<TKorvelTheory>();
    build->Written->Assumptions = theory_.Assumptions;
    build->Written->Issues = theory_.Issues;
    build->LoadPreSaved = true;
    return RunRefresh(build, false);
  }
  TKorvelFile file;
  WriteTheory(theory_, file);
  // Sentences the file cannot hold are lost by this commit: say so. Only a
  // state that held such sentences can still hold them, since the statement
  // box refuses tags and every other text comes from the theory's own texts.
  if (!storageFault_.empty()) {
    const std::string fault = CheckTheoryStorage(theory_, file, Options.ParseSentences).Message();
    if (!fault.empty()) ui_.ShowFileError(fault);
  }
  return CommitLoadedText(file);
}

bool TDocument::CommitLoadedText(const TKorvelFile& file) {
  auto build = std::make_shared<TRefreshBuild>();
  if (refreshRunner_ && PrepareLayout) {
    // The build saves the text first, as below, and reads it, off this thread.
    build->PreSaved = file;
    build->LoadPreSaved = true;
    return RunRefresh(build, false);
  }
  SaveScratch(file);
  // The scratch file now holds exactly these bytes; reading them from memory
  // keeps editing going when no scratch location could be written.
  build->Loaded.LoadFromText(file.FileBytes());
  return RunRefresh(build, false);
}

void TDocument::ShowInterpretation(int index) {
  if (index < 0) return;
  const size_t sentences = allSentences_.size();
  if (!MarkShownInterpretation(theory_, interpretations_, static_cast<size_t>(index), allSentences_))
    return;
  shownInterpretation_ = index;
  // The boxes keep their places; only a sentence new to the list needs a layout.
  if (Remark && allSentences_.size() == sentences)
    Redraw();
  else
    LayOut(theory_, allSentences_);
  Announce(&TDocumentListener::InterpretationShown);
}

// --- scratch file

void TDocument::SetScratchFallbackDirectory(const std::string& directory) {
  scratchFallbackDirectory_ = directory;
}

void TDocument::SaveScratch(const TKorvelFile& file) {
  try {
    // After any write of a build still on its way out.
    std::unique_lock<std::mutex> lock;
    if (scratchLock_) lock = std::unique_lock(scratchLock_->Mutex);
    writer_.Write(file, scratchFileName_);
    return;
  } catch (const TKorvelFileError& error) {
    if (scratchFallbackDirectory_.empty() || scratchFileName_ != kScratchFileName) {
      if (!scratchErrorShown_) ui_.ShowFileError(error.what());
      scratchErrorShown_ = true;
      return;
    }
  }
  // The working directory refuses the scratch file: use the fallback from now on.
  std::error_code ec;
  fs::create_directories(scratchFallbackDirectory_, ec);
  scratchFileName_ = (fs::path(scratchFallbackDirectory_) / kScratchFileName).string();
  SaveScratch(file);
}
