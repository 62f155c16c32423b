// The fast engine against the literal definition on many random theories:
// every interpretation (same objects, same order), the cut flag, and every
// mark after marking each interpretation and the empty list.
#include <gtest/gtest.h>

#include <random>
#include <unordered_set>

#include "evaluation/interpretations.h"
#include "evaluation/interpretations_engine.h"
#include "evaluation/interpretations_reference.h"
#include "tests/evaluation/sentence_objects.h"
#include "tests/evaluation/theory_families.h"

namespace {

using families::Atom;
using families::If;
using families::Neg;

// Small random theories over a few atoms, built from fresh objects so that
// equal texts are often different objects.
class TRandomTheories {
 public:
  explicit TRandomTheories(unsigned stream) : random_(stream) {}

  TKorvelTheory Next() {
    atoms_ = 2 + Pick(4);
    return Pick(2) == 0 ? Mixed() : Debate();
  }

 private:
  // Atoms assumed and attacking or supporting each other (the shape that
  // yields several interpretations), with some compound noise.
  TKorvelTheory Debate() {
    TKorvelTheory theory;
    for (size_t i = 0; i < atoms_; ++i)
      theory.Assumptions.push_back(Atom(std::string(1, static_cast<char>('a' + i))));
    for (size_t i = Pick(3); i > 0; --i) {  // mutual attacks make choices
      const std::string one(1, static_cast<char>('a' + Pick(atoms_)));
      const std::string other(1, static_cast<char>('a' + Pick(atoms_)));
      theory.Assumptions.push_back(families::Attack(one, other));
      theory.Assumptions.push_back(families::Attack(other, one));
    }
    for (size_t i = 1 + Pick(5); i > 0; --i) {
      std::vector<SentencePtr> conjuncts{Pick(5) ? AnAtom() : Literal()};
      if (Pick(5) == 0) conjuncts.push_back(Literal());
      SentencePtr target = AnAtom();
      if (Pick(8) == 0) target = Conditional(1);
      theory.Assumptions.push_back(If(std::move(conjuncts), Pick(4) ? Neg(target) : target));
    }
    if (Pick(3) == 0) theory.Assumptions.push_back(Conditional(0));
    if (Pick(6) == 0) {
      SentencePtr earlier = theory.Assumptions[Pick(theory.Assumptions.size())];
      theory.Assumptions.push_back(Copy(earlier));
    }
    if (Pick(2) == 0) theory.Issues.push_back(Literal());
    return theory;
  }

  TKorvelTheory Mixed() {
    TKorvelTheory theory;
    const size_t assumptions = 1 + Pick(9);
    for (size_t i = 0; i < assumptions; ++i) {
      // Repeat an earlier assumption now and then, as the same object or as
      // a new object with the same text.
      if (!theory.Assumptions.empty() && Pick(12) == 0) {
        SentencePtr earlier = theory.Assumptions[Pick(theory.Assumptions.size())];
        theory.Assumptions.push_back(Pick(2) == 0 ? earlier : Copy(earlier));
        continue;
      }
      theory.Assumptions.push_back(Pick(2) == 0 ? Literal() : Conditional(0));
      // An elementary sentence whose text reads like a conditional (as a file
      // read without parsing can give): equal texts that behave differently.
      if (Pick(25) == 0) {
        SentencePtr earlier = theory.Assumptions[Pick(theory.Assumptions.size())];
        theory.Assumptions.insert(theory.Assumptions.begin() + static_cast<long>(Pick(2)),
                                  Atom(earlier->Text));
      }
    }
    for (size_t i = Pick(3); i > 0; --i)
      theory.Issues.push_back(Pick(2) ? Literal() : Conditional(1));
    return theory;
  }

  size_t Pick(size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(random_); }

  SentencePtr AnAtom() { return Atom(std::string(1, static_cast<char>('a' + Pick(atoms_)))); }

  SentencePtr Literal() {
    SentencePtr atom = AnAtom();
    switch (Pick(6)) {
      case 0:
        return Neg(atom);
      case 1:
        return Neg(Neg(atom));  // not the same sentence as the atom
      default:
        return atom;
    }
  }

