// Support, Attack, Add conjunct, Delete conjunct and Add dialectical negation,
// each followed through the statement box's ENTER or ESCAPE where it opens it.
#include "tests/editing/editing_fixture.h"

namespace {

using Names = std::vector<std::string>;
using TArgumentsTest = TEditingTest;

TEST_F(TArgumentsTest, SupportOfAnAssumptionPutsTheSupportInItsPlace) {
  Load({"b"});
  Click("b");
  editor.Givesupport1Click();
  EXPECT_EQ(Assumptions(), (Names{"if(" + P + ", b)", P}));
  EXPECT_EQ(NewLog(), (Names{"", "Support", "Support for: b", "Add issue: b"}));
  // The statement box is open, empty, over the placeholder's box below b.
  const TStatementBox& box = editor.StatementBox();
  EXPECT_TRUE(box.Visible);
  EXPECT_EQ(box.Text, "");
  EXPECT_GT(RowOf(P), RowOf("b"));
  EXPECT_EQ(selection.ClickedRow, RowOf(P));
  EXPECT_EQ(box.Top, RowOf(P) * 30 + 3);
  EXPECT_EQ(editor.HiddenElements(), (std::vector<int>{FrameOf(P)}));
  EXPECT_EQ(Selected(), P);
  EXPECT_EQ(Offered(), "b");
  EXPECT_TRUE(selection.ArgumentPending);
  EXPECT_TRUE(selection.ChangingStatement);

  ForgetLog();
  TypeAndEnter("a");
  EXPECT_EQ(Assumptions(), (Names{"if(a, b)", "a"}));
  EXPECT_EQ(Issues(), (Names{"b"}));
  EXPECT_EQ(NewLog(), (Names{"ENTER (statement box)", "", "Changed: " + P, "To: a", "Add issue: b"}));
  EXPECT_EQ(ScratchBytes(), TheoryText({"if(a, b)", "a"}, {}) + "\r\n");
  EXPECT_FALSE(editor.StatementBox().Visible);
  EXPECT_FALSE(selection.ArgumentPending);
  // Back on the supported sentence, with the new argument ready for a conjunct.
  EXPECT_EQ(Selected(), "b");
  EXPECT_EQ(RowConditional(), "if(a, b)");
  EXPECT_TRUE(editor.Availability().AddConjunct);
}

TEST_F(TArgumentsTest, SupportOfAnIssueAddsTheSupportAsAnAssumption) {
  Load({"a"}, {"q"});
  Click("q");
  editor.Givesupport1Click();
  EXPECT_EQ(Assumptions(), (Names{"a", P, "if(" + P + ", q)"}));
  EXPECT_EQ(NewLog(), (Names{"", "Support", "Support for: q", "Add assumption: if(" + P + ", q)"}));
}

TEST_F(TArgumentsTest, EscapeAfterSupportOfAnIssueKeepsTheSentenceAsAnAssumption) {
  Load({"a"}, {"q"});
  Click("q");
  editor.Givesupport1Click();
  ForgetLog();
  Escape();
  EXPECT_EQ(Assumptions(), (Names{"a", "q"}));
  EXPECT_EQ(Issues(), Names{});
  EXPECT_EQ(NewLog(), (Names{"ESCAPE (statement box)", "Add assumption: q"}));
  EXPECT_EQ(ScratchBytes(), TheoryText({"a", "q"}, {}) + "\r\n");
  EXPECT_FALSE(editor.StatementBox().Visible);
  EXPECT_FALSE(selection.ArgumentPending || selection.ChangingStatement);
  EXPECT_EQ(selection.SelectedIndex, -1);
  EXPECT_EQ(selection.OfferedIndex, -1);
}

TEST_F(TArgumentsTest, AttackKeepsTheAttackedAssumption) {
  Load({"b"});
  Click("b");
  editor.Attack1Click();
  EXPECT_EQ(Assumptions(), (Names{"b", P, "if(" + P + ", x(b))"}));
  EXPECT_EQ(NewLog(), (Names{"", "Attack", "Attack against: b", "Add assumption: if(" + P + ", x(b))",
                             "Add issue: x(b)"}));
  ASSERT_TRUE(editor.StatementBox().Visible);
  ForgetLog();
  TypeAndEnter("c");
  EXPECT_EQ(Assumptions(), (Names{"b", "c", "if(c, x(b))"}));
  EXPECT_EQ(NewLog(), (Names{"ENTER (statement box)", "", "Changed: " + P, "To: c", "Add issue: x(b)"}));
}

TEST_F(TArgumentsTest, EscapeAfterAttackLeavesTheNegationAsAnAssumption) {
  Load({"b"});
  Click("b");
  editor.Attack1Click();
  ForgetLog();
  Escape();
  EXPECT_EQ(Assumptions(), (Names{"b", "x(b)"}));
  EXPECT_EQ(Issues(), Names{});
  EXPECT_EQ(NewLog(), (Names{"ESCAPE (statement box)", "Add assumption: x(b)"}));
}

TEST_F(TArgumentsTest, EmptyEnterAfterSupportLetsEscapeKeepThePlaceholder) {
  Load({"b"});
  Click("b");
  editor.Givesupport1Click();
  TypeAndEnter("");
  EXPECT_FALSE(selection.ArgumentPending);
  EXPECT_TRUE(editor.StatementBox().Visible);
  Escape();
  EXPECT_EQ(Assumptions(), (Names{"if(" + P + ", b)", P}));
}

TEST_F(TArgumentsTest, CommandsWithNothingSelectedOnlyLogTheirTitle) {
  Load({"a"});
  editor.Givesupport1Click();
  editor.Attack1Click();
  editor.Addconjunct1Click();
  EXPECT_EQ(NewLog(), (Names{"", "Support", "", "Attack", "", "Add conjunct"}));
  EXPECT_TRUE(selection.ArgumentPending);
  EXPECT_TRUE(selection.ConjunctPending);
  EXPECT_FALSE(editor.StatementBox().Visible);
  EXPECT_EQ(Assumptions(), (Names{"a"}));
}

// --- conjuncts, also inside an attack on the conditional

class TConjunctTest : public TEditingTest {
 protected:
  void SetUp() override { Load({"a", "if(a, b)", "c", "if(c, x(if(a, b)))"}); }
  std::string Pending() const { return "if(a, " + P + ", b)"; }
};

TEST_F(TConjunctTest, AddConjunctAppendsThePlaceholderEverywhereTheConditionalOccurs) {
  ASSERT_EQ(Issues(), (Names{"b", "x(if(a, b))"}));
  Click("a");
  ASSERT_EQ(RowConditional(), "if(a, b)");
  editor.Addconjunct1Click();
  EXPECT_EQ(NewLog(), (Names{"", "Add conjunct", "Conditional: if(a, b)"}));
  EXPECT_EQ(Assumptions(), (Names{"a", Pending(), "c", "if(c, x(" + Pending() + "))", P}));
  EXPECT_EQ(Issues(), (Names{"b", "x(" + Pending() + ")"}));
  EXPECT_EQ(selection.OldConditionalText, "if(a, b)");
  EXPECT_EQ(selection.NewConditionalText, Pending());
  EXPECT_TRUE(selection.ConjunctPending);
  EXPECT_TRUE(editor.StatementBox().Visible);
  EXPECT_EQ(Selected(), P);
  EXPECT_GT(selection.ClickedRow, RowOf("a"));

  ForgetLog();
  TypeAndEnter("d");
  EXPECT_EQ(Assumptions(), (Names{"a", "if(a, d, b)", "c", "if(c, x(if(a, d, b)))", "d"}));
  EXPECT_EQ(Issues(), (Names{"b", "x(if(a, d, b))"}));
  EXPECT_EQ(NewLog(), (Names{"ENTER (statement box)", "", "Changed: " + P, "To: d"}));
  EXPECT_EQ(ScratchBytes(),
            TheoryText({"a", "if(a, d, b)", "c", "if(c, x(if(a, d, b)))", "d"}, {"b", "x(if(a, d, b))"}) +
                "\r\n");
  EXPECT_FALSE(selection.ConjunctPending);
  EXPECT_EQ(RowConditional(), "if(a, d, b)");
}

TEST_F(TConjunctTest, EscapeAfterAddConjunctRestoresTheConditionalEverywhere) {
  const std::string before = ScratchBytes();
  Click("a");
  editor.Addconjunct1Click();
  ForgetLog();
  Escape();
  EXPECT_EQ(Assumptions(), (Names{"a", "if(a, b)", "c", "if(c, x(if(a, b)))"}));
  EXPECT_EQ(Issues(), (Names{"b", "x(if(a, b))"}));
  EXPECT_EQ(NewLog(), (Names{"ESCAPE (statement box)"}));
  EXPECT_EQ(ScratchBytes(), before);
  EXPECT_FALSE(selection.ConjunctPending);
}

TEST_F(TConjunctTest, DeleteConjunctRemovesItEverywhere) {
  Load({"a", "d", "if(a, d, b)", "c", "if(c, x(if(a, d, b)))"});
  Click("d");
  ASSERT_EQ(RowConditional(), "if(a, d, b)");
  editor.Deleteconjunct1menuitemClick();
  EXPECT_EQ(NewLog(), (Names{"", "Delete conjunct: d", "In conditional: if(a, d, b)"}));
  EXPECT_EQ(Assumptions(), (Names{"a", "d", "if(a, b)", "c", "if(c, x(if(a, b)))"}));
  EXPECT_EQ(Issues(), (Names{"b", "x(if(a, b))"}));
  EXPECT_EQ(selection.SelectedIndex, -1);
  EXPECT_EQ(selection.OfferedIndex, -1);
  EXPECT_EQ(selection.RowConditionalIndex, -1);
}

TEST_F(TConjunctTest, DeletingTheOnlyConjunctOfASupportLeavesItsConclusion) {
  Load({"a", "if(a, b)"});
  Click("a");
  editor.Deleteconjunct1menuitemClick();
  EXPECT_EQ(Assumptions(), (Names{"a", "b"}));
  EXPECT_EQ(Issues(), Names{});
}

TEST_F(TConjunctTest, DeletingTheOnlyConjunctOfAnAttackRemovesTheAttack) {
  Load({"a", "b", "if(a, x(b))"});
  Click("a");
  ASSERT_EQ(RowConditional(), "if(a, x(b))");
  editor.Deleteconjunct1menuitemClick();
  EXPECT_EQ(Assumptions(), (Names{"a", "b"}));
}

TEST_F(TConjunctTest, ConjunctCommandsWithoutAConditionalDoNothing) {
  Load({"a", "if(a, b)"});
  const std::string before = ScratchBytes();
  Click("b");  // no row conditional, and b is no conditional
  editor.Addconjunct1Click();
  EXPECT_FALSE(selection.ConjunctPending);
  Click("a");
  ClickSurface(300, 300);
  selection.RowConditionalIndex = diagram.DrawnIndexOfText("if(a, b)");
  selection.SelectedIndex = diagram.DrawnIndexOfText("b");  // not a conjunct of it
  editor.Deleteconjunct1menuitemClick();
  EXPECT_TRUE(NewLog().empty());
  EXPECT_EQ(Assumptions(), (Names{"a", "if(a, b)"}));
  EXPECT_EQ(ScratchBytes(), before);
}

TEST_F(TConjunctTest, AddConjunctOnALinkExtendsItsConditional) {
  Load({"a", "if(a, b)"});
  ClickElement(HitStripOf("if(a, b)"));
  editor.Addconjunct1Click();
  TypeAndEnter("e");
  EXPECT_EQ(Assumptions(), (Names{"a", "if(a, e, b)", "e"}));
}

TEST_F(TArgumentsTest, ReplaceInTheorySkipsALeadingOccurrenceWhenAskedAndReparses) {
  Load({"a", "if(a, b)", "x(if(a, b))"});
  editor.ReplaceInTheory("if(a, b)", "if(a, c, b)", 2);
  EXPECT_EQ(Assumptions(), (Names{"a", "if(a, b)", "x(if(a, c, b))"}));
  const SentencePtr changed = document.Theory().Assumptions[2];
  ASSERT_TRUE(Is<TKorvelDialecticalNegation>(changed));
  EXPECT_TRUE(changed->IsAssumption);
  EXPECT_EQ(As<TKorvelDialecticalNegation>(changed)->Negated->Text, "if(a, c, b)");
  ASSERT_EQ(Issues(), (Names{"b"}));
  editor.ReplaceInTheory("b", "d", 1);
  EXPECT_EQ(Assumptions(), (Names{"a", "if(a, d)", "x(if(a, c, d))"}));
  EXPECT_EQ(Issues(), (Names{"d"}));
  EXPECT_TRUE(document.Theory().Issues[0]->IsIssue);
}

TEST_F(TArgumentsTest, ReplaceInTheoryEndsWhenTheNewTextHoldsTheOld) {
  Load({"a", "if(a, b)"});
  editor.ReplaceInTheory("a", "aa", 1);
  EXPECT_EQ(Assumptions(), (Names{"aa", "if(aa, b)"}));
}

TEST_F(TArgumentsTest, AddDialecticalNegationAddsItAsAnAssumption) {
  Load({"a"}, {"q"});
  Click("q");
  editor.Adddialecticalnegation2Click();
  EXPECT_EQ(Assumptions(), (Names{"a", "x(q)"}));
  EXPECT_EQ(NewLog(), (Names{"Add assumption: x(q)"}));
  EXPECT_EQ(selection.SelectedIndex, -1);
  editor.Adddialecticalnegation2Click();  // nothing selected: nothing to negate
  EXPECT_EQ(Assumptions(), (Names{"a", "x(q)"}));
}

}  // namespace
