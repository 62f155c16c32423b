#include "cli/subcommand_help.h"

#include <map>

std::string SubcommandHelp(const std::string& name) {
  static const std::map<std::string, std::string> notes = {
      {"normalize", "Prints the theory file in normal form, as the program saves it.\n"},
      {"match",
       "Prints each variable of PATTERN, with its binding when TARGET matches.\n"
       "Exit codes: 0 when TARGET matches PATTERN, 1 when it does not, 2 wrong usage.\n"},
      {"layout",
       "Prints the main diagram, one line per drawing call.\n"
       "  --json  a JSON document instead (docs/korvel-json.md)\n"},
      {"report",
       "Prints the theory report of the program.\n"
       "  --json  a JSON document instead (docs/korvel-json.md)\n"},
      {"interpretations",
       "Prints one line per dialectical interpretation, its members joined by \" | \".\n"
       "  --json  a JSON document instead (docs/korvel-json.md)\n"},
      {"acceptance",
       "Prints, for each sentence of the report in its order, two letters and the\n"
       "sentence: J justified in every dialectical interpretation, j in some but not\n"
       "every, - in none; then D, d or - for defeated likewise. Over all\n"
       "interpretations, however many.\n"
       "  --json  a JSON document instead (docs/korvel-json.md)\n"},
      {"matches",
       "Prints the match report of a drawn sentence and the match diagram.\n"
       "  --json  a JSON document instead (docs/korvel-json.md)\n"},
      {"explain",
       "Prints why TEXT is justified, defeated or open in the first interpretation\n"
       "(or the N-th): the shortest derivation of TEXT or of its negation, one step\n"
       "per line naming the conditional it uses; for an open sentence, each\n"
       "conditional that would give it or its negation and what it lacks.\n"
       "  --interpretation N  explain in interpretation N (from 1)\n"
       "  --acceptance        first whether TEXT is justified in every interpretation,\n"
       "                      in some or in none, over all of them; then why in one\n"
       "                      that shows it: N, or one that lacks TEXT, by its number\n"
       "  --json              a JSON document instead (docs/korvel-json.md)\n"
       "Exit codes: 0, 1 when FILE cannot be read or TEXT is no sentence of it,\n"
       "2 wrong usage.\n"},
      {"import",
       "Reads an abstract argumentation framework and prints it as a theory file:\n"
       "each argument an assumption, each attack a->b the assumption if(a, x(b)).\n"
       "  --format i23|apx|tgf  the input format; otherwise told by the file's\n"
       "                        extension (.af .i23 .apx .tgf) or by its first line\n"},
      {"export",
       "Prints the theory in another format:\n"
       "  --format aba          an assumption-based framework (the default)\n"
       "  --format i23|apx|tgf  an abstract framework, for theories of arguments and\n"
       "                        attacks if(a, x(b)) only\n"},
      {"solve",
       "Answers like a competition solver for stable semantics:\n"
       "  EE-ST  every stable extension\n"
       "  SE-ST  one stable extension, or NO\n"
       "  CE-ST  the number of stable extensions\n"
       "  DC-ST  YES when some extension holds ARG, else NO\n"
       "  DS-ST  YES when every extension holds ARG, else NO\n"
       "  -fo i23|apx|tgf     the input format (otherwise as for import)\n"
       "  --style 2019|2023   the answers' style; by default 2023 for i23 input,\n"
       "                      2019 for apx and tgf:\n"
       "      2019  EE [[a,b],[c]]  SE [a,b]  DC and DS a bare YES or NO\n"
       "      2023  EE one \"w a b\" line each (NO when there is none)  SE \"w a b\"\n"
       "            DC YES with a \"w\" line holding ARG, DS NO with one lacking it\n"
       "  --formats, --problems  the supported formats and problems\n"
       "The same answers come from korvel -p ..., korvel --formats and\n"
       "korvel --problems. Without arguments it prints its version and authors.\n"},
  };
  auto it = notes.find(name);
  return it == notes.end() ? std::string() : it->second;
}
