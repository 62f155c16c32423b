#include "document/unsaved_work.h"

#include <sys/stat.h>

#include <filesystem>

#include "refresh/refresh_phases.h"
#include "logic/durable_file.h"
#include "logic/theory.h"

namespace fs = std::filesystem;

namespace {

const char* const kFileMessages[] = {"Open file:", "Save file (existing):", "Save file (new):", "Save file as:"};

// The normal form the window holds after reading the text: read, normalised,
// with the issues the roles add. Nothing when the text holds no theory block.
std::optional<std::string> ShownTheory(const std::string& content) {
  TKorvelFile loaded;
  loaded.LoadFromText(content);
  if (loaded.Text.empty()) return std::nullopt;
  TStructureRefresh structure = RefreshStructure(loaded, TRefreshOptions{});
  return structure.Result.TheoryFile.Text;
}

std::optional<std::string> BytesOfFile(const std::string& path) {
  try {
    return ReadTheoryFileBytes(path);
  } catch (const TKorvelFileError&) {
    return std::nullopt;  // a file that is gone matches nothing
  }
}

std::string FormatTime(std::time_t time, const char* format) {
  std::tm local{};
  localtime_r(&time, &local);
  char buffer[128];
  const size_t length = std::strftime(buffer, sizeof buffer, format, &local);
  return std::string(buffer, length);
}

}  // namespace

std::string LastFileInLog(const std::vector<std::string>& logLines) {
  for (auto line = logLines.rbegin(); line != logLines.rend(); ++line) {
    const size_t at = line->find("]  ");
    if (line->empty() || line->front() != '[' || at == std::string::npos) continue;
    const std::string_view message = std::string_view(*line).substr(at + 3);
    for (const char* prefix : kFileMessages) {
      const std::string_view start(prefix);
      if (message.substr(0, start.size()) == start) return std::string(message.substr(start.size()));
    }
  }
  return {};
}

std::optional<TUnsavedWork> SetAsideUnsavedWork(const std::string& scratchPath, const std::string& lastFile) {
  struct stat status {};
  if (::stat(scratchPath.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  const std::optional<std::string> scratchBytes = BytesOfFile(scratchPath);
  if (!scratchBytes) return std::nullopt;
  // A run stopped with a file open and unchanged left that file's very
  // bytes: the same theory, known without reading a large one twice on the
  // window's thread. A last file of another size is not read for this.
  std::optional<std::string> lastBytes;
  std::error_code sizeError;
  if (!lastFile.empty() && fs::file_size(lastFile, sizeError) == scratchBytes->size() && !sizeError) {
    lastBytes = BytesOfFile(lastFile);
    if (lastBytes == scratchBytes) return std::nullopt;
  }
  const std::optional<std::string> scratch = ShownTheory(*scratchBytes);
  if (!scratch) return std::nullopt;
  if (*scratch == ShownTheory("<KORVEL>\r\n</KORVEL>\r\n")) return std::nullopt;
  if (!lastFile.empty()) {
    if (!lastBytes) lastBytes = BytesOfFile(lastFile);
    if (lastBytes && ShownTheory(*lastBytes) == scratch) return std::nullopt;
  }

  const fs::path scratchFile(scratchPath);
  const std::string base = scratchFile.stem().string() + "-unsaved-" + FormatTime(status.st_mtime, "%Y%m%d-%H%M%S");
  fs::path aside = scratchFile.parent_path() / (base + ".kvl");
  std::error_code ec;
  for (int n = 2; fs::exists(aside, ec); ++n) aside = scratchFile.parent_path() / (base + "-" + std::to_string(n) + ".kvl");
  fs::rename(scratchFile, aside, ec);
  if (ec) return std::nullopt;
  SyncFolderOf(aside.string());
  return TUnsavedWork{aside.string(), status.st_mtime};
}

std::string RecoveryQuestion(const TUnsavedWork& work) {
  return "Recover unsaved work from " + FormatTime(work.Time, "%x %X") + "?";
}
