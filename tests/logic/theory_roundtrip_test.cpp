// Property: a theory written and read back is the same theory, for random
// theories within the format's conditions (flags set, no text twice, no text
// in both lists, elementary texts trimmed, free of tags and line breaks, and
// not in compound form while sentences are parsed).
#include <gtest/gtest.h>

#include <random>
#include <unordered_set>

#include "logic/theory.h"
#include "tests/logic/sentence_shape.h"

namespace {

class RandomTheories {
 public:
  explicit RandomTheories(unsigned start) : random_(start) {}

  SentencePtr Sentence(int depth) {
    int kind = depth >= 3 ? 0 : Pick(4);
    if (kind <= 1) return MakeElementarySentence(ElementaryText());
    if (kind == 2) return MakeDialecticalNegation(Sentence(depth + 1));
    auto conditional = std::make_shared<TKorvelConditional>();
    int count = 1 + Pick(3);
    for (int i = 0; i < count; ++i) conditional->Antecedents.push_back(Sentence(depth + 1));
    conditional->Consequent = Sentence(depth + 1);
    RebuildText(*conditional);
    RebuildVariables(*conditional);
    return conditional;
  }

  TKorvelTheory Theory() {
    TKorvelTheory theory;
    std::unordered_set<std::string> used;
    int assumptions = Pick(8), issues = Pick(6);
    for (int i = 0; i < assumptions + issues; ++i) {
      SentencePtr s = Sentence(0);
      if (!used.insert(s->Text).second) continue;
      if (i < assumptions) {
        s->IsAssumption = true;
        theory.Assumptions.push_back(s);
      } else {
        s->IsIssue = true;
        theory.Issues.push_back(s);
      }
    }
    return theory;
  }

 private:
  std::mt19937 random_;
  int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  std::string ElementaryText() {
    static const std::string alphabet = "abcpq <>,()-.:xX\xE9";
    std::string text;
    int length = Pick(7);
    for (int i = 0; i < length; ++i) text += alphabet[static_cast<size_t>(Pick(static_cast<int>(alphabet.size())))];
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.erase(0, 1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.pop_back();
    if (text.rfind("x(", 0) == 0 || text.rfind("if(", 0) == 0) text.insert(0, "_");
    return text;
  }
};

TEST(TheoryRoundTrip, RandomTheoriesComeBackEqual) {
  for (unsigned round = 0; round < 2000; ++round) {
    RandomTheories generator(round);
    TKorvelTheory original = generator.Theory();
    TKorvelFile file;
    WriteTheory(original, file);
    for (bool parse : {true, false}) {
      TKorvelFile loaded;
      loaded.LoadFromText(file.FileBytes());
      TKorvelTheory back;
      TakeTheoryText(back, loaded);
      ReadTheory(back, parse);
      ASSERT_EQ(back.Assumptions.size(), original.Assumptions.size()) << "round " << round;
      ASSERT_EQ(back.Issues.size(), original.Issues.size()) << "round " << round;
      for (size_t i = 0; i < original.Assumptions.size(); ++i)
        EXPECT_EQ(Shape(back.Assumptions[i]), Shape(original.Assumptions[i])) << "round " << round;
      for (size_t i = 0; i < original.Issues.size(); ++i)
        EXPECT_EQ(Shape(back.Issues[i]), Shape(original.Issues[i])) << "round " << round;
      // And the normal form is a fixed point.
      TKorvelFile again;
      WriteTheory(back, again);
      EXPECT_EQ(again.Text, file.Text) << "round " << round;
    }
  }
}

}  // namespace
