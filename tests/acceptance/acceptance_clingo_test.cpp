// Acceptance against an independent peer: clingo's brave consequences (in
// some answer set) and cautious consequences (in every one) of the program
// written from the definition of an interpretation (asp_encoding.h), for the
// presence h(T) of every text in the closure. Justified in some / every
// interpretation must be brave / cautious for the text, defeated for its
// negation; with no answer set, no interpretation.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "acceptance/acceptance.h"
#include "acceptance/acceptance_text.h"
#include "tests/evaluation/asp_encoding.h"
#include "tests/acceptance/cyclic_theories.h"
#include "tests/evaluation/theory_families.h"

// Failures name an answer by its two letters.
void PrintTo(const TTextAcceptance& acceptance, std::ostream* out) { *out << AcceptanceLetters(acceptance); }

namespace {

const std::string kClingo = PELMORA_CLINGO;

std::string RunClingo(const std::string& program, const std::string& options) {
  char path[] = "/tmp/pelmora-acceptance-XXXXXX";
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

struct TConsequences {
  bool Satisfiable = false;
  std::set<std::string> Texts;
};

// The texts whose h/1 clingo's last answer in this mode holds.
TConsequences Ask(const asp::TAspWriter& writer, const char* mode) {
  const std::string output =
      RunClingo(writer.Program() + "#show h/1.\n", std::string("--enum-mode=") + mode + " -V0");
  TConsequences answer;
  std::string last;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line == "SATISFIABLE") answer.Satisfiable = true;
    if (line == "SATISFIABLE" || line == "UNSATISFIABLE") break;
    if (line.rfind("Consequences", 0) != 0) last = line;
  }
  std::istringstream atoms(last);
  for (std::string atom; atoms >> atom;)
    if (atom.rfind("h(", 0) == 0) answer.Texts.insert(writer.Text(std::stoi(atom.substr(2, atom.size() - 3))));
  return answer;
}

// Every text among the parts of the assumptions and issues, once.
std::vector<std::string> PartTexts(const TKorvelTheory& theory) {
  TPartsCollector collector;
  for (const auto& s : theory.Assumptions) collector.Collect(s);
  for (const auto& s : theory.Issues) collector.Collect(s);
  std::vector<std::string> texts;
  for (const auto& s : collector.TakeParts()) texts.push_back(s->Text);
  return texts;
}

TReach Expected(const TConsequences& brave, const TConsequences& cautious, const std::string& text) {
  if (cautious.Texts.count(text) != 0) return TReach::All;
  return brave.Texts.count(text) != 0 ? TReach::Some : TReach::None;
}

TEST(AcceptanceClingo, BraveAndCautiousConsequencesOfThePresenceOfEveryText) {
  if (kClingo.empty() || std::system((kClingo + " --version >/dev/null 2>&1").c_str()) != 0) {
    const char* ci = std::getenv("CI");
    if (ci != nullptr && std::string(ci) == "true") FAIL() << "clingo not found";
    GTEST_SKIP() << "clingo not installed";
  }
  struct TCase {
    std::string Name;
    TKorvelTheory Theory;
  };
  std::vector<TCase> cases;
  for (unsigned v = 1; v <= 20; ++v) {
    cases.push_back({"tangled " + std::to_string(v), families::Tangled(18 + v % 7, v)});
    cases.push_back({"random " + std::to_string(v), families::Random(16 + v % 9, v)});
  }
  for (unsigned v = 1; v <= 5; ++v) {
    cases.push_back({"framework " + std::to_string(v), families::AttackFramework(30, 36, v)});
    cases.push_back({"3-sat " + std::to_string(v), families::ThreeSat(10, 30 + v * 3, v)});
  }
  cases.push_back({"ladder", families::Ladder(12)});
  for (unsigned v = 1; v <= 20; ++v)
    cases.push_back({"cycles " + std::to_string(v), families::RandomWithCycles(12 + v % 6, 2 + v % 4, v)});
  cases.push_back({"cycle behind an impossible choice", families::CycleBehindAnImpossibleChoice()});
  cases.push_back({"pairs then odd cycle", families::PairsThenOddCycle(8)});
  cases.push_back({"pairs over the cap", families::Pairs(15)});
  cases.push_back({"odd cycles", families::OddCycles(3)});
  size_t withSome = 0, withAll = 0, without = 0;
  for (const auto& c : cases) {
    const asp::TAspWriter writer(c.Theory);
    const TConsequences brave = Ask(writer, "brave");
    const TConsequences cautious = Ask(writer, "cautious");
    const std::vector<std::string> texts = PartTexts(c.Theory);
    const TAcceptance acceptance = ComputeAcceptance(c.Theory, texts);
    ASSERT_FALSE(acceptance.Stopped);
    ASSERT_EQ(brave.Satisfiable, acceptance.HasInterpretation) << c.Name;
    if (!acceptance.HasInterpretation) {
      EXPECT_TRUE(acceptance.Texts.empty()) << c.Name;
      ++without;
      continue;
    }
    for (size_t k = 0; k < texts.size(); ++k) {
      const TTextAcceptance expected{Expected(brave, cautious, texts[k]),
                                     Expected(brave, cautious, NegationText(texts[k]))};
      EXPECT_EQ(expected, acceptance.Texts[k]) << c.Name << ": " << texts[k];
      withSome += acceptance.Texts[k].Justified == TReach::Some ? 1u : 0u;
      withAll += acceptance.Texts[k].Defeated == TReach::All ? 1u : 0u;
    }
  }
  // The families must reach every kind of answer.
  EXPECT_GT(withSome, 100u);
  EXPECT_GT(withAll, 100u);
  EXPECT_GT(without, 3u);
}

}  // namespace
