// Reading and writing abstract argumentation frameworks, and their theories:
// the dialectical interpretations of an imported framework are exactly its
// stable extensions.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

#include "evaluation/interpretations.h"
#include "frameworks/argumentation_framework.h"
#include "frameworks/framework_theory.h"

namespace {

using TAttacks = std::vector<std::pair<size_t, size_t>>;
using TExtensions = std::set<std::vector<size_t>>;

TArgumentationFramework Framework(size_t arguments, TAttacks attacks) {
  TArgumentationFramework framework;
  for (size_t i = 1; i <= arguments; ++i) framework.Arguments.push_back(std::to_string(i));
  framework.Attacks = std::move(attacks);
  return framework;
}

// Stable extensions by definition: conflict-free sets attacking every argument outside.
TExtensions StableByDefinition(const TArgumentationFramework& framework) {
  const size_t n = framework.Arguments.size();
  TExtensions extensions;
  for (size_t set = 0; set < (size_t{1} << n); ++set) {
    auto in = [set](size_t a) { return (set >> a & 1) != 0; };
    bool conflictFree = true;
    std::vector<bool> attacked(n, false);
    for (const auto& [from, to] : framework.Attacks) {
      if (in(from) && in(to)) conflictFree = false;
      if (in(from)) attacked[to] = true;
    }
    bool stable = conflictFree;
    for (size_t a = 0; a < n && stable; ++a) stable = in(a) || attacked[a];
    if (!stable) continue;
    std::vector<size_t> extension;
    for (size_t a = 0; a < n; ++a)
      if (in(a)) extension.push_back(a);
    extensions.insert(extension);
  }
  return extensions;
}

TExtensions StableByInterpretations(const TArgumentationFramework& framework) {
  const TEvaluation evaluation = EvaluateInterpretations(FrameworkToTheory(framework), 1u << 20);
  TExtensions extensions;
  for (const auto& interpretation : evaluation.Interpretations) {
    EXPECT_TRUE(extensions.insert(ExtensionOf(framework, interpretation)).second)
        << "an extension twice";
  }
  return extensions;
}

TEST(FrameworkTheory, HandCheckedFrameworksHaveTheirStableExtensionsAsInterpretations) {
  struct TCase {
    const char* name;
    TArgumentationFramework framework;
    TExtensions expected;
  };
  const std::vector<TCase> cases = {
      {"empty framework", Framework(0, {}), {{}}},
      {"isolated arguments", Framework(3, {}), {{0, 1, 2}}},
      {"self-attack", Framework(1, {{0, 0}}), {}},
      {"self-attack beside an isolated argument", Framework(2, {{0, 0}}), {}},
      {"self-attack defeated from outside", Framework(2, {{0, 0}, {1, 0}}), {{1}}},
      {"odd cycle", Framework(3, {{0, 1}, {1, 2}, {2, 0}}), {}},
      {"even cycle", Framework(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}}), {{0, 2}, {1, 3}}},
      {"mutual attack", Framework(2, {{0, 1}, {1, 0}}), {{0}, {1}}},
      {"chain", Framework(3, {{0, 1}, {1, 2}}), {{0, 2}}},
      {"odd cycle attacked by an isolated argument",
       Framework(4, {{0, 1}, {1, 2}, {2, 0}, {3, 0}}),
       {{1, 3}}},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(StableByDefinition(test.framework), test.expected) << test.name;
    EXPECT_EQ(StableByInterpretations(test.framework), test.expected) << test.name;
  }
}

TEST(FrameworkTheory, RandomFrameworksAgreeWithTheDefinition) {
  std::mt19937 random(15);
  for (int round = 0; round < 300; ++round) {
    const size_t n = 1 + random() % 8;
    TAttacks attacks;
    std::set<std::pair<size_t, size_t>> seen;
    const size_t count = random() % (2 * n + 1);
    for (size_t k = 0; k < count; ++k) {
      const std::pair<size_t, size_t> attack{random() % n, random() % n};
      if (seen.insert(attack).second) attacks.push_back(attack);
    }
    const TArgumentationFramework framework = Framework(n, attacks);
    EXPECT_EQ(StableByInterpretations(framework), StableByDefinition(framework))
        << WriteFramework(framework, TFrameworkFormat::I23);
  }
}

