// The Undo and Redo items of the Edit menu: Ctrl+Z and Ctrl+Shift+Z (the
// platform's keys), greyed out when there is nothing to undo or redo or while
// the statement box holds a step open; their captions name the step.
#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "window/main_form.h"
#include "window_editing/main_form_editing.h"

void TMainFormEditing::createHistoryActions() {
  QMenu* edit = form_.Widgets().EditMenu;
  undo_ = new QAction(QStringLiteral("&Undo"), &form_);
  undo_->setObjectName(QStringLiteral("Undo1"));
  undo_->setShortcut(QKeySequence::Undo);
  redo_ = new QAction(QStringLiteral("&Redo"), &form_);
  redo_->setObjectName(QStringLiteral("Redo1"));
  redo_->setShortcut(QKeySequence::Redo);
  // The menu bar's menus are reached through buttons; the window itself
  // carries the items so that their keys work while no menu is open.
  form_.addAction(undo_);
  form_.addAction(redo_);
  QAction* first = edit->actions().isEmpty() ? nullptr : edit->actions().constFirst();
  edit->insertAction(first, undo_);
  edit->insertAction(first, redo_);
  QAction* separator = new QAction(edit);
  separator->setSeparator(true);
  separator->setObjectName(QStringLiteral("N17"));
  edit->insertAction(first, separator);
  connect(undo_, &QAction::triggered, this, [this] { history_->Undo(); });
  connect(redo_, &QAction::triggered, this, [this] { history_->Redo(); });
  history_->Changed = [this] { updateHistoryActions(); };
  updateHistoryActions();
}

void TMainFormEditing::updateHistoryActions() {
  undo_->setEnabled(history_->CanUndo());
  redo_->setEnabled(history_->CanRedo());
  const QString undoTitle = QString::fromStdString(history_->UndoTitle());
  const QString redoTitle = QString::fromStdString(history_->RedoTitle());
  undo_->setText(undo_->isEnabled() ? QStringLiteral("&Undo %1").arg(undoTitle) : QStringLiteral("&Undo"));
  redo_->setText(redo_->isEnabled() ? QStringLiteral("&Redo %1").arg(redoTitle) : QStringLiteral("&Redo"));
}
