// `korvel report` and `korvel interpretations`, run in-process.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "cli/command_line.h"
#include "logic/parser.h"
#include "tests/evaluation/theory_families.h"

namespace {

struct TRun {
  int Code = -1;
  std::string Out, Err;
};

TRun Korvel(const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  TRun run;
  run.Code = RunKorvel(arguments, out, err);
  run.Out = out.str();
  run.Err = err.str();
  return run;
}

// Theory files written into a directory of their own, removed afterwards.
class KorvelEvaluationCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() /
                 ("korvel_evaluation_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string Write(const std::string& name, TKorvelTheory theory) {
    TKorvelFile file;
    WriteTheory(theory, file);
    const std::string path = (directory_ / name).string();
    file.SaveToFile(path);
    return path;
  }
  std::string Write(const std::string& name, const std::vector<std::string>& assumptions,
                    const std::vector<std::string>& issues = {}) {
    TKorvelTheory theory;
    for (const auto& text : assumptions) families::Assume(theory, ParseSentence(text));
    for (const auto& text : issues) {
      theory.Issues.push_back(ParseSentence(text));
      theory.Issues.back()->IsIssue = true;
    }
    return Write(name, std::move(theory));
  }

  std::filesystem::path directory_;
};

TEST_F(KorvelEvaluationCommands, ReportPrintsTheTheoryViewWithLfLineEnds) {
  const std::string example = std::string(PELMORA_TEST_DATA_DIR) + "/example.kvl";
  TRun run = Korvel({"report", example});
  EXPECT_EQ(0, run.Code);
  EXPECT_EQ("", run.Err);
  EXPECT_EQ(
      "ASSUMPTIONS\n\na\nif(a, b)\n\n\nISSUES\n\nb\n\n\n"
      "UNIQUE DIALECTICAL INTERPRETATION\n"
      "    JUSTIFIED ASSUMPTIONS\n        a\n        if(a, b)\n"
      "    DEFEATED ASSUMPTIONS\n"
      "    JUSTIFIED ISSUES\n        b\n"
      "    DEFEATED ISSUES\n"
      "    UNSETTLED ISSUES\n",
      run.Out);
  TRun structure = Korvel({"report", example, "--structure-only"});
  EXPECT_EQ(
      "ASSUMPTIONS\n\na\nif(a, b)\n\n\nISSUES\n\nb\n\n\n"
      "THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS\n\n",
      structure.Out);
}

TEST_F(KorvelEvaluationCommands, ReportWithoutParsingKeepsCompoundLookingTextsElementary) {
  TKorvelTheory theory;
  families::Assume(theory, families::Atom("p"));
  families::Assume(theory, families::Atom("q"));
  families::Assume(theory, families::Atom("if(p, x(q))"));
  const std::string path = Write("texts.kvl", std::move(theory));
  // Parsed, the third text is an attack on q, and its parts become issues.
  EXPECT_NE(std::string::npos,
            Korvel({"report", path}).Out.find("    DEFEATED ASSUMPTIONS\n        q\n"));
  TRun unparsed = Korvel({"report", "--no-parse", path});
  EXPECT_NE(std::string::npos, unparsed.Out.find("ISSUES\n\n\n\nUNIQUE"));
  EXPECT_NE(std::string::npos,
            unparsed.Out.find("    DEFEATED ASSUMPTIONS\n    JUSTIFIED ISSUES\n"));
}

TEST_F(KorvelEvaluationCommands, InterpretationsOneLinePerInterpretation) {
  EXPECT_EQ(
      "if(p, x(q)) | if(q, x(p)) | q\nif(p, x(q)) | if(q, x(p)) | p\n",
      Korvel({"interpretations", Write("two.kvl", {"if(p, x(q))", "if(q, x(p))", "p", "q"})}).Out);
  EXPECT_EQ("NONE\n", Korvel({"interpretations", Write("none.kvl", {"p", "if(p, x(p))"})}).Out);
  TRun issuesOnly = Korvel({"interpretations", Write("issues.kvl", {}, {"q"})});
  EXPECT_EQ(0, issuesOnly.Code);
  EXPECT_EQ("", issuesOnly.Out);
  // With parsing off the file's texts are taken as they stand.
  TKorvelTheory theory;
  families::Assume(theory, families::Atom("p"));
  families::Assume(theory, families::Atom("if(p, x(p))"));
  const std::string path = Write("texts.kvl", std::move(theory));
  EXPECT_EQ("NONE\n", Korvel({"interpretations", path}).Out);
  EXPECT_EQ("p | if(p, x(p))\n", Korvel({"interpretations", "--no-parse", path}).Out);
}

TEST_F(KorvelEvaluationCommands, ACutListIsPrintedAndSaidToBeCut) {
  TRun run = Korvel({"interpretations", Write("pairs.kvl", families::Pairs(14))});
  EXPECT_EQ(0, run.Code);
  EXPECT_EQ(10000, std::count(run.Out.begin(), run.Out.end(), '\n'));
  EXPECT_EQ("korvel: only the first 10000 dialectical interpretations are listed; there are more\n",
            run.Err);
}

TEST_F(KorvelEvaluationCommands, UnreadableFilesAndWrongUsage) {
  const std::string missing = (directory_ / "missing.kvl").string();
  for (const char* command : {"report", "interpretations"}) {
    TRun unreadable = Korvel({command, missing});
    EXPECT_EQ(1, unreadable.Code) << command;
    EXPECT_EQ("", unreadable.Out) << command;
    EXPECT_NE(std::string::npos, unreadable.Err.find("cannot read")) << command;
    EXPECT_EQ(2, Korvel({command}).Code) << command;
    EXPECT_EQ(2, Korvel({command, missing, missing}).Code) << command;
  }
  EXPECT_EQ(2, Korvel({"interpretations", "--structure-only", missing}).Code);
  EXPECT_EQ(2, Korvel({"report", "--layout", missing}).Code);
}

TEST_F(KorvelEvaluationCommands, AcceptancePrintsTwoLettersPerSentenceOfTheReport) {
  // a and b attack each other, c is attacked by b; the issue d is never reached.
  const std::string choice =
      Write("choice.kvl", {"a", "b", "c", "if(a, x(b))", "if(b, x(a))", "if(b, x(c))"}, {"d"});
  TRun run = Korvel({"acceptance", choice});
  EXPECT_EQ(0, run.Code);
  EXPECT_EQ("", run.Err);
  EXPECT_EQ(
      "jd a\njd b\njd c\nJ- if(a, x(b))\nJ- if(b, x(a))\nJ- if(b, x(c))\n"
      "-- d\nj- x(b)\nj- x(a)\nj- x(c)\n",
      run.Out);

  const std::string cycle =
      Write("cycle.kvl", {"a", "b", "c", "if(a, x(b))", "if(b, x(c))", "if(c, x(a))"});
  EXPECT_EQ("THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS\n",
            Korvel({"acceptance", cycle}).Out);
  EXPECT_EQ("", Korvel({"acceptance", Write("issues.kvl", {}, {"d"})}).Out);

  TRun json = Korvel({"acceptance", choice, "--json"});
  EXPECT_EQ(0, json.Code);
  EXPECT_NE(json.Out.find("\"command\": \"acceptance\""), std::string::npos);
  EXPECT_NE(json.Out.find("\"text\": \"if(b, x(c))\",\n      \"role\": \"assumption\",\n"
                          "      \"justified\": \"all\",\n      \"defeated\": \"none\""),
            std::string::npos)
      << json.Out;
  EXPECT_EQ(2, Korvel({"acceptance", choice, "--no-parse"}).Code);
}

}  // namespace
