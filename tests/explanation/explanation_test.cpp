// Explanations of hand-made theories, line by line as the panel and korvel
// show them, and a derivation as deep as a long theory.
#include <gtest/gtest.h>

#include "acceptance/acceptance.h"
#include "evaluation/interpretations.h"
#include "explanation/acceptance_explanation.h"
#include "explanation/explanation.h"
#include "explanation/explanation_text.h"
#include "logic/parser.h"
#include "tests/evaluation/theory_families.h"

namespace {

TKorvelTheory Theory(std::vector<std::string> assumptions, std::vector<std::string> issues) {
  return families::Parsed(assumptions, issues);
}

std::vector<std::string> Shown(const TExplanation& explanation) {
  std::vector<std::string> lines;
  for (const auto& line : explanation.Lines)
    lines.push_back(std::string(2 * static_cast<size_t>(line.Depth), ' ') + LineText(line));
  return lines;
}

constexpr const char* kMember = " is justified: it is an assumption of the interpretation";

struct TCase {
  const char* Name;
  std::vector<std::string> Assumptions, Issues;
  std::string Sentence;
  std::vector<std::string> Expected;
};

TEST(Explanation, HandCheckedTheoriesReadAsExpected) {
  const std::string m = kMember;
  const std::vector<TCase> cases = {
      {"support",
       {"a", "if(a, b)"},
       {"b"},
       "b",
       {"\"b\" is justified by \"if(a, b)\"", "  \"if(a, b)\"" + m, "  \"a\"" + m}},
      {"the shallowest derivation, an earlier step shown once",
       {"a", "if(a, b)", "if(b, c)", "if(b, a, c)", "if(c, d)", "if(a, d)"},
       {},
       "c",
       {"\"c\" is justified by \"if(b, c)\"", "  \"if(b, c)\"" + m,
        "  \"b\" is justified by \"if(a, b)\"", "    \"if(a, b)\"" + m, "    \"a\"" + m}},
      {"shared premise",
       {"a", "if(a, b)", "if(b, a, c)"},
       {},
       "c",
       {"\"c\" is justified by \"if(b, a, c)\"", "  \"if(b, a, c)\"" + m,
        "  \"b\" is justified by \"if(a, b)\"", "    \"if(a, b)\"" + m, "    \"a\"" + m,
        "  \"a\" is justified (derived above)"}},
      {"attack",
       {"a", "b", "if(a, x(b))"},
       {},
       "b",
       {"\"b\" is defeated: its negation \"x(b)\" is justified",
        "  \"x(b)\" is justified by \"if(a, x(b))\"", "    \"if(a, x(b))\"" + m, "    \"a\"" + m}},
      {"open, one level",
       {"a", "b", "if(b, x(d))"},
       {"if(a, c)", "if(d, e, x(c))"},
       "c",
       {"\"c\" is open: neither it nor its negation follows",
        "  \"if(a, c)\" would give \"c\", but these are not justified:", "    \"if(a, c)\" is open",
        "  \"if(d, e, x(c))\" would give \"x(c)\", but these are not justified:",
        "    \"if(d, e, x(c))\" is open", "    \"d\" is defeated", "    \"e\" is open"}},
      {"nothing gives it",
       {"a"},
       {"z"},
       "z",
       {"\"z\" is open: neither it nor its negation follows",
        "  no conditional has \"z\" or \"x(z)\" as its consequent"}},
      {"no interpretation",
       {"p", "if(p, x(p))"},
       {},
       "p",
       {"\"p\" is neither justified nor defeated: no dialectical interpretation is shown"}},
  };
  for (const auto& c : cases) {
    TKorvelTheory theory = Theory(c.Assumptions, c.Issues);
    const TEvaluation evaluation = EvaluateInterpretations(theory);
    const TListOfKorvelSentences first =
        evaluation.Interpretations.empty() ? TListOfKorvelSentences{} : evaluation.Interpretations.front();
    TExplainer explainer(theory, evaluation.Interpretations.empty() ? nullptr : &first);
    ASSERT_TRUE(explainer.IsSentence(c.Sentence)) << c.Name;
    EXPECT_EQ(Shown(explainer.Explain(c.Sentence)), c.Expected) << c.Name;
  }
}

TEST(Explanation, EachInterpretationHasItsOwnExplanationAndOnlyTheoryTextsAreSentences) {
  TKorvelTheory theory = Theory({"if(p, x(q))", "if(q, x(p))", "p", "q"}, {});
  const TEvaluation evaluation = EvaluateInterpretations(theory);
  ASSERT_EQ(evaluation.Interpretations.size(), 2u);
  const TListOfListOfKorvelSentences lists = evaluation.Interpretations.ToLists();
  TExplainer first(theory, &lists[0]);
  TExplainer second(theory, &lists[1]);
  EXPECT_EQ(first.StatusOf("p"), TExplainedStatus::Defeated);
  EXPECT_EQ(second.StatusOf("p"), TExplainedStatus::Justified);
  EXPECT_EQ(first.Explain("p").Root().Kind, TStepKind::Defeated);
  EXPECT_EQ(second.Explain("p").Root().Kind, TStepKind::Member);
  EXPECT_TRUE(first.IsSentence("x(q)"));  // a part of an assumption
  EXPECT_FALSE(first.IsSentence("x(x(q))"));
  EXPECT_FALSE(first.IsSentence("r"));
  EXPECT_TRUE(first.Explain("r").Lines.empty());
}

TEST(Explanation, ADerivationAsDeepAsTheTheoryNeedsNoMachineStack) {
  // s0 and if(s_i, s_{i+1}): s_n is derived in n rounds, one line per step.
  const size_t n = 20000;
  std::vector<std::string> assumptions{"s0"};
  for (size_t i = 0; i < n; ++i)
    assumptions.push_back("if(s" + std::to_string(i) + ", s" + std::to_string(i + 1) + ")");
  TKorvelTheory theory = Theory(assumptions, {});
  const TEvaluation evaluation = EvaluateInterpretations(theory);
  ASSERT_EQ(evaluation.Interpretations.size(), 1u);
  const TListOfKorvelSentences only = evaluation.Interpretations.front();
  TExplainer explainer(theory, &only);
  const TExplanation explanation = explainer.Explain("s" + std::to_string(n));
  ASSERT_EQ(explanation.Lines.size(), 2 * n + 1);
  EXPECT_EQ(explanation.Lines.back().Sentence, "s0");
  EXPECT_EQ(explanation.Lines.back().Depth, static_cast<int>(n));
}

// With acceptance on, in a theory of two interpretations (a or b): the claim
// and the interpretation it names, for each interpretation shown.
TEST(Explanation, WithAcceptanceTheRootNamesAnInterpretationThatShowsTheClaim) {
  TKorvelTheory theory = Theory(
      {"a", "b", "if(a, x(b))", "if(b, x(a))", "if(a, c)", "d", "if(d, e)"}, {"c", "e", "f"});
  const TListOfListOfKorvelSentences listed = ComputeInterpretations(theory);
  ASSERT_EQ(listed.size(), 2u);
  const std::vector<std::string> texts{"c", "e", "f"};
  const TAcceptance acceptance = ComputeAcceptance(theory, texts);
  // Which listed interpretation holds b, and so lacks c.
  const int withB = IndexOfSentence(listed[0], theory.Assumptions[1]) >= 0 ? 0 : 1;
  const std::string lacks = "\"c\" is not justified in every interpretation: interpretation " +
                            std::to_string(withB + 1) + " lacks it";
  const std::string open = "  \"c\" is open: neither it nor its negation follows";
  const TInterpretationList compact = TInterpretationList::FromLists(listed);
  struct TAcceptanceCase {
    int Shown;
    std::string Sentence;
    std::vector<std::string> Expected;  // the first two lines
  };
  const std::vector<TAcceptanceCase> cases = {
      // Whichever is shown, the one with b is named: it lacks c.
      {withB, "c", {lacks, open}},
      {1 - withB, "c", {lacks, open}},
      {-1, "c", {lacks, open}},
      {1 - withB,
       "e",
       {"\"e\" is justified in every interpretation; in interpretation " +
            std::to_string(2 - withB) + ":",
        "  \"e\" is justified by \"if(d, e)\""}},
      {-1,
       "f",
       {"\"f\" is justified in none of the interpretations; in interpretation 1:",
        "  \"f\" is open: neither it nor its negation follows"}},
  };
  for (const auto& c : cases) {
    TAcceptanceExplainer explainer(theory, acceptance, texts, compact, c.Shown);
    const std::vector<std::string> shown = Shown(explainer.Explain(c.Sentence));
    ASSERT_GE(shown.size(), 2u) << c.Sentence;
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 2), c.Expected)
        << c.Sentence << " shown " << c.Shown;
  }
  // A witness that is not listed is explained without a number.
  const TInterpretationList onlyA =
      TInterpretationList::FromLists({listed[static_cast<size_t>(1 - withB)]});
  TAcceptanceExplainer unlisted(theory, acceptance, texts, onlyA, -1);
  EXPECT_EQ(Shown(unlisted.Explain("c"))[0],
            "\"c\" is not justified in every interpretation: one that is not listed lacks it");
  ASSERT_NE(unlisted.Interpretation(), nullptr);
  EXPECT_LT(IndexOfSentence(*unlisted.Interpretation(), theory.Assumptions[0]), 0);
  EXPECT_FALSE(unlisted.Covers("a"));

  // No interpretation at all: one line, whatever is listed.
  TKorvelTheory none = Theory({"a", "if(a, x(a))"}, {"a"});
  const std::vector<std::string> onlyText{"a"};
  const TAcceptance nothing = ComputeAcceptance(none, onlyText);
  ASSERT_FALSE(nothing.HasInterpretation);
  const TInterpretationList noneListed;
  TAcceptanceExplainer noneExplainer(none, nothing, onlyText, noneListed, -1);
  EXPECT_EQ(Shown(noneExplainer.Explain("a")),
            std::vector<std::string>{"\"a\" is neither justified nor defeated: the assumptions "
                                     "have no dialectical interpretation"});
}

}  // namespace
