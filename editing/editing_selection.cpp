// Selection on the diagram, the status panels it writes, the offered
// commands, and the commit that carries the selection into the new drawing.
#include <utility>

#include "editing/argument_editor.h"

TArgumentEditor::TArgumentEditor(TDocument& document, TDrawContext& diagram, TSelectionState& selection,
                                 TActionLog& log)
    : document_(document), diagram_(diagram), selection_(selection), log_(log) {
  statementBox_.Width = scrollBoxWidth_ - diagram_.Metrics.LeftMargin - 5;
}

void TArgumentEditor::SetScrollBoxGeometry(int left, int width) {
  scrollBoxLeft_ = left;
  scrollBoxWidth_ = width;
}

SentencePtr TArgumentEditor::DrawnAt(int index) const {
  // An index may come from an older drawing; out of range names nothing.
  if (index < 0 || static_cast<size_t>(index) >= diagram_.DrawnSentences.size()) return nullptr;
  return diagram_.DrawnSentences[static_cast<size_t>(index)];
}

void TArgumentEditor::ClearSelection() {
  selection_.OfferedIndex = selection_.SelectedIndex = selection_.RowConditionalIndex = -1;
}

void TArgumentEditor::SetStatusPanels(TStatusPanels panels) {
  statusPanels_ = std::move(panels);
  if (view_) view_->StatusPanelsChanged(statusPanels_);
}

void TArgumentEditor::CellFromPoint(int x, int y) {
  selection_.ClickedColumn = x / diagram_.Metrics.ColumnWidth;
  selection_.ClickedRow = y / diagram_.Metrics.RowPitch();
}

std::string TArgumentEditor::StatusWords(const TKorvelSentence& sentence) const {
  std::string words;
  if (document_.ShowsStatuses()) {
    if (sentence.IsJustified) words += "justified ";
    if (sentence.IsDefeated) words += "defeated ";
    if (!sentence.IsJustified && !sentence.IsDefeated) words += "open ";
  }
  if (sentence.IsAssumption) words += "assumption";
  if (sentence.IsIssue) words += "issue";
  return words;
}

void TArgumentEditor::ScrollBox1MouseDown(std::optional<int> element, TSurfacePoint point,
                                          bool mainWindowActive) {
  // Clicks in another window's diagram reach this handler too; they select nothing.
  if (mainWindowActive) {
    TStatusPanels panels;
    const auto& elements = diagram_.Drawing.Elements;
    const bool onShape = element && *element >= 0 && static_cast<size_t>(*element) < elements.size() &&
                         IsShapeKind(elements[static_cast<size_t>(*element)].Kind);
    CellFromPoint(point.X, point.Y);
    if (onShape) {
      const TDiagramElement& sender = elements[static_cast<size_t>(*element)];
      selection_.OfferedIndex = sender.Tag;
      selection_.RowConditionalIndex = -1;
      // The hit strip of a conditional's horizontal bar lies 9 pixels below
      // the top of the box on its row: the box is drawn as that conditional's
      // conjunct. The last such shape wins.
      selection_.RowConditionalIndex = LastShapeTagAtTop(sender.Bounds.Top + 9);
      selection_.SelectedIndex = sender.Tag;
      if (SentencePtr sentence = DrawnAt(sender.Tag)) {
        panels[2] = sentence->Text;
        panels[1] = StatusWords(*sentence);
      }
    } else {
      ClearSelection();
    }
    panels[0] = "(" + std::to_string(selection_.ClickedColumn) + ", " + std::to_string(selection_.ClickedRow) +
                ")";
    SetStatusPanels(std::move(panels));
  }
  UpdateCommandAvailability();
}

int TArgumentEditor::LastShapeTagAtTop(int top) const {
  const TDiagramDrawing& drawing = diagram_.Drawing;
  auto atTop = [top](const TDiagramElement& element) {
    return IsShapeKind(element.Kind) && element.Bounds.Top == top;
  };
  if (hits_ && hits_->Covers(drawing)) {
    // The elements meeting the row, in the order drawn; the index files
    // every element with a size, and every shape has one.
    const std::vector<int> inRow = hits_->InRows(drawing, top, top + 1);
    for (auto it = inRow.rbegin(); it != inRow.rend(); ++it) {
      const TDiagramElement& element = drawing.Elements[static_cast<size_t>(*it)];
      if (atTop(element)) return element.Tag;
    }
    return -1;
  }
  int tag = -1;
  for (const TDiagramElement& element : drawing.Elements)
    if (atTop(element)) tag = element.Tag;
  return tag;
}

