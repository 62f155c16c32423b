// The refresh pipeline run every way it runs: in line (korvel's Refresh),
// with its evaluation in the background on a copy of the theory (the
// window's), stopped, and out of memory; on theories whose layout adds
// issues, with several interpretations, cut at the limit. In the background
// it must give what it gives in line, read as the report view reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <new>

#include "evaluation/interpretations.h"
#include "refresh/evaluation_schedule.h"
#include "refresh/refresh_build.h"
#include "refresh/refresh_core.h"
#include "tests/evaluation/theory_families.h"

namespace {

TKorvelFile FileOf(TKorvelTheory theory) {
  TKorvelFile file;
  WriteTheory(theory, file);
  TKorvelFile loaded;
  loaded.LoadFromText(file.FileBytes());
  return loaded;
}

TKorvelTheory OnlyConditional() {
  TKorvelTheory theory;
  families::Assume(theory, families::If({families::Atom("p")}, families::Atom("q")));
  return theory;
}

TKorvelTheory OnlyIssues() {
  TKorvelTheory theory;
  theory.Issues.push_back(families::Atom("r"));
  theory.Issues.back()->IsIssue = true;
  return theory;
}

// A layout step that, as a drawing may, registers a sentence with no role as an issue.
void LayoutAddingAnIssue(TKorvelTheory& theory, const TListOfKorvelSentences&) {
  SentencePtr drawn = MakeElementarySentence("drawn");
  drawn->IsIssue = true;
  theory.Issues.push_back(drawn);
}

struct TPipelineCase {
  const char* Name;
  TKorvelTheory Theory;
  bool StructureOnly = false;
  bool LayoutAddsIssue = false;
};

std::vector<TPipelineCase> PipelineCases() {
  std::vector<TPipelineCase> cases;
  cases.push_back({"pairs(3)", families::Pairs(3)});
  cases.push_back({"ladder(4)", families::Ladder(4)});
  cases.push_back({"odd cycle", families::OddCycles(1)});
  cases.push_back({"one conditional, its parts become issues", OnlyConditional()});
  cases.push_back({"issues only", OnlyIssues()});
  cases.push_back({"structure only", families::Pairs(2), true});
  cases.push_back({"single interpretation, layout adds an issue", families::Ladder(0), false, true});
  cases.push_back({"two interpretations, layout adds an issue", families::Pairs(1), false, true});
  cases.push_back({"cut at the limit (14 pairs)", families::Pairs(14)});
  for (unsigned variant = 1; variant <= 6; ++variant)
    cases.push_back({"random", families::Random(10 + variant, variant)});
  return cases;
}

// Keeps the jobs it is given until the test runs them.
class TLaterRunner : public TEvaluationRunner {
 public:
  void Start(std::function<void()> job, std::function<void()> finished) override {
    jobs_.push_back({std::move(job), std::move(finished)});
  }
  void RunAll() {
    while (!jobs_.empty()) {
      auto [job, finished] = std::move(jobs_.front());
      jobs_.pop_front();
      job();
      finished();
    }
  }

