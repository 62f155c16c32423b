// korvel --json: every document parses, starts with its schema version, and
// carries texts, statuses, marks and the cut as members of their own.
#include <nlohmann/json.hpp>

#include "logic/parser.h"
#include "tests/cli/korvel_run.h"
#include "tests/evaluation/theory_families.h"

namespace {

using nlohmann::json;

json Parsed(const TKorvelRun& run) {
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_EQ(run.Out.rfind("{\n  \"schemaVersion\": 1,\n  \"command\": ", 0), 0u)
      << run.Out.substr(0, 80);
  return json::parse(run.Out);
}

class KorvelJson : public KorvelFiles {
 protected:
  std::string Theory(const std::string& name, const std::vector<std::string>& assumptions,
                     const std::vector<std::string>& issues = {}) {
    TKorvelTheory theory = families::Parsed(assumptions, issues);
    TKorvelFile file;
    WriteTheory(theory, file);
    return Write(name, file.FileBytes());
  }
};

TEST_F(KorvelJson, InterpretationsKeepEveryTextWhole) {
  // The plain lines cannot tell these two theories apart; the JSON can.
  const std::string left = Theory("left.kvl", {"p | q", "r"});
  const std::string right = Theory("right.kvl", {"p", "q | r"});
  EXPECT_EQ(Korvel({"interpretations", left}).Out, Korvel({"interpretations", right}).Out);
  const json leftJson = Parsed(Korvel({"interpretations", left, "--json"}));
  const json rightJson = Parsed(Korvel({"interpretations", right, "--json"}));
  EXPECT_EQ(leftJson["interpretations"], json::parse(R"j([["p | q", "r"]])j"));
  EXPECT_EQ(rightJson["interpretations"], json::parse(R"j([["p", "q | r"]])j"));
  EXPECT_EQ(leftJson["command"], "interpretations");
  EXPECT_EQ(leftJson["evaluated"], true);
  EXPECT_EQ(leftJson["cut"], false);

  const json none =
      Parsed(Korvel({"interpretations", Theory("none.kvl", {"p", "if(p, x(p))"}), "--json"}));
  EXPECT_EQ(none["interpretations"], json::array());
  EXPECT_EQ(none["evaluated"], true);
  const json unevaluated =
      Parsed(Korvel({"interpretations", Theory("issues.kvl", {}, {"q"}), "--json"}));
  EXPECT_EQ(unevaluated["evaluated"], false);

  // More than the limit: the list is cut and says so.
  std::string pairs = "p af 28\n";
  for (int i = 1; i <= 27; i += 2)
    pairs += std::to_string(i) + " " + std::to_string(i + 1) + "\n" + std::to_string(i + 1) + " " +
             std::to_string(i) + "\n";
  const std::string kvl = Write("pairs.kvl", Korvel({"import", "-"}, pairs).Out);
  const json cut = Parsed(Korvel({"interpretations", "--json", kvl}));
  EXPECT_EQ(cut["cut"], true);
  EXPECT_EQ(cut["limit"], 10000);
  EXPECT_EQ(cut["interpretations"].size(), 10000u);
}

TEST_F(KorvelJson, ReportGivesEachInterpretationsStatuses) {
  const std::string path = Theory("two.kvl", {"if(p, x(q))", "if(q, x(p))", "p", "q"}, {"r"});
  const json report = Parsed(Korvel({"report", path, "--json"}));
  EXPECT_EQ(report["command"], "report");
  EXPECT_EQ(report["assumptions"][0],
            json::parse(R"j({"text": "if(p, x(q))", "kind": "conditional"})j"));
  EXPECT_EQ(report["assumptions"][2], json::parse(R"j({"text": "p", "kind": "elementary"})j"));
  EXPECT_EQ(report["evaluated"], true);
  EXPECT_EQ(report["cut"], false);
  ASSERT_EQ(report["interpretations"].size(), 2u);
  const json& first = report["interpretations"][0];
  EXPECT_EQ(first["number"], 1);
  EXPECT_EQ(first["members"], json::parse(R"j(["if(p, x(q))", "if(q, x(p))", "q"])j"));
  EXPECT_EQ(first["assumptions"][2], json::parse(R"j({"text": "p", "status": "defeated"})j"));
  EXPECT_EQ(first["assumptions"][3], json::parse(R"j({"text": "q", "status": "justified"})j"));
  EXPECT_EQ(report["interpretations"][1]["assumptions"][2]["status"], "justified");
  // The issue r and the refresh's issues (the negations) with their statuses.
  bool sawR = false;
  for (const auto& issue : first["issues"]) {
    if (issue["text"] == "r") {
      sawR = true;
      EXPECT_EQ(issue["status"], "open");
    }
    if (issue["text"] == "x(p)") {
      EXPECT_EQ(issue["status"], "justified");
    }
  }
  EXPECT_TRUE(sawR);

  const json structure = Parsed(Korvel({"report", path, "--json", "--structure-only"}));
  EXPECT_EQ(structure["evaluated"], false);
  EXPECT_EQ(structure["interpretations"], json::array());
}

TEST_F(KorvelJson, LayoutGivesTheCallsWithTheirMarks) {
  const json layout = Parsed(Korvel({"layout", kExample, "--json"}));
  EXPECT_EQ(layout["command"], "layout");
  EXPECT_EQ(layout["evaluated"], true);
  ASSERT_EQ(layout["calls"].size(), 3u);
  EXPECT_EQ(layout["calls"][0],
            json::parse(R"j({"call": "box", "row": 0, "column": 0, "minimumWidth": 1,
      "tag": 0, "text": "b", "assumption": false, "issue": true, "status": "justified"})j"));
  EXPECT_EQ(layout["calls"][1]["call"], "link");
  EXPECT_EQ(layout["calls"][1]["text"], "if(a, b)");
  EXPECT_EQ(layout["calls"][1]["marker"], true);
  EXPECT_EQ(layout["calls"][2]["text"], "a");
  EXPECT_EQ(layout["calls"][2]["assumption"], true);
  EXPECT_EQ(layout["rows"], 2);
  // The JSON names what the plain lines print.
  const std::string plain = Korvel({"layout", kExample}).Out;
  EXPECT_EQ(plain.substr(0, plain.find('\n')), "box 0 0 1 0 b");
  EXPECT_EQ(
      Parsed(Korvel({"layout", kExample, "--json", "--structure-only"}))["calls"][0]["status"],
      "unevaluated");
}

TEST_F(KorvelJson, MatchesGiveTheBindingsAndTheDiagram) {
  const json matches = Parsed(Korvel({"matches", kBirds, "Pip is a bird", "--json"}));
  EXPECT_EQ(matches["target"], "Pip is a bird");
  EXPECT_EQ(matches["found"], true);
  ASSERT_EQ(matches["matches"].size(), 2u);
  EXPECT_EQ(matches["matches"][0], json::parse(R"j({"exact": true, "pattern": "<x> is a bird",
      "result": "Pip is a bird", "bindings": [{"variable": "<x>", "value": "Pip"}]})j"));
  EXPECT_EQ(matches["matches"][1]["exact"], false);
  EXPECT_EQ(matches["matches"][1]["result"], "if(Pip is a bird, Pip flies)");
  EXPECT_EQ(matches["diagram"]["rows"], 2);
  EXPECT_EQ(matches["diagram"]["calls"][0]["text"], "Pip flies");

  const json nothing = Parsed(Korvel({"matches", kBirds, "Tweety is a bird", "--json"}));
  EXPECT_EQ(nothing["found"], false);
  EXPECT_TRUE(nothing["diagram"].is_null());
}

TEST_F(KorvelJson, TextsThatAreNoUtf8AreGivenInTheirLatin1Reading) {
  const json document = Parsed(
      Korvel({"interpretations", "--json", Theory("latin1.kvl", {"caf\xe9", "na\xc3\xafve"})}));
  EXPECT_EQ(document["interpretations"][0], json::parse("[\"caf\xc3\xa9\", \"na\xc3\xafve\"]"));
}

}  // namespace
