// Cases the evaluation must get right that random theories rarely reach: the
// cap reached inside one connected part of the search, and an ambiguous text
// whose real conditional comes before the elementary sentence.
#include <gtest/gtest.h>

#include "evaluation/interpretations.h"
#include "evaluation/interpretations_reference.h"
#include "tests/evaluation/theory_families.h"

namespace {

using families::Assume;
using families::Atom;
using families::If;
using families::Indexed;

// Pairs(4) tied into one part: if(p_i, q_{i+1}, r_i) links the choices of
// neighbouring pairs without changing them, so the 16 interpretations come
// from one search, not from combining independent parts.
TKorvelTheory TiedPairs() {
  TKorvelTheory theory = families::Pairs(4);
  for (size_t i = 1; i < 4; ++i)
    Assume(theory, If({Atom(Indexed("p", i)), Atom(Indexed("q", i + 1))}, Atom(Indexed("r", i))));
  return theory;
}

TEST(InterpretationLimit, TheCapReachedInsideOneConnectedPart) {
  const TKorvelTheory theory = TiedPairs();
  const auto expected = reference::ComputeInterpretations(theory);
  ASSERT_EQ(16u, expected.size());
  for (size_t limit : {1u, 2u, 7u, 15u, 16u, 17u}) {
    SCOPED_TRACE(limit);
    const TEvaluation evaluation = EvaluateInterpretations(theory, limit);
    EXPECT_EQ(limit < 16, evaluation.Cut);
    EXPECT_FALSE(evaluation.Stopped);
    const size_t kept = std::min<size_t>(limit, 16);
    EXPECT_EQ(TListOfListOfKorvelSentences(expected.begin(), expected.begin() + static_cast<long>(kept)),
              evaluation.Interpretations);
  }
  // A search cut short leaves nothing behind: the next evaluation is whole.
  EvaluateInterpretations(theory, 3);
  EXPECT_EQ(expected, EvaluateInterpretations(theory, 100).Interpretations);
}

TEST(Interpretations, AmbiguousTextWithTheConditionalBeforeTheElementarySentence) {
  // The real conditional if(a, x(b)) comes first, so it is the object a
  // closure meets for that text: it fires and defeats b. The elementary
  // sentence with the same text, later, is the same sentence and is not
  // listed again.
  TKorvelTheory theory;
  Assume(theory, Atom("a"));
  Assume(theory, families::Attack("a", "b"));
  Assume(theory, Atom("if(a, x(b))"));
  Assume(theory, Atom("b"));
  const auto expected = reference::ComputeInterpretations(theory);
  const TEvaluation evaluation = EvaluateInterpretations(theory);
  EXPECT_EQ(expected, evaluation.Interpretations);
  ASSERT_EQ(1u, evaluation.Interpretations.size());
  const TListOfKorvelSentences& only = evaluation.Interpretations[0];
  ASSERT_EQ(2u, only.size());
  EXPECT_EQ(theory.Assumptions[0], only[0]);
  EXPECT_EQ(theory.Assumptions[1], only[1]);
  MarkStatuses(theory, only);
  EXPECT_TRUE(theory.Assumptions[3]->IsDefeated);  // b
  EXPECT_FALSE(theory.Assumptions[3]->IsJustified);
  EXPECT_TRUE(theory.Assumptions[1]->IsJustified);
}

}  // namespace