TEST(FrameworkTheory, TheTheoryIsArgumentsThenAttacks) {
  const TKorvelTheory theory = FrameworkToTheory(Framework(2, {{0, 1}, {1, 1}}));
  std::vector<std::string> texts;
  for (const auto& sentence : theory.Assumptions) {
    texts.push_back(sentence->Text);
    EXPECT_TRUE(sentence->IsAssumption);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"1", "2", "if(1, x(2))", "if(2, x(2))"}));
}

TEST(FrameworkTheory, TheTheoryFileWrittenStraightIsTheTheoryWritten) {
  // Straight from names and attacks, or through the sentences where texts
  // repeat (frameworks made in code): the bytes WriteTheory writes.
  std::mt19937 random(5);
  const std::vector<std::string> stems = {"a", "arg_", "Z", "x", "n-", "\xc3\xa9t\xc3\xa9 "};
  for (int round = 0; round < 300; ++round) {
    TArgumentationFramework framework;
    const size_t n = random() % 12;
    for (size_t i = 0; i < n; ++i)
      framework.Arguments.push_back(stems[random() % stems.size()] + std::to_string(random() % (round % 5 == 4 ? 4 : 1000)));
    for (size_t k = n == 0 ? 0 : random() % (2 * n + 1); k-- > 0;)
      framework.Attacks.emplace_back(random() % n, random() % n);
    if (round % 7 == 3 && n > 0) framework.Arguments.push_back("if(" + framework.Arguments[0] + ", x(a))");
    TKorvelTheory theory = FrameworkToTheory(framework);
    TKorvelFile written;
    WriteTheory(theory, written);
    ASSERT_EQ(FrameworkTheoryFile(framework).Text, written.Text) << "round " << round;
  }
}

TEST(FrameworkTheory, TheoriesOfArgumentsAndAttacksGoBackToTheirFramework) {
  const TArgumentationFramework framework = Framework(3, {{0, 1}, {2, 2}, {1, 0}});
  // Written as a theory file and read back, the theory still stands for it.
  TKorvelTheory theory = FrameworkToTheory(framework);
  TKorvelFile file;
  WriteTheory(theory, file);
  const TNormalizedTheory read = ReadAndNormalize(file, true);
  std::string problem;
  const auto back = TheoryAsFramework(read.Theory, problem);
  ASSERT_TRUE(back) << problem;
  EXPECT_EQ(back->Arguments, framework.Arguments);
  EXPECT_EQ(back->Attacks, framework.Attacks);

  // Anything else is refused with the assumption that does not fit.
  TKorvelTheory support = FrameworkToTheory(framework);
  auto conditional = std::make_shared<TKorvelConditional>();
  conditional->Antecedents = {support.Assumptions[0]};
  conditional->Consequent = support.Assumptions[1];
  RebuildText(*conditional);
  support.Assumptions.push_back(conditional);
  EXPECT_FALSE(TheoryAsFramework(support, problem));
  EXPECT_NE(problem.find("\"if(1, 2)\""), std::string::npos) << problem;
}

TEST(FrameworkFormats, EachFormatReadsTheSameFrameworkAndWritesItBack) {
  const std::vector<std::pair<TFrameworkFormat, std::string>> inputs = {
      {TFrameworkFormat::I23, "# a comment\np af 3\n\n1 2\r\n2 3\n# another\n1 2\n3 3\n"},
      {TFrameworkFormat::Apx,
       "% comment\narg(1). arg(2).\narg(3).\natt(1,2). att( 2 , 3 ).\natt(1,2).\natt(3,3).\n"},
      {TFrameworkFormat::Tgf, "1\n2\n3\n2\n#\n1 2\n2 3\n1 2\n3 3\n"},
  };
  for (const auto& [format, text] : inputs) {
    const TArgumentationFramework read = ReadFramework(text, format);
    EXPECT_EQ(read.Arguments, (std::vector<std::string>{"1", "2", "3"})) << text;
    // The duplicate attack 1 -> 2 is read once.
    EXPECT_EQ(read.Attacks, (TAttacks{{0, 1}, {1, 2}, {2, 2}})) << text;
    const TArgumentationFramework again = ReadFramework(WriteFramework(read, format), format);
    EXPECT_EQ(again.Arguments, read.Arguments);
    EXPECT_EQ(again.Attacks, read.Attacks);
    EXPECT_EQ(GuessFrameworkFormat(text), format) << text;
  }
  EXPECT_EQ(WriteFramework(Framework(2, {{1, 0}}), TFrameworkFormat::I23), "p af 2\n2 1\n");
  // Empty frameworks.
  EXPECT_TRUE(ReadFramework("p af 0\n", TFrameworkFormat::I23).Arguments.empty());
  EXPECT_TRUE(ReadFramework("", TFrameworkFormat::Apx).Arguments.empty());
  EXPECT_TRUE(ReadFramework("#\n", TFrameworkFormat::Tgf).Arguments.empty());
}

