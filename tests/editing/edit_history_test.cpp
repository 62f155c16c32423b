// Undo and redo of every editing command, checked against the bytes of
// "~tmp.kvl" and the log; the steps that the statement box keeps open; the
// ends of the list; and the sharing of stored texts.
#include <atomic>
#include <functional>
#include <new>
#include <thread>

#include "diagram/diagram_layout.h"
#include "refresh/refresh_runner.h"
#include "editing/edit_history.h"
#include "tests/editing/editing_fixture.h"

namespace {

// Builds every refresh on a thread of its own, as the window does.
class TThreadRefreshRunner : public TRefreshRunner {
 public:
  bool Run(std::function<void()> job, const std::shared_ptr<TRefreshProgress>& progress) override {
    std::thread(std::move(job)).join();
    return !progress->StopRequested();
  }
};

std::shared_ptr<TDrawContext> LayOutAside(TKorvelTheory& theory, const TListOfKorvelSentences& sentences,
                                          bool withStatuses, bool negations,
                                          std::function<void()> beforeRolesGiven) {
  auto context = std::make_shared<TDrawContext>();
  context->BeforeRolesGiven = std::move(beforeRolesGiven);
  context->StructureOnly = !withStatuses;
  context->ShowDialecticalNegations = negations;
  context->Theory = &theory;
  DrawArguments(*context, sentences);
  context->Theory = nullptr;
  return context;
}

class TEditHistoryTest : public TEditingTest {
 protected:
  // From here on the document builds its refreshes aside: the commit's text
  // is written there, and Undo's and Redo's texts are put together there.
  void BuildAside() {
    document.SetRefreshRunner(&refreshRunner_);
    document.PrepareLayout = LayOutAside;
    document.Layout = [this](TKorvelTheory& theory, const TListOfKorvelSentences& sentences) {
      if (std::shared_ptr<TDrawContext> prepared = document.TakePreparedLayout()) {
        diagram = std::move(*prepared);
        diagram.AdoptMovedTheory(&theory);
        return;
      }
      diagram.Theory = &theory;
      DrawArguments(diagram, sentences);
    };
  }
  TThreadRefreshRunner refreshRunner_;
  TEditHistory history{document, editor, log};
  void Run(const std::string& title, const std::function<void()>& command) { history.Run(title, command); }
  void RunEnter(const std::string& text) {
    Type(text);
    Run("", [this] { Enter(); });
  }
};

struct TCommandCase {
  const char* Title;
  std::vector<std::string> Assumptions, Issues;
  // Clicks, then runs the command (and types into the box it opens).
  std::function<void()> Act;
};

TEST_F(TEditHistoryTest, EachCommandIsUndoneAndRedoneByteForByte) {
  const std::vector<TCommandCase> cases = {
      {"Add statement", {"a"}, {}, [this] {
         Run("Add statement", [this] { editor.Addstatement1Click(); });
         RunEnter("c");
       }},
      {"Change elementary sentence", {"a", "if(a, b)"}, {}, [this] {
         Click("a");
         Run("Change elementary sentence", [this] { editor.Changeelementarysentence1Click(); });
         RunEnter("z");
       }},
      {"Support", {"b"}, {}, [this] {
         Click("b");
         Run("Support", [this] { editor.Givesupport1Click(); });
         RunEnter("r");
       }},
      {"Attack", {"b"}, {}, [this] {
         Click("b");
         Run("Attack", [this] { editor.Attack1Click(); });
         RunEnter("r");
       }},
      {"Add conjunct", {"a", "if(a, b)", "c", "if(c, x(if(a, b)))"}, {}, [this] {
         Click("a");
         Run("Add conjunct", [this] { editor.Addconjunct1Click(); });
         RunEnter("d");
       }},
      {"Delete conjunct", {"a", "d", "if(a, d, b)", "c", "if(c, x(if(a, d, b)))"}, {}, [this] {
         Click("d");
         Run("Delete conjunct", [this] { editor.Deleteconjunct1menuitemClick(); });
       }},
      {"Add dialectical negation", {"a"}, {}, [this] {
         Click("a");
         Run("Add dialectical negation", [this] { editor.Adddialecticalnegation2Click(); });
       }},
      {"Set as assumption", {"a"}, {"b"}, [this] {
         Click("b");
         Run("Set as assumption", [this] { editor.Setasassumption1Click(); });
       }},
      {"Set as issue", {"a", "b"}, {}, [this] {
         Click("a");
         Run("Set as issue", [this] { editor.Setasissue1Click(); });
       }},
      {"Delete", {"a", "b", "if(a, b)"}, {}, [this] {
         Click("a");
         Run("Delete", [this] { editor.Delete1Click(); });
       }},
  };
  for (const bool aside : {false, true}) {
  if (aside) BuildAside();
  for (const TCommandCase& c : cases) {
    SCOPED_TRACE(std::string(c.Title) + (aside ? ", built aside" : ", built in line"));
    Load(c.Assumptions, c.Issues);
    history.Clear();
    const std::string before = ScratchBytes();
    c.Act();
    const std::string after = ScratchBytes();
    ASSERT_NE(before, after);
    EXPECT_EQ(ScratchBytes().find(P), std::string::npos);
    ASSERT_TRUE(history.CanUndo());
    EXPECT_EQ(history.History().Count(), 1u);  // the command and its ENTER are one step
    EXPECT_EQ(history.UndoTitle(), c.Title);

    // The refresh of the restored text logs the issues it adds, as the
    // command's own refresh did.
    const auto expectLog = [this](const std::string& title) {
      const std::vector<std::string> logged = NewLog();
      ASSERT_GE(logged.size(), 2u);
      EXPECT_EQ(logged[0], "");
      EXPECT_EQ(logged[1], title);
      for (size_t i = 2; i < logged.size(); ++i) EXPECT_EQ(logged[i].rfind("Add issue: ", 0), 0u) << logged[i];
    };
    ForgetLog();
    EXPECT_TRUE(history.Undo());
    EXPECT_EQ(ScratchBytes(), before);
    expectLog(std::string("Undo: ") + c.Title);
    EXPECT_FALSE(history.CanUndo());

    ForgetLog();
    EXPECT_TRUE(history.Redo());
    EXPECT_EQ(ScratchBytes(), after);
    expectLog(std::string("Redo: ") + c.Title);
    EXPECT_FALSE(history.CanRedo());
  }
  }
}

// Undo whose refresh runs out of memory: the message, the kept state and
// scratch file, the step's log lines; the history goes on working.
TEST_F(TEditHistoryTest, AnUndoThatRunsOutOfMemoryKeepsTheStateAndTheHistoryGoesOn) {
  BuildAside();
  Load({"a"});
  const std::string start = ScratchBytes();
  Run("Add statement", [&] { editor.Addstatement1Click(); });
  RunEnter("b");
  const std::string after = ScratchBytes();
  ASSERT_NE(after, start);
  const std::string text = document.TheoryFile().Text;

  document.PrepareLayout = [](auto&&...) -> std::shared_ptr<TDrawContext> { throw std::bad_alloc(); };
  ForgetLog();
  EXPECT_TRUE(history.Undo());
  EXPECT_EQ(ui.Errors, std::vector<std::string>{kRefreshOutOfMemoryMessage});
  EXPECT_EQ(NewLog(), (std::vector<std::string>{"", "Undo: Add statement"}));
  EXPECT_EQ(document.TheoryFile().Text, text);
  EXPECT_EQ(ScratchBytes(), after);

  document.PrepareLayout = LayOutAside;
  EXPECT_TRUE(history.Redo());  // back to the text the document kept
  EXPECT_EQ(ScratchBytes(), after);
  EXPECT_TRUE(history.Undo());
  EXPECT_EQ(ScratchBytes(), start);
  EXPECT_EQ(ui.Errors.size(), 1u);
}

TEST_F(TEditHistoryTest, TheEndsOfTheListDoNothingAndLogNothing) {
  Load({"a"});
  const std::string start = ScratchBytes();
  EXPECT_FALSE(history.Undo());
  EXPECT_FALSE(history.Redo());
  EXPECT_TRUE(NewLog().empty());
  Run("Add statement", [&] { editor.Addstatement1Click(); });
  RunEnter("b");
  EXPECT_FALSE(history.Redo());
  EXPECT_TRUE(history.Undo());
  ForgetLog();
  EXPECT_FALSE(history.Undo());
  EXPECT_TRUE(NewLog().empty());
  EXPECT_EQ(ScratchBytes(), start);
}

TEST_F(TEditHistoryTest, AnOpenBoxHoldsTheStepAndEscapeRecordsNothing) {
  Load({"b"});
  Click("b");
  Run("Support", [&] { editor.Givesupport1Click(); });
  EXPECT_TRUE(history.StepOpen());
  EXPECT_FALSE(history.CanUndo());
  Run("", [&] { Escape(); });
  EXPECT_FALSE(history.StepOpen());
  EXPECT_FALSE(history.CanUndo());
  // A new command drops what could have been redone.
  Run("Add statement", [&] { editor.Addstatement1Click(); });
  RunEnter("c");
  Run("Add statement", [&] { editor.Addstatement1Click(); });
  RunEnter("d");
  history.Undo();
  EXPECT_TRUE(history.CanRedo());
  Click("c");
  Run("Delete", [&] { editor.Delete1Click(); });
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.History().Count(), 2u);
}

