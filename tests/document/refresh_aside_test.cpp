// The refresh built away from the document's thread: it shows the drawing
// made there and writes what the refresh in line writes; a finished
// evaluation's drawing names the document's own sentences; Stop abandons the
// reading of another file but only the evaluation of a change; running out of
// memory keeps the state; Evaluate again completes a stopped evaluation.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <future>
#include <new>
#include <thread>
#include <unordered_set>

#include "diagram/diagram_layout.h"
#include "document/document.h"
#include "refresh/theory_read_ahead.h"
#include "tests/document/scripted_document_ui.h"
#include "tests/document/temporary_directory.h"
#include "tests/evaluation/theory_families.h"

namespace {

// Runs each job on a thread of its own and waits for it; `During` is what
// the user does meanwhile, on the document's thread.
class TThreadRefreshRunner : public TRefreshRunner {
 public:
  std::function<void()> During;
  // What the user does once the job has ended, before the document hears so.
  std::function<void()> After;
  int Abandoned = 0;
  // When set, the job starts first and `During` runs while it does; a job
  // then given up is left running, as the window's runner leaves it, and
  // joined by Finish.
  bool LeaveGivenUpRunning = false;
  std::thread Left;
  void Finish() {
    if (Left.joinable()) Left.join();
  }
  bool Run(std::function<void()> job, const std::shared_ptr<TRefreshProgress>& progress) override {
    if (LeaveGivenUpRunning) {
      std::thread running(std::move(job));
      if (During) During();
      if (progress->StopRequested()) {
        ++Abandoned;
        Left = std::move(running);
        return false;
      }
      running.join();
      return true;
    }
    if (During) During();
    if (progress->StopRequested()) {
      // Abandoned before it ran: it runs out on its own thread all the same.
      ++Abandoned;
      std::thread(std::move(job)).join();
      return false;
    }
    std::thread(std::move(job)).join();
    if (After) After();
    return !progress->StopRequested();
  }
};

class TScriptedRunner : public TEvaluationRunner {
 public:
  struct TJob {
    std::function<void()> Job, Finished;
  };
  std::deque<TJob> Jobs;
  void Start(std::function<void()> job, std::function<void()> finished) override {
    Jobs.push_back({std::move(job), std::move(finished)});
  }
  void RunAll() {
    while (!Jobs.empty()) {
      TJob job = std::move(Jobs.front());
      Jobs.pop_front();
      job.Job();
      job.Finished();
    }
  }
};

std::shared_ptr<TDrawContext> LayOut(TKorvelTheory& theory, const TListOfKorvelSentences& sentences,
                                     bool withStatuses, bool negations,
                                     std::function<void()> beforeRolesGiven = nullptr) {
  auto context = std::make_shared<TDrawContext>();
  context->BeforeRolesGiven = std::move(beforeRolesGiven);
  context->StructureOnly = !withStatuses;
  context->ShowDialecticalNegations = negations;
  context->Theory = &theory;
  DrawArguments(*context, sentences, 0, 0);
  context->Theory = nullptr;
  return context;
}

TKorvelFile TextOf(TKorvelTheory theory) {
  TKorvelFile file;
  WriteTheory(theory, file);
  return file;
}

// The same document refreshed in line, for comparison: its own interface,
// log ("inline" in the work folder) and scratch file (Other's).
struct TInLineDocument {
  explicit TInLineDocument(const TTemporaryDirectory& work) {
    Log.Open({work.File("inline")});
    Document.SetScratchFallbackDirectory(work.File("fallback"));
    Document.SetScratchFileName(Other.File("~tmp.kvl"));
  }
  TScriptedDocumentUi Ui;
  TActionLog Log{[] { return std::string("10:00:00"); }};
  TDocument Document{Ui, Log};
  TTemporaryDirectory Other;
};

class RefreshAsideTest : public ::testing::Test {
 protected:
  RefreshAsideTest() : log_([] { return std::string("10:00:00"); }), document_(ui_, log_) {
    document_.SetScratchFallbackDirectory(work_.File("fallback"));
    document_.Layout = [this](TKorvelTheory&, const TListOfKorvelSentences&) {
      shown_ = document_.TakePreparedLayout();
      ++layouts_;
    };
    document_.New();
    log_.Open({work_.File("log")});
  }