void TArgumentEditor::UpdateCommandAvailability() {
  availability_ = ComputeCommandAvailability(selection_, diagram_.DrawnSentences);
  if (view_) view_->CommandAvailabilityChanged(availability_);
}

// --- commits

void TArgumentEditor::CarrySelectionAcross(const std::function<void()>& redraw) {
  const TCarriedSelection carried = BeginRedraw();
  try {
    redraw();
  } catch (...) {
    EndRedraw(carried, false);
    throw;
  }
  EndRedraw(carried, true);
}

TArgumentEditor::TCarriedSelection TArgumentEditor::BeginRedraw() {
  // A redraw made while the statement box is open (an evaluation's result
  // arriving, an option) would show the frames it covers again: they are
  // hidden again in the new drawing, found by their sentence and cell.
  TCarriedSelection carried;
  const auto& before = diagram_.Drawing.Elements;
  // Inside a command's own commit the command decides what the box covers.
  if (statementBox_.Visible && !refreshing_) {
    for (int element : hiddenElements_) {
      if (element < 0 || static_cast<size_t>(element) >= before.size()) continue;
      const TDiagramElement& frame = before[static_cast<size_t>(element)];
      if (SentencePtr sentence = DrawnAt(frame.Tag))
        carried.Covered.push_back({sentence->Text, frame.Row, frame.Column});
    }
  }
  // Sentence objects outlive the drawing they were taken from.
  const TRememberedSelection remembered = RememberSelection();
  carried.Selected = remembered.Selected;
  carried.Offered = remembered.Offered;
  carried.RowConditional = remembered.RowConditional;
  carried.WasRefreshing = refreshing_;
  refreshing_ = true;
  return carried;
}

void TArgumentEditor::EndRedraw(const TCarriedSelection& carried, bool complete) {
  refreshing_ = carried.WasRefreshing;
  if (!complete) return;
  hiddenElements_.clear();
  FindSelectionAgain({carried.Selected, carried.Offered, carried.RowConditional}, {});
  const auto& after = diagram_.Drawing.Elements;
  for (size_t i = 0; i < after.size() && !carried.Covered.empty(); ++i) {
    const TDiagramElement& frame = after[i];
    if (frame.Kind != TElementKind::Frame) continue;
    const SentencePtr sentence = DrawnAt(frame.Tag);
    for (const auto& cell : carried.Covered)
      if (sentence && sentence->Text == cell.Text && frame.Row == cell.Row && frame.Column == cell.Column)
        HideElement(static_cast<int>(i));
  }
}

TArgumentEditor::TRememberedSelection TArgumentEditor::RememberSelection() const {
  return {DrawnAt(selection_.SelectedIndex), DrawnAt(selection_.OfferedIndex),
          DrawnAt(selection_.RowConditionalIndex)};
}

void TArgumentEditor::FindSelectionAgain(const TRememberedSelection& remembered,
                                         const TTextAfterRefresh& textAfter) {
  auto findAgain = [&](const SentencePtr& sentence) {
    if (!sentence) return -1;
    return diagram_.DrawnIndexOfText(textAfter ? textAfter(sentence) : sentence->Text);
  };
  selection_.SelectedIndex = findAgain(remembered.Selected);
  selection_.OfferedIndex = findAgain(remembered.Offered);
  selection_.RowConditionalIndex = findAgain(remembered.RowConditional);
}

void TArgumentEditor::Refreshing(const std::function<void()>& refresh, const TTextAfterRefresh& textAfter) {
  // Sentence objects outlive the drawing they were taken from.
  const TRememberedSelection remembered = RememberSelection();
  {
    struct TMark {
      bool& Flag;
      bool Was;
      ~TMark() { Flag = Was; }
    } mark{refreshing_, refreshing_};
    refreshing_ = true;
    refresh();
  }
  hiddenElements_.clear();
  FindSelectionAgain(remembered, textAfter);
}

void TArgumentEditor::CommitTheory() {
  Refreshing([this] { document_.CommitTheory(); }, {});
}

void TArgumentEditor::CommitFileText(const TKorvelFile& file, const TTextAfterRefresh& textAfter) {
  Refreshing([&] { document_.CommitFileText(file); }, textAfter);
}

void TArgumentEditor::WriteTheoryOnly() {
  TKorvelFile discarded;
  WriteTheory(document_.EditableTheory(), discarded);
}
