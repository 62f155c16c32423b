#include "command_line.h"

#include <ostream>

TCommandLine SplitArguments(const std::vector<std::string>& arguments) {
  TCommandLine line;
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

std::optional<TKorvelFile> LoadTheoryFile(const std::string& path, std::ostream& err) {
  TKorvelFile file;
  try {
    file.LoadFromFile(path);
  } catch (const TKorvelFileError& error) {
    if (error.Path.empty())
      err << "korvel: " << error.what() << "\n";
    else
      err << "korvel: " << error.Action << " " << PrintableName(error.Path) << ": " << error.Reason
          << "\n";
    return std::nullopt;
  }
  return file;
}

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: korvel COMMAND [OPTIONS] ARGUMENTS\n"
         "Evaluates and formats Korvel theory files (.kvl).\n\n"
         "Commands:\n";
  for (const auto& command : Subcommands()) out << "  korvel " << command.Usage << "\n";
  out << "\nOptions:\n"
         "  --no-parse        read elementary texts as they stand, without parsing them\n"
         "  --structure-only  do not evaluate the theory\n"
         "  --help            print this help\n"
         "  --version         print the version\n"
         "  --                end the options (a following argument may begin with '-')\n";
}

}  // namespace

int RunKorvel(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  if (arguments.empty()) {
    PrintUsage(err);
    return kExitUsage;
  }
  const std::string& name = arguments.front();
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
    TCommandLine line = SplitArguments({arguments.begin() + 1, arguments.end()});
    if (line.Has("--help")) {
      out << "Usage: korvel " << command.Usage << "\n";
      return kExitOk;
    }
    for (const auto& flag : line.Flags) {
      if (command.AllowedFlags.count(flag) == 0) {
        err << "korvel: " << name << ": unknown option " << PrintableName(flag) << "\nUsage: korvel "
            << command.Usage << "\n";
        return kExitUsage;
      }
    }
    if (line.Positional.size() != command.PositionalCount) {
      err << "korvel: " << name << ": wrong number of arguments\nUsage: korvel " << command.Usage
          << "\n";
      return kExitUsage;
    }
    return command.Run(line, out, err);
  }
  err << "korvel: unknown command '" << PrintableName(name) << "'\n";
  PrintUsage(err);
  return kExitUsage;
}
