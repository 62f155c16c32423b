// Drawing a laid-out diagram again with other marks gives, element for
// element, what laying it out anew with those marks gives.
#include <gtest/gtest.h>

#include "diagram/diagram_redraw.h"
#include "tests/diagram/diagram_test_theory.h"

namespace {

// Marks every sentence by its place and the round: justified, defeated,
// both, or open, so that every status meets every other across rounds.
void Mark(TTestTheory& theory, int round) {
  for (size_t i = 0; i < theory.All.size(); ++i) {
    const size_t status = (i + static_cast<size_t>(round)) % 4;
    theory.All[i]->IsJustified = status == 0 || status == 2;
    theory.All[i]->IsDefeated = status == 1 || status == 2;
  }
}

void UseOptions(TDrawContext& context, bool structureOnly, bool negations) {
  context.StructureOnly = structureOnly;
  context.ShowDialecticalNegations = negations;
  // Bold and italic labels differ in width, as in a real font.
  context.TextWidth = [](std::string_view text, TFontStyle style) {
    return static_cast<int>(text.size()) * (style == TFontStyle::Bold ? 7 : 6);
  };
}

}  // namespace

TEST(DiagramRedraw, GivesTheDrawingOfANewLayout) {
  const std::vector<std::pair<std::vector<const char*>, std::vector<const char*>>> theories = {
      {{"if(p, s)", "if(q, s)", "if(r, x(s))", "r"}, {"s"}},
      {{"if(a, b, s)", "a", "b"}, {"s"}},
      {{"if(a, b)", "if(b, a)"}, {}},  // a cycle mark
      {{"if(p, s)", "if(q, if(p, s))", "if(r, if(q, if(p, s)))", "if(t, x(if(p, s)))"}, {"s"}},
      {{"a", "if(a, x(b))", "b", "if(b, x(a))", "if(b, c, x(d))"}, {"d", "x(a)"}},
      {{"***This sentence occurs for technical reasons. If you see it you may have encountered a bug in the "
        "program.***",
        "if(e, f)"},
       {"f"}},
  };
  // Replayed in place, or (as the window does for a large drawing) into a
  // copy made for it, whose drawing then replaces the one shown.
  for (size_t t = 0; t < theories.size(); ++t) {
    for (const bool negations : {true, false}) {
      for (const bool structureBefore : {true, false}) {
        for (const bool aside : {false, true}) {
          SCOPED_TRACE(testing::Message() << "theory " << t << ", negations " << negations << ", structure only before "
                                          << structureBefore << ", aside " << aside);
          TTestTheory theory(theories[t].first, theories[t].second);
          TDrawContext shown;
          UseOptions(shown, structureBefore, negations);
          Mark(theory, 0);
          theory.Layout(shown);
          for (int round = 1; round <= 4; ++round) {
            Mark(theory, round);
            UseOptions(shown, false, negations);
            if (aside) {
              const std::vector<TDiagramElement> before = shown.Drawing.Elements;
              TDrawContext copy = shown.CopyForReplay();
              EXPECT_TRUE(copy.Drawing.Elements.empty());
              UseOptions(copy, false, negations);  // the copy's own measure
              RedrawCalls(copy);
              ASSERT_TRUE(shown.Drawing.Elements == before);  // shown meanwhile, untouched
              shown.Drawing = std::move(copy.Drawing);
            } else {
              RedrawCalls(shown);
            }
            TDrawContext fresh;
            UseOptions(fresh, false, negations);
            theory.Layout(fresh);
            ASSERT_EQ(shown.Drawing.Elements.size(), fresh.Drawing.Elements.size()) << "round " << round;
            for (size_t i = 0; i < fresh.Drawing.Elements.size(); ++i)
              ASSERT_TRUE(shown.Drawing.Elements[i] == fresh.Drawing.Elements[i]) << "round " << round << ", element " << i;
            EXPECT_EQ(shown.Drawing.Captions, fresh.Drawing.Captions);
            std::ostringstream before, after;
            WriteLayoutLines(shown, before);
            WriteLayoutLines(fresh, after);
            EXPECT_EQ(before.str(), after.str());
          }
        }
      }
    }
  }
}

