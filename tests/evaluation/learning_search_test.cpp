// The learning search and the portfolio against the depth-first engine on
// medium theories (too large for the literal definition): the same
// interpretations, the same objects, the same order and the same cut; and
// the stop request inside the learning search.
#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <chrono>
#include <random>
#include <thread>

#include "interpretations.h"
#include "interpretations_engine.h"
#include "interpretations_reference.h"
#include "theory_families.h"

namespace {

using families::Atom;
using families::If;
using families::Neg;

TEvaluation Evaluate(const TKorvelTheory& theory, TSearchStrategy strategy, size_t limit,
                     uint64_t budget = 1u << 17, TEvaluationControl* control = nullptr) {
  TInterpretationEngine engine(theory);
  engine.SetStrategy(strategy);
  engine.SetBudget(budget, std::chrono::milliseconds(5));
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

TEST(LearningSearch, StopsInsideTheSolver) {
  // Hard enough that neither search ends by itself within the test.
  const TKorvelTheory theory = families::ThreeSat(400, 1704, 3);
  TEvaluationControl control;
  std::thread stopper([&control] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    control.RequestStop();
  });
  const TEvaluation evaluation = Evaluate(theory, TSearchStrategy::Learning, 10000, 0, &control);
  stopper.join();
  EXPECT_TRUE(evaluation.Stopped);
  EXPECT_TRUE(evaluation.Interpretations.empty());
  EXPECT_FALSE(evaluation.Cut);
  EXPECT_GT(control.Decisions.load(), 0u);
}

// A statement "a, b" supported by c, and a statement whose text reads the
// same as that support: equal texts that behave differently. With the real
// conditional first or second, plus an attack from c and an ambiguous text
// that is attacked.
TKorvelTheory WithAmbiguousPair(size_t pairs, bool conditionalFirst) {
  TKorvelTheory theory = families::Pairs(pairs);
  SentencePtr conditional = If({Atom("c")}, Atom("a, b"));
  SentencePtr look = Atom(conditional->Text);
  families::Assume(theory, conditionalFirst ? conditional : look);
  families::Assume(theory, conditionalFirst ? look : conditional);
  families::Assume(theory, Atom("c"));
  families::Assume(theory, Atom("d"));
  families::Assume(theory, families::Attack("d", "c"));
  families::Assume(theory, families::Attack("c", "d"));
  families::Assume(theory, If({Atom("d")}, Neg(Atom("a, b"))));
  return theory;
}

TEST(AmbiguousTexts, OnlyTheirOwnGroupIsEvaluatedObjectByObject) {
  for (bool conditionalFirst : {true, false}) {
    const std::string where = conditionalFirst ? "conditional first" : "elementary first";
    // Small enough for the literal definition.
    const TKorvelTheory small = WithAmbiguousPair(3, conditionalFirst);
    ASSERT_TRUE(TInterpretationEngine(small).Ambiguous()) << where;
    const auto expected = reference::ComputeInterpretations(small);
    ASSERT_FALSE(expected.empty()) << where;
    EXPECT_EQ(expected, ComputeInterpretations(small)) << where;
    // Twelve unrelated pairs: 2^12 times the choices of the ambiguous group,
    // which the pairs must not multiply into an exhaustive search.
    const TKorvelTheory large = WithAmbiguousPair(12, conditionalFirst);
    const TEvaluation evaluation = EvaluateInterpretations(large);
    const TKorvelTheory alone = WithAmbiguousPair(0, conditionalFirst);
    const size_t own = reference::ComputeInterpretations(alone).size();
    ASSERT_EQ(expected.size(), own << 3) << where;
    ASSERT_EQ(evaluation.Interpretations.size(), own << 12) << where;
    // In counter order the pairs come first (p_i before q_i), the ambiguous
    // group's own choices last: interpretation k takes p_i in as the bits of
    // k / own say.
    for (size_t k = 0; k < evaluation.Interpretations.size(); k += 997) {
      const auto& interpretation = evaluation.Interpretations[k];
      // Pairs assumptions carry texts p_i / q_i and their attacks.
      size_t p = 0;
      for (const auto& a : interpretation)
        if (a->Text.size() > 1 && a->Text[0] == 'p' && std::isdigit(static_cast<unsigned char>(a->Text[1]))) ++p;
      EXPECT_EQ(p, static_cast<size_t>(std::popcount(k / own))) << where << " #" << k;
    }
  }
}

}  // namespace