TEST(FrameworkFormats, MalformedFilesNameTheLineAndTheFault) {
  struct TCase {
    TFrameworkFormat format;
    std::string text;
    size_t line;
    std::string what;
  };
  const std::vector<TCase> cases = {
      {TFrameworkFormat::I23, "p af 2\n1 3\n", 2, "attack on undeclared argument 3"},
      {TFrameworkFormat::I23, "p af 2\n0 1\n", 2, "attack on undeclared argument 0"},
      {TFrameworkFormat::I23, "1 2\np af 2\n", 1, "before any attack"},
      {TFrameworkFormat::I23, "# only a comment\n", 1, "no \"p af N\" header"},
      {TFrameworkFormat::I23, "p af two\n", 1, "expected the header"},
      {TFrameworkFormat::I23, "p af 2\np af 2\n", 2, "a second"},
      {TFrameworkFormat::I23, "p af 2\n1 2 3\n", 2, "expected an attack"},
      {TFrameworkFormat::I23, "p af 2\n1 -2\n", 2, "expected an attack"},
      {TFrameworkFormat::I23, "p af 99999999999\n", 1, "at most"},
      {TFrameworkFormat::I23, "p af 1000001\n", 1, "declares 1000001 arguments; at most 1000000"},
      // A NUL byte would be trimmed away as a blank.
      {TFrameworkFormat::I23, std::string("p af 2\n1 2\n2 1\0\n", 16), 3, "a NUL byte"},
      {TFrameworkFormat::I23, std::string("p af 2\0\n", 8), 1, "a NUL byte"},
      {TFrameworkFormat::Tgf, std::string("a\0\n#\n", 5), 1, "a NUL byte"},
      {TFrameworkFormat::Apx, std::string("arg(a).\n\0", 9), 2, "a NUL byte"},
      {TFrameworkFormat::I23,
       "\x7f"
       "ELF\x01\x02\n",
       1, "expected the header"},
      {TFrameworkFormat::Apx, "arg(a).\natt(a,b).\n", 2, "attack on undeclared argument \"b\""},
      {TFrameworkFormat::Apx, "arg(a)\n", 1, "closing \".\""},
      {TFrameworkFormat::Apx, "arg(a).\nfoo.\n", 2, "expected a fact"},
      {TFrameworkFormat::Apx, "arg(a b).\n", 1, "holds a blank"},
      {TFrameworkFormat::Apx, "arg(a,b).\n", 1, "takes one name"},
      {TFrameworkFormat::Apx, "arg(f(x)).\n", 1, "cannot be a sentence text"},
      {TFrameworkFormat::Apx, "arg(<KORVEL>).\n", 1, "'<' or '>'"},
      {TFrameworkFormat::Tgf, "a\n#\na b\n", 3, "attack on undeclared argument \"b\""},
      {TFrameworkFormat::Tgf, "a b\n#\n", 1, "one argument name per line"},
      {TFrameworkFormat::Tgf, "a\n#\n#\n", 3, "a second \"#\""},
      {TFrameworkFormat::Tgf, "a\n#\na\n", 3, "expected an attack"},
      {TFrameworkFormat::Tgf, "if(a,\n#\n", 1, "cannot be a sentence text"},
      {TFrameworkFormat::Tgf, "a\x01z\n#\n", 1,
       "\"a\\x01z\" cannot be a sentence text: it holds a control character"},
  };
  for (const auto& test : cases) {
    try {
      ReadFramework(test.text, test.format);
      ADD_FAILURE() << "read without error: " << test.text;
    } catch (const TFrameworkError& error) {
      EXPECT_EQ(error.Line, test.line) << test.text;
      EXPECT_NE(std::string(error.what()).find(test.what), std::string::npos)
          << test.text << " -> " << error.what();
    }
  }
}

