// Selection on the diagram: the clicked cell, the status panels, the row
// conditional, the offered commands, and the selection carried by text across
// a refresh that draws the sentences in another order.
#include <array>

#include "diagram/hit_index.h"
#include "tests/editing/editing_fixture.h"

namespace {

using TSelectionTest = TEditingTest;

// The commands offered, as a set of names, so that a failure lists them.
std::vector<std::string> OfferedCommands(const TCommandAvailability& a) {
  std::vector<std::string> names;
  auto add = [&](bool offered, const char* name) {
    if (offered) names.push_back(name);
  };
  add(a.AddStatement, "AddStatement");
  add(a.Delete, "Delete");
  add(a.Properties, "Properties");
  add(a.Support, "Support");
  add(a.Attack, "Attack");
  add(a.SetAsIssue, "SetAsIssue");
  add(a.SetAsAssumption, "SetAsAssumption");
  add(a.ChangeElementarySentence, "Change");
  add(a.AddConjunct, "AddConjunct");
  add(a.DeleteConjunct, "DeleteConjunct");
  add(a.AddDialecticalNegation, "Negation");
  add(a.Match, "Match");
  add(a.Instantiate, "Instantiate");
  return names;
}

using Names = std::vector<std::string>;

TEST_F(TSelectionTest, EmptySurfaceClearsSelectionAndPanelsAndOffersOnlyTheAlwaysCommands) {
  Load({"a"});
  Click("a");
  ASSERT_EQ(Selected(), "a");
  ClickSurface(40, 65);
  EXPECT_EQ(editor.StatusPanels(), (TStatusPanels{"(2, 2)", "", ""}));
  EXPECT_EQ(selection.SelectedIndex, -1);
  EXPECT_EQ(selection.OfferedIndex, -1);
  EXPECT_EQ(selection.RowConditionalIndex, -1);
  EXPECT_EQ(OfferedCommands(editor.Availability()), (Names{"AddStatement", "Delete", "Properties"}));
}

TEST_F(TSelectionTest, CellIsTheIntegerQuotientOfThePointByTheGrid) {
  editor.CellFromPoint(3 * 18 + 17, 29);
  EXPECT_EQ(selection.ClickedColumn, 3);
  EXPECT_EQ(selection.ClickedRow, 0);
  editor.CellFromPoint(18, 30);
  EXPECT_EQ(selection.ClickedColumn, 1);
  EXPECT_EQ(selection.ClickedRow, 1);
}

TEST_F(TSelectionTest, OpenIssueShowsItsWordsAndTextAndOffersSetAsAssumptionOnly) {
  Load({}, {"q"});  // nothing is evaluated without assumptions: q is open
  Click("q");
  EXPECT_EQ(editor.StatusPanels(), (TStatusPanels{"(1, 0)", "open issue", "q"}));
  EXPECT_EQ(OfferedCommands(editor.Availability()),
            (Names{"AddStatement", "Delete", "Properties", "Support", "Attack", "SetAsAssumption", "Change"}));
}

TEST_F(TSelectionTest, StatusWordsFollowTheMarksAndTheStructureOnlyOption) {
  Load({"p", "x(q)"}, {"q"});
  Click("p");
  EXPECT_EQ(editor.StatusPanels()[1], "justified assumption");
  EXPECT_EQ(OfferedCommands(editor.Availability()),
            (Names{"AddStatement", "Delete", "Properties", "Support", "Attack", "SetAsIssue", "Change"}));
  Click("q");
  EXPECT_EQ(editor.StatusPanels()[1], "defeated issue");
  document.Options.ShowStructureOnly = true;
  Click("q");
  EXPECT_EQ(editor.StatusPanels()[1], "issue");
}

TEST_F(TSelectionTest, CompoundBoxIsNotOfferedForChange) {
  Load({"x(q)"});
  Click("x(q)");
  EXPECT_EQ(Selected(), "x(q)");
  EXPECT_FALSE(editor.Availability().ChangeElementarySentence);
  EXPECT_TRUE(editor.Availability().Support);
}

TEST_F(TSelectionTest, LinkSelectsItsConditional) {
  Load({"a", "if(a, b)"});
  ClickElement(HitStripOf("if(a, b)"));
  EXPECT_EQ(Selected(), "if(a, b)");
  EXPECT_EQ(editor.StatusPanels()[2], "if(a, b)");
  EXPECT_FALSE(editor.Availability().ChangeElementarySentence);
}

TEST_F(TSelectionTest, RowConditionalOnlyForABoxDrawnAsAConjunct) {
  Load({"a", "if(a, b)"});
  Click("a");  // drawn under b as the conditional's conjunct
  EXPECT_EQ(RowConditional(), "if(a, b)");
  EXPECT_TRUE(editor.Availability().AddConjunct);
  EXPECT_TRUE(editor.Availability().DeleteConjunct);
  Click("b");
  EXPECT_EQ(selection.RowConditionalIndex, -1);
  EXPECT_FALSE(editor.Availability().AddConjunct);
  EXPECT_FALSE(editor.Availability().DeleteConjunct);
}

// Given the surface's index, a click looks up only the shapes of the row
// below the box's top; it selects what a pass over every element selects.
TEST_F(TSelectionTest, AClickSelectsTheSameWithTheSurfacesIndex) {
  const std::vector<std::pair<Names, Names>> theories = {
      {{"a", "if(a, b)"}, {}},
      {{"a", "b", "c", "if(a, b, c, d)", "if(x(d), e)", "if(e, if(a, f))"}, {"g"}},
      {{"p", "if(p, q)", "if(q, p)", "if(p, q, r)", "x(r)"}, {"if(r, s)"}},
      {{"if(a, b, c)", "if(b, c, a)", "if(c, a, b)", "if(a, x(b))"}, {"x(a)"}},
  };
  int rowConditionals = 0;
  for (const auto& [assumptions, issues] : theories) {
    Load(assumptions, issues);
    THitIndex hits;
    hits.Build(diagram.Drawing);
    const auto& elements = diagram.Drawing.Elements;
    for (size_t i = 0; i < elements.size(); ++i) {
      if (!IsShapeKind(elements[i].Kind)) continue;
      SCOPED_TRACE("theory " + assumptions.back() + ", element " + std::to_string(i));
      // The index files only elements with a size: every shape has one.
      ASSERT_TRUE(elements[i].Bounds.Width > 0 && elements[i].Bounds.Height > 0);
      editor.SetHitIndex(nullptr);
      ClickElement(static_cast<int>(i));
      const std::array<int, 3> scanned{selection.SelectedIndex, selection.OfferedIndex,
                                       selection.RowConditionalIndex};
      editor.SetHitIndex(&hits);
      ClickElement(static_cast<int>(i));
      EXPECT_EQ((std::array<int, 3>{selection.SelectedIndex, selection.OfferedIndex, selection.RowConditionalIndex}),
                scanned);
      if (scanned[2] >= 0) ++rowConditionals;
    }
    editor.SetHitIndex(nullptr);
  }
  EXPECT_GT(rowConditionals, 5);
}

TEST_F(TSelectionTest, AnIssueConditionalWithItsOnePixelBarIsSelectedLikeAnAssumedOne) {
  // An issue conditional is drawn with 1-pixel bars (an assumed one with 2):
  // a press on the bar's only pixel row, or on the strip around it, selects
  // the conditional, and the box drawn as its conjunct finds it as the row's
  // conditional.
  Load({"a"}, {"if(a, b)"});
  const int conditional = diagram.DrawnIndexOfText("if(a, b)");
  ASSERT_GE(conditional, 0);
  int bar = -1;
  const auto& elements = diagram.Drawing.Elements;
  for (size_t i = 0; i < elements.size() && bar < 0; ++i)
    if (elements[i].Kind == TElementKind::Bar && elements[i].Tag == conditional) bar = static_cast<int>(i);
  ASSERT_GE(bar, 0);
  const TBounds bounds = elements[static_cast<size_t>(bar)].Bounds;
  EXPECT_EQ(bounds.Height, 1);
  EXPECT_EQ(bounds.Top, diagram.Metrics.RowTop(RowOf("a")) + diagram.Metrics.HalfBoxHeight);
  THitIndex hits;
  hits.Build(diagram.Drawing);
  auto shapes = [&](int element) { return IsShapeKind(elements[static_cast<size_t>(element)].Kind); };
  for (int dy : {-2, 0, 2}) {
    SCOPED_TRACE(dy);
    const int x = bounds.Left + bounds.Width / 2, y = bounds.Top + dy;
    const int hit = hits.TopmostAt(diagram.Drawing, x, y, shapes);
    ASSERT_GE(hit, 0);
    editor.ScrollBox1MouseDown(hit, {x, y});
    EXPECT_EQ(Selected(), "if(a, b)");
    EXPECT_EQ(editor.StatusPanels()[1], "open issue");
  }
  Click("a");
  EXPECT_EQ(RowConditional(), "if(a, b)");
  EXPECT_TRUE(editor.Availability().AddConjunct);
}

TEST_F(TSelectionTest, NegationMatchAndInstantiateAreNeverOffered) {
  Load({"a", "if(a, b)", "x(c)"}, {"d"});
  for (const char* text : {"a", "b", "x(c)", "d"}) {
    Click(text);
    EXPECT_FALSE(editor.Availability().AddDialecticalNegation) << text;
    EXPECT_FALSE(editor.Availability().Match) << text;
    EXPECT_FALSE(editor.Availability().Instantiate) << text;
  }
}

TEST_F(TSelectionTest, ClicksWhileTheMainWindowIsInactiveSelectNothing) {
  Load({"a", "b"});
  Click("a");
  editor.ScrollBox1MouseDown(FrameOf("b"), {5, 35}, false);
  EXPECT_EQ(Selected(), "a");
  EXPECT_EQ(editor.StatusPanels()[2], "a");
  editor.ScrollBox1MouseDown(std::nullopt, {5, 300}, false);
  EXPECT_EQ(Selected(), "a");
  editor.ScrollBox1DblClick(FrameOf("a"), false);
  EXPECT_FALSE(editor.StatementBox().Visible);
  EXPECT_TRUE(NewLog().empty());
}

TEST_F(TSelectionTest, SelectionFollowsItsSentenceWhenTheDrawingIsReordered) {
  Load({"a", "b"});
  Click("a");
  const int before = selection.SelectedIndex;
  editor.Setasissue1Click();  // issues are drawn after the assumptions
  ASSERT_NE(diagram.DrawnIndexOfText("a"), before);
  EXPECT_EQ(Selected(), "a");
  EXPECT_EQ(Offered(), "a");
  editor.Delete1Click();
  EXPECT_EQ(Assumptions(), (Names{"b"}));
  EXPECT_EQ(Issues(), Names{});
}

TEST_F(TSelectionTest, SelectionOfASentenceThatIsGoneIsCleared) {
  Load({"a", "if(a, b)"});
  Click("b");
  editor.CarrySelectionAcross([&] {
    TKorvelFile file;
    file.LoadFromText(TheoryText({"c"}, {}));
    document.CommitFileText(file);
  });
  EXPECT_EQ(selection.SelectedIndex, -1);
  EXPECT_EQ(selection.OfferedIndex, -1);
  editor.Delete1Click();
  EXPECT_EQ(Assumptions(), (Names{"c"}));
}

}  // namespace
