#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "logic/parser.h"
#include "logic/theory.h"
#include "tests/logic/file_size_limit.h"
#include "tests/logic/sentence_shape.h"

namespace {

namespace fs = std::filesystem;

// Lines joined with CR LF after each, as the writer produces them.
std::string CrLf(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* line : lines) out += std::string(line) + "\r\n";
  return out;
}

std::string Block(const std::string& text) {
  return "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\n" + text + "\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n";
}

TKorvelTheory Read(const std::string& content, bool parse = true) {
  TKorvelFile file;
  file.LoadFromText(content);
  TKorvelTheory theory;
  TakeTheoryText(theory, file);
  ReadTheory(theory, parse);
  return theory;
}

std::string Normalize(const std::string& content, bool parse = true) {
  TKorvelFile file;
  file.LoadFromText(content);
  return ReadAndNormalize(file, parse).File.FileBytes();
}

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string kEmptyTheory =
    CrLf({"<KORVEL>", "<THEORY>", "", "</THEORY>", "<ISSUES>", "", "</ISSUES>", "</KORVEL>", ""});

TEST(TheoryWriter, EmptyTheoryLayout) {
  TKorvelTheory theory;
  TKorvelFile file;
  WriteTheory(theory, file);
  EXPECT_EQ(file.FileBytes(), kEmptyTheory);
  EXPECT_EQ(Normalize(kEmptyTheory), kEmptyTheory);
  EXPECT_EQ(Normalize("<KORVEL>\r\n</KORVEL>\r\n"), kEmptyTheory);
}

TEST(TheoryWriter, ReproducesTheSampleFileByteForByte) {
  const std::string sample = ReadFileBytes(fs::path(PELMORA_TEST_DATA_DIR) / "example.kvl");
  EXPECT_EQ(Normalize(sample), sample);
  TKorvelTheory theory = Read(sample);
  EXPECT_EQ(Texts(theory.Assumptions), "a | if(a, b)");
  EXPECT_EQ(Texts(theory.Issues), "b");
}

TEST(TheoryWriter, BlocksOfEveryKind) {
  auto unsetConditional = std::make_shared<TKorvelConditional>();
  unsetConditional->Antecedents.push_back(MakeElementarySentence("a"));
  std::string out = WriteSentence("", MakeDialecticalNegation(unsetConditional));
  EXPECT_EQ(out, CrLf({"<SENTENCE>", "<DIALECTICALNEGATION>", "<SENTENCE>", "<CONDITIONAL>",
                       "<ANTECEDENT>", "<SENTENCE>", "<ELEMENTARYSENTENCE>", "a",
                       "</ELEMENTARYSENTENCE>", "</SENTENCE>", "</ANTECEDENT>", "<CONSEQUENT>",
                       "<SENTENCE>", "</SENTENCE>", "</CONSEQUENT>", "</CONDITIONAL>",
                       "</SENTENCE>", "</DIALECTICALNEGATION>", "</SENTENCE>"}));
  // The unset part's block cannot be read back, so neither can the whole.
  EXPECT_FALSE(ReadSentence(out).Success);
}

TEST(TheoryWriter, DuplicatesAndClearedFlags) {
  TKorvelTheory theory;
  for (const char* text : {"p", "q", "p"}) {
    auto s = MakeElementarySentence(text);
    s->IsAssumption = true;
    theory.Assumptions.push_back(s);
  }
  theory.Assumptions[1]->IsAssumption = false;  // left out of the file
  auto issue = MakeElementarySentence("r");
  issue->IsIssue = true;
  theory.Issues = {issue, issue};
  TKorvelFile file;
  WriteTheory(theory, file);
  EXPECT_EQ(Texts(theory.Assumptions), "p | q");  // the later duplicate is deleted
  EXPECT_EQ(Texts(theory.Issues), "r");
  EXPECT_EQ(file.Text, "<KORVEL>\r\n<THEORY>\r\n\r\n" + Block("p") +
                           "\r\n</THEORY>\r\n<ISSUES>\r\n\r\n" + Block("r") +
                           "\r\n</ISSUES>\r\n</KORVEL>\r\n");
}

