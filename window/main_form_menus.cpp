// MainMenu1, reached only through the drop-down buttons of ToolBar3, and the
// diagram's pop-up menu PopupMenu1.
#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "window/main_form.h"
#include "window/main_form_parts.h"

namespace {

QMenu* MakeMenu(QWidget* owner, const char* name, const char* caption) {
  auto* menu = new QMenu(QString::fromUtf8(caption), owner);
  menu->setObjectName(QString::fromUtf8(name));
  return menu;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
  QAction* separator = menu->addSeparator();
  separator->setObjectName(QString::fromUtf8(name));
  return separator;
}

// A text button of the menu bar that drops its menu down at once. It follows
// the menu's own action, so a hidden menu hides its button.
QToolButton* AddMenuButton(QToolBar* bar, QMenu* menu) {
  auto* button = new QToolButton(bar);
  button->setObjectName(menu->objectName() + QStringLiteral("ToolButton"));
  // The caption keeps its mnemonic on the button.
  menu->menuAction()->setIconText(menu->title());
  button->setDefaultAction(menu->menuAction());
  button->setPopupMode(QToolButton::InstantPopup);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setAutoRaise(true);
  button->setMinimumHeight(21);
  QAction* placed = bar->addWidget(button);
  placed->setVisible(menu->menuAction()->isVisible());
  QObject::connect(menu->menuAction(), &QAction::changed, bar, [placed, menu] {
    placed->setVisible(menu->menuAction()->isVisible());
  });
  return button;
}

}  // namespace

void TMainForm::createMenus() {
  File1 = MakeMenu(this, "File1", "&File");
  File1->addAction(New1);
  File1->addAction(Open1);
  AddSeparator(File1, "N15");
  File1->addAction(Save1);
  File1->addAction(SaveAs1);
  N16 = AddSeparator(File1, "N16");
  File1->addAction(Exit1);

  Edit1 = MakeMenu(this, "Edit1", "&Edit");
  FillEditingMenu(*Edit1, editMenuItems_, 0);

  Options1 = MakeMenu(this, "Options1", "&Options");
  Options1->addAction(Showstructureonly1);
  Options1->addAction(Parsesentences1);
  Options1->addAction(Showdialecticalnegations1);

  Help1 = MakeMenu(this, "Help1", "&Help");
  Help1->addAction(Legend1);
  Help1->menuAction()->setVisible(false);

  Test1 = MakeMenu(this, "Test1", "&Test");
  Test1->addAction(Test2);
  Test1->menuAction()->setVisible(false);

  PopupMenu1 = MakeMenu(this, "PopupMenu1", "");
  FillEditingMenu(*PopupMenu1, popupMenuItems_, 1);
}

// ControlBar1: the menu bar ToolBar3 on the first row, ToolBar1 and ToolBar4
// side by side on the second. The window gets no native menu bar.
void TMainForm::createControlBar() {
  ControlBar1 = new QWidget(this);
  ControlBar1->setObjectName(QStringLiteral("ControlBar1"));
  auto* rows = new QVBoxLayout(ControlBar1);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);

  ToolBar3 = new QToolBar(ControlBar1);
  ToolBar3->setObjectName(QStringLiteral("ToolBar3"));
  ToolBar3->setMovable(false);
  ToolBar3->setFloatable(false);
  // Plain text buttons, as in a menu bar: no drop-down arrow beside the caption.
  ToolBar3->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
  for (QMenu* menu : {File1, Edit1, Options1, Help1, Test1}) {
    QToolButton* button = AddMenuButton(ToolBar3, menu);
    if (menu == Options1) Options1ToolButton = button;
  }
  rows->addWidget(ToolBar3);

  auto* secondRow = new QHBoxLayout;
  secondRow->setSpacing(0);
  createFileToolBar();
  createEditingToolBar();
  secondRow->addWidget(ToolBar1);
  secondRow->addWidget(ToolBar4);
  secondRow->addStretch(1);
  rows->addLayout(secondRow);

  setMenuWidget(ControlBar1);
}
