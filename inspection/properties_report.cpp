#include "inspection/properties_report.h"

std::vector<TReportLine> PropertiesLines(const TKorvelSentence& s, int diagramIndex) {
  std::vector<TReportLine> lines;
  auto heading = [&](const char* text) { lines.push_back({text, true}); };
  auto line = [&](std::string text) { lines.push_back({std::move(text), false}); };

  heading("Sentence:");
  line("    " + s.Text);
  line("");
  heading("Type:");
  if (s.IsAssumption) line("    Assumption");
  if (s.IsIssue) line("    Issue");
  line("");
  heading("Status:");
  if (s.IsJustified) line("    Justified");
  if (s.IsDefeated) line("    Defeated");
  if (!s.IsJustified && !s.IsDefeated) line("    Neither justified nor defeated");
  line("");
  heading("Variables:");
  for (const auto& v : s.Variables) line("    " + v);
  line("");
  heading("Tag:");
  line("    " + std::to_string(diagramIndex));
  line("");
  return lines;
}
