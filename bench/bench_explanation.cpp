// The explanation of one sentence in theories of 20,000 sentences: building
// the explainer for the interpretation shown (index and closure with its
// derivations) plus the explanation, and the explanation alone once built.
//
// Families: chain(n) (s0 and if(s_i, s_{i+1}): the last text is n rounds
// deep), debate(n) (chains of attacks a thousand long, supports with two
// conjuncts, an open issue per group).
//
// With acceptance on: pairs(5,000) (20,000 sentences, 2^5000
// interpretations, the first `listed` of them listed), a sentence the first
// listed one holds but some other lacks, so that the acceptance's witness is
// looked for among the listed ones (it is not there) and explained.
#include <benchmark/benchmark.h>

#include "acceptance/acceptance.h"
#include "evaluation/interpretations.h"
#include "explanation/acceptance_explanation.h"
#include "explanation/explanation.h"
#include "tests/evaluation/theory_families.h"

namespace {

TKorvelTheory Chain(size_t n) {
  TKorvelTheory theory;
  families::Assume(theory, families::Atom("s0"));
  for (size_t i = 0; i < n; ++i)
    families::Assume(theory, families::If({families::Atom(families::Indexed("s", i))},
                                          families::Atom(families::Indexed("s", i + 1))));
  return theory;
}

struct TSubject {
  TKorvelTheory Theory;
  TEvaluation Evaluation;
  std::string Text;
};

TSubject Subject(size_t family, size_t n) {
  TSubject subject;
  if (family == 0) {
    subject.Theory = Chain(n - 1);
    subject.Text = families::Indexed("s", n - 1);  // the deepest derivation
  } else {
    subject.Theory = families::Debate(n);
    subject.Text = families::Indexed("a", 999);  // defeated at the end of a chain
  }
  subject.Evaluation = EvaluateInterpretations(subject.Theory);
  return subject;
}

void ExplainerAndExplanation(benchmark::State& state) {
  const TSubject subject =
      Subject(static_cast<size_t>(state.range(0)), static_cast<size_t>(state.range(1)));
  size_t lines = 0;
  const TListOfKorvelSentences first = subject.Evaluation.Interpretations.front();
  for (auto _ : state) {
    TExplainer explainer(subject.Theory, &first);
    lines = explainer.Explain(subject.Text).Lines.size();
  }
  state.counters["lines"] = static_cast<double>(lines);
}

void ExplanationAlone(benchmark::State& state) {
  const TSubject subject =
      Subject(static_cast<size_t>(state.range(0)), static_cast<size_t>(state.range(1)));
  const TListOfKorvelSentences first = subject.Evaluation.Interpretations.front();
  TExplainer explainer(subject.Theory, &first);
  size_t lines = 0;
  for (auto _ : state) lines = explainer.Explain(subject.Text).Lines.size();
  state.counters["lines"] = static_cast<double>(lines);
}

void WithAcceptance(benchmark::State& state) {
  const TKorvelTheory theory = families::Pairs(5000);
  const TEvaluation evaluation =
      EvaluateInterpretations(theory, static_cast<size_t>(state.range(0)));
  const TListOfKorvelSentences& first = evaluation.Interpretations.front();
  const std::vector<std::string> texts{IndexOfSentence(first, theory.Assumptions[0]) >= 0 ? "p1"
                                                                                          : "q1"};
  const TAcceptance acceptance = ComputeAcceptance(theory, texts);
  const TExplainer shown(theory, &first);
  size_t lines = 0;
  for (auto _ : state) {
    TAcceptanceExplainer explainer(theory, acceptance, texts, evaluation.Interpretations, 0,
                                   &shown);
    lines = explainer.Explain(texts[0]).Lines.size();
  }
  state.counters["lines"] = static_cast<double>(lines);
}

// range(0): 0 = chain, 1 = debate; range(1): sentences.
BENCHMARK(ExplainerAndExplanation)
    ->Args({0, 20000})
    ->Args({1, 20000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ExplanationAlone)->Args({0, 20000})->Args({1, 20000})->Unit(benchmark::kMillisecond);
// range(0): interpretations listed.
BENCHMARK(WithAcceptance)->Arg(1)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