  void Aside() {
    document_.SetRefreshRunner(&refreshRunner_);
    document_.PrepareLayout = LayOut;
    document_.SetEvaluationRunner(&evaluationRunner_, std::chrono::milliseconds(0));
  }

  // Whether every sentence the drawing names is one of the document's own.
  bool DrawsTheDocumentsSentences() const {
    std::unordered_set<const TKorvelSentence*> own;
    for (const SentencePtr& sentence : document_.AllSentences()) own.insert(sentence.get());
    return !shown_->DrawnSentences.empty() &&
           std::all_of(shown_->DrawnSentences.begin(), shown_->DrawnSentences.end(),
                       [&](const SentencePtr& sentence) { return own.count(sentence.get()) != 0; });
  }

  TTemporaryDirectory work_{true};
  TScriptedDocumentUi ui_;
  TActionLog log_;
  TDocument document_;
  TThreadRefreshRunner refreshRunner_;
  TScriptedRunner evaluationRunner_;
  std::shared_ptr<TDrawContext> shown_;
  int layouts_ = 0;
};

}  // namespace

TEST_F(RefreshAsideTest, ShowsTheDrawingMadeAsideAndWritesWhatTheRefreshInLineWrites) {
  // The same change in line, in a document of its own.
  TInLineDocument reference(work_);
  TKorvelTheory theory = families::Pairs(2);
  families::Assume(theory, families::If({families::Atom("p"), families::Atom("r")}, families::Atom("s")));
  ASSERT_TRUE(reference.Document.CommitFileText(TextOf(theory)));

  Aside();
  const size_t logged = log_.LogLines().size();
  ASSERT_TRUE(document_.CommitFileText(TextOf(theory)));
  EXPECT_EQ(document_.TheoryFile().Text, reference.Document.TheoryFile().Text);
  EXPECT_EQ(ReadBytes(work_.File("~tmp.kvl")), ReadBytes(reference.Other.File("~tmp.kvl")));
  EXPECT_EQ(std::vector<std::string>(log_.LogLines().begin() + static_cast<std::ptrdiff_t>(logged),
                                     log_.LogLines().end()),
            std::vector<std::string>(reference.Log.LogLines().begin() + 1, reference.Log.LogLines().end()));
  ASSERT_TRUE(shown_);
  EXPECT_TRUE(shown_->StructureOnly);  // the evaluation is still to come
  EXPECT_TRUE(DrawsTheDocumentsSentences());
  const std::vector<std::string> expectedFileLines = FileTextLines(reference.Document.TheoryFile().Text);
  EXPECT_EQ(*document_.SharedFileLines(), expectedFileLines);

  // The result's drawing is made from the evaluation's copy, and names the
  // document's sentences again, with their statuses.
  shown_.reset();
  evaluationRunner_.RunAll();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Finished);
  EXPECT_EQ(document_.ReportLines(), reference.Document.ReportLines());
  ASSERT_TRUE(shown_);
  EXPECT_FALSE(shown_->StructureOnly);
  EXPECT_TRUE(DrawsTheDocumentsSentences());
  std::unordered_set<const TKorvelSentence*> own;
  for (const SentencePtr& sentence : document_.AllSentences()) own.insert(sentence.get());
  for (const TDrawCall& call : shown_->Drawing.Calls) {
    if (call.Sentence) {
      EXPECT_EQ(own.count(call.Sentence.get()), 1u) << call.Sentence->Text;
    }
  }
}

