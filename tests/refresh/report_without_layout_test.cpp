// `korvel report` lays out no diagram. That is sound only if laying out adds
// no issue after the refresh has given every sentence its role: checked here
// with the real layout on many theories.
#include <gtest/gtest.h>

#include "diagram/diagram_layout.h"
#include "refresh/refresh_core.h"
#include "logic/parser.h"
#include "tests/evaluation/theory_families.h"

namespace {

void ExpectSameReportWithLayout(TKorvelTheory theory, const std::string& name) {
  for (const auto& s : theory.Issues) s->IsIssue = true;
  TKorvelFile file;
  WriteTheory(theory, file);
  const TRefreshResult without = Refresh({file, {}});
  size_t drawn = 0;
  const TRefreshResult with =
      Refresh({file, {}, [&drawn](TKorvelTheory& t, const TListOfKorvelSentences& all) {
        TDrawContext context;
        context.Theory = &t;
        DrawArguments(context, all, 0, 0);
        drawn = context.DrawnSentences.size();
      }});
  EXPECT_EQ(without.ReportLines, with.ReportLines) << name;
  EXPECT_EQ(without.Theory.Issues.size(), with.Theory.Issues.size()) << name;
  EXPECT_EQ(with.AllSentences.empty(), drawn == 0) << name;
}

TEST(ReportWithoutLayout, LayingOutAddsNoIssueTheReportWouldShow) {
  for (unsigned variant = 1; variant <= 80; ++variant)
    ExpectSameReportWithLayout(families::Random(8, variant),
                               "random(8, " + std::to_string(variant) + ")");
  ExpectSameReportWithLayout(families::Ladder(4), "ladder(4)");
  TKorvelTheory nested;
  for (const char* text :
       {"if(a, if(b, x(c)))", "x(x(a))", "if(, x(if(a, b)))", "b", "if(a, a, b)"})
    families::Assume(nested, ParseSentence(text));
  for (const char* text : {"x(b)", "if(c, d)"}) nested.Issues.push_back(ParseSentence(text));
  ExpectSameReportWithLayout(std::move(nested), "nested");
}

}  // namespace
