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
  deferRoles_ = false;
  deferredRoles_.clear();
  deferredIssues_.clear();
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

  // A text is registered once, so the flags read here were never deferred.
  if (sentence->IsAssumption || sentence->IsIssue) return entry->second;
  bool assumption = false, issue = false;
  if (const TTheoryPlaces* places = TheoryPlaces(sentence->Text)) {
    if (places->Assumption >= 0) assumption = true;
    if (places->Issue >= 0) {
      assumption = false;
      issue = true;
    }
  }
  const bool addsIssue = !assumption && !issue;
  if (addsIssue) issue = true;
  if (deferRoles_) {
    deferredRoles_.push_back({sentence, assumption, issue});
  } else {
    sentence->IsAssumption = assumption;
    sentence->IsIssue = issue;
  }
  if (addsIssue && Theory != nullptr && RegistrationAddsIssues) {
    TTheoryPlaces& places = theoryIndex_[sentence->Text];
    if (places.Issue < 0) places.Issue = static_cast<int>(IssuesWithDeferred());
    if (deferRoles_)
      deferredIssues_.push_back(sentence);
    else
      Theory->Issues.push_back(sentence);
    indexedIssues_ = IssuesWithDeferred();
  }
  return entry->second;
}

void TDrawContext::GiveDeferredRoles() {
  deferRoles_ = false;
  for (const TDeferredRole& role : deferredRoles_) {
    role.Sentence->IsAssumption = role.Assumption;
    role.Sentence->IsIssue = role.Issue;
  }
  deferredRoles_.clear();
  if (Theory != nullptr && !deferredIssues_.empty()) {
    Theory->Issues.insert(Theory->Issues.end(), deferredIssues_.begin(), deferredIssues_.end());
    indexedIssues_ = Theory->Issues.size();
  }
  deferredIssues_.clear();
}

void TDrawContext::DropDeferredRoles() {
  deferRoles_ = false;
  deferredRoles_.clear();
  deferredIssues_.clear();
  indexedTheory_ = nullptr;  // indexed again when next looked at, without them
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
  // The issues registration keeps for the theory come after its own.
  for (size_t i = 0; i < deferredIssues_.size(); ++i) {
    TTheoryPlaces& places = theoryIndex_[deferredIssues_[i]->Text];
    if (places.Issue < 0) places.Issue = static_cast<int>(Theory->Issues.size() + i);
  }
  indexedAssumptions_ = Theory->Assumptions.size();
  indexedIssues_ = IssuesWithDeferred();
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
      indexedIssues_ != IssuesWithDeferred())
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
