// korvel layout: the main diagram after opening a file, one line per
// grid-level drawing call in creation order, then the number of rows.
#include <ostream>
#include <sstream>

#include "diagram_dump.h"
#include "diagram_layout.h"
#include "refresh_core.h"
#include "subcommand_list.h"

int RunLayout(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  auto loaded = LoadTheoryFile(line.Positional[0], err);
  if (!loaded) return kExitUnreadable;
  TRefreshOptions options;
  options.ParseSentences = !line.Has("--no-parse");
  options.ShowStructureOnly = line.Has("--structure-only");

  // The diagram is drawn at the refresh's own diagram step, so that it sees
  // the theory exactly as the program draws it.
  std::ostringstream lines;
  RefreshDocument(*loaded, options, [&](TKorvelTheory& theory, const TListOfKorvelSentences& allSentences) {
    TDrawContext context;
    context.StructureOnly = options.ShowStructureOnly;
    context.ShowDialecticalNegations = options.ShowDialecticalNegations;
    context.Theory = &theory;
    DrawArguments(context, allSentences, 0, 0);
    WriteLayoutLines(context, lines);
  });
  out << lines.str();
  return kExitOk;
}
