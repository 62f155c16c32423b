// Every explanation of every sentence, under every interpretation (and under
// none), passes the independent checker on random theories. The count is
// small for the ordinary run; PELMORA_EXPLANATION_THEORIES raises it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "evaluation/interpretations.h"
#include "evaluation/interpretations_engine.h"
#include "explanation/acceptance_explanation.h"
#include "explanation/explanation.h"
#include "tests/evaluation/theory_families.h"
#include "tests/explanation/explanation_checker.h"

namespace {

using families::Atom;
using families::If;
using families::Neg;

// Small theories over a few atoms with issues, negated negations, nested
// conditionals, repeated texts as new objects and, now and then, an
// elementary sentence whose text reads like a conditional.
class TSmallTheories {
 public:
  explicit TSmallTheories(unsigned stream) : random_(stream) {}

  TKorvelTheory Next() {
    atoms_ = 2 + Pick(4);
    TKorvelTheory theory;
    for (size_t i = 0; i < atoms_; ++i)
      if (Pick(4) != 0) theory.Assumptions.push_back(AnAtom(i));
    for (size_t i = 1 + Pick(7); i > 0; --i) {
      theory.Assumptions.push_back(Conditional(0));
      if (Pick(30) == 0) theory.Assumptions.push_back(Atom(theory.Assumptions.back()->Text));
    }
    for (size_t i = Pick(3); i > 0; --i)
      theory.Issues.push_back(Pick(2) ? Literal() : Conditional(1));
    return theory;
  }

 private:
  size_t Pick(size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(random_); }
  SentencePtr AnAtom(size_t i) { return Atom(std::string(1, static_cast<char>('a' + i))); }
  SentencePtr Literal() {
    SentencePtr atom = AnAtom(Pick(atoms_));
    const size_t kind = Pick(7);
    return kind == 0 ? Neg(atom) : kind == 1 ? Neg(Neg(atom)) : atom;
  }
  SentencePtr Conditional(int depth) {
    std::vector<SentencePtr> conjuncts;
    for (size_t i = Pick(8) == 0 ? 0 : 1 + (Pick(3) == 0 ? Pick(2) + 1 : 0); i > 0; --i)
      conjuncts.push_back(Literal());
    SentencePtr consequent = Pick(2) ? Neg(Literal()) : Literal();
    if (depth < 2 && Pick(8) == 0) consequent = Conditional(depth + 1);
    if (depth < 2 && Pick(10) == 0) consequent = Neg(Conditional(depth + 1));
    return If(std::move(conjuncts), std::move(consequent));
  }

