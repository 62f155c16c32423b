#include "refresh/refresh_core.h"

#include <optional>
#include <string_view>
#include <unordered_set>

#include "refresh/refresh_report.h"
#include "evaluation/interpretations.h"
#include "evaluation/interpretations_engine.h"

namespace {

void AppendSentenceLines(const TListOfKorvelSentences& sentences, std::vector<std::string>& lines) {
  for (const auto& sentence : sentences) lines.push_back(sentence->Text);
}

// Heading at four blanks, entries at eight.
void AppendSection(const char* heading, const TListOfKorvelSentences& sentences,
                   bool (*wanted)(const TKorvelSentence&), std::vector<std::string>& lines) {
  lines.push_back(std::string("    ") + heading);
  for (const auto& sentence : sentences)
    if (wanted(*sentence)) lines.push_back("        " + sentence->Text);
}

}  // namespace

namespace refresh {

void AppendStatusBlock(const TKorvelTheory& theory, std::vector<std::string>& lines) {
  AppendSection(
      "JUSTIFIED ASSUMPTIONS", theory.Assumptions,
      [](const TKorvelSentence& s) { return s.IsJustified; }, lines);
  AppendSection(
      "DEFEATED ASSUMPTIONS", theory.Assumptions,
      [](const TKorvelSentence& s) { return s.IsDefeated; }, lines);
  AppendSection(
      "JUSTIFIED ISSUES", theory.Issues, [](const TKorvelSentence& s) { return s.IsJustified; },
      lines);
  AppendSection(
      "DEFEATED ISSUES", theory.Issues, [](const TKorvelSentence& s) { return s.IsDefeated; },
      lines);
  AppendSection(
      "UNSETTLED ISSUES", theory.Issues,
      [](const TKorvelSentence& s) { return !s.IsJustified && !s.IsDefeated; }, lines);
}

std::vector<std::string> GiveRoles(TKorvelTheory& theory,
                                   const TListOfKorvelSentences& allSentences) {
  std::unordered_set<std::string_view> assumptionTexts, issueTexts;
  for (const auto& s : theory.Assumptions) assumptionTexts.insert(s->Text);
  for (const auto& s : theory.Issues) issueTexts.insert(s->Text);
  std::vector<std::string> added;
  for (const auto& sentence : allSentences) {
    if (assumptionTexts.count(sentence->Text) != 0) {
      sentence->IsAssumption = true;
      sentence->IsIssue = false;
    }
    if (issueTexts.count(sentence->Text) != 0) {
      sentence->IsAssumption = false;
      sentence->IsIssue = true;
    }
    if (!sentence->IsAssumption && !sentence->IsIssue) {
      sentence->IsIssue = true;
      theory.Issues.push_back(sentence);
      issueTexts.insert(sentence->Text);
      added.push_back(sentence->Text);
    }
  }
  return added;
}

void AppendReportHead(const TKorvelTheory& theory, std::vector<std::string>& lines) {
  lines.insert(lines.end(), {"ASSUMPTIONS", ""});
  AppendSentenceLines(theory.Assumptions, lines);
  lines.insert(lines.end(), {"", "", "ISSUES", ""});
  AppendSentenceLines(theory.Issues, lines);
  lines.insert(lines.end(), {"", ""});
}

void AppendInterpretationReport(const TKorvelTheory& theory, size_t count, std::vector<std::string>& lines) {
  if (count == 0) {
    lines.insert(lines.end(), {"THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS", ""});
  } else {
    lines.push_back("UNIQUE DIALECTICAL INTERPRETATION");
    AppendStatusBlock(theory, lines);
  }
}

void AppendListHeading(size_t count, bool cut, std::vector<std::string>& lines) {
  if (!cut) return;
  lines.push_back("ONLY THE FIRST " + std::to_string(count) +
                  " DIALECTICAL INTERPRETATIONS ARE LISTED; THERE ARE MORE");
  lines.insert(lines.end(), {"", ""});
}

void AppendInterpretationBlock(const TKorvelTheory& theory, size_t index, std::vector<std::string>& lines) {
  lines.push_back("DIALECTICAL INTERPRETATION " + std::to_string(index + 1));
  AppendStatusBlock(theory, lines);
  lines.insert(lines.end(), {"", ""});
}

// As AppendInterpretationBlock writes a block: the heading, five section
// headings (the longest is four blanks and "JUSTIFIED ASSUMPTIONS"), an entry
// of eight blanks and the text per listing, two empty lines.
TBlockSize EmptyBlockSize(size_t index) {
  return {1 + 5 + 2, std::max(("DIALECTICAL INTERPRETATION " + std::to_string(index + 1)).size(),
                              std::string("    JUSTIFIED ASSUMPTIONS").size())};
}

size_t StatusListings(bool issue, bool justified, bool defeated) {
  return (justified ? 1u : 0u) + (defeated ? 1u : 0u) + (issue && !justified && !defeated ? 1u : 0u);
}

void AddListings(TBlockSize& size, const TKorvelSentence& sentence, size_t listings) {
  size.Lines += listings;
  if (listings > 0) size.Longest = std::max(size.Longest, 8 + sentence.Text.size());
}

TBlockSize InterpretationBlockSize(const TKorvelTheory& theory, size_t index) {
  TBlockSize size = EmptyBlockSize(index);
  for (const auto& s : theory.Assumptions) AddListings(size, *s, StatusListings(false, s->IsJustified, s->IsDefeated));
  for (const auto& s : theory.Issues) AddListings(size, *s, StatusListings(true, s->IsJustified, s->IsDefeated));
  return size;
}

}  // namespace refresh

std::string InterpretationStatusText(size_t count, bool cut) {
  if (cut)
    return "There are more than " + std::to_string(count) +
           " dialectical interpretations; the first " + std::to_string(count) + " are shown.";
  if (count == 0) return "There is no dialectical interpretation.";
  if (count == 1) return "There is 1 dialectical interpretation.";
  return "There are " + std::to_string(count) + " dialectical interpretations.";
}

bool MarkShownInterpretation(const TKorvelTheory& theory,
                             const TInterpretationList& interpretations, size_t index,
                             TListOfKorvelSentences& allSentences) {
  if (index >= interpretations.size()) return false;
  MarkStatuses(theory, interpretations[index]);
  TPartsCollector collector(std::move(allSentences));
  for (const auto& s : theory.Assumptions) collector.Collect(s);
  allSentences = collector.TakeParts();
  return true;
}

std::vector<std::string> FileTextLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const size_t stop = end > start && text[end - 1] == '\r' ? end - 1 : end;
    lines.emplace_back(text, start, stop - start);
    start = end + 1;
  }
  return lines;
}
