// The document's side of recovering work a crash left in the scratch file.
#include "document/document.h"

bool TDocument::OpenUnsavedWork(const std::string& path) {
  if (!AskToSaveChanges()) return false;
  TKorvelFile loaded;
  try {
    loaded.LoadFromFile(path);
  } catch (const TKorvelFileError& error) {
    ui_.ShowFileError(error.what());
    return false;
  }
  // Without a name, so that saving asks where and counts it as changed.
  currentFileName_.clear();
  readWarning_.clear();
  if (!CommitFileText(loaded)) return false;
  log_.LogAction("");
  log_.LogAction("Recover unsaved work:" + path);
  return true;
}

void TDocument::LeaveScratchEmpty() {
  TKorvelTheory empty;
  TKorvelFile file;
  WriteTheory(empty, file);
  SaveScratch(file);
}
