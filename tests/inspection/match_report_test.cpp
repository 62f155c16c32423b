#include <gtest/gtest.h>

#include "diagram/diagram_layout.h"
#include "inspection/match_drawing.h"
#include "inspection/match_report.h"
#include "inspection/properties_report.h"
#include "logic/parser.h"

namespace {

// Sentences as a refresh leaves them: parsed, flagged, variables rebuilt.
SentencePtr Assumption(const std::string& text) {
  SentencePtr s = ParseSentence(text);
  RebuildVariables(*s);
  s->IsAssumption = true;
  return s;
}

SentencePtr Issue(const std::string& text) {
  SentencePtr s = ParseSentence(text);
  RebuildVariables(*s);
  s->IsIssue = true;
  return s;
}

TEST(MatchReport, BirdExampleLineByLine) {
  TKorvelTheory theory;
  theory.Assumptions = {Assumption("<x> is a bird"), Assumption("if(<x> is a bird, <x> flies)")};
  theory.Issues = {Issue("Pip is a bird")};
  TMatchReport report = ComputeMatchReport(theory, theory.Issues[0]);

  EXPECT_EQ(report.ExactMatches, 1u);
  EXPECT_EQ(report.Lines, (std::vector<std::string>{
                              "Sentence to match:", "", "    Pip is a bird", "",
                              "Exact matches found:", "", "    <x> is a bird", "    Pip is a bird",
                              "        <x>: Pip", "", "Other matches found:", "",
                              "    if(<x> is a bird, <x> flies)", "    if(Pip is a bird, Pip flies)",
                              "        <x>: Pip", "        <x>: Pip", ""}));

  // The diagram draws the instance, then its parts; the instance of an
  // assumption is an assumption and justified.
  ASSERT_EQ(report.DrawnResults.size(), 3u);
  const SentencePtr& instance = report.DrawnResults[0];
  EXPECT_EQ(instance->Text, "if(Pip is a bird, Pip flies)");
  EXPECT_TRUE(Is<TKorvelConditional>(instance));
  EXPECT_TRUE(instance->IsAssumption && instance->IsJustified);
  EXPECT_EQ(report.DrawnResults[1]->Text, "Pip flies");
  EXPECT_EQ(report.DrawnResults[2]->Text, "Pip is a bird");
  EXPECT_FALSE(report.DrawnResults[1]->IsJustified);

  // The theory itself is untouched.
  EXPECT_EQ(theory.Assumptions.size(), 2u);
  EXPECT_EQ(theory.Issues.size(), 1u);
  EXPECT_FALSE(theory.Assumptions[1]->IsJustified);
}

TEST(MatchDrawing, LeavesTheMainTheoryAndItsIndicesAlone) {
  TKorvelTheory theory;
  theory.Assumptions = {Assumption("<x> is a bird"), Assumption("if(<x> is a bird, <x> flies)")};
  theory.Issues = {Issue("Pip is a bird")};
  TMatchReport report = ComputeMatchReport(theory, theory.Issues[0]);

  TDrawContext mainContext;
  mainContext.Theory = &theory;
  DrawArguments(mainContext, {theory.Assumptions[0], theory.Assumptions[1], theory.Issues[0]});
  const TListOfKorvelSentences mainDrawn = mainContext.DrawnSentences;

  TDrawContext matchContext;
  DrawMatchDiagram(matchContext, report, &theory);
  // "Pip flies" is neither assumption nor issue: it shows as an issue in the
  // match window but the main theory gains nothing.
  EXPECT_EQ(theory.Issues.size(), 1u);
  EXPECT_EQ(theory.Assumptions.size(), 2u);
  int flies = matchContext.DrawnIndexOfText("Pip flies");
  ASSERT_GE(flies, 0);
  EXPECT_TRUE(matchContext.DrawnSentences[static_cast<size_t>(flies)]->IsIssue);
  EXPECT_GE(matchContext.DrawnIndexOfText("if(Pip is a bird, Pip flies)"), 0);
  EXPECT_EQ(mainContext.DrawnSentences, mainDrawn);
}

TEST(MatchReport, UnboundVariablesStayAndCaseIsIgnoredInTheLookup) {
  TKorvelTheory theory;
  theory.Assumptions = {Assumption("<x> is a bird"), Assumption("if(<x> is a bird, <y> sings)"),
                        Assumption("if(<x> is a bird, <X> nests)")};
  SentencePtr target = ParseSentence("Pip is a bird");
  TMatchReport report = ComputeMatchReport(theory, target);
  ASSERT_EQ(report.Matches.size(), 3u);
  EXPECT_EQ(report.Matches[1].ResultText, "if(Pip is a bird, <y> sings)");
  EXPECT_EQ(report.Matches[1].Bindings, (std::vector<std::string>{"<y>", "Pip"}));
  EXPECT_EQ(report.Matches[2].ResultText, "if(Pip is a bird, Pip nests)");

  EXPECT_EQ(BindingForVariable("<X>", {"<x>"}, {"Pip"}), "Pip");
  EXPECT_EQ(BindingForVariable("<y>", {"<x>"}, {"Pip"}), "<y>");
  EXPECT_EQ(BindingForVariable("<\xC9>", {"<\xE9>"}, {"Pip"}), "<\xC9>");  // only ASCII folds
}

TEST(MatchReport, SentencesWithoutVariablesNeverMatch) {
  TKorvelTheory theory;
  theory.Assumptions = {Assumption("Pip is a bird")};
  TMatchReport report = ComputeMatchReport(theory, theory.Assumptions[0]);
  EXPECT_EQ(report.ExactMatches, 0u);
  EXPECT_EQ(report.Lines.size(), 6u);
  EXPECT_EQ(report.Lines.back(), "");
  EXPECT_TRUE(report.DrawnResults.empty());
}

TEST(PropertiesReport, LinesForAJustifiedAssumption) {
  SentencePtr p = Assumption("p");
  p->IsJustified = true;
  auto lines = PropertiesLines(*p, 0);
  std::vector<std::string> texts;
  std::vector<bool> bold;
  for (const auto& l : lines) texts.push_back(l.Text), bold.push_back(l.Bold);
  EXPECT_EQ(texts, (std::vector<std::string>{"Sentence:", "    p", "", "Type:", "    Assumption", "",
                                             "Status:", "    Justified", "", "Variables:", "",
                                             "Tag:", "    0", ""}));
  EXPECT_EQ(bold, (std::vector<bool>{true, false, false, true, false, false, true, false, false,
                                     true, false, true, false, false}));

  SentencePtr open = ParseSentence("<x> and <y> or <x>");
  RebuildVariables(*open);
  auto openLines = PropertiesLines(*open, 7);
  std::vector<std::string> openTexts;
  for (const auto& l : openLines) openTexts.push_back(l.Text);
  EXPECT_EQ(openTexts, (std::vector<std::string>{
                           "Sentence:", "    <x> and <y> or <x>", "", "Type:", "", "Status:",
                           "    Neither justified nor defeated", "", "Variables:", "    <x>",
                           "    <y>", "    <x>", "", "Tag:", "    7", ""}));
}

}  // namespace