TEST(TheoryReader, LenientAboutLinesBlanksAndSurroundings) {
  const std::string crlf = CrLf({"junk <KORVEL>", "<THEORY>", "<SENTENCE>", "<ELEMENTARYSENTENCE>",
                                 "  p  ", "</ELEMENTARYSENTENCE>", "</SENTENCE>", "</THEORY>",
                                 "<ISSUES>", "</ISSUES>", "</KORVEL> trailing", "<KORVEL>",
                                 "<THEORY>", "</THEORY>", "</KORVEL>"});
  std::string lf = crlf, cr = crlf, oneLine = crlf;
  std::erase(lf, '\r');
  std::erase(cr, '\n');
  std::erase(oneLine, '\n');
  std::erase(oneLine, '\r');
  for (const std::string& content : {crlf, lf, cr, oneLine}) {
    TKorvelTheory theory = Read(content);
    EXPECT_EQ(Texts(theory.Assumptions), "p");
    EXPECT_TRUE(theory.Issues.empty());
  }
  EXPECT_EQ(Normalize(lf), Normalize(crlf));
}

TEST(TheoryReader, SectionsAndFlags) {
  // A sentence in both sections is an assumption only; repeated texts once.
  TKorvelTheory theory = Read("<KORVEL><THEORY>" + Block("p") + Block("p") +
                              "</THEORY><ISSUES>" + Block("p") + Block("q") + Block("q") +
                              "</ISSUES></KORVEL>");
  EXPECT_EQ(Texts(theory.Assumptions), "p");
  EXPECT_EQ(Texts(theory.Issues), "q");
  EXPECT_TRUE(theory.Assumptions[0]->IsAssumption);
  EXPECT_FALSE(theory.Assumptions[0]->IsIssue);
  EXPECT_TRUE(theory.Issues[0]->IsIssue);
  EXPECT_FALSE(theory.Issues[0]->IsAssumption);

  // Missing end tags: no assumptions without "</THEORY>", no issues without "</ISSUES>".
  theory = Read("<KORVEL><THEORY>" + Block("p") + "<ISSUES>" + Block("q") + "</ISSUES></KORVEL>");
  EXPECT_TRUE(theory.Assumptions.empty());
  EXPECT_EQ(Texts(theory.Issues), "q");
  theory = Read("<KORVEL><THEORY>" + Block("p") + "</THEORY><ISSUES>" + Block("q") + "</KORVEL>");
  EXPECT_EQ(Texts(theory.Assumptions), "p");
  EXPECT_TRUE(theory.Issues.empty());
}

TEST(TheoryReader, UnreadableSentenceEndsItsSectionOnly) {
  const std::string emptyAntecedent =
      "<SENTENCE><CONDITIONAL><ANTECEDENT></ANTECEDENT><CONSEQUENT>" + Block("c") +
      "</CONSEQUENT></CONDITIONAL></SENTENCE>";
  TKorvelTheory theory = Read("<KORVEL><THEORY>" + Block("a") + emptyAntecedent + Block("b") +
                              "</THEORY><ISSUES>" + Block("i") + "</ISSUES></KORVEL>");
  EXPECT_EQ(Texts(theory.Assumptions), "a");
  EXPECT_EQ(Texts(theory.Issues), "i");

  // Kinds' closing tags must be there; "</SENTENCE>" may be missing.
  EXPECT_FALSE(ReadSentence("<SENTENCE><ELEMENTARYSENTENCE>p</SENTENCE>").Success);
  EXPECT_FALSE(ReadSentence("<SENTENCE><UNKNOWN>p</UNKNOWN></SENTENCE>").Success);
  EXPECT_FALSE(ReadSentence("<SENTENCE><DIALECTICALNEGATION>" + Block("p") + "</SENTENCE>").Success);
  auto read = ReadSentence("<SENTENCE><ELEMENTARYSENTENCE>p</ELEMENTARYSENTENCE>" + Block("q"));
  ASSERT_TRUE(read.Success);
  EXPECT_EQ(read.Sentence->Text, "p");
  EXPECT_EQ(read.Rest, "");  // the next "</SENTENCE>" closed it, skipping q
}

