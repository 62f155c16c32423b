// The user-action log: one time-stamped line per user action, kept in memory
// as LogLines and mirrored to a text file (CR LF line ends) after every line.
//
// The file normally lies beside the executable. When that location cannot be
// used (an unwritable directory, a log that cannot be read or written) the
// next candidate location is tried; when none works the log stays in memory
// only. No line is ever dropped from LogLines, and a line that could not be
// written is written with the next one.
#pragma once

#include <functional>
#include <string>
#include <vector>

inline constexpr const char* kLogFileBaseName = "UserAction.log";
inline constexpr const char* kLogHeader = "USER ACTION LOGS of the Pelmora program";

class TActionLog {
 public:
  // Gives the time of day as it is written between the brackets.
  using TClock = std::function<std::string()>;

  // The default clock formats the local time with the locale's time format.
  TActionLog();
  explicit TActionLog(TClock clock);

  // Switches logging on and chooses the file: the first of the directories
  // whose UserAction.log can be read (when it exists) and written. LogLines
  // becomes that file's content, or the header line for a new file.
  void Open(const std::vector<std::string>& directories);

  // The lines of the first UserAction.log found in the directories, read
  // before the log is opened (start-up looks for work a crash left behind).
  static std::vector<std::string> StoredLines(const std::vector<std::string>& directories);

  // Appends "[time]  message" (an empty message gives an empty line) and
  // brings the file up to date. Does nothing before Open. Reports nothing.
  void LogAction(const std::string& message);
  // The same for several messages, with one write of the file for all.
  void LogActions(const std::vector<std::string>& messages);

  bool LoggingEnabled() const { return enabled_; }
  // Full path of the file in use; empty when the log is kept in memory only.
  const std::string& LogFileName() const { return fileName_; }
  const std::vector<std::string>& LogLines() const { return lines_; }
  // Whether the file holds exactly LogLines.
  bool UpToDate() const { return !fileName_.empty() && written_ == lines_.size() && !dirty_; }

  // The locale's time of day, e.g. "14:03:27".
  static std::string LocalTimeOfDay();

 private:
  bool TryLocation(const std::string& directory);
  void WritePending();

  TClock clock_;
  bool enabled_ = false;
  std::string fileName_;
  std::vector<std::string> lines_;
  size_t written_ = 0;  // lines of lines_ known to be in the file
  bool dirty_ = false;  // a write failed: the file must be rewritten in full
};
