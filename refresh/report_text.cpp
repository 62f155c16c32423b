#include "refresh/report_text.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

TReportText::TReportText() : TReportText(std::shared_ptr<const std::vector<std::string>>()) {}

TReportText::TReportText(std::vector<std::string> lines)
    : TReportText(std::make_shared<const std::vector<std::string>>(std::move(lines))) {}

TReportText::TReportText(std::shared_ptr<const std::vector<std::string>> lines)
    : head_(lines ? std::move(lines) : std::make_shared<const std::vector<std::string>>()),
      headSize_(head_->size()),
      blockStarts_{headSize_},
      size_(headSize_),
      longest_(MeasureLongest()) {}

TReportText::TReportText(std::vector<std::string> head, std::shared_ptr<const TLineBlocks> blocks,
                         std::vector<std::string> tail)
    : TReportText(std::move(head)) {
  blocks_ = std::move(blocks);
  tail_ = std::move(tail);
  blockStarts_.clear();
  if (blocks_) {
    const size_t count = blocks_->BlockCount();
    blockStarts_.reserve(count + 1);
    for (size_t block = 0; block < count; ++block) {
      blockStarts_.push_back(size_);
      size_ += blocks_->LineCount(block);
    }
  }
  blockStarts_.push_back(size_);
  size_ += tail_.size();
  longest_ = MeasureLongest();
}

void TReportText::ForEachLongLine(size_t minimum, const std::function<bool(const std::string&)>& visit) const {
  for (size_t i = 0; i < headSize_; ++i)
    if ((*head_)[i].size() >= minimum && !visit((*head_)[i])) return;
  for (size_t block = 0; block + 1 < blockStarts_.size(); ++block) {
    if (blocks_->LongestLine(block) < minimum) continue;
    // Held here: a range over the temporary's lines would outlive it.
    const std::shared_ptr<const std::vector<std::string>> lines = blocks_->Lines(block);
    for (const std::string& line : *lines)
      if (line.size() >= minimum && !visit(line)) return;
  }
  for (const std::string& line : tail_)
    if (line.size() >= minimum && !visit(line)) return;
}

TReportText TReportText::Appended(const std::vector<std::string>& lines) const {
  TReportText appended = *this;
  appended.tail_.insert(appended.tail_.end(), lines.begin(), lines.end());
  appended.size_ += lines.size();
  for (const std::string& line : lines) appended.longest_ = std::max(appended.longest_, line.size());
  return appended;
}

TReportText TReportText::Replaced(size_t count, std::vector<std::string> lines) const {
  count = std::min(count, size_);
  const size_t fromTail = std::min(count, tail_.size());
  const size_t fromHead = count - fromTail;
  // Lines in the blocks replaced: rare enough to write the report out.
  if (fromHead > 0 && blockStarts_.back() > headSize_) {
    std::vector<std::string> kept = ToVector();
    kept.resize(size_ - count);
    kept.insert(kept.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    return TReportText(std::move(kept));
  }
  TReportText replaced = *this;
  size_t longestGone = 0;
  for (size_t i = tail_.size() - fromTail; i < tail_.size(); ++i) longestGone = std::max(longestGone, tail_[i].size());
  for (size_t i = headSize_ - fromHead; i < headSize_; ++i) longestGone = std::max(longestGone, (*head_)[i].size());
  replaced.tail_.resize(tail_.size() - fromTail);
  replaced.headSize_ -= fromHead;
  for (size_t& start : replaced.blockStarts_) start -= fromHead;  // the blocks, if any, hold no line
  replaced.size_ -= count;
  // Only when a line gone was the longest need the rest be looked at.
  if (longestGone >= longest_) replaced.longest_ = replaced.MeasureLongest();
  return replaced.Appended(lines);
}

size_t TReportText::MeasureLongest() const {
  size_t longest = 0;
  for (size_t i = 0; i < headSize_; ++i) longest = std::max(longest, (*head_)[i].size());
  if (blocks_)
    for (size_t block = 0; block + 1 < blockStarts_.size(); ++block)
      longest = std::max(longest, blocks_->LongestLine(block));
  for (const std::string& line : tail_) longest = std::max(longest, line.size());
  return longest;
}

std::string TReportText::operator[](size_t index) const {
  if (index >= size_) throw std::out_of_range("no such report line");
  if (index < headSize_) return (*head_)[index];
  const size_t afterBlocks = blockStarts_.back();
  if (index >= afterBlocks) return tail_[index - afterBlocks];
  // The last block starting at or before the line.
  const auto next = std::upper_bound(blockStarts_.begin(), blockStarts_.end(), index);
  const size_t block = static_cast<size_t>(next - blockStarts_.begin()) - 1;
  return (*blocks_->Lines(block))[index - blockStarts_[block]];
}

void TReportText::ForEachLine(const std::function<void(const std::string&)>& visit) const {
  for (size_t i = 0; i < headSize_; ++i) visit((*head_)[i]);
  for (size_t block = 0; block + 1 < blockStarts_.size(); ++block) {
    const std::shared_ptr<const std::vector<std::string>> lines = blocks_->Lines(block);
    for (const std::string& line : *lines) visit(line);
  }
  for (const std::string& line : tail_) visit(line);
}

std::vector<std::string> TReportText::ToVector() const {
  std::vector<std::string> lines;
  lines.reserve(size_);
  ForEachLine([&lines](const std::string& line) { lines.push_back(line); });
  return lines;
}

bool TReportText::operator==(const std::vector<std::string>& lines) const {
  if (lines.size() != size_) return false;
  size_t at = 0;
  bool same = true;
  ForEachLine([&](const std::string& line) { same = same && line == lines[at++]; });
  return same;
}