TEST_F(RefreshAsideTest, StopAbandonsTheReadingOfAnotherFileAndLeavesTheDocument) {
  Aside();
  ASSERT_TRUE(document_.CommitFileText(TextOf(families::Pairs(1))));
  evaluationRunner_.RunAll();
  const std::string file = document_.TheoryFile().Text;
  const std::string scratch = ReadBytes(work_.File("~tmp.kvl"));
  const std::vector<std::string> report = document_.ReportLines();
  const size_t logged = log_.LogLines().size();
  const int layouts = layouts_;
  TextOf(families::Ladder(3)).SaveToFile(work_.File("other.kvl"));

  refreshRunner_.During = [this] { document_.StopEvaluation(); };
  ui_.Answers = {TDocumentUi::TAnswer::No};
  EXPECT_FALSE(document_.OpenPath(work_.File("other.kvl")));
  EXPECT_EQ(refreshRunner_.Abandoned, 1);
  EXPECT_EQ(document_.TheoryFile().Text, file);
  EXPECT_EQ(document_.CurrentFileName(), "");
  EXPECT_EQ(ReadBytes(work_.File("~tmp.kvl")), scratch);
  EXPECT_EQ(document_.ReportLines(), report);
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Finished);
  EXPECT_EQ(log_.LogLines().size(), logged);
  EXPECT_EQ(layouts_, layouts);
  EXPECT_TRUE(ui_.Errors.empty());

  // A stop heard only once the reading was built, which wrote its text into
  // the scratch file: the kept state's text goes back there.
  refreshRunner_.During = nullptr;
  refreshRunner_.After = [this] { document_.StopEvaluation(); };
  ui_.Answers = {TDocumentUi::TAnswer::No};
  EXPECT_FALSE(document_.OpenPath(work_.File("other.kvl")));
  refreshRunner_.After = nullptr;
  EXPECT_EQ(document_.TheoryFile().Text, file);
  EXPECT_EQ(ReadBytes(work_.File("~tmp.kvl")), scratch);
  EXPECT_EQ(log_.LogLines().size(), logged);

  // Without a stop the same file opens, its normal form in the scratch file.
  ui_.Answers = {TDocumentUi::TAnswer::No};
  EXPECT_TRUE(document_.OpenPath(work_.File("other.kvl")));
  EXPECT_EQ(document_.CurrentFileName(), work_.File("other.kvl"));
  EXPECT_EQ(ReadBytes(work_.File("~tmp.kvl")), document_.TheoryFile().FileBytes());
  EXPECT_NE(document_.TheoryFile().Text, file);
}

// A reading given up while it is being laid out goes on on its own thread:
// the document's thread neither reads nor lets go of what it is making.
TEST_F(RefreshAsideTest, AReadingGivenUpWhileItIsLaidOutIsLeftToItsThread) {
  Aside();
  const std::string file = document_.TheoryFile().Text;
  WriteBytes(work_.File("other.kvl"), TextOf(families::Pairs(4)).FileBytes());
  std::promise<void> layoutBegun, documentReturned;
  std::shared_future<void> returned = documentReturned.get_future().share();
  document_.PrepareLayout = [&](TKorvelTheory& theory, const TListOfKorvelSentences& sentences, bool statuses,
                                bool negations, std::function<void()> beforeRolesGiven) {
    layoutBegun.set_value();
    returned.wait();
    return LayOut(theory, sentences, statuses, negations, std::move(beforeRolesGiven));
  };
  refreshRunner_.LeaveGivenUpRunning = true;
  refreshRunner_.During = [&] {
    layoutBegun.get_future().wait();
    document_.StopEvaluation();
  };
  EXPECT_FALSE(document_.OpenPath(work_.File("other.kvl")));
  documentReturned.set_value();
  refreshRunner_.Finish();
  EXPECT_EQ(refreshRunner_.Abandoned, 1);
  EXPECT_EQ(document_.TheoryFile().Text, file);
  EXPECT_TRUE(ui_.Errors.empty());
}

