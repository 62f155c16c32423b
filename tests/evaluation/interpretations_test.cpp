// Interpretations and marks of small theories whose answers are known by
// hand, the cap on the number kept, and families whose candidates run into
// 2^100 and more.
#include <gtest/gtest.h>

#include <limits>

#include "evaluation/interpretations.h"
#include "evaluation/interpretations_engine.h"
#include "evaluation/interpretations_reference.h"
#include "logic/parser.h"
#include "tests/evaluation/theory_families.h"

namespace {

using families::Atom;
using families::If;
using families::Neg;
using TTexts = std::vector<std::vector<std::string>>;

TKorvelTheory TheoryOf(const std::vector<std::string>& assumptions,
                       const std::vector<std::string>& issues = {}) {
  TKorvelTheory theory;
  for (const auto& text : assumptions) families::Assume(theory, ParseSentence(text));
  for (const auto& text : issues) theory.Issues.push_back(ParseSentence(text));
  return theory;
}

TTexts TextsOf(const TListOfListOfKorvelSentences& interpretations) {
  TTexts texts;
  for (const auto& interpretation : interpretations) {
    texts.emplace_back();
    for (const auto& s : interpretation) texts.back().push_back(s->Text);
  }
  return texts;
}

// The answer by hand, which must also be the definition's and the engine's.
void ExpectInterpretations(const TKorvelTheory& theory, const TTexts& expected) {
  const auto definition = reference::ComputeInterpretations(theory);
  EXPECT_EQ(expected, TextsOf(definition));
  EXPECT_EQ(definition, ComputeInterpretations(theory));
}

TEST(Interpretations, SmallTheoriesByHand) {
  // Nothing can defeat p or q: both forced, one interpretation.
  ExpectInterpretations(TheoryOf({"p", "q"}), {{"p", "q"}});
  // x(x(p)) never occurs, so x(p) is forced and p excluded.
  ExpectInterpretations(TheoryOf({"p", "x(p)"}), {{"x(p)"}});
  // Without p nothing defeats p; with p the closure holds x(p).
  ExpectInterpretations(TheoryOf({"p", "if(p, x(p))"}), {});
  // Mutual attack: "q" is found before "p" in the counter's order.
  ExpectInterpretations(TheoryOf({"if(p, x(q))", "if(q, x(p))", "p", "q"}),
                        {{"if(p, x(q))", "if(q, x(p))", "q"}, {"if(p, x(q))", "if(q, x(p))", "p"}});
  // All forced, and their closure holds s and x(s).
  ExpectInterpretations(TheoryOf({"r", "if(r, s)", "if(r, x(s))"}), {});
  // x(x(p)) and p are different sentences: no conflict.
  ExpectInterpretations(TheoryOf({"x(x(p))", "p"}), {{"x(x(p))", "p"}});
  // No assumptions: the single candidate is the empty one.
  ExpectInterpretations(TheoryOf({}), {{}});
}

TEST(Interpretations, ConditionalsThatFireLateOrNever) {
  // The consequent if(b, x(c)) fires in the pass after it is derived.
  ExpectInterpretations(TheoryOf({"a", "b", "c", "if(a, if(b, x(c)))"}),
                        {{"a", "b", "if(a, if(b, x(c)))"}});
  // A conjunct that never enters the closure: the attack never fires.
  ExpectInterpretations(TheoryOf({"a", "c", "if(a, z, x(c))"}), {{"a", "c", "if(a, z, x(c))"}});
  // A conditional without conjuncts fires as soon as it is present.
  TKorvelTheory theory;
  families::Assume(theory, Atom("p"));
  families::Assume(theory, If({}, Neg(Atom("p"))));
  ExpectInterpretations(theory, {{"if(, x(p))"}});
  // An attack on a conditional: b and the attack on b now exclude each other.
  ExpectInterpretations(
      TheoryOf({"a", "b", "if(a, x(b))", "if(b, x(if(a, x(b))))"}),
      {{"a", "if(b, x(if(a, x(b))))", "if(a, x(b))"}, {"a", "if(b, x(if(a, x(b))))", "b"}});
}

TEST(Interpretations, RepeatedAssumptionsKeepTheirObjects) {
  // The second p is another object with the same text; both are
  // undetermined, so candidates holding either or both are distinct.
  TKorvelTheory theory = TheoryOf({"if(p, x(q))", "if(q, x(p))", "p", "q"});
  families::Assume(theory, Atom("p"));
  const auto interpretations = ComputeInterpretations(theory);
  ASSERT_EQ(reference::ComputeInterpretations(theory), interpretations);
  ASSERT_EQ(4u, interpretations.size());
  EXPECT_EQ(theory.Assumptions[4], interpretations[0].back());  // the copy alone first
  EXPECT_EQ("q", interpretations[1].back()->Text);
  EXPECT_EQ(theory.Assumptions[2], interpretations[2].back());
  EXPECT_EQ(4u + 0u, interpretations[3].size());
}

TEST(Interpretations, AmbiguousTextsAreClosedObjectByObject) {
  // An elementary sentence reading "if(a, x(b))" comes first, so the real
  // conditional with that text never enters a closure and never fires.
  TKorvelTheory theory;
  families::Assume(theory, Atom("if(a, x(b))"));
  families::Assume(theory, families::Attack("a", "b"));
  families::Assume(theory, Atom("a"));
  families::Assume(theory, Atom("b"));
  ExpectInterpretations(theory, {{"if(a, x(b))", "a", "b"}});
}

TEST(MarkStatuses, MarksFollowTheClosureAndNothingElse) {
  TKorvelTheory theory = TheoryOf({"p", "x(q)", "if(p, r)"}, {"q", "r", "s", "x(x(q))"});
  const auto interpretations = ComputeInterpretations(theory);
  ASSERT_EQ(1u, interpretations.size());
  MarkStatuses(theory, interpretations[0]);
  auto marks = [](const SentencePtr& s) { return std::pair{s->IsJustified, s->IsDefeated}; };
  EXPECT_EQ(std::pair(true, false), marks(theory.Assumptions[0]));
  EXPECT_EQ(std::pair(true, false), marks(theory.Assumptions[1]));
  EXPECT_EQ(std::pair(false, true), marks(theory.Issues[0]));   // q
  EXPECT_EQ(std::pair(true, false), marks(theory.Issues[1]));   // r, derived
  EXPECT_EQ(std::pair(false, false), marks(theory.Issues[2]));  // s, open
  // x(x(q)) is neither: x(q) present is not x(x(q)), nor its negation.
  EXPECT_EQ(std::pair(false, false), marks(theory.Issues[3]));
  // The empty list clears every mark.
  MarkStatuses(theory, {});
  for (const auto* section : {&theory.Assumptions, &theory.Issues})
    for (const auto& s : *section) EXPECT_EQ(std::pair(false, false), marks(s)) << s->Text;
}

TEST(MarkStatuses, ALaterObjectWithTheSameTextKeepsItsMarks) {
  // In if(a, a, b) the second a is skipped by the collection of parts, so
  // its stale marks stay, exactly as the definition's marking leaves them.
  SentencePtr first = Atom("a"), second = Atom("a");
  TKorvelTheory theory;
  families::Assume(theory, Atom("a"));
  families::Assume(theory, If({first, second}, Atom("b")));
  second->IsDefeated = true;
  MarkStatuses(theory, theory.Assumptions);
  EXPECT_TRUE(first->IsJustified);
  EXPECT_FALSE(second->IsJustified);
  EXPECT_TRUE(second->IsDefeated);
}

TEST(InterpretationLimit, KeepsTheFirstOnesAndSaysTheListWasCut) {
  const TKorvelTheory theory = families::Pairs(7);  // 128 interpretations
  const TEvaluation all = EvaluateInterpretations(theory, 1000);
  ASSERT_EQ(128u, all.Interpretations.size());
  EXPECT_FALSE(all.Cut);
  const TEvaluation exact = EvaluateInterpretations(theory, 128);
  EXPECT_FALSE(exact.Cut);  // exactly at the limit nothing is missing
  EXPECT_EQ(128u, exact.Interpretations.size());
  const TEvaluation cut = EvaluateInterpretations(theory, 50);
  EXPECT_TRUE(cut.Cut);
  ASSERT_EQ(50u, cut.Interpretations.size());
  EXPECT_TRUE(std::equal(cut.Interpretations.begin(), cut.Interpretations.end(),
                         all.Interpretations.begin()));
  // The first ones are the definition's first ones.
  const TKorvelTheory small = families::Pairs(5);
  const auto expected = reference::ComputeInterpretations(small);
  const TEvaluation first = EvaluateInterpretations(small, 10);
  EXPECT_TRUE(first.Cut);
  EXPECT_EQ(TListOfListOfKorvelSentences(expected.begin(), expected.begin() + 10),
            first.Interpretations);
}

TEST(InterpretationLimit, AstronomicallyManyInterpretationsStopAtTheDefaultLimit) {
  const TEvaluation evaluation = EvaluateInterpretations(families::Pairs(30));  // 2^30
  EXPECT_TRUE(evaluation.Cut);
  ASSERT_EQ(kInterpretationLimit, evaluation.Interpretations.size());
  // The first leaves every p out; the last kept differs only in the last pairs.
  for (const auto& s : evaluation.Interpretations.front()) EXPECT_NE('p', s->Text[0]) << s->Text;
}

TEST(InterpretationSearch, LongChainsAndOddCyclesNeedNoExhaustiveSearch) {
  // 200 and 120 undetermined assumptions: 2^200 and 2^120 candidates.
  EXPECT_EQ(101u, ComputeInterpretations(families::Ladder(100)).size());
  EXPECT_TRUE(ComputeInterpretations(families::OddCycles(40)).empty());
  // The same families, small enough for the definition.
  for (size_t k : {1u, 2u, 4u}) {
    const TKorvelTheory ladder = families::Ladder(k);
    const auto interpretations = ComputeInterpretations(ladder);
    EXPECT_EQ(k + 1, interpretations.size());
    EXPECT_EQ(reference::ComputeInterpretations(ladder), interpretations);
  }
  const TKorvelTheory cycles = families::OddCycles(3);
  EXPECT_EQ(reference::ComputeInterpretations(cycles), ComputeInterpretations(cycles));
  // A long chain of attacks is settled by the forced rounds alone: the odd
  // members are forced, one round at a time.
  TKorvelTheory chain;
  for (size_t i = 0; i < 2000; ++i) {
    families::Assume(chain, Atom(families::Indexed("a", i)));
    families::Assume(chain,
                     families::Attack(families::Indexed("a", i), families::Indexed("a", i + 1)));
  }
  const auto interpretations = ComputeInterpretations(chain);
  ASSERT_EQ(1u, interpretations.size());
  EXPECT_EQ(3000u, interpretations[0].size());  // 2000 conditionals and a0, a2, ...
}

TEST(InterpretationSearch, IndependentPartsFailOrCombineWithoutSearchingTheirProduct) {
  // 2^40 choices among the pairs, then an odd cycle (in theory order last, or
  // spread through the pairs): no interpretation, found without trying the
  // pairs' choices one by one.
  TKorvelTheory last = families::Pairs(40);
  TKorvelTheory spread = families::Pairs(40);
  const TKorvelTheory cycle = families::OddCycles(1);
  for (const auto& s : cycle.Assumptions) last.Assumptions.push_back(s);
  for (size_t i = 0; i < cycle.Assumptions.size(); ++i)
    spread.Assumptions.insert(spread.Assumptions.begin() + static_cast<long>(i * 25),
                              cycle.Assumptions[i]);
  EXPECT_TRUE(ComputeInterpretations(last).empty());
  EXPECT_TRUE(ComputeInterpretations(spread).empty());

  // Parts combined in the counter's order, as the definition lists them:
  // two pairs and a ladder interleaved.
  TKorvelTheory mixed = families::Ladder(2);
  const TKorvelTheory pairs =
      TheoryOf({"u", "v", "if(u, x(v))", "if(v, x(u))", "w", "z", "if(w, x(z))", "if(z, x(w))"});
  for (size_t i = 0; i < pairs.Assumptions.size(); ++i)
    mixed.Assumptions.insert(mixed.Assumptions.begin() + static_cast<long>(2 * i),
                             pairs.Assumptions[i]);
  const auto interpretations = ComputeInterpretations(mixed);
  EXPECT_EQ(12u, interpretations.size());
  EXPECT_EQ(reference::ComputeInterpretations(mixed), interpretations);
}

TEST(InterpretationSearch, CountsOfIndependentPartsMultiplyWithoutWrappingRound) {
  // 2^70 interpretations: past any limit a count can hold, never 0 or a
  // wrapped remainder, and cut; exactly at a limit it is not cut.
  struct TCase {
    size_t Pairs, Limit, Count;
    bool Cut;
  };
  const size_t all = std::numeric_limits<size_t>::max();
  for (const TCase& c : {TCase{70, all, all, true}, TCase{70, 1000, 1000, true},
                         TCase{10, 1024, 1024, false}, TCase{10, 1023, 1023, true}}) {
    const TKorvelTheory pairs = families::Pairs(c.Pairs);
    TInterpretationEngine engine(pairs);
    const TEnumerationSummary counted = engine.Count(c.Limit);
    EXPECT_EQ(c.Count, counted.Count) << c.Pairs << " pairs, limit " << c.Limit;
    EXPECT_EQ(c.Cut, counted.Cut) << c.Pairs << " pairs, limit " << c.Limit;
  }
}

TEST(InterpretationSearch, AnAssumptionDerivedByTheForcedOnesStillDependsOnItsAttackers) {
  // c follows from the forced a, yet is undetermined: leaving it out needs
  // x(c), which only b can bring, and b is tied to d.
  TKorvelTheory theory = TheoryOf(
      {"a", "b", "c", "d", "if(b, x(d))", "if(d, x(b))", "if(a, c)", "if(b, x(c))", "if(d, a)"});
  const auto interpretations = ComputeInterpretations(theory);
  EXPECT_EQ(reference::ComputeInterpretations(theory), interpretations);
  EXPECT_EQ(1u, interpretations.size());
}

}  // namespace
