// What the reader made of a file: whole, no theory at all, or stopped at a
// byte with so many sentences read. Positions are checked against the bytes
// of the content itself, whatever its line ends.
#include "logic/theory_read_check.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Block(const std::string& text, const char* end = "\r\n") {
  return std::string("<SENTENCE>") + end + "<ELEMENTARYSENTENCE>" + end + text + end + "</ELEMENTARYSENTENCE>" +
         end + "</SENTENCE>" + end;
}

std::string File(const std::string& assumptions, const std::string& issues, const char* end = "\r\n") {
  return std::string("<KORVEL>") + end + "<THEORY>" + end + end + assumptions + "</THEORY>" + end + "<ISSUES>" +
         end + end + issues + "</ISSUES>" + end + "</KORVEL>" + end;
}

// 1-based position of the n-th occurrence (0 = first) of `part`.
size_t ByteOf(const std::string& content, const std::string& part, int nth = 0) {
  size_t at = content.find(part);
  while (nth-- > 0) at = content.find(part, at + 1);
  return at + 1;
}

TEST(TheoryReadCheck, SaysWhetherAndWhereReadingStopped) {
  using TKind = TTheoryReadCheck::TKind;
  const std::string whole = File(Block("p") + Block("q"), Block("r"));
  const std::string lf = "notes before\n" + File(Block("p", "\n") + Block("q", "\n"), "", "\n");
  std::string misspelled = lf;
  misspelled.replace(misspelled.find("<ELEMENTARYSENTENCE>\nq"), 20, "<ELEMENTARYSENTENSE>");
  const std::string unclosed = File(Block("p"), Block("r"));
  std::string noTheoryEnd = unclosed;
  noTheoryEnd.erase(noTheoryEnd.find("</THEORY>"), 9);
  struct TCase {
    const char* name;
    std::string content;
    TKind kind;
    size_t stopByte;
    size_t read;
  };
  const std::vector<TCase> cases = {
      {"empty file", "", TKind::Whole, 0, 0},
      {"blanks only", " \r\n\t\n", TKind::Whole, 0, 0},
      {"the empty theory", "<KORVEL>\r\n</KORVEL>\r\n", TKind::Whole, 0, 0},
      {"a whole theory", whole, TKind::Whole, 0, 3},
      {"a foreign text", "root:x:0:0:root:/root:/bin/sh\n", TKind::NoTheory, 0, 0},
      {"a picture", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), TKind::NoTheory, 0, 0},
      {"cut short", whole.substr(0, whole.size() / 2), TKind::Partial, 1, 0},
      {"a misspelled tag, LF ends", misspelled, TKind::Partial, ByteOf(misspelled, "<SENTENCE>", 1), 1},
      {"no end of the theory section", noTheoryEnd, TKind::Partial, ByteOf(noTheoryEnd, "<SENTENCE>"), 1},
      {"texts that do not parse", File(Block("if(p") + Block("x((q") + Block(")"), Block("p q r")), TKind::Whole, 0, 4},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TTheoryReadCheck check = CheckTheoryRead(c.content);
    EXPECT_EQ(check.Kind, c.kind);
    EXPECT_EQ(check.StopByte, c.stopByte);
    EXPECT_EQ(check.SentencesRead, c.read);
    // Told from the program's own reading, texts parsed or not, the same.
    for (const bool parse : {true, false}) {
      SCOPED_TRACE(parse ? "from a reading that parses" : "from a reading that does not parse");
      TKorvelFile loaded;
      loaded.LoadFromText(c.content);
      TReadStop stop;
      ReadAndNormalize(loaded, parse, nullptr, &stop);
      const TTheoryReadCheck fromReading = CheckTheoryRead(c.content, loaded, stop);
      EXPECT_EQ(fromReading.Kind, c.kind);
      EXPECT_EQ(fromReading.StopByte, c.stopByte);
      EXPECT_EQ(fromReading.SentencesRead, c.read);
    }
  }
}

TEST(TheoryReadCheck, Warnings) {
  TTheoryReadCheck check;
  EXPECT_EQ(TheoryReadWarning(check, "a.kvl"), "");
  check.Kind = TTheoryReadCheck::TKind::NoTheory;
  EXPECT_EQ(TheoryReadWarning(check, "/etc/passwd"), "/etc/passwd holds no Korvel theory");
  check = {TTheoryReadCheck::TKind::Partial, 812, 4};
  EXPECT_EQ(TheoryReadWarning(check, "a.kvl"), "a.kvl: reading stopped at byte 812; 4 sentences were read");
  check.SentencesRead = 1;
  EXPECT_EQ(TheoryReadWarning(check, "a.kvl"), "a.kvl: reading stopped at byte 812; 1 sentence was read");
}

}  // namespace
