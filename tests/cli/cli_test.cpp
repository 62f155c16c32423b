#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/command_line.h"

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

TEST(KorvelCommand, NamesWithControlCharactersArePrintedEscaped) {
  const struct {
    std::string Name, Printed;
  } cases[] = {
      {"plain/theory.kvl", "plain/theory.kvl"},
      {"caf\xC3\xA9 b\xC3\xA4r.kvl", "caf\xC3\xA9 b\xC3\xA4r.kvl"},  // UTF-8 as it stands
      {"a\nb", "\"a\\nb\""},
      {"\x1B[31mred", "\"\\x1B[31mred\""},
      {"tab\there\r", "\"tab\\there\\r\""},
      {"quote\"and\\back\x7F", "\"quote\\\"and\\\\back\\x7F\""},
      {"bad\xFF", "\"bad\\xFF\""},
      {"c1\xC2\x9B" "2J", "\"c1\\xC2\\x9B2J\""},  // a C1 control in UTF-8
      {"cut\xE2\x82", "\"cut\\xE2\\x82\""},         // a sequence cut short
  };
  for (const auto& c : cases) EXPECT_EQ(PrintableName(c.Name), c.Printed) << c.Printed;

  KorvelRun run = Korvel({"normalize", "/nonexistent/\x1B]0;title\x07\n.kvl"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err,
            "korvel: cannot read \"/nonexistent/\\x1B]0;title\\x07\\n.kvl\": No such file or directory\n");
  EXPECT_EQ(Korvel({"n\x1B" "c"}).err.rfind("korvel: unknown command '\"n\\x1Bc\"'\n", 0), 0u);
}

TEST(KorvelCommand, NormalizeOfAnEndlessNulSourceEndsAtOnce) {
  // The text ends at the first NUL: an empty theory, read from one chunk.
  KorvelRun zero = Korvel({"normalize", "/dev/zero"});
  EXPECT_EQ(zero.code, 0);
  EXPECT_EQ(zero.out,
            "<KORVEL>\r\n<THEORY>\r\n\r\n</THEORY>\r\n<ISSUES>\r\n\r\n</ISSUES>\r\n</KORVEL>\r\n\r\n");
}

TEST(KorvelCommand, NormalizeNamesSentencesTheFileCannotHold) {
  const std::string path = (std::filesystem::temp_directory_path() / "pelmora-cli-tag.kvl").string();
  std::ofstream(path, std::ios::binary)
      << "<KORVEL><THEORY><THEORY><SENTENCE><ELEMENTARYSENTENCE>p<THEORY>q</ELEMENTARYSENTENCE>"
         "</SENTENCE><SENTENCE><ELEMENTARYSENTENCE>r</ELEMENTARYSENTENCE></SENTENCE></THEORY>"
         "<ISSUES></ISSUES></KORVEL>";
  KorvelRun run = Korvel({"normalize", path});
  EXPECT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("p<THEORY>q"), std::string::npos);  // the bytes stay those of the program
  EXPECT_EQ(run.err,
            "korvel: these sentences cannot be stored: the normal form reads back without them or "
            "changed\n  p<THEORY>q\n");
  EXPECT_EQ(Korvel({"normalize", kExample}).err, "");
  std::filesystem::remove(path);
}

// A foreign file is refused; a damaged one is used as far as it reads, with
// a word on the error stream; an empty file is the empty theory, silently.
TEST(KorvelCommand, ForeignAndDamagedFilesSaySo) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("pelmora-cli-damaged-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string block = "<SENTENCE><ELEMENTARYSENTENCE>p</ELEMENTARYSENTENCE></SENTENCE>";
  const std::string misspelled = "<KORVEL><THEORY>" + block +
                                 "<SENTENCE><ELEMENTARYSENTENSE>q</ELEMENTARYSENTENCE></SENTENCE></THEORY>"
                                 "<ISSUES></ISSUES></KORVEL>";
  const struct {
    const char* name;
    std::string content;
    int code;
    std::string err;  // after "korvel: " and the path
  } cases[] = {
      {"empty.kvl", "", 0, ""},
      {"passwd", "root:x:0:0:root:/root:/bin/sh\n", 1, " holds no Korvel theory\n"},
      {"cut.kvl", "<KORVEL>\r\n<THEORY>\r\n" + block, 0, ": reading stopped at byte 1; 0 sentences were read\n"},
      {"misspelled.kvl", misspelled, 0, ": reading stopped at byte 80; 1 sentence was read\n"},
  };
  for (const auto& c : cases) {
    const std::string path = (dir / c.name).string();
    std::ofstream(path, std::ios::binary) << c.content;
    for (const char* command : {"normalize", "report"}) {
      KorvelRun run = Korvel({command, path});
      EXPECT_EQ(run.code, c.code) << c.name << " " << command;
      EXPECT_EQ(run.err, c.err.empty() ? "" : "korvel: " + path + c.err) << c.name << " " << command;
      EXPECT_EQ(run.out.empty(), c.code != 0) << c.name << " " << command;
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
