// korvel layout: the main diagram after opening a file, one line per
// grid-level drawing call in creation order, then the number of rows.
#include <ostream>
#include <string>
#include <unordered_set>

#include "diagram_dump.h"
#include "diagram_layout.h"
#include "subcommand_list.h"

namespace {

// The document state the diagram is drawn from: the theory read and written
// back in normal form, every sentence once, each with its role.
TListOfKorvelSentences CollectWithRoles(TKorvelTheory& theory) {
  TPartsCollector collector;
  for (const SentencePtr& assumption : theory.Assumptions) collector.Collect(assumption);
  for (const SentencePtr& issue : theory.Issues) collector.Collect(issue);
  TListOfKorvelSentences all = collector.TakeParts();

  std::unordered_set<std::string> assumptionTexts, issueTexts;
  for (const SentencePtr& s : theory.Assumptions) assumptionTexts.insert(s->Text);
  for (const SentencePtr& s : theory.Issues) issueTexts.insert(s->Text);
  for (const SentencePtr& s : all) {
    if (assumptionTexts.count(s->Text) != 0) {
      s->IsAssumption = true;
      s->IsIssue = false;
    }
    if (issueTexts.count(s->Text) != 0) {
      s->IsAssumption = false;
      s->IsIssue = true;
    }
    if (!s->IsAssumption && !s->IsIssue) {
      s->IsIssue = true;
      theory.Issues.push_back(s);
      issueTexts.insert(s->Text);
    }
  }
  return all;
}

}  // namespace

int RunLayout(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  auto loaded = LoadTheoryFile(line.Positional[0], err);
  if (!loaded) return kExitUnreadable;
  TNormalizedTheory normalized = ReadAndNormalize(*loaded, !line.Has("--no-parse"));
  TListOfKorvelSentences all = CollectWithRoles(normalized.Theory);

  TDrawContext context;
  context.StructureOnly = line.Has("--structure-only");
  context.Theory = &normalized.Theory;
  DrawArguments(context, all, 0, 0);
  WriteLayoutLines(context, out);
  return kExitOk;
}
