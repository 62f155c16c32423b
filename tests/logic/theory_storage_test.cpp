// Texts the theory file cannot hold: the storage check, and the file reader's
// and writer's handling of hostile sources (endless input, too much input,
// symbolic links, private files).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "logic/parser.h"
#include "logic/theory_storage.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

TNormalizedTheory NormalizeText(const std::string& content, bool parse = true) {
  TKorvelFile file;
  file.LoadFromText(content);
  return ReadAndNormalize(file, parse);
}

std::string Texts(const TListOfKorvelSentences& list) {
  std::string out;
  for (const auto& s : list) out += "[" + s->Text + "]";
  return out;
}

std::string Block(const std::string& text) {
  return "<SENTENCE><ELEMENTARYSENTENCE>" + text + "</ELEMENTARYSENTENCE></SENTENCE>";
}

TEST(TheoryStorage, ATagInATextIsNamedInsteadOfDroppedSilently) {
  const std::string file =
      "<KORVEL><THEORY><THEORY>" + Block("p<THEORY>q") + Block("r") + "</THEORY><ISSUES></ISSUES></KORVEL>";
  const TNormalizedTheory first = NormalizeText(file);
  ASSERT_EQ(Texts(first.Theory.Assumptions), "[p<THEORY>q][r]");
  // The normal form loses the sentence on the next read ...
  EXPECT_EQ(Texts(NormalizeText(first.File.FileBytes()).Theory.Assumptions), "[r]");
  // ... so the check names it, and only it.
  const TStorageCheck check = CheckTheoryStorage(first.Theory, first.File, true);
  EXPECT_EQ(check.Unstorable, Strings{"p<THEORY>q"});
  EXPECT_NE(check.Message().find("\np<THEORY>q"), std::string::npos);
  EXPECT_EQ(check.Message().find("\nr"), std::string::npos);
}

TEST(TheoryStorage, EveryTagInEitherSectionIsNamedOrReadsBackTheSame) {
  const Strings tags = {"<KORVEL>",     "</KORVEL>",          "<THEORY>",         "</THEORY>",
                        "<ISSUES>",     "</ISSUES>",          "<SENTENCE>",       "</SENTENCE>",
                        "<ELEMENTARYSENTENCE>", "</ELEMENTARYSENTENCE>", "<DIALECTICALNEGATION>",
                        "</DIALECTICALNEGATION>", "<CONDITIONAL>", "</CONDITIONAL>", "<ANTECEDENT>",
                        "</ANTECEDENT>", "<CONSEQUENT>", "</CONSEQUENT>"};
  Strings named;
  for (const std::string& tag : tags) {
    for (bool asIssue : {false, true}) {
      SCOPED_TRACE(tag + (asIssue ? " in an issue" : " in an assumption"));
      TKorvelTheory theory;
      SentencePtr before = MakeElementarySentence("a"), odd = MakeElementarySentence("one" + tag + "two");
      SentencePtr after = MakeElementarySentence("z");
      for (const auto& s : {before, odd, after}) {
        (asIssue ? s->IsIssue : s->IsAssumption) = true;
        (asIssue ? theory.Issues : theory.Assumptions).push_back(s);
      }
      TKorvelFile written;
      WriteTheory(theory, written);
      const TStorageCheck check = CheckTheoryStorage(theory, written, true);
      const TNormalizedTheory back = NormalizeText(written.FileBytes());
      const std::string expected = "[a][one" + tag + "two][z]";
      const std::string got = Texts(asIssue ? back.Theory.Issues : back.Theory.Assumptions);
      if (check.Stored()) {
        EXPECT_EQ(got, expected);
        EXPECT_EQ(back.File.Text, written.Text);
      } else {
        EXPECT_EQ(check.Unstorable, Strings{"one" + tag + "two"});
        named.push_back(tag);
      }
    }
  }
  // The reader finds the other tags only where it looks for them; these three
  // cut a text short or move where the file or its theory starts.
  EXPECT_EQ(named, (Strings{"</KORVEL>", "</KORVEL>", "<THEORY>", "<THEORY>", "</ELEMENTARYSENTENCE>",
                            "</ELEMENTARYSENTENCE>"}));
}

TEST(TheoryStorage, ATextThatMovesTheNextSectionIsNamedNotTheSentencesItHides) {
  // "</THEORY>" in an assumption is harmless alone, but the issues are then
  // looked for after it, inside the text, where the first one cannot be read,
  // and the real ones are lost.
  TKorvelTheory theory;
  SentencePtr assumption = MakeElementarySentence("one</THEORY><ISSUES><SENTENCE>two");
  SentencePtr issue = MakeElementarySentence("i");
  assumption->IsAssumption = true;
  issue->IsIssue = true;
  theory.Assumptions = {assumption};
  theory.Issues = {issue};
  TKorvelFile written;
  WriteTheory(theory, written);
  EXPECT_EQ(Texts(NormalizeText(written.FileBytes()).Theory.Issues), "");
  EXPECT_EQ(CheckTheoryStorage(theory, written, true).Unstorable, Strings{"one</THEORY><ISSUES><SENTENCE>two"});
}

