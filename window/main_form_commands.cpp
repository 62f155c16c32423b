// The File and Options commands, the interpretation bar and the offered
// editing commands; the work itself is the document's.
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QMenu>
#include <QToolButton>

#include "diagram_qt/diagram_scroll_box.h"
#include "window/main_form.h"

void TMainForm::connectCommands() {
  connect(New1, &QAction::triggered, this, &TMainForm::New1Click);
  connect(Open1, &QAction::triggered, this, &TMainForm::Open1Click);
  connect(Save1, &QAction::triggered, this, &TMainForm::Save1Click);
  connect(SaveAs1, &QAction::triggered, this, &TMainForm::SaveAs1Click);
  connect(Exit1, &QAction::triggered, this, &TMainForm::Exit1Click);
  connect(NewToolButton, &QToolButton::clicked, this, &TMainForm::New1Click);
  connect(OpenToolButton, &QToolButton::clicked, this, &TMainForm::Open1Click);
  connect(SaveToolButton, &QToolButton::clicked, this, &TMainForm::Save1Click);

  connect(Showstructureonly1, &QAction::triggered, this, &TMainForm::Showstructureonly1Click);
  connect(Parsesentences1, &QAction::triggered, this, &TMainForm::Parsesentences1Click);
  connect(Showdialecticalnegations1, &QAction::triggered, this,
          &TMainForm::Showdialecticalnegations1Click);

  connect(Edit1, &QMenu::aboutToShow, this, &TMainForm::Edit1Click);
  connect(interpretationButtons_, &QButtonGroup::buttonClicked, this, &TMainForm::ShowInterpretation);

  connect(ScrollBox1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(ScrollBox1->mapToGlobal(at)); });

  connect(Legend1, &QAction::triggered, this, [this] {
    if (legendForm_) legendForm_->show();
  });
  connect(Test2, &QAction::triggered, this, [this] {
    if (testForm_) testForm_->show();
  });
}

void TMainForm::resetSelection() {
  selection_.Clear();
  ScrollBox1->Tag = selection_.SelectedIndex;
  UpdateCommandAvailability();
  ComboBox1->hide();
  emit documentReplaced();
}

void TMainForm::New1Click() {
  if (document_->New()) resetSelection();
  updateCaption();
}

void TMainForm::Open1Click() {
  if (document_->Open()) resetSelection();
  updateCaption();
}

bool TMainForm::OpenFile(const std::string& path) {
  const bool opened = document_->OpenPath(path);
  if (opened) resetSelection();
  updateCaption();
  return opened;
}

void TMainForm::Save1Click() {
  document_->Save();
  updateCaption();
}

void TMainForm::SaveAs1Click() {
  document_->SaveAs();
  updateCaption();
}

void TMainForm::Exit1Click() { close(); }

// Each option's item has already changed its checked state; the current
// theory is read again under the new setting.
void TMainForm::Showstructureonly1Click() {
  document_->Options.ShowStructureOnly = Showstructureonly1->isChecked();
  document_->RefreshFromScratch();
}

void TMainForm::Parsesentences1Click() {
  document_->Options.ParseSentences = Parsesentences1->isChecked();
  document_->RefreshFromScratch();
}

void TMainForm::Showdialecticalnegations1Click() {
  document_->Options.ShowDialecticalNegations = Showdialecticalnegations1->isChecked();
  document_->RefreshFromScratch();
}

void TMainForm::ShowInterpretation(QAbstractButton* sender) {
  auto* button = qobject_cast<QToolButton*>(sender);
  if (!button) return;
  button->setChecked(true);
  document_->ShowInterpretation(button->property("Tag").toInt());
}

void TMainForm::UpdateCommandAvailability() {
  const TCommandAvailability offered = ComputeCommandAvailability(selection_, DrawnSentences());
  for (const TEditingItems* items : {&editMenuItems_, &popupMenuItems_}) {
    items->Setasassumption->setVisible(offered.SetAsAssumption);
    items->Setasissue->setVisible(offered.SetAsIssue);
    items->Changeelementarysentence->setVisible(offered.ChangeElementarySentence);
    items->Addconjunct->setVisible(offered.AddConjunct);
    items->AddElementarySentence->setVisible(offered.AddStatement);
    items->Adddialecticalnegation->setVisible(offered.AddDialecticalNegation);
    items->Givesupport->setVisible(offered.Support);
    items->Attack->setVisible(offered.Attack);
    items->Delete->setVisible(offered.Delete);
    items->Deleteconjunct->setVisible(offered.DeleteConjunct);
    items->Match->setVisible(offered.Match);
    items->Instantiate->setVisible(offered.Instantiate);
    items->Properties->setVisible(offered.Properties);
  }
  StatementToolButton->setEnabled(offered.AddStatement);
  SetAsAssumptionToolButton->setEnabled(offered.SetAsAssumption);
  SetAsIssueToolButton->setEnabled(offered.SetAsIssue);
  SupportToolButton->setEnabled(offered.Support);
  AttackToolButton->setEnabled(offered.Attack);
  AddConjunctToolButton->setEnabled(offered.AddConjunct);
}
