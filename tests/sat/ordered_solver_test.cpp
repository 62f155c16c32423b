// The ordered solver against brute force on random formulas: the same
// assignments of the ordered variables, in counter order, each once; with
// clauses held back and given only when a model violates them; after a
// search for any model in the solver's own order; resumed after a model; and
// stopped. Searches for any model under assumptions, with the assumptions to
// blame when there is none; and calls one after another on one solver, with
// clauses added between them.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
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

bool Satisfiable(const TClauses& clauses, int vars) {
  return !BruteForce(clauses, 0, vars).empty();
}

// The clauses with a clause of one literal for each of `lits`.
TClauses With(TClauses clauses, const std::vector<int>& lits) {
  for (int lit : lits) clauses.push_back({lit});
  return clauses;
}

uint64_t Assignment(const TOrderedSolver& solver, int vars) {
  uint64_t assignment = 0;
  for (int v = 1; v <= vars; ++v) assignment |= uint64_t{solver.Value(v)} << (v - 1);
  return assignment;
}

std::vector<int> RandomLits(std::mt19937& rng, int vars, int count) {
  std::uniform_int_distribution<int> var(1, vars), sign(0, 1);
  std::vector<int> lits;
  for (int k = 0; k < count; ++k) lits.push_back(sign(rng) ? var(rng) : -var(rng));
  return lits;
}

// A solver of `vars` variables, the first `ordered` of them ordered, holding
// the clauses, with the learned ones reduced all the time.
TOrderedSolver SolverWith(const TClauses& clauses, int ordered, int vars) {
  TOrderedSolver solver(ordered);
  solver.SetReduceInterval(3);
  while (solver.VarCount() < vars) solver.NewVar();
  for (const auto& clause : clauses) solver.AddClause(clause);
  return solver;
}

