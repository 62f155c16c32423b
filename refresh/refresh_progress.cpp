#include "refresh/refresh_progress.h"

#include <algorithm>
#include <cstdio>

namespace {

// 1234567 -> "1,234,567", as a count is easiest read.
std::string Grouped(size_t value) {
  std::string digits = std::to_string(value);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

std::string Megabytes(size_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / 1e6);
  return text;
}

}  // namespace

std::string RefreshProgressText(const TRefreshProgress& progress, std::chrono::steady_clock::time_point now) {
  const size_t total = progress.FileBytes.load(std::memory_order_relaxed);
  std::string text;
  switch (progress.Phase.load(std::memory_order_relaxed)) {
    case TRefreshPhase::ReadingFile:
      text = total > 0 ? "Reading the file: " + Megabytes(total) + " MB" : "Reading the file";
      break;
    case TRefreshPhase::ReadingSentences: {
      // Stretches read at once add up what each read; one read in vain may
      // count some bytes twice for a moment.
      const size_t read = std::min(progress.Read.Bytes.load(std::memory_order_relaxed), total);
      text = "Reading: " + Megabytes(read) + " of " + Megabytes(total) + " MB, " +
             Grouped(progress.Read.Sentences.load(std::memory_order_relaxed)) + " sentences";
      break;
    }
    case TRefreshPhase::Collecting:
      text = "Collecting " + Grouped(progress.Read.Sentences.load(std::memory_order_relaxed)) + " sentences";
      break;
    case TRefreshPhase::Evaluating:
      text = "Evaluating";
      break;
    case TRefreshPhase::LayingOut:
      text = "Drawing the diagram of " + Grouped(progress.Sentences.load(std::memory_order_relaxed)) +
             " sentences";
      break;
    case TRefreshPhase::Writing:
      text = "Writing the report";
      break;
  }
  const std::chrono::duration<double> elapsed = now - progress.Start;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, ", %.1f s", elapsed.count());
  return text + seconds;
}
