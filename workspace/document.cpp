#include "document.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "refresh_phases.h"
#include "text_util.h"

namespace fs = std::filesystem;

namespace {

std::string FileNamePart(const std::string& path) { return fs::path(path).filename().string(); }

// The whole file as bytes; throws TKorvelFileError like the core's reader.
std::string ReadWholeFile(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) throw TKorvelFileError("cannot read " + path + ": Is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TKorvelFileError("cannot read " + path + ": " + std::strerror(errno));
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw TKorvelFileError("cannot read " + path + ": " + std::strerror(errno));
  return content;
}

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
  TKorvelFile empty;
  empty.Text = kEmptyTheoryText;
  return CommitFileText(empty);
}

bool TDocument::Open() {
  StopEvaluation();  // the theory being evaluated is left before the question
  if (!AskToSaveChanges()) return false;
  const std::optional<std::string> path = ui_.ChooseFileToOpen();
  if (!path) return false;
  if (!RefreshFromFile(*path)) return false;
  currentFileName_ = *path;
  log_.LogAction("");
  log_.LogAction("Open file:" + *path);
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
  currentFileName_ = *path;
  return true;
}

bool TDocument::SaveTo(const std::string& path) {
  try {
    writer_.Write(theoryFile_, path);
    return true;
  } catch (const TKorvelFileError& error) {
    ui_.ShowFileError(error.what());
    return false;
  }
}

// --- refresh cycle

bool TDocument::RefreshFromFile(const std::string& path) {
  TKorvelFile loaded;
  try {
    loaded.LoadFromFile(path);
  } catch (const TKorvelFileError& error) {
    ui_.ShowFileError(error.what());
    return false;
  }
  return RefreshFromLoaded(loaded);
}

bool TDocument::RefreshFromScratch() {
  // The scratch file holds TheoryFile's bytes, whichever location took it.
  TKorvelFile loaded;
  loaded.LoadFromText(theoryFile_.FileBytes());
  return RefreshFromLoaded(loaded);
}

bool TDocument::CommitTheory() {
  TKorvelFile file;
  WriteTheory(theory_, file);
  return CommitFileText(file);
}

bool TDocument::CommitFileText(const TKorvelFile& file) {
  SaveScratch(file);
  // The scratch file now holds exactly these bytes; reading them from memory
  // keeps editing going when no scratch location could be written.
  TKorvelFile loaded;
  loaded.LoadFromText(file.FileBytes());
  return RefreshFromLoaded(loaded);
}

bool TDocument::RefreshFromLoaded(const TKorvelFile& loaded) {
  // A change supersedes the evaluation of the theory before it.
  DetachEvaluation();
  // Everything is built aside; the current state is replaced only as a whole.
  TStructureRefresh structure = ReadStructure(loaded, Options);
  TRefreshResult& result = structure.Result;
  std::shared_ptr<TPendingEvaluation> pending;
  bool ended = false;
  if (result.Evaluated) {
    // A short evaluation ends before the layout, which then draws the
    // statuses at once; a longer one goes on after the structure is shown.
    pending = PrepareEvaluation(result.Theory, structure.IssuesAtRead, structure.IssuesBeforeLayout);
    EvaluateInLine(*pending);
    ended = EvaluationEnded(*pending);
    if (ended) MarkFromEvaluation(*pending);
  }
  evaluationState_ = !result.Evaluated ? TEvaluationState::None
                     : ended            ? TEvaluationState::Finished
                                        : TEvaluationState::Running;
  FinishStructure(structure, Layout, !ended);
  if (pending && result.Theory.Issues.size() != structure.IssuesBeforeLayout) {
    // The layout added issues the copy lacks: evaluate the theory with them.
    pending = PrepareEvaluation(result.Theory, structure.IssuesAtRead, structure.IssuesBeforeLayout);
    if (!runner_) EvaluateInLine(*pending);
    if (ended) result.ReportLines = StructureReport(result.Theory, true);
    ended = false;
    evaluationState_ = TEvaluationState::Running;
  }
  SaveScratch(result.TheoryFile);

  theoryFile_ = std::move(result.TheoryFile);
  theory_ = std::move(result.Theory);
  allSentences_ = std::move(result.AllSentences);
  interpretations_.clear();
  reportLines_ = std::make_shared<const std::vector<std::string>>(std::move(result.ReportLines));
  interpretationSummary_ = std::move(result.StatusText);
  interpretationButtons_ = 0;
  shownInterpretation_ = -1;
  std::vector<std::string> added;
  added.reserve(result.AddedIssues.size());
  for (const std::string& text : result.AddedIssues) added.push_back("Add issue: " + text);
  log_.LogActions(added);
  if (pending) {
    pending_ = pending;
    evaluationStart_ = std::chrono::steady_clock::now();
    if (ended)
      ApplyEvaluation(*pending, false);
    else if (EvaluationEnded(*pending))  // without a runner, after the layout added issues
      ApplyEvaluation(*pending, true);
    else
      RunInBackground(pending);
  }
  if (Refreshed) Refreshed();
  return true;
}

void TDocument::ShowInterpretation(int index) {
  if (index < 0) return;
  if (!MarkShownInterpretation(theory_, interpretations_, static_cast<size_t>(index), allSentences_))
    return;
  shownInterpretation_ = index;
  if (Layout) Layout(theory_, allSentences_);
  if (InterpretationShown) InterpretationShown();
}

// --- scratch file

void TDocument::SetScratchFallbackDirectory(const std::string& directory) {
  scratchFallbackDirectory_ = directory;
}

void TDocument::SaveScratch(const TKorvelFile& file) {
  try {
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
