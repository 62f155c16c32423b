// Starts the desktop program: reads the command line ("pelmora [FILE]"),
// creates the application's windows (the main one complete with its
// features), shows the main window, opens FILE when one is named, and runs
// until the main window is closed.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "app/desktop_identity.h"
#include "desktop/application_windows.h"
#include "desktop/outside_files.h"
#include "document/log_location.h"
#include "refresh/theory_read_ahead.h"
#include "window/heap_policy.h"
#include "window/qt_document_ui.h"

int main(int argc, char* argv[]) {
  KeepLargeBlocksApart();
  QCoreApplication::setApplicationName(QStringLiteral("Pelmora"));
  QCoreApplication::setApplicationVersion(QStringLiteral(PELMORA_VERSION));
  if (AsksOnlyForHelpOrVersion(argc, argv)) {
    // Answered without the GUI, which needs a display.
    QCoreApplication console(argc, argv);
    ParseCommandLine(console);
    return 0;
  }
  // The file named starts being read while the windows are made; opening
  // it takes what was read when it is the same file's same bytes.
  std::shared_ptr<TTheoryReadAhead> readAhead;
  if (std::optional<std::string> named = FileToReadAhead(argc, argv))
    readAhead = std::make_shared<TTheoryReadAhead>(*named, TRefreshOptions{});
  QApplication application(argc, argv);
  KeepDialogsFromStoringSettings();
  ApplyDesktopIdentity();
  const std::optional<QString> file = ParseCommandLine(application);
  TMainFormSetup setup = DefaultMainFormSetup();
  // An installed program keeps its log out of the installation's folders.
  setup.LogDirectories = LogDirectoryCandidates(
      QCoreApplication::applicationDirPath().toStdString(),
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString(),
      PELMORA_INSTALL_BINDIR);
  // A second running instance in the same working directory gets a scratch file of its own.
  QString lockDirectory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (lockDirectory.isEmpty()) lockDirectory = QDir::tempPath();
  const TScratchFileLock scratchLock(lockDirectory, QString::fromStdString(setup.ScratchFallbackDirectory));
  setup.ScratchFileName = scratchLock.ScratchFileName();
  TApplicationWindows windows = CreateApplicationWindows(setup);
  windows.MainForm->show();
  windows.MainForm->OfferRecovery();
  windows.MainForm->Document().ReadAhead(std::move(readAhead));
  if (file) OpenFileFromOutside(*windows.MainForm, *file);
  windows.MainForm->Document().ReadAhead(nullptr);
  return QApplication::exec();
}
