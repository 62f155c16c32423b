// korvel import, export and solve on small frameworks checked by hand.
#include <random>
#include <set>

#include "logic/parser.h"
#include "tests/cli/korvel_run.h"

namespace {

// Hand-checked frameworks (i23) and their stable extensions:
const std::string kEmpty = "p af 0\n";                                         // {}
const std::string kIsolated = "p af 3\n";                                      // {1 2 3}
const std::string kSelfAttack = "p af 1\n1 1\n";                               // none
const std::string kOddCycle = "p af 3\n1 2\n2 3\n3 1\n";                       // none
const std::string kChoice = "# a choice and a bystander\np af 3\n1 2\n2 1\n";  // {2 3}, {1 3}
const std::string kChain = "p af 3\n1 2\n2 3\n2 3\n";                          // {1 3}

TEST_F(KorvelFiles, SolveAnswersAsACompetitionSolver) {
  struct TCase {
    std::string framework, problem, argument, expected;
  };
  const std::vector<TCase> cases = {
      {kEmpty, "EE-ST", "", "w\n"},
      {kEmpty, "SE-ST", "", "w\n"},
      {kEmpty, "CE-ST", "", "1\n"},
      {kIsolated, "EE-ST", "", "w 1 2 3\n"},
      {kIsolated, "DC-ST", "2", "YES\nw 1 2 3\n"},
      {kIsolated, "DS-ST", "3", "YES\n"},
      {kSelfAttack, "EE-ST", "", "NO\n"},
      {kSelfAttack, "SE-ST", "", "NO\n"},
      {kSelfAttack, "CE-ST", "", "0\n"},
      {kSelfAttack, "DC-ST", "1", "NO\n"},
      {kSelfAttack, "DS-ST", "1", "YES\n"},  // no extension: accepted vacuously
      {kOddCycle, "CE-ST", "", "0\n"},
      {kOddCycle, "DC-ST", "2", "NO\n"},
      {kChoice, "EE-ST", "", "w 2 3\nw 1 3\n"},
      {kChoice, "SE-ST", "", "w 2 3\n"},
      {kChoice, "CE-ST", "", "2\n"},
      {kChoice, "DC-ST", "1", "YES\nw 1 3\n"},
      {kChoice, "DS-ST", "1", "NO\nw 2 3\n"},
      {kChoice, "DS-ST", "3", "YES\n"},
      {kChain, "EE-ST", "", "w 1 3\n"},
      {kChain, "DC-ST", "2", "NO\n"},
      {kChain, "DS-ST", "2", "NO\nw 1 3\n"},
      {kChain, "DS-ST", "3", "YES\n"},
  };
  for (const auto& test : cases) {
    const std::string path = Write("f.af", test.framework);
    std::vector<std::string> arguments = {"solve", "-p", test.problem, "-f", path};
    if (!test.argument.empty()) arguments.insert(arguments.end(), {"-a", test.argument});
    const TKorvelRun run = Korvel(arguments);
    EXPECT_EQ(run.Code, 0) << test.framework << test.problem;
    EXPECT_EQ(run.Err, "") << test.framework << test.problem;
    EXPECT_EQ(run.Out, test.expected) << test.framework << test.problem << " " << test.argument;
    // The same from standard input.
    arguments[4] = "-";
    EXPECT_EQ(Korvel(arguments, test.framework).Out, test.expected)
        << test.framework << test.problem;
  }
}

// Stable extensions by definition, as "w ..." lines.
std::set<std::string> StableExtensions(size_t n,
                                       const std::vector<std::pair<size_t, size_t>>& attacks) {
  std::set<std::string> extensions;
  for (size_t set = 0; set < (size_t{1} << n); ++set) {
    auto in = [set](size_t a) { return (set >> a & 1) != 0; };
    bool stable = true;
    std::vector<bool> attacked(n, false);
    for (const auto& [from, to] : attacks) {
      if (in(from) && in(to)) stable = false;
      if (in(from)) attacked[to] = true;
    }
    std::string line = "w";
    for (size_t a = 0; a < n; ++a) {
      if (!in(a) && !attacked[a]) stable = false;
      if (in(a)) line += " " + std::to_string(a + 1);
    }
    if (stable) extensions.insert(line);
  }
  return extensions;
}

TEST(KorvelSolve, AcceptanceAgreesWithTheDefinitionOnRandomFrameworks) {
  std::mt19937 random(7);
  for (int round = 0; round < 150; ++round) {
    const size_t n = 1 + random() % 6;
    std::vector<std::pair<size_t, size_t>> attacks;
    std::string framework = "p af " + std::to_string(n) + "\n";
    for (size_t k = random() % (2 * n + 1); k > 0; --k) {
      attacks.emplace_back(random() % n, random() % n);
      framework += std::to_string(attacks.back().first + 1) + " " +
                   std::to_string(attacks.back().second + 1) + "\n";
    }
    const std::set<std::string> extensions = StableExtensions(n, attacks);
    EXPECT_EQ(Korvel({"solve", "-p", "CE-ST", "-f", "-"}, framework).Out,
              std::to_string(extensions.size()) + "\n")
        << framework;
    for (size_t a = 1; a <= n; ++a) {
      const std::string name = std::to_string(a);
      auto holds = [&name](const std::string& line) {
        return (line + " ").find(" " + name + " ") != std::string::npos;
      };
      bool credulous = false, skeptical = true;
      for (const auto& extension : extensions) {
        credulous = credulous || holds(extension);
        skeptical = skeptical && holds(extension);
      }
      const std::string dc = Korvel({"solve", "-p", "DC-ST", "-f", "-", "-a", name}, framework).Out;
      const std::string ds = Korvel({"solve", "-p", "DS-ST", "-f", "-", "-a", name}, framework).Out;
      if (credulous) {
        ASSERT_EQ(dc.rfind("YES\n", 0), 0u) << framework << name;
        const std::string witness = dc.substr(4, dc.size() - 5);
        EXPECT_TRUE(extensions.count(witness) && holds(witness))
            << framework << name << ": " << witness;
      } else {
        EXPECT_EQ(dc, "NO\n") << framework << name;
      }
      if (skeptical) {
        EXPECT_EQ(ds, "YES\n") << framework << name;
      } else {
        ASSERT_EQ(ds.rfind("NO\n", 0), 0u) << framework << name;
        const std::string witness = ds.substr(3, ds.size() - 4);
        EXPECT_TRUE(extensions.count(witness) && !holds(witness))
            << framework << name << ": " << witness;
      }
    }
  }
}

TEST_F(KorvelFiles, SolveAnswersInTheStyleOfTheInputFormatsCompetition) {
  // apx and tgf input are answered as the 2019 competition asked, i23 as the
  // 2023 one; --style chooses either.
  const std::string choice = Write("choice.apx", "arg(a).arg(b).arg(c).\natt(a,b).att(b,a).\n");
  const std::string empty = Write("empty.tgf", "#\n");
  const std::string none = Write("none.tgf", "a\n#\na a\n");
  struct TCase {
    std::string file, style, problem, argument, expected;
  };
  const std::vector<TCase> cases = {
      {choice, "", "EE-ST", "", "[[b,c],[a,c]]\n"},
      {choice, "", "SE-ST", "", "[b,c]\n"},
      {choice, "", "CE-ST", "", "2\n"},
      {choice, "", "DC-ST", "a", "YES\n"},
      {choice, "", "DS-ST", "a", "NO\n"},
      {choice, "", "DS-ST", "c", "YES\n"},
      {choice, "2023", "EE-ST", "", "w b c\nw a c\n"},
      {choice, "2023", "SE-ST", "", "w b c\n"},
      {choice, "2023", "DC-ST", "a", "YES\nw a c\n"},
      {choice, "2023", "DS-ST", "a", "NO\nw b c\n"},
      {empty, "", "EE-ST", "", "[[]]\n"},
      {empty, "", "SE-ST", "", "[]\n"},
      {none, "", "EE-ST", "", "[]\n"},
      {none, "", "SE-ST", "", "NO\n"},
      {none, "", "DC-ST", "a", "NO\n"},
      {none, "2023", "EE-ST", "", "NO\n"},
      {Write("choice.af", kChoice), "2019", "EE-ST", "", "[[2,3],[1,3]]\n"},
      {Write("choice.af", kChoice), "2019", "DS-ST", "1", "NO\n"},
      {Write("choice.af", kChoice), "2023", "DS-ST", "1", "NO\nw 2 3\n"},
  };
  for (const auto& test : cases) {
    std::vector<std::string> arguments = {"-p", test.problem, "-f", test.file};
    if (!test.argument.empty()) arguments.insert(arguments.end(), {"-a", test.argument});
    if (!test.style.empty()) arguments.insert(arguments.end(), {"--style", test.style});
    const TKorvelRun run = Korvel(arguments);
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out, test.expected) << test.file << " " << test.problem << " " << test.style;
  }
  // The format named by -fo decides the style when the file's name does not tell.
  EXPECT_EQ(
      Korvel({"solve", "-p", "EE-ST", "-fo", "apx", "-f", "-"}, "arg(a).arg(b).att(a,b).").Out,
      "[[a]]\n");
  EXPECT_EQ(Korvel({"solve", "-p", "EE-ST", "-f", choice, "--style", "2021"}).Code, 2);
}

