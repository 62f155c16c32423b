#include "refresh/refresh_phases.h"

#include <unordered_map>

#include "refresh/interpretation_blocks.h"
#include "refresh/refresh_report.h"
#include "evaluation/interpretations_engine.h"

TStructureRefresh RefreshStructure(const TKorvelFile& loaded, const TRefreshOptions& options,
                                   const TLayoutStep& layout) {
  TStructureRefresh structure = ReadStructure(loaded, options);
  FinishStructure(structure, layout);
  return structure;
}

TStructureRefresh ReadStructure(const TKorvelFile& loaded, const TRefreshOptions& options,
                                TRefreshProgress* progress, TReadStop* stop) {
  TStructureRefresh structure;
  TRefreshResult& result = structure.Result;
  if (progress) progress->Phase.store(TRefreshPhase::ReadingSentences, std::memory_order_relaxed);
  TNormalizedTheory normalized = ReadAndNormalize(loaded, options.ParseSentences, progress ? &progress->Read : nullptr, stop);
  if (progress) progress->Phase.store(TRefreshPhase::Collecting, std::memory_order_relaxed);
  result.TheoryFile = std::move(normalized.File);
  result.Theory = std::move(normalized.Theory);
  TKorvelTheory& theory = result.Theory;
  structure.IssuesAtRead = theory.Issues.size();
  result.Evaluated = !options.ShowStructureOnly && !theory.Assumptions.empty();

  TPartsCollector collector;
  for (const auto& s : theory.Assumptions) collector.Collect(s);
  for (const auto& s : theory.Issues) collector.Collect(s);
  result.AllSentences = collector.TakeParts();
  result.AddedIssues = refresh::GiveRoles(theory, result.AllSentences);
  structure.IssuesBeforeLayout = theory.Issues.size();
  return structure;
}

void FinishStructure(TStructureRefresh& structure, const TLayoutStep& layout, bool withReport) {
  TRefreshResult& result = structure.Result;
  TKorvelTheory& theory = result.Theory;
  if (layout) layout(theory, result.AllSentences);

  if (withReport) result.ReportLines = StructureReport(theory, result.Evaluated);

  for (const auto& s : theory.Assumptions) RebuildVariables(*s);
  for (const auto& s : theory.Issues) RebuildVariables(*s);
}

std::vector<std::string> StructureReport(const TKorvelTheory& theory, bool evaluationToCome) {
  std::vector<std::string> lines;
  refresh::AppendReportHead(theory, lines);
  if (evaluationToCome)
    lines.insert(lines.end(), {kEvaluatingReportLine, ""});
  else
    refresh::AppendInterpretationReport(theory, 0, lines);
  return lines;
}

// --- the copy

namespace {

SentencePtr NewOfTheSameKind(const TKorvelSentence& original) {
  SentencePtr made;
  switch (original.Kind()) {
    case TSentenceKind::Elementary:
      made = std::make_shared<TKorvelElementarySentence>();
      break;
    case TSentenceKind::Negation:
      made = std::make_shared<TKorvelDialecticalNegation>();
      break;
    case TSentenceKind::Conditional:
      made = std::make_shared<TKorvelConditional>();
      break;
    case TSentenceKind::Unset:
      made = std::make_shared<TKorvelSentence>();
      break;
  }
  made->Text = original.Text;
  made->IsAssumption = original.IsAssumption;
  made->IsIssue = original.IsIssue;
  made->IsJustified = original.IsJustified;
  made->IsDefeated = original.IsDefeated;
  made->Variables = original.Variables;
  return made;
}

}  // namespace

TTheoryCopy CopyTheory(const TKorvelTheory& theory) {
  TTheoryCopy copy;
  std::unordered_map<const TKorvelSentence*, SentencePtr> copies;
  // A theory's lists hold most of its sentences' trees' roots; a tree has a
  // few parts (a conditional, its consequent and antecedents).
  const size_t roots = theory.Assumptions.size() + theory.Issues.size();
  copies.reserve(2 * roots);
  copy.Pairs.reserve(2 * roots);
  // First every sentence once, then the links between the copies; iterative,
  // so deep trees need no machine stack.
  std::vector<SentencePtr> stack;
  auto copyTree = [&](const SentencePtr& root) {
    stack.assign(1, root);
    while (!stack.empty()) {
      SentencePtr sentence = std::move(stack.back());
      stack.pop_back();
      if (!sentence) continue;
      auto [entry, added] = copies.try_emplace(sentence.get());
      if (!added) continue;
      entry->second = NewOfTheSameKind(*sentence);
      copy.Pairs.emplace_back(sentence, entry->second);
      if (auto* negation = AsKind<TKorvelDialecticalNegation>(sentence.get())) {
        stack.push_back(negation->Negated);
      } else if (auto* conditional = AsKind<TKorvelConditional>(sentence.get())) {
        stack.push_back(conditional->Consequent);
        for (const auto& antecedent : conditional->Antecedents) stack.push_back(antecedent);
      }
    }
  };
  for (const auto& s : theory.Assumptions) copyTree(s);
  for (const auto& s : theory.Issues) copyTree(s);

  auto copyOf = [&](const SentencePtr& original) -> SentencePtr {
    return original ? copies.at(original.get()) : nullptr;
  };
  for (const auto& [original, made] : copy.Pairs) {
    if (auto* negation = AsKind<TKorvelDialecticalNegation>(original.get())) {
      static_cast<TKorvelDialecticalNegation&>(*made).Negated = copyOf(negation->Negated);
    } else if (auto* conditional = AsKind<TKorvelConditional>(original.get())) {
      auto& madeConditional = static_cast<TKorvelConditional&>(*made);
      madeConditional.Consequent = copyOf(conditional->Consequent);
      madeConditional.Antecedents.reserve(conditional->Antecedents.size());
      for (const auto& antecedent : conditional->Antecedents)
        madeConditional.Antecedents.push_back(copyOf(antecedent));
    }
  }
  copy.Theory.Assumptions.reserve(theory.Assumptions.size());
  for (const auto& s : theory.Assumptions) copy.Theory.Assumptions.push_back(copyOf(s));
  copy.Theory.Issues.reserve(theory.Issues.size());
  for (const auto& s : theory.Issues) copy.Theory.Issues.push_back(copyOf(s));
  return copy;
}

