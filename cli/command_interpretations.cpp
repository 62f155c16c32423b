// korvel interpretations: one line per dialectical interpretation, the texts
// of its members joined by " | "; NONE when there is none; nothing when the
// theory has no assumption. When more interpretations exist than are kept,
// the kept ones are printed and a note goes to the error stream.
#include <ostream>
#include <string>

#include "cli/error_message.h"
#include "cli/json_documents.h"
#include "cli/subcommand_list.h"
#include "evaluation/interpretations.h"

int RunInterpretations(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  auto loaded = LoadTheoryFile(line.Positional[0], err);
  if (!loaded) return kExitUnreadable;
  const TNormalizedTheory normalized = ReadAndNormalize(*loaded, !line.Has("--no-parse"));
  const bool json = line.Has("--json");
  if (normalized.Theory.Assumptions.empty()) {
    if (json) WriteJson(out, InterpretationsJson(false, TEvaluation{}));
    return kExitOk;
  }
  const TEvaluation evaluation = EvaluateInterpretations(normalized.Theory);
  if (json) {
    WriteJson(out, InterpretationsJson(true, evaluation));
    return kExitOk;
  }
  if (evaluation.Interpretations.empty()) out << "NONE\n";
  for (const auto& interpretation : evaluation.Interpretations) {
    for (size_t i = 0; i < interpretation.size(); ++i)
      out << (i > 0 ? " | " : "") << interpretation[i]->Text;
    out << '\n';
  }
  if (evaluation.Cut)
    PrintError(err, "only the first " + std::to_string(evaluation.Interpretations.size()) +
                        " dialectical interpretations are listed; there are more");
  return kExitOk;
}