// New or Open while a step is open (Support waiting for its reason): the
// history is cleared, and the next step begins afresh, so its Undo returns
// the file to its text just before that step, not to the old document's.
TEST_F(TEditHistoryTest, ClearWhileAStepIsOpenStartsTheNextStepAfresh) {
  Load({"b"});
  Click("b");
  Run("Support", [&] { editor.Givesupport1Click(); });
  ASSERT_TRUE(history.StepOpen());
  editor.CloseStatementBox();  // as the window does when the document is replaced
  Load({"x", "y"});
  history.Clear();
  const std::string opened = document.TheoryFile().Text;
  Run("Add statement", [&] { editor.Addstatement1Click(); });
  RunEnter("c");
  ASSERT_NE(document.TheoryFile().Text, opened);
  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(document.TheoryFile().Text, opened);
  EXPECT_FALSE(history.CanUndo());
}

TEST_F(TEditHistoryTest, UndoFindsTheSelectionAgainByText) {
  Load({"a", "b"});
  Click("b");
  Run("Add statement", [&] { editor.Addstatement1Click(); });
  RunEnter("0 first");
  Click("b");
  history.Undo();
  EXPECT_EQ(Selected(), "b");
  EXPECT_EQ(Offered(), "b");
  Click("a");
  Run("Delete", [&] { editor.Delete1Click(); });
  history.Undo();  // a is back, but nothing was selected after Delete
  EXPECT_EQ(Selected(), "-");
  Click("a");
  history.Redo();  // a is gone again
  EXPECT_EQ(Selected(), "-");
}

