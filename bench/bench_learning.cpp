// The learning evaluation side by side with the depth-first engine it builds
// on and with clingo, an answer set solver, on the same problems: for each
// family and size, "new/..." runs the engine as shipped (depth first within a
// budget, then learning), "old/..." the depth-first engine alone, stopped
// after kOldLimit (reported with the counter stopped=1; the new one after
// kNewLimit), and "clingo/..." the
// whole process `clingo 0 -q` counting all models of the theory written as a
// logic program (asp_encoding.h). Times are processor times (for clingo those
// of the child process, with its wall time as a counter), since the machines
// these run on are often shared.
//
// Families: random argumentation frameworks (n arguments, n * density / 10
// attacks, theory order as drawn or reversed), random 3-SAT at 4.26 clauses
// per variable, grids of mutual attacks with an odd cycle last, mutual pairs
// with an odd cycle last, and pairs, ladder, oddcycles and random from before.
// Run with --benchmark_filter to pick families; clingo must be on the PATH.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "evaluation/interpretations.h"
#include "evaluation/interpretations_engine.h"
#include "tests/evaluation/asp_encoding.h"
#include "tests/evaluation/theory_families.h"

namespace {

constexpr size_t kUnlimited = static_cast<size_t>(-1);
constexpr auto kOldLimit = std::chrono::seconds(5);
constexpr auto kNewLimit = std::chrono::seconds(30);

using TMaker = std::function<TKorvelTheory()>;

void Report(benchmark::State& state, const TEvaluation& evaluation) {
  state.counters["interpretations"] = static_cast<double>(evaluation.Interpretations.size());
  state.counters["cut"] = evaluation.Cut ? 1 : 0;
  state.counters["stopped"] = evaluation.Stopped ? 1 : 0;
}

// Evaluates with the given search, stopped by a watchdog after `limit`.
TEvaluation Watched(const TKorvelTheory& theory, TSearchStrategy strategy,
                    std::chrono::seconds limit) {
  TEvaluationControl control;
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  std::thread watchdog([&] {
    std::unique_lock lock(mutex);
    if (!done.wait_for(lock, limit, [&] { return finished; })) control.RequestStop();
  });
  TInterpretationEngine engine(theory);
  engine.SetStrategy(strategy);
  TEvaluation evaluation = engine.Evaluate(kInterpretationLimit, &control);
  {
    std::lock_guard lock(mutex);
    finished = true;
  }
  done.notify_one();
  watchdog.join();
  return evaluation;
}

void New(benchmark::State& state, const TMaker& make) {
  const TKorvelTheory theory = make();
  TEvaluation evaluation;
  for (auto _ : state) evaluation = Watched(theory, TSearchStrategy::Portfolio, kNewLimit);
  Report(state, evaluation);
}

// The depth-first engine alone.
void Old(benchmark::State& state, const TMaker& make) {
  const TKorvelTheory theory = make();
  TEvaluation evaluation;
  for (auto _ : state) evaluation = Watched(theory, TSearchStrategy::DepthFirst, kOldLimit);
  Report(state, evaluation);
}

void Clingo(benchmark::State& state, const TMaker& make) {
  char path[] = "/tmp/pelmora-bench-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) {
    state.SkipWithError("no temporary file");
    return;
  }
  close(fd);
  std::ofstream(path) << asp::TAspWriter(make()).Program();
  const std::string command = std::string("clingo 0 -q --time-limit=30 ") + path + " >/dev/null 2>&1";
  double wall = 0;
  for (auto _ : state) {
    // The child's processor time, as the engine's own is measured.
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    getrusage(RUSAGE_CHILDREN, &after);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    state.SetIterationTime(seconds(after.ru_utime) - seconds(before.ru_utime) +
                           seconds(after.ru_stime) - seconds(before.ru_stime));
    // clingo exits with 10 (models found), 20 (none) or 30 (all enumerated).
    if (status == -1 || (WEXITSTATUS(status) != 10 && WEXITSTATUS(status) != 20 &&
                         WEXITSTATUS(status) != 30)) {
      state.SkipWithError("clingo failed");
      break;
    }
  }
  state.counters["wall_ms"] = wall * 1000;
  std::remove(path);
}

void Register(const std::string& name, const TMaker& make) {
  auto add = [&](const std::string& engine, void (*run)(benchmark::State&, const TMaker&)) {
    return benchmark::RegisterBenchmark((engine + "/" + name).c_str(), run, make)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.2);
  };
  add("new", New);
  add("old", Old);
  add("clingo", Clingo)->UseManualTime();
}

void RegisterAll() {
  // Dense large frameworks are hard for every solver; sizes and densities
  // give frameworks with and without extensions.
  for (size_t n : {200u, 1000u, 5000u, 10000u})
    for (size_t density : n <= 1000 ? std::vector<size_t>{10, 20, 40} : std::vector<size_t>{10, 15, 20})
      for (bool reversed : {false, true})
        Register("framework/n:" + std::to_string(n) + "/density:" + std::to_string(density) +
                     (reversed ? "/reversed" : "/drawn"),
                 [=] { return families::AttackFramework(n, n * density / 10, 7, reversed); });
  for (size_t vars : {40u, 60u, 100u, 150u})
    Register("3sat/vars:" + std::to_string(vars),
             [=] { return families::ThreeSat(vars, vars * 426 / 100, 11); });
  for (size_t w : {7u, 10u, 20u, 40u})
    Register("grid-cycle-last/w:" + std::to_string(w), [=] { return families::Grid(w, true); });
  for (size_t k : {20u, 100u, 1000u})
    Register("pairs-cycle-last/k:" + std::to_string(k),
             [=] { return families::PairsThenOddCycle(k); });
  Register("pairs/k:10", [] { return families::Pairs(10); });
  Register("ladder/k:100", [] { return families::Ladder(100); });
  Register("ladder/k:3200", [] { return families::Ladder(3200); });
  Register("oddcycles/k:40", [] { return families::OddCycles(40); });
  Register("random/n:200", [] { return families::Random(200, 4); });
  Register("random/n:2000", [] { return families::Random(2000, 5); });
}

}  // namespace

int main(int argc, char** argv) {
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
