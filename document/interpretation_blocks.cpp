#include "document/interpretation_blocks.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "document/refresh_phases.h"
#include "document/refresh_report.h"
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
    std::vector<uint8_t> base;
    refresh::TBlockSize baseSize;
    const bool followed = engine_->FollowRootMarks(
        interpretations_,
        [&](TInterpretationEngine::TRootMarks marks) {
          base.assign(marks.begin(), marks.end());
          baseSize = refresh::TBlockSize{};
          for (size_t r = 0; r < base.size(); ++r) refresh::AddListings(baseSize, root(r), listings(r, base[r]));
        },
        [&](size_t k, TInterpretationEngine::TChangedMarks changed) {
          refresh::TBlockSize size = refresh::EmptyBlockSize(k);
          size.Lines += baseSize.Lines;
          size.Longest = std::max(size.Longest, baseSize.Longest);
          for (const auto& [r, marks] : changed) {
            size.Lines -= listings(r, base[r]);
            refresh::AddListings(size, root(r), listings(r, marks));
          }
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
