// The ABA export: its text for a small theory, what it refuses, and, on random
// theories with negations and nested conditionals, stable extensions of the
// written framework (computed by definition from the text) equal to the
// theory's dialectical interpretations.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "evaluation/interpretations.h"
#include "frameworks/aba_format.h"
#include "logic/parser.h"
#include "tests/evaluation/theory_families.h"

namespace {

TKorvelTheory Theory(const std::vector<std::string>& assumptions,
                     const std::vector<std::string>& issues = {}) {
  return families::Parsed(assumptions, issues);
}

// A framework read back from the ABA text, with the texts its comments give.
struct TAba {
  size_t Atoms = 0;
  std::vector<size_t> Assumptions;
  std::map<size_t, size_t> Contrary;
  std::vector<std::vector<size_t>> Rules;  // head first
  std::map<size_t, std::string> Texts;
};

TAba ParseAba(const std::string& text) {
  TAba aba;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    if (kind == "p") {
      std::string aba_;
      words >> aba_ >> aba.Atoms;
    } else if (kind == "#") {
      size_t atom = 0;
      if (words >> atom) {
        std::string rest;
        std::getline(words, rest);
        aba.Texts[atom] = rest.substr(1);
      }
    } else if (kind == "a") {
      size_t atom;
      words >> atom;
      aba.Assumptions.push_back(atom);
    } else if (kind == "c") {
      size_t assumption, contrary;
      words >> assumption >> contrary;
      aba.Contrary[assumption] = contrary;
    } else if (kind == "r") {
      std::vector<size_t> rule;
      for (size_t atom; words >> atom;) rule.push_back(atom);
      aba.Rules.push_back(rule);
    }
  }
  return aba;
}

// The format's frameworks are flat: no rule derives an assumption.
bool IsFlat(const TAba& aba) {
  for (const auto& rule : aba.Rules)
    if (std::find(aba.Assumptions.begin(), aba.Assumptions.end(), rule[0]) != aba.Assumptions.end())
      return false;
  return true;
}

// Stable extensions by definition: sets of assumptions that derive no
// contrary of their own and the contrary of every assumption left out.
std::set<std::set<std::string>> StableExtensions(const TAba& aba) {
  std::set<std::set<std::string>> extensions;
  const size_t n = aba.Assumptions.size();
  for (size_t set = 0; set < (size_t{1} << n); ++set) {
    std::vector<bool> derived(aba.Atoms + 1, false);
    for (size_t i = 0; i < n; ++i)
      if (set >> i & 1) derived[aba.Assumptions[i]] = true;
    for (bool changed = true; changed;) {
      changed = false;
      for (const auto& rule : aba.Rules) {
        if (derived[rule[0]]) continue;
        bool fires = true;
        for (size_t k = 1; k < rule.size(); ++k) fires = fires && derived[rule[k]];
        if (fires) derived[rule[0]] = changed = true;
      }
    }
    bool stable = true;
    std::set<std::string> members;
    for (size_t i = 0; i < n; ++i) {
      const size_t a = aba.Assumptions[i];
      const bool in = (set >> i & 1) != 0;
      const bool attacked = derived[aba.Contrary.at(a)];
      if (in == attacked) stable = false;  // in and attacked: conflict; out and not attacked
      if (in) members.insert(aba.Texts.at(a));
    }
    if (stable) extensions.insert(members);
  }
  return extensions;
}

std::set<std::set<std::string>> Interpretations(const TKorvelTheory& theory) {
  std::set<std::set<std::string>> result;
  for (const auto& interpretation : EvaluateInterpretations(theory, 1u << 20).Interpretations) {
    std::set<std::string> members;
    for (const auto& sentence : interpretation) members.insert(sentence->Text);
    result.insert(members);
  }
  return result;
}

TEST(AbaFormat, ASmallTheoryIsWrittenAtomByAtom) {
  // c is derived and so is x(c): a conflict although c is no assumption.
  const TKorvelTheory theory =
      Theory({"a", "b", "if(a, b, c)", "if(c, x(b))", "if(a, x(c))"}, {"c"});
  EXPECT_EQ(
      WriteAbaFramework(theory),
      "p aba 13\n"
      "# atoms and the sentence texts they stand for\n"
      "# 1 a\n# 2 b\n# 3 if(a, b, c)\n# 4 c\n# 5 if(c, x(b))\n# 6 x(b)\n# 7 if(a, x(c))\n# 8 x(c)\n"
      "# 9 x(a)\n# 10 x(if(a, b, c))\n# 11 x(if(c, x(b)))\n# 12 x(if(a, x(c)))\n"
      "# 13 (a sentence together with its negation)\n"
      "# issue 4\n"
      "a 1\na 2\na 3\na 5\na 7\n"
      "c 1 9\nc 2 6\nc 3 10\nc 5 11\nc 7 12\n"
      "r 4 1 2 3\nr 6 4 5\nr 8 1 7\n"
      "r 13 4 8\n"
      "r 9 13\nr 6 13\nr 10 13\nr 11 13\nr 12 13\n");
  // Without the conflict there is no conflict atom.
  EXPECT_EQ(WriteAbaFramework(Theory({"a", "if(a, x(b))"})),
            "p aba 6\n"
            "# atoms and the sentence texts they stand for\n"
            "# 1 a\n# 2 if(a, x(b))\n# 3 x(b)\n# 4 b\n# 5 x(a)\n# 6 x(if(a, x(b)))\n"
            "a 1\na 2\nc 1 5\nc 2 6\nr 3 1 2\n");
}