  SentencePtr Conditional(int depth) {
    std::vector<SentencePtr> conjuncts;
    const size_t shape = Pick(10);  // mostly one conjunct, no conjunct now and then
    const size_t count = shape == 0 ? 0 : shape < 7 ? 1 : 2 + Pick(2);
    for (size_t i = 0; i < count; ++i) conjuncts.push_back(Literal());
    SentencePtr consequent;
    const size_t kind = depth < 2 ? Pick(10) : 0;
    if (kind == 8) {
      consequent = Conditional(depth + 1);  // a conditional as consequent: support on it
    } else if (kind == 9) {
      consequent = Neg(Conditional(depth + 1));  // an attack on a conditional
    } else {
      consequent = Pick(3) ? Neg(Literal()) : Literal();
    }
    return If(std::move(conjuncts), std::move(consequent));
  }

  // A structurally equal copy made of new objects.
  SentencePtr Copy(const SentencePtr& sentence) {
    if (auto negation = As<TKorvelDialecticalNegation>(sentence))
      return Neg(Copy(negation->Negated));
    if (auto conditional = As<TKorvelConditional>(sentence)) {
      std::vector<SentencePtr> conjuncts;
      for (const auto& a : conditional->Antecedents) conjuncts.push_back(Copy(a));
      return If(std::move(conjuncts), Copy(conditional->Consequent));
    }
    return Atom(sentence->Text);
  }

  std::mt19937 random_;
  size_t atoms_ = 2;
};

// Marks under both implementations, from the same stale marks (a marking
// leaves objects it does not collect untouched, and that must match too).
void ExpectSameMarks(const TKorvelTheory& theory, const TListOfKorvelSentences& list,
                     std::mt19937& random, const std::string& where) {
  const auto objects = AllObjects(theory);
  std::vector<std::pair<bool, bool>> stale;
  for (size_t i = 0; i < objects.size(); ++i)
    stale.emplace_back((random() & 1u) != 0, (random() & 2u) != 0);
  auto run = [&](auto mark) {
    for (size_t i = 0; i < objects.size(); ++i) {
      objects[i]->IsJustified = stale[i].first;
      objects[i]->IsDefeated = stale[i].second;
    }
    mark();
    std::vector<std::pair<bool, bool>> marks;
    for (auto* o : objects) marks.emplace_back(o->IsJustified, o->IsDefeated);
    return marks;
  };
  auto expected = run([&] { reference::MarkStatuses(theory, list); });
  auto actual = run([&] { MarkStatuses(theory, list); });
  ASSERT_EQ(expected, actual) << where;
}

std::string Describe(const TKorvelTheory& theory) {
  std::string text = "assumptions:";
  for (const auto& a : theory.Assumptions) text += " [" + a->Text + "]";
  text += " issues:";
  for (const auto& i : theory.Issues) text += " [" + i->Text + "]";
  return text;
}

TEST(EvaluationDifferential, FastEngineGivesTheReferenceAnswersOnRandomTheories) {
  TRandomTheories theories(20261207);
  std::mt19937 random(7);
  size_t withInterpretations = 0, withSeveral = 0, ambiguous = 0;
  for (int round = 0; round < 12000; ++round) {
    TKorvelTheory theory = theories.Next();
    const std::string where = "round " + std::to_string(round) + ": " + Describe(theory);
    const auto expected = reference::ComputeInterpretations(theory);
    const TEvaluation actual = EvaluateInterpretations(theory, 1000000);
    ASSERT_FALSE(actual.Cut) << where;
    ASSERT_EQ(expected.size(), actual.Interpretations.size()) << where;
    for (size_t k = 0; k < expected.size(); ++k) {
      ASSERT_EQ(expected[k], actual.Interpretations[k]) << where << " interpretation " << k + 1;
      ExpectSameMarks(theory, expected[k], random, where);
    }
    ExpectSameMarks(theory, {}, random, where);
    withInterpretations += expected.empty() ? 0u : 1u;
    withSeveral += expected.size() > 1 ? 1u : 0u;
    ambiguous += TInterpretationEngine(theory).Ambiguous() ? 1u : 0u;
  }
  EXPECT_GT(ambiguous, 50u);
  // The generator must produce the interesting cases, not only empty results.
  EXPECT_GT(withInterpretations, 3000u) << withSeveral;
  EXPECT_GT(withSeveral, 800u) << withInterpretations;
}

// A theory of two to four groups of assumptions that share no text, their
// assumptions interleaved; each group has a choice, and maybe assumptions
// forced in two rounds, a conjunction and an ambiguous text (an elementary sentence that
// reads like one of its conditionals).
TKorvelTheory SeparateGroups(std::mt19937& random, size_t& ambiguousGroups) {
  auto pick = [&random](size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random);
  };
  const size_t groups = 2 + pick(3);
  std::vector<TListOfKorvelSentences> lists(groups);
  ambiguousGroups = 0;
  for (size_t g = 0; g < groups; ++g) {
    auto name = [g](size_t i) {
      return std::string(1, static_cast<char>('a' + g)) + std::to_string(i);
    };
    auto& list = lists[g];
    list = {Atom(name(0)), Atom(name(1)), families::Attack(name(0), name(1)),
            families::Attack(name(1), name(0))};
    if (pick(2))
      list.insert(list.end(), {Atom(name(2)), families::Attack(name(2), name(3)), Atom(name(3))});
    if (pick(2))
      list.push_back(
          If({Atom(name(0)), Atom(name(2))}, pick(2) ? Neg(Atom(name(1))) : Atom(name(4))));
    if (pick(2))  // forced in two rounds: 8 once 7 is defeated
      list.insert(list.begin(),
                  {Atom(name(8)), Atom(name(7)), Atom(name(6)), families::Attack(name(7), name(8)),
                   families::Attack(name(6), name(7))});
    if (pick(2)) {
      SentencePtr conditional = If({Atom(name(1))}, Atom(name(5)));
      list.push_back(conditional);
      list.insert(list.begin() + static_cast<long>(pick(list.size() + 1)), Atom(conditional->Text));
      ++ambiguousGroups;
    }
  }
  TKorvelTheory theory;
  for (size_t left = groups; left > 0;) {
    auto& list = lists[pick(groups)];
    if (list.empty()) continue;
    theory.Assumptions.push_back(list.front());
    list.erase(list.begin());
    if (list.empty()) --left;
  }
  return theory;
}

