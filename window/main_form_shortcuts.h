// The keys of the main window's commands and the names that assistive
// technology reads for its icon-only buttons and its diagram.
#pragma once

#include <QKeySequence>
#include <vector>

class QAction;
class QWidget;
struct TMainFormWidgets;

struct TShortcut {
  const char* Action;          // object name of the Edit menu or File menu item
  QKeySequence::StandardKey Standard;  // the platform's key, or UnknownKey
  const char* Keys;            // otherwise (or as well) these, in portable text form
  // The item of PopupMenu1 that shows the same key, or null.
  const char* PopupAction;
};

// Every command's key. The editing keys hold Ctrl and Shift (or are function
// keys), so none of them is a key the statement box uses for typing.
const std::vector<TShortcut>& MainFormShortcuts();
// The key sequence a row's item shows, and all the keys it acts on: the
// platform's, and the row's own when the platform's differ (Redo: Ctrl+Y
// and Ctrl+Shift+Z) or are missing (Save as, Quit on some platforms).
QKeySequence ShortcutKeys(const TShortcut& shortcut);
QList<QKeySequence> AllShortcutKeys(const TShortcut& shortcut);

// Gives those of the items that the table names their keys (shown in the
// menus), carried by the window. The pop-up menu's items show the same keys
// but act on them only while the pop-up is open, so that no key belongs to
// two items at once.
void ApplyShortcuts(QWidget& window, const QList<QAction*>& items);
// Whether the item is an Edit menu item whose key PopupMenu1 shows too: an
// editing command's.
bool IsEditingKeyItem(const QAction& item);
// Accessible names for the tool buttons that show only an icon, the diagram
// and the statement box.
void NameControlsForAssistiveTechnology(const TMainFormWidgets& widgets);
