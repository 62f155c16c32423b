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
  for (size_t t = 0; t < theories.size(); ++t) {
    for (const bool negations : {true, false}) {
      for (const bool structureBefore : {true, false}) {
        SCOPED_TRACE(testing::Message() << "theory " << t << ", negations " << negations << ", structure only before "
                                        << structureBefore);
        TTestTheory theory(theories[t].first, theories[t].second);
        TDrawContext shown;
        UseOptions(shown, structureBefore, negations);
        Mark(theory, 0);
        theory.Layout(shown);
        for (int round = 1; round <= 4; ++round) {
          Mark(theory, round);
          UseOptions(shown, false, negations);
          RedrawCalls(shown);
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
