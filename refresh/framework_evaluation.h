// The evaluation of an opened framework file, started from the framework's
// arguments and attacks as soon as the file is read (on the engine made
// straight from the attacks, without sentences) and running on its own
// thread while the theory the window shows is read, copied and laid out.
// The refresh then takes its interpretations instead of evaluating the theory
// again: the same positions (arguments, then attacks) in the same order, put
// onto the theory's assumptions.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <thread>

#include "evaluation/interpretations.h"
#include "frameworks/argumentation_framework.h"
#include "logic/theory.h"

class TFrameworkEvaluation {
 public:
  // Starts evaluating at most `limit` interpretations of the framework's
  // theory on a thread of its own.
  static std::shared_ptr<TFrameworkEvaluation> Start(TArgumentationFramework framework, size_t limit);
  // Asks the evaluation to stop and waits for its thread to end.
  ~TFrameworkEvaluation();
  TFrameworkEvaluation(const TFrameworkEvaluation&) = delete;
  TFrameworkEvaluation& operator=(const TFrameworkEvaluation&) = delete;

  // Whether `theory` (with `issuesAtRead` issues given by the file) is the
  // framework's theory as the engine numbers it: every argument, then every
  // attack "if(a, x(b))", in the framework's order, and no issue.
  bool Fits(const TKorvelTheory& theory, size_t issuesAtRead) const;

  // Waits for the result and gives it over `theory`'s assumptions, as the
  // theory's own engine would have given it; a stop requested of `control`
  // meanwhile ends the wait with a stopped result (the evaluation goes on, so
  // a later wait gets it). The progress made is copied into `control`.
  // Nothing when the evaluation could not be made (memory ran out): the
  // theory is then to be evaluated as usual.
  std::optional<TEvaluation> Wait(const TKorvelTheory& theory, TEvaluationControl* control);

 private:
  struct TShared;
  explicit TFrameworkEvaluation(std::shared_ptr<TShared> shared);
  std::shared_ptr<TShared> shared_;
  std::thread thread_;
};
