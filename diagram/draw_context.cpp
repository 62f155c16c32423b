#include "diagram/draw_context.h"

TDrawContext::TDrawContext()
    : TextWidth([](std::string_view text, TFontStyle) { return static_cast<int>(text.size()) * 6; }),
      Metrics(DiagramMetrics()) {}

void TDrawContext::Reset() {
  DrawnSentences.clear();
  drawnIndex_.clear();
  drawnConsequents_.clear();
  Drawing.Clear();
  RowsUsed = 0;
  Truncated = false;
}

void TDrawContext::Reserve(size_t sentences) {
  DrawnSentences.reserve(sentences);
  drawnIndex_.reserve(sentences);
  drawnConsequents_.reserve(sentences);
}

int TDrawContext::DrawnIndexOfText(std::string_view text) const {
  auto found = drawnIndex_.find(text);
  return found == drawnIndex_.end() ? -1 : found->second;
}

bool TDrawContext::DrawnConsequent(std::string_view text) const {
  return drawnConsequents_.find(text) != drawnConsequents_.end();
}

int TDrawContext::Register(const SentencePtr& sentence) {
  auto [entry, added] = drawnIndex_.try_emplace(sentence->Text, static_cast<int>(DrawnSentences.size()));
  if (!added) return entry->second;
  DrawnSentences.push_back(sentence);
  if (auto conditional = As<TKorvelConditional>(sentence)) drawnConsequents_.insert(conditional->Consequent->Text);

  if (sentence->IsAssumption || sentence->IsIssue) return entry->second;
  if (const TTheoryPlaces* places = TheoryPlaces(sentence->Text)) {
    if (places->Assumption >= 0) {
      sentence->IsAssumption = true;
      sentence->IsIssue = false;
    }
    if (places->Issue >= 0) {
      sentence->IsAssumption = false;
      sentence->IsIssue = true;
    }
  }
  if (!sentence->IsAssumption && !sentence->IsIssue) {
    sentence->IsIssue = true;
    if (Theory != nullptr && RegistrationAddsIssues) {
      TTheoryPlaces& places = theoryIndex_[sentence->Text];
      if (places.Issue < 0) places.Issue = static_cast<int>(Theory->Issues.size());
      Theory->Issues.push_back(sentence);
      indexedIssues_ = Theory->Issues.size();
    }
  }
  return entry->second;
}

void TDrawContext::IndexTheory() {
  theoryIndex_.clear();
  indexedTheory_ = Theory;
  indexedAssumptions_ = indexedIssues_ = 0;
  if (Theory == nullptr) return;
  theoryIndex_.reserve(Theory->Assumptions.size() + Theory->Issues.size());
  for (size_t i = 0; i < Theory->Assumptions.size(); ++i) {
    TTheoryPlaces& places = theoryIndex_[Theory->Assumptions[i]->Text];
    if (places.Assumption < 0) places.Assumption = static_cast<int>(i);
  }
  for (size_t i = 0; i < Theory->Issues.size(); ++i) {
    TTheoryPlaces& places = theoryIndex_[Theory->Issues[i]->Text];
    if (places.Issue < 0) places.Issue = static_cast<int>(i);
  }
  indexedAssumptions_ = Theory->Assumptions.size();
  indexedIssues_ = Theory->Issues.size();
}

void TDrawContext::AdoptMovedTheory(TKorvelTheory* theory) {
  const bool sameLists = indexedTheory_ != nullptr && theory != nullptr &&
                         indexedAssumptions_ == theory->Assumptions.size() &&
                         indexedIssues_ == theory->Issues.size();
  Theory = theory;
  if (sameLists)
    indexedTheory_ = theory;
  else
    IndexTheory();
}

void TDrawContext::IndexHitsAside() {
  HitsMadeAside.emplace();
  HitsMadeAside->Build(Drawing);
}

TDrawContext TDrawContext::CopyForReplay() const {
  TDrawContext copy;
  copy.StructureOnly = StructureOnly;
  copy.ShowDialecticalNegations = ShowDialecticalNegations;
  copy.Theory = Theory;
  copy.RegistrationAddsIssues = RegistrationAddsIssues;
  copy.NodeBudget = NodeBudget;
  copy.Truncated = Truncated;
  copy.Metrics = Metrics;
  copy.DrawnSentences = DrawnSentences;
  copy.RowsUsed = RowsUsed;
  copy.Drawing.Calls = Drawing.Calls;
  copy.Drawing.DrawnOptions = Drawing.DrawnOptions;
  copy.Drawing.Marks = Drawing.Marks;
  copy.Drawing.MarksPending = Drawing.MarksPending;
  copy.drawnIndex_ = drawnIndex_;
  copy.drawnConsequents_ = drawnConsequents_;
  copy.theoryIndex_ = theoryIndex_;
  copy.indexedTheory_ = indexedTheory_;
  copy.indexedAssumptions_ = indexedAssumptions_;
  copy.indexedIssues_ = indexedIssues_;
  return copy;
}

const TDrawContext::TTheoryPlaces* TDrawContext::TheoryPlaces(std::string_view text) {
  if (Theory == nullptr) return nullptr;
  // The lists may have changed since the last drawing (the legend draws
  // without one); registration keeps the index up to date itself.
  if (indexedTheory_ != Theory || indexedAssumptions_ != Theory->Assumptions.size() ||
      indexedIssues_ != Theory->Issues.size())
    IndexTheory();
  auto found = theoryIndex_.find(text);
  return found == theoryIndex_.end() ? nullptr : &found->second;
}

SentencePtr TDrawContext::TheoryAssumption(std::string_view text) {
  const TTheoryPlaces* places = TheoryPlaces(text);
  if (places == nullptr || places->Assumption < 0) return nullptr;
  return Theory->Assumptions[static_cast<size_t>(places->Assumption)];
}

SentencePtr TDrawContext::TheoryIssue(std::string_view text) {
  const TTheoryPlaces* places = TheoryPlaces(text);
  if (places == nullptr || places->Issue < 0) return nullptr;
  return Theory->Issues[static_cast<size_t>(places->Issue)];
}

SentencePtr TDrawContext::TheorySentence(std::string_view text) {
  const TTheoryPlaces* places = TheoryPlaces(text);
  if (places == nullptr) return nullptr;
  if (places->Issue >= 0) return Theory->Issues[static_cast<size_t>(places->Issue)];
  if (places->Assumption >= 0) return Theory->Assumptions[static_cast<size_t>(places->Assumption)];
  return nullptr;
}