TEST_F(RefreshAsideTest, AnOpenedFileIsJudgedAsInLine) {
  // The look at the bytes and the text's check and scratch write are made
  // beside the reading and the layout; what the user is told and what is
  // written must be what the refresh in line gives.
  std::string notNormal = TextOf(families::Pairs(1)).FileBytes();
  notNormal.insert(0, "notes before\r\n");
  std::string misspelled = TextOf(families::Ladder(2)).FileBytes();
  misspelled.replace(misspelled.rfind("<ELEMENTARYSENTENCE>"), 20, "<ELEMENTARYSENTENSE>");
  struct TCase {
    const char* name;
    std::string bytes;
    bool warned;
  };
  const std::vector<TCase> files = {
      {"a foreign text", "root:x:0:0:root:/root:/bin/sh\n", true},
      {"not in normal form", notNormal, false},
      {"a misspelled tag", misspelled, true},
  };
  Aside();
  for (const auto& [name, bytes, warned] : files) {
    SCOPED_TRACE(name);
    WriteBytes(work_.File("opened.kvl"), bytes);
    TInLineDocument reference(work_);
    reference.Ui.Answers = {TDocumentUi::TAnswer::No};
    ASSERT_TRUE(reference.Document.OpenPath(work_.File("opened.kvl")));

    // Read by the refresh, and read ahead of it.
    for (const bool ahead : {false, true}) {
      SCOPED_TRACE(ahead ? "read ahead" : "read by the refresh");
      auto reading = ahead ? std::make_shared<TTheoryReadAhead>(work_.File("opened.kvl"), document_.Options) : nullptr;
      document_.ReadAhead(reading);
      ui_.Errors.clear();
      ui_.Answers = {TDocumentUi::TAnswer::No};
      ASSERT_TRUE(document_.OpenPath(work_.File("opened.kvl")));
      if (reading) {
        EXPECT_TRUE(reading->Taken());
      }
      EXPECT_EQ(ui_.Errors, reference.Ui.Errors);
      EXPECT_EQ(!ui_.Errors.empty(), warned);
      EXPECT_EQ(document_.TheoryFile().Text, reference.Document.TheoryFile().Text);
      EXPECT_EQ(ReadBytes(work_.File("~tmp.kvl")), ReadBytes(reference.Other.File("~tmp.kvl")));
      EXPECT_EQ(*document_.SharedFileLines(), *reference.Document.SharedFileLines());
      evaluationRunner_.RunAll();
      EXPECT_EQ(document_.ReportLines(), reference.Document.ReportLines());
    }
  }
}

TEST_F(RefreshAsideTest, WhatWasReadAheadIsTakenOnlyForTheSameBytesReadTheSameWay) {
  // What the refresh reads is the file as it is now, under the options
  // as they are now: a reading ahead of anything else is let go.
  const std::string now = TextOf(families::Ladder(3)).FileBytes();
  const std::string before = TextOf(families::Pairs(2)).FileBytes();
  WriteBytes(work_.File("opened.kvl"), now);
  WriteBytes(work_.File("before.kvl"), before);
  TRefreshOptions notParsed;
  notParsed.ParseSentences = false;
  TRefreshOptions structureOnly;
  structureOnly.ShowStructureOnly = true;
  struct TCase {
    const char* name;
    std::string readAhead;
    TRefreshOptions options;
  };
  const std::vector<TCase> cases = {
      {"other bytes", work_.File("before.kvl"), {}},
      {"no file", work_.File("missing.kvl"), {}},
      {"sentences read unparsed", work_.File("opened.kvl"), notParsed},
      {"the structure only", work_.File("opened.kvl"), structureOnly},
  };
  Aside();
  TInLineDocument reference(work_);
  reference.Ui.Answers = {TDocumentUi::TAnswer::No};
  ASSERT_TRUE(reference.Document.OpenPath(work_.File("opened.kvl")));
  for (const auto& [name, path, options] : cases) {
    SCOPED_TRACE(name);
    auto reading = std::make_shared<TTheoryReadAhead>(path, options);
    document_.ReadAhead(reading);
    ui_.Answers = {TDocumentUi::TAnswer::No};
    ASSERT_TRUE(document_.OpenPath(work_.File("opened.kvl")));
    EXPECT_FALSE(reading->Taken());
    EXPECT_EQ(document_.TheoryFile().Text, reference.Document.TheoryFile().Text);
    evaluationRunner_.RunAll();
    EXPECT_EQ(document_.ReportLines(), reference.Document.ReportLines());
    // Once looked at, it is let go: the next opening reads for itself.
    EXPECT_EQ(reading.use_count(), 1);
  }
}

