// The learning search and the portfolio against the depth-first engine on
// medium theories (too large for the literal definition): the same
// interpretations, the same objects, the same order and the same cut; and
// the stop request inside the learning search.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <chrono>
#include <optional>
#include <random>
#include <span>
#include <thread>

#include "evaluation/interpretations.h"
#include "evaluation/interpretations_engine.h"
#include "evaluation/interpretations_reference.h"
#include "tests/evaluation/theory_families.h"

namespace {

using families::Atom;
using families::If;
using families::Neg;

TEvaluation Evaluate(const TKorvelTheory& theory, TSearchStrategy strategy, size_t limit,
                     uint64_t budget = 1u << 17, TEvaluationControl* control = nullptr,
                     std::optional<uint64_t> askBudget = std::nullopt) {
  TInterpretationEngine engine(theory);
  engine.SetStrategy(strategy);
  engine.SetBudget(budget, std::chrono::milliseconds(5));
  if (askBudget) engine.SetAskBudget(*askBudget);
  return engine.Evaluate(limit, control);
}

void ExpectSame(const TEvaluation& expected, const TEvaluation& actual, const std::string& where) {
  ASSERT_FALSE(expected.Stopped) << where;
  ASSERT_FALSE(actual.Stopped) << where;
  ASSERT_EQ(expected.Cut, actual.Cut) << where;
  ASSERT_EQ(expected.Interpretations.size(), actual.Interpretations.size()) << where;
  for (size_t k = 0; k < expected.Interpretations.size(); ++k)
    ASSERT_EQ(expected.Interpretations[k], actual.Interpretations[k]) << where << " #" << k + 1;
}

TEST(LearningSearch, AgreesWithDepthFirstOnMediumTheories) {
  struct TCase {
    const char* Name;
    TKorvelTheory (*Make)(size_t, unsigned);
    size_t Size;
    unsigned Variants;
    size_t Limit;
  };
  const TCase cases[] = {
      {"random", families::Random, 30, 40, 10000},
      {"random", families::Random, 60, 20, 20},  // many interpretations: the cut
      {"cyclic", families::Tangled, 24, 60, 10000},
      {"cyclic", families::Tangled, 45, 20, 20},
      {"framework", [](size_t n, unsigned v) { return families::AttackFramework(n, n + n / 4, v); },
       40, 30, 10000},
      {"framework reversed",
       [](size_t n, unsigned v) { return families::AttackFramework(n, n + n / 4, v, true); }, 40,
       30, 10000},
      {"3-sat", [](size_t n, unsigned v) { return families::ThreeSat(n, n * 4, v); }, 12, 20, 10000},
      {"3-sat", [](size_t n, unsigned v) { return families::ThreeSat(n, n * 2, v); }, 20, 10, 50},
  };
  size_t nonEmpty = 0, cut = 0;
  for (const TCase& c : cases) {
    for (unsigned v = 1; v <= c.Variants; ++v) {
      const TKorvelTheory theory = c.Make(c.Size, v);
      const std::string where = std::string(c.Name) + "(" + std::to_string(c.Size) + ", " +
                                std::to_string(v) + ")";
      const TEvaluation expected = Evaluate(theory, TSearchStrategy::DepthFirst, c.Limit);
      ExpectSame(expected, Evaluate(theory, TSearchStrategy::Learning, c.Limit), where + " learning");
      // Whether a part has any choice asked of CaDiCaL, the listing after it.
      ExpectSame(expected, Evaluate(theory, TSearchStrategy::Learning, c.Limit, 1u << 17, nullptr, 0),
                 where + " learning, CaDiCaL asked first");
      // A budget of a few steps hands every part over midway.
      ExpectSame(expected, Evaluate(theory, TSearchStrategy::Portfolio, c.Limit, 1),
                 where + " portfolio");
      nonEmpty += expected.Interpretations.empty() ? 0u : 1u;
      cut += expected.Cut ? 1u : 0u;
    }
  }
  // The generators must give both outcomes and reach the cut.
  EXPECT_GT(nonEmpty, 60u);
  EXPECT_GT(cut, 3u);
}

TEST(LearningSearch, FindsNoInterpretationWhereTheConflictComesLast) {
  // 40 pairs: the depth-first search would try 2^40 choices.
  const TEvaluation evaluation = EvaluateInterpretations(families::PairsThenOddCycle(40));
  EXPECT_TRUE(evaluation.Interpretations.empty());
  EXPECT_FALSE(evaluation.Cut);
  EXPECT_FALSE(evaluation.Stopped);
  // Without the cycle the same grid has interpretations; with it, none.
  EXPECT_FALSE(EvaluateInterpretations(families::Grid(4, false)).Interpretations.empty());
  EXPECT_TRUE(EvaluateInterpretations(families::Grid(9, true)).Interpretations.empty());
}

// A theory whose ambiguous group alone has 2^26 candidates to try: the
// conditional ties every pair to the ambiguous text.
TKorvelTheory AmbiguousAndExhaustive() {
  TKorvelTheory theory = families::Pairs(13);
  std::vector<SentencePtr> conjuncts;
  for (size_t i = 1; i <= 13; ++i) conjuncts.push_back(Atom(families::Indexed("p", i)));
  SentencePtr conditional = If(std::move(conjuncts), Atom("a, b"));
  families::Assume(theory, conditional);
  families::Assume(theory, Atom(conditional->Text));
  return theory;
}

TEST(LearningSearch, StopsWhereverItIsAsked) {
  struct TCase {
    const char* Name;
    TKorvelTheory Theory;
    TSearchStrategy Strategy;
    bool CountsDecisions;
  };
  const TCase cases[] = {
      // Hard enough that no search ends by itself within the test.
      {"in the solver", families::ThreeSat(400, 1704, 3), TSearchStrategy::Learning, true},
      {"in the portfolio", families::ThreeSat(400, 1704, 3), TSearchStrategy::Portfolio, true},
      {"depth first", families::PairsThenOddCycle(60), TSearchStrategy::DepthFirst, false},
      {"object by object", AmbiguousAndExhaustive(), TSearchStrategy::Portfolio, false},
  };
  for (const TCase& c : cases) {
    for (bool before : {true, false}) {
      TEvaluationControl control;
      if (before) control.RequestStop();
      // Where the search reports progress, the stop comes once it has some.
      std::thread stopper([&control, &c] {
        const auto start = std::chrono::steady_clock::now();
        do {
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (c.CountsDecisions && control.Decisions.load() == 0 &&
                 std::chrono::steady_clock::now() - start < std::chrono::seconds(5));
        control.RequestStop();
      });
      TInterpretationEngine engine(c.Theory, &control);
      engine.SetStrategy(c.Strategy);
      const TEvaluation evaluation = engine.Evaluate(kInterpretationLimit, &control);
      stopper.join();
      const std::string where = std::string(c.Name) + (before ? ", asked before" : ", asked during");
      EXPECT_TRUE(evaluation.Stopped) << where;
      EXPECT_TRUE(evaluation.Interpretations.empty()) << where;
      EXPECT_FALSE(evaluation.Cut) << where;
      if (!before && c.CountsDecisions) {
        EXPECT_GT(control.Decisions.load(), 0u) << where;
      }
    }
  }
}

}  // namespace

namespace {

// A question that needs any interpretation gets one of them (the same
// objects as the list holds it), or none exactly when there is none.
TEST(LearningSearch, AnyInterpretationIsOneOfThemOrNoneWhenThereIsNone) {
  size_t found = 0, none = 0, notFirst = 0;
  for (unsigned v = 1; v <= 40; ++v) {
    const TKorvelTheory theories[] = {families::Random(14 + v % 9, v),
                                      families::Tangled(12 + v % 7, v),
                                      families::AttackFramework(30, 30 + v, v),
                                      families::ThreeSat(10, 25 + v % 20, v)};
    for (const TKorvelTheory& theory : theories) {
      const TEvaluation all = Evaluate(theory, TSearchStrategy::Portfolio, 1000000);
      TInterpretationEngine engine(theory);
      std::optional<TListOfKorvelSentences> any;
      const TEnumerationSummary summary =
          engine.FindAny([&](std::span<const size_t> forced, std::span<const size_t> taken) {
            any.emplace();
            for (auto part : {forced, taken})
              for (size_t pos : part) any->push_back(theory.Assumptions[pos]);
            return true;
          });
      const std::string where = "variant " + std::to_string(v) + ", " +
                                std::to_string(theory.Assumptions.size()) + " assumptions";
      ASSERT_EQ(summary.Count, any ? 1u : 0u) << where;
      ASSERT_EQ(any.has_value(), !all.Interpretations.empty()) << where;
      if (!any) {
        ++none;
        continue;
      }
      ++found;
      ASSERT_NE(std::find(all.Interpretations.begin(), all.Interpretations.end(), *any),
                all.Interpretations.end())
          << where;
      notFirst += *any != all.Interpretations.front() ? 1u : 0u;
    }
  }
  EXPECT_GT(found, 40u);
  EXPECT_GT(none, 20u);
  EXPECT_GT(notFirst, 0u);  // it really is asked in another order
}

}  // namespace
