#include "refresh/theory_read_ahead.h"

#include <chrono>
#include <utility>

#include "refresh/framework_import.h"

TTheoryReadAhead::TTheoryReadAhead(std::string path, const TRefreshOptions& options)
    : format_(FrameworkFormatOfPath(path)),
      options_(options), thread_([this, path = std::move(path)] { ReadFile(path); }) {}

TTheoryReadAhead::~TTheoryReadAhead() {
  progress_.RequestStop();
  if (thread_.joinable()) thread_.join();
}

void TTheoryReadAhead::ReadFile(const std::string& path) {
  std::optional<TRead> read;
  try {
    read.emplace();
    // Stopped between its steps too, so that letting it go waits little.
    if (format_) {
      read->Bytes = ReadFrameworkFileText(path);
      if (!progress_.StopRequested()) {
        TImportedFramework imported = ImportFrameworkText(read->Bytes, path);
        read->Framework = std::move(imported.Framework);
        read->Loaded.LoadFromText(imported.File.FileBytes());
      }
    } else {
      read->Bytes = ReadTheoryFileBytes(path);
      if (!progress_.StopRequested()) read->Loaded.LoadFromText(read->Bytes);
    }
    if (!progress_.StopRequested()) read->Structure = ReadStructure(read->Loaded, options_, &progress_, &read->Stop);
    // A reading stopped half way holds an incomplete theory.
    if (progress_.StopRequested()) read.reset();
  } catch (...) {
    // Unreadable, too large, out of memory: the refresh finds out again and
    // says so.
    read.reset();
  }
  std::lock_guard lock(mutex_);
  read_ = std::move(read);
  finished_ = true;
  done_.notify_all();
}

namespace {

// Whether a reading under one set of options is one under the other: the
// rest of the options matter only to the layout.
bool ReadAlike(const TRefreshOptions& one, const TRefreshOptions& other) {
  return one.ParseSentences == other.ParseSentences && one.ShowStructureOnly == other.ShowStructureOnly;
}

// Shows how far the reading ahead has come as the refresh's own.
void ShowProgress(const TRefreshProgress& from, TRefreshProgress& to) {
  to.Phase.store(from.Phase.load(std::memory_order_relaxed), std::memory_order_relaxed);
  to.Read.Bytes.store(from.Read.Bytes.load(std::memory_order_relaxed), std::memory_order_relaxed);
  to.Read.Sentences.store(from.Read.Sentences.load(std::memory_order_relaxed), std::memory_order_relaxed);
}

}  // namespace

std::optional<TTheoryReadAhead::TRead> TTheoryReadAhead::Take(const std::string& path, std::string_view bytes,
                                                              const TRefreshOptions& options,
                                                              TRefreshProgress& progress) {
  constexpr auto kLook = std::chrono::milliseconds(5);
  std::unique_lock lock(mutex_);
  while (!finished_) {
    if (progress.StopRequested()) return std::nullopt;
    ShowProgress(progress_, progress);
    done_.wait_for(lock, kLook);
  }
  if (taken_ || !read_ || FrameworkFormatOfPath(path) != format_ || !ReadAlike(options, options_) ||
      bytes != read_->Bytes)
    return std::nullopt;
  taken_ = true;
  ShowProgress(progress_, progress);
  std::optional<TRead> taken = std::move(read_);
  read_.reset();
  return taken;
}

bool TTheoryReadAhead::Taken() const {
  std::lock_guard lock(mutex_);
  return taken_;
}
