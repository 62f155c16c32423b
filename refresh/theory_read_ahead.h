// A theory file, or a framework file as the theory it becomes, read ahead.
// A program started with a file begins reading it while its windows are
// being made; the refresh that then opens the file takes what was read
// instead of reading it again, when the file's bytes and the options of the
// refresh are still those it was read under. Otherwise it reads the file
// itself, as without: what is read ahead is never more than a head start,
// and a reading that failed here is simply made again there (which reports
// what went wrong).
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "refresh/refresh_phases.h"
#include "refresh/refresh_progress.h"
#include "frameworks/argumentation_framework.h"
#include "logic/theory.h"

class TTheoryReadAhead {
 public:
  // What reading the file made: its bytes, a framework file's framework, the
  // theory file as loaded from them, the refresh's structure as far as
  // reading goes (ReadStructure), and where reading stopped.
  struct TRead {
    std::string Bytes;
    std::optional<TArgumentationFramework> Framework;
    TKorvelFile Loaded;
    TStructureRefresh Structure;
    TReadStop Stop;
  };

  // Starts reading the file at `path` on a thread of its own, as a refresh
  // under `options` reads it.
  TTheoryReadAhead(std::string path, const TRefreshOptions& options);
  // Stops a reading still running and waits for its thread.
  ~TTheoryReadAhead();
  TTheoryReadAhead(const TTheoryReadAhead&) = delete;
  TTheoryReadAhead& operator=(const TTheoryReadAhead&) = delete;

  // What was read, for the file at `path` (a framework file of the same
  // format, or a theory file) whose bytes are now `bytes`, read under
  // `options`: waits for the reading, showing its progress in `progress`
  // meanwhile, and gives it once. Nothing when the bytes or the options
  // that reading heeds differ, when the reading failed, when it was taken
  // before, or when `progress` asks to stop while it waits.
  std::optional<TRead> Take(const std::string& path, std::string_view bytes, const TRefreshOptions& options,
                            TRefreshProgress& progress);
  // Whether Take gave what was read.
  bool Taken() const;

 private:
  void ReadFile(const std::string& path);

  const std::optional<TFrameworkFormat> format_;  // of a framework file
  const TRefreshOptions options_;
  TRefreshProgress progress_;
  mutable std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;  // under mutex_, as what follows
  bool taken_ = false;
  std::optional<TRead> read_;  // empty when reading failed
  std::thread thread_;         // last: starts once the rest exists
};
