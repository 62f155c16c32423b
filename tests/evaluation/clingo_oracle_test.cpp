// The engine against an independent peer: clingo, an answer set solver, on a
// logic program written from the definition of an interpretation
// (asp_encoding.h). Theories have distinct assumption texts, so that the
// peer's models and the engine's interpretations correspond one to one:
// the counts must agree and, below the cap, the sets of texts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <unordered_set>

#include "evaluation/interpretations.h"
#include "evaluation/interpretations_engine.h"
#include "tests/evaluation/asp_encoding.h"
#include "tests/evaluation/theory_families.h"

namespace {

// Where CMake found clingo, or "" when it did not.
const std::string kClingo = PELMORA_CLINGO;

bool ClingoRequired() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string(ci) == "true";
}

// Keeps the first assumption of every text.
TKorvelTheory DistinctTexts(TKorvelTheory theory) {
  std::unordered_set<std::string> seen;
  TListOfKorvelSentences kept;
  for (const auto& a : theory.Assumptions)
    if (seen.insert(a->Text).second) kept.push_back(a);
  theory.Assumptions = std::move(kept);
  return theory;
}

using TTextSet = std::set<std::string>;

struct TPeerAnswer {
  size_t Count = 0;
  std::set<TTextSet> Models;  // filled when listing
};

std::string RunClingo(const std::string& program, const std::string& options) {
  char path[] = "/tmp/pelmora-asp-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return "";
  close(fd);
  std::ofstream(path) << program;
  const std::string command = kClingo + " " + options + " " + path + " 2>/dev/null";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    pclose(pipe);
  }
  std::remove(path);
  return output;
}

TPeerAnswer AskPeer(const TKorvelTheory& theory, bool list) {
  asp::TAspWriter writer(theory);
  TPeerAnswer answer;
  std::istringstream lines(RunClingo(writer.Program(), list ? "0 -V0" : "0 -q"));
  for (std::string line; std::getline(lines, line);) {
    if (!list) {
      if (line.rfind("Models", 0) == 0) answer.Count = std::stoul(line.substr(line.find(':') + 1));
      continue;
    }
    if (line == "SATISFIABLE" || line == "UNSATISFIABLE") break;
    TTextSet model;
    std::istringstream atoms(line);
    for (std::string atom; atoms >> atom;)
      model.insert(writer.Text(std::stoi(atom.substr(3, atom.size() - 4))));
    answer.Models.insert(model);
    ++answer.Count;
  }
  return answer;
}

// Whether clingo can run; otherwise the test fails in CI and is skipped elsewhere.
#define REQUIRE_CLINGO()                                                                      \
  if (kClingo.empty() || std::system((kClingo + " --version >/dev/null 2>&1").c_str()) != 0) { \
    if (ClingoRequired()) FAIL() << "clingo not found; scripts/setup.sh installs it (gringo)";  \
    GTEST_SKIP() << "clingo not installed";                                                    \
  }

TEST(ClingoOracle, SameInterpretationsAsAnAnswerSetSolver) {
  REQUIRE_CLINGO();
  struct TCase {
    const char* Name;
    TKorvelTheory Theory;
  };
  std::vector<TCase> cases;
  for (unsigned v = 1; v <= 25; ++v) {
    cases.push_back({"tangled", families::Tangled(18 + v % 7, v)});
    cases.push_back({"random", families::Random(16 + v % 9, v)});
  }
  for (unsigned v = 1; v <= 5; ++v) {
    cases.push_back({"framework", families::AttackFramework(30, 36, v)});
    cases.push_back({"3-sat", families::ThreeSat(10, 30 + v * 3, v)});
  }
  cases.push_back({"ladder", families::Ladder(12)});
  cases.push_back({"pairs then odd cycle", families::PairsThenOddCycle(8)});
  cases.push_back({"pairs over the cap", families::Pairs(15)});
  size_t nonEmpty = 0;
  for (auto& c : cases) {
    const TKorvelTheory theory = DistinctTexts(std::move(c.Theory));
    const TEvaluation evaluation = EvaluateInterpretations(theory);
    const TPeerAnswer peer = AskPeer(theory, !evaluation.Cut);
    const std::string where = std::string(c.Name) + " with " +
                              std::to_string(theory.Assumptions.size()) + " assumptions";
    if (evaluation.Cut) {
      EXPECT_GT(peer.Count, kInterpretationLimit) << where;
      EXPECT_EQ(evaluation.Interpretations.size(), kInterpretationLimit) << where;
      continue;
    }
    std::set<TTextSet> ours;
    for (const auto& interpretation : evaluation.Interpretations) {
      TTextSet texts;
      for (const auto& a : interpretation) texts.insert(a->Text);
      ours.insert(texts);
    }
    EXPECT_EQ(peer.Count, evaluation.Interpretations.size()) << where;
    EXPECT_EQ(peer.Models, ours) << where;
    nonEmpty += ours.empty() ? 0u : 1u;
  }
  EXPECT_GT(nonEmpty, 20u);
}

