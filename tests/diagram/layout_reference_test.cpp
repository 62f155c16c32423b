// The indexed layout against the plain one on many generated theories:
// the same calls, elements, drawn sentences and issues added to the theory.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "tests/diagram/diagram_test_theory.h"
#include "tests/diagram/reference_layout.h"

namespace {

class TTheoryGenerator {
 public:
  explicit TTheoryGenerator(unsigned number) : random_(number) {}

  std::string Atom() { return std::string(1, static_cast<char>('a' + Pick(5))); }

  std::string Sentence(int depth) {
    switch (Pick(depth > 0 ? 5 : 2)) {
      case 0: return Atom();
      case 1: return "x(" + Atom() + ")";
      case 2: return "x(" + Conditional(depth - 1) + ")";
      default: return Conditional(depth - 1);
    }
  }

  std::string Conditional(int depth) {
    std::string text = "if(";
    const int antecedents = 1 + Pick(3);
    for (int i = 0; i < antecedents; ++i) text += (Pick(4) == 0 ? "x(" + Atom() + ")" : Atom()) + ", ";
    return text + Sentence(depth) + ")";
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

 private:
  std::mt19937 random_;
};

struct TGenerated {
  std::vector<std::string> Assumptions, Issues, Loose;
};

TGenerated Generate(unsigned number) {
  TTheoryGenerator generator(number);
  TGenerated theory;
  const int assumptions = 2 + generator.Pick(9);
  for (int i = 0; i < assumptions; ++i) theory.Assumptions.push_back(generator.Sentence(2));
  const int issues = generator.Pick(4);
  for (int i = 0; i < issues; ++i) theory.Issues.push_back(generator.Sentence(1));
  // Sentences drawn without a role: registration gives them one.
  const int loose = generator.Pick(3);
  for (int i = 0; i < loose; ++i) theory.Loose.push_back(generator.Sentence(1));
  return theory;
}

struct TPrepared {
  TKorvelTheory Theory;
  TListOfKorvelSentences All;
};

TPrepared Prepare(const TGenerated& generated) {
  TPrepared prepared;
  for (const auto& text : generated.Assumptions) {
    prepared.Theory.Assumptions.push_back(ParseSentence(text));
    prepared.Theory.Assumptions.back()->IsAssumption = true;
  }
  for (const auto& text : generated.Issues) {
    prepared.Theory.Issues.push_back(ParseSentence(text));
    prepared.Theory.Issues.back()->IsIssue = true;
  }
  TPartsCollector collector;
  for (const SentencePtr& s : prepared.Theory.Assumptions) collector.Collect(s);
  for (const SentencePtr& s : prepared.Theory.Issues) collector.Collect(s);
  for (const auto& text : generated.Loose) collector.Collect(ParseSentence(text));
  prepared.All = collector.TakeParts();
  return prepared;
}

std::string Texts(const TListOfKorvelSentences& list) {
  std::string out;
  for (const SentencePtr& s : list) out += " | " + s->Text;
  return out;
}

std::string Summary(TDrawContext& context, const TKorvelTheory& theory) {
  std::ostringstream out;
  WriteLayoutLines(context, out);
  out << "elements " << context.Drawing.Elements.size() << "\ndrawn " << Texts(context.DrawnSentences)
      << "\nissues";
  for (const SentencePtr& issue : theory.Issues) out << " | " << issue->Text;
  return out.str();
}

// The flags of every sentence object the layout may reach, and the issues.
std::string Flags(const TPrepared& prepared) {
  std::ostringstream out;
  std::vector<TKorvelSentence*> stack;
  auto walk = [&](const TListOfKorvelSentences& list) {
    for (const SentencePtr& s : list)
      WalkParts(s.get(), stack, [&](TKorvelSentence& part) {
        out << part.Text << (part.IsAssumption ? " A" : "") << (part.IsIssue ? " I" : "") << "\n";
      });
  };
  walk(prepared.All);
  walk(prepared.Theory.Assumptions);
  walk(prepared.Theory.Issues);
  out << "issues" << Texts(prepared.Theory.Issues);
  return out.str();
}

}  // namespace

// The plain layout draws each call's elements as it records the call; the
// indexed one records the calls first and draws their elements at the end,
// which must give the same elements and captions, stored without spare room.
TEST(DiagramLayoutReference, IndexedLayoutDrawsWhatThePlainOneDraws) {
  for (unsigned number = 1; number <= 1500; ++number) {
    const TGenerated generated = Generate(number);
    for (bool hideNegations : {false, true}) {
      TPrepared plain = Prepare(generated), indexed = Prepare(generated);
      TDrawContext plainContext, indexedContext;
      plainContext.Theory = &plain.Theory;
      indexedContext.Theory = &indexed.Theory;
      plainContext.ShowDialecticalNegations = indexedContext.ShowDialecticalNegations = !hideNegations;
      plainContext.StructureOnly = indexedContext.StructureOnly = number % 3 == 0;
      TReferenceLayout(plainContext).DrawArguments(plain.All);
      DrawArguments(indexedContext, indexed.All, 0, 0);
      const std::string where = "theory " + std::to_string(number) + ", first assumption " +
                                generated.Assumptions.front();
      ASSERT_EQ(Summary(indexedContext, indexed.Theory), Summary(plainContext, plain.Theory)) << where;
      ASSERT_EQ(indexedContext.RowsUsed, plainContext.RowsUsed);
      ASSERT_FALSE(indexedContext.Truncated);
      const TDiagramDrawing& drawn = indexedContext.Drawing;
      ASSERT_TRUE(drawn.Elements == plainContext.Drawing.Elements) << where;
      ASSERT_EQ(drawn.Captions, plainContext.Drawing.Captions) << where;
      ASSERT_EQ(indexedContext.Metrics.LinkWidth, plainContext.Metrics.LinkWidth) << where;
      ASSERT_EQ(drawn.Elements.capacity(), drawn.Elements.size()) << where;
      ASSERT_EQ(drawn.Captions.capacity(), drawn.Captions.size()) << where;

      // With the roles kept until the places are found: nothing is written
      // before the call, and the same is drawn and written after it.
      TPrepared deferred = Prepare(generated);
      TDrawContext deferredContext;
      deferredContext.Theory = &deferred.Theory;
      deferredContext.ShowDialecticalNegations = !hideNegations;
      deferredContext.StructureOnly = number % 3 == 0;
      const std::string before = Flags(deferred);
      int calls = 0;
      deferredContext.BeforeRolesGiven = [&] {
        ++calls;
        EXPECT_EQ(Flags(deferred), before) << where;
      };
      DrawArguments(deferredContext, deferred.All, 0, 0);
      ASSERT_EQ(calls, 1) << where;
      ASSERT_FALSE(deferredContext.BeforeRolesGiven);
      ASSERT_EQ(Summary(deferredContext, deferred.Theory), Summary(plainContext, plain.Theory)) << where;
      ASSERT_TRUE(deferredContext.Drawing.Elements == plainContext.Drawing.Elements) << where;
      ASSERT_EQ(Flags(deferred), Flags(plain)) << where;
    }
  }
}
