// The document with its evaluation apart: it applies only the newest
// theory's result, shows a stop, and saves the user's theory whatever the
// evaluation is doing.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <thread>

#include "document/document.h"
#include "refresh/refresh_core.h"
#include "refresh/refresh_phases.h"
#include "tests/document/scripted_document_ui.h"
#include "tests/document/temporary_directory.h"
#include "tests/evaluation/address_sanitized.h"
#include "tests/evaluation/theory_families.h"

namespace {

TKorvelTheory OnlyConditional() {
  TKorvelTheory theory;
  families::Assume(theory, families::If({families::Atom("p")}, families::Atom("q")));
  return theory;
}

}  // namespace

// --- the document with an evaluation runner

namespace {

// Runs jobs when the test says so, and delivers their `finished` steps in
// whatever order the test chooses, as an event loop would deliver them.
class TScriptedRunner : public TEvaluationRunner {
 public:
  struct TJob {
    std::function<void()> Job, Finished;
  };
  std::deque<TJob> Jobs;
  void Start(std::function<void()> job, std::function<void()> finished) override {
    Jobs.push_back({std::move(job), std::move(finished)});
  }
};

class BackgroundDocumentTest : public ::testing::Test {
 protected:
  BackgroundDocumentTest() : log_([] { return std::string("10:00:00"); }), document_(ui_, log_) {
    document_.SetScratchFallbackDirectory(work_.File("fallback"));
    document_.AddListener(finished_);
    document_.New();
    log_.Open({work_.File("log")});
    document_.SetEvaluationRunner(&runner_, std::chrono::milliseconds(0));
  }

  void Commit(TKorvelTheory theory) {
    TKorvelFile file;
    WriteTheory(theory, file);
    ASSERT_TRUE(document_.CommitFileText(file));
  }

  // What a document without a runner shows for the same theory.
  struct TShown {
    std::vector<std::string> Report;
    std::string Summary;
    size_t Buttons;
    std::vector<std::string> Log;
  };
  TShown Synchronously(TKorvelTheory theory) {
    TScriptedDocumentUi ui;
    TActionLog log([] { return std::string("10:00:00"); });
    log.Open({work_.File("synchronous")});
    TDocument document(ui, log);
    document.SetScratchFallbackDirectory(work_.File("fallback"));
    TKorvelFile file;
    WriteTheory(theory, file);
    document.CommitFileText(file);
    return {document.ReportLines(), document.InterpretationSummary(), document.InterpretationButtons(),
            log.LogLines()};
  }

  TTemporaryDirectory work_{true};
  TScriptedDocumentUi ui_;
  TActionLog log_;
  int finishedCalls_ = 0;
  struct TFinished : TDocumentListener {
    int& Calls;
    explicit TFinished(int& calls) : Calls(calls) {}
    void EvaluationFinished() override { ++Calls; }
  } finished_{finishedCalls_};
  TDocument document_;
  TScriptedRunner runner_;
};

}  // namespace

TEST_F(BackgroundDocumentTest, TheStructureComesFirstAndTheResultWhenTheJobHasRun) {
  const TKorvelTheory theory = OnlyConditional();
  const TShown expected = Synchronously(theory);
  ASSERT_EQ(expected.Log.size(), 3u);  // the header and two added issues
  const size_t logged = log_.LogLines().size();
  Commit(theory);
  // The log and the scratch file are written as the refresh always wrote them.
  EXPECT_EQ(std::vector<std::string>(log_.LogLines().begin() + static_cast<std::ptrdiff_t>(logged),
                                     log_.LogLines().end()),
            std::vector<std::string>(expected.Log.begin() + 1, expected.Log.end()));
  EXPECT_EQ(ReadBytes(work_.File("~tmp.kvl")), document_.TheoryFile().FileBytes());

  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Running);
  EXPECT_FALSE(document_.ShowsStatuses());
  EXPECT_NE(document_.RunningEvaluation(), nullptr);
  EXPECT_EQ(document_.ReportLines()[document_.ReportLines().size() - 2], kEvaluatingReportLine);
  EXPECT_EQ(document_.InterpretationSummary(), "");
  ASSERT_EQ(runner_.Jobs.size(), 1u);

  runner_.Jobs[0].Job();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Running);  // not before the event loop says so
  runner_.Jobs[0].Finished();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Finished);
  EXPECT_TRUE(document_.ShowsStatuses());
  EXPECT_EQ(document_.RunningEvaluation(), nullptr);
  EXPECT_EQ(document_.ReportLines(), expected.Report);
  EXPECT_EQ(document_.InterpretationSummary(), expected.Summary);
  EXPECT_EQ(finishedCalls_, 1);
}

