// korvel matches: the match window's textual report for the drawn sentence
// with a given text, then "---", then the match diagram as `korvel layout`
// prints a diagram. Nothing when no drawn sentence has the text.
#include <ostream>
#include <utility>

#include "cli/json_documents.h"
#include "cli/subcommand_list.h"
#include "diagram/diagram_dump.h"
#include "diagram/diagram_layout.h"
#include "refresh/refresh_core.h"
#include "inspection/match_drawing.h"
#include "inspection/match_report.h"

int RunMatches(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  auto loaded = LoadTheoryFile(line.Positional[0], err);
  if (!loaded) return kExitUnreadable;
  const std::string& text = line.Positional[1];
  TRefreshOptions options;

  // The main diagram decides which sentences are drawn, as in the program.
  TDrawContext mainContext;
  TRefreshResult document =
      Refresh({std::move(*loaded), options, [&](TKorvelTheory& theory, const TListOfKorvelSentences& all) {
        mainContext.Theory = &theory;
        DrawArguments(mainContext, all, 0, 0);
      }});
  mainContext.Theory = nullptr;  // the refresh's theory now lives in `document`

  const bool json = line.Has("--json");
  const int index = mainContext.DrawnIndexOfText(text);
  if (index < 0) {
    if (json) {
      TJson nothing = JsonDocument("matches");
      nothing["target"] = JsonText(text);
      nothing["found"] = false;
      nothing["matches"] = TJson::array();
      nothing["diagram"] = nullptr;
      WriteJson(out, nothing);
    }
    return kExitOk;
  }
  const SentencePtr target = mainContext.DrawnSentences[static_cast<size_t>(index)];

  TMatchReport report = ComputeMatchReport(document.Theory, target);
  TDrawContext matchContext;
  matchContext.StructureOnly = options.ShowStructureOnly;
  matchContext.ShowDialecticalNegations = options.ShowDialecticalNegations;
  DrawMatchDiagram(matchContext, report, &document.Theory);
  if (json) {
    TJson matches = JsonDocument("matches");
    matches["target"] = JsonText(text);
    matches["found"] = true;
    matches["matches"] = MatchListJson(report);
    matches["diagram"] = DrawingJson(matchContext);
    WriteJson(out, matches);
    return kExitOk;
  }
  for (const auto& reportLine : report.Lines) out << reportLine << '\n';
  out << "---\n";
  WriteLayoutLines(matchContext, out);
  return kExitOk;
}
