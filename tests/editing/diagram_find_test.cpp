// Finding boxes by the text of their statements, and stepping through the
// matches from the selected box.
#include <gtest/gtest.h>

#include "editing/diagram_find.h"
#include "tests/diagram/diagram_test_theory.h"

namespace {

struct TFindDiagram {
  TTestTheory Theory;
  TDrawContext Context;
  explicit TFindDiagram(TTestTheory theory) : Theory(std::move(theory)) { Theory.Layout(Context); }

  std::vector<std::string> TextsOf(const std::vector<int>& frames) const {
    std::vector<std::string> texts;
    for (int frame : frames)
      texts.push_back(Context.DrawnSentences[static_cast<size_t>(Context.Drawing.Elements[static_cast<size_t>(frame)].Tag)]->Text);
    return texts;
  }
  std::vector<int> Find(std::string_view query) const {
    return FindBoxes(Context.Drawing, Context.DrawnSentences, query);
  }
  // The frame of the n-th box (in drawing order) with the text.
  int Frame(const std::string& text, int nth = 0) const {
    const auto& elements = Context.Drawing.Elements;
    for (size_t i = 0; i < elements.size(); ++i)
      if (elements[i].Kind == TElementKind::Frame && Context.DrawnSentences[static_cast<size_t>(elements[i].Tag)]->Text == text &&
          nth-- == 0)
        return static_cast<int>(i);
    return -1;
  }
};

// Claim on row 0 with the reasons of its attack and supports below it;
// Apple also supports "other", so it is drawn a second time further down.
TFindDiagram Orchard() {
  return TFindDiagram(TTestTheory({"if(Apple, Claim)", "if(pineapple pie, Claim)", "if(grape, x(Claim))",
                                   "if(Apple, other)", std::string(kPlaceholderText).c_str()},
                                  {"Claim", "other"}));
}

}  // namespace

TEST(DiagramFind, BoxesWhoseStatementContainsTheTextInReadingOrder) {
  const TFindDiagram diagram = Orchard();
  const std::vector<std::pair<std::string, std::vector<std::string>>> rows = {
      {"apple", {"Apple", "pineapple pie", "Apple"}},  // both boxes of Apple, ignoring case
      {"APPLE", {"Apple", "pineapple pie", "Apple"}},
      {"Claim", {"Claim"}},
      {"r", {"grape", "other"}},
      {"if(", {}},  // conditionals are drawn as links, not boxes
      {"technical", {}},  // the placeholder's box shows no text
      {"", {}},
      {"plum", {}},
  };
  for (const auto& [query, texts] : rows) {
    SCOPED_TRACE(query);
    const std::vector<int> found = diagram.Find(query);
    EXPECT_EQ(diagram.TextsOf(found), texts);
    for (size_t i = 1; i < found.size(); ++i) {
      const TDiagramElement& before = diagram.Context.Drawing.Elements[static_cast<size_t>(found[i - 1])];
      const TDiagramElement& after = diagram.Context.Drawing.Elements[static_cast<size_t>(found[i])];
      EXPECT_LT(std::pair(before.Row, before.Column), std::pair(after.Row, after.Column));
    }
  }
}

TEST(DiagramFind, NextMatchStepsFromTheSelectedBoxAndWrapsAround) {
  const TFindDiagram diagram = Orchard();
  const TDiagramDrawing& drawing = diagram.Context.Drawing;
  const std::vector<int> matches = diagram.Find("apple");  // Apple, pineapple pie, Apple (under other)
  ASSERT_EQ(matches.size(), 3U);
  EXPECT_EQ(NextMatch(drawing, matches, -1), 0);
  EXPECT_EQ(NextMatch(drawing, matches, -1, true), 2);
  EXPECT_EQ(NextMatch(drawing, matches, matches[0]), 1);
  EXPECT_EQ(NextMatch(drawing, matches, matches[1]), 2);
  EXPECT_EQ(NextMatch(drawing, matches, matches[2]), 0);
  EXPECT_EQ(NextMatch(drawing, matches, matches[0], true), 2);
  EXPECT_EQ(NextMatch(drawing, matches, matches[2], true), 1);
  // From a box that is no match: the next match reading on, or the one before.
  const int claim = diagram.Frame("Claim");
  const int other = diagram.Frame("other");
  EXPECT_EQ(NextMatch(drawing, matches, claim), 0);
  EXPECT_EQ(NextMatch(drawing, matches, claim, true), 2);
  EXPECT_EQ(NextMatch(drawing, matches, other), 2);
  EXPECT_EQ(NextMatch(drawing, matches, other, true), 1);
  EXPECT_EQ(NextMatch(drawing, {}, claim), -1);
}
