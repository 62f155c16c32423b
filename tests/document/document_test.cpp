#include "document/document.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/document/scripted_document_ui.h"
#include "tests/document/temporary_directory.h"

namespace {

const std::string kExample = std::string(PELMORA_TEST_DATA_DIR) + "/example.kvl";

// A document in a temporary working directory with its log open there.
class DocumentTest : public ::testing::Test {
 protected:
  DocumentTest() : log_([] { return std::string("10:00:00"); }), document_(ui_, log_) {
    document_.SetScratchFallbackDirectory(work_.File("fallback"));
    document_.New();  // start-up: logging is still off
    log_.Open({work_.File("log")});
  }

  // Log lines written after the header.
  std::vector<std::string> Logged() const {
    const auto& lines = log_.LogLines();
    return std::vector<std::string>(lines.begin() + 1, lines.end());
  }

  void AddAssumption(const std::string& text) {
    SentencePtr sentence = MakeElementarySentence(text);
    sentence->IsAssumption = true;
    document_.EditableTheory().Assumptions.push_back(sentence);
    ASSERT_TRUE(document_.CommitTheory());
  }

  std::string TheoryBytes() const { return document_.TheoryFile().FileBytes(); }

  TTemporaryDirectory work_{true};
  TScriptedDocumentUi ui_;
  TActionLog log_;
  TDocument document_;
};

TEST_F(DocumentTest, StartsUnnamedAndEmptyWithTheScratchFileWritten) {
  EXPECT_EQ(document_.CurrentFileName(), "");
  EXPECT_EQ(document_.Caption(), "Pelmora - an argument assistant based on Korvel");
  EXPECT_TRUE(document_.Theory().Assumptions.empty());
  EXPECT_EQ(ReadBytes(work_.File("~tmp.kvl")), TheoryBytes());
  EXPECT_EQ(document_.HasUnsavedChanges(), false);
  EXPECT_TRUE(Logged().empty());
}

TEST_F(DocumentTest, OpenReadsTheFileAndLogsItsPathAfterTheRefresh) {
  ui_.OpenAnswers = {kExample};
  ASSERT_TRUE(document_.Open());
  EXPECT_EQ(document_.CurrentFileName(), kExample);
  EXPECT_EQ(document_.Caption(), "Pelmora - example.kvl");
  EXPECT_EQ(TheoryBytes(), ReadBytes(kExample));  // the example is in normal form
  EXPECT_EQ(ReadBytes(work_.File("~tmp.kvl")), ReadBytes(kExample));
  EXPECT_EQ(document_.HasUnsavedChanges(), false);
  EXPECT_EQ(Logged(), (std::vector<std::string>{"", "[10:00:00]  Open file:" + kExample}));
  EXPECT_TRUE(ui_.Questions.empty());
}

TEST_F(DocumentTest, AFileThatCannotBeReadLeavesTheDocumentAsItWas) {
  ui_.OpenAnswers = {kExample};
  ASSERT_TRUE(document_.Open());
  const std::string before = TheoryBytes();
  const size_t assumptions = document_.Theory().Assumptions.size();

  ui_.OpenAnswers = {work_.File("missing.kvl")};
  EXPECT_FALSE(document_.Open());
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_NE(ui_.Errors[0].find("missing.kvl"), std::string::npos);
  EXPECT_EQ(document_.CurrentFileName(), kExample);
  EXPECT_EQ(TheoryBytes(), before);
  EXPECT_EQ(document_.Theory().Assumptions.size(), assumptions);
  EXPECT_EQ(Logged().size(), 2u);  // only the first Open
}

TEST_F(DocumentTest, SaveOfAnUnnamedDocumentAsksForANameThenSavesUnderIt) {
  AddAssumption("p");
  const std::string target = work_.File("new.kvl");
  ui_.SaveAnswers = {std::nullopt, target};
  EXPECT_FALSE(document_.Save());  // dialog cancelled: nothing happens
  EXPECT_EQ(document_.CurrentFileName(), "");
  EXPECT_FALSE(std::filesystem::exists(target));

  ASSERT_TRUE(document_.Save());
  EXPECT_EQ(document_.CurrentFileName(), target);
  EXPECT_EQ(document_.Caption(), "Pelmora - new.kvl");
  EXPECT_EQ(ReadBytes(target), TheoryBytes());
  EXPECT_EQ(document_.HasUnsavedChanges(), false);

  ASSERT_TRUE(document_.Save());  // named now: no dialog
  EXPECT_EQ(Logged(), (std::vector<std::string>{"", "[10:00:00]  Save file (new):" + target, "",
                                                "[10:00:00]  Save file (existing):" + target}));
}

TEST_F(DocumentTest, SaveAsWritesTheSameTextUnderTheNewName) {
  ui_.OpenAnswers = {kExample};
  ASSERT_TRUE(document_.Open());
  const std::string copy = work_.File("copy.kvl");
  ui_.SaveAnswers = {copy};
  ASSERT_TRUE(document_.SaveAs());
  EXPECT_EQ(document_.CurrentFileName(), copy);
  EXPECT_EQ(ReadBytes(copy), ReadBytes(kExample));
  EXPECT_EQ(Logged().back(), "[10:00:00]  Save file as:" + copy);
}

TEST_F(DocumentTest, AFailingSaveKeepsTheNameLogsNothingAndLeavesNoFile) {
  ui_.OpenAnswers = {kExample};
  ASSERT_TRUE(document_.Open());
  const size_t logged = Logged().size();

  // A target whose directory cannot exist: below a plain file.
  WriteBytes(work_.File("plain"), "x");
  const std::string impossible = work_.File("plain") + "/copy.kvl";
  ui_.SaveAnswers = {impossible};
  EXPECT_FALSE(document_.SaveAs());
  EXPECT_EQ(ui_.Errors.size(), 1u);
  EXPECT_EQ(document_.CurrentFileName(), kExample);
  EXPECT_EQ(Logged().size(), logged);

  // A write-protected file keeps its content.
  const std::string protectedFile = work_.File("protected.kvl");
  WriteBytes(protectedFile, "old");
  std::filesystem::permissions(protectedFile, std::filesystem::perms::owner_read);
  ui_.SaveAnswers = {protectedFile};
  EXPECT_FALSE(document_.SaveAs());
  EXPECT_EQ(ui_.Errors.size(), 2u);
  EXPECT_EQ(ReadBytes(protectedFile), "old");
  EXPECT_EQ(document_.CurrentFileName(), kExample);
  EXPECT_EQ(Logged().size(), logged);
}

TEST_F(DocumentTest, SaveQuestionForAnUnnamedDocument) {
  AddAssumption("p");
  EXPECT_EQ(document_.HasUnsavedChanges(), true);

  // Cancel: the document stays, New does not go ahead.
  ui_.Answers = {TDocumentUi::TAnswer::Cancel};
  EXPECT_FALSE(document_.New());
  EXPECT_EQ(document_.Theory().Assumptions.size(), 1u);
  EXPECT_EQ(ui_.Questions.back(), "Do you want to save the changes?");

  // Yes, then the save dialog cancelled: still nothing.
  ui_.Answers = {TDocumentUi::TAnswer::Yes};
  ui_.SaveAnswers = {std::nullopt};
  EXPECT_FALSE(document_.New());
  EXPECT_EQ(document_.Theory().Assumptions.size(), 1u);

  // Yes with a name: saved (not logged), then the new document.
  const std::string target = work_.File("kept.kvl");
  ui_.Answers = {TDocumentUi::TAnswer::Yes};
  ui_.SaveAnswers = {target};
  const std::string text = TheoryBytes();
  EXPECT_TRUE(document_.New());
  EXPECT_EQ(ReadBytes(target), text);
  EXPECT_EQ(document_.CurrentFileName(), "");
  EXPECT_TRUE(document_.Theory().Assumptions.empty());
  EXPECT_EQ(Logged(), (std::vector<std::string>{"", "[10:00:00]  New file"}));
}

TEST_F(DocumentTest, SaveQuestionForANamedDocument) {
  const std::string file = work_.File("named.kvl");
  AddAssumption("p");
  ui_.SaveAnswers = {file};
  ASSERT_TRUE(document_.SaveAs());
  AddAssumption("q");

  // No: goes ahead without saving.
  const std::string saved = ReadBytes(file);
  ui_.Answers = {TDocumentUi::TAnswer::No};
  EXPECT_TRUE(document_.CanClose());
  EXPECT_EQ(ui_.Questions.back(), "Do you want to save the changes in named.kvl?");
  EXPECT_EQ(ReadBytes(file), saved);

  // Yes: saves to the file and goes ahead.
  ui_.Answers = {TDocumentUi::TAnswer::Yes};
  EXPECT_TRUE(document_.CanClose());
  EXPECT_EQ(ReadBytes(file), TheoryBytes());
  EXPECT_EQ(document_.HasUnsavedChanges(), false);
  EXPECT_TRUE(document_.CanClose());  // unchanged now: no question
  EXPECT_EQ(ui_.Questions.size(), 2u);
}

TEST_F(DocumentTest, YesWhoseSaveFailsDoesNotThrowTheChangesAway) {
  AddAssumption("p");
  WriteBytes(work_.File("plain"), "x");
  ui_.Answers = {TDocumentUi::TAnswer::Yes};
  ui_.SaveAnswers = {work_.File("plain") + "/x.kvl"};
  EXPECT_FALSE(document_.CanClose());
  EXPECT_EQ(ui_.Errors.size(), 1u);
  EXPECT_EQ(document_.Theory().Assumptions.size(), 1u);
}

TEST_F(DocumentTest, YesWhoseSaveOfANamedFileFailsStaysAndKeepsTheFile) {
  const std::string file = work_.File("named.kvl");
  AddAssumption("p");
  ui_.SaveAnswers = {file};
  ASSERT_TRUE(document_.SaveAs());
  AddAssumption("q");
  const std::string saved = ReadBytes(file);
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  ui_.Answers = {TDocumentUi::TAnswer::Yes};
  EXPECT_FALSE(document_.CanClose());
  EXPECT_EQ(ui_.Questions.back(), "Do you want to save the changes in named.kvl?");
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_EQ(ui_.Errors[0], "cannot write " + file + ": Permission denied");
  EXPECT_EQ(ReadBytes(file), saved);
  EXPECT_EQ(document_.Theory().Assumptions.size(), 2u);
  EXPECT_EQ(document_.CurrentFileName(), file);
}

TEST_F(DocumentTest, SentencesTheFileCannotHoldAreNamedAtOpenAndSaveRefusesThem) {
  const std::string file = work_.File("tag.kvl");
  const std::string content =
      "<KORVEL><THEORY><THEORY><SENTENCE><ELEMENTARYSENTENCE>p<THEORY>q</ELEMENTARYSENTENCE></SENTENCE>"
      "<SENTENCE><ELEMENTARYSENTENCE>r</ELEMENTARYSENTENCE></SENTENCE></THEORY><ISSUES></ISSUES></KORVEL>";
  WriteBytes(file, content);
  ui_.OpenAnswers = {file};
  ASSERT_TRUE(document_.Open());
  // The theory is shown as read, and opening says what cannot be stored.
  ASSERT_EQ(document_.Theory().Assumptions.size(), 2u);
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_EQ(ui_.Errors[0].find("These sentences cannot be stored in a theory file"), 0u);
  EXPECT_NE(ui_.Errors[0].find("\np<THEORY>q"), std::string::npos);
  EXPECT_EQ(ui_.Errors[0], document_.StorageFault());

  // Save and Save as refuse with that message and write nothing.
  const size_t logged = Logged().size();
  EXPECT_FALSE(document_.Save());
  EXPECT_EQ(ReadBytes(file), content);
  ui_.SaveAnswers = {work_.File("copy.kvl")};
  EXPECT_FALSE(document_.SaveAs());
  EXPECT_FALSE(std::filesystem::exists(work_.File("copy.kvl")));
  ASSERT_EQ(ui_.Errors.size(), 3u);
  EXPECT_EQ(ui_.Errors[1], ui_.Errors[0]);
  EXPECT_EQ(ui_.Errors[2], ui_.Errors[0]);
  EXPECT_EQ(Logged().size(), logged);

  // A change while the sentence is there says again that it is lost ...
  AddAssumption("s");
  ASSERT_EQ(ui_.Errors.size(), 4u);
  EXPECT_EQ(ui_.Errors[3], ui_.Errors[0]);
  // ... and what is left can be saved, and reads back as saved.
  EXPECT_EQ(document_.StorageFault(), "");
  ASSERT_TRUE(document_.Save());
  EXPECT_EQ(ReadBytes(file), TheoryBytes());
  EXPECT_EQ(document_.HasUnsavedChanges(), false);
}

TEST_F(DocumentTest, AnEndlessFileOfNulsOpensAtOnceAsAnEmptyTheory) {
  // The text ends at the first NUL, so reading stops there, for the open and
  // for the comparison behind the save question.
  ui_.OpenAnswers = {"/dev/zero"};
  ASSERT_TRUE(document_.Open());
  EXPECT_TRUE(document_.Theory().Assumptions.empty());
  EXPECT_EQ(document_.HasUnsavedChanges(), true);
  EXPECT_TRUE(ui_.Errors.empty());
}

TEST_F(DocumentTest, UnsavedChangesIgnoreLineEndsAndSurroundingBlanks) {
  const std::string file = work_.File("lf.kvl");
  std::string text = ReadBytes(kExample);
  std::string withLf;
  for (char c : text)
    if (c != '\r') withLf += c;
  WriteBytes(file, "\n\n  " + withLf + "\n \n");
  ui_.OpenAnswers = {file};
  ASSERT_TRUE(document_.Open());
  EXPECT_EQ(document_.HasUnsavedChanges(), false);

  // A file written elsewhere in another form counts as changed at once.
  WriteBytes(file, "<KORVEL>\r\n<THEORY>\r\n</THEORY>\r\n</KORVEL>\r\n");
  ui_.OpenAnswers = {file};
  ui_.Answers = {TDocumentUi::TAnswer::No};
  ASSERT_TRUE(document_.Open());
  EXPECT_EQ(document_.HasUnsavedChanges(), true);
}

TEST_F(DocumentTest, AVanishedFileStopsTheCommandWithAnError) {
  const std::string file = work_.File("gone.kvl");
  WriteBytes(file, ReadBytes(kExample));
  ui_.OpenAnswers = {file};
  ASSERT_TRUE(document_.Open());
  std::filesystem::remove(file);
  EXPECT_FALSE(document_.New());
  EXPECT_EQ(ui_.Errors.size(), 1u);
  EXPECT_TRUE(ui_.Questions.empty());
  EXPECT_EQ(document_.CurrentFileName(), file);
  EXPECT_FALSE(document_.Theory().Assumptions.empty());
}

TEST_F(DocumentTest, ScratchFileMovesToTheFallbackWhenTheWorkingDirectoryRefusesIt) {
  std::filesystem::remove(work_.File("~tmp.kvl"));
  std::filesystem::create_directory(work_.File("~tmp.kvl"));  // cannot be written over
  AddAssumption("p");
  EXPECT_TRUE(ui_.Errors.empty());
  EXPECT_EQ(document_.ScratchFileName(), work_.File("fallback") + "/~tmp.kvl");
  EXPECT_EQ(ReadBytes(document_.ScratchFileName()), TheoryBytes());
  AddAssumption("q");
  EXPECT_EQ(document_.Theory().Assumptions.size(), 2u);
  EXPECT_EQ(ReadBytes(document_.ScratchFileName()), TheoryBytes());
}

TEST_F(DocumentTest, WithoutAnyScratchLocationEditingGoesOnInMemory) {
  std::filesystem::remove(work_.File("~tmp.kvl"));
  std::filesystem::create_directory(work_.File("~tmp.kvl"));
  WriteBytes(work_.File("plain"), "x");
  document_.SetScratchFallbackDirectory(work_.File("plain") + "/fallback");
  AddAssumption("p");
  AddAssumption("q");
  EXPECT_EQ(ui_.Errors.size(), 1u);  // told once, not at every change
  EXPECT_EQ(document_.Theory().Assumptions.size(), 2u);
  EXPECT_NE(document_.TheoryFile().Text.find("q"), std::string::npos);
}

TEST_F(DocumentTest, RefreshTurnsContainedSentencesIntoLoggedIssues) {
  const std::string file = work_.File("conditional.kvl");
  WriteBytes(file,
             "<KORVEL>\r\n<THEORY>\r\n<SENTENCE>\r\n<CONDITIONAL>\r\n<ANTECEDENT>\r\n<SENTENCE>\r\n"
             "<ELEMENTARYSENTENCE>\r\np\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n</ANTECEDENT>\r\n"
             "<CONSEQUENT>\r\n<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\nq\r\n</ELEMENTARYSENTENCE>\r\n"
             "</SENTENCE>\r\n</CONSEQUENT>\r\n</CONDITIONAL>\r\n</SENTENCE>\r\n</THEORY>\r\n"
             "</KORVEL>\r\n");
  ui_.OpenAnswers = {file};
  ASSERT_TRUE(document_.Open());
  EXPECT_EQ(Logged(), (std::vector<std::string>{"[10:00:00]  Add issue: q", "[10:00:00]  Add issue: p",
                                                "", "[10:00:00]  Open file:" + file}));
  // An option toggle re-reads the scratch file, which does not hold them yet.
  document_.Options.ParseSentences = false;
  ASSERT_TRUE(document_.RefreshFromScratch());
  EXPECT_EQ(Logged().size(), 6u);
  // A commit writes them; from then on they are read as issues.
  ASSERT_TRUE(document_.CommitTheory());
  EXPECT_EQ(Logged().size(), 6u);
}

TEST_F(DocumentTest, ShowInterpretationRejectsIndicesOutOfRange) {
  struct TShown : TDocumentListener {
    int Count = 0;
    void InterpretationShown() override { ++Count; }
  } shown;
  document_.AddListener(shown);
  document_.ShowInterpretation(0);
  document_.ShowInterpretation(-1);
  document_.RemoveListener(shown);
  EXPECT_EQ(shown.Count, 0);
  EXPECT_EQ(document_.ShownInterpretation(), -1);
}

}  // namespace
