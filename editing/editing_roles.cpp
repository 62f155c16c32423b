// Set as assumption, Set as issue and Delete. The two Set as commands move
// the selected sentence between the theory's lists, setting its flags and
// its list membership together, since the writer keeps a sentence in a list
// only while its flag agrees.
#include "editing/argument_editor.h"

void TArgumentEditor::Setasassumption1Click() {
  Log("");
  Log("Set as assumption");
  if (const SentencePtr sentence = DrawnAt(selection_.SelectedIndex)) {
    sentence->IsAssumption = true;
    sentence->IsIssue = false;
    if (IndexOfSentence(document_.Theory().Assumptions, sentence) == -1) {
      document_.EditableTheory().Assumptions.push_back(sentence);
      Log("Add assumption: " + sentence->Text);
      CommitTheory();
    }
    // Another object with the same text may still stand among the issues.
    TListOfKorvelSentences& issues = document_.EditableTheory().Issues;
    const int inIssues = IndexOfSentence(issues, sentence);
    if (inIssues >= 0) {
      issues.erase(issues.begin() + inIssues);
      CommitTheory();
    }
  }
  UpdateCommandAvailability();
}

void TArgumentEditor::Setasissue1Click() {
  Log("");
  Log("Set as issue");
  if (const SentencePtr sentence = DrawnAt(selection_.SelectedIndex)) {
    sentence->IsAssumption = false;
    sentence->IsIssue = true;
    if (IndexOfSentence(document_.Theory().Issues, sentence) == -1) {
      document_.EditableTheory().Issues.push_back(sentence);
      Log("Add issue: " + sentence->Text);
      CommitTheory();
    }
    TListOfKorvelSentences& assumptions = document_.EditableTheory().Assumptions;
    const int inAssumptions = IndexOfSentence(assumptions, sentence);
    if (inAssumptions >= 0) {
      assumptions.erase(assumptions.begin() + inAssumptions);
      CommitTheory();
    }
  }
  UpdateCommandAvailability();
}

void TArgumentEditor::Delete1Click() {
  const SentencePtr deleted = DrawnAt(selection_.SelectedIndex);
  // With nothing selected there is nothing to delete, and nothing is logged.
  if (!deleted) {
    UpdateCommandAvailability();
    return;
  }
  TKorvelTheory& theory = document_.EditableTheory();
  // The sentence itself, then everything built on it: every negation,
  // conditional or argument that holds it anywhere inside.
  for (TListOfKorvelSentences* list : {&theory.Assumptions, &theory.Issues}) {
    std::erase_if(*list, [&](const SentencePtr& entry) { return entry->Text == deleted->Text; });
    std::erase_if(*list, [&](const SentencePtr& entry) { return ContainsPart(entry, deleted); });
  }
  Log("");
  Log("Delete: " + deleted->Text);
  CommitTheory();
  ClearSelection();
  UpdateCommandAvailability();
}
