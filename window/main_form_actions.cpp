// The items of MainMenu1 and PopupMenu1 with their names, captions and initial
// states.
#include <QAction>
#include <QMenu>

#include "window/main_form.h"
#include "window/main_form_parts.h"

namespace {

// One row of the editing menus. A null member marks a separator.
struct TEditingItemRow {
  QAction* TEditingItems::*Member;
  const char* Caption;
  const char* EditMenuName;
  const char* PopupMenuName;
  bool Shown;
};

constexpr TEditingItemRow kEditingItemRows[] = {
    {&TEditingItems::Setasassumption, "Set as &assumption", "Setasassumption2MenuITem",
     "Setasassumption1MenuITem", false},
    {&TEditingItems::Setasissue, "Set as &issue", "Setasissue2MenuITem", "Setasissue1MenuITem",
     false},
    {nullptr, "-", "N5", "N4", true},
    {&TEditingItems::Changeelementarysentence, "&Change elementary sentence",
     "Changeelementarysentence2MenuITem", "Changeelementarysentence1MenuITem", false},
    {nullptr, "-", "N14", "N13", true},
    {&TEditingItems::Addconjunct, "Add c&onjunct", "Addconjunct2MenuITem", "Addconjunct1MenuITem",
     false},
    {nullptr, "-", "N6", "N1", true},
    {&TEditingItems::AddElementarySentence, "Add &elementary sentence",
     "AddElementarySentence2MenuITem", "AddElementarySentence1MenuITem", true},
    {&TEditingItems::Adddialecticalnegation, "Add dialectical &negation",
     "Adddialecticalnegation2MenuITem", "Adddialecticalnegation1MenuITem", false},
    {nullptr, "-", "N7", "N2", true},
    {&TEditingItems::Givesupport, "&Support", "Givesupport2MenuITem", "Givesupport1MenuITem", false},
    {&TEditingItems::Attack, "&Attack", "Attack2MenuITem", "Attack1MenuITem", false},
    {nullptr, "-", "N8", "N3", true},
    {&TEditingItems::Delete, "&Delete", "Delete2MenuITem", "Delete1MenuITem", false},
    {&TEditingItems::Deleteconjunct, "Delete conj&unct", "Deleteconjunct2MenuItem",
     "Deleteconjunct1menuitem", true},
    {nullptr, "-", "N12", "N9", true},
    {&TEditingItems::Match, "&Match", "Match2MenuItem", "Match1MenuItem", false},
    {&TEditingItems::Instantiate, "In&stantiate", "Instantiate2MenuItem", "Instantiate1MenuItem",
     false},
    {nullptr, "-", "N10", "N11", true},
    {&TEditingItems::Properties, "&Properties", "Properties2MenuItem", "Properties1MenuItem", false},
};

QAction* MakeAction(QObject* owner, const char* name, const char* caption) {
  auto* action = new QAction(QString::fromUtf8(caption), owner);
  action->setObjectName(QString::fromUtf8(name));
  return action;
}

QAction* MakeSeparator(QObject* owner, const char* name) {
  auto* separator = new QAction(owner);
  separator->setSeparator(true);
  separator->setObjectName(QString::fromUtf8(name));
  return separator;
}

QAction* MakeOption(QObject* owner, const char* name, const char* caption, bool checked) {
  QAction* option = MakeAction(owner, name, caption);
  option->setCheckable(true);
  option->setChecked(checked);
  return option;
}

}  // namespace

void TMainForm::createActions() {
  New1 = MakeAction(this, "New1", "&New");
  Open1 = MakeAction(this, "Open1", "&Open...");
  Save1 = MakeAction(this, "Save1", "&Save");
  SaveAs1 = MakeAction(this, "SaveAs1", "Save &As...");
  Exit1 = MakeAction(this, "Exit1", "&Exit");

  Showstructureonly1 = MakeOption(this, "Showstructureonly1", "&Show structure only", false);
  Parsesentences1 = MakeOption(this, "Parsesentences1", "&Parse sentences", true);
  Showdialecticalnegations1 =
      MakeOption(this, "Showdialecticalnegations1", "Show dialectical &negations", true);
  Showdialecticalnegations1->setVisible(false);

  Legend1 = MakeAction(this, "Legend1", "&Legend");
  Test2 = MakeAction(this, "Test2", "&Test");

  createEditingItems(editMenuItems_, 0);
  createEditingItems(popupMenuItems_, 1);
}

// Builds the items of one editing menu; nameColumn 0 names them for the Edit
// menu, 1 for PopupMenu1. Separators are made by createMenus from the same table.
void TMainForm::createEditingItems(TEditingItems& items, int nameColumn) {
  for (const TEditingItemRow& row : kEditingItemRows) {
    if (!row.Member) continue;
    const char* name = nameColumn == 0 ? row.EditMenuName : row.PopupMenuName;
    QAction* action = MakeAction(this, name, row.Caption);
    action->setVisible(row.Shown);
    items.*row.Member = action;
  }
}

QList<QAction*> TEditingItems::All() const {
  QList<QAction*> items;
  for (const TEditingItemRow& row : kEditingItemRows)
    if (row.Member) items.push_back(this->*row.Member);
  return items;
}

void FillEditingMenu(QMenu& menu, const TEditingItems& items, int nameColumn) {
  for (const TEditingItemRow& row : kEditingItemRows) {
    if (row.Member) {
      menu.addAction(items.*row.Member);
    } else {
      menu.addAction(MakeSeparator(&menu, nameColumn == 0 ? row.EditMenuName : row.PopupMenuName));
    }
  }
}
