// Starts the desktop program: creates the application's windows in their
// order, shows the main window and runs until it is closed.
#include <QApplication>

#include "application_windows.h"
#include "desktop_identity.h"
#include "main_form_editing.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pelmora"));
  ApplyDesktopIdentity();
  TApplicationWindows windows = CreateApplicationWindows();
  AttachArgumentEditing(*windows.MainForm);
  windows.MainForm->show();
  return QApplication::exec();
}
