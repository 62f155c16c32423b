// How far a refresh that builds its new state away from the window has come:
// the phase, the bytes and sentences read, the time since it started, and the
// request that ends it early. The building thread writes, the window's thread
// reads, so every counter is atomic.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

#include "logic/theory.h"

enum class TRefreshPhase : int {
  ReadingFile,      // the bytes of the file
  ReadingSentences, // the theory from its text
  Collecting,       // every sentence once, the roles
  Evaluating,       // the evaluation's first moments, in line
  LayingOut,        // the diagram
  Writing,          // the report and the normal form's check
};

struct TRefreshProgress {
  std::atomic<TRefreshPhase> Phase{TRefreshPhase::ReadingFile};
  std::atomic<size_t> FileBytes{0};  // the size of the text being read; 0 while unknown
  std::atomic<size_t> Sentences{0};  // sentences collected, for the layout's phase
  // Bytes of the text read and sentences read; its Stop ends the refresh.
  TReadProgress Read;
  // Stop asked for while a refresh that cannot be abandoned was built: it
  // ends without its evaluation.
  std::atomic<bool> EvaluationStop{false};
  std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();

  void RequestStop() { Read.Stop.store(true, std::memory_order_relaxed); }
  bool StopRequested() const { return Read.Stop.load(std::memory_order_relaxed); }
};

// The text of status panel 2 while a refresh is being built, e.g.
// "Reading: 45.2 of 100.0 MB, 310,000 sentences, 2.3 s".
std::string RefreshProgressText(const TRefreshProgress& progress, std::chrono::steady_clock::time_point now);
