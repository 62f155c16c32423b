#include "inspection/match_report.h"

#include <cctype>

#include "logic/matching.h"

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x < 128 && y < 128 ? std::tolower(x) != std::tolower(y) : x != y) return false;
  }
  return true;
}

// Assumptions, then issues, with which list each came from.
template <class Visit>
void ForEachTheorySentence(const TKorvelTheory& theory, Visit visit) {
  for (const auto& s : theory.Assumptions) visit(s, true);
  for (const auto& s : theory.Issues) visit(s, false);
}

void WriteLines(TMatchReport& report, const std::string& targetText) {
  auto& lines = report.Lines;
  lines = {"Sentence to match:", "", "    " + targetText, "", "Exact matches found:", ""};
  for (size_t i = 0; i < report.Matches.size(); ++i) {
    const TMatch& match = report.Matches[i];
    if (i == report.ExactMatches) {
      lines.push_back("Other matches found:");
      lines.push_back("");
    }
    lines.push_back("    " + match.MatchedText);
    lines.push_back("    " + match.ResultText);
    const auto& variables = match.Source->Variables;
    for (size_t k = 0; k < match.Bindings.size() && k < variables.size(); ++k)
      lines.push_back("        " + variables[k] + ": " + match.Bindings[k]);
    lines.push_back("");
  }
}

}  // namespace

std::string BindingForVariable(const std::string& variable,
                               const std::vector<std::string>& patternVariables,
                               const std::vector<std::string>& patternBindings) {
  for (size_t i = 0; i < patternVariables.size() && i < patternBindings.size(); ++i)
    if (EqualIgnoringCase(variable, patternVariables[i])) return patternBindings[i];
  return variable;
}

TMatchReport ComputeMatchReport(const TKorvelTheory& theory, const SentencePtr& target) {
  TMatchReport report;
  ForEachTheorySentence(theory, [&](const SentencePtr& s, bool) {
    if (s->Variables.empty()) return;
    TMatchResult result = MatchSentence(s->Text, target->Text, s->Variables);
    if (result.Matched) report.Matches.push_back({s, s->Text, target->Text, result.Bindings});
  });
  report.ExactMatches = report.Matches.size();

  for (size_t i = 0; i < report.ExactMatches; ++i) {
    // Copies: the vector grows below.
    const SentencePtr pattern = report.Matches[i].Source;
    const std::vector<std::string> bindings = report.Matches[i].Bindings;
    ForEachTheorySentence(theory, [&](const SentencePtr& s, bool isAssumption) {
      if (s->Text == pattern->Text || s->Text.find(pattern->Text) == std::string::npos) return;
      std::vector<std::string> ownBindings;
      for (const auto& v : s->Variables)
        ownBindings.push_back(BindingForVariable(v, pattern->Variables, bindings));
      SentencePtr instance = InstantiateSentence(*s, ownBindings);
      instance->IsAssumption = isAssumption;
      instance->IsIssue = !isAssumption;
      report.Matches.push_back({s, s->Text, instance->Text, ownBindings});
      report.DrawnResults.push_back(instance);
    });
  }

  WriteLines(report, target->Text);

  const size_t instantiated = report.DrawnResults.size();
  TPartsCollector collector(std::move(report.DrawnResults));
  for (size_t i = 0; i < instantiated; ++i) {
    const SentencePtr entry = collector.Parts()[i];
    collector.Collect(entry);
    if (entry->IsAssumption) entry->IsJustified = true;
  }
  report.DrawnResults = collector.TakeParts();
  return report;
}
