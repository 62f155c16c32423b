#include "app/desktop_identity.h"

#include <QApplication>

// The built-in icon lives in a resource of this static library, which must
// be registered by name from the global namespace.
static void RegisterApplicationIconResource() {
  Q_INIT_RESOURCE(app_icon);
}

QString DesktopId() {
  return QStringLiteral(PELMORA_APP_ID);
}

QIcon ApplicationIcon() {
  RegisterApplicationIconResource();
  return QIcon::fromTheme(DesktopId(), QIcon(QStringLiteral(":/application/pelmora.svg")));
}

void ApplyDesktopIdentity() {
  // Wayland and the session's window matching find the desktop entry by this
  // name, so the taskbar shows the entry's name and icon.
  QGuiApplication::setDesktopFileName(DesktopId());
  QApplication::setWindowIcon(ApplicationIcon());
}
