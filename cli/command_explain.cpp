// korvel explain: why a sentence of the theory is justified, defeated or open
// in one interpretation (the first unless --interpretation N), as the
// window's explanation panel shows it: one step per line, each indented under
// the step it serves. With --acceptance, first whether it is justified in
// every interpretation, in some or in none, computed over all of them, and
// the interpretation whose explanation follows. Exit 1 when TEXT is no
// sentence of the theory.
#include <charconv>
#include <ostream>
#include <utility>

#include "acceptance/acceptance.h"
#include "cli/error_message.h"
#include "cli/json_documents.h"
#include "cli/option_values.h"
#include "cli/subcommand_list.h"
#include "explanation/acceptance_explanation.h"
#include "explanation/explanation.h"
#include "explanation/explanation_text.h"

namespace {

constexpr const char* kUsage =
    "Usage: korvel explain FILE TEXT [--interpretation N] [--acceptance] [--json]\n";
// Lines deeper than this are not indented further but carry their depth, so
// that a derivation thousands of steps deep prints in linear size.
constexpr int kIndentLimit = 40;

const char* ReachWord(TReach reach) {
  switch (reach) {
    case TReach::All:
      return "all";
    case TReach::Some:
      return "some";
    case TReach::None:
      break;
  }
  return "none";
}

// `acceptance` null: not asked for.
TJson ExplanationJson(const std::string& text, size_t interpretation, const TExplanation& e,
                      const TAcceptance* acceptance) {
  TJson document = JsonDocument("explain");
  document["sentence"] = JsonText(text);
  document["interpretation"] = interpretation == 0 ? TJson(nullptr) : TJson(interpretation);
  if (acceptance != nullptr) {
    TJson reach = nullptr;
    if (acceptance->HasInterpretation && !acceptance->Texts.empty()) {
      reach = TJson::object();
      reach["justified"] = ReachWord(acceptance->Texts[0].Justified);
      reach["defeated"] = ReachWord(acceptance->Texts[0].Defeated);
    }
    document["acceptance"] = std::move(reach);
  }
  document["status"] = StatusWord(e.Root().Status);
  TJson lines = TJson::array();
  for (const auto& line : e.Lines) {
    TJson each = TJson::object();
    each["depth"] = line.Depth;
    each["parent"] = line.Parent < 0 ? TJson(nullptr) : TJson(line.Parent);
    each["kind"] = KindWord(line.Kind);
    each["sentence"] = JsonText(line.Sentence);
    each["status"] = StatusWord(line.Status);
    if (!line.Conditional.empty()) each["conditional"] = JsonText(line.Conditional);
    if (line.Reference >= 0) each["derivedAt"] = line.Reference;
    each["text"] = JsonText(LineText(line));
    lines.push_back(std::move(each));
  }
  document["lines"] = std::move(lines);
  return document;
}

}  // namespace

int RunExplain(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  std::string problem;
  const auto options =
      ParseOptionValues(line.Arguments, {"--interpretation"}, {"--json", "--acceptance"}, problem);
  if (options && options->Positional.size() != 2) problem = "wrong number of arguments";
  size_t wanted = 1;
  if (problem.empty() && options->Value("--interpretation")) {
    const std::string value = *options->Value("--interpretation");
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), wanted);
    if (error != std::errc() || end != value.data() + value.size() || wanted == 0)
      problem = "--interpretation takes a number from 1";
  }
  if (!problem.empty()) {
    PrintError(err, "explain: " + problem);
    err << kUsage;
    return kExitUsage;
  }
  const std::string& path = options->Positional[0];
  const std::string& text = options->Positional[1];
  auto loaded = LoadTheoryFile(path, err);
  if (!loaded) return kExitUnreadable;
  // The refresh, as the window runs it: the statuses are those it shows.
  const TRefreshResult result = Refresh({std::move(*loaded), TRefreshOptions{}});
  const size_t count = result.Interpretations.size();
  if (wanted > 1 && wanted > count) {
    PrintError(err, "explain: " + ShownFileName(path) + " has " + std::to_string(count) +
                        " interpretation(s)");
    return kExitUsage;
  }
  const TListOfKorvelSentences shownList =
      count > 0 ? result.Interpretations[wanted - 1] : TListOfKorvelSentences{};
  const TListOfKorvelSentences* shown = count > 0 ? &shownList : nullptr;
  const TExplainer explainer(result.Theory, shown);
  if (!explainer.IsSentence(text)) {
    PrintError(err,
               "explain: " + PrintableName(text) + " is not a sentence of " + ShownFileName(path));
    return kExitUnreadable;
  }
  TExplanation explanation;
  size_t explained = shown != nullptr ? wanted : 0;
  std::optional<TAcceptance> acceptance;
  if (options->Flags.count("--acceptance")) {
    // Over all interpretations, not only those listed; one is named by its
    // number among the listed ones, or as one not listed.
    const std::vector<std::string> texts{text};
    acceptance = ComputeAcceptance(result.Theory, texts);
    TAcceptanceExplainer withAcceptance(result.Theory, *acceptance, texts, result.Interpretations,
                                        static_cast<int>(wanted) - 1, &explainer);
    explanation = withAcceptance.Explain(text);
    const int named = explanation.Root().Interpretation;
    explained = named > 0 ? static_cast<size_t>(named) : 0;
  } else {
    explanation = explainer.Explain(text);
  }
  if (options->Flags.count("--json")) {
    WriteJson(out,
              ExplanationJson(text, explained, explanation, acceptance ? &*acceptance : nullptr));
    return kExitOk;
  }
  for (const auto& step : explanation.Lines) {
    out << std::string(2 * static_cast<size_t>(std::min(step.Depth, kIndentLimit)), ' ');
    if (step.Depth > kIndentLimit) out << '[' << step.Depth << "] ";
    out << LineText(step) << '\n';
  }
  return kExitOk;
}
