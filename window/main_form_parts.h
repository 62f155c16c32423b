// Helpers shared by the files that build the main window.
#pragma once

#include <QIcon>
#include <QString>

class QMenu;
struct TEditingItems;

// Fills an editing menu in its fixed order, separators included; nameColumn 0
// names the separators for the Edit menu, 1 for PopupMenu1.
void FillEditingMenu(QMenu& menu, const TEditingItems& items, int nameColumn);

// A tool bar image from the icon resources; the disabled look, when given,
// comes from its own drawing.
QIcon ToolbarIcon(const QString& name, bool withDisabledLook);