// Lists the models with the clauses from `held` given only on violation.
std::vector<TBits> Listed(const TClauses& given, const TClauses& held, int ordered, int vars,
                          const TBits* after = nullptr, size_t stopAt = SIZE_MAX,
                          bool solveFirst = false) {
  TOrderedSolver solver = SolverWith(given, ordered, vars);
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

TEST(OrderedSolver, SolvesUnderAssumptionsAsBruteForce) {
  // Several calls on one solver, each under other assumptions and with a
  // clause more than the one before. In odd rounds half of the clauses are
  // given only by Check when a model violates one, as loop clauses are.
  std::mt19937 rng(7);
  size_t models = 0, cores = 0, blamedClauses = 0;
  for (int round = 0; round < 500; ++round) {
    const int vars = 3 + round % 10;
    const int ordered = round % 3 == 0 ? 1 + round % vars : 0;
    const TClauses clauses = RandomFormula(rng, vars, vars * (1 + round % 3));
    TClauses given, held;
    for (size_t c = 0; c < clauses.size(); ++c)
      (round % 2 == 1 && c % 2 == 1 ? held : given).push_back(clauses[c]);
    TOrderedSolver solver = SolverWith(given, ordered, vars);
    TOrderedSolver::THooks hooks;
    if (!held.empty()) {
      hooks.Check = [&] {
        bool ok = true;
        for (const auto& clause : held)
          if (!Satisfies({clause}, Assignment(solver, vars))) {
            solver.AddClause(clause);
            ok = false;
          }
        return ok;
      };
    }
    uint64_t accepted = 0;
    size_t accepts = 0;
    hooks.Accept = [&] {
      accepted = Assignment(solver, vars);
      ++accepts;
      return true;
    };
    TClauses all = clauses;
    for (int call = 0; call < 8; ++call) {
      const std::string where = "round " + std::to_string(round) + " call " + std::to_string(call);
      const std::vector<int> assumptions = RandomLits(rng, vars, static_cast<int>(rng() % 7));
      if (call % 3 == 1) solver.SetPhase(RandomLits(rng, vars, 1).front());
      accepts = 0;
      const int answer = solver.Solve(hooks, assumptions);
      ASSERT_EQ(answer, Satisfiable(With(all, assumptions), vars) ? 1 : 0) << where;
      if (answer == 1) {
        ASSERT_EQ(accepts, 1u) << where;
        ASSERT_EQ(Assignment(solver, vars), accepted) << where;
        ASSERT_TRUE(Satisfies(With(all, assumptions), accepted)) << where;
        ++models;
      } else {
        const std::vector<int>& core = solver.FailedCore();
        for (int lit : core)
          ASSERT_NE(std::find(assumptions.begin(), assumptions.end(), lit), assumptions.end())
              << where;
        for (int lit : assumptions)
          ASSERT_EQ(solver.Failed(lit), std::find(core.begin(), core.end(), lit) != core.end())
              << where;
        ASSERT_FALSE(Satisfiable(With(all, core), vars)) << where;
        ++cores;
        blamedClauses += core.empty() ? 1u : 0u;
      }
      // A clause more for the next call, sometimes of one literal.
      const std::vector<int> clause = RandomLits(rng, vars, 1 + static_cast<int>(rng() % 4));
      all.push_back(clause);
      solver.AddClause(clause);
    }
  }
  EXPECT_GT(models, 1100u);
  EXPECT_GT(cores, blamedClauses + 1300);
  EXPECT_GT(blamedClauses, 700u);
}

TEST(OrderedSolver, EachCallSeesTheClausesAddedBefore) {
  // Listings (complete or ended by Accept) and searches for any model, in a
  // random order on one solver, with a clause added after each; a search's
  // Accept adds one too, that shuts out the ordered values of its model.
  std::mt19937 rng(11);
  size_t changed = 0, unsatisfiable = 0;
  for (int round = 0; round < 400; ++round) {
    const int vars = 3 + round % 9;
    const int ordered = 1 + round % vars;
    TClauses clauses = RandomFormula(rng, vars, vars);
    TOrderedSolver solver = SolverWith(clauses, ordered, vars);
    std::vector<TBits> listed;
    size_t stopAt = SIZE_MAX;
    TOrderedSolver::THooks list;
    list.Accept = [&] {
      TBits bits;
      for (int v = 1; v <= ordered; ++v) bits.push_back(solver.Value(v) ? 1 : 0);
      listed.push_back(bits);
      return listed.size() < stopAt;
    };
    bool satisfied = false;
    TOrderedSolver::THooks ask;
    ask.Accept = [&] {
      satisfied = Satisfies(clauses, Assignment(solver, vars));
      std::vector<int> other;
      for (int v = 1; v <= ordered; ++v) other.push_back(solver.Value(v) ? -v : v);
      clauses.push_back(other);
      solver.AddClause(other);
      return true;
    };
    std::vector<TBits> expected = BruteForce(clauses, ordered, vars);
    for (int call = 0; call < 8; ++call) {
      const std::string where = "round " + std::to_string(round) + " call " + std::to_string(call);
      listed.clear();
      switch (rng() % 3) {
        case 0:
          stopAt = SIZE_MAX;
          ASSERT_TRUE(solver.Enumerate(list)) << where;
          ASSERT_EQ(listed, expected) << where;
          break;
        case 1: {
          stopAt = 1 + rng() % 3;
          const bool complete = solver.Enumerate(list);
          const size_t count = std::min(stopAt, expected.size());
          ASSERT_EQ(listed, std::vector<TBits>(expected.begin(),
                                               expected.begin() + static_cast<long>(count)))
              << where;
          ASSERT_EQ(complete, expected.size() < stopAt) << where;
          break;
        }
        default:
          satisfied = false;
          ASSERT_EQ(solver.Solve(ask), expected.empty() ? 0 : 1) << where;
          ASSERT_EQ(satisfied, !expected.empty()) << where;
          expected = BruteForce(clauses, ordered, vars);
      }
      unsatisfiable += expected.empty() ? 1u : 0u;
      // Often of one literal, so that what holds at level 0 can contradict itself.
      const std::vector<int> clause = RandomLits(rng, vars, 1 + static_cast<int>(rng() % 2));
      clauses.push_back(clause);
      solver.AddClause(clause);
      std::vector<TBits> next = BruteForce(clauses, ordered, vars);
      changed += next != expected ? 1u : 0u;
      expected = std::move(next);
    }
  }
  EXPECT_GT(changed, 900u);
  EXPECT_GT(unsatisfiable, 700u);
}

TEST(OrderedSolver, ACheckRefusingWithoutAClauseSkipsJustThatAssignment) {
  // Check refuses the ordered assignments whose weighted sum of true
  // variables is a multiple of 3, adding nothing; in odd rounds it also gives
  // half of the clauses only on violation.
  auto refused = [](const TBits& bits) {
    int sum = 0;
    for (size_t v = 0; v < bits.size(); ++v) sum += bits[v] ? static_cast<int>(v) + 1 : 0;
    return sum % 3 == 0;
  };
  std::mt19937 rng(5);
  size_t skipped = 0;
  for (int round = 0; round < 600; ++round) {
    const int vars = 3 + round % 10;
    const int ordered = 1 + round % vars;
    const TClauses clauses = RandomFormula(rng, vars, vars * (1 + round % 4));
    std::vector<TBits> expected = BruteForce(clauses, ordered, vars);
    const size_t all = expected.size();
    std::erase_if(expected, refused);
    skipped += all - expected.size();
    TClauses given, held;
    for (size_t c = 0; c < clauses.size(); ++c)
      (round % 2 == 1 && c % 2 == 1 ? held : given).push_back(clauses[c]);
    TOrderedSolver solver = SolverWith(given, ordered, vars);
    auto prefix = [&] {
      TBits bits;
      for (int v = 1; v <= ordered; ++v) bits.push_back(solver.Value(v) ? 1 : 0);
      return bits;
    };
    std::vector<TBits> listed;
    TOrderedSolver::THooks hooks;
    hooks.Check = [&] {
      bool ok = true;
      for (const auto& clause : held)
        if (!Satisfies({clause}, Assignment(solver, vars))) {
          solver.AddClause(clause);
          ok = false;
        }
      return ok && !refused(prefix());
    };
    hooks.Accept = [&] {
      listed.push_back(prefix());
      return true;
    };
    ASSERT_TRUE(solver.Enumerate(hooks)) << "round " << round;
    ASSERT_EQ(listed, expected) << "round " << round;
  }
  EXPECT_GT(skipped, 2000u);
}

TEST(OrderedSolver, SolveTakesThePhasesSetForFreeVariables) {
  // Variables 1 .. 10 are in no clause: Solve gives them the phases set, also
  // when they are set while the model of the call before is still held.
  std::mt19937 rng(3);
  TOrderedSolver solver(0);
  while (solver.VarCount() < 30) solver.NewVar();
  for (const auto& clause : RandomFormula(rng, 20, 60)) {
    std::vector<int> shifted;
    for (int lit : clause) shifted.push_back(lit > 0 ? lit + 10 : lit - 10);
    solver.AddClause(shifted);
  }
  for (int call = 0; call < 20; ++call) {
    const std::vector<int> phases = RandomLits(rng, 10, 10);
    for (int lit : phases) solver.SetPhase(lit);
    ASSERT_EQ(solver.Solve({}), 1);
    for (int v = 1; v <= 10; ++v) {
      // The last phase set for the variable; one with none set is not looked at.
      const auto last =
          std::find_if(phases.rbegin(), phases.rend(), [v](int lit) { return std::abs(lit) == v; });
      if (last != phases.rend()) {
        ASSERT_EQ(solver.Value(v), *last > 0) << call << " " << v;
      }
    }
  }
}

}  // namespace
