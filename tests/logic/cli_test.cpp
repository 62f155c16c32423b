#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "command_line.h"

namespace {

struct KorvelRun {
  int code;
  std::string out, err;
};

KorvelRun Korvel(std::vector<std::string> arguments) {
  std::ostringstream out, err;
  int code = RunKorvel(arguments, out, err);
  return {code, out.str(), err.str()};
}

const std::string kExample = std::string(PELMORA_TEST_DATA_DIR) + "/example.kvl";

TEST(KorvelCommand, NormalizeWritesTheScratchFileBytes) {
  KorvelRun run = Korvel({"normalize", kExample});
  EXPECT_EQ(run.code, 0);
  std::ifstream in(kExample, std::ios::binary);
  std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(Korvel({"normalize", "--no-parse", kExample}).out, expected);
}

TEST(KorvelCommand, MatchPrintsTheTestWindowLines) {
  EXPECT_EQ(Korvel({"match", "aa<x>bbb<x>cc", "aaxbbbxcc"}).out, "<x>: x\n<x>: x\n");
  EXPECT_EQ(Korvel({"match", "aa<x>bbb<x>cc", "aaxbbbycc"}).out, "<x>\n<x>\n");
  // After "--" an argument may begin with "-".
  EXPECT_EQ(Korvel({"match", "--", "-<v>", "-1"}).out, "<v>: 1\n");
}

TEST(KorvelCommand, MatchesPrintsTheReportAndTheMatchDiagram) {
  const std::string birds = std::string(PELMORA_TEST_DATA_DIR) + "/birds.kvl";
  KorvelRun run = Korvel({"matches", birds, "Pip is a bird"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out,
            "Sentence to match:\n\n    Pip is a bird\n\nExact matches found:\n\n"
            "    <x> is a bird\n    Pip is a bird\n        <x>: Pip\n\n"
            "Other matches found:\n\n"
            "    if(<x> is a bird, <x> flies)\n    if(Pip is a bird, Pip flies)\n"
            "        <x>: Pip\n        <x>: Pip\n\n"
            "---\n"
            "box 0 0 1 0 Pip flies\n"
            "link BoxDropSupport 1 0 0 1 1 1 if(Pip is a bird, Pip flies)\n"
            "box 1 1 0 2 Pip is a bird\n"
            "rows 2\n");
  // Only drawn sentences can be matched; a text drawn nowhere prints nothing.
  EXPECT_EQ(Korvel({"matches", birds, "Tweety is a bird"}).out, "");
  EXPECT_EQ(Korvel({"matches", "/nonexistent.kvl", "x"}).code, 1);
}

TEST(KorvelCommand, ErrorsAndUsage) {
  KorvelRun missing = Korvel({"normalize", "/nonexistent/theory.kvl"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err.rfind("korvel: cannot read /nonexistent/theory.kvl: ", 0), 0u) << missing.err;

  EXPECT_EQ(Korvel({}).code, 2);
  EXPECT_EQ(Korvel({"frobnicate"}).code, 2);
  EXPECT_EQ(Korvel({"normalize"}).code, 2);
  EXPECT_EQ(Korvel({"normalize", "--bogus", kExample}).code, 2);
  EXPECT_EQ(Korvel({"match", "only-one"}).code, 2);

  KorvelRun help = Korvel({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("normalize"), std::string::npos);
  KorvelRun version = Korvel({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("korvel ", 0), 0u);
}

}  // namespace
