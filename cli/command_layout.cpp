// korvel layout: the main diagram after opening a file, one line per
// grid-level drawing call in creation order, then the number of rows.
#include <ostream>
#include <sstream>
#include <utility>

#include "cli/json_documents.h"
#include "cli/subcommand_list.h"
#include "diagram/diagram_dump.h"
#include "diagram/diagram_layout.h"
#include "refresh/refresh_core.h"

int RunLayout(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  auto loaded = LoadTheoryFile(line.Positional[0], err);
  if (!loaded) return kExitUnreadable;
  TRefreshOptions options;
  options.ParseSentences = !line.Has("--no-parse");
  options.ShowStructureOnly = line.Has("--structure-only");

  // The diagram is drawn at the refresh's own diagram step, so that it sees
  // the theory exactly as the program draws it.
  std::ostringstream lines;
  TJson drawing;
  const bool json = line.Has("--json");
  const TRefreshResult result = Refresh({
      std::move(*loaded), options, [&](TKorvelTheory& theory, const TListOfKorvelSentences& allSentences) {
        TDrawContext context;
        context.StructureOnly = options.ShowStructureOnly;
        context.ShowDialecticalNegations = options.ShowDialecticalNegations;
        context.Theory = &theory;
        DrawArguments(context, allSentences, 0, 0);
        if (json) {
          drawing = DrawingJson(context);
        } else {
          WriteLayoutLines(context, lines);
        }
      }});
  if (json) {
    TJson document = JsonDocument("layout");
    document["evaluated"] = result.Evaluated;
    document["calls"] = std::move(drawing["calls"]);
    document["rows"] = std::move(drawing["rows"]);
    WriteJson(out, document);
    return kExitOk;
  }
  out << lines.str();
  return kExitOk;
}
