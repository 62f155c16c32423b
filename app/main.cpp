// Starts the desktop program: creates the application's windows in their
// order, shows the main window and runs until it is closed.
#include <QApplication>

#include "application_windows.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pelmora"));
  TApplicationWindows windows = CreateApplicationWindows();
  windows.MainForm->show();
  return QApplication::exec();
}
