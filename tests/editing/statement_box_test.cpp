// The statement box: where it opens, what its list offers, ENTER adding and
// changing sentences, ESCAPE, and the texts that a theory file cannot hold.
#include "tests/editing/editing_fixture.h"

namespace {

using Names = std::vector<std::string>;
using TStatementBoxTest = TEditingTest;

TEST_F(TStatementBoxTest, AddStatementOnAnEmptyDocumentThenEnterMakesAnAssumption) {
  editor.Addstatement1Click();
  const TStatementBox& box = editor.StatementBox();
  EXPECT_TRUE(box.Visible);
  EXPECT_TRUE(box.Focused);
  EXPECT_EQ(box.Top, 2);
  EXPECT_EQ(box.Left, 2);
  EXPECT_EQ(box.Width, 600 - 2 - 5);
  EXPECT_EQ(box.Text, "");
  EXPECT_FALSE(box.ShowsList);
  EXPECT_TRUE(selection.AddingStatement);

  TypeAndEnter("a");
  EXPECT_EQ(Assumptions(), (Names{"a"}));
  EXPECT_FALSE(editor.StatementBox().Visible);
  EXPECT_FALSE(selection.AddingStatement);
  EXPECT_EQ(Selected(), "a");
  EXPECT_EQ(Offered(), "a");
  EXPECT_TRUE(editor.Availability().Support);
  EXPECT_EQ(NewLog(), (Names{"", "Add statement", "ENTER (statement box)", "Add assumption: a"}));
  EXPECT_EQ(ScratchBytes(), TheoryText({"a"}, {}) + "\r\n");
}

TEST_F(TStatementBoxTest, AddStatementOpensOnTheFirstFreeRowWithASortedList) {
  Load({"b", "A", "c"});
  editor.SetScrollBoxGeometry(4, 500);
  editor.Addstatement1Click();
  EXPECT_EQ(editor.StatementBox().Top, 3 * 30 + 2);
  EXPECT_EQ(editor.StatementBox().Left, 4 + 2);
  EXPECT_EQ(editor.StatementBox().Width, 500 - 2 - 5);
  EXPECT_TRUE(editor.StatementBox().ShowsList);
  EXPECT_EQ(editor.StatementBox().Items, (Names{"A", "b", "c"}));
}

TEST_F(TStatementBoxTest, DoubleClickOnTheEmptySurfaceAddsAStatement) {
  Load({"a"});
  ClickSurface(100, 200);
  editor.ScrollBox1DblClick(std::nullopt);
  EXPECT_TRUE(selection.AddingStatement);
  EXPECT_EQ(editor.StatementBox().Top, 32);
  TypeAndEnter("  b\t ");  // blanks and control characters around the text go
  EXPECT_EQ(Assumptions(), (Names{"a", "b"}));
  EXPECT_EQ(Selected(), "b");
}

TEST_F(TStatementBoxTest, AddStatementWhileAChangeIsOpenAddsAndSelectsTheNewStatement) {
  Load({"a"});
  DoubleClick("a");
  editor.Addstatement1Click();
  TypeAndEnter("c");
  EXPECT_EQ(Assumptions(), (Names{"a", "c"}));
  EXPECT_FALSE(selection.AddingStatement || selection.ChangingStatement);
  EXPECT_EQ(Selected(), "c");
  EXPECT_EQ(Offered(), "c");
}

TEST_F(TStatementBoxTest, EnteringTheTextOfAnIssueAddsNoAssumption) {
  Load({"a"}, {"q"});
  editor.Addstatement1Click();
  TypeAndEnter("q");
  EXPECT_EQ(Assumptions(), (Names{"a"}));
  EXPECT_EQ(Issues(), (Names{"q"}));
  EXPECT_EQ(Selected(), "q");
  EXPECT_EQ(NewLog(), (Names{"", "Add statement", "ENTER (statement box)"}));
}

TEST_F(TStatementBoxTest, EmptyEnterWhileAddingKeepsTheBoxOpen) {
  Load({"a"});
  editor.Addstatement1Click();
  TypeAndEnter("   ");
  EXPECT_TRUE(editor.StatementBox().Visible);
  EXPECT_TRUE(selection.AddingStatement);
  EXPECT_EQ(Assumptions(), (Names{"a"}));
  TypeAndEnter("b");
  EXPECT_EQ(Assumptions(), (Names{"a", "b"}));
  EXPECT_EQ(NewLog(), (Names{"", "Add statement", "ENTER (statement box)", "ENTER (statement box)",
                             "Add assumption: b"}));
}

TEST_F(TStatementBoxTest, EscapeWhileAddingClosesTheBoxAndChangesNothing) {
  Load({"a"});
  const std::string before = ScratchBytes();
  editor.Addstatement1Click();
  Type("b");
  editor.ComboBox1KeyDown(37);  // an arrow key is left to the edit line
  EXPECT_TRUE(editor.StatementBox().Visible);
  Escape();
  EXPECT_FALSE(editor.StatementBox().Visible);
  EXPECT_FALSE(selection.AddingStatement);
  EXPECT_EQ(Assumptions(), (Names{"a"}));
  EXPECT_EQ(ScratchBytes(), before);
  EXPECT_EQ(NewLog(), (Names{"", "Add statement", "ESCAPE (statement box)"}));
}

TEST_F(TStatementBoxTest, ARedrawWhileTheBoxIsOpenKeepsItsFrameHidden) {
  Load({"a", "if(a, c)"}, {"c"});
  DoubleClick("a");
  ASSERT_EQ(editor.HiddenElements(), (std::vector<int>{FrameOf("a")}));
  // The statuses arrive later (or an option changes): the drawing is made anew.
  editor.CarrySelectionAcross([this] { document.RefreshFromScratch(); });
  EXPECT_TRUE(editor.StatementBox().Visible);
  EXPECT_EQ(editor.HiddenElements(), (std::vector<int>{FrameOf("a")}));
  TypeAndEnter("b");
  EXPECT_EQ(Assumptions(), (Names{"b", "if(b, c)"}));
  // With the box closed a redraw hides nothing.
  editor.CarrySelectionAcross([this] { document.RefreshFromScratch(); });
  EXPECT_TRUE(editor.HiddenElements().empty());
}

TEST_F(TStatementBoxTest, ChangeReachesEveryPlaceTheSentenceOccurs) {
  Load({"a", "if(a, c)"}, {"c"});
  DoubleClick("a");
  const TStatementBox& box = editor.StatementBox();
  EXPECT_TRUE(box.Visible);
  EXPECT_TRUE(selection.ChangingStatement);
  EXPECT_EQ(box.Text, "a");
  EXPECT_EQ(box.Top, RowOf("a") * 30 + 3);
  EXPECT_EQ(box.Left, 2 + 18 * diagram.Drawing.Elements[static_cast<size_t>(FrameOf("a"))].Column);
  EXPECT_EQ(editor.HiddenElements(), (std::vector<int>{FrameOf("a")}));
  EXPECT_TRUE(NewLog().empty());

  TypeAndEnter("b");
  EXPECT_EQ(Assumptions(), (Names{"b", "if(b, c)"}));
  EXPECT_EQ(Issues(), (Names{"c"}));
  EXPECT_FALSE(editor.StatementBox().Visible);
  EXPECT_FALSE(selection.ChangingStatement);
  EXPECT_EQ(Selected(), "b");
  EXPECT_EQ(RowConditional(), "-");
  EXPECT_EQ(NewLog(), (Names{"ENTER (statement box)", "", "Changed: a", "To: b"}));
  EXPECT_EQ(ScratchBytes(), TheoryText({"b", "if(b, c)"}, {"c"}) + "\r\n");
}

TEST_F(TStatementBoxTest, ChangeIntoAnExistingIssueLeavesItAnIssue) {
  Load({"a"}, {"q"});
  DoubleClick("a");
  TypeAndEnter("q");
  EXPECT_EQ(Assumptions(), Names{});
  EXPECT_EQ(Issues(), (Names{"q"}));
  EXPECT_EQ(NewLog(), (Names{"ENTER (statement box)", "", "Changed: a", "To: q", "", "Set as issue",
                             "Add issue: q"}));
}

TEST_F(TStatementBoxTest, ChangeIntoAnExistingAssumptionKeepsItAnAssumption) {
  Load({"a", "if(a, c)"}, {"c"});
  Click("c");
  editor.Changeelementarysentence1Click();  // from the menu: nothing else is hidden
  TypeAndEnter("a");
  // The file now names a as an assumption and as an issue, and reads it as an assumption.
  EXPECT_EQ(Assumptions(), (Names{"a", "if(a, a)"}));
  EXPECT_EQ(Issues(), Names{});
}

TEST_F(TStatementBoxTest, ChangeOfANewStatementFromTheMenuOpensOverItsBox) {
  Load({"a", "b"});
  Click("a");
  editor.Addstatement1Click();
  TypeAndEnter("c");
  ASSERT_EQ(Selected(), "c");
  editor.Changeelementarysentence1Click();
  EXPECT_EQ(selection.ClickedRow, RowOf("c"));
  EXPECT_EQ(editor.StatementBox().Top, RowOf("c") * 30 + 3);
  EXPECT_EQ(editor.HiddenElements(), (std::vector<int>{FrameOf("c")}));
  EXPECT_EQ(editor.StatementBox().Text, "c");
}

TEST_F(TStatementBoxTest, ChangeOfACompoundSentenceReplacesNoLine) {
  Load({"x(q)"});
  DoubleClick("x(q)");
  EXPECT_EQ(editor.StatementBox().Text, "x(q)");
  const std::string before = ScratchBytes();
  TypeAndEnter("x(r)");
  EXPECT_EQ(Assumptions(), (Names{"x(q)"}));
  EXPECT_EQ(ScratchBytes(), before);
  EXPECT_EQ(NewLog(), (Names{"ENTER (statement box)"}));
}

TEST_F(TStatementBoxTest, ChangeWithNothingSelectedOpensNothing) {
  Load({"a"});
  editor.Changeelementarysentence1Click();
  EXPECT_FALSE(editor.StatementBox().Visible);
  EXPECT_FALSE(selection.ChangingStatement);
}

TEST_F(TStatementBoxTest, EmptyEnterWhileChangingLeavesOnlyEscapeToClose) {
  Load({"a"});
  DoubleClick("a");
  TypeAndEnter("");
  EXPECT_TRUE(editor.StatementBox().Visible);
  EXPECT_FALSE(selection.ChangingStatement);
  TypeAndEnter("b");  // no mode left: the text is not used
  EXPECT_EQ(Assumptions(), (Names{"a"}));
  EXPECT_TRUE(editor.StatementBox().Visible);
  Escape();
  EXPECT_FALSE(editor.StatementBox().Visible);
}

TEST_F(TStatementBoxTest, ListNeverOffersThePlaceholderOrWhatHoldsIt) {
  Load({"b", "A"});
  Click("b");
  editor.Givesupport1Click();
  ASSERT_TRUE(editor.StatementBox().Visible);
  EXPECT_EQ(editor.StatementBox().Items, (Names{"A", "b"}));
  EXPECT_EQ(editor.StatementBox().Text, "");
}

TEST_F(TStatementBoxTest, ListOrderIgnoresLetterCase) {
  TListOfKorvelSentences drawn;
  for (const char* text : {"beta", "Alpha", "alpha", "Gamma", "***", "if(a, b)"})
    drawn.push_back(MakeElementarySentence(text));
  EXPECT_EQ(StatementBoxItems(drawn), (Names{"***", "Alpha", "alpha", "beta", "Gamma", "if(a, b)"}));
}

TEST_F(TStatementBoxTest, FormResizeFollowsTheScrollBoxWidth) {
  editor.FormResize(400);
  EXPECT_EQ(editor.StatementBox().Width, 393);
}

// --- texts a theory file cannot hold

// Each text the file cannot hold, with the reason status panel 2 must give,
// spelled out here rather than taken from the code under test.
TEST_F(TStatementBoxTest, RefusedTextsKeepTheBoxOpenTheFileIntactAndSayWhy) {
  const std::string tag = "A statement cannot contain ";
  const std::string ofTheFile = ": it is a tag of the theory file.";
  const std::string lineBreak = "A statement cannot contain a line break.";
  const struct {
    std::string Fragment, Reason;
  } cases[] = {
      {"<KORVEL>", tag + "<KORVEL>" + ofTheFile},
      {"</KORVEL>", tag + "</KORVEL>" + ofTheFile},
      {"<THEORY>", tag + "<THEORY>" + ofTheFile},
      {"</THEORY>", tag + "</THEORY>" + ofTheFile},
      {"<ISSUES>", tag + "<ISSUES>" + ofTheFile},
      {"</ISSUES>", tag + "</ISSUES>" + ofTheFile},
      {"<SENTENCE>", tag + "<SENTENCE>" + ofTheFile},
      {"</SENTENCE>", tag + "</SENTENCE>" + ofTheFile},
      {"<ELEMENTARYSENTENCE>", tag + "<ELEMENTARYSENTENCE>" + ofTheFile},
      {"</ELEMENTARYSENTENCE>", tag + "</ELEMENTARYSENTENCE>" + ofTheFile},
      {"<DIALECTICALNEGATION>", tag + "<DIALECTICALNEGATION>" + ofTheFile},
      {"</DIALECTICALNEGATION>", tag + "</DIALECTICALNEGATION>" + ofTheFile},
      {"<CONDITIONAL>", tag + "<CONDITIONAL>" + ofTheFile},
      {"</CONDITIONAL>", tag + "</CONDITIONAL>" + ofTheFile},
      {"<ANTECEDENT>", tag + "<ANTECEDENT>" + ofTheFile},
      {"</ANTECEDENT>", tag + "</ANTECEDENT>" + ofTheFile},
      {"<CONSEQUENT>", tag + "<CONSEQUENT>" + ofTheFile},
      {"</CONSEQUENT>", tag + "</CONSEQUENT>" + ofTheFile},
      {"\n", lineBreak},
      {"\r\n", lineBreak},
      {"\r", lineBreak},
      {std::string("a\0b", 3), "A statement cannot contain a NUL character."},
  };
  for (const auto& refused : cases) {
    SCOPED_TRACE(refused.Reason);
    // Adding: the box stays open with the text, nothing changes or is logged,
    // and a good text is still taken afterwards.
    Load({"a"});
    std::string before = ScratchBytes();
    editor.Addstatement1Click();
    const std::string typed = "one " + refused.Fragment + " two";
    TypeAndEnter(typed);
    EXPECT_TRUE(editor.StatementBox().Visible);
    EXPECT_EQ(editor.StatementBox().Text, typed);
    EXPECT_TRUE(selection.AddingStatement);
    EXPECT_EQ(editor.StatusPanels()[2], refused.Reason);
    EXPECT_EQ(Assumptions(), (Names{"a"}));
    EXPECT_EQ(ScratchBytes(), before);
    EXPECT_EQ(NewLog(), (Names{"", "Add statement"}));
    TypeAndEnter("b");
    EXPECT_EQ(Assumptions(), (Names{"a", "b"}));

    // Changing: the box stays open, the file keeps its text, Escape undoes nothing.
    Load({"a", "if(a, c)"}, {"c"});
    before = ScratchBytes();
    DoubleClick("a");
    TypeAndEnter("y" + refused.Fragment + "z");
    EXPECT_TRUE(editor.StatementBox().Visible);
    EXPECT_TRUE(selection.ChangingStatement);
    EXPECT_EQ(editor.StatusPanels()[2], refused.Reason);
    EXPECT_EQ(ScratchBytes(), before);
    Escape();
    EXPECT_EQ(Assumptions(), (Names{"a", "if(a, c)"}));
  }
}

TEST(StatementTextFault, AcceptsTextsTheFileCanHold) {
  for (const char* text : {"a", "<x> likes <y>", "KORVEL", "<korvel>", "if(a, b)", "tab\tinside", "<SENTENCE"})
    EXPECT_FALSE(StatementTextFault(text).has_value()) << text;
  EXPECT_NE(StatementTextFault("a</THEORY>")->find("</THEORY>"), std::string::npos);
}

TEST(FileLines, SplitAtEveryLineEndAndJoinWithCrLf) {
  EXPECT_EQ(SplitFileLines("a\r\nb\nc\rd"), (Names{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitFileLines("a\r\n\r\nb\r\n"), (Names{"a", "", "b"}));
  EXPECT_EQ(JoinFileLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

}  // namespace
