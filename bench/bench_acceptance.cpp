// Acceptance over all interpretations beside clingo's brave and cautious
// consequences on the same problems: the metro framework (stable semantics,
// every argument asked) and 30 independent pairs (2^30 interpretations); and
// acceptance alone on random 3-SAT at 4.26 clauses per variable, where one
// hard part must be proved empty or searched for many witnesses.
// clingo runs as a child process; its CPU time (user + system of the child)
// is the manual time of its benchmarks.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "acceptance/acceptance.h"
#include "frameworks/argumentation_framework.h"
#include "frameworks/framework_theory.h"
#include "tests/evaluation/theory_families.h"

namespace {

const char* const kMetro = "/work/shared/frameworks/metro-st-louis_20130916_1522.gml.80.apx";

// Stable extensions of an apx framework, as a logic program for clingo.
const char* const kStableProgram = R"(
in(X) :- arg(X), not out(X).
out(X) :- arg(X), not in(X).
:- in(X), in(Y), att(X,Y).
defeated(X) :- in(Y), att(Y,X).
:- out(X), not defeated(X).
#show in/1.
)";

std::string ReadAll(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs clingo on the files in the given mode; the child's CPU seconds.
double RunClingo(const std::string& files, const char* mode) {
  const double before = ChildrenCpuSeconds();
  const std::string command = std::string("clingo 0 -q --enum-mode=") + mode + " " + files + " >/dev/null 2>&1";
  if (std::system(command.c_str()) < 0) return -1;
  return ChildrenCpuSeconds() - before;
}

std::string WriteProgram(const std::string& name, const std::string& text) {
  const std::string path = "/tmp/pelmora-bench-" + std::to_string(::getpid()) + "-" + name;
  std::ofstream(path) << text;
  return path;
}

// With `counting`, the interpretations are counted as the window does past
// the cap (part by part, up to 64 choices each).
void BM_AcceptanceMetro(benchmark::State& state, bool counting) {
  const std::string text = ReadAll(kMetro);
  if (text.empty()) {
    state.SkipWithError("metro framework not found");
    return;
  }
  const TArgumentationFramework framework = ReadFramework(text, TFrameworkFormat::Apx);
  const TKorvelTheory theory = FrameworkToTheory(framework);
  TAcceptanceControl control;
  TAcceptanceOptions options;
  options.CountInterpretations = counting;
  options.CountLimitPerPart = 64;  // as the window counts
  size_t some = 0;
  double count = -1;
  for (auto _ : state) {
    const TAcceptance acceptance = ComputeAcceptance(theory, framework.Arguments, options, &control);
    if (acceptance.InterpretationCount) count = static_cast<double>(*acceptance.InterpretationCount);
    some = 0;
    for (const auto& a : acceptance.Texts) some += a.Justified != TReach::None ? 1u : 0u;
  }
  state.counters["arguments"] = static_cast<double>(framework.Arguments.size());
  state.counters["credulous"] = static_cast<double>(some);
  if (counting) state.counters["counted"] = count;  // -1: more than the limit in a part
  state.counters["questions"] = benchmark::Counter(static_cast<double>(control.Decisions.load()), benchmark::Counter::kAvgIterations);
  state.counters["models"] = benchmark::Counter(static_cast<double>(control.InterpretationsFound.load()), benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_AcceptanceMetro, acceptance, false)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_AcceptanceMetro, counted, true)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ClingoMetro(benchmark::State& state, const char* mode) {
  const std::string program = WriteProgram("stable.lp", kStableProgram);
  const std::string files = program + " " + kMetro;
  for (auto _ : state) state.SetIterationTime(RunClingo(files, mode));
  std::remove(program.c_str());
}
BENCHMARK_CAPTURE(BM_ClingoMetro, brave, "brave")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ClingoMetro, cautious, "cautious")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

std::string PairsApx(size_t k) {
  std::string text;
  for (size_t i = 0; i < k; ++i) {
    const std::string p = "p" + std::to_string(i), q = "q" + std::to_string(i);
    text += "arg(" + p + ").\narg(" + q + ").\natt(" + p + "," + q + ").\natt(" + q + "," + p + ").\n";
  }
  return text;
}

void BM_AcceptancePairs(benchmark::State& state) {
  const TArgumentationFramework framework =
      ReadFramework(PairsApx(static_cast<size_t>(state.range(0))), TFrameworkFormat::Apx);
  const TKorvelTheory theory = FrameworkToTheory(framework);
  TAcceptanceOptions options;
  options.CountInterpretations = true;
  for (auto _ : state) benchmark::DoNotOptimize(ComputeAcceptance(theory, ReportTexts(theory), options));
}
BENCHMARK(BM_AcceptancePairs)->Arg(30)->Arg(1000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Every assumption's text asked of a 3-SAT theory (vars, variant): the
// counter `satisfiable` tells which kind of question the row asks.
void BM_AcceptanceThreeSat(benchmark::State& state) {
  const size_t vars = static_cast<size_t>(state.range(0));
  const TKorvelTheory theory =
      families::ThreeSat(vars, vars * 426 / 100, static_cast<unsigned>(state.range(1)));
  bool satisfiable = false;
  for (auto _ : state) satisfiable = ComputeAcceptance(theory, ReportTexts(theory)).HasInterpretation;
  state.counters["satisfiable"] = satisfiable ? 1 : 0;
}
BENCHMARK(BM_AcceptanceThreeSat)
    ->Args({150, 1})->Args({150, 2})->Args({200, 1})->Args({200, 3})->Args({250, 1})->Args({250, 2})
    ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ClingoPairs(benchmark::State& state, const char* mode) {
  const std::string program = WriteProgram("stable.lp", kStableProgram);
  const std::string facts = WriteProgram("pairs.apx", PairsApx(static_cast<size_t>(state.range(0))));
  for (auto _ : state) state.SetIterationTime(RunClingo(program + " " + facts, mode));
  std::remove(program.c_str());
  std::remove(facts.c_str());
}
BENCHMARK_CAPTURE(BM_ClingoPairs, brave, "brave")->Arg(30)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ClingoPairs, cautious, "cautious")->Arg(30)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
