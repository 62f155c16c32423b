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
#include <set>
#include <sstream>
#include <unordered_set>

#include "evaluation/interpretations.h"
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
  const std::string command = kClingo + " 0 " + options + " " + path + " 2>/dev/null";
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
  std::istringstream lines(RunClingo(writer.Program(), list ? "-V0" : "-q"));
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

TEST(ClingoOracle, SameInterpretationsAsAnAnswerSetSolver) {
  if (kClingo.empty() || std::system((kClingo + " --version >/dev/null 2>&1").c_str()) != 0) {
    if (ClingoRequired()) FAIL() << "clingo not found; scripts/setup.sh installs it (gringo)";
    GTEST_SKIP() << "clingo not installed";
  }
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

}  // namespace
