// ENTER and ESCAPE in the statement box: adding a statement, changing a
// sentence everywhere it occurs through the lines of the theory file, and
// undoing a reason or conjunct that was asked for but never typed.
#include <utility>

#include "editing/argument_editor.h"
#include "logic/parser.h"
#include "logic/text_util.h"

namespace {

// The text form a sentence has once every elementary part with the old text
// reads the new text instead.
std::string TextWithPartChanged(const SentencePtr& sentence, const std::string& oldText,
                                const std::string& newText) {
  if (Is<TKorvelElementarySentence>(sentence)) return sentence->Text == oldText ? newText : sentence->Text;
  if (auto negation = As<TKorvelDialecticalNegation>(sentence))
    return "x(" + TextWithPartChanged(negation->Negated, oldText, newText) + ")";
  if (auto conditional = As<TKorvelConditional>(sentence)) {
    std::string text = "if(";
    for (size_t i = 0; i < conditional->Antecedents.size(); ++i) {
      if (i > 0) text += ", ";
      text += TextWithPartChanged(conditional->Antecedents[i], oldText, newText);
    }
    return text + ", " + TextWithPartChanged(conditional->Consequent, oldText, newText) + ")";
  }
  return sentence->Text;
}

}  // namespace

void TArgumentEditor::ComboBox1KeyDown(int key) {
  if (key == kEscapeKey)
    Escape();
  else if (key == kEnterKey)
    Enter();
}

std::string TArgumentEditor::TextAsRead(const std::string& typed) const {
  return document_.Options.ParseSentences ? ParseSentence(typed)->Text : typed;
}

void TArgumentEditor::Enter() {
  const std::string text(Trim(statementBox_.Text));
  const bool textUsed = !text.empty() && (selection_.AddingStatement || selection_.ChangingStatement);
  if (textUsed) {
    // A text the theory file cannot hold is refused before anything happens:
    // the box stays open with it and the status bar says why.
    if (std::optional<std::string> fault = StatementTextFault(text)) {
      TStatusPanels panels = statusPanels_;
      panels[2] = *fault;
      SetStatusPanels(std::move(panels));
      return;
    }
  }
  Log("ENTER (statement box)");
  if (selection_.ArgumentPending || selection_.ConjunctPending) {
    // The conditional whose bar lies on the row of the box being filled.
    const auto& elements = diagram_.Drawing.Elements;
    for (const TDiagramElement& shape : elements) {
      if (!IsShapeKind(shape.Kind) || selection_.SelectedIndex < 0 || shape.Tag != selection_.SelectedIndex)
        continue;
      for (const TDiagramElement& below : elements)
        if (IsShapeKind(below.Kind) && below.Bounds.Top == shape.Bounds.Top + 9)
          selection_.RowConditionalIndex = below.Tag;
    }
  } else {
    selection_.RowConditionalIndex = -1;
  }
  selection_.ArgumentPending = false;
  if (!text.empty() && selection_.AddingStatement)
    EnterAddsStatement(text);
  else if (!text.empty() && selection_.ChangingStatement)
    EnterChangesStatement(text);
  if (!text.empty()) selection_.ConjunctPending = false;
  if (selection_.ChangingStatement) {
    selection_.ChangingStatement = false;
    selection_.SelectedIndex = selection_.OfferedIndex;
  } else {
    selection_.OfferedIndex = selection_.SelectedIndex;
  }
  UpdateCommandAvailability();
}

void TArgumentEditor::EnterAddsStatement(const std::string& text) {
  TKorvelTheory& theory = document_.EditableTheory();
  SentencePtr sentence = MakeElementarySentence(text);
  if (IndexOfText(theory.Issues, text) == -1) {
    sentence->IsAssumption = true;
    sentence->IsIssue = false;
    theory.Assumptions.push_back(sentence);
    Log("Add assumption: " + text);
  } else {
    // An existing issue stays an issue; the theory does not change.
    sentence->IsAssumption = false;
    sentence->IsIssue = true;
  }
  CommitTheory();
  HideStatementBox();
  selection_.AddingStatement = false;
  // The new statement is the selection, wherever the drawing put it; also
  // when a change was still pending, whose end selects the offered sentence.
  selection_.SelectedIndex = selection_.OfferedIndex = diagram_.DrawnIndexOfText(TextAsRead(text));
}