TEST(TheoryReader, CompoundBlocksAndTheParseOption) {
  const std::string conditional =
      "<SENTENCE><CONDITIONAL><ANTECEDENT>" + Block("a") + Block("x(b)") +
      "</ANTECEDENT><CONSEQUENT><SENTENCE><DIALECTICALNEGATION>" + Block("c") +
      "</DIALECTICALNEGATION></SENTENCE></CONSEQUENT></CONDITIONAL></SENTENCE>";
  auto parsed = ReadSentence(conditional, true);
  ASSERT_TRUE(parsed.Success);
  EXPECT_EQ(Shape(parsed.Sentence), "C(E(a); N(E(b)); -> N(E(c)))");
  auto plain = ReadSentence(conditional, false);
  ASSERT_TRUE(plain.Success);
  EXPECT_EQ(Shape(plain.Sentence), "C(E(a); E(x(b)); -> N(E(c)))");
  EXPECT_EQ(plain.Sentence->Text, parsed.Sentence->Text);

  // An elementary x(a) is written as elementary and comes back as a negation.
  TKorvelTheory theory;
  auto s = MakeElementarySentence("x(a)");
  s->IsAssumption = true;
  theory.Assumptions.push_back(s);
  TKorvelFile file;
  WriteTheory(theory, file);
  EXPECT_EQ(Shape(Read(file.Text, true).Assumptions[0]), "N(E(a))");
  EXPECT_EQ(Shape(Read(file.Text, false).Assumptions[0]), "E(x(a))");
}

TEST(TheoryReader, ContainedAssumptionsAreFlaggedOnce) {
  // a, then if(a, b): the antecedent a of the conditional has the text of an
  // earlier collected sentence and stays unflagged; if(a, b)'s own a, read
  // before an assumption a, is flagged.
  TKorvelTheory theory = Read(Normalize("<KORVEL><THEORY>" + Block("a") + Block("if(a, b)") +
                                        "</THEORY></KORVEL>"));
  auto conditional = As<TKorvelConditional>(theory.Assumptions[1]);
  ASSERT_TRUE(conditional);
  EXPECT_FALSE(conditional->Antecedents[0]->IsAssumption);
  EXPECT_FALSE(conditional->Consequent->IsAssumption);

  theory = Read(Normalize("<KORVEL><THEORY>" + Block("if(a, b)") + Block("a") + "</THEORY></KORVEL>"));
  conditional = As<TKorvelConditional>(theory.Assumptions[0]);
  ASSERT_TRUE(conditional);
  EXPECT_TRUE(conditional->Antecedents[0]->IsAssumption);
}

// Random assumptions whose parts share texts with each other and with other
// assumptions: exactly the first part collected with each assumption text
// is flagged, every other part keeps its flag.
TEST(TheoryReader, ContainedAssumptionsAreTheFirstCollectedOfEachText) {
  std::mt19937 random(3);
  const std::vector<std::string> texts = {"a", "b", "x(a)", "if(a, b)", "c"};
  for (int round = 0; round < 200; ++round) {
    TListOfKorvelSentences assumptions;
    for (size_t i = 1 + random() % 6; i > 0; --i) {
      const std::string& text = texts[random() % texts.size()];
      // A conditional or negation of the texts, or the text unparsed.
      const std::string sentence = random() % 3 == 0 ? "if(" + text + ", " + texts[random() % texts.size()] + ")"
                                   : random() % 2 == 0 ? "x(" + text + ")"
                                                       : text;
      assumptions.push_back(random() % 4 == 0 ? MakeElementarySentence(sentence) : ParseSentence(sentence));
    }
    std::vector<TKorvelSentence*> all, stack;
    for (const SentencePtr& a : assumptions)
      WalkParts(a.get(), stack, [&](TKorvelSentence& part) { all.push_back(&part); });
    std::vector<bool> before;
    for (const TKorvelSentence* part : all) before.push_back(part->IsAssumption);

    MarkContainedAssumptions(assumptions);

    std::set<std::string> assumptionTexts;
    for (const SentencePtr& a : assumptions) assumptionTexts.insert(a->Text);
    TPartsCollector collector;
    for (const SentencePtr& a : assumptions) collector.Collect(a);
    std::set<const TKorvelSentence*> first;
    for (const SentencePtr& part : collector.Parts())
      if (assumptionTexts.count(part->Text) != 0) first.insert(part.get());
    for (size_t i = 0; i < all.size(); ++i)
      EXPECT_EQ(all[i]->IsAssumption, before[i] || first.count(all[i]) != 0) << round << ": " << all[i]->Text;
  }
}

