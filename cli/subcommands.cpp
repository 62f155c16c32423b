// The table of korvel's subcommands. Each lives in a file of its own.
#include "cli/command_line.h"
#include "cli/subcommand_list.h"

namespace {

std::vector<TSubcommand>& Table() {
  static std::vector<TSubcommand> table = {
      {"normalize", "normalize FILE [--no-parse]", {"--no-parse"}, 1, RunNormalize},
      {"match", "match PATTERN TARGET", {}, 2, RunMatch},
      {"layout", "layout FILE [--no-parse] [--structure-only] [--json]", {"--no-parse", "--structure-only", "--json"}, 1, RunLayout},
      {"report", "report FILE [--no-parse] [--structure-only] [--json]", {"--no-parse", "--structure-only", "--json"}, 1, RunReport},
      {"interpretations", "interpretations FILE [--no-parse] [--json]", {"--no-parse", "--json"}, 1, RunInterpretations},
      {"acceptance", "acceptance FILE [--json]", {"--json"}, 1, RunAcceptance},
      {"matches", "matches FILE TEXT [--json]", {"--json"}, 2, RunMatches},
      {"explain", "explain FILE TEXT [--interpretation N] [--acceptance] [--json]", {}, kOwnArguments, RunExplain},
      {"import", "import FILE [--format i23|apx|tgf]", {}, kOwnArguments, RunImport},
      {"export", "export FILE [--format aba|i23|apx|tgf] [--no-parse]", {}, kOwnArguments, RunExport},
      {"solve", "solve -p EE-ST|SE-ST|CE-ST|DC-ST|DS-ST -f FILE [-a ARG] [-fo i23|apx|tgf] [--style 2019|2023] | --formats | --problems", {}, kOwnArguments, RunSolve},
  };
  return table;
}

}  // namespace

const std::vector<TSubcommand>& Subcommands() { return Table(); }

void RegisterSubcommand(TSubcommand command) {
  for (const TSubcommand& known : Table())
    if (known.Name == command.Name) return;
  Table().push_back(std::move(command));
}
