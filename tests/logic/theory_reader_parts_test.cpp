// A large section is read in stretches at once, each begun at a guess of
// where a top-level sentence starts. Whatever the guesses, the theory read
// must be what one reading from the start gives: the same sentences in the
// same order with the same flags, the same place where reading stopped, the
// same counts.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "logic/theory.h"

namespace {

// Random theory files whose blocks are separated by a line end or a blank
// line anywhere, so that a blank line before a nested sentence makes some
// guesses fall inside a sentence; some are cut, torn or have junk inserted.
class TRandomTheoryText {
 public:
  explicit TRandomTheoryText(unsigned seed) : random_(seed) {}

  std::string Make() {
    std::string text = "<KORVEL>\r\n<THEORY>" + Separator();
    // Sometimes a short theory before many issues, so that stretches of the
    // theory begin past its end.
    const int assumptions = Pick(0, 1) == 0 ? Pick(0, 4) : Pick(0, 60), issues = Pick(0, 40);
    for (int i = 0; i < assumptions; ++i) text += Sentence(0) + Separator();
    text += "</THEORY>\r\n<ISSUES>" + Separator();
    for (int i = 0; i < issues; ++i) text += Sentence(0) + Separator();
    text += "</ISSUES>\r\n</KORVEL>\r\n";
    switch (Pick(0, 7)) {
      case 0:
        text.resize(static_cast<size_t>(Pick(0, static_cast<int>(text.size()))));
        break;
      case 1: {
        const size_t at = static_cast<size_t>(Pick(0, static_cast<int>(text.size())));
        text.erase(at, static_cast<size_t>(Pick(1, 40)));
        break;
      }
      case 2:
        text.insert(static_cast<size_t>(Pick(0, static_cast<int>(text.size()))), "\r\n\r\n<SENTENCE>\r\n");
        break;
      default:
        break;
    }
    return text;
  }

 private:
  std::mt19937 random_;

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::string Separator() { return Pick(0, 2) == 0 ? "\r\n" : "\r\n\r\n"; }

  std::string Sentence(int depth) {
    const int kind = depth > 3 ? 0 : Pick(0, 5);
    std::string out = "<SENTENCE>" + Separator();
    if (kind <= 2) {
      // Few texts, so that duplicates and contained assumptions occur; now
      // and then one that holds a section's end tag.
      const std::string text = Pick(0, 30) == 0 ? "x </THEORY> y" : "p" + std::to_string(Pick(0, 12));
      out += "<ELEMENTARYSENTENCE>\r\n" + text + "\r\n</ELEMENTARYSENTENCE>\r\n";
    } else if (kind == 3) {
      out += "<DIALECTICALNEGATION>" + Separator() + Sentence(depth + 1) + "</DIALECTICALNEGATION>\r\n";
    } else {
      out += "<CONDITIONAL>\r\n<ANTECEDENT>" + Separator();
      for (int i = Pick(1, 3); i > 0; --i) out += Sentence(depth + 1) + (Pick(0, 3) == 0 ? "\r\n" : "");
      out += "</ANTECEDENT>\r\n<CONSEQUENT>" + Separator() + Sentence(depth + 1) + "</CONSEQUENT>\r\n</CONDITIONAL>\r\n";
    }
    return out + "</SENTENCE>\r\n";
  }
};

// Everything a reading leaves that a caller can see.
std::string Described(const TKorvelTheory& theory, const TReadStop& stop, const TReadProgress& progress) {
  std::string out;
  auto list = [&out](const char* name, const TListOfKorvelSentences& sentences) {
    out += name;
    out += ":\n";
    for (const SentencePtr& sentence : sentences) {
      WriteSentence(out, *sentence);
      std::vector<TKorvelSentence*> stack;
      WalkParts(sentence.get(), stack, [&out](TKorvelSentence& part) {
        out += part.IsAssumption ? 'A' : '-';
        out += part.IsIssue ? 'I' : '-';
      });
      out += '\n';
    }
  };
  list("assumptions", theory.Assumptions);
  list("issues", theory.Issues);
  out += "stopped " + std::to_string(stop.Stopped) + " at " + std::to_string(stop.Offset) + " after " +
         std::to_string(stop.SentencesRead) + "; progress " + std::to_string(progress.Bytes.load()) + " bytes " +
         std::to_string(progress.Sentences.load()) + " sentences";
  return out;
}

std::string ReadInParts(const std::string& text, bool parse, size_t parts) {
  TKorvelTheory theory;
  theory.Text = text;
  TReadStop stop;
  TReadProgress progress;
  ReadTheoryInParts(theory, parse, parts, &stop, &progress);
  return Described(theory, stop, progress);
}

TEST(TheoryReaderInParts, ReadsWhatOneReadingReadsWhereverTheStretchesBegin) {
  TRandomTheoryText random(20261210);
  for (int round = 0; round < 120; ++round) {
    const std::string text = random.Make();
    for (bool parse : {true, false}) {
      const std::string whole = ReadInParts(text, parse, 1);
      for (size_t parts : {2u, 3u, 4u, 7u})
        ASSERT_EQ(ReadInParts(text, parse, parts), whole) << "round " << round << ", " << parts << " parts:\n" << text;
    }
  }
}

}  // namespace