TEST_F(KorvelFiles, SolveTakesTheSolverInterfaceAtTheTopLevel) {
  // Harnesses call "SOLVER -p ...", "SOLVER --formats", "SOLVER --problems"
  // and "SOLVER" alone.
  const std::string path = Write("f.af", kChoice);
  for (const std::vector<std::string>& call :
       {std::vector<std::string>{"-p", "CE-ST", "-f", path}, {"--formats"}, {"--problems"}, {}}) {
    std::vector<std::string> solve = {"solve"};
    solve.insert(solve.end(), call.begin(), call.end());
    const TKorvelRun top = Korvel(call), word = Korvel(solve);
    EXPECT_EQ(top.Code, 0) << top.Err;
    EXPECT_EQ(top.Out, word.Out);
  }
  EXPECT_EQ(Korvel({"-p", "CE-ST", "-f", path}).Out, "2\n");
  EXPECT_EQ(Korvel({"--formats"}).Out, "[i23,apx,tgf]\n");
  EXPECT_EQ(Korvel({"--problems"}).Out, "[EE-ST,SE-ST,CE-ST,DC-ST,DS-ST]\n");
  EXPECT_EQ(Korvel({}).Out, "korvel " PELMORA_VERSION "\nThe Pelmora developers\n");
  EXPECT_EQ(Korvel({"-p", "EE-ST"}).Code, 2);  // no file: a usage error of solve
}