TEST_F(RefreshAsideTest, StopDuringAChangeEndsItsEvaluationAndEvaluateAgainCompletesIt) {
  Aside();
  TInLineDocument reference(work_);
  ASSERT_TRUE(reference.Document.CommitFileText(TextOf(families::Pairs(3))));

  refreshRunner_.During = [this] { document_.StopEvaluation(); };
  ASSERT_TRUE(document_.CommitFileText(TextOf(families::Pairs(3))));
  refreshRunner_.During = nullptr;
  EXPECT_EQ(document_.TheoryFile().Text, reference.Document.TheoryFile().Text);  // the change is in
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Stopped);
  EXPECT_EQ(document_.InterpretationSummary(), kEvaluationStoppedStatus);
  evaluationRunner_.RunAll();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Stopped);  // a late result stays unseen

  const size_t logged = log_.LogLines().size();
  ASSERT_TRUE(document_.EvaluateAgain());
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Running);
  EXPECT_FALSE(document_.EvaluateAgain());  // only after a stop
  evaluationRunner_.RunAll();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Finished);
  EXPECT_EQ(document_.ReportLines(), reference.Document.ReportLines());
  EXPECT_EQ(document_.InterpretationSummary(), reference.Document.InterpretationSummary());
  EXPECT_EQ(document_.InterpretationButtons(), reference.Document.InterpretationButtons());
  EXPECT_EQ(log_.LogLines().size(), logged);  // nothing changed, nothing logged
}

TEST_F(RefreshAsideTest, RunningOutOfMemoryKeepsTheStateAndSaysSo) {
  for (const bool aside : {false, true}) {
    SCOPED_TRACE(aside ? "built aside" : "built in line");
    ui_.Errors.clear();
    if (aside) Aside();
    ASSERT_TRUE(document_.CommitFileText(TextOf(families::Pairs(1))));
    evaluationRunner_.RunAll();
    const std::string file = document_.TheoryFile().Text;
    const std::vector<std::string> report = document_.ReportLines();
    const std::string scratch = ReadBytes(work_.File("~tmp.kvl"));
    const auto exhausted = [](auto&&...) -> std::shared_ptr<TDrawContext> { throw std::bad_alloc(); };
    TLayoutStep layout = document_.Layout;
    if (aside)
      document_.PrepareLayout = exhausted;
    else
      document_.Layout = [exhausted](TKorvelTheory& t, const TListOfKorvelSentences& s) { exhausted(t, s); };

    EXPECT_FALSE(document_.CommitFileText(TextOf(families::Ladder(4))));
    EXPECT_EQ(ui_.Errors, std::vector<std::string>{kRefreshOutOfMemoryMessage});
    EXPECT_EQ(document_.TheoryFile().Text, file);
    EXPECT_EQ(document_.ReportLines(), report);
    EXPECT_EQ(ReadBytes(work_.File("~tmp.kvl")), scratch);
    document_.Layout = layout;
    document_.PrepareLayout = LayOut;
    EXPECT_TRUE(document_.CommitFileText(TextOf(families::Ladder(4))));  // and goes on working
  }
}

// The evaluation beside the layout copies the theory on its own thread while
// the layout finds its places. A layout that fails at once leaves that copy
// running: the build waits for it before it lets the theory go (a copy read
// from a theory already freed shows under the address sanitizer).
TEST_F(RefreshAsideTest, ALayoutThatFailsBesideTheCopyLetsTheTheoryGoOnlyAfterIt) {
  Aside();
  document_.SetEvaluationRunner(&evaluationRunner_, std::chrono::milliseconds(60000));
  ASSERT_TRUE(document_.CommitFileText(TextOf(families::Pairs(1))));
  const std::string file = document_.TheoryFile().Text;
  int hooks = 0;
  document_.PrepareLayout = [&hooks](TKorvelTheory&, const TListOfKorvelSentences&, bool, bool,
                                     std::function<void()> beforeRolesGiven) -> std::shared_ptr<TDrawContext> {
    if (beforeRolesGiven) ++hooks;
    throw std::bad_alloc();
  };
  EXPECT_FALSE(document_.CommitFileText(TextOf(families::Ladder(6000))));
  EXPECT_EQ(hooks, 1);  // the layout was told to wait for the copy
  EXPECT_EQ(ui_.Errors, std::vector<std::string>{kRefreshOutOfMemoryMessage});
  EXPECT_EQ(document_.TheoryFile().Text, file);
}