TEST(TheoryReader, BinaryGarbageAndNulBytes) {
  std::string garbage;
  for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  EXPECT_NO_THROW(Normalize(garbage));
  // A NUL ends the text: the block after it is not seen.
  std::string withNul = "<KORVEL><THEORY>" + Block("p") + "</THEORY></KORVEL>";
  withNul.insert(10, 1, '\0');
  EXPECT_EQ(Normalize(withNul), kEmptyTheory);
}

TEST(TheoryReader, HostileSizesStayLinear) {
  // 100,000 sentences read and written back in one piece.
  std::string content = "<KORVEL><THEORY>";
  for (int i = 0; i < 100000; ++i) content += Block("s" + std::to_string(i));
  content += "</THEORY><ISSUES></ISSUES></KORVEL>";
  TKorvelTheory theory = Read(content);
  ASSERT_EQ(theory.Assumptions.size(), 100000u);
  EXPECT_EQ(theory.Assumptions.back()->Text, "s99999");

  // A 10 MB line as one elementary text.
  std::string longText(10'000'000, 'w');
  theory = Read("<KORVEL><THEORY>" + Block(longText) + "</THEORY></KORVEL>");
  ASSERT_EQ(theory.Assumptions.size(), 1u);
  EXPECT_EQ(theory.Assumptions[0]->Text.size(), longText.size());
}

TEST(TheoryReader, DeeplyNestedBlocksAreUnreadableNotFatal) {
  std::string open, close;
  for (int i = 0; i < 100000; ++i) {
    open += "<SENTENCE><DIALECTICALNEGATION>";
    close += "</DIALECTICALNEGATION></SENTENCE>";
  }
  TKorvelTheory theory = Read("<KORVEL><THEORY>" + open + Block("p") + close + Block("q") +
                              "</THEORY><ISSUES>" + Block("i") + "</ISSUES></KORVEL>");
  EXPECT_TRUE(theory.Assumptions.empty());
  EXPECT_EQ(Texts(theory.Issues), "i");

  // Within the limit the nesting is read.
  std::string fewOpen, fewClose;
  for (int i = 0; i < 50; ++i) {
    fewOpen += "<SENTENCE><DIALECTICALNEGATION>";
    fewClose += "</DIALECTICALNEGATION></SENTENCE>";
  }
  theory = Read("<KORVEL><THEORY>" + fewOpen + Block("p") + fewClose + "</THEORY></KORVEL>");
  ASSERT_EQ(theory.Assumptions.size(), 1u);
  EXPECT_EQ(theory.Assumptions[0]->Text.size(), 50u * 3 + 1);

  // A nested text parsed inside nested blocks stays within the depth that
  // reads again: what was read survives being written and read back.
  std::string blockOpen, blockClose, nestedText;
  for (int i = 0; i < 600; ++i) {
    blockOpen += "<SENTENCE><DIALECTICALNEGATION>";
    blockClose += "</DIALECTICALNEGATION></SENTENCE>";
    nestedText += "x(";
  }
  nestedText += "p" + std::string(600, ')');
  const std::string file = Normalize("<KORVEL><THEORY>" + blockOpen + Block(nestedText) + blockClose +
                                     Block("after") + "</THEORY></KORVEL>");
  theory = Read(file);
  ASSERT_EQ(theory.Assumptions.size(), 2u);
  EXPECT_EQ(theory.Assumptions[1]->Text, "after");
  EXPECT_EQ(Normalize(file), file);
}

