// korvel on every subcommand, in process. The first byte picks the
// subcommand, its options and sometimes a malformed command line; for match
// and matches the text before the first line break is the argument; the rest
// is the theory file, written to a private temporary file.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/command_line.h"
#include "fuzz/byte_source.h"
#include "fuzz/fuzz_checks.h"
#include "logic/theory_read_check.h"

namespace {

// One file per process, removed at exit.
class TTemporaryFile {
 public:
  TTemporaryFile() {
    char name[] = "/tmp/pelmora-fuzz-XXXXXX";
    const int descriptor = mkstemp(name);
    if (descriptor >= 0) close(descriptor);
    path_ = name;
  }
  ~TTemporaryFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

const std::string& TemporaryFile() {
  static const TTemporaryFile file;
  return file.Path();
}

}  // namespace

std::string CheckKorvel(std::string_view data) {
  TByteSource bytes(data);
  const size_t selector = bytes.Pick(256);
  const std::string_view rest = data.empty() ? data : data.substr(1);
  const size_t cut = rest.find('\n');
  const std::string text(rest.substr(0, cut));
  const std::string_view content = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);

  const std::string path = TemporaryFile();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  // The commands on a theory file and texts, whose command lines this check
  // builds. Those that read their own option values (the framework formats,
  // render) have command-line tests of their own.
  std::vector<const TSubcommand*> commands;
  for (const auto& known : Subcommands())
    if (known.PositionalCount != kOwnArguments) commands.push_back(&known);
  const TSubcommand& command = *commands[selector % commands.size()];
  // Options first, then "--", so that a text beginning with "-" stays an
  // argument.
  std::vector<std::string> arguments{command.Name};
  const size_t variant = selector / commands.size();
  size_t bit = 0;
  for (const auto& flag : command.AllowedFlags)
    if ((variant >> bit++) & 1u) arguments.push_back(flag);
  int expectedCode = kExitOk;
  bool extra = false;
  if (variant % 11 == 7) {
    arguments.push_back("--no-such-option");
    expectedCode = kExitUsage;
  } else if (variant % 13 == 5) {
    extra = true;
    expectedCode = kExitUsage;
  } else if (variant % 17 == 3) {
    arguments.push_back("--help");
  }
  arguments.push_back("--");
  if (command.Name == "match") {
    arguments.push_back(text);
    arguments.emplace_back(content);
  } else {
    arguments.push_back(path);
    if (command.Name == "matches") arguments.push_back(text);
  }
  if (extra) arguments.emplace_back("extra");
  // A file with no theory block at all is refused; one read in part is used
  // with a warning first on the error stream.
  const TTheoryReadCheck read = CheckTheoryRead(content);
  const bool readsFile = command.Name != "match" && expectedCode == kExitOk && variant % 17 != 3;
  if (readsFile && read.Kind == TTheoryReadCheck::TKind::NoTheory) expectedCode = kExitUnreadable;
  const std::string warning = readsFile ? TheoryReadWarning(read, path) : std::string();

  std::ostringstream out, err;
  const int code = RunKorvel(arguments, out, err);
  // A pattern that does not match its target is an answer, not a failure.
  const bool noMatch = command.Name == "match" && expectedCode == kExitOk &&
                       code == kExitNoMatch && err.str().empty();
  if (code != expectedCode && !noMatch)
    return "korvel " + command.Name + " exited with " + std::to_string(code) + ": " + err.str();
  std::string errors = err.str();
  if (!warning.empty()) {
    if (errors.rfind("korvel: " + warning + "\n", 0) != 0) return "no warning about the file: " + errors;
    errors.erase(0, warning.size() + 9);
  }
  if (command.Name == "normalize" && code == kExitOk && !errors.empty() &&
      errors.rfind("korvel: these sentences cannot be stored", 0) != 0)
    return "normalize wrote an unexpected error: " + errors;
  if (command.Name == "normalize" && code == kExitOk && out.str().rfind("Usage", 0) != 0) {
    // What the command prints is the library's normal form of the file.
    TKorvelFile loaded;
    loaded.LoadFromText(content);
    const bool parse = std::find(arguments.begin(), arguments.end(), "--no-parse") == arguments.end();
    if (out.str() != ReadAndNormalize(loaded, parse).File.FileBytes())
      return "normalize printed other bytes than the normal form";
  }
  return {};
}
