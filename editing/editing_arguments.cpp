// Support, Attack, Add conjunct, Delete conjunct and Add dialectical
// negation. Support, Attack and Add conjunct build the argument at once with
// the placeholder sentence in place of the reason still to be typed, and open
// the statement box over the placeholder's box; ENTER then writes the reason
// over the placeholder, ESCAPE takes it back.
#include <utility>

#include "editing/argument_editor.h"

namespace {

SentencePtr MakePlaceholder() {
  SentencePtr placeholder = MakeElementarySentence(std::string(kPlaceholderText));
  placeholder->IsAssumption = true;
  return placeholder;
}

}  // namespace

void TArgumentEditor::Givesupport1Click() { MakeArgument(false); }

void TArgumentEditor::Attack1Click() { MakeArgument(true); }

void TArgumentEditor::MakeArgument(bool attack) {
  Log("");
  Log(attack ? "Attack" : "Support");
  selection_.ArgumentPending = true;
  if (const SentencePtr target = DrawnAt(selection_.SelectedIndex)) {
    const TKorvelFile before = document_.TheoryFile();
    // The first commit may leave the target undrawn for a moment; the
    // selection is found again once the argument stands.
    const TRememberedSelection remembered = RememberSelection();
    TKorvelTheory& theory = document_.EditableTheory();
    // A supported assumption stops being one: the support takes its place
    // among the assumptions, and the sentence lives on as its conclusion.
    const int at = attack ? -1 : IndexOfSentence(theory.Assumptions, target);
    if (at >= 0) {
      const SentencePtr& assumption = theory.Assumptions[static_cast<size_t>(at)];
      assumption->IsAssumption = false;
      assumption->IsIssue = true;
    }
    auto conditional = std::make_shared<TKorvelConditional>();
    conditional->IsAssumption = true;
    conditional->Consequent = attack ? SentencePtr(MakeDialecticalNegation(target)) : target;
    Log((attack ? "Attack against: " : "Support for: ") + target->Text);

    const SentencePtr placeholder = MakePlaceholder();
    theory.Assumptions.push_back(placeholder);
    CommitTheory();

    conditional->Antecedents.push_back(placeholder);
    RebuildText(*conditional);
    RebuildVariables(*conditional);
    // The commit made a new theory; positions taken before it still hold,
    // since it only dropped the supported sentence and appended the placeholder.
    TListOfKorvelSentences& assumptions = document_.EditableTheory().Assumptions;
    if (at >= 0 && static_cast<size_t>(at) <= assumptions.size()) {
      assumptions.insert(assumptions.begin() + at, conditional);
    } else {
      assumptions.push_back(conditional);
      Log("Add assumption: " + conditional->Text);
    }
    CommitTheory();
    FindSelectionAgain(remembered);
    if (!OpenPlaceholder(placeholder)) TakeBackUnshownArgument(before);
  }
  UpdateCommandAvailability();
}

bool TArgumentEditor::OpenPlaceholder(const SentencePtr& placeholder) {
  // The reason is laid out below what it argues about, so the first
  // placeholder box from the clicked row down is the new one. A click on a
  // link bar may lie below the place where the reason is drawn; then the
  // first placeholder box anywhere is taken.
  const auto& elements = diagram_.Drawing.Elements;
  for (const bool fromClickedRow : {true, false}) {
    for (size_t i = 0; i < elements.size(); ++i) {
      const TDiagramElement& frame = elements[i];
      if (frame.Kind != TElementKind::Frame || (fromClickedRow && frame.Row < selection_.ClickedRow)) continue;
      const SentencePtr drawn = DrawnAt(frame.Tag);
      if (!drawn || drawn->Text != placeholder->Text) continue;
      selection_.ClickedRow = frame.Row;
      selection_.SelectedIndex = frame.Tag;
      Changeelementarysentence1Click(static_cast<int>(i));
      return true;
    }
  }
  return false;
}

void TArgumentEditor::TakeBackUnshownArgument(const TKorvelFile& before) {
  // With no box to type the reason into, the placeholder would stay in the
  // theory for good: the command is taken back and the status bar says so.
  CommitFileText(before, {});
  selection_.ArgumentPending = selection_.ConjunctPending = false;
  ClearSelection();
  TStatusPanels panels = statusPanels_;
  panels[2] = kUnshownArgumentMessage;
  SetStatusPanels(std::move(panels));
}

