#include "editing/undo_history.h"

#include <iterator>
#include <new>
#include <unordered_set>
#include <utility>

namespace {

// About one cut per this many sentence lines, and one run per this many pieces.
constexpr size_t kCutEvery = 8;
constexpr size_t kRunEvery = 32;
constexpr size_t kLongestRun = 256;
// A piece never grows beyond this, whatever its lines.
constexpr size_t kLongestPiece = 16 * 1024;

// Whether a piece ends after this line: only a line that holds no tag (a
// sentence's text) can end one, so that runs of tags shared by all
// sentences never decide.
bool EndsPiece(std::string_view line) {
  if (line.empty() || line.front() == '<') return false;
  return std::hash<std::string_view>{}(line) % kCutEvery == 0;
}

size_t RunHash(const std::vector<std::shared_ptr<const std::string>>& run) {
  size_t hash = run.size();
  for (const auto& piece : run) hash = hash * 1000003u ^ std::hash<const void*>{}(piece.get());
  return hash;
}

}  // namespace

std::string TTextSnapshot::Text() const {
  std::string text;
  text.reserve(size_);
  for (const auto& run : runs_)
    for (const auto& piece : *run) text += *piece;
  return text;
}

bool TTextSnapshot::Holds(std::string_view text) const {
  if (text.size() != size_) return false;
  size_t at = 0;
  for (const auto& run : runs_)
    for (const auto& piece : *run) {
      if (text.compare(at, piece->size(), *piece) != 0) return false;
      at += piece->size();
    }
  return at == text.size();
}

TSnapshotStore::TRun TSnapshotStore::InternRun(std::vector<TPiece> run) {
  const size_t hash = RunHash(run);
  const auto [first, last] = runs_.equal_range(hash);
  for (auto at = first; at != last; ++at)
    if (auto shared = at->second.lock(); shared && *shared == run) return shared;
  run.shrink_to_fit();
  auto shared = std::make_shared<const std::vector<TPiece>>(std::move(run));
  runs_.emplace(hash, shared);
  return shared;
}

std::shared_ptr<const std::string> TSnapshotStore::Intern(std::string_view piece) {
  if (auto found = pieces_.find(piece); found != pieces_.end()) {
    if (auto shared = found->second.lock()) return shared;
    // Let go of on another thread, whose call below waits for the lock:
    // the entry is made anew for a new piece, which that call leaves alone.
    pieces_.erase(found);
  }
  // The map's key points into the piece, so the piece takes its entry with
  // it when the last snapshot lets it go (unless the entry is another's by then).
  std::shared_ptr<const std::string> shared(new std::string(piece), [this](const std::string* gone) {
    {
      std::lock_guard lock(mutex_);
      if (auto found = pieces_.find(std::string_view(*gone));
          found != pieces_.end() && found->first.data() == gone->data())
        pieces_.erase(found);
    }
    delete gone;
  });
  pieces_.emplace(std::string_view(*shared), shared);
  return shared;
}

TSnapshotPtr TSnapshotStore::Make(std::string_view text) {
  std::lock_guard lock(mutex_);
  auto snapshot = std::make_shared<TTextSnapshot>();
  snapshot->size_ = text.size();
  std::vector<TPiece> run;
  size_t start = 0;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find('\n', at);
    const size_t lineEnd = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line = text.substr(at, lineEnd - at);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    at = lineEnd;
    if (EndsPiece(line) || at - start >= kLongestPiece || at == text.size()) {
      const std::string_view piece = text.substr(start, at - start);
      run.push_back(Intern(piece));
      start = at;
      // Runs end after pieces chosen by their content too.
      if (std::hash<std::string_view>{}(piece) % kRunEvery == 0 || run.size() >= kLongestRun || at == text.size()) {
        snapshot->runs_.push_back(InternRun(std::move(run)));
        run.clear();
      }
    }
  }
  snapshot->runs_.shrink_to_fit();
  if (++sinceLastPrune_ >= 256) PruneLocked();
  return snapshot;
}

