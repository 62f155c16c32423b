// How the desktop knows the running program: the id that names its desktop
// entry (and with it the icon, the metainfo and the MIME package installed
// beside it), and the application icon every window carries.
#pragma once

#include <QIcon>
#include <QString>

// The reverse-DNS id, "org.pelmora.Pelmora" unless the build says otherwise.
QString DesktopId();

// The icon of the theme under the id (so an installed or themed icon wins),
// else the drawing built into the program.
QIcon ApplicationIcon();

// Gives the running application its desktop-entry name and its window icon.
// Call once after the application object exists, before windows are shown.
void ApplyDesktopIdentity();
