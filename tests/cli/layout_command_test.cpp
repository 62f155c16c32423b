// korvel layout run in-process on theory files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/command_line.h"

namespace {

std::string Block(const std::string& sentence) { return "<SENTENCE>\n" + sentence + "\n</SENTENCE>\n"; }
std::string Elementary(const std::string& text) {
  return Block("<ELEMENTARYSENTENCE>\n" + text + "\n</ELEMENTARYSENTENCE>");
}
std::string Support(const std::string& antecedent, const std::string& consequent) {
  return Block("<CONDITIONAL>\n<ANTECEDENT>\n" + antecedent + "</ANTECEDENT>\n<CONSEQUENT>\n" + consequent +
               "</CONSEQUENT>\n</CONDITIONAL>");
}

struct TRun {
  int Exit;
  std::string Out, Err;
};

TRun Korvel(std::vector<std::string> arguments) {
  std::ostringstream out, err;
  const int exit = RunKorvel(arguments, out, err);
  return {exit, out.str(), err.str()};
}

}  // namespace

TEST(LayoutCommand, PrintsTheDrawingCallsOfTheOpenedFile) {
  // Assumption if(p, s) and the issue s; p is made an issue by the refresh
  // before the diagram is drawn.
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "pelmora_layout_command.kvl";
  {
    std::ofstream file(path, std::ios::binary);
    file << "<KORVEL>\n<THEORY>\n" << Support(Elementary("p"), Elementary("s")) << "</THEORY>\n<ISSUES>\n"
         << Elementary("s") << "</ISSUES>\n</KORVEL>\n";
  }
  const std::string expected =
      "box 0 0 1 0 s\n"
      "link BoxDropSupport 1 0 0 1 1 1 if(p, s)\n"
      "box 1 1 0 2 p\n"
      "rows 2\n";
  TRun run = Korvel({"layout", path.string()});
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, expected);
  run = Korvel({"layout", "--structure-only", "--no-parse", path.string()});
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, expected);
  std::filesystem::remove(path);
}

TEST(LayoutCommand, UnreadableFileAndWrongUsage) {
  TRun run = Korvel({"layout", "/nonexistent/pelmora/theory.kvl"});
  EXPECT_EQ(run.Exit, 1);
  EXPECT_TRUE(run.Out.empty());
  EXPECT_NE(run.Err.find("cannot read"), std::string::npos);
  EXPECT_EQ(Korvel({"layout"}).Exit, 2);
  EXPECT_EQ(Korvel({"layout", "a.kvl", "--bold"}).Exit, 2);
}