// Where the ambiguous texts lie in separate groups, the groups are evaluated
// apart and combined: the same interpretations, objects and order as the
// definition, and under every limit exactly the first ones with the cut.
TEST(EvaluationDifferential, SeparateGroupsOfAmbiguousTextsAgreeWithTheReference) {
  std::mt19937 random(2026);
  size_t severalAmbiguous = 0, several = 0;
  for (int round = 0; round < 400; ++round) {
    size_t ambiguousGroups = 0;
    const TKorvelTheory theory = SeparateGroups(random, ambiguousGroups);
    const std::string where = "round " + std::to_string(round) + ": " + Describe(theory);
    const auto expected = reference::ComputeInterpretations(theory);
    for (size_t limit = 1; limit <= expected.size() + 1; ++limit) {
      const TEvaluation actual = EvaluateInterpretations(theory, limit);
      const size_t kept = std::min(limit, expected.size());
      ASSERT_EQ(actual.Cut, expected.size() > limit) << where << " limit " << limit;
      ASSERT_EQ(TListOfListOfKorvelSentences(expected.begin(),
                                             expected.begin() + static_cast<long>(kept)),
                actual.Interpretations)
          << where << " limit " << limit;
      ASSERT_EQ(TListOfListOfKorvelSentences(expected.begin(),
                                             expected.begin() + static_cast<long>(kept)),
                actual.Interpretations.ToLists())
          << where << " limit " << limit;
    }
    severalAmbiguous += ambiguousGroups >= 2 ? 1u : 0u;
    several += expected.size() >= 4 ? 1u : 0u;
  }
  EXPECT_GT(severalAmbiguous, 100u);
  EXPECT_GT(several, 100u);
}

