// korvel solve: answers the competition's problems for stable semantics on an
// abstract argumentation framework, through the theory korvel import makes
// and the evaluation of its dialectical interpretations (EE-ST, SE-ST and
// CE-ST on the engine made straight from the attacks, without the theory's
// sentences):
//   EE-ST  every stable extension
//   SE-ST  one stable extension, or NO
//   CE-ST  the number of stable extensions
//   DC-ST  YES (with an extension that holds ARG), or NO
//   DS-ST  YES, or NO (with an extension that lacks ARG)
// in the answer style of the competition that used the input's format, or
// the one --style names (solve_output.h).
//   DC-ST  YES and an extension that holds ARG, or NO
//   DS-ST  YES, or NO and an extension that lacks ARG
// Credulous and skeptical acceptance are answered over all interpretations
// (acceptance/): ARG justified in some / in every one, with the interpretation
// that shows it as the extension printed.
#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <ostream>

#include "acceptance/acceptance.h"
#include "cli/error_message.h"
#include "cli/framework_input.h"
#include "cli/option_values.h"
#include "cli/solve_output.h"
#include "cli/subcommand_list.h"
#include "evaluation/interpretations.h"
#include "evaluation/interpretations_engine.h"
#include "frameworks/framework_theory.h"

namespace {

const char* const kProblems[] = {"EE-ST", "SE-ST", "CE-ST", "DC-ST", "DS-ST"};

// The stable extensions in order, each passed to `visit` (argument indexes,
// increasing) and then forgotten, so that memory does not grow with their
// number; `visit` answers whether to go on. Returns how many were passed on.
size_t ForEachExtension(const TArgumentationFramework& framework, size_t limit,
                        const std::function<bool(const std::vector<size_t>&)>& visit) {
  TInterpretationEngine engine = FrameworkEngine(framework);
  // The theory lists the arguments first, in order.
  const size_t arguments = framework.Arguments.size();
  std::vector<size_t> extension;
  auto sink = [&](std::span<const size_t> forced, std::span<const size_t> taken) {
    extension.clear();
    for (auto part : {forced, taken})
      for (size_t pos : part)
        if (pos < arguments) extension.push_back(pos);
    std::sort(extension.begin(), extension.end());
    return visit(extension);
  };
  return engine.Enumerate(limit, sink).Count;
}

// How many stable extensions the framework has, counted without keeping them.
size_t CountExtensions(const TArgumentationFramework& framework) {
  TInterpretationEngine engine = FrameworkEngine(framework);
  return engine.Count(std::numeric_limits<size_t>::max()).Count;
}

// A stable extension, if the framework has any: asked of the solver in its
// own order, not the first in the order of the interpretations.
std::optional<std::vector<size_t>> AnyExtension(const TArgumentationFramework& framework) {
  TInterpretationEngine engine = FrameworkEngine(framework);
  const size_t arguments = framework.Arguments.size();
  std::optional<std::vector<size_t>> found;
  engine.FindAny([&](std::span<const size_t> forced, std::span<const size_t> taken) {
    found.emplace();
    for (auto part : {forced, taken})
      for (size_t pos : part)
        if (pos < arguments) found->push_back(pos);
    std::sort(found->begin(), found->end());
    return true;
  });
  return found;
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
         "i23|apx|tgf] [--style 2019|2023]\n";
  return kExitUsage;
}

}  // namespace

int RunSolve(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  std::string problem;
  const auto options = ParseOptionValues(line.Arguments, {"-p", "-f", "-a", "-fo", "--style"},
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
    PrintNameVersionAndAuthors(out);
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
  const bool takesArgument = *task == "DC-ST" || *task == "DS-ST";
  if (takesArgument != query.has_value())
    return Usage(
        err, takesArgument ? "the problem needs an argument (-a)" : "only DC-ST and DS-ST take -a");
  std::optional<TFrameworkFormat> format;
  if (auto name = options->Value("-fo")) {
    format = FrameworkFormatFromName(*name);
    if (!format) return Usage(err, "unknown framework format " + *name);
  }
  std::optional<TAnswerStyle> style;
  if (auto name = options->Value("--style")) {
    style = AnswerStyleFromName(*name);
    if (!style) return Usage(err, "unknown answer style " + *name);
  }

  TFrameworkFormat formatRead = TFrameworkFormat::I23;
  const auto framework = LoadFrameworkFile(*file, format, err, &formatRead);
  if (!framework) return kExitUnreadable;
  TSolveOutput answer(out, style.value_or(DefaultAnswerStyle(formatRead)), *framework);

  if (*task == "CE-ST") {
    answer.Count(CountExtensions(*framework));
    return kExitOk;
  }
  if (*task == "EE-ST") {
    answer.BeginExtensions();
    ForEachExtension(*framework, std::numeric_limits<size_t>::max(),
                     [&](const std::vector<size_t>& extension) {
                       answer.Extension(extension);
                       return static_cast<bool>(out);  // the output has failed; the caller reports it
                     });
    if (out) answer.EndExtensions();
    return kExitOk;
  }
  if (*task == "SE-ST") {
    answer.SomeExtension(AnyExtension(*framework));
    return kExitOk;
  }

  const std::optional<size_t> argument = framework->IndexOf(*query);
  if (!argument) {
    PrintError(err, ShownFileName(*file) + ": no argument " + *query);
    return kExitUnreadable;
  }
  const TKorvelTheory theory = FrameworkToTheory(*framework);
  const TAcceptance acceptance = ComputeAcceptance(theory, {framework->Arguments[*argument]});
  if (*task == "DC-ST") {
    const auto extension =
        acceptance.HasInterpretation
            ? WitnessExtension(*framework, theory, acceptance, acceptance.JustifiedIn.front())
            : std::nullopt;
    if (!extension) {
      answer.Decision(false, std::nullopt);
    } else {
      answer.Decision(true, *extension);
    }
    return kExitOk;
  }
  // Without any extension ARG is in every one (there is none to lack it).
  const auto counterexample =
      acceptance.HasInterpretation
          ? WitnessExtension(*framework, theory, acceptance, acceptance.UnjustifiedIn.front())
          : std::nullopt;
  if (!counterexample) {
    answer.Decision(true, std::nullopt);
  } else {
    answer.Decision(false, *counterexample);
  }
  return kExitOk;
}
