#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "logic/parser.h"
#include "logic/sentence.h"
#include "tests/logic/sentence_shape.h"

namespace {

SentencePtr E(const std::string& text) { return MakeElementarySentence(text); }

SentencePtr If(std::vector<SentencePtr> antecedents, SentencePtr consequent) {
  auto c = std::make_shared<TKorvelConditional>();
  c->Antecedents = std::move(antecedents);
  c->Consequent = std::move(consequent);
  RebuildText(*c);
  RebuildVariables(*c);
  return c;
}

TEST(SentenceTextForm, CompoundTextsAreBuiltFromTheParts) {
  EXPECT_EQ(If({E("a"), E("b")}, E("c"))->Text, "if(a, b, c)");
  EXPECT_EQ(If({}, E("c"))->Text, "if(, c)");
  auto nn = MakeDialecticalNegation(MakeDialecticalNegation(E("p")));
  EXPECT_EQ(nn->Text, "x(x(p))");
  EXPECT_EQ(MakeDialecticalNegation(If({E("a"), E("b")}, E("c")))->Text, "x(if(a, b, c))");

  // Unset parts show as empty texts.
  TKorvelDialecticalNegation bare;
  RebuildText(bare);
  EXPECT_EQ(bare.Text, "x()");
  TKorvelConditional open;
  open.Antecedents.push_back(E("a"));
  RebuildText(open);
  EXPECT_EQ(open.Text, "if(a, )");

  // Elementary texts are never touched, blanks included.
  auto padded = E(" p ");
  RebuildText(*padded);
  EXPECT_EQ(padded->Text, " p ");
}

TEST(SentenceKinds, UnsetPartIsNoKind) {
  SentencePtr unset = std::make_shared<TKorvelSentence>();
  EXPECT_FALSE(Is<TKorvelElementarySentence>(unset));
  EXPECT_FALSE(Is<TKorvelDialecticalNegation>(unset));
  EXPECT_FALSE(Is<TKorvelConditional>(unset));
  auto negation = std::make_shared<TKorvelDialecticalNegation>();
  EXPECT_EQ(Shape(negation->Negated), "U");
}

// Every kind test answers as the object's own class does, for each kind
// made, for the unset part and for no sentence at all.
TEST(SentenceKinds, KindTestsAnswerAsTheObjectsClass) {
  const std::vector<SentencePtr> sentences = {E("p"), MakeDialecticalNegation(E("p")), If({E("a")}, E("c")),
                                              std::make_shared<TKorvelSentence>(), nullptr};
  for (const SentencePtr& s : sentences) {
    SCOPED_TRACE(s ? s->Text : "null");
    TKorvelSentence* bare = s.get();
    EXPECT_EQ(Is<TKorvelElementarySentence>(s), dynamic_cast<TKorvelElementarySentence*>(bare) != nullptr);
    EXPECT_EQ(Is<TKorvelDialecticalNegation>(s), dynamic_cast<TKorvelDialecticalNegation*>(bare) != nullptr);
    EXPECT_EQ(Is<TKorvelConditional>(s), dynamic_cast<TKorvelConditional*>(bare) != nullptr);
    EXPECT_EQ(As<TKorvelConditional>(s).get(), dynamic_cast<TKorvelConditional*>(bare));
    EXPECT_EQ(As<TKorvelDialecticalNegation>(s).get(), dynamic_cast<TKorvelDialecticalNegation*>(bare));
    const TKorvelSentence* constant = bare;
    EXPECT_EQ(AsKind<TKorvelElementarySentence>(constant), dynamic_cast<const TKorvelElementarySentence*>(constant));
  }
}

TEST(SentenceLookups, IdentityIsTheExactText) {
  TListOfKorvelSentences list{E("q"), E("p"), E("p ")};
  EXPECT_EQ(IndexOfSentence(list, E("p")), 1);
  EXPECT_EQ(IndexOfText(list, "p "), 2);
  EXPECT_EQ(IndexOfText(list, "P"), -1);
  EXPECT_EQ(IndexOfText({}, "p"), -1);
  // Two negations of one sentence are the same sentence by text.
  auto p = E("p");
  auto first = MakeDialecticalNegation(p);
  auto second = MakeDialecticalNegation(p);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->Negated, p);  // shared, not copied
  EXPECT_EQ(IndexOfSentence({first}, second), 0);
}

TEST(SentenceParts, CollectPartsIsDepthFirstConsequentFirstAndSkipsKnownTexts) {
  TListOfKorvelSentences list;
  CollectParts(MakeDialecticalNegation(If({E("a"), E("b")}, E("c"))), list);
  EXPECT_EQ(Texts(list), "x(if(a, b, c)) | if(a, b, c) | c | a | b");

  list.clear();
  CollectParts(If({E("a"), E("a")}, E("b")), list);
  EXPECT_EQ(Texts(list), "if(a, a, b) | b | a");

  // A sentence whose text is known is skipped, but its parts are still visited:
  // an elementary "x(a)" read without parsing stands before the negation.
  list = {E("x(b)")};
  CollectParts(MakeDialecticalNegation(E("b")), list);
  CollectParts(MakeDialecticalNegation(E("b")), list);
  EXPECT_EQ(Texts(list), "x(b) | b");
  EXPECT_TRUE(Is<TKorvelElementarySentence>(list[0]));

  // Existing duplicates in the list stay as they are.
  list = {E("a"), E("a")};
  CollectParts(If({E("a")}, E("c")), list);
  EXPECT_EQ(Texts(list), "a | a | if(a, c) | c");
}