size_t TSnapshotStore::PieceBytes() const {
  std::lock_guard lock(mutex_);
  // Each entry: the bytes, the string, the control block and the map node.
  size_t bytes = 0;
  for (const auto& entry : pieces_) bytes += entry.first.size() + sizeof(std::string) + 2 * sizeof(void*) + 48;
  for (const auto& [hash, run] : runs_)
    if (auto shared = run.lock()) bytes += shared->capacity() * sizeof(TPiece) + 3 * sizeof(void*) + 32;
  return bytes;
}

void TSnapshotStore::Prune() {
  std::lock_guard lock(mutex_);
  PruneLocked();
}

void TSnapshotStore::PruneLocked() {
  sinceLastPrune_ = 0;
  std::erase_if(runs_, [](const auto& entry) { return entry.second.expired(); });
}

TSerialWorker::TSerialWorker() : thread_([this] { Work(); }) {}

TSerialWorker::~TSerialWorker() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  posted_.notify_one();
  thread_.join();
}

void TSerialWorker::Post(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  posted_.notify_one();
}

void TSerialWorker::Work() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      posted_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}

TUndoHistory::TUndoHistory() = default;
TUndoHistory::~TUndoHistory() = default;

void TUndoHistory::Drop(std::vector<TStep> steps) {
  if (steps.empty()) return;
  worker_.Post([steps = std::move(steps)]() mutable { steps.clear(); });
}

void TUndoHistory::Record(std::string title, std::string before, std::string after) {
  if (before == after) return;
  Drop({std::make_move_iterator(steps_.begin() + static_cast<std::ptrdiff_t>(position_)),
        std::make_move_iterator(steps_.end())});
  steps_.resize(position_);
  // The text before a change is usually the text after the previous one:
  // then that snapshot is shared, and no second one is made.
  TSnapshotFuture previous = steps_.empty() ? TSnapshotFuture() : steps_.back().After;
  auto madeBefore = std::make_shared<std::promise<TSnapshotPtr>>();
  auto madeAfter = std::make_shared<std::promise<TSnapshotPtr>>();
  steps_.push_back({std::move(title), madeBefore->get_future().share(), madeAfter->get_future().share()});
  position_ = steps_.size();
  worker_.Post([this, previous, madeBefore, madeAfter, before = std::move(before), after = std::move(after)] {
    // A snapshot that could not be made (no memory) fails the step's Undo
    // or Redo when its text is asked for, not the change being recorded.
    try {
      TSnapshotPtr last;
      if (previous.valid()) try {
          last = previous.get();
        } catch (const std::bad_alloc&) {
        }
      madeBefore->set_value(last && last->Holds(before) ? last : store_.Make(before));
    } catch (const std::bad_alloc&) {
      madeBefore->set_exception(std::current_exception());
    }
    try {
      madeAfter->set_value(store_.Make(after));
    } catch (const std::bad_alloc&) {
      madeAfter->set_exception(std::current_exception());
    }
  });
}

std::optional<TUndoHistory::TRestore> TUndoHistory::Undo() {
  if (!CanUndo()) return std::nullopt;
  const TStep& step = steps_[--position_];
  return TRestore{step.Title, step.Before};
}

std::optional<TUndoHistory::TRestore> TUndoHistory::Redo() {
  if (!CanRedo()) return std::nullopt;
  const TStep& step = steps_[position_++];
  return TRestore{step.Title, step.After};
}

void TUndoHistory::Clear() {
  Drop(std::move(steps_));
  steps_.clear();
  position_ = 0;
  worker_.Post([this] { store_.Prune(); });
}

size_t TUndoHistory::MemoryBytes() const {
  std::unordered_set<const TTextSnapshot*> counted;
  size_t bytes = steps_.capacity() * sizeof(TStep);
  for (const TStep& step : steps_) {
    bytes += step.Title.capacity();
    for (const TSnapshotFuture& made : {step.Before, step.After}) {
      TSnapshotPtr snapshot;
      try {
        snapshot = made.get();
      } catch (const std::bad_alloc&) {
        continue;
      }
      if (counted.insert(snapshot.get()).second) bytes += snapshot->ListBytes() + 16;
    }
  }
  return bytes + store_.PieceBytes();
}
