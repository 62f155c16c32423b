// Acceptance against the list of all interpretations on theories small
// enough to list, ambiguous texts among them; the count and the witnesses;
// answers far past the evaluation's cap; a stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>

#include "acceptance/acceptance.h"
#include "acceptance/acceptance_text.h"
#include "evaluation/interpretations.h"
#include "evaluation/interpretations_engine.h"
#include "evaluation/interpretations_reference.h"
#include "tests/acceptance/cyclic_theories.h"
#include "tests/evaluation/theory_families.h"

// Failures name an answer by its two letters.
void PrintTo(const TTextAcceptance& acceptance, std::ostream* out) {
  *out << AcceptanceLetters(acceptance);
}

namespace {

using families::Assume;
using families::Atom;
using families::If;
using families::Neg;

// The first object of every text among the parts of the assumptions and issues.
TListOfKorvelSentences Parts(const TKorvelTheory& theory) {
  TPartsCollector collector;
  for (const auto& s : theory.Assumptions) collector.Collect(s);
  for (const auto& s : theory.Issues) collector.Collect(s);
  return collector.TakeParts();
}

// Acceptance as the list of interpretations and their marks say.
std::vector<TTextAcceptance> Listed(const TKorvelTheory& theory,
                                    const TListOfListOfKorvelSentences& interpretations,
                                    const TListOfKorvelSentences& parts) {
  std::vector<size_t> justified(parts.size(), 0), defeated(parts.size(), 0);
  for (const auto& interpretation : interpretations) {
    reference::MarkStatuses(theory, interpretation);
    for (size_t k = 0; k < parts.size(); ++k) {
      justified[k] += parts[k]->IsJustified ? 1u : 0u;
      defeated[k] += parts[k]->IsDefeated ? 1u : 0u;
    }
  }
  auto reach = [&](size_t count) {
    return count == 0 ? TReach::None : count == interpretations.size() ? TReach::All : TReach::Some;
  };
  std::vector<TTextAcceptance> result;
  for (size_t k = 0; k < parts.size(); ++k)
    result.push_back({reach(justified[k]), reach(defeated[k])});
  return result;
}

// A random theory, made ambiguous by an elementary sentence reading like one
// of its conditionals and an attack on that text; with `apart`, pairs that
// share no text with it are added (evaluated by rules beside it).
TKorvelTheory Ambiguous(size_t n, unsigned variant, bool apart) {
  TKorvelTheory theory = families::Random(n, variant);
  for (const auto& a : theory.Assumptions) {
    if (dynamic_cast<const TKorvelConditional*>(a.get()) == nullptr) continue;
    SentencePtr lookalike = MakeElementarySentence(a->Text);
    Assume(theory, lookalike);
    Assume(theory, If({Atom(families::Indexed("s", variant % n))}, Neg(lookalike)));
    break;
  }
  if (apart)
    for (const auto& a : families::Pairs(3).Assumptions) Assume(theory, a);
  return theory;
}

TEST(Acceptance, AgreesWithTheListOfAllInterpretations) {
  struct TCase {
    std::string Name;
    TKorvelTheory Theory;
  };
  std::vector<TCase> cases;
  for (unsigned v = 1; v <= 30; ++v) {
    cases.push_back({"random " + std::to_string(v), families::Random(5 + v % 5, v)});
    cases.push_back({"tangled " + std::to_string(v), families::Tangled(8 + v % 5, v)});
    cases.push_back({"ambiguous " + std::to_string(v), Ambiguous(5 + v % 3, v, v % 2 == 0)});
  }
  cases.push_back({"pairs then odd cycle", families::PairsThenOddCycle(4)});
  for (unsigned v = 1; v <= 20; ++v)
    cases.push_back(
        {"cycles " + std::to_string(v), families::RandomWithCycles(5 + v % 4, 1 + v % 3, v)});
  cases.push_back({"cycle behind an impossible choice", families::CycleBehindAnImpossibleChoice()});
  // s is lacking only where p1 and q2 are chosen together: choosing all p
  // and all q (enough to show every text present) never shows it absent.
  TKorvelTheory mixed = families::Pairs(3);
  Assume(mixed, If({Atom("q1")}, Atom("s")));
  Assume(mixed, If({Atom("p2")}, Atom("s")));
  Assume(mixed, If({Atom("p1"), Atom("p2"), Atom("p3")}, Atom("t")));
  cases.push_back({"absent in mixed choices only", mixed});
  // Two copies of one assumption: its text counts once.
  TKorvelTheory copies = families::Pairs(2);
  Assume(copies, Atom(families::Indexed("p", 1)));
  cases.push_back({"copies", copies});
  size_t ambiguous = 0, some = 0, none = 0;
  const uint64_t budgets[] = {kOrderedConflictBudget, 0, 1};
  size_t budget = 0;
  for (auto& c : cases) {
    const TListOfKorvelSentences parts = Parts(c.Theory);
    std::vector<std::string> texts;
    for (const auto& p : parts) texts.push_back(p->Text);
    const TEvaluation evaluation =
        EvaluateInterpretations(c.Theory, std::numeric_limits<size_t>::max());
    TAcceptanceOptions options;
    options.CountInterpretations = true;
    // The ordered solver alone, CaDiCaL from the first question on, and the
    // part handed over midway with the questions' clauses.
    options.OrderedConflictBudget = budgets[(budget++) % 3];
    const TAcceptance acceptance = ComputeAcceptance(c.Theory, texts, options);
    ambiguous += TInterpretationEngine(c.Theory).Ambiguous() ? 1u : 0u;
    ASSERT_EQ(!evaluation.Interpretations.empty(), acceptance.HasInterpretation) << c.Name;
    if (!acceptance.HasInterpretation) {
      ++none;
      EXPECT_TRUE(acceptance.Texts.empty()) << c.Name;
      continue;
    }
    ASSERT_EQ(acceptance.InterpretationCount, evaluation.Interpretations.size()) << c.Name;
    const auto expected = Listed(c.Theory, evaluation.Interpretations.ToLists(), parts);
    ASSERT_EQ(expected.size(), acceptance.Texts.size());
    for (size_t k = 0; k < texts.size(); ++k) {
      EXPECT_EQ(expected[k], acceptance.Texts[k]) << c.Name << ": " << texts[k];
      some += acceptance.Texts[k].Justified == TReach::Some ? 1u : 0u;
      // Each witness is one of the interpretations, and shows what it claims.
      for (bool justified : {true, false}) {
        const TWitness& witness =
            justified ? acceptance.JustifiedIn[k] : acceptance.UnjustifiedIn[k];
        const TReach never = justified ? TReach::None : TReach::All;
        ASSERT_EQ(witness.Exists, acceptance.Texts[k].Justified != never)
            << c.Name << ": " << texts[k];
        if (!witness.Exists) continue;
        const auto shown = WitnessInterpretation(c.Theory, acceptance, witness);
        ASSERT_TRUE(shown.has_value());
        const auto& all = evaluation.Interpretations;
        const bool listed = std::any_of(all.begin(), all.end(), [&](const auto& i) {
          TListOfKorvelSentences sorted = i;
          auto position = [&](const SentencePtr& s) {
            return std::find(c.Theory.Assumptions.begin(), c.Theory.Assumptions.end(), s) -
                   c.Theory.Assumptions.begin();
          };
          std::sort(sorted.begin(), sorted.end(),
                    [&](const auto& a, const auto& b) { return position(a) < position(b); });
          return sorted == *shown;
        });
        EXPECT_TRUE(listed) << c.Name << ": " << texts[k];
        reference::MarkStatuses(c.Theory, *shown);
        EXPECT_EQ(parts[k]->IsJustified, justified) << c.Name << ": " << texts[k];
      }
    }
  }
  EXPECT_GT(ambiguous, 20u);
  EXPECT_GT(some, 50u);
  EXPECT_GT(none, 3u);
}

TEST(Acceptance, ThirtyIndependentPairsAreAnsweredPartByPart) {
  const TKorvelTheory theory = families::Pairs(30);
  TAcceptanceOptions options;
  options.CountInterpretations = true;
  TAcceptanceControl control;
  const TAcceptance acceptance = ComputeAcceptance(theory, ReportTexts(theory), options, &control);
  ASSERT_TRUE(acceptance.HasInterpretation);
  EXPECT_EQ(acceptance.InterpretationCount, uint64_t{1} << 30);
  for (size_t k = 0; k < theory.Assumptions.size(); ++k) {
    // The arguments are chosen or not; the attacks hold in every interpretation.
    const bool argument =
        dynamic_cast<const TKorvelConditional*>(theory.Assumptions[k].get()) == nullptr;
    const TTextAcceptance expected = argument ? TTextAcceptance{TReach::Some, TReach::Some}
                                              : TTextAcceptance{TReach::All, TReach::None};
    EXPECT_EQ(expected, acceptance.Texts[k]) << theory.Assumptions[k]->Text;
  }
  // A pair's two choices settle both its arguments: few questions per pair.
  EXPECT_LE(control.Decisions.load(), 30u * 8u);
  EXPECT_EQ(control.TextsSettled.load(), control.TextsAsked.load());
}

// Hard parts: the ordered solver alone, CaDiCaL alone, and parts handed over
// to CaDiCaL once a question costs the ordered solver a conflict or more
// (with the selectors, retired questions and counted choices made before)
// give the same answers, counts, and witnesses that show what they claim.
TEST(Acceptance, BothSolversAndTheHandOverAgreeOnHardParts) {
  size_t satisfiable = 0;
  for (size_t vars : {size_t{40}, size_t{70}, size_t{100}}) {
    for (unsigned variant = 1; variant <= 4; ++variant) {
      const TKorvelTheory theory = families::ThreeSat(vars, vars * 426 / 100, variant);
      const std::vector<std::string> texts = ReportTexts(theory);
      std::vector<TAcceptance> answers;
      for (uint64_t budget : {uint64_t{1} << 40, uint64_t{0}, uint64_t{1}}) {
        TAcceptanceOptions options;
        options.CountInterpretations = true;
        options.CountLimitPerPart = 40;
        options.OrderedConflictBudget = budget;
        answers.push_back(ComputeAcceptance(theory, texts, options));
      }
      const std::string name = std::to_string(vars) + " vars, variant " + std::to_string(variant);
      satisfiable += answers.front().HasInterpretation ? 1u : 0u;
      for (const TAcceptance& answer : answers) {
        EXPECT_EQ(answers.front().Texts, answer.Texts) << name;
        EXPECT_EQ(answers.front().InterpretationCount, answer.InterpretationCount) << name;
        for (size_t k = 0; k < answer.JustifiedIn.size(); k += 7) {
          for (bool justified : {true, false}) {
            const auto shown = WitnessInterpretation(
                theory, answer, justified ? answer.JustifiedIn[k] : answer.UnjustifiedIn[k]);
            if (!shown) continue;
            TInterpretationEngine engine(theory);
            engine.MarkStatuses(*shown);
            EXPECT_EQ(justified, theory.Assumptions[k]->IsJustified) << name << ": " << texts[k];
          }
        }
      }
    }
  }
  EXPECT_GT(satisfiable, 3u);
  EXPECT_LT(satisfiable, 12u);
}

// Counting part by part: a part with exactly the limit's number of choices
// is counted, one more leaves the count unknown; a product past what 64 bits
// hold is unknown too, never wrapped round (2^64 would read as 0).
TEST(Acceptance, CountsToThePerPartLimitAndNeverPastWhatItCanHold) {
  struct TCase {
    std::string Name;
    TKorvelTheory Theory;
    uint64_t LimitPerPart;
    std::optional<uint64_t> Count;
  };
  const TCase cases[] = {
      {"ladder, one below the limit", families::Ladder(5), 7, 6},
      {"ladder, at the limit", families::Ladder(6), 7, 7},
      {"ladder, one past the limit", families::Ladder(7), 7, std::nullopt},
      {"63 pairs", families::Pairs(63), 2, uint64_t{1} << 63},
      {"64 pairs", families::Pairs(64), 2, std::nullopt},
      {"70 pairs", families::Pairs(70), 2, std::nullopt},
  };
  for (const TCase& c : cases) {
    TAcceptanceOptions options;
    options.CountInterpretations = true;
    options.CountLimitPerPart = c.LimitPerPart;
    const TAcceptance acceptance = ComputeAcceptance(c.Theory, ReportTexts(c.Theory), options);
    ASSERT_TRUE(acceptance.HasInterpretation) << c.Name;
    EXPECT_EQ(acceptance.InterpretationCount, c.Count) << c.Name;
  }
}

TEST(Acceptance, NoInterpretationSaysSoAndAStopKeepsNothing) {
  const TKorvelTheory cycles = families::OddCycles(2);
  const TAcceptance none = ComputeAcceptance(cycles, ReportTexts(cycles));
  EXPECT_FALSE(none.Stopped);
  EXPECT_FALSE(none.HasInterpretation);
  EXPECT_TRUE(none.Texts.empty());

  const TKorvelTheory pairs = families::Pairs(10);
  TAcceptanceControl control;
  control.RequestStop();
  const TAcceptance stopped = ComputeAcceptance(pairs, ReportTexts(pairs), {}, &control);
  EXPECT_TRUE(stopped.Stopped);
  EXPECT_FALSE(stopped.HasInterpretation);
  EXPECT_TRUE(stopped.Texts.empty());
}

}  // namespace
