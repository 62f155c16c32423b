// The list of undoable changes of one document: for each change its title and
// the theory file text before and after it.
//
// File texts are kept as lists of shared pieces. A text is cut after lines
// chosen by their content alone (a sentence line whose hash falls on a fixed
// residue), so a change moves the cuts only near the lines it touches, and
// every piece that two texts have in common is stored once. The pieces are
// grouped into runs the same way, and equal runs are shared too, so a text
// costs a short list of runs plus the runs and pieces a change made new. Ten
// thousand changes of a large theory thus cost little more than the lines
// they change.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

class TSnapshotStore;

// One stored file text.
class TTextSnapshot {
 public:
  std::string Text() const;
  size_t Size() const { return size_; }
  bool SamePiecesAs(const TTextSnapshot& other) const { return runs_ == other.runs_; }
  // Whether the snapshot holds exactly this text, compared piece by piece
  // without putting the text together.
  bool Holds(std::string_view text) const;
  // Bytes of the list of runs itself (not of the runs and pieces).
  size_t ListBytes() const { return runs_.capacity() * sizeof(runs_[0]) + sizeof(*this); }

 private:
  friend class TSnapshotStore;
  using TPiece = std::shared_ptr<const std::string>;
  using TRun = std::shared_ptr<const std::vector<TPiece>>;
  std::vector<TRun> runs_;
  size_t size_ = 0;
};

using TSnapshotPtr = std::shared_ptr<const TTextSnapshot>;

// Makes snapshots whose equal pieces are shared. Its pieces refer back to
// it, so it outlives every snapshot it made and is never copied. Snapshots
// may be made on one thread and let go of on others.
class TSnapshotStore {
 public:
  TSnapshotStore() = default;
  TSnapshotStore(const TSnapshotStore&) = delete;
  TSnapshotStore& operator=(const TSnapshotStore&) = delete;
  TSnapshotPtr Make(std::string_view text);
  // Bytes of the pieces and runs still in use.
  size_t PieceBytes() const;
  // Forgets the runs no snapshot holds any more (a piece leaves by itself).
  void Prune();

 private:
  using TPiece = std::shared_ptr<const std::string>;
  using TRun = std::shared_ptr<const std::vector<TPiece>>;
  TPiece Intern(std::string_view piece);
  TRun InternRun(std::vector<TPiece> run);
  void PruneLocked();
  // Guards both indexes: a piece leaves its index from whichever thread
  // lets go of it last.
  mutable std::mutex mutex_;
  std::unordered_map<std::string_view, std::weak_ptr<const std::string>> pieces_;
  // Runs by a hash of their pieces' addresses.
  std::unordered_multimap<size_t, std::weak_ptr<const std::vector<TPiece>>> runs_;
  size_t sinceLastPrune_ = 0;
};

// Runs jobs one after the other on a thread of its own.
class TSerialWorker {
 public:
  TSerialWorker();
  // Finishes the jobs posted, then ends.
  ~TSerialWorker();
  TSerialWorker(const TSerialWorker&) = delete;
  TSerialWorker& operator=(const TSerialWorker&) = delete;
  void Post(std::function<void()> job);

 private:
  void Work();
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> jobs_;
  bool ending_ = false;
  std::thread thread_;
};

// A snapshot still being made, or made.
using TSnapshotFuture = std::shared_future<TSnapshotPtr>;

class TUndoHistory {
 public:
  struct TStep {
    std::string Title;
    TSnapshotFuture Before, After;
  };
  // A step taken back or done again: its title and the text to restore,
  // put together by whoever asks (any thread). Text() throws what making
  // the snapshot threw (std::bad_alloc).
  struct TRestore {
    std::string Title;
    TSnapshotFuture Snapshot;
    std::string Text() const { return Snapshot.get()->Text(); }
  };

  TUndoHistory();
  ~TUndoHistory();

  // Records a change; the steps that could be redone are dropped. A change
  // that leaves the text as it was records nothing. The snapshots are made
  // on the history's own thread: the caller only compares the two texts.
  void Record(std::string title, std::string before, std::string after);
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
  // An estimate of the memory held: shared pieces, lists and titles. Waits
  // for the snapshots still being made.
  size_t MemoryBytes() const;

 private:
  // The steps given are let go of on the history's thread.
  void Drop(std::vector<TStep> steps);

  // Declared first: the steps' pieces leave the store's index as they go.
  TSnapshotStore store_;
  std::vector<TStep> steps_;
  size_t position_ = 0;
  // Declared last: it finishes its jobs, which use the store, first.
  TSerialWorker worker_;
};
