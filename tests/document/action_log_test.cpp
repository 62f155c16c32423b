#include "document/action_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/document/temporary_directory.h"
#include "tests/logic/file_size_limit.h"

namespace {

TActionLog FixedClockLog() {
  return TActionLog([] { return std::string("12:34:56"); });
}

const std::string kHeaderLine = std::string(kLogHeader) + "\r\n";

TEST(ActionLog, FirstRunWritesHeaderThenEachLineAsItIsLogged) {
  TTemporaryDirectory directory;
  TActionLog log = FixedClockLog();
  log.Open({directory.Path()});
  const std::string file = directory.File("UserAction.log");
  EXPECT_EQ(log.LogFileName(), file);

  log.LogAction("");
  EXPECT_EQ(ReadBytes(file), kHeaderLine + "\r\n");
  log.LogAction("START OF SESSION");
  EXPECT_EQ(ReadBytes(file), kHeaderLine + "\r\n[12:34:56]  START OF SESSION\r\n");
  EXPECT_EQ(log.LogLines(),
            (std::vector<std::string>{kLogHeader, "", "[12:34:56]  START OF SESSION"}));
  EXPECT_TRUE(log.UpToDate());
}

TEST(ActionLog, NothingIsRecordedBeforeTheLogIsOpened) {
  TTemporaryDirectory directory;
  TActionLog log = FixedClockLog();
  log.LogAction("New file");
  EXPECT_FALSE(log.LoggingEnabled());
  EXPECT_TRUE(log.LogLines().empty());
  EXPECT_FALSE(std::filesystem::exists(directory.File("UserAction.log")));
}

TEST(ActionLog, SecondRunKeepsEarlierContentAndAppends) {
  TTemporaryDirectory directory;
  const std::string file = directory.File("UserAction.log");
  const std::string earlier = kHeaderLine + "\r\n[09:00:00]  START OF SESSION\r\n";
  WriteBytes(file, earlier);

  TActionLog log = FixedClockLog();
  log.Open({directory.Path()});
  log.LogAction("");
  log.LogAction("START OF SESSION");
  EXPECT_EQ(ReadBytes(file), earlier + "\r\n[12:34:56]  START OF SESSION\r\n");
  ASSERT_EQ(log.LogLines().size(), 5u);
  EXPECT_EQ(log.LogLines()[2], "[09:00:00]  START OF SESSION");
}

TEST(ActionLog, EarlierContentInOtherLineEndsIsRewrittenWithCrLf) {
  TTemporaryDirectory directory;
  const std::string file = directory.File("UserAction.log");
  WriteBytes(file, "first\nsecond\rthird");  // LF, CR and an unfinished last line

  TActionLog log = FixedClockLog();
  log.Open({directory.Path()});
  log.LogAction("Open file:/a b/c.kvl");
  EXPECT_EQ(ReadBytes(file), "first\r\nsecond\r\nthird\r\n[12:34:56]  Open file:/a b/c.kvl\r\n");
}

TEST(ActionLog, UnusableLocationsFallBackToTheNextOne) {
  TTemporaryDirectory directory;
  // A directory below a plain file cannot be created, whoever runs the test.
  WriteBytes(directory.File("plain"), "x");
  const std::string impossible = directory.File("plain") + "/sub";
  // An existing log that cannot be read as a file must not be replaced.
  std::filesystem::create_directories(directory.File("unreadable") + "/UserAction.log");
  const std::string fallback = directory.File("fallback");

  TActionLog log = FixedClockLog();
  log.Open({impossible, directory.File("unreadable"), fallback});
  EXPECT_EQ(log.LogFileName(), fallback + "/UserAction.log");
  log.LogAction("START OF SESSION");
  EXPECT_EQ(ReadBytes(fallback + "/UserAction.log"), kHeaderLine + "[12:34:56]  START OF SESSION\r\n");
  EXPECT_TRUE(std::filesystem::is_directory(directory.File("unreadable") + "/UserAction.log"));
}

TEST(ActionLog, WithoutAnyLocationLinesAreKeptInMemory) {
  TTemporaryDirectory directory;
  WriteBytes(directory.File("plain"), "x");
  TActionLog log = FixedClockLog();
  log.Open({directory.File("plain") + "/sub"});
  EXPECT_TRUE(log.LoggingEnabled());
  EXPECT_TRUE(log.LogFileName().empty());
  log.LogAction("");
  log.LogAction("START OF SESSION");
  EXPECT_EQ(log.LogLines(), (std::vector<std::string>{kLogHeader, "", "[12:34:56]  START OF SESSION"}));
}

TEST(ActionLog, LinesThatCouldNotBeWrittenAreWrittenWithTheNextOne) {
  TTemporaryDirectory directory;
  const std::string file = directory.File("UserAction.log");
  TActionLog log = FixedClockLog();
  log.Open({directory.Path()});

  // The file turns into a directory for a while: the write fails.
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  log.LogAction("Support");
  EXPECT_FALSE(log.UpToDate());
  EXPECT_EQ(log.LogLines().back(), "[12:34:56]  Support");

  std::filesystem::remove(file);
  log.LogAction("Support for: p");
  EXPECT_TRUE(log.UpToDate());
  EXPECT_EQ(ReadBytes(file), kHeaderLine + "[12:34:56]  Support\r\n[12:34:56]  Support for: p\r\n");
}

// On a full disk neither the append nor the whole rewrite that follows it may
// cost the lines of earlier runs.
TEST(ActionLog, AFullDiskNeverShortensTheLog) {
  TTemporaryDirectory directory;
  const std::string file = directory.File("UserAction.log");
  std::string earlier = kHeaderLine;
  for (int run = 0; run < 40; ++run) earlier += "\r\n[09:00:00]  START OF SESSION\r\n";
  { std::ofstream(file, std::ios::binary) << earlier; }
  const int code = RunWithFileSizeLimit(earlier.size() / 2, [&] {
    TActionLog log = FixedClockLog();
    log.Open({directory.Path()});
    log.LogAction("New file");        // the append fails
    log.LogAction("Open file:a.kvl");  // so does the rewrite of the whole file
    return log.UpToDate() ? 1 : 0;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ReadBytes(file), earlier);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.Path()),
                          std::filesystem::directory_iterator()), 1);
}

TEST(ActionLog, DefaultClockGivesTheTimeOfDay) {
  const std::string time = TActionLog::LocalTimeOfDay();
  // Hours, minutes and seconds in whatever order the locale writes them.
  EXPECT_GE(time.size(), 8u);
  EXPECT_NE(time.find(':'), std::string::npos);
}

}  // namespace