TEST(FrameworkFormats, ArgumentNamesThatAreNoPlainSentenceTextAreRefused) {
  for (const char* name : {"a", "1", "it rains", "x", "a.b", "caf\xc3\xa9"})
    EXPECT_EQ(ArgumentNameProblem(name), "") << name;
  for (const char* name : {"", " a", "a ", "a\nb", "x(a)", "if(a, b)", "a,b", "<x>", "</SENTENCE>"})
    EXPECT_NE(ArgumentNameProblem(name), "") << name;
  // Names a format cannot hold are not written in it; the others read back
  // as they were written.
  const struct {
    std::string name;
    bool apx, tgf;  // written in that format
  } names[] = {
      {"it rains", false, false},
      {"#", false, false},   // tgf: the line between arguments and attacks
      {"a.b", false, true},  // apx: the end of a fact
      {"50%", false, true},  // apx: a comment
      {"-a", true, true},
  };
  for (const auto& test : names) {
    TArgumentationFramework framework;
    framework.Arguments = {test.name, "b"};
    framework.Attacks = {{0, 1}};
    EXPECT_EQ(WriteFramework(framework, TFrameworkFormat::I23), "p af 2\n1 2\n");
    for (const auto& [format, written] :
         {std::pair{TFrameworkFormat::Apx, test.apx}, std::pair{TFrameworkFormat::Tgf, test.tgf}}) {
      if (!written) {
        EXPECT_THROW(WriteFramework(framework, format), TFrameworkError) << test.name;
        continue;
      }
      const TArgumentationFramework back = ReadFramework(WriteFramework(framework, format), format);
      EXPECT_EQ(back.Arguments, framework.Arguments) << test.name;
      EXPECT_EQ(back.Attacks, framework.Attacks) << test.name;
    }
  }
}

TEST(FrameworkFormats, InputOverTheSizeLimitIsRefusedWithTheLineReached) {
  std::istringstream small("p af 1\n");
  EXPECT_EQ(ReadFrameworkText(small), "p af 1\n");
  std::string line = "1 1\n";
  std::string big;
  big.reserve(kMaxFrameworkFileBytes + 8);
  while (big.size() <= kMaxFrameworkFileBytes) big += line;
  std::istringstream in(big);
  try {
    ReadFrameworkText(in);
    ADD_FAILURE() << "read a file over the limit";
  } catch (const TFrameworkError& error) {
    EXPECT_EQ(error.Line, kMaxFrameworkFileBytes / line.size());
    EXPECT_NE(std::string(error.what()).find("larger than 16 MiB"), std::string::npos);
  }
}

TEST(FrameworkFormats, FormatsByNameAndByExtension) {
  EXPECT_EQ(FrameworkFormatOfPath("dir/f.af"), TFrameworkFormat::I23);
  EXPECT_EQ(FrameworkFormatOfPath("f.i23"), TFrameworkFormat::I23);
  EXPECT_EQ(FrameworkFormatOfPath("f.apx"), TFrameworkFormat::Apx);
  EXPECT_EQ(FrameworkFormatOfPath("f.tgf"), TFrameworkFormat::Tgf);
  EXPECT_EQ(FrameworkFormatOfPath("d.af/f"), std::nullopt);
  EXPECT_EQ(FrameworkFormatOfPath("-"), std::nullopt);
  EXPECT_EQ(FrameworkFormatFromName("apx"), TFrameworkFormat::Apx);
  EXPECT_EQ(FrameworkFormatFromName("aba"), std::nullopt);
  EXPECT_EQ(GuessFrameworkFormat("hello\n"), std::nullopt);
}

}  // namespace
