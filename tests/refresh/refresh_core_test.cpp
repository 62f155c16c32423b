// The widget-free refresh: roles, status text, interpretation buttons and the
// report, line by line, from theory files built in memory.
#include <gtest/gtest.h>

#include <algorithm>

#include "refresh/refresh_core.h"
#include "evaluation/interpretations.h"
#include "logic/parser.h"
#include "tests/evaluation/theory_families.h"

namespace {

using TLines = std::vector<std::string>;

TKorvelFile FileOf(const std::vector<std::string>& assumptions,
                   const std::vector<std::string>& issues = {}) {
  TKorvelTheory theory;
  for (const auto& text : assumptions) families::Assume(theory, ParseSentence(text));
  for (const auto& text : issues) {
    theory.Issues.push_back(ParseSentence(text));
    theory.Issues.back()->IsIssue = true;
  }
  TKorvelFile file;
  WriteTheory(theory, file);
  return file;
}

TKorvelFile FileOfTheory(TKorvelTheory theory) {
  TKorvelFile file;
  WriteTheory(theory, file);
  return file;
}

const TLines kNoInterpretationTail = {"THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS",
                                      ""};

TLines Tail(const TLines& lines, size_t count) {
  return count > lines.size() ? lines : TLines(lines.end() - static_cast<long>(count), lines.end());
}

TEST(RefreshCore, DocumentsWithoutEvaluation) {
  // A new, empty document (the holder of a file without a theory block).
  TRefreshResult empty = Refresh({TKorvelFile{}, {}});
  EXPECT_EQ((TLines{"ASSUMPTIONS", "", "", "", "ISSUES", "", "", "",
                    "THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS", ""}),
            empty.ReportLines.ToVector());
  EXPECT_EQ("", empty.StatusText);
  EXPECT_EQ(0u, empty.InterpretationButtons);
  EXPECT_FALSE(empty.Evaluated);
  EXPECT_EQ("<KORVEL>\r\n<THEORY>\r\n\r\n</THEORY>\r\n<ISSUES>\r\n\r\n</ISSUES>\r\n</KORVEL>\r\n",
            empty.TheoryFile.Text);

  // Issues but no assumptions: nothing is evaluated, nothing is marked.
  TRefreshResult issues = Refresh({FileOf({}, {"q", "x(r)"}), {}});
  EXPECT_FALSE(issues.Evaluated);
  EXPECT_EQ("", issues.StatusText);
  EXPECT_EQ((TLines{"ASSUMPTIONS", "", "", "", "ISSUES", "", "q", "x(r)", "r", "", "",
                    "THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS", ""}),
            issues.ReportLines.ToVector());
  EXPECT_EQ((std::vector<std::string>{"r"}), issues.AddedIssues);

  // Structure only: no evaluation although there are assumptions.
  const TKorvelFile file = FileOf({"if(p, x(q))", "if(q, x(p))", "p", "q"});
  TRefreshResult structure = Refresh({file, {.ShowStructureOnly = true}});
  EXPECT_FALSE(structure.Evaluated);
  EXPECT_EQ("", structure.StatusText);
  EXPECT_EQ(0u, structure.InterpretationButtons);
  EXPECT_TRUE(structure.Interpretations.empty());
  EXPECT_EQ(kNoInterpretationTail, Tail(structure.ReportLines.ToVector(), 2));
  for (const auto& s : structure.AllSentences)
    EXPECT_FALSE(s->IsJustified || s->IsDefeated) << s->Text;
  // Unchecked again, the same file is evaluated.
  EXPECT_EQ(2u, Refresh({file, {}}).InterpretationButtons);
}

TEST(RefreshCore, TheReportOfOneInterpretationLineByLine) {
  TRefreshResult result = Refresh({FileOf({"p", "x(q)"}, {"q"}), {}});
  const TLines expected = {"ASSUMPTIONS",
                           "",
                           "p",
                           "x(q)",
                           "",
                           "",
                           "ISSUES",
                           "",
                           "q",
                           "",
                           "",
                           "UNIQUE DIALECTICAL INTERPRETATION",
                           "    JUSTIFIED ASSUMPTIONS",
                           "        p",
                           "        x(q)",
                           "    DEFEATED ASSUMPTIONS",
                           "    JUSTIFIED ISSUES",
                           "    DEFEATED ISSUES",
                           "        q",
                           "    UNSETTLED ISSUES"};
  EXPECT_EQ(expected, result.ReportLines.ToVector());
  EXPECT_EQ("There is 1 dialectical interpretation.", result.StatusText);
  EXPECT_EQ(0u, result.InterpretationButtons);
  EXPECT_TRUE(result.AddedIssues.empty());  // q is already an issue
}

TEST(RefreshCore, ContainedSentencesBecomeIssuesConsequentFirst) {
  const TKorvelFile file = FileOf({"if(p, q)"});
  TRefreshResult result = Refresh({file, {}});
  EXPECT_EQ((std::vector<std::string>{"q", "p"}), result.AddedIssues);
  ASSERT_EQ(2u, result.Theory.Issues.size());
  EXPECT_TRUE(result.Theory.Issues[0]->IsIssue);
  EXPECT_EQ((TLines{"ISSUES", "", "q", "p", "", "", "UNIQUE DIALECTICAL INTERPRETATION",
                    "    JUSTIFIED ASSUMPTIONS", "        if(p, q)", "    DEFEATED ASSUMPTIONS",
                    "    JUSTIFIED ISSUES", "    DEFEATED ISSUES", "    UNSETTLED ISSUES",
                    "        q", "        p"}),
            Tail(result.ReportLines.ToVector(), 15));
  // The normal form was written before the issues were added.
  EXPECT_EQ(std::string::npos, result.TheoryFile.Text.find("<ISSUES>\r\n\r\n<SENTENCE>"));
  // A refresh of the same file adds them again; once the theory is written
  // with them they are read as issues and not added any more.
  EXPECT_EQ(result.AddedIssues, Refresh({result.TheoryFile, {}}).AddedIssues);
  TKorvelFile written;
  WriteTheory(result.Theory, written);
  TRefreshResult next = Refresh({written, {}});
  EXPECT_TRUE(next.AddedIssues.empty());
  EXPECT_EQ(2u, next.Theory.Issues.size());
}

TEST(RefreshCore, SeveralInterpretationsAreReportedInTurnAndTheFirstStaysMarked) {
  TRefreshResult result = Refresh({FileOf({"if(p, x(q))", "if(q, x(p))", "p", "q"}), {}});
  EXPECT_EQ("There are 2 dialectical interpretations.", result.StatusText);
  EXPECT_EQ(2u, result.InterpretationButtons);
  const TLines block1 = {"DIALECTICAL INTERPRETATION 1",
                         "    JUSTIFIED ASSUMPTIONS",
                         "        if(p, x(q))",
                         "        if(q, x(p))",
                         "        q",
                         "    DEFEATED ASSUMPTIONS",
                         "        p",
                         "    JUSTIFIED ISSUES",
                         "        x(p)",
                         "    DEFEATED ISSUES",
                         "    UNSETTLED ISSUES",
                         "        x(q)",
                         "",
                         ""};
  const TLines block2 = {"DIALECTICAL INTERPRETATION 2",
                         "    JUSTIFIED ASSUMPTIONS",
                         "        if(p, x(q))",
                         "        if(q, x(p))",
                         "        p",
                         "    DEFEATED ASSUMPTIONS",
                         "        q",
                         "    JUSTIFIED ISSUES",
                         "        x(q)",
                         "    DEFEATED ISSUES",
                         "    UNSETTLED ISSUES",
                         "        x(p)",
                         "",
                         ""};
  TLines expected = block1;
  expected.insert(expected.end(), block2.begin(), block2.end());
  EXPECT_EQ(expected, Tail(result.ReportLines.ToVector(), expected.size()));
  // The marks in force are interpretation 1's: q justified, p defeated.
  const auto& assumptions = result.Theory.Assumptions;
  EXPECT_TRUE(assumptions[3]->IsJustified);
  EXPECT_TRUE(assumptions[2]->IsDefeated);

  // A click on button 2 marks the other interpretation; AllSentences keeps
  // its entries.
  const size_t sentences = result.AllSentences.size();
  ASSERT_TRUE(
      MarkShownInterpretation(result.Theory, result.Interpretations, 1, result.AllSentences));
  EXPECT_TRUE(assumptions[2]->IsJustified);
  EXPECT_TRUE(assumptions[3]->IsDefeated);
  EXPECT_EQ(sentences, result.AllSentences.size());
  EXPECT_FALSE(
      MarkShownInterpretation(result.Theory, result.Interpretations, 2, result.AllSentences));
}

TEST(RefreshCore, NoInterpretationClearsTheMarks) {
  TRefreshResult result = Refresh({FileOf({"p", "if(p, x(p))"}), {}});
  EXPECT_TRUE(result.Evaluated);
  EXPECT_EQ("There is no dialectical interpretation.", result.StatusText);
  EXPECT_EQ(kNoInterpretationTail, Tail(result.ReportLines.ToVector(), 2));
  for (const auto& s : result.AllSentences)
    EXPECT_FALSE(s->IsJustified || s->IsDefeated) << s->Text;
}

TEST(RefreshCore, TheLayoutStepRunsAfterTheRolesAndItsIssuesAreReported) {
  std::vector<std::string> seenIssues;
  TLayoutStep layout = [&seenIssues](TKorvelTheory& theory, const TListOfKorvelSentences& all) {
    for (const auto& s : theory.Issues) seenIssues.push_back(s->Text);
    EXPECT_EQ(3u, all.size());
    auto extra = MakeElementarySentence("drawn");
    extra->IsIssue = true;
    theory.Issues.push_back(extra);
  };
  TRefreshResult result = Refresh({FileOf({"if(p, q)"}), {}, layout});
  EXPECT_EQ((std::vector<std::string>{"q", "p"}), seenIssues);
  EXPECT_EQ((TLines{"    UNSETTLED ISSUES", "        q", "        p", "        drawn"}),
            Tail(result.ReportLines.ToVector(), 4));

  // An issue added there is reported with its status in the interpretation.
  TLayoutStep addJustified = [](TKorvelTheory& theory, const TListOfKorvelSentences&) {
    auto derived = MakeElementarySentence("q");
    derived->IsIssue = true;
    theory.Issues.push_back(derived);
  };
  TRefreshResult marked = Refresh({FileOf({"p", "if(p, q)"}), {}, addJustified});
  EXPECT_EQ((TLines{"    JUSTIFIED ISSUES", "        q", "        q", "    DEFEATED ISSUES",
                    "    UNSETTLED ISSUES"}),
            Tail(marked.ReportLines.ToVector(), 5));
}

TEST(RefreshCore, ParsingDecidesWhetherAConditionalTextFires) {
  TKorvelTheory theory;
  families::Assume(theory, families::Atom("p"));
  families::Assume(theory, families::Atom("q"));
  families::Assume(theory, families::Atom("if(p, x(q))"));  // as a file holds it
  const TKorvelFile file = FileOfTheory(std::move(theory));
  TRefreshResult parsed = Refresh({file, {}});
  TRefreshResult unparsed = Refresh({file, {.ParseSentences = false}});
  auto lineAfter = [](const TLines& lines, const std::string& heading) {
    auto at = std::find(lines.begin(), lines.end(), heading);
    return at == lines.end() || at + 1 == lines.end() ? std::string("(none)") : *(at + 1);
  };
  EXPECT_EQ("        q", lineAfter(parsed.ReportLines.ToVector(), "    DEFEATED ASSUMPTIONS"));
  EXPECT_EQ("    JUSTIFIED ISSUES", lineAfter(unparsed.ReportLines.ToVector(), "    DEFEATED ASSUMPTIONS"));
}

TEST(RefreshCore, TooManyInterpretationsAreCutAndSaidToBe) {
  TRefreshResult result = Refresh({FileOfTheory(families::Pairs(14)), {}});  // 16384
  EXPECT_TRUE(result.InterpretationsCut);
  EXPECT_EQ(kInterpretationLimit, result.Interpretations.size());
  EXPECT_EQ(kInterpretationLimit, result.InterpretationButtons);
  EXPECT_EQ("There are more than 10000 dialectical interpretations; the first 10000 are shown.",
            result.StatusText);
  const TLines lines = result.ReportLines.ToVector();
  const auto cutLine =
      std::find(lines.begin(), lines.end(), "ONLY THE FIRST 10000 DIALECTICAL INTERPRETATIONS ARE LISTED; THERE ARE MORE");
  ASSERT_NE(lines.end(), cutLine);
  EXPECT_EQ("DIALECTICAL INTERPRETATION 1", *(cutLine + 3));
  EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "DIALECTICAL INTERPRETATION 10000"));
  EXPECT_EQ(0, std::count(lines.begin(), lines.end(), "DIALECTICAL INTERPRETATION 10001"));
}

}  // namespace
