// Every seed of the fuzz corpora and every input that ever made a fuzz check
// fail, replayed through the same check functions the fuzz targets run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/fuzz_checks.h"

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a check on every file of a directory; answers how many there were.
size_t Replay(const TFuzzCheck& check, const fs::path& directory) {
  size_t files = 0;
  if (!fs::is_directory(directory)) return files;
  for (const auto& entry : fs::directory_iterator(directory)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    EXPECT_EQ(check.Check(ReadBytes(entry.path())), "") << check.Name << ": " << entry.path();
  }
  return files;
}

TEST(FuzzReplay, EveryCheckPassesOnItsSeedsAndRegressions) {
  const fs::path root(PELMORA_FUZZ_DIR);
  size_t seeds = 0, regressions = 0;
  for (const TFuzzCheck& check : FuzzChecks()) {
    const size_t own = Replay(check, root / "corpus" / check.Name);
    EXPECT_GT(own, 0u) << "no seed for " << check.Name;
    seeds += own;
    regressions += Replay(check, root / "regressions" / check.Name);
  }
  EXPECT_GT(regressions, 0u);
  RecordProperty("seeds", static_cast<int>(seeds));
  RecordProperty("regressions", static_cast<int>(regressions));
}

}  // namespace
