#include "cli/framework_input.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cli/command_line.h"
#include "cli/error_message.h"

std::optional<TArgumentationFramework> LoadFrameworkFile(const std::string& path,
                                                         std::optional<TFrameworkFormat> format,
                                                         std::ostream& err,
                                                         TFrameworkFormat* used) {
  const std::string shown = ShownFileName(path);
  std::string text;
  try {
    if (path == "-") {
      text = ReadFrameworkText(StandardInput());
    } else {
      std::error_code ec;
      if (std::filesystem::is_directory(path, ec)) {
        PrintError(err, "cannot read " + shown + ": Is a directory");
        return std::nullopt;
      }
      std::ifstream in(path, std::ios::binary);
      if (!in) {
        PrintError(err, "cannot read " + shown + ": " + std::strerror(errno));
        return std::nullopt;
      }
      text = ReadFrameworkText(in);
    }
    if (!format) format = FrameworkFormatOfPath(path);
    if (!format) format = GuessFrameworkFormat(text);
    if (!format) {
      PrintError(
          err,
          shown +
              ": not a framework file of a known format (i23, apx, tgf); name it with --format");
      return std::nullopt;
    }
    if (used) *used = *format;
    return ReadFramework(text, *format);
  } catch (const TFrameworkError& error) {
    if (error.Line == 0) {
      PrintError(err, shown + ": " + error.what());
    } else {
      PrintError(err, shown + ":" + std::to_string(error.Line) + ": " + error.what());
    }
    return std::nullopt;
  }
}
