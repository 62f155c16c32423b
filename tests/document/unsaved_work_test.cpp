// Work a crash left in the scratch file: what start-up sets aside, and what
// it leaves alone because a file on disk (or nothing at all) matches it.
#include "document/unsaved_work.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/document/temporary_directory.h"

namespace {

namespace fs = std::filesystem;

const std::string kWork =
    "<KORVEL>\r\n<THEORY>\r\n\r\n<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\np\r\n</ELEMENTARYSENTENCE>\r\n"
    "</SENTENCE>\r\n\r\n</THEORY>\r\n<ISSUES>\r\n\r\n</ISSUES>\r\n</KORVEL>\r\n\r\n";

TEST(UnsavedWork, TheLastFileOpenedOrSavedComesFromTheLog) {
  EXPECT_EQ(LastFileInLog({}), "");
  EXPECT_EQ(LastFileInLog({"USER ACTION LOGS of the Pelmora program", "", "[09:00:00]  Open file:/a/b.kvl",
                           "", "[09:01:00]  Save file as:/c d.kvl", "[09:02:00]  Delete: Open file:x"}),
            "/c d.kvl");
  EXPECT_EQ(LastFileInLog({"[09:00:00]  Save file (existing):/a.kvl", "[09:00:01]  New file"}), "/a.kvl");
}

TEST(UnsavedWork, OnlyATheoryNoFileMatchesIsSetAside) {
  struct TCase {
    const char* name;
    std::string scratch;    // empty: no scratch file
    std::string lastFile;   // written as "last.kvl" when not empty
    bool setAside;
  };
  const std::string handMade =
      "<KORVEL><THEORY><SENTENCE><ELEMENTARYSENTENCE> p </ELEMENTARYSENTENCE></SENTENCE></THEORY></KORVEL>";
  const std::vector<TCase> cases = {
      {"no scratch file", "", "", false},
      {"the empty theory of New", "<KORVEL>\r\n</KORVEL>\r\n", "", false},
      {"no theory at all", "garbage", "", false},
      {"work and no file", kWork, "", true},
      {"work saved, in another form", kWork, handMade, false},
      {"work saved byte for byte", kWork, kWork, false},
      {"a file that is only alike", kWork, kWork + " ", false},
      {"work changed after the save", kWork, "<KORVEL><THEORY></THEORY></KORVEL>", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TTemporaryDirectory directory;
    const std::string scratch = directory.File("~tmp.kvl");
    if (!c.scratch.empty()) WriteBytes(scratch, c.scratch);
    std::string last;
    if (!c.lastFile.empty()) WriteBytes(last = directory.File("last.kvl"), c.lastFile);
    const std::optional<TUnsavedWork> work = SetAsideUnsavedWork(scratch, last);
    ASSERT_EQ(work.has_value(), c.setAside);
    if (!work) {
      if (!c.scratch.empty()) {
        EXPECT_EQ(ReadBytes(scratch), c.scratch);
      }
      continue;
    }
    EXPECT_FALSE(fs::exists(scratch));
    EXPECT_EQ(ReadBytes(work->Path), c.scratch);
    EXPECT_EQ(fs::path(work->Path).parent_path(), fs::path(directory.Path()));
    EXPECT_EQ(fs::path(work->Path).filename().string().rfind("~tmp-unsaved-", 0), 0u);
    EXPECT_EQ(RecoveryQuestion(*work).rfind("Recover unsaved work from ", 0), 0u);
  }
}

// Two crashes within one second keep both pieces of work.
TEST(UnsavedWork, ASecondCrashDoesNotReplaceTheFirstWork) {
  TTemporaryDirectory directory;
  const std::string scratch = directory.File("~tmp.kvl");
  WriteBytes(scratch, kWork);
  const auto first = SetAsideUnsavedWork(scratch, "");
  ASSERT_TRUE(first);
  WriteBytes(scratch, kWork);
  fs::last_write_time(scratch, fs::last_write_time(first->Path));
  const auto second = SetAsideUnsavedWork(scratch, "");
  ASSERT_TRUE(second);
  EXPECT_NE(first->Path, second->Path);
  EXPECT_TRUE(fs::exists(first->Path));
}

}  // namespace
