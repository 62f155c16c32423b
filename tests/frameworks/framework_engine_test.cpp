// The engine made straight from a framework's attacks against the engine of
// the framework's theory: the same interpretations by position, in the same
// order, the same counts and the same unordered answer, on random frameworks
// large enough for independent parts and for the learning search.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "evaluation/interpretations_engine.h"
#include "frameworks/argumentation_framework.h"
#include "frameworks/framework_theory.h"

namespace {

constexpr size_t kAll = std::numeric_limits<size_t>::max();

// What an engine answers, everything in one comparable value.
struct TAnswers {
  std::vector<std::vector<size_t>> Found;  // forced then taken, per interpretation
  size_t Passed = 0;
  bool Cut = false;
  size_t Counted = 0;
  bool CountCut = false;
  size_t CountedUpTo5 = 0;
  std::vector<std::vector<size_t>> Any;
  bool operator==(const TAnswers&) const = default;
};

TAnswers Ask(TInterpretationEngine& engine, size_t limit) {
  TAnswers answers;
  auto keepIn = [](std::vector<std::vector<size_t>>& into) {
    return [&into](std::span<const size_t> forced, std::span<const size_t> taken) {
      into.emplace_back(forced.begin(), forced.end());
      into.back().push_back(kAll);  // where the forced part ends
      into.back().insert(into.back().end(), taken.begin(), taken.end());
      return true;
    };
  };
  const TEnumerationSummary listed = engine.Enumerate(limit, keepIn(answers.Found));
  answers.Passed = listed.Count;
  answers.Cut = listed.Cut;
  const TEnumerationSummary counted = engine.Count(5000);
  answers.Counted = counted.Count;
  answers.CountCut = counted.Cut;
  answers.CountedUpTo5 = engine.Count(5).Count;
  engine.FindAny(keepIn(answers.Any));
  return answers;
}

std::string Shown(const TAnswers& a) {
  return std::to_string(a.Passed) + (a.Cut ? " (cut)" : "") + " listed, " +
         std::to_string(a.Counted) + " counted, " + std::to_string(a.Any.size()) + " any";
}

TArgumentationFramework RandomFramework(std::mt19937& random, size_t n, size_t attacks,
                                        size_t mutualPairs) {
  TArgumentationFramework framework;
  for (size_t i = 0; i < n; ++i) framework.Arguments.push_back("a" + std::to_string(i));
  std::set<std::pair<size_t, size_t>> seen;
  auto add = [&](size_t from, size_t to) {
    if (seen.insert({from, to}).second) framework.Attacks.emplace_back(from, to);
  };
  for (size_t k = 0; k < attacks; ++k) add(random() % n, random() % n);
  // Mutual pairs give many extensions; the pairs' other attacks tie them into parts.
  for (size_t k = 0; k < mutualPairs; ++k) {
    const size_t a = random() % n, b = random() % n;
    if (a == b) continue;
    add(a, b);
    add(b, a);
  }
  return framework;
}

TEST(FrameworkEngine, AnswersAsTheEngineOfTheFrameworksTheory) {
  std::mt19937 random(20);
  size_t withSome = 0, withNone = 0, cut = 0;
  for (int round = 0; round < 600; ++round) {
    // Mostly small frameworks, some with hundreds of arguments.
    const size_t n = round % 10 == 9 ? 50 + random() % 300 : 1 + random() % 14;
    const size_t attacks = random() % (2 * n + 1);
    const size_t pairs = random() % (n / 2 + 2);
    const TArgumentationFramework framework = RandomFramework(random, n, attacks, pairs);
    const size_t limit = std::vector<size_t>{1, 3, 40, 300}[random() % 4];

    const TKorvelTheory theory = FrameworkToTheory(framework);
    TInterpretationEngine byTheory(theory);
    TInterpretationEngine byAttacks = FrameworkEngine(framework);
    const TAnswers expected = Ask(byTheory, limit);
    const TAnswers answered = Ask(byAttacks, limit);
    ASSERT_EQ(answered, expected) << "expected " << Shown(expected) << ", got " << Shown(answered)
                                  << "\n"
                                  << WriteFramework(framework, TFrameworkFormat::Apx);
    (expected.Counted > 0 ? withSome : withNone)++;
    cut += expected.Cut;
  }
  // The families reach every kind of answer.
  EXPECT_GT(withSome, 100u);
  EXPECT_GT(withNone, 50u);
  EXPECT_GT(cut, 50u);
}

TEST(FrameworkEngine, HardPartsGoToTheLearningSearchAlike) {
  // Long odd and even cycles with chords: the depth-first search spends its
  // budget and the learning search answers, where the order of the solver's
  // variables decides which extension FindAny gives.
  std::mt19937 random(7);
  for (int round = 0; round < 6; ++round) {
    const size_t n = 400 + random() % 400;
    TArgumentationFramework framework = RandomFramework(random, n, 0, 0);
    std::set<std::pair<size_t, size_t>> seen;
    for (size_t i = 0; i < n; ++i) {
      for (size_t to : {(i + 1) % n, static_cast<size_t>(random() % n)})
        if (to != i && seen.insert({i, to}).second) framework.Attacks.emplace_back(i, to);
    }
    const TKorvelTheory theory = FrameworkToTheory(framework);
    TInterpretationEngine byTheory(theory);
    TInterpretationEngine byAttacks = FrameworkEngine(framework);
    byTheory.SetBudget(64, std::chrono::milliseconds(1));
    byAttacks.SetBudget(64, std::chrono::milliseconds(1));
    const TAnswers expected = Ask(byTheory, 200);
    EXPECT_EQ(Ask(byAttacks, 200), expected) << "round " << round << ": " << Shown(expected);
  }
}


// Frameworks of `blocks` separate blocks of arguments (attacks only inside a
// block), their arguments shuffled so that the blocks' positions alternate in
// theory order: independent parts whose choices interleave.
TArgumentationFramework SeparateBlocks(std::mt19937& random, size_t blocks, size_t size) {
  std::vector<size_t> place(blocks * size);
  for (size_t i = 0; i < place.size(); ++i) place[i] = i;
  std::shuffle(place.begin(), place.end(), random);
  TArgumentationFramework framework;
  for (size_t i = 0; i < place.size(); ++i) framework.Arguments.push_back("a" + std::to_string(i));
  std::set<std::pair<size_t, size_t>> seen;
  auto add = [&](size_t from, size_t to) {
    if (seen.insert({from, to}).second) framework.Attacks.emplace_back(from, to);
  };
  for (size_t b = 0; b < blocks; ++b) {
    auto member = [&] { return place[b * size + random() % size]; };
    for (size_t k = random() % (size + 1); k-- > 0;) add(member(), member());
    for (size_t k = 1 + random() % size; k-- > 0;) {
      const size_t x = member(), y = member();
      if (x == y) continue;
      add(x, y);
      add(y, x);
    }
  }
  return framework;
}

struct TListing {
  std::vector<std::vector<size_t>> Found;
  TEnumerationSummary Summary;
};

TListing List(TInterpretationEngine& engine, size_t limit, size_t stopAfter = kAll) {
  TListing listing;
  listing.Summary = engine.Enumerate(limit, [&](std::span<const size_t> forced, std::span<const size_t> taken) {
    listing.Found.emplace_back(forced.begin(), forced.end());
    listing.Found.back().push_back(kAll);
    listing.Found.back().insert(listing.Found.back().end(), taken.begin(), taken.end());
    return listing.Found.size() < stopAfter;
  });
  return listing;
}

TEST(FrameworkEngine, ManyChoicesAreSearchedTogetherInTheOrderOfTheirCombination) {
  // Under a limit too large for keeping every part's choices, a part past the
  // budget makes one search over all parts together: the same
  // interpretations in the same order as the combination of kept choices,
  // also when the reader stops early and when a later part has no choice.
  std::mt19937 random(41);
  size_t several = 0, none = 0, stoppedEarly = 0;
  for (int round = 0; round < 150; ++round) {
    const TArgumentationFramework framework = SeparateBlocks(random, 2 + random() % 4, 2 + random() % 6);
    TInterpretationEngine kept = FrameworkEngine(framework);
    kept.SetKeptChoicesBudget(kAll);
    const TListing expected = List(kept, kAll);
    const size_t choice = TInterpretationEngine::kChoiceBytes;
    for (size_t budget : {size_t{0}, choice, 4 * choice + 3, 20 * choice}) {
      TInterpretationEngine together = FrameworkEngine(framework);
      together.SetKeptChoicesBudget(budget);
      const TListing listed = List(together, kAll);
      ASSERT_EQ(listed.Found, expected.Found) << "budget " << budget << "\n"
                                              << WriteFramework(framework, TFrameworkFormat::Apx);
      EXPECT_EQ(listed.Summary.Count, expected.Summary.Count);
      EXPECT_FALSE(listed.Summary.Cut || listed.Summary.Stopped);
      // A reader that has had enough ends the search at once.
      if (expected.Found.size() < 3) continue;
      const size_t stopAfter = 1 + random() % (expected.Found.size() - 1);
      const TListing begun = List(together, kAll, stopAfter);
      ASSERT_EQ(begun.Found.size(), stopAfter);
      EXPECT_TRUE(std::equal(begun.Found.begin(), begun.Found.end(), expected.Found.begin()));
      EXPECT_EQ(begun.Summary.Count, stopAfter);
      EXPECT_FALSE(begun.Summary.Cut || begun.Summary.Stopped);
      ++stoppedEarly;
    }
    several += expected.Found.size() >= 8;
    none += expected.Found.empty();
  }
  EXPECT_GT(several, 30u);
  EXPECT_GT(none, 10u);
  EXPECT_GT(stoppedEarly, 100u);

  // A limit within reach: cut at the same place.
  TArgumentationFramework pairs;
  for (size_t i = 0; i < 34; ++i) pairs.Arguments.push_back("p" + std::to_string(i));
  for (size_t i = 0; i < 17; ++i) {
    pairs.Attacks.emplace_back(i, 33 - i);
    pairs.Attacks.emplace_back(33 - i, i);
  }
  const size_t limit = TInterpretationEngine::kKeepAllChoicesBelow;
  TInterpretationEngine kept = FrameworkEngine(pairs);
  kept.SetKeptChoicesBudget(kAll);
  TInterpretationEngine together = FrameworkEngine(pairs);
  together.SetKeptChoicesBudget(3 * TInterpretationEngine::kChoiceBytes);
  const TListing expected = List(kept, limit), listed = List(together, limit);
  EXPECT_EQ(listed.Found, expected.Found);
  EXPECT_EQ(listed.Summary.Count, limit);
  EXPECT_TRUE(listed.Summary.Cut && expected.Summary.Cut);
}

}  // namespace
