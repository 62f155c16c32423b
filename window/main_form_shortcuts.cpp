#include "window/main_form_shortcuts.h"

#include <QAction>
#include <QComboBox>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include "diagram_qt/diagram_surface.h"
#include "window/main_form.h"

const std::vector<TShortcut>& MainFormShortcuts() {
  using K = QKeySequence;
  static const std::vector<TShortcut> rows = {
      {"New1", K::New, "", nullptr},
      {"Open1", K::Open, "", nullptr},
      {"Save1", K::Save, "", nullptr},
      {"SaveAs1", K::SaveAs, "Ctrl+Shift+S", nullptr},
      {"Exit1", K::Quit, "Ctrl+Q", nullptr},
      {"Undo1", K::Undo, "Ctrl+Z", nullptr},
      {"Redo1", K::Redo, "Ctrl+Shift+Z", nullptr},
      {"Delete2MenuITem", K::Delete, "", "Delete1MenuITem"},
      {"Changeelementarysentence2MenuITem", K::UnknownKey, "F2", "Changeelementarysentence1MenuITem"},
      {"AddElementarySentence2MenuITem", K::UnknownKey, "Ctrl+Shift+N", "AddElementarySentence1MenuITem"},
      {"Givesupport2MenuITem", K::UnknownKey, "Ctrl+Shift+P", "Givesupport1MenuITem"},
      {"Attack2MenuITem", K::UnknownKey, "Ctrl+Shift+C", "Attack1MenuITem"},
      {"Addconjunct2MenuITem", K::UnknownKey, "Ctrl+Shift+J", "Addconjunct1MenuITem"},
      {"Deleteconjunct2MenuItem", K::UnknownKey, "Ctrl+Shift+D", "Deleteconjunct1menuitem"},
      {"Adddialecticalnegation2MenuITem", K::UnknownKey, "Ctrl+Shift+X", "Adddialecticalnegation1MenuITem"},
      {"Setasassumption2MenuITem", K::UnknownKey, "Ctrl+Shift+M", "Setasassumption1MenuITem"},
      {"Setasissue2MenuITem", K::UnknownKey, "Ctrl+Shift+I", "Setasissue1MenuITem"},
      {"Properties2MenuItem", K::UnknownKey, "Alt+Return", "Properties1MenuItem"},
      {"Match2MenuItem", K::UnknownKey, "Ctrl+Shift+H", "Match1MenuItem"},
      {"Instantiate2MenuItem", K::UnknownKey, "Ctrl+Shift+L", "Instantiate1MenuItem"},
      {"Why2MenuItem", K::UnknownKey, "Ctrl+Shift+W", "Why1MenuItem"},
      {"Showstructureonly1", K::UnknownKey, "Ctrl+Shift+B", nullptr},
      {"Parsesentences1", K::UnknownKey, "Ctrl+Shift+E", nullptr},
  };
  return rows;
}

QKeySequence ShortcutKeys(const TShortcut& shortcut) {
  // The platform's key where it has one; some platforms have none for Save
  // as and Quit.
  if (shortcut.Standard != QKeySequence::UnknownKey && !QKeySequence::keyBindings(shortcut.Standard).isEmpty())
    return QKeySequence(shortcut.Standard);
  return QKeySequence(QString::fromUtf8(shortcut.Keys), QKeySequence::PortableText);
}

QList<QKeySequence> AllShortcutKeys(const TShortcut& shortcut) {
  QList<QKeySequence> keys;
  if (shortcut.Standard != QKeySequence::UnknownKey) keys = QKeySequence::keyBindings(shortcut.Standard);
  // Ctrl+Shift+Z redoes everywhere, also where the platform's key is Ctrl+Y.
  const QKeySequence own(QString::fromUtf8(shortcut.Keys), QKeySequence::PortableText);
  if (!own.isEmpty() && !keys.contains(own)) keys.push_back(own);
  return keys;
}

void ApplyShortcuts(QWidget& window, const QList<QAction*>& items) {
  auto named = [&items](const char* name) -> QAction* {
    for (QAction* item : items)
      if (item->objectName() == QLatin1String(name)) return item;
    return nullptr;
  };
  for (const TShortcut& row : MainFormShortcuts()) {
    QAction* action = named(row.Action);
    if (!action) continue;
    const QKeySequence keys = ShortcutKeys(row);
    action->setShortcuts(AllShortcutKeys(row));
    action->setShortcutContext(Qt::WindowShortcut);
    // Items of menus that drop down from buttons act on their keys through
    // the window.
    if (!window.actions().contains(action)) window.addAction(action);
    if (!row.PopupAction) continue;
    if (QAction* popup = named(row.PopupAction)) {
      popup->setShortcut(keys);
      popup->setShortcutContext(Qt::WidgetShortcut);
    }
  }
}

bool IsEditingKeyItem(const QAction& item) {
  for (const TShortcut& row : MainFormShortcuts())
    if (row.PopupAction && item.objectName() == QLatin1String(row.Action)) return true;
  return false;
}

void NameControlsForAssistiveTechnology(const TMainFormWidgets& widgets) {
  for (QToolBar* toolBar : {widgets.FileToolBar, widgets.EditingToolBar}) {
    for (QToolButton* button : toolBar->findChildren<QToolButton*>()) {
      if (!button->text().isEmpty() && button->toolButtonStyle() != Qt::ToolButtonIconOnly) continue;
      // The hint names the button; its key, when it has one, joins the tool tip.
      if (button->toolTip().isEmpty()) button->setToolTip(QStringLiteral("More buttons"));  // the bar's overflow
      if (button->accessibleName().isEmpty()) button->setAccessibleName(button->toolTip());
    }
  }
  widgets.Surface->setAccessibleName(QStringLiteral("Argument diagram"));
  widgets.Surface->setAccessibleDescription(
      QStringLiteral("The arrow keys move the selection: up and down to the box above or below, "
                     "left to the box argued about, right to its first reason"));
  widgets.StatementBox->setAccessibleName(QStringLiteral("Statement"));
}