TEST_F(TEditHistoryTest, UndoBackToTheSavedTextLeavesNoUnsavedChanges) {
  Load({"a"});
  const std::filesystem::path saved = directory_ / "saved.kvl";
  ui.Errors.clear();
  {
    TKorvelFile file = document.TheoryFile();
    file.SaveToFile(saved.string());
  }
  TKorvelFile loaded;
  loaded.LoadFromFile(saved.string());
  ASSERT_TRUE(document.RefreshFromFile(saved.string()));
  // Opened as the dialog would: the document is now named.
  struct TOpenUi : TNoDialogsUi {
    std::string Path;
    std::optional<std::string> ChooseFileToOpen() override { return Path; }
  };
  TOpenUi openUi;
  openUi.Path = saved.string();
  TDocument named(openUi, log);
  named.Layout = document.Layout;
  ASSERT_TRUE(named.Open());
  TDrawContext context;
  TSelectionState state;
  named.Layout = [&](TKorvelTheory& theory, const TListOfKorvelSentences& sentences) {
    context.Theory = &theory;
    DrawArguments(context, sentences);
  };
  named.RefreshFromFile(saved.string());
  TArgumentEditor namedEditor(named, context, state, log);
  TEditHistory namedHistory(named, namedEditor, log);
  namedHistory.Run("Add statement", [&] { namedEditor.Addstatement1Click(); });
  namedEditor.SetStatementText("b");
  namedHistory.Run("", [&] { namedEditor.ComboBox1KeyDown(kEnterKey); });
  EXPECT_EQ(named.HasUnsavedChanges(), std::optional<bool>(true));
  namedHistory.Undo();
  EXPECT_EQ(named.HasUnsavedChanges(), std::optional<bool>(false));
  namedHistory.Redo();
  EXPECT_EQ(named.HasUnsavedChanges(), std::optional<bool>(true));
}

// Texts of a theory of n sentences whose k-th change appends a sentence.
std::string ManySentences(int n, int extra) {
  std::string text = "<KORVEL>\r\n<THEORY>\r\n";
  for (int i = 0; i < n + extra; ++i)
    text += "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\nstatement number " + std::to_string(i * 7919 % 100003) +
            "\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n";
  return text + "</THEORY>\r\n</KORVEL>";
}