TEST(SentenceParts, ContainsPartComparesTexts) {
  auto negation = MakeDialecticalNegation(E("p"));
  EXPECT_TRUE(ContainsPart(negation, negation));
  EXPECT_TRUE(ContainsPart(negation, E("p")));
  EXPECT_TRUE(ContainsPart(If({E("a")}, negation), E("p")));
  EXPECT_FALSE(ContainsPart(negation, E("q")));
}

TEST(SentenceVariables, ScanTakesEachLessThanToTheNearestGreaterThan) {
  using V = std::vector<std::string>;
  EXPECT_EQ(ScanVariables("p<x> and <y> or <x>"), (V{"<x>", "<y>", "<x>"}));
  EXPECT_EQ(ScanVariables("a<b"), V{});
  EXPECT_EQ(ScanVariables("<x> < y"), V{"<x>"});
  EXPECT_EQ(ScanVariables("<>"), V{"<>"});
  EXPECT_EQ(ScanVariables("a<b<c>d"), V{"<b<c>"});
  EXPECT_EQ(ScanVariables("aa<x>bbb<x>cc"), (V{"<x>", "<x>"}));
}

TEST(SentenceVariables, CompoundListsConsequentFirstAndRenewsItsParts) {
  auto antecedent = E("p<x>");
  auto conditional = If({antecedent}, E("q<y>"));
  EXPECT_EQ(conditional->Variables, (std::vector<std::string>{"<y>", "<x>"}));
  EXPECT_EQ(antecedent->Variables, std::vector<std::string>{"<x>"});
  // A repeated part counts once: if(p<x>, p<x>, q).
  auto repeated = If({E("p<x>"), E("p<x>")}, E("q"));
  EXPECT_EQ(repeated->Variables, std::vector<std::string>{"<x>"});
  // A part whose text an earlier compound part has is skipped: the
  // unparsed "x(a<v>)" hides behind the negation x(a<v>).
  auto hidden = If({MakeDialecticalNegation(E("a<v>")), E("x(a<v>)")}, E("c"));
  EXPECT_EQ(hidden->Variables, std::vector<std::string>{"<v>"});
  auto shown = If({E("x(a<v>)"), MakeDialecticalNegation(E("a<v>"))}, E("c"));
  EXPECT_EQ(shown->Variables, (std::vector<std::string>{"<v>", "<v>"}));
  // Across parts there are no variables: "<" and ">" in different parts.
  EXPECT_TRUE(If({E("a<")}, E(">b"))->Variables.empty());
}

// Random sentences of a few parts and of many (which take another way),
// with repeated texts, variables and unparsed texts that equal a compound
// part's text: the variables are always those of the distinct elementary
// parts that CollectParts lists, in its order.
TEST(SentenceVariables, CompoundVariablesFollowTheCollectedParts) {
  const std::vector<std::string> texts = {"p", "q<x>", "x(p)", "x(q<x>)", "if(p, q<x>)", "<y>r<x>", "s<z"};
  std::mt19937 random(7);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  std::function<SentencePtr(int)> make = [&](int depth) -> SentencePtr {
    const size_t kind = depth == 0 ? 0 : pick(3);
    // Mostly the first texts, whose compound forms come up often.
    if (kind == 0) return E(texts[pick(2) == 0 ? pick(4) : pick(texts.size())]);
    if (kind == 1) return MakeDialecticalNegation(make(depth - 1));
    std::vector<SentencePtr> antecedents;
    for (size_t i = 1 + pick(3); i > 0; --i) antecedents.push_back(make(depth - 1));
    return If(std::move(antecedents), make(depth - 1));
  };
  size_t few = 0, many = 0;
  for (int round = 0; round < 400; ++round) {
    const SentencePtr sentence = make(1 + round % 5);
    RebuildVariables(*sentence);
    TListOfKorvelSentences parts;
    CollectParts(sentence, parts);
    std::vector<std::string> expected;
    for (const SentencePtr& part : parts) {
      if (!Is<TKorvelElementarySentence>(part)) continue;
      const std::vector<std::string> scanned = ScanVariables(part->Text);
      expected.insert(expected.end(), scanned.begin(), scanned.end());
      if (sentence != part) {
        EXPECT_EQ(part->Variables, scanned) << sentence->Text << " / " << part->Text;
      }
    }
    EXPECT_EQ(sentence->Variables, expected) << sentence->Text;
    std::vector<TKorvelSentence*> stack;
    size_t count = 0;
    WalkParts(sentence.get(), stack, [&](TKorvelSentence&) { ++count; });
    (count <= 16 ? few : many) += 1;
  }
  // Both ways were taken many times.
  EXPECT_GT(few, 50u);
  EXPECT_GT(many, 50u);
}

TEST(SentenceLifetime, DeepNegationChainsAreReleasedWithoutExhaustingTheStack) {
  SentencePtr s = E("p");
  for (int i = 0; i < 900; ++i) s = MakeDialecticalNegation(s);
  TListOfKorvelSentences parts;
  CollectParts(s, parts);
  EXPECT_EQ(parts.size(), 901u);
  s.reset();  // must not crash
}

}  // namespace
