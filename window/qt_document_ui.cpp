#include "window/qt_document_ui.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>

#include "diagram_qt/checked_save_file.h"
#include "refresh/framework_import.h"

namespace {

// A dialog set up as the window's OpenDialog1 / SaveDialog1: the filter, the
// default suffix, no title of its own, no overwrite question.
std::optional<std::string> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setNameFilter(kKorvelFileFilter);
  // Opening also takes argumentation frameworks, imported as a new theory.
  if (mode == QFileDialog::AcceptOpen)
    dialog.setNameFilters({kKorvelFileFilter, kFrameworkFileFilter, QStringLiteral("All files (*)")});
  dialog.setDefaultSuffix(kKorvelFileSuffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToPath(dialog.selectedFiles().first());
}

}  // namespace

std::optional<std::string> TQtDocumentUi::ChooseFileToOpen() {
  return RunFileDialog(parent_, QFileDialog::AcceptOpen);
}

std::optional<std::string> TQtDocumentUi::ChooseFileToSave() {
  return RunFileDialog(parent_, QFileDialog::AcceptSave);
}

TDocumentUi::TAnswer TQtDocumentUi::AskToSave(const std::string& question) {
  const auto button =
      QMessageBox::warning(parent_, QStringLiteral("Warning"), QString::fromStdString(question),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (button == QMessageBox::Yes) return TAnswer::Yes;
  if (button == QMessageBox::No) return TAnswer::No;
  return TAnswer::Cancel;
}

QString MessageForWindow(const QString& message) {
  if (!message.startsWith(QStringLiteral("cannot "))) return message;
  QString shown = message;
  shown[0] = QLatin1Char('C');
  return shown;
}

void TQtDocumentUi::ShowFileError(const std::string& message) {
  QMessageBox::critical(parent_, QStringLiteral("Error"), MessageForWindow(QString::fromStdString(message)));
}

void KeepDialogsFromStoringSettings() {
  const QString nowhere = QStringLiteral("/dev/null/no-settings");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

bool TQtDocumentUi::Confirm(const std::string& question) {
  return QMessageBox::question(parent_, QStringLiteral("Question"), QString::fromStdString(question),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TSaveFileWriter::Write(const TKorvelFile& file, const std::string& path) {
  const QString name = FromPath(path);
  const QFileInfo existing(name);
  if (existing.exists() && !existing.isDir() &&
      !(existing.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)))
    throw TKorvelFileError("cannot write " + path + ": Permission denied");
  QSaveFile out(name);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    throw TKorvelFileError("cannot write " + path + ": " + out.errorString().toStdString());
  const std::string bytes = file.FileBytes();
  const qint64 size = static_cast<qint64>(bytes.size());
  QString reason;
  if (WriteAllToSaveFile(out, bytes.data(), size, reason) && CommitCheckedSaveFile(out, reason)) return;
  throw TKorvelFileError("cannot write " + path + ": " + reason.toStdString());
}
