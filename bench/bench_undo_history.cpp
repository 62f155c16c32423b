// Memory of the undo history: 10,000 editing steps on a theory of 5,000
// sentences (additions, changes of a sentence's text, moves to the issues,
// deletions), each step holding the whole file text before and after it.
// Reports the history's own count of bytes and the growth of the resident
// set, against the 2 x 10,000 whole texts the steps stand for.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <fstream>
#include <string>

#include "editing/undo_history.h"
#include "logic/KorvelUnit.h"

namespace {

size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

SentencePtr Statement(const std::string& text) {
  SentencePtr sentence = MakeElementarySentence(text);
  sentence->IsAssumption = true;
  return sentence;
}

void BM_UndoHistoryMemory(benchmark::State& state) {
  const int sentences = static_cast<int>(state.range(0));
  const int steps = static_cast<int>(state.range(1));
  for (auto _ : state) {
    TKorvelTheory theory;
    for (int i = 0; i < sentences; ++i)
      theory.Assumptions.push_back(Statement("statement " + std::to_string(i) + " of the argument"));
    TKorvelFile file;
    WriteTheory(theory, file);
    std::string before = file.Text;
    const size_t residentAtStart = ResidentBytes();
    size_t wholeTexts = 0;
    TUndoHistory history;
    for (int k = 0; k < steps; ++k) {
      const size_t at = static_cast<size_t>(k * 7919) % theory.Assumptions.size();
      switch (k % 4) {
        case 0:  // Add statement
          theory.Assumptions.push_back(Statement("added statement " + std::to_string(k)));
          break;
        case 1:  // Change: the sentence gets another text
          theory.Assumptions[at] = Statement(theory.Assumptions[at]->Text + " changed");
          break;
        case 2: {  // Set as issue: from the assumptions to the issues
          SentencePtr moved = theory.Assumptions[at];
          theory.Assumptions.erase(theory.Assumptions.begin() + static_cast<long>(at));
          moved->IsAssumption = false;
          moved->IsIssue = true;
          theory.Issues.push_back(moved);
          break;
        }
        default:  // Delete
          theory.Assumptions.erase(theory.Assumptions.begin() + static_cast<long>(at));
          break;
      }
      WriteTheory(theory, file);
      history.Record("step", before, file.Text);
      wholeTexts += before.size() + file.Text.size();
      before = file.Text;
    }
    state.counters["history_MB"] = static_cast<double>(history.MemoryBytes()) / 1e6;
    state.counters["resident_growth_MB"] = static_cast<double>(ResidentBytes() - residentAtStart) / 1e6;
    state.counters["whole_texts_MB"] = static_cast<double>(wholeTexts) / 1e6;
    state.counters["text_kB"] = static_cast<double>(before.size()) / 1e3;
    benchmark::DoNotOptimize(history.Count());
  }
}
BENCHMARK(BM_UndoHistoryMemory)->Args({5000, 10000})->Iterations(1)->Unit(benchmark::kSecond);

// Taking one step back on the same theory: the whole text put together again.
void BM_UndoOneStep(benchmark::State& state) {
  TKorvelTheory theory;
  for (int i = 0; i < 5000; ++i) theory.Assumptions.push_back(Statement("statement " + std::to_string(i)));
  TKorvelFile file;
  WriteTheory(theory, file);
  const std::string before = file.Text;
  theory.Assumptions.push_back(Statement("one more"));
  WriteTheory(theory, file);
  TUndoHistory history;
  history.Record("step", before, file.Text);
  for (auto _ : state) {
    benchmark::DoNotOptimize(history.Undo()->Text());
    benchmark::DoNotOptimize(history.Redo()->Text());
  }
}
BENCHMARK(BM_UndoOneStep)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
