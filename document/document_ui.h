// What the document needs from its surroundings: the standard dialogs and
// message boxes, and the writing of whole files. The main window implements
// these with the toolkit's dialogs and an atomic file writer; tests replace
// them with scripted answers.
#pragma once

#include "refresh/theory_file_writer.h"

#include <optional>
#include <string>

#include "logic/theory.h"

class TDocumentUi {
 public:
  enum class TAnswer { Yes, No, Cancel };

  virtual ~TDocumentUi() = default;
  // The open dialog; nothing when it is cancelled.
  virtual std::optional<std::string> ChooseFileToOpen() = 0;
  // The save dialog; nothing when it is cancelled.
  virtual std::optional<std::string> ChooseFileToSave() = 0;
  // The warning box with Yes, No and Cancel; closing it answers Cancel.
  virtual TAnswer AskToSave(const std::string& question) = 0;
  // A file that could not be read or written.
  virtual void ShowFileError(const std::string& message) = 0;
  // A question answered Yes or No (closing it answers No); by default the
  // save question's box.
  virtual bool Confirm(const std::string& question) { return AskToSave(question) == TAnswer::Yes; }
};

