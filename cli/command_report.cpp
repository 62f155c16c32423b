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
#include <utility>

#include "cli/json_documents.h"
#include "cli/subcommand_list.h"
#include "refresh/refresh_core.h"

int RunReport(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  auto loaded = LoadTheoryFile(line.Positional[0], err);
  if (!loaded) return kExitUnreadable;
  TRefreshOptions options;
  options.ParseSentences = !line.Has("--no-parse");
  options.ShowStructureOnly = line.Has("--structure-only");
  TRefreshResult result = Refresh({std::move(*loaded), options});
  if (line.Has("--json")) {
    WriteJson(out, ReportJson(result));
    return kExitOk;
  }
  result.ReportLines.ForEachLine([&out](const std::string& text) { out << text << '\n'; });
  return kExitOk;
}
