#include "document/log_location.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path Normal(const std::string& directory) {
  std::error_code error;
  fs::path path = fs::weakly_canonical(fs::absolute(directory, error), error);
  if (error) path = fs::path(directory);
  path = path.lexically_normal();
  // "/usr/bin/" and "/usr/bin" are the same folder.
  if (!path.has_filename() && path.has_parent_path() && path != path.root_path())
    path = path.parent_path();
  return path;
}

bool IsWithin(const fs::path& path, const fs::path& root) {
  auto part = path.begin();
  for (auto rootPart = root.begin(); rootPart != root.end(); ++rootPart, ++part)
    if (part == path.end() || *part != *rootPart) return false;
  return true;
}

}  // namespace

bool IsInstalledProgramDirectory(const std::string& directory,
                                 const std::string& installBinDirectory) {
  if (directory.empty()) return false;
  const fs::path path = Normal(directory);
  for (const char* root : {"/usr", "/bin", "/sbin", "/opt"})
    if (IsWithin(path, root)) return true;
  return !installBinDirectory.empty() && path == Normal(installBinDirectory);
}

std::vector<std::string> LogDirectoryCandidates(const std::string& executableDirectory,
                                                const std::string& userDataDirectory,
                                                const std::string& installBinDirectory) {
  std::vector<std::string> candidates;
  if (!IsInstalledProgramDirectory(executableDirectory, installBinDirectory))
    candidates.push_back(executableDirectory);
  if (!userDataDirectory.empty()) candidates.push_back(userDataDirectory);
  return candidates;
}
