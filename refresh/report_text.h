// The text of the report as lines, some of which are written only when read.
//
// A report of ten thousand interpretations of a large theory holds hundreds
// of millions of lines; writing them all costs seconds and gigabytes, while a
// reader sees a screenful at a time. The report is therefore lines kept as
// they are (the lists of assumptions and issues, the lines after them) around
// blocks written on demand (one interpretation's statuses each). Every block's
// number of lines is known beforehand, so the report's length and any line's
// place are known without writing it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Blocks of lines written when they are read. Implementations may be read
// from several threads at once.
class TLineBlocks {
 public:
  virtual ~TLineBlocks() = default;
  virtual size_t BlockCount() const = 0;
  virtual size_t LineCount(size_t block) const = 0;
  // Bytes of the block's longest line.
  virtual size_t LongestLine(size_t block) const = 0;
  // The lines of one block, exactly LineCount(block) of them.
  virtual std::shared_ptr<const std::vector<std::string>> Lines(size_t block) const = 0;
};

class TReportText {
 public:
  TReportText();
  // Lines written already.
  TReportText(std::vector<std::string> lines);  // NOLINT: a report is its lines
  explicit TReportText(std::shared_ptr<const std::vector<std::string>> lines);
  // `head`, then the blocks, then `tail`.
  TReportText(std::vector<std::string> head, std::shared_ptr<const TLineBlocks> blocks,
              std::vector<std::string> tail);

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // Line `index` (0-based), written if need be.
  std::string operator[](size_t index) const;
  // Every line in order, each block written once and let go.
  void ForEachLine(const std::function<void(const std::string&)>& visit) const;
  // Bytes of the longest line, and the lines of at least `minimum` bytes in
  // order until `visit` answers false; blocks without such a line are not
  // written.
  size_t LongestLine() const { return longest_; }
  void ForEachLongLine(size_t minimum, const std::function<bool(const std::string&)>& visit) const;
  // The same report with `lines` after its last line; the blocks are shared.
  TReportText Appended(const std::vector<std::string>& lines) const;
  // The same report with its last `count` lines (all, when it has fewer)
  // replaced by `lines`. The lines kept are shared, not copied, unless the
  // lines replaced reach into the blocks: then the report is written out.
  TReportText Replaced(size_t count, std::vector<std::string> lines) const;
  // Every line, written out (for small reports and tests).
  std::vector<std::string> ToVector() const;
  operator std::vector<std::string>() const { return ToVector(); }  // NOLINT
  bool operator==(const std::vector<std::string>& lines) const;

 private:
  // The shared lines before the blocks; only the first headSize_ belong to
  // this report (a report whose last lines were replaced shares the rest).
  std::shared_ptr<const std::vector<std::string>> head_;
  size_t headSize_ = 0;
  std::shared_ptr<const TLineBlocks> blocks_;
  std::vector<std::string> tail_;
  std::vector<size_t> blockStarts_;  // line of each block's first line, after the head
  size_t size_ = 0;
  size_t longest_ = 0;

  // Bytes of the longest line, found anew.
  size_t MeasureLongest() const;
};
