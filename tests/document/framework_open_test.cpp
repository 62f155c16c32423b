// File -> Open with an argumentation framework: it becomes a new, unsaved
// theory; a malformed one shows the error and leaves the document alone.
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "document/document.h"
#include "refresh/evaluation_runner.h"
#include "refresh/framework_import.h"
#include "refresh/theory_read_ahead.h"
#include "frameworks/argumentation_framework.h"
#include "tests/document/scripted_document_ui.h"
#include "tests/document/temporary_directory.h"

namespace {

class FrameworkOpenTest : public ::testing::Test {
 protected:
  FrameworkOpenTest() : log_([] { return std::string("10:00:00"); }), document_(ui_, log_) {
    document_.SetScratchFallbackDirectory(work_.File("fallback"));
    document_.New();
    log_.Open({work_.File("log")});
  }

  std::string Write(const std::string& name, const std::string& content) {
    const std::string path = work_.File(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::vector<std::string> AssumptionTexts() const {
    std::vector<std::string> texts;
    for (const auto& sentence : document_.Theory().Assumptions) texts.push_back(sentence->Text);
    return texts;
  }

  TTemporaryDirectory work_{true};
  TScriptedDocumentUi ui_;
  TActionLog log_;
  TDocument document_;
};

TEST_F(FrameworkOpenTest, AFrameworkOpensAsANewUnsavedTheoryInEveryFormat) {
  const std::vector<std::string> expected = {"a", "b", "if(a, x(b))"};
  for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
           {"f.apx", "arg(a).\narg(b).\natt(a,b).\n"}, {"f.tgf", "a\nb\n#\na b\n"}}) {
    ui_.OpenAnswers = {Write(name, content)};
    ASSERT_TRUE(document_.Open()) << name;
    EXPECT_EQ(AssumptionTexts(), expected) << name;
    EXPECT_EQ(document_.CurrentFileName(), "") << name;
    EXPECT_EQ(document_.HasUnsavedChanges(), true) << name;
    // The one stable extension {a} is the one interpretation: b is defeated.
    ASSERT_EQ(document_.Interpretations().size(), 1u) << name;
    EXPECT_TRUE(document_.Theory().Assumptions[1]->IsDefeated) << name;
    ui_.Answers = {TDocumentUi::TAnswer::No};  // the next Open asks about the import
  }
  ui_.OpenAnswers = {Write("f.af", "p af 2\n2 1\n")};
  ASSERT_TRUE(document_.Open());
  EXPECT_EQ(AssumptionTexts(), (std::vector<std::string>{"1", "2", "if(2, x(1))"}));
  EXPECT_EQ(log_.LogLines().back(), "[10:00:00]  Import framework:" + work_.File("f.af"));
}

TEST_F(FrameworkOpenTest, AMalformedFrameworkShowsWhereAndChangesNothing) {
  const std::string before = document_.TheoryFile().FileBytes();
  ui_.OpenAnswers = {Write("bad.af", "p af 2\n1 2\n1 3\n")};
  EXPECT_FALSE(document_.Open());
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_NE(ui_.Errors[0].find("bad.af:3: attack on undeclared argument 3"), std::string::npos)
      << ui_.Errors[0];
  EXPECT_EQ(document_.TheoryFile().FileBytes(), before);
}

// Runs each job when the test says so, as the event loop would.
class TScriptedRunner : public TEvaluationRunner {
 public:
  std::deque<std::pair<std::function<void()>, std::function<void()>>> Jobs;
  void Start(std::function<void()> job, std::function<void()> finished) override {
    Jobs.emplace_back(std::move(job), std::move(finished));
  }
  void RunAll() {
    while (!Jobs.empty()) {
      auto [job, finished] = std::move(Jobs.front());
      Jobs.pop_front();
      job();
      finished();
    }
  }
};

// A runner with real threads whose results only a wait applies.
class TThreadRunner : public TEvaluationRunner {
 public:
  std::vector<std::thread> Threads;
  void Start(std::function<void()> job, std::function<void()>) override { Threads.emplace_back(std::move(job)); }
  ~TThreadRunner() override {
    for (auto& thread : Threads) thread.join();
  }
};

// Random frameworks of separate blocks (random attacks and mutual pairs),
// their arguments shuffled; some with an odd cycle (often no stable
// extension), one with 14 mutual pairs (more interpretations than are kept).
std::string RandomFrameworkText(std::mt19937& random, int round) {
  TArgumentationFramework framework;
  std::set<std::pair<size_t, size_t>> seen;
  auto add = [&](size_t from, size_t to) {
    if (seen.insert({from, to}).second) framework.Attacks.emplace_back(from, to);
  };
  if (round == 0) {
    for (size_t i = 0; i < 28; ++i) framework.Arguments.push_back("p" + std::to_string(i));
    for (size_t i = 0; i < 14; ++i) add(i, 27 - i), add(27 - i, i);
    return WriteFramework(framework, TFrameworkFormat::Apx);
  }
  const size_t n = 2 + random() % 16;
  for (size_t i = 0; i < n; ++i) framework.Arguments.push_back("a" + std::to_string(i));
  for (size_t k = random() % (n + 1); k-- > 0;) add(random() % n, random() % n);
  for (size_t k = random() % (n / 2 + 2); k-- > 0;) {
    const size_t a = random() % n, b = random() % n;
    if (a != b) add(a, b), add(b, a);
  }
  if (round % 4 == 1) add(0, 1), add(1, 2 % n), add(2 % n, 0);
  return WriteFramework(framework, TFrameworkFormat::Apx);
}

// Everything an opened theory shows of its evaluation.
struct TShownEvaluation {
  TEvaluationState State;
  std::vector<std::vector<std::string>> Interpretations;
  std::vector<std::pair<bool, bool>> Marks;  // of every sentence, in order
  std::vector<std::string> Report;
  std::string Summary;
  size_t Buttons;
  bool operator==(const TShownEvaluation&) const = default;
};

TShownEvaluation Shown(const TDocument& document) {
  TShownEvaluation shown{document.EvaluationState(), {}, {}, document.ReportLines().ToVector(),
                         document.InterpretationSummary(), document.InterpretationButtons()};
  for (const auto& interpretation : document.Interpretations()) {
    shown.Interpretations.emplace_back();
    for (const auto& member : interpretation) shown.Interpretations.back().push_back(member->Text);
  }
  for (const auto& sentence : document.AllSentences()) shown.Marks.emplace_back(sentence->IsJustified, sentence->IsDefeated);
  return shown;
}

TEST_F(FrameworkOpenTest, AFrameworkReadAheadIsTakenOnlyInItsOwnFormat) {
  // The same bytes, a framework in one format and none in the other.
  const std::string tgf = Write("f.tgf", "a\nb\n#\na b\n");
  const std::string apx = Write("f.apx", "a\nb\n#\na b\n");
  auto reading = std::make_shared<TTheoryReadAhead>(tgf, document_.Options);
  document_.ReadAhead(reading);
  ui_.Answers = {TDocumentUi::TAnswer::No};
  EXPECT_FALSE(document_.OpenPath(apx));
  EXPECT_FALSE(reading->Taken());
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_NE(ui_.Errors[0].find(apx), std::string::npos) << ui_.Errors[0];
}

TEST_F(FrameworkOpenTest, AnOpenedFrameworkShowsWhatItsTheoryFileShows) {
  // The framework is evaluated from its attacks while its theory is built;
  // the same theory read from its file is evaluated as every theory is. Both
  // show the same: in line, on a runner, stopped and evaluated again, and
  // stopped while a thread waits for the framework's evaluation.
  std::mt19937 random(12);
  size_t none = 0, several = 0;
  for (int round = 0; round < 40; ++round) {
    const std::string framework = Write("f.apx", RandomFrameworkText(random, round));
    const std::string theory = Write("f.kvl", ImportFrameworkFile(framework).FileBytes());
    auto open = [&](TDocument& document, const std::string& path) {
      ui_.Answers = {TDocumentUi::TAnswer::No, TDocumentUi::TAnswer::No};
      ASSERT_TRUE(document.OpenPath(path)) << path;
    };
    auto both = [&](const std::function<TShownEvaluation(const std::string&)>& run, const char* how) {
      const TShownEvaluation expected = run(theory), opened = run(framework);
      EXPECT_TRUE(opened == expected) << how << ", round " << round << ": " << opened.Summary << " / "
                                      << expected.Summary << "\n" << ReadFile(framework);
      return expected;
    };
    const TShownEvaluation inLine = both(
        [&](const std::string& path) {
          document_.SetEvaluationRunner(nullptr, std::chrono::milliseconds(0));
          open(document_, path);
          return Shown(document_);
        },
        "in line");
    EXPECT_EQ(inLine.State, TEvaluationState::Finished);
    both(
        [&](const std::string& path) {
          auto reading = std::make_shared<TTheoryReadAhead>(path, document_.Options);
          document_.ReadAhead(reading);
          open(document_, path);
          EXPECT_TRUE(reading->Taken()) << path;
          return Shown(document_);
        },
        "read ahead");
    none += inLine.Interpretations.empty();
    several += inLine.Interpretations.size() >= 2;
    TScriptedRunner runner;
    both(
        [&](const std::string& path) {
          document_.SetEvaluationRunner(&runner, std::chrono::milliseconds(0));
          open(document_, path);
          runner.RunAll();
          return Shown(document_);
        },
        "on a runner");
    both(
        [&](const std::string& path) {
          open(document_, path);
          document_.StopEvaluation();
          const TShownEvaluation stopped = Shown(document_);
          EXPECT_EQ(stopped.State, TEvaluationState::Stopped);
          runner.RunAll();  // the stopped job's result is not shown
          EXPECT_TRUE(Shown(document_) == stopped);
          EXPECT_TRUE(document_.EvaluateAgain());
          runner.RunAll();
          EXPECT_TRUE(Shown(document_) == inLine) << "evaluated again";
          return stopped;
        },
        "stopped");
    if (round % 8 == 0) {
      both(
          [&](const std::string& path) {
            TThreadRunner threads;
            document_.SetEvaluationRunner(&threads, std::chrono::milliseconds(0));
            open(document_, path);
            document_.StopEvaluation();
            TShownEvaluation stopped = Shown(document_);
            document_.SetEvaluationRunner(nullptr, std::chrono::milliseconds(0));
            return stopped;
          },
          "stopped while a thread waits");
    }
    document_.SetEvaluationRunner(nullptr, std::chrono::milliseconds(0));
  }
  EXPECT_GT(none, 5u);
  EXPECT_GT(several, 10u);
}

TEST(FrameworkImport, FrameworkFilesAreToldByTheirExtension) {
  for (const char* name : {"x.af", "dir/x.i23", "x.apx", "x.tgf"})
    EXPECT_TRUE(IsFrameworkFileName(name)) << name;
  for (const char* name : {"x.kvl", "x", "af", "dir.af/x", "x.AF"})
    EXPECT_FALSE(IsFrameworkFileName(name)) << name;
}

}  // namespace
