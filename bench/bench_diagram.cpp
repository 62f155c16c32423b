// Layout plus shape geometry of large theories: one deep support tree, and a
// wide forest of small arguments. The argument is the number of sentences.
#include <benchmark/benchmark.h>

#include <string>

#include "diagram/diagram_layout.h"

namespace {

SentencePtr Conditional(const SentencePtr& antecedent, const SentencePtr& consequent) {
  auto conditional = std::make_shared<TKorvelConditional>();
  conditional->Antecedents.push_back(antecedent);
  conditional->Consequent = consequent;
  RebuildText(*conditional);
  return conditional;
}

void MarkAll(TListOfKorvelSentences& list) {
  for (size_t i = 0; i < list.size(); ++i) {
    list[i]->IsAssumption = i % 3 != 0;
    list[i]->IsIssue = i % 3 == 0;
    list[i]->IsJustified = i % 2 == 0;
  }
}

// s0 <- s1 <- s2 <- ...: each statement supported by the next; every tenth
// level also attacked by a reason of its own. Every sentence once, as the
// program's list of all sentences holds them.
TListOfKorvelSentences DeepTree(int sentences) {
  TListOfKorvelSentences list;
  SentencePtr current = MakeElementarySentence("statement 0");
  list.push_back(current);
  for (int level = 1; static_cast<int>(list.size()) + 2 <= sentences; ++level) {
    SentencePtr reason = MakeElementarySentence("statement " + std::to_string(level));
    list.push_back(Conditional(reason, current));
    list.push_back(reason);
    if (level % 10 == 0 && static_cast<int>(list.size()) + 4 <= sentences) {
      SentencePtr objection = MakeElementarySentence("objection " + std::to_string(level));
      SentencePtr negation = MakeDialecticalNegation(current);
      list.push_back(Conditional(objection, negation));
      list.push_back(negation);
      list.push_back(objection);
    }
    current = reason;
  }
  MarkAll(list);
  return list;
}

// Many small trees: a claim with two supports and one attack (8 sentences).
TListOfKorvelSentences WideForest(int sentences) {
  TListOfKorvelSentences list;
  for (int tree = 0; static_cast<int>(list.size()) + 8 <= sentences; ++tree) {
    const std::string n = std::to_string(tree);
    SentencePtr claim = MakeElementarySentence("claim " + n);
    SentencePtr first = MakeElementarySentence("first reason " + n);
    SentencePtr second = MakeElementarySentence("second reason " + n);
    SentencePtr objection = MakeElementarySentence("objection " + n);
    SentencePtr negation = MakeDialecticalNegation(claim);
    list.insert(list.end(), {Conditional(first, claim), claim, first, Conditional(second, claim), second,
                             Conditional(objection, negation), negation, objection});
  }
  MarkAll(list);
  return list;
}

void RunLayout(benchmark::State& state, const TListOfKorvelSentences& sentences) {
  TDrawContext context;
  for (auto _ : state) {
    DrawArguments(context, sentences, 0, 0);
    benchmark::DoNotOptimize(context.Drawing.Elements.data());
  }
  state.counters["rows"] = context.RowsUsed;
  state.counters["elements"] = static_cast<double>(context.Drawing.Elements.size());
}

void BM_DeepSupportTree(benchmark::State& state) {
  RunLayout(state, DeepTree(static_cast<int>(state.range(0))));
}
void BM_WideForest(benchmark::State& state) {
  RunLayout(state, WideForest(static_cast<int>(state.range(0))));
}

}  // namespace

BENCHMARK(BM_DeepSupportTree)->Arg(10000)->Arg(20000)->Arg(40000)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideForest)->Arg(10000)->Arg(20000)->Arg(40000)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
