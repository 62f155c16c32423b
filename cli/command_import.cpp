// korvel import: an abstract argumentation framework as a theory file, each
// argument an assumption and each attack a -> b the assumption "if(a, x(b))",
// so that the theory's dialectical interpretations are the stable extensions.
#include <ostream>

#include "cli/error_message.h"
#include "cli/framework_input.h"
#include "cli/option_values.h"
#include "cli/subcommand_list.h"
#include "frameworks/framework_theory.h"

int RunImport(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  std::string problem;
  const auto options = ParseOptionValues(line.Arguments, {"--format"}, {}, problem);
  if (options && options->Positional.size() != 1) problem = "wrong number of arguments";
  std::optional<TFrameworkFormat> format;
  if (options && problem.empty()) {
    if (auto name = options->Value("--format")) {
      format = FrameworkFormatFromName(*name);
      if (!format) problem = "unknown framework format " + *name + " (i23, apx, tgf)";
    }
  }
  if (!problem.empty()) {
    PrintError(err, "import: " + problem);
    err << "Usage: korvel import FILE [--format i23|apx|tgf]\n";
    return kExitUsage;
  }
  const auto framework = LoadFrameworkFile(options->Positional[0], format, err);
  if (!framework) return kExitUnreadable;
  out << FrameworkTheoryFile(*framework).FileBytes();
  return kExitOk;
}