 private:
  std::deque<std::pair<std::function<void()>, std::function<void()>>> jobs_;
};

// With a runner, the evaluation is given no time in line (it goes to the
// background), or time enough to end in line; a layout that adds issues
// then has it evaluated again in the background.
enum class TWay { InBackground, EndedInLine, Stopped, OutOfMemory };

// The report as the report view reads it: single lines out of order, the
// longest line's size, and the long lines in order, against the lines read
// one after the other.
void ExpectReadsAs(const TReportText& report, const std::vector<std::string>& expected) {
  ASSERT_EQ(report.size(), expected.size());
  for (size_t i = expected.size(); i > 0; i = i > 13 ? i - 13 : 0) ASSERT_EQ(report[i - 1], expected[i - 1]);
  for (size_t i = 0; i < expected.size(); i += 1 + expected.size() / 50) ASSERT_EQ(report[i], expected[i]);
  size_t longest = 0;
  for (const std::string& line : expected) longest = std::max(longest, line.size());
  EXPECT_EQ(report.LongestLine(), longest);
  for (size_t minimum : {longest, (longest * 3 + 3) / 4, longest / 2}) {
    std::vector<std::string> expectedLong, actualLong;
    for (const std::string& line : expected)
      if (line.size() >= minimum) expectedLong.push_back(line);
    report.ForEachLongLine(minimum, [&](const std::string& line) {
      actualLong.push_back(line);
      return true;
    });
    EXPECT_EQ(actualLong, expectedLong) << "lines of at least " << minimum << " bytes";
  }
}

// The build as the window makes it with an evaluation runner: the structure
// first, the evaluation on a copy, in line or in the background.
void ExpectAsInLine(const TPipelineCase& test, TWay way, const TRefreshResult& inLine) {
  TLaterRunner runner;
  TRefreshBuild build;
  build.Loaded = FileOf(test.Theory);
  build.Options.ShowStructureOnly = test.StructureOnly;
  build.Runner = &runner;
  if (way == TWay::EndedInLine) build.InlineBudget = std::chrono::milliseconds(5000);
  if (test.LayoutAddsIssue) build.Layout = LayoutAddingAnIssue;
  build.Run();
  ASSERT_FALSE(build.OutOfMemory);
  TRefreshResult& structure = build.Structure.Result;
  EXPECT_EQ(structure.TheoryFile.Text, inLine.TheoryFile.Text);
  EXPECT_EQ(structure.AddedIssues, inLine.AddedIssues);
  EXPECT_EQ(structure.Evaluated, inLine.Evaluated);
  ASSERT_EQ(structure.AllSentences.size(), inLine.AllSentences.size());
  ASSERT_EQ(build.Pending != nullptr, inLine.Evaluated);
  if (!build.Pending) {
    EXPECT_EQ(structure.ReportLines.ToVector(), inLine.ReportLines.ToVector());
    EXPECT_EQ(structure.StatusText, inLine.StatusText);
    return;
  }
  TPendingEvaluation& pending = *build.Pending;
  if (!build.Ended) {
    ASSERT_GE(structure.ReportLines.size(), 2u);
    EXPECT_EQ(structure.ReportLines[structure.ReportLines.size() - 2], kEvaluatingReportLine);
    // Unmarked, unless an evaluation ended in line before the layout added issues.
    if (way != TWay::EndedInLine) {
      for (const auto& sentence : structure.AllSentences) EXPECT_FALSE(sentence->IsJustified || sentence->IsDefeated);
    }
    if (way == TWay::Stopped) pending.Control.RequestStop();
    RunInBackground(build.Pending, runner);
    runner.RunAll();
  }
  // Ended in line unless the layout added issues (then evaluated again) or
  // the report is too long to write in line.
  if (way == TWay::EndedInLine && !test.LayoutAddsIssue) {
    EXPECT_EQ(build.Ended, inLine.Interpretations.size() <= 64);
  }
  if (way == TWay::Stopped) {
    EXPECT_TRUE(pending.Outcome.Stopped);
    EXPECT_FALSE(EvaluationEnded(pending));
    EXPECT_TRUE(pending.Interpretations.empty());
    MarkFromEvaluation(pending);  // nothing to carry back
    for (const auto& sentence : structure.AllSentences) EXPECT_FALSE(sentence->IsJustified || sentence->IsDefeated);
    return;
  }
  ASSERT_TRUE(EvaluationEnded(pending));
  if (!build.Ended) MarkFromEvaluation(pending);
  const TEvaluationOutcome& outcome = pending.Outcome;
  ExpectReadsAs(outcome.ReportLines, inLine.ReportLines.ToVector());
  EXPECT_EQ(outcome.StatusText, inLine.StatusText);
  EXPECT_EQ(outcome.InterpretationButtons, inLine.InterpretationButtons);
  EXPECT_EQ(outcome.Cut, inLine.InterpretationsCut);
  // Carried back: the theory's own objects and the marks in force.
  const TListOfListOfKorvelSentences mapped = pending.Interpretations.ToLists();
  ASSERT_EQ(mapped.size(), inLine.Interpretations.size());
  const auto& assumptions = structure.Theory.Assumptions;
  for (size_t i = 0; i < mapped.size(); ++i) {
    ASSERT_EQ(mapped[i].size(), inLine.Interpretations[i].size());
    for (size_t j = 0; j < mapped[i].size(); ++j) {
      EXPECT_EQ(mapped[i][j]->Text, inLine.Interpretations[i][j]->Text);
      EXPECT_NE(std::find(assumptions.begin(), assumptions.end(), mapped[i][j]), assumptions.end());
    }
  }
  for (size_t i = 0; i < structure.AllSentences.size(); ++i) {
    EXPECT_EQ(structure.AllSentences[i]->IsJustified, inLine.AllSentences[i]->IsJustified) << i;
    EXPECT_EQ(structure.AllSentences[i]->IsDefeated, inLine.AllSentences[i]->IsDefeated) << i;
  }
}

}  // namespace

