#include "refresh/interpretation_blocks.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "refresh/refresh_phases.h"
#include "refresh/refresh_report.h"
#include "evaluation/interpretations_engine.h"

namespace {

// How many blocks are kept written: a screenful spans at most a few.
constexpr size_t kCachedBlocks = 8;

class TInterpretationBlocks : public TLineBlocks {
 public:
  TInterpretationBlocks(const TKorvelTheory& theory, size_t issuesAtRead, const TInterpretationList& interpretations)
      : copy_(CopyTheory(theory)) {
    std::unordered_map<const TKorvelSentence*, const SentencePtr*> copies;
    copies.reserve(copy_.Pairs.size());
    for (const auto& [original, made] : copy_.Pairs) copies.emplace(original.get(), &made);
    interpretations_ = interpretations.Mapped([&copies](const SentencePtr& sentence) {
      const auto found = copies.find(sentence.get());
      return found != copies.end() ? *found->second : sentence;
    });
    // The engine over the issues the file gave, the others appended after.
    TKorvelTheory& own = copy_.Theory;
    std::vector<SentencePtr> later;
    if (issuesAtRead < own.Issues.size()) {
      later.assign(own.Issues.begin() + static_cast<std::ptrdiff_t>(issuesAtRead), own.Issues.end());
      own.Issues.resize(issuesAtRead);
    }
    engine_ = std::make_unique<TInterpretationEngine>(own);
    own.Issues.insert(own.Issues.end(), later.begin(), later.end());
  }

  // Counts every block's lines; false when stopped.
  bool Count(const TEvaluationControl* control) {
    sizes_.reserve(interpretations_.size());
    // From the marks that differ from the forced part's, when the engine
    // can follow the list so; otherwise by marking each interpretation.
    const TKorvelTheory& theory = copy_.Theory;
    const size_t assumptions = theory.Assumptions.size();
    auto root = [&](size_t r) -> const TKorvelSentence& {
      return r < assumptions ? *theory.Assumptions[r] : *theory.Issues[r - assumptions];
    };
    auto listings = [&](size_t r, uint8_t marks) {
      return refresh::StatusListings(r >= assumptions, (marks & TInterpretationEngine::kJustified) != 0,
                                     (marks & TInterpretationEngine::kDefeated) != 0);
    };
    // The marks in force, the listings they make, and how many listed
    // sentences have each text length (for the longest line).
    std::vector<uint8_t> current;
    size_t listed = 0;
    std::vector<size_t> ofLength;
    size_t longest = 0;  // longest listed text; ofLength[longest] > 0 unless none is listed
    auto list = [&](size_t r, int step) {
      const size_t length = root(r).Text.size();
      if (length >= ofLength.size()) ofLength.resize(length + 1, 0);
      ofLength[length] = static_cast<size_t>(static_cast<long long>(ofLength[length]) + step);
      if (step > 0) longest = std::max(longest, length);
      while (longest > 0 && ofLength[longest] == 0) --longest;
    };
    auto set = [&](size_t r, uint8_t marks) {
      const size_t before = listings(r, current[r]), after = listings(r, marks);
      listed = listed - before + after;
      if (before == 0 && after > 0) list(r, 1);
      if (before > 0 && after == 0) list(r, -1);
      current[r] = marks;
    };
    const bool followed = engine_->FollowRootMarks(
        interpretations_,
        [&](TInterpretationEngine::TRootMarks marks) {
          current.assign(marks.size(), 0);
          listed = 0;
          ofLength.assign(ofLength.size(), 0);
          longest = 0;
          for (size_t r = 0; r < marks.size(); ++r) {
            listed += listings(r, 0);
            if (listings(r, 0) > 0) list(r, 1);
            set(r, marks[r]);
          }
        },
        [&](size_t k, TInterpretationEngine::TChangedMarks changed) {
          for (const auto& [r, marks] : changed) set(r, marks);
          refresh::TBlockSize size = refresh::EmptyBlockSize(k);
          size.Lines += listed;
          if (listed > 0) size.Longest = std::max(size.Longest, 8 + longest);
          sizes_.push_back(size);
        },
        control);
    if (followed) return true;
    if (StopRequested(control)) return false;
    sizes_.clear();
    for (size_t k = 0; k < interpretations_.size(); ++k) {
      if (StopRequested(control)) return false;
      engine_->MarkStatuses(interpretations_[k]);
      sizes_.push_back(refresh::InterpretationBlockSize(copy_.Theory, k));
    }
    return true;
  }

  size_t BlockCount() const override { return sizes_.size(); }
  size_t LineCount(size_t block) const override { return sizes_.at(block).Lines; }
  size_t LongestLine(size_t block) const override { return sizes_.at(block).Longest; }

  std::shared_ptr<const std::vector<std::string>> Lines(size_t block) const override {
    std::lock_guard lock(mutex_);
    for (const auto& [index, lines] : cache_)
      if (index == block) return lines;
    engine_->MarkStatuses(interpretations_.At(block));
    auto lines = std::make_shared<std::vector<std::string>>();
    lines->reserve(sizes_.at(block).Lines);
    refresh::AppendInterpretationBlock(copy_.Theory, block, *lines);
    if (cache_.size() == kCachedBlocks) cache_.erase(cache_.begin());
    cache_.emplace_back(block, lines);
    return lines;
  }

 private:
  TTheoryCopy copy_;  // marked by every block written
  TInterpretationList interpretations_;
  std::unique_ptr<TInterpretationEngine> engine_;
  std::vector<refresh::TBlockSize> sizes_;
  mutable std::mutex mutex_;
  mutable std::vector<std::pair<size_t, std::shared_ptr<const std::vector<std::string>>>> cache_;
};

}  // namespace

std::shared_ptr<const TLineBlocks> MakeInterpretationBlocks(const TKorvelTheory& theory, size_t issuesAtRead,
                                                            const TInterpretationList& interpretations,
                                                            const TEvaluationControl* control) {
  auto blocks = std::make_shared<TInterpretationBlocks>(theory, issuesAtRead, interpretations);
  if (!blocks->Count(control)) return nullptr;
  return blocks;
}