void TArgumentEditor::Addconjunct1Click() {
  const SentencePtr chosen = selection_.RowConditionalIndex >= 0 ? DrawnAt(selection_.RowConditionalIndex)
                                                                 : DrawnAt(selection_.SelectedIndex);
  const bool anySelection = selection_.SelectedIndex != -1 || selection_.RowConditionalIndex != -1;
  auto conditional = As<TKorvelConditional>(chosen);
  // Only a conditional takes a further conjunct; for anything else the
  // command does nothing at all.
  if (anySelection && !conditional) return;

  Log("");
  Log("Add conjunct");
  selection_.ConjunctPending = true;
  if (conditional) {
    Log("Conditional: " + conditional->Text);
    const TKorvelFile before = document_.TheoryFile();
    const TRememberedSelection remembered = RememberSelection();
    selection_.OldConditionalText = conditional->Text;
    const int inAssumptions = IndexOfSentence(document_.Theory().Assumptions, conditional);
    const int inIssues = IndexOfSentence(document_.Theory().Issues, conditional);

    const SentencePtr placeholder = MakePlaceholder();
    document_.EditableTheory().Assumptions.push_back(placeholder);
    CommitTheory();

    conditional->Antecedents.push_back(placeholder);
    RebuildText(*conditional);
    RebuildVariables(*conditional);
    TKorvelTheory& theory = document_.EditableTheory();
    if (inAssumptions >= 0 && static_cast<size_t>(inAssumptions) < theory.Assumptions.size())
      theory.Assumptions[static_cast<size_t>(inAssumptions)] = conditional;
    if (inIssues >= 0 && static_cast<size_t>(inIssues) < theory.Issues.size())
      theory.Issues[static_cast<size_t>(inIssues)] = conditional;
    selection_.NewConditionalText = conditional->Text;
    // A text that starts with the old form is the conditional itself, replaced above.
    ReplaceInTheory(selection_.OldConditionalText, selection_.NewConditionalText, 2);
    CommitTheory();
    // Once more when the refresh added issues, so that the file holds them too
    // and the change that fills the placeholder does not add them again.
    TKorvelFile written;
    WriteTheory(document_.EditableTheory(), written);
    if (written.Text != document_.TheoryFile().Text) CommitTheory();
    // The conditional now reads its new text, by which it is found again.
    FindSelectionAgain(remembered);
    if (!OpenPlaceholder(placeholder)) TakeBackUnshownArgument(before);
  }
  UpdateCommandAvailability();
}

void TArgumentEditor::Deleteconjunct1menuitemClick() {
  auto conditional = As<TKorvelConditional>(DrawnAt(selection_.RowConditionalIndex));
  const SentencePtr conjunct = DrawnAt(selection_.SelectedIndex);
  // Only a conjunct of the row conditional can be deleted from it; otherwise
  // the command does nothing at all.
  if (!conditional || !conjunct || IndexOfSentence(conditional->Antecedents, conjunct) < 0) return;

  Log("");
  Log("Delete conjunct: " + conjunct->Text);
  Log("In conditional: " + conditional->Text);
  const std::string oldText = conditional->Text;
  std::string newText;
  if (conditional->Antecedents.size() < 2) {
    // Without its only conjunct the argument is its conclusion again.
    auto negation = As<TKorvelDialecticalNegation>(conditional->Consequent);
    newText = negation ? negation->Negated->Text : conditional->Consequent->Text;
  } else {
    auto& antecedents = conditional->Antecedents;
    antecedents.erase(antecedents.begin() + IndexOfSentence(antecedents, conjunct));
    RebuildText(*conditional);
    newText = conditional->Text;
  }
  ReplaceInTheory(oldText, newText, 1);
  CommitTheory();
  ClearSelection();
  UpdateCommandAvailability();
}

void TArgumentEditor::Adddialecticalnegation2Click() {
  const SentencePtr selected = DrawnAt(selection_.SelectedIndex);
  if (!selected) return;
  SentencePtr negation = MakeDialecticalNegation(selected);
  negation->IsAssumption = true;
  document_.EditableTheory().Assumptions.push_back(negation);
  Log("Add assumption: " + negation->Text);
  CommitTheory();
  ClearSelection();
  UpdateCommandAvailability();
}