TEST_F(RefreshAsideTest, AnEvaluationEndedBesideTheLayoutIsDrawnWithItsStatuses) {
  // The same change in line, in a document of its own, for the report.
  TInLineDocument reference(work_);
  TKorvelTheory theory = families::Pairs(2);
  families::Assume(theory, families::Attack("s", "p1"));
  families::Assume(theory, families::If({families::Atom("p"), families::Atom("r")}, families::Atom("s")));
  ASSERT_TRUE(reference.Document.CommitFileText(TextOf(theory)));

  Aside();
  document_.SetEvaluationRunner(&evaluationRunner_, std::chrono::milliseconds(60000));
  ASSERT_TRUE(document_.CommitFileText(TextOf(theory)));
  EXPECT_TRUE(evaluationRunner_.Jobs.empty());
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Finished);
  EXPECT_EQ(document_.ReportLines(), reference.Document.ReportLines());
  ASSERT_TRUE(shown_);
  EXPECT_FALSE(shown_->StructureOnly);
  EXPECT_TRUE(DrawsTheDocumentsSentences());
  // Element for element what a layout with the statuses draws, and its hit
  // index comes along.
  const std::shared_ptr<TDrawContext> fresh =
      LayOut(document_.EditableTheory(), document_.AllSentences(), true, true);
  EXPECT_EQ(shown_->Drawing.Elements, fresh->Drawing.Elements);
  EXPECT_EQ(shown_->Drawing.Captions, fresh->Drawing.Captions);
  ASSERT_TRUE(shown_->HitsMadeAside);
  EXPECT_TRUE(shown_->HitsMadeAside->Covers(shown_->Drawing));
}

// An evaluation begun beside the layout that has not ended when its budget
// is spent goes on: the structure is shown, and the background job takes the
// evaluation over where it is and shows the result a refresh in line shows.
// Stopped or with the document gone meanwhile, it ends at once.
TEST_F(RefreshAsideTest, AnEvaluationNotEndedBesideTheLayoutGoesOnInTheBackground) {
  const TKorvelTheory theory = families::ThreeSat(80, 320, 1);  // 3,184 interpretations, found in tens of ms
  TInLineDocument reference(work_);
  ASSERT_TRUE(reference.Document.CommitFileText(TextOf(theory)));
  Aside();
  // A budget of a millisecond or two: the evaluation outlasts it.
  document_.SetEvaluationRunner(&evaluationRunner_, std::chrono::milliseconds(1));

  ASSERT_TRUE(document_.CommitFileText(TextOf(theory)));
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Running);
  ASSERT_EQ(evaluationRunner_.Jobs.size(), 1u);
  evaluationRunner_.RunAll();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Finished);
  EXPECT_EQ(document_.ReportLines(), reference.Document.ReportLines());
  EXPECT_EQ(document_.InterpretationSummary(), reference.Document.InterpretationSummary());
  EXPECT_EQ(document_.InterpretationButtons(), reference.Document.InterpretationButtons());

  // Stopped while it goes on: stopped it stays, and Evaluate again ends it.
  ASSERT_TRUE(document_.CommitFileText(TextOf(theory)));
  document_.StopEvaluation();
  evaluationRunner_.RunAll();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Stopped);
  ASSERT_TRUE(document_.EvaluateAgain());
  evaluationRunner_.RunAll();
  EXPECT_EQ(document_.EvaluationState(), TEvaluationState::Finished);
  EXPECT_EQ(document_.InterpretationSummary(), reference.Document.InterpretationSummary());

  // Superseded by the next change, and left running when the document goes:
  // neither waits for the evaluation's end.
  {
    TScriptedDocumentUi ui;
    TActionLog log([] { return std::string("10:00:00"); });
    TDocument document(ui, log);
    document.SetScratchFallbackDirectory(work_.File("fallback"));
    document.SetScratchFileName(work_.File("gone.kvl"));
    document.Layout = [](TKorvelTheory&, const TListOfKorvelSentences&) {};
    document.SetRefreshRunner(&refreshRunner_);
    document.PrepareLayout = LayOut;
    document.SetEvaluationRunner(&evaluationRunner_, std::chrono::milliseconds(1));
    const TKorvelTheory slow = families::ThreeSat(150, 640, 1);  // seconds to evaluate
    ASSERT_TRUE(document.CommitFileText(TextOf(slow)));
    ASSERT_TRUE(document.CommitFileText(TextOf(slow)));
    EXPECT_EQ(document.EvaluationState(), TEvaluationState::Running);
  }
  evaluationRunner_.RunAll();  // the jobs of the document gone, each stopped, end at once
  EXPECT_TRUE(evaluationRunner_.Jobs.empty());
}
