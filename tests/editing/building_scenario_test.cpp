// A whole argument built from an empty document with clicks and typing only:
// a statement supported by a reason with two conjuncts, attacked by a
// counter-reason that is itself attacked, with one assumption set as issue.
// The theory, the report, the scratch file and the log are checked at each step.
#include "tests/editing/editing_fixture.h"

namespace {

using Names = std::vector<std::string>;

// The report for one interpretation: the lists, then the five sections.
Names UniqueReport(const Names& assumptions, const Names& issues, const Names& justifiedAssumptions,
                   const Names& defeatedAssumptions, const Names& justifiedIssues, const Names& defeatedIssues,
                   const Names& unsettledIssues) {
  Names lines{"ASSUMPTIONS", ""};
  lines.insert(lines.end(), assumptions.begin(), assumptions.end());
  lines.insert(lines.end(), {"", "", "ISSUES", ""});
  lines.insert(lines.end(), issues.begin(), issues.end());
  lines.insert(lines.end(), {"", "", "UNIQUE DIALECTICAL INTERPRETATION"});
  auto section = [&](const char* heading, const Names& entries) {
    lines.push_back(std::string("    ") + heading);
    for (const std::string& entry : entries) lines.push_back("        " + entry);
  };
  section("JUSTIFIED ASSUMPTIONS", justifiedAssumptions);
  section("DEFEATED ASSUMPTIONS", defeatedAssumptions);
  section("JUSTIFIED ISSUES", justifiedIssues);
  section("DEFEATED ISSUES", defeatedIssues);
  section("UNSETTLED ISSUES", unsettledIssues);
  return lines;
}

class TBuildingScenarioTest : public TEditingTest {
 protected:
  void ExpectTheory(const Names& assumptions, const Names& issues) {
    EXPECT_EQ(Assumptions(), assumptions);
    EXPECT_EQ(Issues(), issues);
  }
  // The scratch file holds the theory as the last refresh read it.
  void ExpectScratch(const Names& assumptions, const Names& issues) {
    EXPECT_EQ(ScratchBytes(), TheoryText(assumptions, issues) + "\r\n");
  }
  void ExpectBoxes(const Names& texts) {
    Names drawn;
    for (const TDiagramElement& element : diagram.Drawing.Elements)
      if (element.Kind == TElementKind::Frame) drawn.push_back(DrawnText(element.Tag));
    EXPECT_EQ(drawn, texts);
  }
};

TEST_F(TBuildingScenarioTest, StatementWithTwoConjunctReasonAttackedByAnAttackedCounterReason) {
  // 1. A statement, by a double-click on the empty surface.
  ClickSurface(10, 10);
  editor.ScrollBox1DblClick(std::nullopt);
  TypeAndEnter("s");
  ExpectTheory({"s"}, {});
  ExpectScratch({"s"}, {});
  EXPECT_EQ(NewLog(), (Names{"", "Add statement", "ENTER (statement box)", "Add assumption: s"}));
  EXPECT_EQ(document.ReportLines(), UniqueReport({"s"}, {}, {"s"}, {}, {}, {}, {}));
  EXPECT_EQ(Selected(), "s");

  // 2. Its reason.
  ForgetLog();
  Click("s");
  editor.Givesupport1Click();
  TypeAndEnter("r1");
  ExpectTheory({"if(r1, s)", "r1"}, {"s"});
  ExpectScratch({"if(r1, s)", "r1"}, {});
  EXPECT_EQ(NewLog(), (Names{"", "Support", "Support for: s", "Add issue: s", "ENTER (statement box)", "",
                             "Changed: " + P, "To: r1", "Add issue: s"}));
  EXPECT_EQ(document.ReportLines(),
            UniqueReport({"if(r1, s)", "r1"}, {"s"}, {"if(r1, s)", "r1"}, {}, {"s"}, {}, {}));
  ExpectBoxes({"s", "r1"});

  // 3. A second conjunct of that reason.
  ForgetLog();
  Click("r1");
  ASSERT_TRUE(editor.Availability().AddConjunct);
  editor.Addconjunct1Click();
  TypeAndEnter("r2");
  ExpectTheory({"if(r1, r2, s)", "r1", "r2"}, {"s"});
  ExpectScratch({"if(r1, r2, s)", "r1", "r2"}, {"s"});
  EXPECT_EQ(NewLog(), (Names{"", "Add conjunct", "Conditional: if(r1, s)", "ENTER (statement box)", "",
                             "Changed: " + P, "To: r2"}));
  EXPECT_EQ(document.ReportLines(), UniqueReport({"if(r1, r2, s)", "r1", "r2"}, {"s"},
                                                 {"if(r1, r2, s)", "r1", "r2"}, {}, {"s"}, {}, {}));
  ExpectBoxes({"s", "r1", "r2"});

  // 4. A counter-reason against the statement: s and x(s) both follow from
  // assumptions nothing defeats, so there is no interpretation.
  ForgetLog();
  Click("s");
  editor.Attack1Click();
  TypeAndEnter("c");
  const Names withAttack{"if(r1, r2, s)", "r1", "r2", "c", "if(c, x(s))"};
  ExpectTheory(withAttack, {"s", "x(s)"});
  ExpectScratch(withAttack, {"s"});
  EXPECT_EQ(NewLog(), (Names{"", "Attack", "Attack against: s", "Add assumption: if(" + P + ", x(s))",
                             "Add issue: x(s)", "ENTER (statement box)", "", "Changed: " + P, "To: c",
                             "Add issue: x(s)"}));
  Names report{"ASSUMPTIONS", ""};
  report.insert(report.end(), withAttack.begin(), withAttack.end());
  report.insert(report.end(), {"", "", "ISSUES", "", "s", "x(s)", "", "",
                               "THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS", ""});
  EXPECT_EQ(document.ReportLines(), report);
  EXPECT_EQ(document.InterpretationSummary(), "There is no dialectical interpretation.");

  // 5. The counter-reason attacked in turn: c is defeated, s justified again.
  ForgetLog();
  Click("c");
  editor.Attack1Click();
  TypeAndEnter("d");
  const Names full{"if(r1, r2, s)", "r1", "r2", "c", "if(c, x(s))", "d", "if(d, x(c))"};
  ExpectTheory(full, {"s", "x(s)", "x(c)"});
  EXPECT_EQ(NewLog(), (Names{"", "Attack", "Attack against: c", "Add assumption: if(" + P + ", x(c))",
                             "Add issue: x(c)", "ENTER (statement box)", "", "Changed: " + P, "To: d",
                             "Add issue: x(c)"}));
  EXPECT_EQ(document.ReportLines(),
            UniqueReport(full, {"s", "x(s)", "x(c)"},
                         {"if(r1, r2, s)", "r1", "r2", "if(c, x(s))", "d", "if(d, x(c))"}, {"c"},
                         {"s", "x(c)"}, {}, {"x(s)"}));
  ExpectBoxes({"s", "c", "d", "r1", "r2"});  // attacks are laid out before supports

  // 6. One assumption set as issue: without r2 the statement is open again.
  ForgetLog();
  Click("r2");
  editor.Setasissue1Click();
  const Names final{"if(r1, r2, s)", "r1", "c", "if(c, x(s))", "d", "if(d, x(c))"};
  ExpectTheory(final, {"s", "x(s)", "x(c)", "r2"});
  // r2's box stands for the conjunct inside the argument, not for the
  // assumption: the command adds it to the issues, the file then names it in
  // both lists (an assumption), the assumption is removed, and the refresh
  // registers the conjunct as an issue once more.
  ExpectScratch(final, {"s", "x(s)", "x(c)"});
  EXPECT_EQ(NewLog(), (Names{"", "Set as issue", "Add issue: r2", "Add issue: r2"}));
  EXPECT_EQ(document.ReportLines(),
            UniqueReport(final, {"s", "x(s)", "x(c)", "r2"}, {"if(r1, r2, s)", "r1", "if(c, x(s))", "d",
                                                              "if(d, x(c))"},
                         {"c"}, {"x(c)"}, {}, {"s", "x(s)", "r2"}));
  EXPECT_EQ(Selected(), "r2");
  EXPECT_EQ(editor.StatusPanels()[1], "justified assumption");  // as clicked, before the change
  Click("r2");
  EXPECT_EQ(editor.StatusPanels()[1], "open issue");
  EXPECT_FALSE(editor.StatementBox().Visible);
}

}  // namespace
