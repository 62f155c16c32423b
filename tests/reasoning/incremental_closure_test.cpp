// The closure kept up to date while bases come and go must always equal the
// closure computed afresh from the bases present, and count conflicts right.
#include <gtest/gtest.h>

#include <random>

#include "reasoning/interpretations_closure.h"
#include "evaluation/interpretations_reference.h"
#include "tests/evaluation/theory_families.h"

namespace {

// The texts of the closure of some assumptions, by the definition.
std::vector<char> Recomputed(const TTheoryIndex& index, const TKorvelTheory& theory,
                             const std::vector<int>& copies) {
  TListOfKorvelSentences bases;
  for (size_t pos = 0; pos < copies.size(); ++pos)
    if (copies[pos] > 0) bases.push_back(theory.Assumptions[pos]);
  std::vector<char> present(index.TextCount(), 0);
  for (const auto& s : reference::ConditionalClosure(bases))
    present[static_cast<size_t>(index.Find(s->Text))] = 1;
  return present;
}

std::vector<char> Flags(const TTheoryIndex& index, const TIncrementalClosure& closure) {
  std::vector<char> present(index.TextCount(), 0);
  for (size_t id = 0; id < present.size(); ++id)
    present[id] = closure.Contains(static_cast<int>(id));
  return present;
}

TEST(IncrementalClosure, RemovingAndUndoingBasesMatchesAFreshClosure) {
  std::mt19937 random(5);
  for (unsigned variant = 1; variant <= 60; ++variant) {
    // Random(8, v) holds chains of supports and attacks, also on conditionals.
    const TKorvelTheory theory = families::Random(8, variant);
    TTheoryIndex index(theory);
    ASSERT_FALSE(index.Ambiguous());
    const auto& ids = index.AssumptionIds();
    TIncrementalClosure shrinking(index, false);
    std::vector<int> copies(ids.size(), 0);
    for (size_t pos = 0; pos < ids.size(); ++pos) {
      shrinking.AddBase(ids[pos]);
      copies[pos] = 1;
    }
    // Bases taken out and put back at random, one copy at a time.
    for (int step = 0; step < 200; ++step) {
      const size_t pos = random() % ids.size();
      if (copies[pos] > 0 && (random() & 1u) != 0) {
        shrinking.RemoveBase(ids[pos]);
        --copies[pos];
      } else {
        shrinking.AddBase(ids[pos]);
        ++copies[pos];
      }
      const auto expected = Recomputed(index, theory, copies);
      ASSERT_EQ(expected, Flags(index, shrinking)) << "variant " << variant << " step " << step;
      TListOfKorvelSentences bases;
      for (size_t p = 0; p < copies.size(); ++p)
        if (copies[p] > 0) bases.push_back(theory.Assumptions[p]);
      ASSERT_EQ(reference::IsConsistent(bases), shrinking.IsConsistent()) << "variant " << variant;
    }
    // A growing closure returns exactly to each mark.
    TIncrementalClosure growing(index, true);
    std::vector<std::vector<char>> before;
    std::vector<size_t> marks;
    for (size_t pos = 0; pos < ids.size(); ++pos) {
      before.push_back(Flags(index, growing));
      marks.push_back(growing.Mark());
      growing.AddBase(ids[pos]);
    }
    for (size_t k = marks.size(); k-- > 0;) {
      growing.UndoTo(marks[k]);
      ASSERT_EQ(before[k], Flags(index, growing)) << "variant " << variant << " mark " << k;
    }
    EXPECT_TRUE(growing.IsConsistent());
  }
}

}  // namespace
