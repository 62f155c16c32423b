// korvel explain: the tree for a chosen interpretation, the JSON document
// with the same lines, the exit codes, and a derivation deeper than the
// indentation goes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "logic/parser.h"
#include "tests/cli/korvel_run.h"
#include "tests/evaluation/theory_families.h"

namespace {

class KorvelExplain : public KorvelFiles {
 protected:
  std::string Theory(const std::string& name, const std::vector<std::string>& assumptions,
                     const std::vector<std::string>& issues = {}) {
    TKorvelTheory theory = families::Parsed(assumptions, issues);
    TKorvelFile file;
    WriteTheory(theory, file);
    file.SaveToFile(Path(name));
    return Path(name);
  }
};

TEST_F(KorvelExplain, ExplainsInTheChosenInterpretationInLinesAndJson) {
  // Two interpretations: {p} and {q}; r follows from p only.
  const std::string file =
      Theory("choice.kvl", {"if(p, x(q))", "if(q, x(p))", "p", "q", "if(p, r)"}, {"r"});
  const TKorvelRun first = Korvel({"explain", file, "r"});
  const TKorvelRun second = Korvel({"explain", file, "r", "--interpretation", "2"});
  const TKorvelRun json = Korvel({"explain", "--json", file, "--interpretation", "2", "r"});
  ASSERT_EQ(first.Code, 0) << first.Err;
  // The first interpretation leaves p out (the counter's order), the second takes it in.
  EXPECT_EQ(first.Out,
            "\"r\" is open: neither it nor its negation follows\n"
            "  \"if(p, r)\" would give \"r\", but these are not justified:\n"
            "    \"p\" is defeated\n");
  EXPECT_EQ(second.Out,
            "\"r\" is justified by \"if(p, r)\"\n"
            "  \"if(p, r)\" is justified: it is an assumption of the interpretation\n"
            "  \"p\" is justified: it is an assumption of the interpretation\n");
  ASSERT_EQ(json.Code, 0) << json.Err;
  const auto document = nlohmann::json::parse(json.Out);
  EXPECT_EQ(document["command"], "explain");
  EXPECT_EQ(document["interpretation"], 2);
  EXPECT_EQ(document["status"], "justified");
  std::string lines;
  for (const auto& line : document["lines"])
    lines +=
        std::string(2 * line["depth"].get<size_t>(), ' ') + line["text"].get<std::string>() + "\n";
  EXPECT_EQ(lines, second.Out);
  EXPECT_EQ(document["lines"][2]["parent"], 0);
  EXPECT_EQ(document["lines"][0]["conditional"], "if(p, r)");
}

TEST_F(KorvelExplain, ExitCodes) {
  const std::string file = Theory("small.kvl", {"a", "if(a, b)"});
  struct TRow {
    std::vector<std::string> Arguments;
    int Code;
  };
  for (const TRow& row : std::vector<TRow>{
           {{"explain", file, "b"}, 0},
           {{"explain", file, "x(b)"}, 1},  // not a sentence of the theory
           {{"explain", Path("missing.kvl"), "b"}, 1},
           {{"explain", file}, 2},
           {{"explain", file, "b", "--interpretation", "0"}, 2},
           {{"explain", file, "b", "--interpretation", "2"}, 2},  // one interpretation only
           {{"explain", file, "b", "--interpretation"}, 2},
           {{"explain", file, "b", "--depth"}, 2},
       }) {
    const TKorvelRun run = Korvel(row.Arguments);
    EXPECT_EQ(run.Code, row.Code) << row.Arguments.back() << ": " << run.Err;
    if (row.Code != 0) {
      EXPECT_EQ(run.Out, "");
      EXPECT_NE(run.Err, "");
    }
  }
  // Without any interpretation every sentence is explained as such.
  const std::string none = Theory("none.kvl", {"p", "if(p, x(p))"});
  EXPECT_EQ(Korvel({"explain", none, "p"}).Out,
            "\"p\" is neither justified nor defeated: no dialectical interpretation is shown\n");
}

TEST_F(KorvelExplain, WithAcceptanceTheFirstLineSaysWhatHoldsOverAllInterpretations) {
  const std::string file =
      Theory("choice.kvl", {"if(p, x(q))", "if(q, x(p))", "p", "q", "if(p, r)"}, {"r", "s"});
  // r holds in the second only: the first is named, whichever is chosen.
  const std::string lacking =
      "\"r\" is not justified in every interpretation: interpretation 1 lacks it\n"
      "  \"r\" is open: neither it nor its negation follows\n"
      "    \"if(p, r)\" would give \"r\", but these are not justified:\n"
      "      \"p\" is defeated\n";
  EXPECT_EQ(Korvel({"explain", file, "r", "--acceptance"}).Out, lacking);
  EXPECT_EQ(Korvel({"explain", file, "r", "--acceptance", "--interpretation", "2"}).Out, lacking);
  EXPECT_EQ(Korvel({"explain", file, "if(p, r)", "--acceptance", "--interpretation", "2"}).Out,
            "\"if(p, r)\" is justified in every interpretation; in interpretation 2:\n"
            "  \"if(p, r)\" is justified: it is an assumption of the interpretation\n");
  EXPECT_EQ(Korvel({"explain", file, "s", "--acceptance"}).Out,
            "\"s\" is justified in none of the interpretations; in interpretation 1:\n"
            "  \"s\" is open: neither it nor its negation follows\n"
            "    no conditional has \"s\" or \"x(s)\" as its consequent\n");
  const TKorvelRun json = Korvel({"explain", file, "q", "--acceptance", "--json"});
  ASSERT_EQ(json.Code, 0) << json.Err;
  const auto document = nlohmann::json::parse(json.Out);
  // q is left out of the second, where p defeats it.
  EXPECT_EQ(document["interpretation"], 2);
  EXPECT_EQ(document["acceptance"]["justified"], "some");
  EXPECT_EQ(document["acceptance"]["defeated"], "some");
  EXPECT_EQ(document["status"], "defeated");
  EXPECT_EQ(document["lines"][0]["kind"], "not-justified-in-every");
  EXPECT_EQ(document["lines"][1]["parent"], 0);

  const std::string none = Theory("none.kvl", {"p", "if(p, x(p))"});
  const TKorvelRun nothing = Korvel({"explain", none, "p", "--acceptance", "--json"});
  EXPECT_EQ(Korvel({"explain", none, "p", "--acceptance"}).Out,
            "\"p\" is neither justified nor defeated: the assumptions have no dialectical "
            "interpretation\n");
  EXPECT_TRUE(nlohmann::json::parse(nothing.Out)["acceptance"].is_null());
}

TEST_F(KorvelExplain, ADeepDerivationPrintsInLinearSize) {
  std::vector<std::string> assumptions{"s0"};
  for (int i = 0; i < 2000; ++i)
    assumptions.push_back("if(s" + std::to_string(i) + ", s" + std::to_string(i + 1) + ")");
  const TKorvelRun run = Korvel({"explain", Theory("chain.kvl", assumptions), "s2000"});
  ASSERT_EQ(run.Code, 0);
  // 4001 lines of at most 80 blanks and a short text; indented all the way
  // they would take over 16 MB.
  EXPECT_LT(run.Out.size(), 1000000u);
  EXPECT_NE(run.Out.find("\n" + std::string(80, ' ') + "[2000] \"s0\" is justified"),
            std::string::npos);
}

}  // namespace
