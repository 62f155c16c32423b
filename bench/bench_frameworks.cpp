// Argumentation frameworks: reading the i23 format, building the theory, and
// finding one stable extension through the evaluation, on chains (every
// argument settled by forcing) and on independent mutual attacks (choices).
#include <benchmark/benchmark.h>

#include <string>

#include "evaluation/interpretations.h"
#include "frameworks/argumentation_framework.h"
#include "frameworks/framework_theory.h"

namespace {

std::string Chain(size_t n) {
  std::string text = "p af " + std::to_string(n) + "\n";
  for (size_t i = 1; i < n; ++i) text += std::to_string(i) + " " + std::to_string(i + 1) + "\n";
  return text;
}

std::string Pairs(size_t k) {
  std::string text = "p af " + std::to_string(2 * k) + "\n";
  for (size_t i = 1; i < 2 * k; i += 2) {
    text += std::to_string(i) + " " + std::to_string(i + 1) + "\n";
    text += std::to_string(i + 1) + " " + std::to_string(i) + "\n";
  }
  return text;
}

void BM_ReadI23Chain(benchmark::State& state) {
  const std::string text = Chain(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ReadFramework(text, TFrameworkFormat::I23));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadI23Chain)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TheoryOfChain(benchmark::State& state) {
  const TArgumentationFramework framework =
      ReadFramework(Chain(static_cast<size_t>(state.range(0))), TFrameworkFormat::I23);
  for (auto _ : state) benchmark::DoNotOptimize(FrameworkToTheory(framework));
}
BENCHMARK(BM_TheoryOfChain)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SomeExtension(benchmark::State& state, std::string (*make)(size_t)) {
  const TArgumentationFramework framework =
      ReadFramework(make(static_cast<size_t>(state.range(0))), TFrameworkFormat::I23);
  for (auto _ : state)
    benchmark::DoNotOptimize(EvaluateInterpretations(FrameworkToTheory(framework), 1));
}
BENCHMARK_CAPTURE(BM_SomeExtension, chain, Chain)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SomeExtension, pairs, Pairs)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