TEST(TUndoHistoryStore, StepsShareTheTextsTheyHaveInCommon) {
  TUndoHistory history;
  std::string previous = ManySentences(2000, 0);
  for (int k = 1; k <= 200; ++k) {
    std::string next = ManySentences(2000, k);
    history.Record("Add statement", previous, next);
    previous = std::move(next);
  }
  EXPECT_EQ(history.Count(), 200u);
  // The 400 texts of about 200 kB each would take 80 MB held whole; shared,
  // they take one text plus a piece and a list of pieces per step.
  EXPECT_LT(history.MemoryBytes(), 400 * previous.size() / 50);
  // Every stored text comes back exactly.
  std::string expected = previous;
  for (int k = 200; k >= 1; --k) {
    const auto step = history.Undo();
    ASSERT_TRUE(step);
    ASSERT_EQ(step->Text(), ManySentences(2000, k - 1));
  }
  EXPECT_FALSE(history.Undo());
  EXPECT_EQ(history.Redo()->Text(), ManySentences(2000, 1));
}

// A snapshot is compared with a text piece by piece: any byte changed,
// missing or added anywhere tells them apart.
TEST(TUndoHistoryStore, ASnapshotHoldsExactlyItsText) {
  TSnapshotStore store;
  const std::string text = ManySentences(300, 0);
  const TSnapshotPtr snapshot = store.Make(text);
  auto changedAt = [&](size_t at) {
    std::string changed = text;
    changed[at] = changed[at] == 'x' ? 'y' : 'x';
    return changed;
  };
  EXPECT_TRUE(snapshot->Holds(text));
  for (const std::string& other : {changedAt(0), changedAt(text.size() / 2), changedAt(text.size() - 1),
                                   text.substr(0, text.size() - 1), text + "\n", std::string()})
    EXPECT_FALSE(snapshot->Holds(other)) << other.size();
  EXPECT_TRUE(store.Make("")->Holds(""));
}

// Snapshots made on one thread while another lets go of snapshots of the
// same texts: a piece let go of while it is being shared again is made
// anew, never lost, and the store forgets every piece once none is held.
TEST(TUndoHistoryStore, SnapshotsMadeAndLetGoOfOnTwoThreadsKeepTheirTexts) {
  TSnapshotStore store;
  const std::vector<std::string> texts = {ManySentences(200, 0), ManySentences(200, 1), ManySentences(200, 3)};
  std::atomic<int> wrong{0};
  auto makeAndLetGo = [&](size_t first) {
    for (size_t i = 0; i < 150; ++i) {
      const std::string& text = texts[(first + i) % texts.size()];
      TSnapshotPtr snapshot = store.Make(text);
      if (!snapshot->Holds(text) || snapshot->Text() != text) ++wrong;
    }
  };
  std::thread other(makeAndLetGo, 1);
  makeAndLetGo(0);
  other.join();
  EXPECT_EQ(wrong.load(), 0);
  store.Prune();
  EXPECT_EQ(store.PieceBytes(), 0u);
}

// Recorded texts come back exactly after the history let go of the steps
// that could be redone, and after Clear, whose snapshots go on its thread.
TEST(TUndoHistoryStore, StepsDroppedByANewChangeOrClearLeaveTheOthersWhole) {
  TUndoHistory history;
  for (int k = 1; k <= 6; ++k) history.Record("step", ManySentences(500, k - 1), ManySentences(500, k));
  ASSERT_TRUE(history.Undo());
  ASSERT_TRUE(history.Undo());
  history.Record("other", ManySentences(500, 4), ManySentences(500, 9));  // drops two steps
  EXPECT_EQ(history.Count(), 5u);
  EXPECT_EQ(history.Undo()->Text(), ManySentences(500, 4));
  EXPECT_EQ(history.Undo()->Text(), ManySentences(500, 3));
  EXPECT_EQ(history.Redo()->Text(), ManySentences(500, 4));
  EXPECT_EQ(history.Redo()->Text(), ManySentences(500, 9));
  history.Clear();
  EXPECT_FALSE(history.Undo());
  history.Record("again", ManySentences(500, 0), ManySentences(500, 2));
  EXPECT_EQ(history.Undo()->Text(), ManySentences(500, 0));
  EXPECT_LT(history.MemoryBytes(), 3 * ManySentences(500, 2).size());
}

}  // namespace
