// Mapping a block's pages ahead changes nothing of what is written into it,
// whatever the block's size and alignment, and whether it is filled while
// the mapping runs, filled at once or not filled before it is let go of.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "diagram/pages_mapped_ahead.h"

TEST(PagesMappedAhead, LeavesWhatIsWrittenAsWritten) {
  struct TCase {
    const char* name;
    size_t bytes;
    size_t offset;  // into a larger block, so that the block starts inside a page
  };
  const std::vector<TCase> cases = {
      {"a small block, left alone", 4096, 0},
      {"a block of 24 MiB", 24u << 20, 0},
      {"a block of 24 MiB starting inside a page", 24u << 20, 12},
      {"a block of whole steps and one byte", (16u << 20) + 1, 3},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> block(c.bytes + c.offset + 16, 0xA5);
    std::uint8_t* begin = block.data() + c.offset;
    {
      const TPagesMappedAhead mapping(begin, c.bytes);
      // Filled from the start while the pages are mapped, as a drawing is.
      for (size_t i = 0; i < c.bytes; ++i) begin[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    bool same = true;
    for (size_t i = 0; i < c.bytes && same; ++i) same = begin[i] == static_cast<std::uint8_t>(i * 7 + 1);
    EXPECT_TRUE(same);
    // The bytes around the block are the caller's and stay as they were.
    for (size_t i = 0; i < c.offset; ++i) EXPECT_EQ(block[i], 0xA5);
    for (size_t i = c.offset + c.bytes; i < block.size(); ++i) EXPECT_EQ(block[i], 0xA5);
  }
  // Memory already written keeps its bytes when mapped again; a mapping let
  // go of at once stops.
  std::vector<std::uint32_t> written(6u << 20);
  std::iota(written.begin(), written.end(), 0u);
  { const TPagesMappedAhead mapping(written.data(), written.size() * sizeof(std::uint32_t)); }
  bool kept = true;
  for (size_t i = 0; i < written.size() && kept; ++i) kept = written[i] == i;
  EXPECT_TRUE(kept);
}
