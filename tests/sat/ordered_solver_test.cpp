// The ordered solver against brute force on random formulas: the same
// assignments of the ordered variables, in counter order, each once; with
// clauses held back and given only when a model violates them; after a
// search for any model in the solver's own order; resumed after a model; and
// stopped.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "sat/ordered_solver.h"

namespace {

using TClauses = std::vector<std::vector<int>>;
using TBits = std::vector<char>;

bool Satisfies(const TClauses& clauses, uint64_t assignment) {
  for (const auto& clause : clauses) {
    bool any = false;
    for (int lit : clause) {
      const bool value = (assignment >> (std::abs(lit) - 1)) & 1;
      any = any || (lit > 0) == value;
    }
    if (!any) return false;
  }
  return true;
}

// The ordered variables' values (variable 1 first) of every model, in counter
// order, each once.
std::vector<TBits> BruteForce(const TClauses& clauses, int ordered, int vars) {
  std::vector<TBits> result;
  for (uint64_t prefix = 0; prefix < (uint64_t{1} << ordered); ++prefix) {
    TBits bits(static_cast<size_t>(ordered));
    uint64_t low = 0;  // variable 1 is the most significant digit
    for (int v = 0; v < ordered; ++v) {
      bits[static_cast<size_t>(v)] = (prefix >> (ordered - 1 - v)) & 1;
      low |= uint64_t{static_cast<unsigned char>(bits[static_cast<size_t>(v)])} << v;
    }
    for (uint64_t rest = 0; rest < (uint64_t{1} << (vars - ordered)); ++rest)
      if (Satisfies(clauses, low | (rest << ordered))) {
        result.push_back(bits);
        break;
      }
  }
  return result;
}

TClauses RandomFormula(std::mt19937& rng, int vars, int count) {
  std::uniform_int_distribution<int> var(1, vars), width(2, 4), sign(0, 1);
  TClauses clauses;
  for (int c = 0; c < count; ++c) {
    std::vector<int> clause;
    for (int k = width(rng); k > 0; --k) clause.push_back(sign(rng) ? var(rng) : -var(rng));
    clauses.push_back(clause);
  }
  return clauses;
}

// Lists the models with the clauses from `held` given only on violation.
std::vector<TBits> Listed(const TClauses& given, const TClauses& held, int ordered, int vars,
                          const TBits* after = nullptr, size_t stopAt = SIZE_MAX,
                          bool solveFirst = false) {
  TOrderedSolver solver(ordered);
  solver.SetReduceInterval(3);  // reductions happen all the time
  while (solver.VarCount() < vars) solver.NewVar();
  for (const auto& clause : given) solver.AddClause(clause);
  std::vector<TBits> models;
  TOrderedSolver::THooks hooks;
  hooks.Check = [&] {
    uint64_t assignment = 0;
    for (int v = 1; v <= vars; ++v) assignment |= uint64_t{solver.Value(v)} << (v - 1);
    bool ok = true;
    for (const auto& clause : held)
      if (!Satisfies({clause}, assignment)) {
        solver.AddClause(clause);
        ok = false;
      }
    return ok;
  };
  hooks.Accept = [&] {
    TBits bits;
    for (int v = 1; v <= ordered; ++v) bits.push_back(solver.Value(v) ? 1 : 0);
    models.push_back(bits);
    return models.size() < stopAt;
  };
  if (solveFirst) {
    // Any model first, in the solver's own order: whether one exists, and
    // what it learned must leave the ordered listing as it was.
    TOrderedSolver::THooks ask = hooks;
    bool satisfied = false;
    ask.Accept = [&] {
      uint64_t assignment = 0;
      for (int v = 1; v <= vars; ++v) assignment |= uint64_t{solver.Value(v)} << (v - 1);
      satisfied = Satisfies(given, assignment) && Satisfies(held, assignment);
      return true;
    };
    const int some = solver.Solve(ask);
    EXPECT_EQ(some, Listed(given, held, ordered, vars).empty() ? 0 : 1);
    EXPECT_EQ(satisfied, some == 1);
    if (some == 0) return {};
  }
  const bool complete = solver.Enumerate(hooks, after);
  EXPECT_EQ(complete, models.size() < stopAt || stopAt == SIZE_MAX);
  return models;
}

TEST(OrderedSolver, ListsTheModelsInCounterOrderAsBruteForce) {
  std::mt19937 rng(20);
  size_t nonEmpty = 0, many = 0;
  for (int round = 0; round < 1500; ++round) {
    const int vars = 3 + round % 11;
    const int ordered = 1 + round % vars;
    const int count = vars * (1 + round % 6);
    const TClauses clauses = RandomFormula(rng, vars, count);
    const std::vector<TBits> expected = BruteForce(clauses, ordered, vars);
    const std::string where = "round " + std::to_string(round);
    ASSERT_EQ(Listed(clauses, {}, ordered, vars), expected) << where;
    // Half of the clauses given only when a model breaks one of them.
    TClauses given, held;
    for (size_t c = 0; c < clauses.size(); ++c) (c % 2 ? held : given).push_back(clauses[c]);
    ASSERT_EQ(Listed(given, held, ordered, vars), expected) << where << " held";
    ASSERT_EQ(Listed(given, held, ordered, vars, nullptr, SIZE_MAX, true), expected)
        << where << " solved first";
    if (!expected.empty()) {
      // Resumed after each model in turn, then stopped after two.
      const size_t k = static_cast<size_t>(round) % expected.size();
      const std::vector<TBits> rest(expected.begin() + static_cast<long>(k) + 1, expected.end());
      ASSERT_EQ(Listed(clauses, {}, ordered, vars, &expected[k]), rest) << where << " after";
      const std::vector<TBits> two = Listed(given, held, ordered, vars, nullptr, 2);
      ASSERT_EQ(two, std::vector<TBits>(expected.begin(),
                                        expected.begin() + static_cast<long>(std::min<size_t>(
                                                               2, expected.size()))))
          << where << " stopped";
    }
    nonEmpty += expected.empty() ? 0u : 1u;
    many += expected.size() > 8 ? 1u : 0u;
  }
  EXPECT_GT(nonEmpty, 500u);
  EXPECT_GT(many, 100u);
}

TEST(OrderedSolver, StopHookEndsALongSearch) {
  // 2^30 models: only the stop ends the search.
  TOrderedSolver solver(30);
  size_t counted = 0, polls = 0;
  TOrderedSolver::THooks hooks;
  hooks.Accept = [&] { return ++counted > 0; };
  hooks.Stop = [&] { return ++polls > 10; };
  EXPECT_FALSE(solver.Enumerate(hooks));
  EXPECT_GT(counted, 0u);
  EXPECT_LT(counted, 100000u);
}

}  // namespace
