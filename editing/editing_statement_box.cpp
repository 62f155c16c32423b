// Opening the statement box: Add statement on the first free row below the
// diagram, Change elementary sentence over the box it replaces, and the
// double-click that chooses between them.
#include <algorithm>
#include <utility>

#include "editing/argument_editor.h"

void TArgumentEditor::StatementBoxUpdated() {
  if (view_) view_->StatementBoxChanged(statementBox_);
}

void TArgumentEditor::HideElement(int element) {
  if (std::find(hiddenElements_.begin(), hiddenElements_.end(), element) != hiddenElements_.end()) return;
  hiddenElements_.push_back(element);
  if (view_) view_->DiagramElementHidden(element);
}

void TArgumentEditor::HideStatementBox() {
  statementBox_.Visible = false;
  statementBox_.Focused = false;
  StatementBoxUpdated();
}

void TArgumentEditor::SetStatementText(std::string text) { statementBox_.Text = std::move(text); }

void TArgumentEditor::FormResize(int scrollBoxWidth) {
  scrollBoxWidth_ = scrollBoxWidth;
  statementBox_.Width = scrollBoxWidth - diagram_.Metrics.LeftMargin - 5;
  StatementBoxUpdated();
}

void TArgumentEditor::FillStatementBox() {
  statementBox_.ShowsList = false;
  statementBox_.Text.clear();
  statementBox_.Items = StatementBoxItems(diagram_.DrawnSentences);
  statementBox_.ShowsList = !statementBox_.Items.empty();
}

void TArgumentEditor::ScrollBox1DblClick(std::optional<int> element, bool mainWindowActive) {
  if (!mainWindowActive) return;
  // The mouse-down before the double-click has set the selection: a box is
  // changed, the empty surface gets a new statement.
  if (selection_.SelectedIndex == -1)
    Addstatement1Click();
  else
    Changeelementarysentence1Click(element);
}

void TArgumentEditor::Addstatement1Click() {
  Log("");
  Log("Add statement");
  selection_.AddingStatement = true;
  const TDiagramMetrics& metrics = diagram_.Metrics;
  statementBox_.Left = scrollBoxLeft_ + metrics.LeftMargin;
  statementBox_.Top = metrics.RowPitch() * diagram_.RowsUsed + metrics.TopMargin;
  statementBox_.Width = scrollBoxWidth_ - metrics.LeftMargin - 5;
  FillStatementBox();
  statementBox_.Visible = statementBox_.Focused = true;
  // Nothing is selected while a new statement is typed; ENTER selects it.
  ClearSelection();
  StatementBoxUpdated();
}

void TArgumentEditor::Changeelementarysentence1Click(std::optional<int> senderElement) {
  const SentencePtr selected = DrawnAt(selection_.SelectedIndex);
  if (!selected) {
    UpdateCommandAvailability();
    return;
  }
  selection_.ChangingStatement = true;
  const auto& elements = diagram_.Drawing.Elements;
  // A sentence selected without a click on its box (the statement just
  // added) opens over its first box rather than over a row it is not on.
  const auto onClickedRow = [&](const TDiagramElement& frame) {
    return frame.Kind == TElementKind::Frame && frame.Tag == selection_.SelectedIndex &&
           frame.Row == selection_.ClickedRow;
  };
  if (std::none_of(elements.begin(), elements.end(), onClickedRow)) {
    const auto first = std::find_if(elements.begin(), elements.end(), [&](const TDiagramElement& frame) {
      return frame.Kind == TElementKind::Frame && frame.Tag == selection_.SelectedIndex;
    });
    if (first != elements.end()) selection_.ClickedRow = first->Row;
  }
  int column = 0;
  for (size_t i = 0; i < elements.size(); ++i) {
    const TDiagramElement& frame = elements[i];
    if (frame.Kind == TElementKind::Frame && frame.Tag == selection_.SelectedIndex &&
        frame.Row == selection_.ClickedRow) {
      column = frame.Column;
      HideElement(static_cast<int>(i));
    }
  }
  const TDiagramMetrics& metrics = diagram_.Metrics;
  statementBox_.Left = scrollBoxLeft_ + metrics.LeftMargin + column * metrics.ColumnWidth;
  statementBox_.Top = selection_.ClickedRow * metrics.RowPitch() + metrics.TopMargin + 1;
  statementBox_.Width = scrollBoxWidth_ - metrics.LeftMargin - column * metrics.ColumnWidth - 5;
  FillStatementBox();
  statementBox_.Text = selected->Text == kPlaceholderText ? std::string() : selected->Text;
  statementBox_.Visible = statementBox_.Focused = true;
  if (senderElement && *senderElement >= 0 && static_cast<size_t>(*senderElement) < elements.size() &&
      IsShapeKind(elements[static_cast<size_t>(*senderElement)].Kind))
    HideElement(*senderElement);
  StatementBoxUpdated();
  UpdateCommandAvailability();
}
