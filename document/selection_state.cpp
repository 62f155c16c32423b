#include "document/selection_state.h"

TCommandAvailability ComputeCommandAvailability(const TSelectionState& selection,
                                                const TListOfKorvelSentences& drawnSentences) {
  TCommandAvailability offered;
  offered.AddStatement = offered.Delete = offered.Properties = true;
  const int index = selection.OfferedIndex;
  // An index from an older drawing may lie beyond the current one.
  if (index < 0 || static_cast<size_t>(index) >= drawnSentences.size()) return offered;
  const TKorvelSentence& sentence = *drawnSentences[static_cast<size_t>(index)];
  offered.Support = offered.Attack = true;
  if (sentence.IsAssumption) offered.SetAsIssue = true;
  if (sentence.IsIssue) offered.SetAsAssumption = true;
  if (!sentence.IsAssumption && !sentence.IsIssue) offered.SetAsIssue = offered.SetAsAssumption = true;
  offered.ChangeElementarySentence = Is<TKorvelElementarySentence>(drawnSentences[static_cast<size_t>(index)]);
  if (selection.RowConditionalIndex >= 0) offered.AddConjunct = offered.DeleteConjunct = true;
  return offered;
}