TEST_F(KorvelFiles, SolveRefusesWhatItCannotAnswer) {
  const std::string path = Write("f.af", kChoice);
  EXPECT_EQ(Korvel({"solve", "-p", "DC-ST", "-f", path}).Code, 2);  // no -a
  EXPECT_EQ(Korvel({"solve", "-p", "EE-ST", "-f", path, "-a", "1"}).Code, 2);
  EXPECT_EQ(Korvel({"solve", "-p", "EE-CO", "-f", path}).Code, 2);
  EXPECT_EQ(Korvel({"solve", "-p", "EE-ST"}).Code, 2);
  EXPECT_EQ(Korvel({"solve", "-p"}).Code, 2);
  const TKorvelRun unknown = Korvel({"solve", "-p", "DC-ST", "-f", path, "-a", "4"});
  EXPECT_EQ(unknown.Code, 1);
  EXPECT_EQ(unknown.Err, "korvel: " + path + ": no argument 4\n");
  // A value given twice is refused, not silently replaced.
  const TKorvelRun twice = Korvel({"solve", "-p", "EE-ST", "-p", "CE-ST", "-f", path});
  EXPECT_EQ(twice.Code, 2);
  EXPECT_EQ(twice.Out, "");
  EXPECT_EQ(twice.Err.rfind("korvel: solve: option -p is given more than once\n", 0), 0u)
      << twice.Err;
  // "--" lets an argument's name begin with "-", as it may in tgf.
  const std::string dashed = Write("dashed.tgf", "-a\nb\n#\nb -a\n");
  for (const std::vector<std::string>& query :
       {std::vector<std::string>{"-a", "-a"}, {"-a", "--", "-a"}}) {
    std::vector<std::string> arguments = {"-p", "DC-ST", "-f", dashed, "--style", "2023"};
    arguments.insert(arguments.end(), query.begin(), query.end());
    const TKorvelRun run = Korvel(arguments);
    EXPECT_EQ(run.Code, 0) << query.size() << run.Err;
    EXPECT_EQ(run.Out, "NO\n");
  }
}

TEST_F(KorvelFiles, ImportWritesTheTheoryWhoseInterpretationsAreTheStableExtensions) {
  const std::string kvl = Path("choice.kvl");
  const TKorvelRun imported = Korvel({"import", Write("choice.af", kChoice)});
  ASSERT_EQ(imported.Code, 0) << imported.Err;
  std::ofstream(kvl, std::ios::binary) << imported.Out;
  EXPECT_EQ(Korvel({"interpretations", kvl}).Out,
            "3 | if(1, x(2)) | if(2, x(1)) | 2\n3 | if(1, x(2)) | if(2, x(1)) | 1\n");
  // The theory file is in normal form already.
  EXPECT_EQ(Korvel({"normalize", kvl}).Out, imported.Out);

  // The three formats and standard input give the same theory.
  for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
           {"choice.apx", "arg(1).\narg(2).\narg(3).\natt(1,2).\natt(2,1).\n"},
           {"choice.tgf", "1\n2\n3\n#\n1 2\n2 1\n"}}) {
    EXPECT_EQ(Korvel({"import", Write(name, content)}).Out, imported.Out) << name;
    const std::string format = name.substr(name.size() - 3);
    EXPECT_EQ(Korvel({"import", "-", "--format", format}, content).Out, imported.Out) << name;
    EXPECT_EQ(Korvel({"import", "-"}, content).Out, imported.Out) << name << " guessed";
  }
  EXPECT_EQ(Korvel({"import", "-"}, kChoice).Out, imported.Out);
}

