// A theory for diagram tests, prepared as the program prepares it for the
// diagram: every sentence once, each an assumption or an issue.
#pragma once

#include <vector>
#include <sstream>
#include <string>
#include <unordered_set>

#include "diagram/diagram_dump.h"
#include "diagram/diagram_layout.h"
#include "logic/parser.h"

struct TTestTheory {
  TKorvelTheory Theory;
  TListOfKorvelSentences All;

  TTestTheory(const std::vector<const char*>& assumptions, const std::vector<const char*>& issues) {
    for (const char* text : assumptions) Theory.Assumptions.push_back(ParseSentence(text));
    for (const char* text : issues) Theory.Issues.push_back(ParseSentence(text));
    TPartsCollector collector;
    for (const SentencePtr& s : Theory.Assumptions) collector.Collect(s);
    for (const SentencePtr& s : Theory.Issues) collector.Collect(s);
    All = collector.TakeParts();
    std::unordered_set<std::string> assumptionTexts, issueTexts;
    for (const SentencePtr& s : Theory.Assumptions) assumptionTexts.insert(s->Text);
    for (const SentencePtr& s : Theory.Issues) issueTexts.insert(s->Text);
    for (const SentencePtr& s : All) {
      s->IsAssumption = assumptionTexts.count(s->Text) != 0 && issueTexts.count(s->Text) == 0;
      s->IsIssue = !s->IsAssumption;
    }
  }

  // Lays the theory out in the context and gives the drawing calls as text.
  std::string Layout(TDrawContext& context) {
    context.Theory = &Theory;
    DrawArguments(context, All, 0, 0);
    std::ostringstream out;
    WriteLayoutLines(context, out);
    return out.str();
  }
  std::string Layout() {
    TDrawContext context;
    return Layout(context);
  }
};

// The elements of one kind, in creation order.
inline std::vector<TDiagramElement> ElementsOf(const TDrawContext& context, TElementKind kind) {
  std::vector<TDiagramElement> found;
  for (const TDiagramElement& element : context.Drawing.Elements)
    if (element.Kind == kind) found.push_back(element);
  return found;
}
