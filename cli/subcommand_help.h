// What `korvel COMMAND --help` prints after the usage line: what the command
// does, its options and its exit codes. Empty for a command without notes.
#pragma once

#include <string>

std::string SubcommandHelp(const std::string& name);
