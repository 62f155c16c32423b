// What the korvel subcommands share: the parsed command line and the way
// they load a theory file.
#pragma once

#include <iosfwd>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "logic/theory.h"

struct TCommandLine {
  std::vector<std::string> Positional;  // after the subcommand name
  std::set<std::string> Flags;          // options such as "--no-parse"
  std::vector<std::string> Arguments;   // everything after the subcommand name, as given
  bool Has(const std::string& flag) const { return Flags.count(flag) != 0; }
};

// The PositionalCount of a subcommand that reads its arguments itself from
// TCommandLine::Arguments (options with values, say); only -h and --help are
// handled for it.
inline constexpr size_t kOwnArguments = static_cast<size_t>(-1);

// Exit codes of the contract.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUnreadable = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoMatch = 1;  // korvel match: the target does not match
inline constexpr int kExitOutOfMemory = 1;

// Splits arguments into flags and positional ones; a lone "--" ends the flags.
TCommandLine SplitArguments(const std::vector<std::string>& arguments);

// A file name (or another argument) as korvel's messages print it: as it
// stands when it holds only printable characters (valid UTF-8 other than
// control characters); otherwise in double quotes, with a backslash escape
// (\n, \r, \t, \", \\ or \xHH) for every quote, backslash, control or
// invalid byte, so that no name can move the cursor or send escape sequences
// to the terminal.
std::string PrintableName(std::string_view name);

// Loads a theory file ("-": standard input); on failure prints
// "korvel: cannot read FILE: reason" to `err` and gives nothing. A file that
// is not empty but holds no "<KORVEL>" fails with "korvel: FILE holds no
// Korvel theory"; one whose reading stopped early is loaded, and "korvel:
// FILE: reading stopped at byte N; K sentences were read" goes to `err`.
std::optional<TKorvelFile> LoadTheoryFile(const std::string& path, std::ostream& err);

// The stream a FILE argument "-" reads: the `in` of the running RunKorvel.
std::istream& StandardInput();

// A subcommand: its name, its usage line, the flags it accepts, how many
// positional arguments it takes, and what it runs.
struct TSubcommand {
  std::string Name;
  std::string Usage;
  std::set<std::string> AllowedFlags;
  size_t PositionalCount;
  int (*Run)(const TCommandLine&, std::ostream& out, std::ostream& err);
};

// "korvel VERSION" and the authors, each on a line: what korvel and korvel
// solve print without arguments, as a competition's harness asks a solver.
void PrintNameVersionAndAuthors(std::ostream& out);

// Every subcommand korvel knows, in the order --help lists them.
const std::vector<TSubcommand>& Subcommands();
// Adds a subcommand that is built only in some configurations (render).
void RegisterSubcommand(TSubcommand command);

// Runs korvel with its arguments (without the program name); "-" as a FILE
// reads `in` (std::cin in the first form).
int RunKorvel(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
int RunKorvel(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
              std::ostream& err);