TEST_F(BackgroundDocumentTest, OnlyTheNewestTheorysResultIsApplied) {
  const TShown two = Synchronously(families::Pairs(1));
  const TShown three = Synchronously(families::Ladder(2));
  Commit(families::Pairs(1));
  runner_.Jobs[0].Job();  // ends before the next change, with a real result
  Commit(families::Ladder(2));
  ASSERT_EQ(runner_.Jobs.size(), 2u);
  runner_.Jobs[0].Finished();  // the older result arrives first: dropped
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Running);
  EXPECT_EQ(finishedCalls_, 0);

  runner_.Jobs[1].Job();
  runner_.Jobs[1].Finished();
  EXPECT_EQ(document_.InterpretationSummary(), three.Summary);
  EXPECT_EQ(document_.ReportLines(), three.Report);
  EXPECT_EQ(document_.InterpretationButtons(), 3u);
  EXPECT_EQ(document_.Interpretations().size(), 3u);
  EXPECT_NE(two.Summary, three.Summary);

  // Delivered twice or late, a result changes nothing.
  runner_.Jobs[1].Finished();
  runner_.Jobs[0].Finished();
  EXPECT_EQ(finishedCalls_, 1);
  EXPECT_EQ(document_.ReportLines(), three.Report);
}

TEST_F(BackgroundDocumentTest, AStoppedEvaluationKeepsTheStructureAndSavesTheUsersTheory) {
  Commit(families::Pairs(2));
  const std::string text = document_.TheoryFile().FileBytes();
  // The report while running with its line about the evaluation replaced.
  std::vector<std::string> stopped = document_.ReportLines();
  ASSERT_GE(stopped.size(), 2u);
  stopped.resize(stopped.size() - 2);
  stopped.insert(stopped.end(), {kEvaluationStoppedReportLine, ""});
  document_.StopEvaluation();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Stopped);
  EXPECT_EQ(document_.InterpretationSummary(), kEvaluationStoppedStatus);
  EXPECT_EQ(document_.ReportLines(), stopped);
  size_t longest = 0;
  for (const std::string& line : stopped) longest = std::max(longest, line.size());
  EXPECT_EQ(document_.ReportLines().LongestLine(), longest);
  EXPECT_EQ(document_.ReportLines()[0], "ASSUMPTIONS");
  EXPECT_TRUE(document_.Interpretations().empty());
  EXPECT_EQ(document_.InterpretationButtons(), 0u);
  EXPECT_FALSE(document_.ShowsStatuses());
  EXPECT_EQ(finishedCalls_, 1);
  for (const auto& sentence : document_.AllSentences()) EXPECT_FALSE(sentence->IsJustified || sentence->IsDefeated);

  // The job, told to stop, ends; nothing of it shows.
  runner_.Jobs[0].Job();
  runner_.Jobs[0].Finished();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Stopped);
  EXPECT_EQ(finishedCalls_, 1);

  ui_.SaveAnswers = {work_.File("saved.kvl")};
  ASSERT_TRUE(document_.SaveAs());
  EXPECT_EQ(ReadBytes(work_.File("saved.kvl")), text);
  EXPECT_EQ(document_.HasUnsavedChanges(), false);

  // The next refresh evaluates afresh.
  ASSERT_TRUE(document_.RefreshFromScratch());
  ASSERT_EQ(runner_.Jobs.size(), 2u);
  runner_.Jobs[1].Job();
  runner_.Jobs[1].Finished();
  EXPECT_EQ(document_.InterpretationSummary(), "There are 4 dialectical interpretations.");
}

TEST_F(BackgroundDocumentTest, OpenStopsTheRunningEvaluationBeforeItAsks) {
  Commit(families::Pairs(2));
  ui_.Answers = {TDocumentUi::TAnswer::Cancel};  // the unnamed theory is not empty
  EXPECT_FALSE(document_.Open());
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Stopped);
  EXPECT_EQ(ui_.Questions.size(), 1u);
}

TEST_F(BackgroundDocumentTest, WaitingForAnEvaluationOnAnotherThread) {
  // A runner with a real thread; `finished` steps are kept for an event loop
  // that never comes, so only the wait applies the result.
  class TThreadRunner : public TEvaluationRunner {
   public:
    std::vector<std::thread> Threads;
    std::vector<std::function<void()>> Finished;
    void Start(std::function<void()> job, std::function<void()> finished) override {
      Threads.emplace_back(std::move(job));
      Finished.push_back(std::move(finished));
    }
    ~TThreadRunner() override {
      for (auto& thread : Threads) thread.join();
    }
  } threads;
  document_.SetEvaluationRunner(&threads, std::chrono::milliseconds(0));
  const TShown expected = Synchronously(families::Pairs(4));
  Commit(families::Pairs(4));
  document_.WaitForEvaluation();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Finished);
  EXPECT_EQ(document_.ReportLines(), expected.Report);
  threads.Finished.at(0)();  // late delivery after the wait: nothing more
  EXPECT_EQ(finishedCalls_, 1);
  document_.SetEvaluationRunner(&runner_, std::chrono::milliseconds(0));
}