TEST(EvaluationDifferential, LargerRandomFamiliesAgreeWithTheReference) {
  for (unsigned variant = 1; variant <= 40; ++variant) {
    TKorvelTheory theory = families::Random(6, variant);
    const auto expected = reference::ComputeInterpretations(theory);
    ASSERT_EQ(expected, ComputeInterpretations(theory)) << "random(6, " << variant << ")";
  }
}

}  // namespace

namespace {

// The learning search alone (no depth-first first try) against the literal
// definition: the same random theories, where the index is unambiguous.
TEST(EvaluationDifferential, LearningSearchGivesTheReferenceAnswersOnRandomTheories) {
  TRandomTheories theories(20261208);
  size_t compared = 0;
  for (int round = 0; round < 4000; ++round) {
    TKorvelTheory theory = theories.Next();
    TInterpretationEngine engine(theory);
    if (engine.Ambiguous()) continue;
    engine.SetStrategy(TSearchStrategy::Learning);
    const std::string where = "round " + std::to_string(round) + ": " + Describe(theory);
    const TEvaluation actual = engine.Evaluate(1000000);
    ASSERT_EQ(reference::ComputeInterpretations(theory), actual.Interpretations) << where;
    ++compared;
  }
  EXPECT_GT(compared, 3500u);
}

}  // namespace

namespace {

// The marks of the top-level sentences followed from one closure of the
// forced part, each interpretation changing only what differs from the one
// before, are exactly those marking each interpretation leaves, also for
// issues appended after the engine was made (as the report's are) and for
// issues whose texts the theory never mentions.
TEST(EvaluationDifferential, RootMarksFollowedFromTheForcedPartAreThoseOfMarking) {
  TRandomTheories theories(20261209);
  size_t followed = 0, withChanges = 0;
  for (int round = 0; round < 3000; ++round) {
    TKorvelTheory theory = round % 3 == 0 ? families::Random(4 + static_cast<size_t>(round % 9), static_cast<unsigned>(round))
                                          : theories.Next();
    theory.Issues.push_back(families::Neg(families::Atom(round % 2 ? "s1" : "a")));
    const std::string where = "round " + std::to_string(round) + ": " + Describe(theory);
    const TEvaluation evaluation = EvaluateInterpretations(theory, 1000000);
    TInterpretationEngine follower(theory), marker(theory);
    theory.Issues.push_back(families::Atom(round % 2 ? "b" : "unmentioned"));
    theory.Issues.push_back(families::Neg(families::Atom("s0")));
    std::vector<uint8_t> base;
    size_t visited = 0;
    const bool answered = follower.FollowRootMarks(
        evaluation.Interpretations, [&](TInterpretationEngine::TRootMarks marks) { base.assign(marks.begin(), marks.end()); },
        [&](size_t k, TInterpretationEngine::TChangedMarks changed) {
          ASSERT_EQ(k, visited++) << where;
          // The changes are from the marks in force before.
          std::vector<uint8_t>& marks = base;
          for (const auto& [r, m] : changed) {
            ASSERT_NE(marks[r], m) << where << " #" << k;
            marks[r] = m;
          }
          withChanges += changed.empty() ? 0u : 1u;
          marker.MarkStatuses(evaluation.Interpretations[k]);
          std::vector<uint8_t> expected;
          for (const auto* section : {&theory.Assumptions, &theory.Issues})
            for (const auto& s : *section)
              expected.push_back(static_cast<uint8_t>((s->IsJustified ? TInterpretationEngine::kJustified : 0) |
                                                      (s->IsDefeated ? TInterpretationEngine::kDefeated : 0)));
          ASSERT_EQ(expected, marks) << where << " #" << k;
        });
    if (!answered) {
      ASSERT_TRUE(follower.Ambiguous()) << where;
      continue;
    }
    ASSERT_EQ(visited, evaluation.Interpretations.size()) << where;
    ++followed;
  }
  EXPECT_GT(followed, 2000u);
  EXPECT_GT(withChanges, 1000u);
}

}  // namespace