  std::mt19937 random_;
  size_t atoms_ = 2;
};

size_t TheoryCount(size_t ordinary) {
  const char* wanted = std::getenv("PELMORA_EXPLANATION_THEORIES");
  return wanted != nullptr ? static_cast<size_t>(std::strtoul(wanted, nullptr, 10)) : ordinary;
}

std::string Describe(const TKorvelTheory& theory) {
  std::string text = "assumptions:";
  for (const auto& a : theory.Assumptions) text += " [" + a->Text + "]";
  text += " issues:";
  for (const auto& i : theory.Issues) text += " [" + i->Text + "]";
  return text;
}

// How many explanations were checked, by the status explained.
struct TTally {
  size_t ByStatus[3] = {0, 0, 0};
  size_t Unshown = 0, Ambiguous = 0;
};

// Explains every sentence under at most `perTheory` interpretations and
// under none.
void CheckEveryExplanation(const TKorvelTheory& theory, size_t perTheory, TTally& tally) {
  const TEvaluation evaluation = EvaluateInterpretations(theory);
  const bool unambiguous = !TInterpretationEngine(theory).Ambiguous();
  const TListOfListOfKorvelSentences lists = evaluation.Interpretations.ToLists();
  std::vector<const TListOfKorvelSentences*> shown{nullptr};
  for (size_t i = 0; i < lists.size() && i < perTheory; ++i) shown.push_back(&lists[i]);
  tally.Ambiguous += unambiguous ? 0 : 1;
  for (const auto* interpretation : shown) {
    checker::TExplanationChecker check(theory, interpretation);
    TExplainer explainer(theory, interpretation);
    for (const std::string& text : check.Sentences()) {
      EXPECT_TRUE(explainer.IsSentence(text)) << text;
      const TExplanation explanation = explainer.Explain(text);
      const std::string fault = check.Check(text, explanation, unambiguous);
      EXPECT_EQ(fault, "") << text << " in " << Describe(theory);
      if (!fault.empty()) return;
      if (interpretation == nullptr)
        ++tally.Unshown;
      else
        ++tally.ByStatus[static_cast<int>(explanation.Root().Status)];
    }
  }
}

// Theory n of a run: mostly small mixed theories; every fourth a random
// debate or a tangle of supports and attacks from the evaluation's families;
// every fifth with an issue that attacks its first assumption.
TKorvelTheory MixedTheory(TSmallTheories& small, size_t n) {
  TKorvelTheory theory = n % 4 != 3   ? small.Next()
                         : n % 8 == 3 ? families::Random(4 + n % 5, static_cast<unsigned>(n))
                                      : families::Tangled(5 + n % 6, static_cast<unsigned>(n));
  if (n % 5 == 0 && !theory.Assumptions.empty())
    theory.Issues.push_back(If({Atom("a")}, Neg(theory.Assumptions.front())));
  return theory;
}

TEST(ExplanationRandom, EveryStepChecksOutAndTheStatusIsTheMarkedOne) {
  TSmallTheories small(20261208);
  const size_t count = TheoryCount(600);
  TTally tally;
  for (size_t n = 0; n < count && !HasFailure(); ++n) {
    TKorvelTheory theory = MixedTheory(small, n);
    CheckEveryExplanation(theory, 4, tally);
  }
  // Every status must have been explained often, or the theories test little.
  for (size_t status : tally.ByStatus) EXPECT_GT(status, count);
  std::printf(
      "%zu theories (%zu ambiguous): explained %zu justified, %zu defeated, %zu open, "
      "%zu with no interpretation shown\n",
      count, tally.Ambiguous, tally.ByStatus[0], tally.ByStatus[1], tally.ByStatus[2],
      tally.Unshown);
}

// With acceptance on: every sentence under every interpretation shown (and
// none), with all interpretations listed and with only the first, so that
// the interpretation lacking a sentence is sometimes not listed.
TEST(ExplanationRandom, WithAcceptanceTheClaimAndTheInterpretationNamedCheckOut) {
  TSmallTheories small(20261209);
  const size_t count = TheoryCount(300);
  // Per root kind: in every, not in every (named / not listed), in none, none at all.
  size_t every = 0, named = 0, unlisted = 0, none = 0, noInterpretation = 0;
  for (size_t n = 0; n < count && !HasFailure(); ++n) {
    TKorvelTheory theory = MixedTheory(small, n);
    const bool unambiguous = !TInterpretationEngine(theory).Ambiguous();
    const TEvaluation evaluation = EvaluateInterpretations(theory);
    const std::vector<std::string> texts =
        checker::TExplanationChecker(theory, nullptr).Sentences();
    const TAcceptance acceptance = ComputeAcceptance(theory, texts);
    checker::TAcceptanceChecker check(theory);
    // The explainer reads the compact list; the checker the whole lists.
    const TInterpretationList& all = evaluation.Interpretations;
    const TListOfListOfKorvelSentences allLists = all.ToLists();
    const TListOfListOfKorvelSentences firstLists(
        allLists.begin(), allLists.begin() + (allLists.empty() ? 0 : 1));
    const TInterpretationList first = TInterpretationList::FromLists(firstLists);
    struct TCase {
      const TInterpretationList* Listed;
      const TListOfListOfKorvelSentences* Lists;
      int Shown;
    };
    std::vector<TCase> cases{{&all, &allLists, -1}, {&first, &firstLists, -1}};
    for (int shown = 0; shown < static_cast<int>(all.size()) && shown < 3; ++shown)
      cases.push_back({&all, &allLists, shown});
    for (const TCase& c : cases) {
      TAcceptanceExplainer explainer(theory, acceptance, texts, *c.Listed, c.Shown);
      for (const std::string& text : texts) {
        ASSERT_TRUE(explainer.Covers(text)) << text;
        const TExplanation explanation = explainer.Explain(text);
        const std::string fault =
            check.Check(text, explanation, *c.Lists, explainer.Interpretation(), unambiguous);
        ASSERT_EQ(fault, "") << text << " in " << Describe(theory);
        const TExplanationLine& root = explanation.Root();
        switch (root.Kind) {
          case TStepKind::JustifiedInEvery:
            ++every;
            break;
          case TStepKind::NotJustifiedInEvery:
            ++(root.Interpretation > 0 ? named : unlisted);
            break;
          case TStepKind::JustifiedInNone:
            ++none;
            break;
          default:
            ++noInterpretation;
            break;
        }
      }
    }
  }
  for (size_t each : {every, named, unlisted, none, noInterpretation}) EXPECT_GT(each, count / 10);
  std::printf(
      "%zu theories with acceptance: %zu justified in every, %zu not in every (%zu named, %zu "
      "not listed), %zu in none, %zu with no interpretation at all\n",
      count, every, named + unlisted, named, unlisted, none, noInterpretation);
}

}  // namespace
