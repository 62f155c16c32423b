// The compact list of interpretations against the full lists it stands for:
// materialised, walked and compared, with forced parts shared or changing,
// and with its table of sentences mapped to other objects.
#include <gtest/gtest.h>

#include <random>

#include "evaluation/interpretation_list.h"
#include "tests/evaluation/theory_families.h"

namespace {

TListOfKorvelSentences Table(size_t size) {
  TListOfKorvelSentences table;
  for (size_t k = 0; k < size; ++k) table.push_back(families::Atom("s" + std::to_string(k)));
  return table;
}

TListOfKorvelSentences Walked(const TInterpretationList& list, size_t index) {
  TListOfKorvelSentences walked;
  list.ForEachMember(index, [&walked](const SentencePtr& sentence) { walked.push_back(sentence); });
  return walked;
}

// Random forced parts (kept for a few interpretations, then changed, some
// empty) and random choices, mostly beginning as the previous ones do (as in
// counter order), over lists long enough to pass several whole-kept ones:
// every way of reading an interpretation gives the full list made alongside,
// and one changed member breaks equality.
TEST(InterpretationList, EveryReadingGivesTheFullListsItWasMadeFrom) {
  std::mt19937 random(7);
  auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  for (int round = 0; round < 200; ++round) {
    const TListOfKorvelSentences table = Table(1 + pick(12));
    TInterpretationList list(table);
    TListOfListOfKorvelSentences full;
    std::vector<size_t> forced;
    std::vector<size_t> taken;
    for (size_t count = pick(round % 4 == 0 ? 150 : 30); count > 0; --count) {
      const bool newForced = pick(4) == 0;
      if (newForced) {
        forced.clear();
        for (size_t k = pick(4); k > 0; --k) forced.push_back(pick(table.size()));
      }
      taken.resize(pick(4) == 0 ? 0 : pick(taken.size() + 1));
      for (size_t k = pick(5); k > 0; --k) taken.push_back(pick(table.size()));
      if (!newForced && !list.empty() && pick(2) == 0)
        list.AddWithSameForced(taken);
      else
        list.Add(forced, taken);
      TListOfKorvelSentences& expected = full.emplace_back();
      for (size_t pos : forced) expected.push_back(table[pos]);
      for (size_t pos : taken) expected.push_back(table[pos]);
    }
    const std::string where = "round " + std::to_string(round);
    ASSERT_EQ(full.size(), list.size()) << where;
    ASSERT_TRUE(list == full) << where;
    ASSERT_EQ(full, list.ToLists()) << where;
    ASSERT_TRUE(list == TInterpretationList::FromLists(full)) << where;
    size_t k = 0;
    for (const TListOfKorvelSentences& interpretation : list) {
      ASSERT_EQ(full[k], interpretation) << where << " #" << k;
      ASSERT_EQ(full[k], Walked(list, k)) << where << " #" << k;
      ASSERT_EQ(full[k].size(), list.MemberCount(k)) << where << " #" << k;
      ++k;
    }
    if (full.empty()) continue;
    // The same texts in other objects are other interpretations.
    const size_t changed = pick(full.size());
    if (full[changed].empty()) continue;
    auto altered = full;
    altered[changed][pick(altered[changed].size())] = families::Atom("s0");
    EXPECT_FALSE(list == altered) << where;
    altered = full;
    altered[changed].pop_back();
    EXPECT_FALSE(list == altered) << where;
  }
}

TEST(InterpretationList, MappingTheTableMapsEveryInterpretationAndKeepsTheOriginal) {
  const TListOfKorvelSentences table = Table(4), other = Table(4);
  TInterpretationList list(table);
  const std::vector<size_t> forced{3, 0};
  list.Add(forced, std::vector<size_t>{1});
  list.Add(forced, std::vector<size_t>{});
  list.Add(std::vector<size_t>{2}, std::vector<size_t>{1, 3});
  const TInterpretationList mapped = list.Mapped([&](const SentencePtr& sentence) {
    for (size_t k = 0; k < table.size(); ++k)
      if (table[k] == sentence) return other[k];
    return sentence;
  });
  EXPECT_EQ(mapped.ToLists(), (TListOfListOfKorvelSentences{
                                  {other[3], other[0], other[1]}, {other[3], other[0]}, {other[2], other[1], other[3]}}));
  EXPECT_EQ(list.ToLists(), (TListOfListOfKorvelSentences{
                                {table[3], table[0], table[1]}, {table[3], table[0]}, {table[2], table[1], table[3]}}));
  EXPECT_THROW(list.Add({}, std::vector<size_t>{4}), std::out_of_range);
  EXPECT_THROW(list.At(3), std::out_of_range);
}

}  // namespace
