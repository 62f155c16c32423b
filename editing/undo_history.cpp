#include "editing/undo_history.h"

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
  if (auto found = pieces_.find(piece); found != pieces_.end()) return found->second.lock();
  // The map's key points into the piece, so the piece takes its entry with
  // it when the last snapshot lets it go.
  std::shared_ptr<const std::string> shared(new std::string(piece), [this](const std::string* gone) {
    pieces_.erase(std::string_view(*gone));
    delete gone;
  });
  pieces_.emplace(std::string_view(*shared), shared);
  return shared;
}

TSnapshotPtr TSnapshotStore::Make(std::string_view text) {
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
  if (++sinceLastPrune_ >= 256) Prune();
  return snapshot;
}

size_t TSnapshotStore::PieceBytes() const {
  // Each entry: the bytes, the string, the control block and the map node.
  size_t bytes = 0;
  for (const auto& entry : pieces_) bytes += entry.first.size() + sizeof(std::string) + 2 * sizeof(void*) + 48;
  for (const auto& [hash, run] : runs_)
    if (auto shared = run.lock()) bytes += shared->capacity() * sizeof(TPiece) + 3 * sizeof(void*) + 32;
  return bytes;
}

void TSnapshotStore::Prune() {
  sinceLastPrune_ = 0;
  std::erase_if(runs_, [](const auto& entry) { return entry.second.expired(); });
}

void TUndoHistory::Record(std::string title, std::string_view before, std::string_view after) {
  if (before == after) return;
  steps_.resize(position_);
  // The text before a change is usually the text after the previous one:
  // then that snapshot is shared, and no second one is made.
  TSnapshotPtr beforeSnapshot = !steps_.empty() && steps_.back().After->Holds(before) ? steps_.back().After
                                                                                    : store_.Make(before);
  steps_.push_back({std::move(title), std::move(beforeSnapshot), store_.Make(after)});
  position_ = steps_.size();
}

std::optional<TUndoHistory::TRestore> TUndoHistory::Undo() {
  if (!CanUndo()) return std::nullopt;
  const TStep& step = steps_[--position_];
  return TRestore{step.Title, step.Before->Text()};
}

std::optional<TUndoHistory::TRestore> TUndoHistory::Redo() {
  if (!CanRedo()) return std::nullopt;
  const TStep& step = steps_[position_++];
  return TRestore{step.Title, step.After->Text()};
}

void TUndoHistory::Clear() {
  steps_.clear();
  position_ = 0;
  store_.Prune();
}

size_t TUndoHistory::MemoryBytes() const {
  size_t bytes = store_.PieceBytes() + steps_.capacity() * sizeof(TStep);
  std::unordered_set<const TTextSnapshot*> counted;
  for (const TStep& step : steps_) {
    bytes += step.Title.capacity();
    for (const TSnapshotPtr& snapshot : {step.Before, step.After})
      if (counted.insert(snapshot.get()).second) bytes += snapshot->ListBytes() + 16;
  }
  return bytes;
}
