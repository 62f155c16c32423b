// The list of undoable changes of one document: for each change its title and
// the theory file text before and after it.
//
// File texts are kept as lists of shared pieces. A text is cut after lines
// chosen by their content alone (a sentence line whose hash falls on a fixed
// residue), so a change moves the cuts only near the lines it touches, and
// every piece that two texts have in common is stored once. Ten thousand
// changes of a large theory thus cost little more than the lines they change.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TSnapshotStore;

// One stored file text.
class TTextSnapshot {
 public:
  std::string Text() const;
  size_t Size() const { return size_; }
  bool SamePiecesAs(const TTextSnapshot& other) const { return pieces_ == other.pieces_; }
  // Bytes of the list of pieces itself (not of the pieces).
  size_t ListBytes() const { return pieces_.capacity() * sizeof(pieces_[0]) + sizeof(*this); }

 private:
  friend class TSnapshotStore;
  std::vector<std::shared_ptr<const std::string>> pieces_;
  size_t size_ = 0;
};

using TSnapshotPtr = std::shared_ptr<const TTextSnapshot>;

// Makes snapshots whose equal pieces are shared.
class TSnapshotStore {
 public:
  TSnapshotPtr Make(std::string_view text);
  // Bytes of the pieces still in use.
  size_t PieceBytes() const;
  // Forgets the pieces no snapshot holds any more.
  void Prune();

 private:
  std::shared_ptr<const std::string> Intern(std::string_view piece);
  std::unordered_map<std::string_view, std::weak_ptr<const std::string>> pieces_;
  size_t sinceLastPrune_ = 0;
};

class TUndoHistory {
 public:
  struct TStep {
    std::string Title;
    TSnapshotPtr Before, After;
  };
  // A step taken back or done again: its title and the text to restore.
  struct TRestore {
    std::string Title;
    std::string Text;
  };

  // Records a change; the steps that could be redone are dropped. A change
  // that leaves the text as it was records nothing.
  void Record(std::string title, std::string_view before, std::string_view after);
  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ < steps_.size(); }
  // Titles of the step Undo or Redo would take; empty when there is none.
  std::string UndoTitle() const { return CanUndo() ? steps_[position_ - 1].Title : std::string(); }
  std::string RedoTitle() const { return CanRedo() ? steps_[position_].Title : std::string(); }
  // Nothing at the bottom (Undo) or the top (Redo) of the list.
  std::optional<TRestore> Undo();
  std::optional<TRestore> Redo();
  void Clear();

  size_t Count() const { return steps_.size(); }
  size_t Position() const { return position_; }
  // An estimate of the memory held: shared pieces, lists and titles.
  size_t MemoryBytes() const;

 private:
  TSnapshotStore store_;
  std::vector<TStep> steps_;
  size_t position_ = 0;
};
