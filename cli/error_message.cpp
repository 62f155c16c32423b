#include "cli/error_message.h"

#include <ostream>

#include "cli/command_line.h"

void PrintError(std::ostream& err, std::string_view message) { err << "korvel: " << message << '\n'; }

std::string ShownFileName(const std::string& path) {
  return path == "-" ? "standard input" : PrintableName(path);
}