void CopyMarks(const TTheoryCopy& copy) {
  for (const auto& [original, made] : copy.Pairs) {
    original->IsJustified = made->IsJustified;
    original->IsDefeated = made->IsDefeated;
  }
}

TInterpretationList MapInterpretations(const TTheoryCopy& copy, const TInterpretationList& interpretations) {
  if (copy.Pairs.empty()) return interpretations;  // evaluated in place: nothing to map
  std::unordered_map<const TKorvelSentence*, const SentencePtr*> originals;
  originals.reserve(copy.Pairs.size());
  for (const auto& [original, made] : copy.Pairs) originals.emplace(made.get(), &original);
  // Only the shared table of sentences is mapped; the choices stay indices.
  return interpretations.Mapped([&originals](const SentencePtr& sentence) {
    auto found = originals.find(sentence.get());
    return found != originals.end() ? *found->second : sentence;
  });
}

// --- the evaluation phase

struct TStructureEvaluation::TEngine {
  explicit TEngine(const TKorvelTheory& theory) : Engine(theory) {}
  TInterpretationEngine Engine;
};

TStructureEvaluation::TStructureEvaluation(TKorvelTheory& theory, size_t issuesAtRead,
                                           size_t issuesBeforeLayout)
    : theory_(theory), issuesAtRead_(issuesAtRead), issuesBeforeLayout_(issuesBeforeLayout) {
  // The engine is made over the issues the file gave, as the refresh makes it
  // before the roles add any.
  if (issuesAtRead < theory_.Issues.size()) {
    const auto first = theory_.Issues.begin() + static_cast<std::ptrdiff_t>(issuesAtRead);
    laterIssues_.assign(first, theory_.Issues.end());
    theory_.Issues.erase(first, theory_.Issues.end());
  }
}

TStructureEvaluation::~TStructureEvaluation() {
  engine_.reset();
  if (!issuesRestored_) theory_.Issues.insert(theory_.Issues.end(), laterIssues_.begin(), laterIssues_.end());
}

bool TStructureEvaluation::Evaluate(TEvaluationControl* control) {
  if (!engine_) engine_ = std::make_unique<TEngine>(theory_);
  evaluation_ = engine_->Engine.Evaluate(kInterpretationLimit, control);
  if (evaluation_.Stopped) {
    engine_.reset();  // a later run starts afresh
    return false;
  }
  evaluated_ = true;
  return true;
}

bool TStructureEvaluation::Adopt(TEvaluation evaluation) {
  if (evaluation.Stopped) return false;
  evaluation_ = std::move(evaluation);
  evaluated_ = true;
  return true;
}

TEvaluationOutcome TStructureEvaluation::Report(TEvaluationControl* control) {
  TEvaluationOutcome outcome;
  if (!evaluated_) {
    outcome.Stopped = true;
    return outcome;
  }
  // Adopted interpretations leave the engine for the marks still to make.
  if (!engine_) engine_ = std::make_unique<TEngine>(theory_);
  TInterpretationEngine& engine = engine_->Engine;
  const auto& interpretations = evaluation_.Interpretations;
  const size_t count = interpretations.size();
  engine.MarkStatuses(count == 0 ? TListOfKorvelSentences{} : interpretations.front());

  // The issues the roles and then the layout added.
  theory_.Issues.insert(theory_.Issues.end(), laterIssues_.begin(), laterIssues_.end());
  issuesRestored_ = true;
  if (theory_.Issues.size() != issuesBeforeLayout_ && count == 1) engine.MarkStatuses(interpretations.front());

  outcome.Cut = evaluation_.Cut;
  outcome.StatusText = InterpretationStatusText(count, evaluation_.Cut);
  outcome.InterpretationButtons = count >= 2 ? count : 0;
  std::vector<std::string> head;
  refresh::AppendReportHead(theory_, head);
  if (count >= 2 || evaluation_.Cut) {
    // Several interpretations: their blocks are written when read.
    refresh::AppendListHeading(count, evaluation_.Cut, head);
    std::shared_ptr<const TLineBlocks> blocks =
        MakeInterpretationBlocks(theory_, issuesAtRead_, interpretations, control);
    if (!blocks) return TEvaluationOutcome{{}, false, true, {}, 0, {}};
    outcome.ReportLines = TReportText(std::move(head), std::move(blocks), {});
  } else {
    refresh::AppendInterpretationReport(theory_, count, head);
    outcome.ReportLines = TReportText(std::move(head));
  }
  if (count >= 2 || evaluation_.Cut) engine.MarkStatuses(interpretations.front());
  outcome.Interpretations = std::move(evaluation_.Interpretations);
  evaluation_ = TEvaluation{};
  return outcome;
}
