// The table of korvel's subcommands. Each lives in a file of its own.
#include "command_line.h"
#include "subcommand_list.h"

const std::vector<TSubcommand>& Subcommands() {
  static const std::vector<TSubcommand> table = {
      {"normalize", "normalize FILE [--no-parse]", {"--no-parse"}, 1, RunNormalize},
      {"match", "match PATTERN TARGET", {}, 2, RunMatch},
      {"layout", "layout FILE [--no-parse] [--structure-only]", {"--no-parse", "--structure-only"}, 1, RunLayout},
      {"report", "report FILE [--no-parse] [--structure-only]", {"--no-parse", "--structure-only"}, 1, RunReport},
      {"interpretations", "interpretations FILE [--no-parse]", {"--no-parse"}, 1, RunInterpretations},
      {"matches", "matches FILE TEXT", {}, 2, RunMatches},
  };
  return table;
}
