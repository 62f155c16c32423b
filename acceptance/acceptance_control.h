// The stop request and progress of a computation of acceptance: the
// evaluation's counters (solver questions, models found) and how many of the
// texts asked about are settled.
#pragma once

#include <atomic>
#include <cstddef>

#include "reasoning/evaluation_control.h"

class TAcceptanceControl : public TEvaluationControl {
 public:
  std::atomic<size_t> TextsAsked{0};
  std::atomic<size_t> TextsSettled{0};
};
