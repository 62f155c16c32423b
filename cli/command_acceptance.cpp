// korvel acceptance: for each sentence of the report, in its order, whether
// it is justified and whether defeated in every dialectical interpretation,
// in some or in none: two letters, a blank, the text. The first letter is J
// (every), j (some, not every) or -; the second D, d or - likewise. With no
// interpretation, the report's line for none; nothing when the theory has no
// assumption.
#include <ostream>
#include <utility>

#include "acceptance/acceptance.h"
#include "acceptance/acceptance_text.h"
#include "cli/json_documents.h"
#include "cli/subcommand_list.h"
#include "refresh/refresh_core.h"

namespace {

const char* ReachName(TReach reach) {
  switch (reach) {
    case TReach::All: return "all";
    case TReach::Some: return "some";
    case TReach::None: break;
  }
  return "none";
}

TJson AcceptanceJson(const TKorvelTheory& theory, bool evaluated, const TAcceptance& acceptance) {
  TJson document = JsonDocument("acceptance");
  document["evaluated"] = evaluated;
  document["interpretations"] = acceptance.HasInterpretation;
  TJson list = TJson::array();
  size_t k = 0;
  for (const auto* section : {&theory.Assumptions, &theory.Issues}) {
    for (const auto& sentence : *section) {
      if (k >= acceptance.Texts.size()) break;
      TJson entry = TJson::object();
      entry["text"] = JsonText(sentence->Text);
      entry["role"] = section == &theory.Assumptions ? "assumption" : "issue";
      entry["justified"] = ReachName(acceptance.Texts[k].Justified);
      entry["defeated"] = ReachName(acceptance.Texts[k].Defeated);
      list.push_back(std::move(entry));
      ++k;
    }
  }
  document["sentences"] = std::move(list);
  return document;
}

}  // namespace

int RunAcceptance(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  auto loaded = LoadTheoryFile(line.Positional[0], err);
  if (!loaded) return kExitUnreadable;
  // The roles and issues of the report, without listing interpretations.
  TRefreshOptions options;
  options.ShowStructureOnly = true;
  const TRefreshResult result = Refresh({std::move(*loaded), options});
  const TKorvelTheory& theory = result.Theory;
  const bool evaluated = !theory.Assumptions.empty();
  TAcceptance acceptance;
  if (evaluated) acceptance = ComputeAcceptance(theory, ReportTexts(theory));
  if (line.Has("--json")) {
    WriteJson(out, AcceptanceJson(theory, evaluated, acceptance));
    return kExitOk;
  }
  if (!evaluated) return kExitOk;
  if (!acceptance.HasInterpretation) {
    out << kNoInterpretationLine << '\n';
    return kExitOk;
  }
  const std::vector<std::string> texts = ReportTexts(theory);
  for (size_t k = 0; k < texts.size(); ++k) {
    out << AcceptanceLetters(acceptance.Texts[k]) << ' ' << texts[k] << '\n';
    if (!out) break;  // the output has failed; the caller reports it
  }
  return kExitOk;
}
