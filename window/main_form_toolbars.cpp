// ToolBar1 (New, Open, Save) and ToolBar4 (the six editing buttons).
#include <QToolBar>
#include <QToolButton>

#include "window/main_form.h"
#include "window/main_form_parts.h"

namespace {

QToolBar* MakeIconBar(QWidget* owner, const char* name) {
  auto* bar = new QToolBar(owner);
  bar->setObjectName(QString::fromUtf8(name));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setIconSize(QSize(16, 16));
  return bar;
}

QToolButton* AddIconButton(QToolBar* bar, const char* name, const char* hint, const QIcon& icon,
                           bool enabled) {
  auto* button = new QToolButton(bar);
  button->setObjectName(QString::fromUtf8(name));
  button->setToolTip(QString::fromUtf8(hint));
  button->setIcon(icon);
  button->setAutoRaise(true);
  button->setEnabled(enabled);
  bar->addWidget(button);
  return button;
}

}  // namespace

QIcon ToolbarIcon(const QString& name, bool withDisabledLook) {
  // Drawn as scalable images, so they stay crisp at any device pixel ratio.
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/%1.svg").arg(name), QSize(), QIcon::Normal);
  if (withDisabledLook)
    icon.addFile(QStringLiteral(":/icons/%1_disabled.svg").arg(name), QSize(), QIcon::Disabled);
  return icon;
}

void TMainForm::createFileToolBar() {
  ToolBar1 = MakeIconBar(ControlBar1, "ToolBar1");
  NewToolButton = AddIconButton(ToolBar1, "NewToolButton", "New", ToolbarIcon("new", false), true);
  OpenToolButton =
      AddIconButton(ToolBar1, "OpenToolButton", "Open", ToolbarIcon("open", false), true);
  SaveToolButton =
      AddIconButton(ToolBar1, "SaveToolButton", "Save", ToolbarIcon("save", false), true);
}

void TMainForm::createEditingToolBar() {
  ToolBar4 = MakeIconBar(ControlBar1, "ToolBar4");
  StatementToolButton = AddIconButton(ToolBar4, "StatementToolButton", "Add elementary statement",
                                      ToolbarIcon("statement", true), true);
  SetAsAssumptionToolButton = AddIconButton(ToolBar4, "SetAsAssumptionToolButton",
                                            "Set as assumption", ToolbarIcon("assumption", true), false);
  SetAsIssueToolButton = AddIconButton(ToolBar4, "SetAsIssueToolButton", "Set as issue",
                                       ToolbarIcon("issue", true), false);
  SupportToolButton =
      AddIconButton(ToolBar4, "SupportToolButton", "Support", ToolbarIcon("support", true), false);
  AttackToolButton =
      AddIconButton(ToolBar4, "AttackToolButton", "Attack", ToolbarIcon("attack", true), false);
  AddConjunctToolButton = AddIconButton(ToolBar4, "AddConjunctToolButton", "Add conjunct",
                                        ToolbarIcon("conjunct", true), false);
}