// The theory with k mutually attacking pairs mixed in at random places, so
// that choices of separate parts alternate in theory order; with `tied`, the
// first pair's p1 also supports s0 of the theory.
TKorvelTheory WithPairsMixedIn(TKorvelTheory theory, size_t k, unsigned variant, bool tied) {
  std::mt19937 random(variant);
  TKorvelTheory pairs = families::Pairs(k);
  if (tied) families::Assume(pairs, families::If({families::Atom("p1")}, families::Atom("s0")));
  for (const auto& a : pairs.Assumptions) {
    const size_t at = random() % (theory.Assumptions.size() + 1);
    theory.Assumptions.insert(theory.Assumptions.begin() + static_cast<long>(at), a);
  }
  return theory;
}

// clingo deciding the assumptions in theory order, "left out" first, and
// enumerating by backtracking lists the models in the order of the binary
// counter: the first ones must be the engine's first interpretations, one by
// one, with the cut where clingo finds one more.
TEST(ClingoOracle, FirstInterpretationsComeInTheOrderOfAnOrderedPeer) {
  REQUIRE_CLINGO();
  constexpr size_t kFirst = 300;
  struct TCase {
    const char* Name;
    TKorvelTheory Theory;
  };
  std::vector<TCase> cases;
  for (unsigned v = 1; v <= 20; ++v) {
    cases.push_back({"cyclic", WithPairsMixedIn(families::Tangled(14 + v % 9, v), 5, v, v % 2)});
    cases.push_back({"random", WithPairsMixedIn(families::Random(12 + v % 11, v), 5, v, v % 2)});
  }
  for (unsigned v = 1; v <= 4; ++v) {
    cases.push_back(
        {"framework", WithPairsMixedIn(families::AttackFramework(50, 60, v), 4, v, false)});
    cases.push_back({"framework reversed", families::AttackFramework(50, 60, v, true)});
    cases.push_back({"3-sat", families::ThreeSat(20, 50 + v * 5, v)});
  }
  cases.push_back({"grid", families::Grid(6, false)});
  cases.push_back({"ladder", families::Ladder(40)});
  size_t longLists = 0;
  for (auto& c : cases) {
    const TKorvelTheory theory = DistinctTexts(std::move(c.Theory));
    const TEvaluation evaluation = EvaluateInterpretations(theory, kFirst);
    asp::TAspWriter writer(theory);
    std::istringstream lines(
        RunClingo(writer.Program() + writer.OrderHeuristic(theory),
                  std::to_string(kFirst + 1) + " --heuristic=Domain --enum-mode=bt -V0"));
    std::vector<TTextSet> peer;
    for (std::string line; std::getline(lines, line);) {
      if (line == "SATISFIABLE" || line == "UNSATISFIABLE") break;
      TTextSet model;
      std::istringstream atoms(line);
      for (std::string atom; atoms >> atom;)
        model.insert(writer.Text(std::stoi(atom.substr(3, atom.size() - 4))));
      peer.push_back(model);
    }
    const std::string where =
        std::string(c.Name) + " with " + std::to_string(theory.Assumptions.size()) + " assumptions";
    EXPECT_EQ(evaluation.Cut, peer.size() > kFirst) << where;
    const size_t shown = evaluation.Interpretations.size();
    ASSERT_EQ(shown, std::min(peer.size(), kFirst)) << where;
    for (size_t k = 0; k < shown; ++k) {
      TTextSet ours;
      for (const auto& a : evaluation.Interpretations[k]) ours.insert(a->Text);
      ASSERT_EQ(ours, peer[k]) << where << ", interpretation " << k + 1;
    }
    // The same beginning from one search over every independent part
    // together, as a long listing makes it.
    TInterpretationEngine engine(theory);
    engine.SetKeptChoicesBudget(0);
    std::vector<TTextSet> together;
    engine.Enumerate(TInterpretationEngine::kKeepAllChoicesBelow,
                     [&](std::span<const size_t> forced, std::span<const size_t> taken) {
                       TTextSet texts;
                       for (auto part : {forced, taken})
                         for (size_t pos : part) texts.insert(theory.Assumptions[pos]->Text);
                       together.push_back(std::move(texts));
                       return together.size() <= kFirst;
                     });
    EXPECT_EQ(together, std::vector<TTextSet>(peer.begin(), peer.begin() + static_cast<long>(together.size())))
        << where << ", searched together";
    EXPECT_EQ(together.size(), std::min(peer.size(), kFirst + 1)) << where << ", searched together";
    longLists += shown >= 20 ? 1u : 0u;
  }
  EXPECT_GT(longLists, 25u);
}

}  // namespace
