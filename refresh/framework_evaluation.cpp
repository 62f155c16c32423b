#include "refresh/framework_evaluation.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <span>
#include <thread>

#include "evaluation/interpretations_engine.h"
#include "frameworks/framework_theory.h"

struct TFrameworkEvaluation::TShared {
  TArgumentationFramework Framework;
  size_t Limit = 0;
  TEvaluationControl Control;
  std::mutex Mutex;
  std::condition_variable Done;
  bool Finished = false;
  bool Failed = false;
  // Positions: the table is put in by Wait.
  TInterpretationList Interpretations;
  bool Cut = false;
  bool Stopped = false;

  void Run() {
    TInterpretationList list;
    bool cut = false, stopped = false, failed = false;
    try {
      TInterpretationEngine engine = FrameworkEngine(Framework);
      list = TInterpretationList(TListOfKorvelSentences(Framework.Arguments.size() + Framework.Attacks.size()));
      // As the theory's engine keeps them: the forced part is the same for every one.
      const TEnumerationSummary summary = engine.Enumerate(
          Limit,
          [&list](std::span<const size_t> forced, std::span<const size_t> taken) {
            if (list.empty()) list.Add(forced, taken);
            else list.AddWithSameForced(taken);
            return true;
          },
          &Control);
      cut = summary.Cut;
      stopped = summary.Stopped;
    } catch (const std::bad_alloc&) {
      list = {};
      failed = true;
    }
    std::lock_guard lock(Mutex);
    Interpretations = std::move(list);
    Cut = cut;
    Stopped = stopped;
    Failed = failed;
    Finished = true;
    Done.notify_all();
  }
};

std::shared_ptr<TFrameworkEvaluation> TFrameworkEvaluation::Start(TArgumentationFramework framework, size_t limit) {
  auto shared = std::make_shared<TShared>();
  shared->Framework = std::move(framework);
  shared->Limit = limit;
  std::shared_ptr<TFrameworkEvaluation> evaluation(new TFrameworkEvaluation(shared));
  evaluation->thread_ = std::thread([shared] { shared->Run(); });
  return evaluation;
}

TFrameworkEvaluation::TFrameworkEvaluation(std::shared_ptr<TShared> shared) : shared_(std::move(shared)) {}

TFrameworkEvaluation::~TFrameworkEvaluation() {
  // The search looks at the stop request every few hundred steps, so the
  // thread ends within milliseconds; waiting for it means no thread outlives
  // the document that started it, or the program.
  shared_->Control.RequestStop();
  if (thread_.joinable()) thread_.join();
}

bool TFrameworkEvaluation::Fits(const TKorvelTheory& theory, size_t issuesAtRead) const {
  const TArgumentationFramework& framework = shared_->Framework;
  const auto& assumptions = theory.Assumptions;
  const size_t arguments = framework.Arguments.size();
  if (issuesAtRead != 0 || assumptions.size() != arguments + framework.Attacks.size()) return false;
  for (size_t i = 0; i < arguments; ++i)
    if (!Is<TKorvelElementarySentence>(assumptions[i]) || assumptions[i]->Text != framework.Arguments[i])
      return false;
  for (size_t j = 0; j < framework.Attacks.size(); ++j) {
    const auto [from, to] = framework.Attacks[j];
    const auto attack = As<TKorvelConditional>(assumptions[arguments + j]);
    const auto negation = attack ? As<TKorvelDialecticalNegation>(attack->Consequent) : nullptr;
    if (!negation || attack->Antecedents.size() != 1 ||
        !Is<TKorvelElementarySentence>(attack->Antecedents[0]) ||
        attack->Antecedents[0]->Text != framework.Arguments[from] ||
        !Is<TKorvelElementarySentence>(negation->Negated) || negation->Negated->Text != framework.Arguments[to])
      return false;
  }
  return true;
}

std::optional<TEvaluation> TFrameworkEvaluation::Wait(const TKorvelTheory& theory, TEvaluationControl* control) {
  TShared& shared = *shared_;
  std::unique_lock lock(shared.Mutex);
  auto copyProgress = [&] {
    if (control != nullptr)
      control->InterpretationsFound.store(shared.Control.InterpretationsFound.load(std::memory_order_relaxed),
                                          std::memory_order_relaxed);
  };
  while (!shared.Done.wait_for(lock, std::chrono::milliseconds(10), [&] { return shared.Finished; })) {
    copyProgress();
    if (StopRequested(control)) {
      TEvaluation stopped;
      stopped.Stopped = true;
      return stopped;
    }
  }
  copyProgress();
  if (shared.Failed) return std::nullopt;
  TEvaluation evaluation;
  if (shared.Stopped) {
    // Only a document that let the evaluation go stops it, and then nobody waits.
    evaluation.Stopped = true;
    return evaluation;
  }
  evaluation.Interpretations = shared.Interpretations.WithTable(theory.Assumptions);
  evaluation.Cut = shared.Cut;
  return evaluation;
}
