// The refresh in line: the document's build without a runner, and the
// evaluation's result put where the document would show it.
#include <new>
#include <utility>

#include "refresh/refresh_build.h"

TRefreshResult Refresh(TRefreshRequest request) {
  TRefreshBuild build;
  build.Loaded = std::move(request.Loaded);
  build.Options = request.Options;
  build.Layout = std::move(request.Layout);
  build.EvaluateInPlace = true;
  build.WritesOut = false;
  build.Run();
  if (build.OutOfMemory) throw std::bad_alloc();
  TRefreshResult result = std::move(build.Structure.Result);
  if (!build.Pending) return result;
  TPendingEvaluation& pending = *build.Pending;
  // Without a runner the evaluation ran to its end, before the layout or
  // again after it when the layout added issues; evaluated in place, its
  // marks are on the theory's own sentences.
  if (pending.OutOfMemory) throw std::bad_alloc();
  TEvaluationOutcome& outcome = pending.Outcome;
  result.Interpretations = std::move(pending.Interpretations);
  result.InterpretationsCut = outcome.Cut;
  result.EvaluationStopped = outcome.Stopped;
  result.StatusText = std::move(outcome.StatusText);
  result.InterpretationButtons = outcome.InterpretationButtons;
  result.ReportLines = std::move(outcome.ReportLines);
  return result;
}
