// korvel export: a theory in the formats other argumentation tools read: as
// an assumption-based framework (aba), or, for a theory of arguments and
// attacks "if(a, x(b))" only, as an abstract framework (i23, apx, tgf).
#include <ostream>

#include "cli/error_message.h"
#include "cli/option_values.h"
#include "cli/subcommand_list.h"
#include "frameworks/aba_format.h"
#include "frameworks/framework_theory.h"

int RunExport(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  std::string problem;
  const auto options = ParseOptionValues(line.Arguments, {"--format"}, {"--no-parse"}, problem);
  if (options && options->Positional.size() != 1) problem = "wrong number of arguments";
  const std::string formatName = options ? options->Value("--format").value_or("aba") : "aba";
  const std::optional<TFrameworkFormat> frameworkFormat = FrameworkFormatFromName(formatName);
  if (problem.empty() && formatName != "aba" && !frameworkFormat)
    problem = "unknown format " + formatName + " (aba, i23, apx, tgf)";
  if (!problem.empty()) {
    PrintError(err, "export: " + problem);
    err << "Usage: korvel export FILE [--format aba|i23|apx|tgf] [--no-parse]\n";
    return kExitUsage;
  }
  const std::string& path = options->Positional[0];
  auto loaded = LoadTheoryFile(path, err);
  if (!loaded) return kExitUnreadable;
  const TNormalizedTheory normalized =
      ReadAndNormalize(*loaded, !options->Flags.count("--no-parse"));
  const std::string cannot = ShownFileName(path) + ": cannot be written as " + formatName + ": ";
  if (!frameworkFormat) {
    try {
      out << WriteAbaFramework(normalized.Theory);
    } catch (const TAbaExportError& error) {
      PrintError(err, cannot + error.what());
      return kExitUnreadable;
    }
    return kExitOk;
  }
  const auto framework = TheoryAsFramework(normalized.Theory, problem);
  if (!framework) {
    PrintError(err, cannot + problem);
    return kExitUnreadable;
  }
  try {
    out << WriteFramework(*framework, *frameworkFormat);
  } catch (const TFrameworkError& error) {
    PrintError(err, cannot + error.what());
    return kExitUnreadable;
  }
  return kExitOk;
}
