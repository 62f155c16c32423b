// korvel report: the T&heory report shown after opening a file.
//
// No diagram is laid out here. Laying out only registers sentences that are
// parts of the assumptions and issues, and the refresh has already made every
// such text an assumption or an issue, so the registration finds each text in
// one of the two lists and adds no issue: the report is the same with or
// without the layout.
//
// The text is written as the window's report is made (the structure, then
// the evaluation with its report), so that the blocks of many
// interpretations are written one at a time as they are printed, not all
// held at once.
#include <ostream>

#include "cli/json_documents.h"
#include "cli/subcommand_list.h"
#include "refresh/refresh_core.h"
#include "refresh/refresh_phases.h"

int RunReport(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  auto loaded = LoadTheoryFile(line.Positional[0], err);
  if (!loaded) return kExitUnreadable;
  TRefreshOptions options;
  options.ParseSentences = !line.Has("--no-parse");
  options.ShowStructureOnly = line.Has("--structure-only");
  if (line.Has("--json")) {
    TRefreshResult result = RefreshDocument(*loaded, options);
    WriteJson(out, ReportJson(result));
    return kExitOk;
  }
  TStructureRefresh structure = RefreshStructure(*loaded, options);
  TRefreshResult& result = structure.Result;
  if (!result.Evaluated) {
    for (const auto& text : result.ReportLines) out << text << '\n';
    return kExitOk;
  }
  TStructureEvaluation evaluation(result.Theory, structure.IssuesAtRead, structure.IssuesBeforeLayout);
  evaluation.Evaluate(nullptr);
  evaluation.Report(nullptr).ReportLines.ForEachLine([&out](const std::string& text) { out << text << '\n'; });
  return kExitOk;
}
