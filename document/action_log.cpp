#include "document/action_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "logic/durable_file.h"

namespace fs = std::filesystem;

namespace {

// Lines ended by CR LF, LF or CR; a last line without an end counts too.
std::vector<std::string> SplitLines(const std::string& content) {
  std::vector<std::string> lines;
  const char* const begin = content.data();
  const char* const end = begin + content.size();
  const char* start = begin;
  while (start < end) {
    const char* stop = start;
    while (stop < end && *stop != '\r' && *stop != '\n') ++stop;
    lines.emplace_back(start, stop);
    if (stop == end) break;
    start = stop + 1;
    if (*stop == '\r' && start < end && *start == '\n') ++start;
  }
  return lines;
}

// The whole of an open file. A log grows with every run, and is read at
// every start: in blocks, not a character at a time. False when reading failed.
bool ReadWhole(std::ifstream& in, std::string& content) {
  content.clear();
  std::string block(size_t{1} << 16, '\0');
  while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
    content.append(block.data(), static_cast<size_t>(in.gcount()));
  return !in.bad();
}

std::string JoinedWithCrLf(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string joined;
  joined.reserve(size);
  for (const std::string& line : lines) joined.append(line).append("\r\n");
  return joined;
}

bool AppendLines(const std::string& path, const std::vector<std::string>& lines, size_t from) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) return false;
  for (size_t i = from; i < lines.size(); ++i) out << lines[i] << "\r\n";
  out.flush();
  return static_cast<bool>(out);
}

bool WriteAllLines(const std::string& path, const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  for (const std::string& line : lines) out << line << "\r\n";
  out.flush();
  return static_cast<bool>(out);
}

// Rewrites the file in place without shortening it first: the new text
// starts with the old one, so a write that fails half way leaves the old
// lines where they were, and the file is cut to length only once all is written.
bool RewriteInPlace(const std::string& path, const std::string& bytes) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  bool written = WriteAllBytes(descriptor, bytes) && ::fsync(descriptor) == 0 &&
                 ::ftruncate(descriptor, static_cast<off_t>(bytes.size())) == 0;
  return ::close(descriptor) == 0 && written;
}

// Replaces the file by way of a synced temporary file beside it, so that a
// failing write never leaves a shortened log; where the folder forbids new
// files the file is rewritten in place.
bool ReplaceFile(const std::string& path, const std::vector<std::string>& lines) {
  const std::string bytes = JoinedWithCrLf(lines);
  struct stat status {};
  const int keepMode = ::stat(path.c_str(), &status) == 0 ? static_cast<int>(status.st_mode & 07777) : -1;
  if (ReplaceFileDurably(path, bytes, keepMode).empty()) return true;
  std::string folder = fs::path(path).parent_path().string();
  if (folder.empty()) folder = ".";
  if (::access(folder.c_str(), W_OK) == 0) return false;  // the write itself failed
  return RewriteInPlace(path, bytes);
}

}  // namespace

TActionLog::TActionLog() : TActionLog(&TActionLog::LocalTimeOfDay) {}

TActionLog::TActionLog(TClock clock) : clock_(std::move(clock)) {}

std::string TActionLog::LocalTimeOfDay() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[64];
  size_t length = std::strftime(buffer, sizeof buffer, "%X", &local);
  return std::string(buffer, length);
}

std::vector<std::string> TActionLog::StoredLines(const std::vector<std::string>& directories) {
  for (const std::string& directory : directories) {
    if (directory.empty()) continue;
    std::ifstream in(fs::path(directory) / kLogFileBaseName, std::ios::binary);
    if (!in) continue;
    std::string content;
    ReadWhole(in, content);  // what could be read: the last file is looked for in it
    return SplitLines(content);
  }
  return {};
}

void TActionLog::Open(const std::vector<std::string>& directories) {
  enabled_ = true;
  fileName_.clear();
  for (const std::string& directory : directories) {
    if (!directory.empty() && TryLocation(directory)) return;
  }
  // No usable file: the log lives in memory for this run.
  lines_ = {kLogHeader};
  written_ = 0;
  dirty_ = false;
}

bool TActionLog::TryLocation(const std::string& directory) {
  std::error_code ec;
  fs::create_directories(directory, ec);
  const std::string path = (fs::path(directory) / kLogFileBaseName).string();
  if (fs::exists(path, ec)) {
    // An existing log that cannot be read is left alone: rewriting it would
    // lose the earlier runs.
    if (fs::is_directory(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string content;
    if (!ReadWhole(in, content)) return false;
    std::ofstream probe(path, std::ios::binary | std::ios::app);
    if (!probe) return false;
    lines_ = SplitLines(content);
    written_ = lines_.size();
    // A file in another line-end style (or with an unfinished last line) is
    // rewritten whole with the first new line, so that it holds LogLines.
    dirty_ = content != JoinedWithCrLf(lines_);
  } else {
    lines_ = {kLogHeader};
    if (!WriteAllLines(path, lines_)) {
      fs::remove(path, ec);
      return false;
    }
    written_ = lines_.size();
    dirty_ = false;
  }
  fileName_ = path;
  return true;
}

void TActionLog::LogAction(const std::string& message) {
  if (!enabled_) return;
  if (message.empty())
    lines_.emplace_back();
  else
    lines_.push_back("[" + clock_() + "]  " + message);
  WritePending();
}

void TActionLog::LogActions(const std::vector<std::string>& messages) {
  if (!enabled_ || messages.empty()) return;
  for (const std::string& message : messages) {
    if (message.empty())
      lines_.emplace_back();
    else
      lines_.push_back("[" + clock_() + "]  " + message);
  }
  WritePending();
}

void TActionLog::WritePending() {
  if (fileName_.empty()) return;
  bool ok = dirty_ ? ReplaceFile(fileName_, lines_) : AppendLines(fileName_, lines_, written_);
  if (ok) {
    written_ = lines_.size();
    dirty_ = false;
  } else {
    // An append may have stopped half way; the next line rewrites the file whole.
    dirty_ = true;
  }
}