TEST(TheoryStorage, TextsChangedOnlyByParsingOrRolesAreStored) {
  TKorvelTheory theory;
  // Typed, not read yet: parsing makes the negation x(a) of it.
  SentencePtr typed = MakeElementarySentence("x( a )");
  typed->IsAssumption = true;
  // An issue with an assumption's text is read as the assumption only.
  SentencePtr assumption = MakeElementarySentence("p"), issue = MakeElementarySentence("p");
  assumption->IsAssumption = true;
  issue->IsIssue = true;
  theory.Assumptions = {typed, assumption};
  theory.Issues = {issue};
  TKorvelFile written;
  WriteTheory(theory, written);
  EXPECT_TRUE(CheckTheoryStorage(theory, written, true).Stored());
  EXPECT_TRUE(CheckTheoryStorage(theory, written, false).Stored());
}

// A stream of one byte repeated without end, which counts what was taken.
class TEndlessBuffer : public std::streambuf {
 public:
  explicit TEndlessBuffer(char byte) : block_(4096, byte) {}
  size_t Taken() const { return taken_; }

 protected:
  int_type underflow() override {
    taken_ += block_.size();
    setg(block_.data(), block_.data(), block_.data() + block_.size());
    return traits_type::to_int_type(block_[0]);
  }

 private:
  std::string block_;
  size_t taken_ = 0;
};

TEST(TheoryFileReading, EndlessInputStopsAtTheFirstNulOrAtTheLimit) {
  TEndlessBuffer zeros('\0');
  std::istream zeroStream(&zeros);
  TKorvelFile file;
  file.Text = "kept";
  file.LoadFromStream(zeroStream, "zeros");
  EXPECT_EQ(file.Text, "kept");  // no KORVEL block before the NUL
  EXPECT_LE(zeros.Taken(), size_t{1} << 17);

  TEndlessBuffer letters('a');
  std::istream letterStream(&letters);
  try {
    file.LoadFromStream(letterStream, "letters", size_t{1} << 20);
    FAIL() << "an endless text was taken";
  } catch (const TKorvelFileError& error) {
    EXPECT_EQ(std::string(error.what()), "cannot read letters: larger than 1 MiB, the largest theory file read");
    EXPECT_EQ(error.Path, "letters");
  }
  EXPECT_LE(letters.Taken(), (size_t{1} << 20) + (size_t{1} << 17));
  EXPECT_EQ(file.Text, "kept");

  // Exactly at the limit is read.
  std::istringstream exact("<KORVEL></KORVEL>");
  file.LoadFromStream(exact, "exact", 17);
  EXPECT_EQ(file.Text, "<KORVEL></KORVEL>\r\n");
}

class TTheoryFileSaving : public ::testing::Test {
 protected:
  TTheoryFileSaving() { fs::create_directories(dir_); }
  ~TTheoryFileSaving() override { fs::remove_all(dir_); }
  static std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path dir_ = fs::temp_directory_path() / ("pelmora-save-test-" + std::to_string(::getpid()));
};

TEST_F(TTheoryFileSaving, WritesThroughSymbolicLinksAndKeepsPermissions) {
  TKorvelFile file;
  file.Text = "<KORVEL>\r\n</KORVEL>\r\n";

  // A private file stays private.
  const fs::path privateFile = dir_ / "private.kvl";
  std::ofstream(privateFile) << "old";
  fs::permissions(privateFile, fs::perms::owner_read | fs::perms::owner_write);
  file.SaveToFile(privateFile.string());
  EXPECT_EQ(Bytes(privateFile), file.FileBytes());
  EXPECT_EQ(fs::status(privateFile).permissions() & fs::perms::mask,
            fs::perms::owner_read | fs::perms::owner_write);

  // A link (relative, through a second link) stays a link; its target changes.
  fs::create_directories(dir_ / "real");
  const fs::path target = dir_ / "real" / "theory.kvl";
  std::ofstream(target) << "old";
  fs::create_symlink("real/theory.kvl", dir_ / "inner.kvl");
  fs::create_symlink(dir_ / "inner.kvl", dir_ / "outer.kvl");
  file.SaveToFile((dir_ / "outer.kvl").string());
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir_ / "outer.kvl")));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir_ / "inner.kvl")));
  EXPECT_EQ(Bytes(target), file.FileBytes());

  // A link to a file not there yet creates that file.
  fs::create_symlink("real/new.kvl", dir_ / "dangling.kvl");
  file.SaveToFile((dir_ / "dangling.kvl").string());
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir_ / "dangling.kvl")));
  EXPECT_EQ(Bytes(dir_ / "real" / "new.kvl"), file.FileBytes());

  // A loop of links is an error, not a hang.
  fs::create_symlink("loop-b", dir_ / "loop-a");
  fs::create_symlink("loop-a", dir_ / "loop-b");
  EXPECT_THROW(file.SaveToFile((dir_ / "loop-a").string()), TKorvelFileError);
  // Nothing is left beside the targets.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_ / "real")) ++entries;
  EXPECT_EQ(entries, 2u);
}

}  // namespace
