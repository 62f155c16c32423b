// Work that a run which did not end cleanly (a crash, a kill) left in the
// scratch file. Start-up writes the empty theory over the scratch file, so
// before it does, a scratch file holding a theory that no file on disk
// matches is moved aside under a time-stamped name, and the user is offered
// to open it as an unsaved document.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

struct TUnsavedWork {
  std::string Path;  // where the scratch file was moved
  std::time_t Time;  // when it was last written
};

// The theory file the log last shows as opened or saved; empty when none.
std::string LastFileInLog(const std::vector<std::string>& logLines);

// Moves the scratch file aside ("~tmp-unsaved-YYYYMMDD-HHMMSS.kvl" beside
// it) when it holds a theory that differs from the empty theory and from the
// theory of `lastFile` (as the window shows it after opening that file).
// Nothing when there is nothing to keep or it cannot be moved.
std::optional<TUnsavedWork> SetAsideUnsavedWork(const std::string& scratchPath, const std::string& lastFile);

// "Recover unsaved work from <time>?", the time in the locale's date and time.
std::string RecoveryQuestion(const TUnsavedWork& work);
