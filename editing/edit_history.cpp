#include "editing/edit_history.h"

TEditHistory::TEditHistory(TDocument& document, TArgumentEditor& editor, TActionLog& log)
    : document_(document), editor_(editor), log_(log) {}

void TEditHistory::Run(const std::string& title, const std::function<void()>& command) {
  if (!open_) {
    open_ = true;
    title_ = title;
    before_ = document_.TheoryFile().Text;
  }
  command();
  if (!editor_.StatementBox().Visible) {
    history_.Record(title_, std::move(before_), document_.TheoryFile().Text);
    open_ = false;
    before_ = std::string();
  }
  Notify();
}

bool TEditHistory::Undo() {
  if (!CanUndo()) return false;
  const auto step = history_.Undo();
  log_.LogAction("");
  log_.LogAction("Undo: " + step->Title);
  Restore(*step);
  Notify();
  return true;
}

bool TEditHistory::Redo() {
  if (!CanRedo()) return false;
  const auto step = history_.Redo();
  log_.LogAction("");
  log_.LogAction("Redo: " + step->Title);
  Restore(*step);
  Notify();
  return true;
}

void TEditHistory::Clear() {
  history_.Clear();
  open_ = false;
  before_.clear();
  Notify();
}

void TEditHistory::Restore(const TUndoHistory::TRestore& step) {
  // The text is put together where the refresh is built.
  editor_.CarrySelectionAcross([&] { document_.CommitMadeText([step] { return step.Text(); }); });
  editor_.UpdateCommandAvailability();
}