// New marks drawn late: after MarkCallsStale, any elements drawn on request,
// then all the rest, give element for element the drawing of a new layout,
// through several rounds of marks that were never drawn in between.
TEST(DiagramRedraw, MarksDrawnLateGiveTheDrawingOfANewLayout) {
  TTestTheory theory({"if(p, s)", "if(q, s)", "if(r, x(s))", "r", "if(a, b, s)", "a", "b", "if(s, t)", "if(t, s)",
                      "if(e, if(p, s))", "if(f, x(if(p, s)))"},
                     {"s", "x(a)"});
  for (const bool negations : {true, false}) {
    SCOPED_TRACE(testing::Message() << "negations " << negations);
    TDrawContext shown;
    UseOptions(shown, false, negations);
    Mark(theory, 0);
    theory.Layout(shown);
    const int linkWidth = shown.Metrics.LinkWidth;
    for (int round = 1; round <= 6; ++round) {
      SCOPED_TRACE(testing::Message() << "round " << round);
      Mark(theory, round);
      ASSERT_TRUE(MarkCallsStale(shown));
      if (round % 3 == 0) continue;  // these marks are never drawn: the next ones replace them
      TDrawContext fresh;
      UseOptions(fresh, false, negations);
      theory.Layout(fresh);
      const auto& elements = shown.Drawing.Elements;
      ASSERT_EQ(elements.size(), fresh.Drawing.Elements.size());
      // A window over the middle: exactly those elements drawn, some before
      // it still stale (the labels whose font changed have their old width).
      std::vector<int> middle;
      for (size_t i = elements.size() / 3; i < 2 * elements.size() / 3; ++i) middle.push_back(static_cast<int>(i));
      ResolveElements(shown, middle);
      for (int i : middle) ASSERT_TRUE(elements[static_cast<size_t>(i)] == fresh.Drawing.Elements[static_cast<size_t>(i)]) << i;
      EXPECT_TRUE(shown.Drawing.MarksPending);
      bool staleBefore = false;
      for (size_t i = 0; i < elements.size() / 3; ++i) staleBefore |= !(elements[i] == fresh.Drawing.Elements[i]);
      EXPECT_TRUE(staleBefore);
      ResolveAllMarks(shown);
      EXPECT_FALSE(shown.Drawing.MarksPending);
      for (size_t i = 0; i < elements.size(); ++i) ASSERT_TRUE(elements[i] == fresh.Drawing.Elements[i]) << i;
      EXPECT_EQ(shown.Drawing.Captions, fresh.Drawing.Captions);
      EXPECT_EQ(shown.Drawing.Width(), fresh.Drawing.Width());
      EXPECT_EQ(shown.Metrics.LinkWidth, linkWidth);
    }
  }
}

// Under other options a call draws another number of elements: the marks are
// then not drawn late, and nothing is drawn in place meanwhile.
TEST(DiagramRedraw, OtherOptionsAreNotDrawnInPlace) {
  TTestTheory theory({"if(p, s)", "p"}, {"s", "x(p)"});
  TDrawContext shown;
  UseOptions(shown, true, true);
  theory.Layout(shown);
  UseOptions(shown, false, true);
  EXPECT_FALSE(MarkCallsStale(shown));
  UseOptions(shown, true, false);
  EXPECT_FALSE(MarkCallsStale(shown));
  UseOptions(shown, true, true);
  ASSERT_TRUE(MarkCallsStale(shown));
  const std::vector<TDiagramElement> before = shown.Drawing.Elements;
  UseOptions(shown, false, true);  // changed while marks are pending
  ResolveAllMarks(shown);
  EXPECT_TRUE(shown.Drawing.Elements == before);
  // The legend's way: elements whose calls were let go.
  TDrawContext legend;
  theory.Layout(legend);
  legend.Drawing.Calls.clear();
  EXPECT_FALSE(MarkCallsStale(legend));
}
