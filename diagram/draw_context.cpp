#include "draw_context.h"

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
  if (TheoryAssumption(sentence->Text)) {
    sentence->IsAssumption = true;
    sentence->IsIssue = false;
  }
  if (TheoryIssue(sentence->Text)) {
    sentence->IsAssumption = false;
    sentence->IsIssue = true;
  }
  if (!sentence->IsAssumption && !sentence->IsIssue) {
    sentence->IsIssue = true;
    if (Theory != nullptr && RegistrationAddsIssues) {
      issueIndex_.try_emplace(sentence->Text, static_cast<int>(Theory->Issues.size()));
      Theory->Issues.push_back(sentence);
      indexedIssues_ = Theory->Issues.size();
    }
  }
  return entry->second;
}

void TDrawContext::IndexTheory() {
  assumptionIndex_.clear();
  issueIndex_.clear();
  indexedTheory_ = Theory;
  indexedAssumptions_ = indexedIssues_ = 0;
  if (Theory == nullptr) return;
  for (size_t i = 0; i < Theory->Assumptions.size(); ++i)
    assumptionIndex_.try_emplace(Theory->Assumptions[i]->Text, static_cast<int>(i));
  for (size_t i = 0; i < Theory->Issues.size(); ++i)
    issueIndex_.try_emplace(Theory->Issues[i]->Text, static_cast<int>(i));
  indexedAssumptions_ = Theory->Assumptions.size();
  indexedIssues_ = Theory->Issues.size();
}

namespace {
SentencePtr Lookup(const TTextIndex& index, const TListOfKorvelSentences& list, std::string_view text) {
  auto found = index.find(text);
  if (found == index.end()) return nullptr;
  return list[static_cast<size_t>(found->second)];
}
}  // namespace

SentencePtr TDrawContext::TheoryAssumption(std::string_view text) {
  if (Theory == nullptr) return nullptr;
  if (indexedTheory_ != Theory || indexedAssumptions_ != Theory->Assumptions.size() ||
      indexedIssues_ != Theory->Issues.size())
    IndexTheory();
  return Lookup(assumptionIndex_, Theory->Assumptions, text);
}

SentencePtr TDrawContext::TheoryIssue(std::string_view text) {
  if (Theory == nullptr) return nullptr;
  if (indexedTheory_ != Theory || indexedAssumptions_ != Theory->Assumptions.size() ||
      indexedIssues_ != Theory->Issues.size())
    IndexTheory();
  return Lookup(issueIndex_, Theory->Issues, text);
}
