// korvel match: the test window's lines for a pattern and a target; exit
// code 1 when the target does not match.
#include <ostream>

#include "cli/subcommand_list.h"
#include "logic/matching.h"

int RunMatch(const TCommandLine& line, std::ostream& out, std::ostream&) {
  const std::string& pattern = line.Positional[0];
  const std::string& target = line.Positional[1];
  auto sentence = MakeElementarySentence(pattern);
  RebuildVariables(*sentence);
  TMatchResult match = MatchSentence(pattern, target, sentence->Variables);
  for (size_t i = 0; i < sentence->Variables.size(); ++i) {
    out << sentence->Variables[i];
    if (match.Matched) out << ": " << match.Bindings[i];
    out << "\n";
  }
  // Scripts may test the exit code; what is printed stays as it was.
  return match.Matched ? kExitOk : kExitNoMatch;
}
