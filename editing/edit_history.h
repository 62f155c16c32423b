// Undo and redo of the editing commands on one document.
//
// Every editing command runs through Run. A command that opens the statement
// box (Add statement, Change, Support, Attack, Add conjunct) goes on until
// the box closes with ENTER or ESCAPE; everything in between is one step, so
// no step ever ends with the placeholder waiting in the theory. A step that
// ends with the theory file text as it began (ESCAPE, a refused command)
// records nothing.
//
// Undo and Redo put the recorded file text back through the document's
// commit: "~tmp.kvl" gets exactly the bytes it had, the evaluation and the
// diagram follow, and the selection is found again by its text. Each logs an
// empty line and "Undo: " or "Redo: " followed by the step's title; at the
// bottom or the top of the list they do nothing and log nothing.
#pragma once

#include <functional>
#include <string>

#include "editing/argument_editor.h"
#include "editing/undo_history.h"

class TEditHistory {
 public:
  // All three must outlive the history.
  TEditHistory(TDocument& document, TArgumentEditor& editor, TActionLog& log);

  // Runs an editing command as (a part of) one step with the given title.
  void Run(const std::string& title, const std::function<void()>& command);
  // Whether anything was taken back or done again.
  bool Undo();
  bool Redo();
  // A new document (New, Open) starts with nothing to undo.
  void Clear();

  // Nothing can be undone or redone while a step is still open.
  bool CanUndo() const { return !open_ && history_.CanUndo(); }
  bool CanRedo() const { return !open_ && history_.CanRedo(); }
  std::string UndoTitle() const { return history_.UndoTitle(); }
  std::string RedoTitle() const { return history_.RedoTitle(); }
  bool StepOpen() const { return open_; }
  const TUndoHistory& History() const { return history_; }

  // Called whenever what can be undone or redone may have changed.
  std::function<void()> Changed;

 private:
  void Restore(const TUndoHistory::TRestore& step);
  void Notify() {
    if (Changed) Changed();
  }

  TDocument& document_;
  TArgumentEditor& editor_;
  TActionLog& log_;
  TUndoHistory history_;
  bool open_ = false;
  std::string title_;
  std::string before_;
};