TEST(RefreshPipeline, EveryWayGivesWhatTheRefreshInLineGives) {
  for (const TPipelineCase& test : PipelineCases()) {
    SCOPED_TRACE(test.Name);
    TRefreshOptions options;
    options.ShowStructureOnly = test.StructureOnly;
    const TLayoutStep layout = test.LayoutAddsIssue ? TLayoutStep(LayoutAddingAnIssue) : TLayoutStep();
    const TRefreshResult inLine = Refresh({FileOf(test.Theory), options, layout});
    if (test.LayoutAddsIssue) {
      EXPECT_EQ(inLine.Theory.Issues.back()->Text, "drawn");
    }
    for (TWay way : {TWay::InBackground, TWay::EndedInLine, TWay::Stopped, TWay::OutOfMemory}) {
      SCOPED_TRACE(static_cast<int>(way));
      if (way != TWay::OutOfMemory) {
        ExpectAsInLine(test, way, inLine);
        continue;
      }
      // Memory running out anywhere in the build ends it with nothing kept;
      // in line that is an exception for the caller to report.
      const TLayoutStep exhausted = [](TKorvelTheory&, const TListOfKorvelSentences&) { throw std::bad_alloc(); };
      EXPECT_THROW(Refresh({FileOf(test.Theory), options, exhausted}), std::bad_alloc);
    }
  }
}

TEST(RefreshPipeline, TheCopySharesPartsAsTheOriginalDoesAndNothingWithIt) {
  TKorvelTheory theory;
  SentencePtr p = families::Atom("p");
  families::Assume(theory, p);
  families::Assume(theory, families::If({p}, families::Neg(p)));
  p->IsJustified = true;
  const TTheoryCopy copy = CopyTheory(theory);
  ASSERT_EQ(copy.Theory.Assumptions.size(), 2u);
  EXPECT_EQ(copy.Pairs.size(), 3u);  // p, the conditional, x(p)
  const auto conditional = As<TKorvelConditional>(copy.Theory.Assumptions[1]);
  ASSERT_TRUE(conditional);
  EXPECT_EQ(conditional->Antecedents[0], copy.Theory.Assumptions[0]);
  EXPECT_EQ(As<TKorvelDialecticalNegation>(conditional->Consequent)->Negated, copy.Theory.Assumptions[0]);
  EXPECT_NE(copy.Theory.Assumptions[0], p);
  EXPECT_TRUE(copy.Theory.Assumptions[0]->IsJustified && copy.Theory.Assumptions[0]->IsAssumption);
  EXPECT_EQ(conditional->Text, theory.Assumptions[1]->Text);
}

TEST(RefreshPipeline, AStoppedEvaluationGivesAStoppedOutcomeAndCanRunAgain) {
  TStructureRefresh structure = ReadStructure(FileOf(families::Pairs(3)), {});
  FinishStructure(structure, {});
  TTheoryCopy copy = CopyTheory(structure.Result.Theory);
  TStructureEvaluation evaluation(copy.Theory, structure.IssuesAtRead, structure.IssuesBeforeLayout);
  TEvaluationControl stopped;
  stopped.RequestStop();
  EXPECT_FALSE(evaluation.Evaluate(&stopped));
  EXPECT_TRUE(evaluation.Report(nullptr).Stopped);
  TEvaluationControl control;
  ASSERT_TRUE(evaluation.Evaluate(&control));
  EXPECT_EQ(evaluation.Count(), 8u);
  EXPECT_GE(control.InterpretationsFound.load(), 8u);
  // A stop during the report leaves nothing half written.
  EXPECT_TRUE(evaluation.Report(&stopped).Stopped);
}
