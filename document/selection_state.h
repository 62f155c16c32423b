// What the user has selected on the diagram and which editing commands that
// selection offers. Diagram indices point into the current drawing's list of
// drawn sentences; -1 means none.
#pragma once

#include <string>

#include "logic/sentence.h"

struct TSelectionState {
  int SelectedIndex = -1;  // the sentence the editing commands act on
  int OfferedIndex = -1;   // the sentence the offered commands are computed for
  int RowConditionalIndex = -1;
  int ClickedColumn = -1;
  int ClickedRow = -1;
  // Modes of the statement box.
  bool AddingStatement = false;
  bool ChangingStatement = false;
  bool ArgumentPending = false;
  bool ConjunctPending = false;
  std::string OldConditionalText;
  std::string NewConditionalText;

  // New and Open forget the selection; the clicked cell stays.
  void Clear() { SelectedIndex = OfferedIndex = RowConditionalIndex = -1; }
};

// Which editing commands are offered: menu items shown, tool buttons enabled.
struct TCommandAvailability {
  bool AddStatement = false;
  bool Delete = false;
  bool Properties = false;
  bool Support = false;
  bool Attack = false;
  bool SetAsIssue = false;
  bool SetAsAssumption = false;
  bool ChangeElementarySentence = false;
  bool AddConjunct = false;
  bool DeleteConjunct = false;
  // Never offered; kept so that every editing item has its flag.
  bool AddDialecticalNegation = false;
  bool Match = false;
  bool Instantiate = false;
};

TCommandAvailability ComputeCommandAvailability(const TSelectionState& selection,
                                                const TListOfKorvelSentences& drawnSentences);
