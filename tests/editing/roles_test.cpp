// Set as assumption, Set as issue and Delete.
#include "tests/editing/editing_fixture.h"

namespace {

using Names = std::vector<std::string>;
using TRolesTest = TEditingTest;

TEST_F(TRolesTest, SetAsIssueMovesAnAssumption) {
  Load({"a", "b"});
  Click("a");
  editor.Setasissue1Click();
  EXPECT_EQ(Assumptions(), (Names{"b"}));
  EXPECT_EQ(Issues(), (Names{"a"}));
  EXPECT_EQ(NewLog(), (Names{"", "Set as issue", "Add issue: a"}));
  EXPECT_EQ(ScratchBytes(), TheoryText({"b"}, {"a"}) + "\r\n");
  EXPECT_EQ(Selected(), "a");
  EXPECT_TRUE(editor.Availability().SetAsAssumption);
  EXPECT_FALSE(editor.Availability().SetAsIssue);
}

TEST_F(TRolesTest, SetAsAssumptionOfAnIssueInsideAnArgument) {
  Load({"a", "if(a, b)"});
  ASSERT_EQ(Issues(), (Names{"b"}));
  Click("b");
  editor.Setasassumption1Click();
  EXPECT_EQ(Assumptions(), (Names{"a", "if(a, b)", "b"}));
  EXPECT_EQ(Issues(), Names{});
  EXPECT_EQ(NewLog(), (Names{"", "Set as assumption", "Add assumption: b"}));
  EXPECT_EQ(Selected(), "b");
}

TEST_F(TRolesTest, SetAsTheRoleASentenceHasChangesNothing) {
  Load({"a"}, {"q"});
  const std::string before = ScratchBytes();
  Click("q");
  editor.Setasissue1Click();
  Click("a");
  editor.Setasassumption1Click();
  EXPECT_EQ(NewLog(), (Names{"", "Set as issue", "", "Set as assumption"}));
  EXPECT_EQ(ScratchBytes(), before);
}

TEST_F(TRolesTest, DeleteOfASupportedSentenceRemovesItsSupports) {
  Load({"a", "b", "if(a, b)"});
  Click("b");
  editor.Delete1Click();
  EXPECT_EQ(Assumptions(), (Names{"a"}));
  EXPECT_EQ(Issues(), Names{});
  EXPECT_EQ(NewLog(), (Names{"", "Delete: b"}));
  EXPECT_EQ(ScratchBytes(), TheoryText({"a"}, {}) + "\r\n");
}

TEST_F(TRolesTest, DeleteOfAReasonRemovesTheWholeArgument) {
  Load({"a", "b", "if(a, b)"});
  Click("a");
  editor.Delete1Click();
  EXPECT_EQ(Assumptions(), (Names{"b"}));
}

TEST_F(TRolesTest, DeleteKeepsAConclusionThatWasRegisteredAsAnIssue) {
  Load({"a", "if(a, b)"});
  Click("a");
  editor.Delete1Click();
  EXPECT_EQ(Assumptions(), Names{});
  EXPECT_EQ(Issues(), (Names{"b"}));
}

TEST_F(TRolesTest, DeleteOfAnAttackerRemovesTheAttackAndTheNegationStays) {
  Load({"b", "c", "if(c, x(b))"});
  Click("c");
  editor.Delete1Click();
  EXPECT_EQ(Assumptions(), (Names{"b"}));
  EXPECT_EQ(Issues(), (Names{"x(b)"}));
}

TEST_F(TRolesTest, DeleteTwiceInARowDeletesOnce) {
  Load({"a"}, {"q", "r"});
  Click("q");
  editor.Delete1Click();
  EXPECT_EQ(selection.SelectedIndex, -1);
  EXPECT_EQ(selection.OfferedIndex, -1);
  EXPECT_EQ(selection.RowConditionalIndex, -1);
  const std::string after = ScratchBytes();
  editor.Delete1Click();
  EXPECT_EQ(Assumptions(), (Names{"a"}));
  EXPECT_EQ(Issues(), (Names{"r"}));
  EXPECT_EQ(NewLog(), (Names{"", "Delete: q"}));
  EXPECT_EQ(ScratchBytes(), after);
}

TEST_F(TRolesTest, SetAsWithNothingSelectedLogsOnlyItsTitle) {
  Load({"a"});
  editor.Setasissue1Click();
  editor.Setasassumption1Click();
  EXPECT_EQ(NewLog(), (Names{"", "Set as issue", "", "Set as assumption"}));
  EXPECT_EQ(Assumptions(), (Names{"a"}));
}

}  // namespace
