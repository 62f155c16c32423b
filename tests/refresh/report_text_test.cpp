// A report whose last lines are replaced (a stopped evaluation's line) reads
// exactly as the same lines written out would, while the report it came from
// stays as it was.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "refresh/report_text.h"

namespace {

// Blocks of lines given whole; counts every block written.
class TGivenBlocks : public TLineBlocks {
 public:
  explicit TGivenBlocks(std::vector<std::vector<std::string>> blocks) : blocks_(std::move(blocks)) {}
  size_t BlockCount() const override { return blocks_.size(); }
  size_t LineCount(size_t block) const override { return blocks_[block].size(); }
  size_t LongestLine(size_t block) const override {
    size_t longest = 0;
    for (const std::string& line : blocks_[block]) longest = std::max(longest, line.size());
    return longest;
  }
  std::shared_ptr<const std::vector<std::string>> Lines(size_t block) const override {
    return std::make_shared<const std::vector<std::string>>(blocks_[block]);
  }

 private:
  std::vector<std::vector<std::string>> blocks_;
};

// Every way of reading the report agrees with the lines expected.
void ExpectReads(const TReportText& report, const std::vector<std::string>& expected) {
  EXPECT_TRUE(report == expected);
  ASSERT_EQ(report.size(), expected.size());
  size_t longest = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(report[i], expected[i]) << "line " << i;
    longest = std::max(longest, expected[i].size());
  }
  EXPECT_EQ(report.LongestLine(), longest);
  std::vector<std::string> longLines, expectedLong;
  for (const std::string& line : expected)
    if (line.size() >= 4) expectedLong.push_back(line);
  report.ForEachLongLine(4, [&](const std::string& line) {
    longLines.push_back(line);
    return true;
  });
  EXPECT_EQ(longLines, expectedLong);
  // Lines appended after the replaced ones come after them.
  std::vector<std::string> more = expected;
  more.insert(more.end(), {"", "MORE"});
  EXPECT_TRUE(report.Appended({"", "MORE"}) == more);
}

}  // namespace

TEST(ReportText, ReplacedLastLinesReadAsTheLinesWrittenOut) {
  const std::vector<std::string> head = {"ASSUMPTIONS", "a", "a much longer assumption", "ISSUES", "s",
                                         "THE EVALUATION IS UNDER WAY", ""};
  const std::vector<std::vector<std::string>> blocks = {{"INTERPRETATION 1", "a: justified"},
                                                        {"INTERPRETATION 2", "a: defeated"}};
  const std::vector<std::string> tail = {"", "2 INTERPRETATIONS", ""};
  auto lines = [](std::vector<std::string> kept, size_t drop, const std::vector<std::string>& added) {
    kept.resize(kept.size() > drop ? kept.size() - drop : 0);
    kept.insert(kept.end(), added.begin(), added.end());
    return kept;
  };
  std::vector<std::string> all = head;
  for (const auto& block : blocks) all.insert(all.end(), block.begin(), block.end());
  all.insert(all.end(), tail.begin(), tail.end());

  struct TCase {
    const char* name;
    bool withBlocks;
    size_t count;
    std::vector<std::string> added;
  };
  const std::vector<TCase> cases = {
      {"the last two of a written report", false, 2, {"THE EVALUATION WAS STOPPED", ""}},
      {"none, only added", false, 0, {"AFTER"}},
      {"by nothing", false, 3, {}},
      {"the longest line among those replaced", false, 6, {"x"}},
      {"more than there are", false, 100, {"ALONE"}},
      {"within the tail after blocks", true, 2, {"STOPPED", ""}},
      {"the whole tail", true, 3, {"STOPPED"}},
      {"reaching into the blocks", true, 4, {"STOPPED"}},
      {"every line after blocks", true, all.size(), {"ONLY"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string>& before = c.withBlocks ? all : head;
    const TReportText report = c.withBlocks ? TReportText(head, std::make_shared<TGivenBlocks>(blocks), tail)
                                            : TReportText(head);
    const TReportText replaced = report.Replaced(c.count, c.added);
    ExpectReads(replaced, lines(before, c.count, c.added));
    ExpectReads(report, before);  // the lines it shares stay as they were
    // Replaced again, as a second stop would.
    ExpectReads(replaced.Replaced(1, {"AGAIN"}), lines(lines(before, c.count, c.added), 1, {"AGAIN"}));
  }
}