TEST(TheoryFiles, LoadAndSaveReportErrorsAndKeepOldFiles) {
  const fs::path dir = fs::temp_directory_path() / ("pelmora-file-test-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  TKorvelFile file;
  EXPECT_THROW(file.LoadFromFile((dir / "missing.kvl").string()), TKorvelFileError);
  EXPECT_THROW(file.LoadFromFile(dir.string()), TKorvelFileError);
  try {
    file.LoadFromFile((dir / "missing.kvl").string());
  } catch (const TKorvelFileError& e) {
    EXPECT_NE(std::string(e.what()).find("missing.kvl"), std::string::npos);
  }

  file.Text = "<KORVEL>\r\n</KORVEL>\r\n";
  const fs::path path = dir / "saved.kvl";
  file.SaveToFile(path.string());
  EXPECT_EQ(ReadFileBytes(path), file.Text + "\r\n");
  EXPECT_THROW(file.SaveToFile((dir / "no-such-dir" / "x.kvl").string()), TKorvelFileError);

  // A file without a theory block keeps the holder's text.
  std::ofstream(dir / "plain.txt") << "hello";
  TKorvelFile holder;
  holder.Text = "kept";
  holder.LoadFromFile((dir / "plain.txt").string());
  EXPECT_EQ(holder.Text, "kept");
  fs::remove_all(dir);
}

// A write that fails half way (a full disk) must not reach the target: the old
// file stays byte for byte, the error names the reason, no stray file is left.
TEST(TheoryFiles, FailingWriteKeepsTheOldFile) {
  const fs::path dir = fs::temp_directory_path() / ("pelmora-full-disk-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path path = dir / "keep.kvl";
  const std::string old = CrLf({"<KORVEL>", "<THEORY>", "", "</THEORY>", "<ISSUES>", "", "</ISSUES>", "</KORVEL>", ""});
  std::ofstream(path, std::ios::binary) << old;
  TKorvelFile file;
  file.Text = "<KORVEL>\r\n<THEORY>\r\n\r\n" + Block(std::string(300, 'a')) + "\r\n</THEORY>\r\n</KORVEL>\r\n";
  const int code = RunWithFileSizeLimit(100, [&] {
    try {
      file.SaveToFile(path.string());
    } catch (const TKorvelFileError& error) {
      return std::string(error.what()).find("File too large") != std::string::npos ? 0 : 2;
    }
    return 1;
  });
  EXPECT_EQ(code, 0) << "1: the save reported success, 2: the reason was not named";
  EXPECT_EQ(ReadFileBytes(path), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  fs::remove_all(dir);
}

}  // namespace

// The reading's progress counts what was read, and a stop ends it between
// two sentences, with what was read so far.
TEST(TheoryReader, ProgressCountsAndAStopEndsTheReading) {
  TKorvelTheory written;
  for (int i = 0; i < 300; ++i) {
    written.Assumptions.push_back(MakeElementarySentence("a" + std::to_string(i)));
    written.Assumptions.back()->IsAssumption = true;
  }
  for (int i = 0; i < 200; ++i) {
    written.Issues.push_back(MakeElementarySentence("i" + std::to_string(i)));
    written.Issues.back()->IsIssue = true;
  }
  TKorvelFile file;
  WriteTheory(written, file);

  TReadProgress progress;
  const TNormalizedTheory read = ReadAndNormalize(file, true, &progress);
  EXPECT_EQ(read.Theory.Assumptions.size(), 300u);
  EXPECT_EQ(read.Theory.Issues.size(), 200u);
  EXPECT_EQ(progress.Sentences.load(), 500u);
  EXPECT_GT(progress.Bytes.load(), file.Text.size() * 9 / 10);
  EXPECT_LE(progress.Bytes.load(), file.Text.size());
  EXPECT_EQ(read.File.Text, file.Text);  // progress changes nothing read

  TReadProgress stopped;
  stopped.Stop = true;
  const TNormalizedTheory none = ReadAndNormalize(file, true, &stopped);
  EXPECT_TRUE(none.Theory.Assumptions.empty());
  EXPECT_TRUE(none.Theory.Issues.empty());
  EXPECT_EQ(stopped.Sentences.load(), 0u);
}

// Every line ends in CR LF, whichever of CR, LF or CR LF ended it; a NUL
// ends the text; a last line without an end gets one.
TEST(TheoryFileLines, EveryLineEndBecomesCrLf) {
  using namespace std::string_literals;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"a", "a\r\n"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\rb\r", "a\r\nb\r\n"},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"a\n\rb", "a\r\n\r\nb\r\n"},
      {"\r\r\n\n", "\r\n\r\n\r\n"},
      {"one\ntwo\rthree\r\nfour", "one\r\ntwo\r\nthree\r\nfour\r\n"},
      {"a\r\nb\0c\nd"s, "a\r\nb\r\n"},
      {"\0a"s, ""},
      {"last\r", "last\r\n"},
      // Nearly in that form already: one line end of another kind.
      {"\r\n", "\r\n"},
      {"a\r\r\n", "a\r\n\r\n"},
      {"a\r\nb\nc\r\n", "a\r\nb\r\nc\r\n"},
      {"\na\r\n", "\r\na\r\n"},
      {"a\r\nb", "a\r\nb\r\n"},
  };
  for (const auto& [content, expected] : cases) EXPECT_EQ(JoinLinesWithCrLf(content), expected) << content;
}