TEST_F(BackgroundDocumentTest, AShortEvaluationEndsInsideTheRefresh) {
  document_.SetEvaluationRunner(&runner_, std::chrono::milliseconds(5000));
  Commit(families::Pairs(2));
  EXPECT_TRUE(runner_.Jobs.empty());
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Finished);
  EXPECT_EQ(document_.InterpretationSummary(), "There are 4 dialectical interpretations.");
  EXPECT_EQ(finishedCalls_, 0);  // the refresh itself shows it

  // Many interpretations: the evaluation ends in line, the long report is
  // written on the runner's thread.
  Commit(families::Pairs(7));
  ASSERT_EQ(runner_.Jobs.size(), 1u);
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Running);
  runner_.Jobs[0].Job();
  runner_.Jobs[0].Finished();
  EXPECT_EQ(document_.InterpretationSummary(), "There are 128 dialectical interpretations.");
}

#if !PELMORA_ADDRESS_SANITIZED
namespace {
// In a child process: lets it have only `margin` bytes of address space more
// than it uses now, so that what comes next runs out of memory for real.
void LimitAddressSpaceToWhatIsUsedPlus(rlim_t margin) {
  long pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + margin;
  const rlimit address{limit, limit};
  setrlimit(RLIMIT_AS, &address);
}
}  // namespace
#endif

TEST_F(BackgroundDocumentTest, AnEvaluationThatRunsOutOfMemorySaysSoAndKeepsTheTheory) {
#if PELMORA_ADDRESS_SANITIZED
  GTEST_SKIP() << "a sanitized build cannot run under a limit of address space";
#else
  // 10,000 interpretations of 14 pairs, where every other one also takes in
  // 20,000 assumptions that the last pair's p attacks: even kept as what
  // differs from the interpretation before, over 300 MB of choices, past
  // the limit the child process sets itself.
  TKorvelTheory theory = families::Pairs(14);
  for (size_t i = 0; i < 20000; ++i) {
    families::Assume(theory, families::Atom(families::Indexed("c", i)));
    families::Assume(theory, families::Attack("p14", families::Indexed("c", i)));
  }
  const size_t assumptions = theory.Assumptions.size();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    LimitAddressSpaceToWhatIsUsedPlus(300u << 20);
    int failures = 0;
    auto check = [&](bool ok, int bit) { failures |= ok ? 0 : bit; };
    auto shown = [&](int offset) {
      const auto& lines = document_.ReportLines();
      check(document_.EvaluationState() == TEvaluationState::Stopped, offset);
      check(document_.InterpretationSummary() == kEvaluationOutOfMemoryStatus, offset << 1);
      check(lines.size() >= 2 && lines[lines.size() - 2] == kEvaluationOutOfMemoryReportLine,
            offset << 2);
      check(document_.Theory().Assumptions.size() == assumptions, offset << 3);
    };
    // In line, without a runner.
    document_.SetEvaluationRunner(nullptr, std::chrono::milliseconds(0));
    Commit(theory);
    shown(1);
    // On the runner.
    document_.SetEvaluationRunner(&runner_, std::chrono::milliseconds(0));
    Commit(theory);
    if (!runner_.Jobs.empty()) {
      runner_.Jobs[0].Job();
      runner_.Jobs[0].Finished();
    }
    shown(16);
    _exit(failures);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "failed checks (bits: state, status, report line, theory; "
                                       "in line, then times 16 on the runner)";
#endif
}

// A change whose text alone no longer fits in memory: the document says so
// and keeps the theory it had, and the process goes on.
TEST_F(BackgroundDocumentTest, AChangeThatRunsOutOfMemoryBeforeItsRefreshSaysSo) {
#if PELMORA_ADDRESS_SANITIZED
  GTEST_SKIP() << "a sanitized build cannot run under a limit of address space";
#else
  document_.SetEvaluationRunner(nullptr, std::chrono::milliseconds(0));
  Commit(families::Pairs(2));
  const size_t assumptions = document_.Theory().Assumptions.size();
  // A statement of 48 MB, written before the limit is set.
  TKorvelTheory large = families::Pairs(2);
  families::Assume(large, families::Atom(std::string(48u << 20, 'a')));
  TKorvelFile file;
  WriteTheory(large, file);
  ASSERT_GT(file.Text.size(), 48u << 20);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    LimitAddressSpaceToWhatIsUsedPlus(32u << 20);
    int failures = 0;
    failures |= document_.CommitFileText(file) ? 1 : 0;
    failures |= ui_.Errors.empty() || ui_.Errors.back() != kRefreshOutOfMemoryMessage ? 2 : 0;
    failures |= document_.Theory().Assumptions.size() != assumptions ? 4 : 0;
    _exit(failures);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "failed checks (bits: committed, message, theory)";
#endif
}