TEST(AbaFormat, AnAssumedNegationGetsAFreshContraryWhenConflictsAreDerived) {
  // p and x(p) are assumptions, and p derives t and x(t): the conflict must
  // attack p through its contrary, which cannot be the assumption x(p).
  const TKorvelTheory theory = Theory({"p", "x(p)", "if(p, t)", "if(p, x(t))"});
  const std::string text = WriteAbaFramework(theory);
  const TAba aba = ParseAba(text);
  EXPECT_TRUE(IsFlat(aba)) << text;
  EXPECT_NE(text.find("(x(p), or a sentence together with its negation)"), std::string::npos)
      << text;
  EXPECT_EQ(StableExtensions(aba), Interpretations(theory)) << text;
}

TEST(AbaFormat, WhatCannotMapIsRefused) {
  // An assumption derived by a conditional: the framework would not be flat.
  EXPECT_THROW(WriteAbaFramework(Theory({"a", "b", "if(a, b)"})), TAbaExportError);
  // One text read as an elementary sentence and as a conditional.
  TKorvelTheory ambiguous = Theory({"p", "if(p, q)"});
  ambiguous.Assumptions.push_back(MakeElementarySentence("if(p, q)"));
  ambiguous.Assumptions.back()->IsAssumption = true;
  try {
    WriteAbaFramework(ambiguous);
    ADD_FAILURE() << "an ambiguous text was written";
  } catch (const TAbaExportError& error) {
    EXPECT_NE(std::string(error.what()).find("\"if(p, q)\""), std::string::npos) << error.what();
  }
}

// Random theories over assumptions s0..s4 and derived atoms t0, t1: attacks,
// supports with several conjuncts, negated derived atoms, attacks on
// conditionals, nested conditionals and negations as assumptions, of derived
// atoms and of other assumptions.
TKorvelTheory RandomTheory(std::mt19937& random) {
  auto pick = [&random](size_t bound) {
    return std::uniform_int_distribution<size_t>(0, bound - 1)(random);
  };
  auto s = [&] { return "s" + std::to_string(pick(5)); };
  auto t = [&] { return "t" + std::to_string(pick(2)); };
  std::vector<std::string> texts;
  const size_t elementary = 2 + pick(4);
  for (size_t i = 0; i < elementary; ++i) texts.push_back("s" + std::to_string(i));
  const size_t rules = 2 + pick(6);
  for (size_t r = 0; r < rules; ++r) {
    switch (pick(8)) {
      case 0:
        texts.push_back("if(" + s() + ", x(" + s() + "))");
        break;
      case 1:
        texts.push_back("if(" + s() + ", " + s() + ", " + t() + ")");
        break;
      case 2:
        texts.push_back("if(" + t() + ", x(" + s() + "))");
        break;
      case 3:
        texts.push_back("if(" + s() + ", x(" + t() + "))");
        break;
      case 4:
        texts.push_back("if(" + s() + ", if(" + t() + ", x(" + s() + ")))");
        break;
      case 5:
        texts.push_back("x(" + t() + ")");
        break;
      case 6:
        texts.push_back("x(" + s() + ")");
        break;
      default:
        texts.push_back("if(" + s() + ", x(if(" + s() + ", x(" + s() + "))))");
        break;
    }
  }
  return Theory(texts);
}

TEST(AbaFormat, StableExtensionsOfTheExportAreTheInterpretations) {
  std::mt19937 random(2023);
  size_t compared = 0, withInterpretations = 0;
  for (int round = 0; round < 400; ++round) {
    const TKorvelTheory theory = RandomTheory(random);
    std::string text;
    try {
      text = WriteAbaFramework(theory);
    } catch (const TAbaExportError&) {
      continue;  // a derived assumption (the fixed texts cannot be ambiguous)
    }
    std::string texts;
    for (const auto& sentence : theory.Assumptions) texts += sentence->Text + "; ";
    const auto expected = Interpretations(theory);
    const TAba aba = ParseAba(text);
    EXPECT_TRUE(IsFlat(aba)) << texts << "\n" << text;
    EXPECT_EQ(StableExtensions(aba), expected) << texts << "\n" << text;
    ++compared;
    if (!expected.empty()) ++withInterpretations;
  }
  // The random theories must exercise both answers.
  EXPECT_GT(compared, 200u);
  EXPECT_GT(withInterpretations, 50u);
  EXPECT_LT(withInterpretations, compared);
}

}  // namespace
