#include <gtest/gtest.h>

#include "logic/parser.h"
#include "tests/logic/sentence_shape.h"

namespace {

struct ParseCase {
  const char* input;
  const char* shape;  // structure of the result
  const char* text;   // its text form
};

class ParserTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParserTable, Parses) {
  const ParseCase& c = GetParam();
  SentencePtr s = ParseSentence(c.input);
  EXPECT_EQ(Shape(s), c.shape) << "input: [" << c.input << "]";
  EXPECT_EQ(s->Text, c.text) << "input: [" << c.input << "]";
  EXPECT_FALSE(s->IsAssumption || s->IsIssue || s->IsJustified || s->IsDefeated);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParserTable,
    ::testing::Values(
        ParseCase{"", "E()", ""}, ParseCase{"   p  ", "E(p)", "p"},
        ParseCase{"x(p)", "N(E(p))", "x(p)"}, ParseCase{"x( p )", "N(E(p))", "x(p)"},
        ParseCase{"if(a, b, c)", "C(E(a); E(b); -> E(c))", "if(a, b, c)"},
        ParseCase{"if( a ,b,c )", "C(E(a); E(b); -> E(c))", "if(a, b, c)"},
        ParseCase{"x(x(p))", "N(N(E(p)))", "x(x(p))"},
        ParseCase{"if(x(a), b)", "C(N(E(a)); -> E(b))", "if(x(a), b)"},
        ParseCase{"x(if(a, x(b), c))", "N(C(E(a); N(E(b)); -> E(c)))", "x(if(a, x(b), c))"},
        ParseCase{"if(if(a, b), c)", "C(C(E(a); -> E(b)); -> E(c))", "if(if(a, b), c)"},
        ParseCase{"x(p) q", "N(E(p))", "x(p)"},
        ParseCase{"if(p<x>, q<x>)", "C(E(p<x>); -> E(q<x>))", "if(p<x>, q<x>)"},
        ParseCase{"if(a<b, c>d)", "C(E(a<b); -> E(c>d))", "if(a<b, c>d)"}));

INSTANTIATE_TEST_SUITE_P(
    TopLevelElementary, ParserTable,
    ::testing::Values(ParseCase{"a, b", "E(a, b)", "a, b"}, ParseCase{"f(x)", "E(f(x))", "f(x)"},
                      ParseCase{"X(p)", "E(X(p))", "X(p)"},
                      ParseCase{"IF(a, b)", "E(IF(a, b))", "IF(a, b)"}));

INSTANTIATE_TEST_SUITE_P(
    Malformed, ParserTable,
    ::testing::Values(
        ParseCase{"if(a)", "E(if(a))", "if(a)"}, ParseCase{"if(a, b", "E(if(a, b)", "if(a, b"},
        ParseCase{"x(p", "E(x(p)", "x(p"}, ParseCase{"x(a, b)", "E(x(a, b))", "x(a, b)"},
        ParseCase{"x(x(p) )", "E(x(x(p) ))", "x(x(p) )"},
        ParseCase{"if(x(a) , b)", "E(if(x(a) , b))", "if(x(a) , b)"},
        ParseCase{"if(f(a), b)", "E(if(f(a), b))", "if(f(a), b)"},
        // The second part starts with a comma, so it runs to the ")".
        ParseCase{"if(a, , b)", "C(E(a); -> E(, b))", "if(a, , b)"},
        // A malformed inner form takes the rest of the whole text, and the
        // conditional goes on after the inner part "b".
        ParseCase{"if(a, x(b, c), d)", "C(E(a); E(x(b, c), d)); -> E(c))",
                  "if(a, x(b, c), d), c)"},
        // An empty negated part: the lone ")" is no part, so it is taken as the
        // elementary text of the part and the same ")" then closes the form.
        ParseCase{"x()", "N(E()))", "x())"}));

TEST(Parser, CanonicalTextRoundTrips) {
  for (const char* text : {"x(x(x(p)))", "if(a, b, if(c, x(d)), x(if(e, f)))", "if(x(x(a)), b)"}) {
    SentencePtr s = ParseSentence(text);
    EXPECT_EQ(s->Text, text);
    EXPECT_EQ(ParseSentence(s->Text)->Text, text);
  }
}

TEST(Parser, ParsePartLeavesTheRest) {
  std::string rest = "a, b)";
  SentencePtr s = ParsePart(rest, rest);
  EXPECT_EQ(Shape(s), "E(a)");
  EXPECT_EQ(rest, ", b)");
  std::string top;
  EXPECT_EQ(Shape(ParsePart("x(p) tail", top)), "N(E(p))");
  EXPECT_EQ(top, " tail");
}

TEST(ParserLimits, DeepNestingBecomesOneElementarySentence) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "x(";
  deep += "p";
  for (int i = 0; i < 100000; ++i) deep += ")";
  SentencePtr s = ParseSentence(deep);
  EXPECT_TRUE(Is<TKorvelElementarySentence>(s));
  EXPECT_EQ(s->Text, deep);

  // Unclosed deep nesting, likewise.
  std::string open(200000, ' ');
  for (size_t i = 0; i < open.size(); i += 2) open[i] = 'x', open[i + 1] = '(';
  EXPECT_TRUE(Is<TKorvelElementarySentence>(ParseSentence(open)));

  // Nesting within the limit is parsed.
  std::string fine;
  for (int i = 0; i < kMaxParseDepth; ++i) fine += "x(";
  fine += "p" + std::string(static_cast<size_t>(kMaxParseDepth), ')');
  EXPECT_TRUE(Is<TKorvelDialecticalNegation>(ParseSentence(fine)));
}

TEST(ParserLimits, MalformedFormsCannotMultiplyTheInput) {
  // Every "x(a, " is a malformed negation holding the rest of the text, so a
  // faithful parse would copy the text once per part: quadratic in size.
  std::string text = "if(";
  for (int i = 0; i < 200000; ++i) text += "x(a, ";
  text += "b)";
  SentencePtr s = ParseSentence(text);
  EXPECT_TRUE(Is<TKorvelElementarySentence>(s));
  EXPECT_EQ(s->Text, text);

  // Small cases of the same shape still follow the rules exactly.
  SentencePtr small = ParseSentence("if(x(a, x(a, b)");
  EXPECT_EQ(Shape(small), "C(E(x(a, x(a, b)); E(x(a, b)); -> E(b))");
}

TEST(ParserLimits, LongFlatTextsParseInLinearTime) {
  // Many parts, and a missing closing parenthesis: no repeated full scans.
  std::string text = "if(";
  for (int i = 0; i < 300000; ++i) text += "a, ";
  SentencePtr s = ParseSentence(text);
  EXPECT_TRUE(Is<TKorvelElementarySentence>(s));
  std::string commas = "if(a";
  for (int i = 0; i < 300000; ++i) commas += ", ";
  commas += "b)";
  auto c = As<TKorvelConditional>(ParseSentence(commas));
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Antecedents.size(), 1u);
}

}  // namespace
