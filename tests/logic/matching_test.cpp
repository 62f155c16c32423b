#include <gtest/gtest.h>

#include "logic/matching.h"
#include "logic/parser.h"
#include "tests/logic/sentence_shape.h"

namespace {

using Strings = std::vector<std::string>;

// Matches an elementary pattern against a target, with the pattern's own variables.
TMatchResult Match(const std::string& pattern, const std::string& target) {
  return MatchSentence(pattern, target, ScanVariables(pattern));
}

TEST(Matching, VariablesTakeTheShortestTextUpToTheNextPiece) {
  auto m = Match("aa<x>bbb<x>cc", "aaxbbbxcc");
  EXPECT_TRUE(m.Matched);
  EXPECT_EQ(m.Bindings, (Strings{"x", "x"}));

  m = Match("<x> and <y>", "a and b and c");
  EXPECT_TRUE(m.Matched);
  EXPECT_EQ(m.Bindings, (Strings{"a", "b and c"}));

  m = Match("p(<x>)", "p()");
  EXPECT_TRUE(m.Matched);
  EXPECT_EQ(m.Bindings, Strings{""});

  m = Match("<x><y>", "ab");
  EXPECT_TRUE(m.Matched);
  EXPECT_EQ(m.Bindings, (Strings{"ab", ""}));

  m = Match("<X> and <x>", "a and b");
  EXPECT_TRUE(m.Matched);
  EXPECT_EQ(m.Bindings, (Strings{"a", "b"}));

  m = Match("<x>.txt", "a.txt");
  EXPECT_TRUE(m.Matched);
  EXPECT_EQ(m.Bindings, Strings{"a"});
}

TEST(Matching, FailuresWithoutBacktracking) {
  EXPECT_FALSE(Match("aa<x>bbb<x>cc", "aaxbbbycc").Matched);  // equal variables differ
  EXPECT_FALSE(Match("aa<x>bbb<x>cc", "baxbbbxcc").Matched);  // first piece not at the start
  EXPECT_FALSE(Match("<x>.txt", "a.txt.txt").Matched);        // no backtracking
  EXPECT_FALSE(Match("<x><y>z", "abz").Matched);
  EXPECT_FALSE(Match("abc", "abcd").Matched);
  EXPECT_TRUE(Match("abc", "abc").Matched);
  EXPECT_FALSE(Match("a<x>", "").Matched);
  // The bindings list is there even on failure, one entry per variable.
  EXPECT_EQ(Match("<x>q<y>", "nothing").Bindings.size(), 2u);
}

TEST(Matching, VariablesOutOfTextOrderMakeTheMatchFailSafely) {
  SentencePtr pattern = ParseSentence("if(p<x>, q<y>)");
  ASSERT_EQ(pattern->Variables, (Strings{"<y>", "<x>"}));
  auto m = MatchSentence(pattern->Text, "if(pa, qb)", pattern->Variables);
  EXPECT_FALSE(m.Matched);
  EXPECT_EQ(m.Bindings.size(), 2u);
  // In text order the compound pattern matches.
  SentencePtr ordered = ParseSentence("if(p<x>, q<x>)");
  m = MatchSentence(ordered->Text, "if(pa, qa)", ordered->Variables);
  EXPECT_TRUE(m.Matched);
  EXPECT_EQ(m.Bindings, (Strings{"a", "a"}));
}

TEST(Instantiation, ReplacesOccurrencesLeftToRightAndParsesAgain) {
  SentencePtr pattern = ParseSentence("if(p<x>, q<x>)");
  SentencePtr result = InstantiateSentence(*pattern, {"a", "a"});
  EXPECT_EQ(Shape(result), "C(E(pa); -> E(qa))");
  EXPECT_EQ(pattern->Text, "if(p<x>, q<x>)");  // unchanged

  SentencePtr red = MakeElementarySentence("<x> is red");
  SentencePtr same = InstantiateSentence(*red, {"<x>"});
  EXPECT_EQ(same->Text, "<x> is red");
  EXPECT_EQ(same->Variables, Strings{"<x>"});

  // A binding in compound form makes a compound sentence.
  SentencePtr neg = InstantiateSentence(*MakeElementarySentence("<x>"), {"x(p)"});
  EXPECT_EQ(Shape(neg), "N(E(p))");
  // Too few bindings leave the rest of the variables in place.
  EXPECT_EQ(InstantiateSentence(*MakeElementarySentence("<a> <b>"), {"1"})->Text, "1 <b>");
}

TEST(Instantiation, BindingsGoInTheOrderOfTheVariablesList) {
  // A conditional lists its consequent's variables first: the first binding
  // replaces <y>, the second <x>.
  SentencePtr conditional = ParseSentence("if(p<x>, q<y>)");
  ASSERT_EQ(conditional->Variables, (Strings{"<y>", "<x>"}));
  EXPECT_EQ(Shape(InstantiateSentence(*conditional, {"B", "A"})), "C(E(pA); -> E(qB))");
  // Occurrences of one variable are replaced left to right, one per binding.
  EXPECT_EQ(InstantiateSentence(*MakeElementarySentence("<x> then <x>"), {"1", "2"})->Text, "1 then 2");
  // A binding that holds a later variable: the first occurrence in the text
  // as it stands by then is replaced, which is inside the binding.
  EXPECT_EQ(InstantiateSentence(*MakeElementarySentence("<x> and <y>"), {"<y>!", "2"})->Text,
            "2! and <y>");
}

TEST(Matching, ManyEqualVariablesStayCheap) {
  std::string pattern, target;
  for (int i = 0; i < 100000; ++i) pattern += "<x>;", target += "v;";
  auto m = Match(pattern, target);
  EXPECT_TRUE(m.Matched);
  target.back() = ',';
  EXPECT_FALSE(Match(pattern, target).Matched);
}

}  // namespace
