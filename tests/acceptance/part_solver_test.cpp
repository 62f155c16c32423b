// A part handed over from the ordered solver to CaDiCaL midway keeps every
// question's clauses: the choices left to count, and the answers under a
// selector asked before, are those of a part that never moved.
#include <gtest/gtest.h>

#include "acceptance/part_solver.h"
#include "reasoning/forced_rounds.h"
#include "reasoning/independent_parts.h"
#include "tests/evaluation/theory_families.h"

namespace {

// Counts a part's choices by ruling each out in turn, handing the part over
// after `before` of them (never when negative); a question under a selector
// that asks for the first varying text to be absent comes first and is
// retired.
size_t CountChoices(const TKorvelTheory& theory, int before, bool& absentPossible) {
  const TTheoryIndex index(theory);
  TIncrementalClosure admitted(index, true), undefeated(index, false);
  const TForcedSplit split = SplitForced(index, admitted, undefeated, nullptr);
  const auto parts = IndependentParts(index, split.Undetermined, admitted);
  EXPECT_EQ(1u, parts.size());
  TPartSolver solver(index, admitted, parts.front(), nullptr, uint64_t{1} << 40);
  const int first = solver.PresenceLiteral(solver.VaryingTexts().front());
  const int selector = solver.Selector({-first});
  solver.PreferPhases({-first});
  if (before == 0) solver.HandOver();
  absentPossible = solver.Solve({selector});
  solver.Retire(selector);
  size_t count = 0;
  while (solver.Solve({})) {
    ++count;
    solver.ExcludeLastChoice();
    if (static_cast<int>(count) == before) solver.HandOver();
  }
  EXPECT_EQ(before >= 0 && static_cast<size_t>(before) <= count, solver.HandedOver());
  return count;
}

TEST(PartSolver, AHandOverKeepsTheQuestionsAndTheChoicesCounted) {
  // A ladder (k + 1 choices, the first text absent in some) and a 3-SAT
  // part with a handful of satisfying assignments.
  const TKorvelTheory theories[] = {families::Ladder(9), families::ThreeSat(12, 30, 2)};
  for (const TKorvelTheory& theory : theories) {
    bool absentStaying = false;
    const size_t all = CountChoices(theory, -1, absentStaying);
    ASSERT_GT(all, 3u);
    for (int before : {0, 1, 2, static_cast<int>(all) - 1, static_cast<int>(all)}) {
      bool absent = false;
      EXPECT_EQ(all, CountChoices(theory, before, absent)) << "handed over after " << before;
      EXPECT_EQ(absentStaying, absent) << "handed over after " << before;
    }
  }
}

}  // namespace
