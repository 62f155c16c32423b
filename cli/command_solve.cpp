// korvel solve: answers the competition's problems for stable semantics on an
// abstract argumentation framework, through the theory korvel import makes
// and the evaluation of its dialectical interpretations:
//   EE-ST  each stable extension as a line "w A1 A2 ...", or NO when there is none
//   SE-ST  one stable extension as "w ...", or NO
//   CE-ST  the number of stable extensions
//   DC-ST  YES and an extension that holds ARG, or NO
//   DS-ST  YES, or NO and an extension that lacks ARG
// Credulous and skeptical acceptance are answered over all interpretations
// (acceptance/): ARG justified in some / in every one, with the interpretation
// that shows it as the extension printed.
#include <algorithm>
#include <limits>
#include <ostream>

#include "acceptance/acceptance.h"
#include "cli/error_message.h"
#include "cli/framework_input.h"
#include "cli/option_values.h"
#include "cli/subcommand_list.h"
#include "evaluation/interpretations.h"
#include "frameworks/framework_theory.h"

namespace {

const char* const kProblems[] = {"EE-ST", "SE-ST", "CE-ST", "DC-ST", "DS-ST"};

void PrintExtension(std::ostream& out, const TArgumentationFramework& framework,
                    const std::vector<size_t>& extension) {
  out << 'w';
  for (size_t argument : extension) out << ' ' << framework.Arguments[argument];
  out << '\n';
}

// One stable extension of the framework, if it has any.
std::optional<std::vector<size_t>> SomeExtension(const TArgumentationFramework& framework) {
  const TEvaluation evaluation = EvaluateInterpretations(FrameworkToTheory(framework), 1);
  if (evaluation.Interpretations.empty()) return std::nullopt;
  return ExtensionOf(framework, evaluation.Interpretations.front());
}

// The stable extension behind a witness of the acceptance of ARG.
std::optional<std::vector<size_t>> WitnessExtension(const TArgumentationFramework& framework,
                                                    const TKorvelTheory& theory,
                                                    const TAcceptance& acceptance,
                                                    const TWitness& witness) {
  const auto interpretation = WitnessInterpretation(theory, acceptance, witness);
  if (!interpretation) return std::nullopt;
  return ExtensionOf(framework, *interpretation);
}

int Usage(std::ostream& err, const std::string& problem) {
  PrintError(err, "solve: " + problem);
  err << "Usage: korvel solve -p EE-ST|SE-ST|CE-ST|DC-ST|DS-ST -f FILE [-a ARG] [-fo "
         "i23|apx|tgf]\n";
  return kExitUsage;
}

}  // namespace

int RunSolve(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  std::string problem;
  const auto options = ParseOptionValues(line.Arguments, {"-p", "-f", "-a", "-fo"},
                                         {"--formats", "--problems"}, problem);
  if (!options) return Usage(err, problem);
  if (!options->Positional.empty())
    return Usage(err, "unexpected argument " + options->Positional.front());
  if (options->Flags.count("--formats")) {
    out << "[i23,apx,tgf]\n";
    return kExitOk;
  }
  if (options->Flags.count("--problems")) {
    out << '[';
    for (const char* name : kProblems) out << (name == kProblems[0] ? "" : ",") << name;
    out << "]\n";
    return kExitOk;
  }
  if (line.Arguments.empty()) {
    out << "korvel " << PELMORA_VERSION << "\n";
    return kExitOk;
  }
  const auto task = options->Value("-p");
  const auto file = options->Value("-f");
  const auto query = options->Value("-a");
  if (!task) return Usage(err, "no problem given (-p)");
  if (std::none_of(std::begin(kProblems), std::end(kProblems),
                   [&](const char* name) { return *task == name; }))
    return Usage(err, "unsupported problem " + *task);
  if (!file) return Usage(err, "no framework file given (-f)");
  const bool acceptance = *task == "DC-ST" || *task == "DS-ST";
  if (acceptance != query.has_value())
    return Usage(
        err, acceptance ? "the problem needs an argument (-a)" : "only DC-ST and DS-ST take -a");
  std::optional<TFrameworkFormat> format;
  if (auto name = options->Value("-fo")) {
    format = FrameworkFormatFromName(*name);
    if (!format) return Usage(err, "unknown framework format " + *name);
  }

  const auto framework = LoadFrameworkFile(*file, format, err);
  if (!framework) return kExitUnreadable;

  if (*task == "EE-ST" || *task == "CE-ST") {
    const TEvaluation evaluation =
        EvaluateInterpretations(FrameworkToTheory(*framework), std::numeric_limits<size_t>::max());
    if (*task == "CE-ST") {
      out << evaluation.Interpretations.size() << '\n';
      return kExitOk;
    }
    if (evaluation.Interpretations.empty()) out << "NO\n";
    for (const auto& interpretation : evaluation.Interpretations) {
      PrintExtension(out, *framework, ExtensionOf(*framework, interpretation));
      if (!out) break;  // the output has failed; the caller reports it
    }
    return kExitOk;
  }
  if (*task == "SE-ST") {
    const auto extension = SomeExtension(*framework);
    if (extension) {
      PrintExtension(out, *framework, *extension);
    } else {
      out << "NO\n";
    }
    return kExitOk;
  }

  const std::optional<size_t> argument = framework->IndexOf(*query);
  if (!argument) {
    PrintError(err, ShownFileName(*file) + ": no argument " + *query);
    return kExitUnreadable;
  }
  const TKorvelTheory theory = FrameworkToTheory(*framework);
  const TAcceptance answer = ComputeAcceptance(theory, {framework->Arguments[*argument]});
  if (*task == "DC-ST") {
    const auto extension =
        answer.HasInterpretation
            ? WitnessExtension(*framework, theory, answer, answer.JustifiedIn.front())
            : std::nullopt;
    if (!extension) {
      out << "NO\n";
    } else {
      out << "YES\n";
      PrintExtension(out, *framework, *extension);
    }
    return kExitOk;
  }
  // Without any extension ARG is in every one (there is none to lack it).
  const auto counterexample =
      answer.HasInterpretation
          ? WitnessExtension(*framework, theory, answer, answer.UnjustifiedIn.front())
          : std::nullopt;
  if (!counterexample) {
    out << "YES\n";
  } else {
    out << "NO\n";
    PrintExtension(out, *framework, *counterexample);
  }
  return kExitOk;
}
