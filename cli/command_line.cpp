#include "cli/command_line.h"

#include <iostream>
#include <new>

#include "cli/error_message.h"
#include "cli/subcommand_help.h"
#include "logic/theory_read_check.h"

TCommandLine SplitArguments(const std::vector<std::string>& arguments) {
  TCommandLine line;
  line.Arguments = arguments;
  bool optionsEnded = false;
  for (const auto& argument : arguments) {
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      line.Flags.insert(argument);
    } else {
      line.Positional.push_back(argument);
    }
  }
  return line;
}

namespace {

std::istream* standardInput = nullptr;

}  // namespace

std::istream& StandardInput() { return standardInput ? *standardInput : std::cin; }

std::optional<TKorvelFile> LoadTheoryFile(const std::string& path, std::ostream& err) {
  std::string content;
  try {
    content = path == "-" ? ReadTheoryStreamBytes(StandardInput(), ShownFileName(path)) : ReadTheoryFileBytes(path);
  } catch (const TKorvelFileError& error) {
    if (error.Path.empty())
      PrintError(err, error.what());
    else
      PrintError(err, error.Action + " " + ShownFileName(error.Path) + ": " + error.Reason);
    return std::nullopt;
  }
  // A foreign file is refused; one read only in part is used with a warning.
  const TTheoryReadCheck check = CheckTheoryRead(content);
  if (check.Kind != TTheoryReadCheck::TKind::Whole) PrintError(err, TheoryReadWarning(check, ShownFileName(path)));
  if (check.Kind == TTheoryReadCheck::TKind::NoTheory) return std::nullopt;
  TKorvelFile file;
  file.LoadFromText(content);
  return file;
}

void PrintNameVersionAndAuthors(std::ostream& out) {
  out << "korvel " << PELMORA_VERSION << "\n" << PELMORA_AUTHORS << "\n";
}

namespace {

// A harness calls a solver as "SOLVER -p PROBLEM -f FILE ...", "SOLVER
// --formats" or "SOLVER --problems"; korvel takes these as korvel solve.
bool IsSolverCall(const std::string& first) {
  return first == "-p" || first == "--formats" || first == "--problems";
}

void PrintUsage(std::ostream& out) {
  out << "Usage: korvel COMMAND [OPTIONS] ARGUMENTS\n"
         "       korvel -p PROBLEM -f FILE [...] | --formats | --problems\n"
         "       korvel [--help | --version]\n"
         "Evaluates and formats Korvel theory files (.kvl), and converts and solves\n"
         "argumentation frameworks.\n\n"
         "Commands:\n";
  for (const auto& command : Subcommands()) out << "  korvel " << command.Usage << "\n";
  out << "\nOptions:\n"
         "  --no-parse        read elementary texts as they stand, without parsing them\n"
         "  --structure-only  do not evaluate the theory\n"
         "  --json            print a JSON document (report, interpretations, layout,\n"
         "                    matches); see docs/korvel-json.md\n"
         "  -h, --help        print this help (also after a command)\n"
         "  --version         print the version\n"

         "  --                end the options (a following argument may begin with '-')\n"
         "\nA FILE given as '-' is read from standard input. korvel -p ..., --formats and\n"
         "--problems are korvel solve; without arguments korvel prints its version and\n"
         "authors.\n"
         "Exit codes: 0 done; 1 unreadable or malformed input, a failed write, or (match)\n"
         "no match; 2 wrong usage. A closed pipe ends korvel quietly.\n";
}

// Runs a command; memory running out ends it with a message and a failure
// code instead of an abort. What the command wrote so far stays written.
int RunGuarded(const TSubcommand& command, const TCommandLine& line, std::ostream& out,
               std::ostream& err) {
  try {
    return command.Run(line, out, err);
  } catch (const std::bad_alloc&) {
    PrintError(err, "out of memory");
    return kExitOutOfMemory;
  }
}

}  // namespace

int RunKorvel(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  return RunKorvel(arguments, std::cin, out, err);
}

int RunKorvel(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
              std::ostream& err) {
  // "-" reads `in` while this run lasts.
  struct TInputScope {
    std::istream* saved;
    explicit TInputScope(std::istream& stream) : saved(standardInput) { standardInput = &stream; }
    ~TInputScope() { standardInput = saved; }
  } inputScope(in);
  if (arguments.empty()) {
    PrintNameVersionAndAuthors(out);
    return kExitOk;
  }
  std::vector<std::string> solverCall;
  if (IsSolverCall(arguments.front())) {
    solverCall.push_back("solve");
    solverCall.insert(solverCall.end(), arguments.begin(), arguments.end());
  }
  const std::vector<std::string>& words = solverCall.empty() ? arguments : solverCall;
  const std::string& name = words.front();
  if (name == "--help" || name == "-h") {
    PrintUsage(out);
    return kExitOk;
  }
  if (name == "--version") {
    out << "korvel " << PELMORA_VERSION << "\n";
    return kExitOk;
  }
  for (const auto& command : Subcommands()) {
    if (command.Name != name) continue;
    TCommandLine line = SplitArguments({words.begin() + 1, words.end()});
    if (line.Has("--help") || line.Has("-h")) {
      out << "Usage: korvel " << command.Usage << "\n" << SubcommandHelp(command.Name);
      return kExitOk;
    }
    if (command.PositionalCount == kOwnArguments) return RunGuarded(command, line, out, err);
    for (const auto& flag : line.Flags) {
      if (command.AllowedFlags.count(flag) == 0) {
        PrintError(err, name + ": unknown option " + PrintableName(flag));
        err << "Usage: korvel " << command.Usage << "\n";
        return kExitUsage;
      }
    }
    if (line.Positional.size() != command.PositionalCount) {
      PrintError(err, name + ": wrong number of arguments");
      err << "Usage: korvel " << command.Usage << "\n";
      return kExitUsage;
    }
    return RunGuarded(command, line, out, err);
  }
  PrintError(err, "unknown command '" + PrintableName(name) + "'");
  PrintUsage(err);
  return kExitUsage;
}