void TArgumentEditor::EnterChangesStatement(const std::string& text) {
  const SentencePtr selected = DrawnAt(selection_.SelectedIndex);
  const std::string oldText = selected ? selected->Text : std::string();
  const TKorvelTheory& theory = document_.Theory();
  const bool wasIssue = IndexOfText(theory.Issues, text) >= 0;
  const bool wasAssumption = IndexOfText(theory.Assumptions, text) >= 0;

  // Each elementary sentence stands on a line of its own in the file, so
  // this reaches every place where it occurs; a compound's text matches no line.
  std::vector<std::string> lines = SplitFileLines(document_.TheoryFile().Text);
  int replaced = 0;
  for (std::string& line : lines)
    if (!oldText.empty() && line == oldText) {
      line = text;
      ++replaced;
    }
  if (replaced > 0) {
    Log("");
    Log("Changed: " + oldText);
    Log("To: " + text);
  }
  TKorvelFile file;
  file.Text = JoinFileLines(lines);
  const std::string textAsRead = TextAsRead(text);
  CommitFileText(file, [&](const SentencePtr& sentence) {
    return replaced > 0 ? TextWithPartChanged(sentence, oldText, textAsRead) : sentence->Text;
  });
  HideStatementBox();

  // A change never turns an existing issue into an assumption, nor the reverse.
  if (wasIssue && IndexOfText(document_.Theory().Assumptions, text) >= 0) {
    selection_.SelectedIndex = diagram_.DrawnIndexOfText(text);
    Setasissue1Click();
  }
  if (wasAssumption && IndexOfText(document_.Theory().Issues, text) >= 0) {
    selection_.SelectedIndex = diagram_.DrawnIndexOfText(text);
    Setasassumption1Click();
  }
}

void TArgumentEditor::Escape() {
  Log("ESCAPE (statement box)");
  ClearSelection();
  UpdateCommandAvailability();
  bool written = false;
  if (selection_.ConjunctPending) written = RemovePendingConjuncts();
  if (selection_.ArgumentPending || selection_.ConjunctPending) written = KeepPendingConclusions() || written;
  // Every change above was followed by writing the theory; the refresh reads
  // what was written last, or the scratch file as it stands.
  if (written)
    CommitTheory();
  else
    Refreshing([this] { document_.RefreshFromScratch(); }, {});
  HideStatementBox();
  selection_.AddingStatement = selection_.ChangingStatement = false;
  selection_.ArgumentPending = selection_.ConjunctPending = false;
}

bool TArgumentEditor::RemovePendingConjuncts() {
  TKorvelTheory& theory = document_.EditableTheory();
  bool written = false;
  for (TListOfKorvelSentences* list : {&theory.Assumptions, &theory.Issues}) {
    for (size_t i = 0; i < list->size(); ++i) {
      auto conditional = As<TKorvelConditional>((*list)[i]);
      if (!conditional) continue;
      auto& antecedents = conditional->Antecedents;
      const int at = IndexOfText(antecedents, kPlaceholderText);
      if (at < 0) continue;
      const std::string before = conditional->Text;
      antecedents.erase(antecedents.begin() + at);
      RebuildText(*conditional);
      RebuildVariables(*conditional);
      ReplaceInTheory(before, conditional->Text, 1);
      WriteTheoryOnly();
      written = true;
    }
  }
  return written;
}

bool TArgumentEditor::KeepPendingConclusions() {
  TKorvelTheory& theory = document_.EditableTheory();
  bool written = false;
  // A support or attack cancelled before its reason was typed leaves its
  // conclusion as a plain assumption.
  const TListOfKorvelSentences present = theory.Assumptions;
  for (const SentencePtr& sentence : present) {
    auto conditional = As<TKorvelConditional>(sentence);
    if (!conditional || conditional->Antecedents.empty() ||
        conditional->Antecedents.front()->Text != kPlaceholderText)
      continue;
    conditional->Consequent->IsAssumption = true;
    theory.Assumptions.push_back(conditional->Consequent);
    Log("Add assumption: " + conditional->Consequent->Text);
    WriteTheoryOnly();
    written = true;
  }
  if (IndexOfText(theory.Assumptions, kPlaceholderText) >= 0) {
    const SentencePtr placeholder = MakeElementarySentence(std::string(kPlaceholderText));
    std::erase_if(theory.Assumptions,
                  [&](const SentencePtr& sentence) { return ContainsPart(sentence, placeholder); });
    WriteTheoryOnly();
    written = true;
  }
  return written;
}

void TArgumentEditor::ReplaceInTheory(const std::string& oldText, const std::string& newText,
                                      size_t firstCounted) {
  if (oldText.empty()) return;
  // When the new text holds the old one, searching again from the start
  // would never end; the search then goes on after the inserted text.
  const bool newHoldsOld = newText.find(oldText) != std::string::npos;
  TKorvelTheory& theory = document_.EditableTheory();
  for (TListOfKorvelSentences* list : {&theory.Assumptions, &theory.Issues}) {
    const bool assumptions = list == &theory.Assumptions;
    for (SentencePtr& entry : *list) {
      std::string text = entry->Text;
      size_t at = text.find(oldText);
      bool changed = false;
      while (at != std::string::npos && at + 1 >= firstCounted) {
        text.replace(at, oldText.size(), newText);
        changed = true;
        at = newHoldsOld ? text.find(oldText, at + newText.size()) : text.find(oldText);
      }
      if (!changed) continue;
      SentencePtr parsed = ParseSentence(text);
      if (assumptions)
        parsed->IsAssumption = true;
      else
        parsed->IsIssue = true;
      entry = std::move(parsed);
    }
  }
}
