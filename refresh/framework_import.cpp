#include "refresh/framework_import.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "frameworks/argumentation_framework.h"
#include "frameworks/framework_theory.h"

bool IsFrameworkFileName(const std::string& path) {
  return FrameworkFormatOfPath(path).has_value();
}

TKorvelFile ImportFrameworkFile(const std::string& path) { return ReadFrameworkFile(path).File; }

namespace {

[[noreturn]] void ThrowAsFileError(const TFrameworkError& error, const std::string& path) {
  const std::string where = error.Line == 0 ? path : path + ":" + std::to_string(error.Line);
  throw TKorvelFileError("cannot read " + where + ": " + error.what());
}

}  // namespace

std::string ReadFrameworkFileText(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw TKorvelFileError("cannot read " + path + ": Is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TKorvelFileError("cannot read " + path + ": " + std::strerror(errno));
  try {
    return ReadFrameworkText(in);
  } catch (const TFrameworkError& error) {
    ThrowAsFileError(error, path);
  }
}

TImportedFramework ImportFrameworkText(const std::string& text, const std::string& path) {
  try {
    TImportedFramework imported;
    imported.Framework = ReadFramework(text, *FrameworkFormatOfPath(path));
    imported.File = FrameworkTheoryFile(imported.Framework);
    return imported;
  } catch (const TFrameworkError& error) {
    ThrowAsFileError(error, path);
  }
}

TImportedFramework ReadFrameworkFile(const std::string& path) {
  return ImportFrameworkText(ReadFrameworkFileText(path), path);
}
