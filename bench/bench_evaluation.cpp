// The evaluation: the exhaustive definition and the fast engine side by side
// on the same theories, and the whole refresh behind `korvel report` on long
// theories without undetermined assumptions.
//
// Families: pairs(k) (2k undetermined, 2^k interpretations), ladder(k) (2k
// undetermined, k + 1 interpretations), oddcycles(k) (3k undetermined, none),
// random(n, v) (n elementary assumptions with random attacks and supports).
#include <benchmark/benchmark.h>

#include "refresh/refresh_core.h"
#include "evaluation/interpretations.h"
#include "evaluation/interpretations_reference.h"
#include "tests/evaluation/theory_families.h"

namespace {

constexpr size_t kUnlimited = static_cast<size_t>(-1);

void Report(benchmark::State& state, size_t interpretations) {
  state.counters["interpretations"] = static_cast<double>(interpretations);
}

template <TKorvelTheory (*Family)(size_t)>
void Fast(benchmark::State& state) {
  const TKorvelTheory theory = Family(static_cast<size_t>(state.range(0)));
  size_t count = 0;
  for (auto _ : state) {
    TEvaluation evaluation = EvaluateInterpretations(theory, kUnlimited);
    count = evaluation.Interpretations.size();
    benchmark::DoNotOptimize(evaluation);
  }
  Report(state, count);
}

template <TKorvelTheory (*Family)(size_t)>
void Reference(benchmark::State& state) {
  const TKorvelTheory theory = Family(static_cast<size_t>(state.range(0)));
  size_t count = 0;
  for (auto _ : state) {
    auto interpretations = reference::ComputeInterpretations(theory);
    count = interpretations.size();
    benchmark::DoNotOptimize(interpretations);
  }
  Report(state, count);
}

TKorvelTheory Random(benchmark::State& state) {
  return families::Random(static_cast<size_t>(state.range(0)),
                          static_cast<unsigned>(state.range(1)));
}

void FastRandom(benchmark::State& state) {
  const TKorvelTheory theory = Random(state);
  size_t count = 0;
  for (auto _ : state) count = EvaluateInterpretations(theory, kUnlimited).Interpretations.size();
  Report(state, count);
}

void ReferenceRandom(benchmark::State& state) {
  const TKorvelTheory theory = Random(state);
  size_t count = 0;
  for (auto _ : state) count = reference::ComputeInterpretations(theory).size();
  Report(state, count);
}

// The refresh behind `korvel report`: read, normalise, evaluate, mark, give
// roles and write the report, from the file text.
void ReportPath(benchmark::State& state) {
  TKorvelTheory theory = families::Debate(static_cast<size_t>(state.range(0)));
  TKorvelFile file;
  WriteTheory(theory, file);
  size_t lines = 0;
  for (auto _ : state) {
    TRefreshResult result = Refresh({file, {}});
    lines = result.ReportLines.size();
    if (result.Interpretations.size() != 1) state.SkipWithError("expected one interpretation");
  }
  state.counters["report_lines"] = static_cast<double>(lines);
}

}  // namespace

BENCHMARK(Reference<families::Pairs>)
    ->Name("reference/pairs")
    ->Arg(6)
    ->Arg(8)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Fast<families::Pairs>)
    ->Name("fast/pairs")
    ->Arg(6)
    ->Arg(8)
    ->Arg(10)
    ->Arg(13)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Reference<families::Ladder>)
    ->Name("reference/ladder")
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Fast<families::Ladder>)
    ->Name("fast/ladder")
    ->Arg(4)
    ->Arg(8)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Reference<families::OddCycles>)
    ->Name("reference/oddcycles")
    ->Arg(3)
    ->Arg(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Fast<families::OddCycles>)
    ->Name("fast/oddcycles")
    ->Arg(3)
    ->Arg(5)
    ->Arg(40)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ReferenceRandom)
    ->Name("reference/random")
    ->Args({12, 1})
    ->Args({12, 2})
    ->Args({16, 3})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FastRandom)
    ->Name("fast/random")
    ->Args({12, 1})
    ->Args({12, 2})
    ->Args({16, 3})
    ->Args({200, 4})
    ->Args({2000, 5})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ReportPath)->Name("report/debate")->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