TEST_F(KorvelFiles, MalformedFrameworksAreReportedWithFileAndLine) {
  struct TCase {
    std::string name, content, message;
  };
  const std::vector<TCase> cases = {
      {"undeclared.af", "p af 2\n1 2\n2 3\n",
       ":3: attack on undeclared argument 3 (the header declares arguments 1 to 2)"},
      {"garbage.af", "p af 2\nhello world\n",
       ":2: expected an attack \"A B\" of two argument numbers"},
      {"noheader.af", "", ":1: no \"p af N\" header"},
      {"undeclared.apx", "arg(a).\natt(a,b).\n", ":2: attack on undeclared argument \"b\""},
      {"name.tgf", "a\nif(a,\n#\n", ":2: argument name \"if(a,\" cannot be a sentence text"},
      {"nul.af", std::string("p af 2\n1\0 2\n", 12), ":2: a NUL byte"},
  };
  for (const auto& test : cases) {
    const std::string path = Write(test.name, test.content);
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"import", path}, {"solve", "-p", "CE-ST", "-f", path}}) {
      const TKorvelRun run = Korvel(arguments);
      EXPECT_EQ(run.Code, 1) << test.name;
      EXPECT_EQ(run.Out, "") << test.name;
      EXPECT_EQ(run.Err.rfind("korvel: " + path + test.message, 0), 0u) << run.Err;
    }
  }
  const TKorvelRun stdinError = Korvel({"import", "-", "--format", "i23"}, "p af 1\n1 2\n");
  EXPECT_EQ(stdinError.Err,
            "korvel: standard input:2: attack on undeclared argument 2 (the header declares "
            "arguments 1 to 1)\n");
  EXPECT_EQ(Korvel({"import", "-"}, "hello\n").Code, 1);  // no format to tell
  EXPECT_EQ(Korvel({"import", Path("missing.af")})
                .Err.rfind("korvel: cannot read " + Path("missing.af") + ": ", 0),
            0u);
  EXPECT_EQ(Korvel({"import", Path("x.af"), "--format", "dot"}).Code, 2);
  EXPECT_EQ(Korvel({"import"}).Code, 2);
}

TEST_F(KorvelFiles, ExportRoundTripsFrameworksAndWritesAba) {
  const std::string kvl = Write("chain.kvl", Korvel({"import", Write("chain.af", kChain)}).Out);
  EXPECT_EQ(Korvel({"export", kvl, "--format", "i23"}).Out, "p af 3\n1 2\n2 3\n");
  const std::string apx = Korvel({"export", kvl, "--format", "apx"}).Out;
  EXPECT_EQ(apx, "arg(1).\narg(2).\narg(3).\natt(1,2).\natt(2,3).\n");
  EXPECT_EQ(Korvel({"export", kvl, "--format", "tgf"}).Out, "1\n2\n3\n#\n1 2\n2 3\n");
  // Back again through apx gives the same theory file.
  EXPECT_EQ(Korvel({"import", Write("chain.apx", apx)}).Out, ReadFileBytes(kvl));

  // ABA by default; from standard input too.
  const TKorvelRun aba = Korvel({"export", kExample});
  EXPECT_EQ(aba.Code, 0);
  EXPECT_EQ(aba.Out,
            "p aba 5\n# atoms and the sentence texts they stand for\n# 1 a\n# 2 if(a, b)\n# 3 b\n# "
            "4 x(a)\n"
            "# 5 x(if(a, b))\n# issue 3\na 1\na 2\nc 1 4\nc 2 5\nr 3 1 2\n");
  EXPECT_EQ(Korvel({"export", "-", "--format", "aba"}, ReadFileBytes(kExample)).Out, aba.Out);

  // A theory that is no framework, or no flat ABA framework, is refused.
  const TKorvelRun notFramework = Korvel({"export", kExample, "--format", "apx"});
  EXPECT_EQ(notFramework.Code, 1);
  EXPECT_EQ(notFramework.Err,
            "korvel: " + kExample +
                ": cannot be written as apx: the assumption \"if(a, b)\" is neither an argument "
                "nor an attack \"if(a, x(b))\" between two arguments\n");
  TKorvelTheory derived;
  for (const char* text : {"a", "b", "if(a, b)"}) {
    derived.Assumptions.push_back(ParseSentence(text));
    derived.Assumptions.back()->IsAssumption = true;
  }
  TKorvelFile file;
  WriteTheory(derived, file);
  const TKorvelRun notFlat = Korvel({"export", Write("derived.kvl", file.FileBytes())});
  EXPECT_EQ(notFlat.Code, 1) << notFlat.Out;
  EXPECT_NE(notFlat.Err.find("cannot be written as aba: the assumption"), std::string::npos)
      << notFlat.Err;
  EXPECT_EQ(Korvel({"export", kExample, "--format", "dot"}).Code, 2);
}

}  // namespace
