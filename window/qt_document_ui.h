// The document's dialogs on the desktop: the platform's file dialogs with the
// theory file filter, the warning box of the save question and the error box;
// and theory files written through QSaveFile.
#pragma once

#include <QString>

#include "document/document_ui.h"

class QWidget;

inline constexpr const char* kKorvelFileFilter = "Korvel file (*.kvl)";
inline constexpr const char* kKorvelFileSuffix = "kvl";

class TQtDocumentUi : public TDocumentUi {
 public:
  explicit TQtDocumentUi(QWidget* parent) : parent_(parent) {}

  std::optional<std::string> ChooseFileToOpen() override;
  std::optional<std::string> ChooseFileToSave() override;
  TAnswer AskToSave(const std::string& question) override;
  void ShowFileError(const std::string& message) override;
  bool Confirm(const std::string& question) override;

 private:
  QWidget* parent_;
};

// Writes the whole file or nothing: QSaveFile writes beside the target, every
// write is checked and synced, and only then is it renamed over the target. A file without any write permission is refused as a
// write-protected file, whoever runs the program.
class TSaveFileWriter : public TTheoryFileWriter {
 public:
  void Write(const TKorvelFile& file, const std::string& path) override;
};

// A message as the window shows it: every message box text begins with a
// capital, so the core's "cannot read ..." and "cannot write ..." become
// "Cannot ..."; a message that begins with a file name is left alone.
QString MessageForWindow(const QString& message);

// The program stores no settings, but Qt's file dialogs keep their history in
// the user's QtProject.conf; this sends the user-scope settings to a place
// that cannot be created, so nothing is written. Called once, at start-up.
void KeepDialogsFromStoringSettings();

// Paths travel through the document as UTF-8 bytes.
inline std::string ToPath(const QString& path) { return path.toStdString(); }
inline QString FromPath(const std::string& path) { return QString::fromStdString(path); }
