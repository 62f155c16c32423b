// The refresh in two phases, for a window that must not wait for the
// evaluation. The structure phase does, in the refresh's order, everything
// that does not depend on the evaluation: read and normalise, collect every
// sentence once, give the roles, lay the diagram out and write the lists of
// the report. The evaluation phase then works on a private copy of the
// theory, possibly on another thread, and produces the interpretations, the
// marks of the first one, the status text and the whole report, exactly as
// RefreshDocument would have produced them for the same file.
//
// The copy shares nothing with the document's sentences, so the window may go
// on reading and changing the document while the evaluation runs; the result
// is carried back by the copy's pairs of original and copied sentences.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "refresh/refresh_core.h"
#include "refresh/refresh_progress.h"
#include "refresh/report_text.h"
#include "reasoning/evaluation_control.h"
#include "evaluation/interpretations.h"

// The lines the report holds in place of the interpretations while they are
// being evaluated.
inline constexpr const char* kEvaluatingReportLine = "THE DIALECTICAL INTERPRETATIONS ARE BEING EVALUATED";

struct TStructureRefresh {
  // As RefreshDocument's, except that nothing is evaluated or marked. When
  // Result.Evaluated is set the evaluation is still to come, the report ends
  // with kEvaluatingReportLine and the status text is empty; otherwise the
  // result is complete.
  TRefreshResult Result;
  size_t IssuesAtRead = 0;        // issues the file gave
  size_t IssuesBeforeLayout = 0;  // ... and those the roles added
};

TStructureRefresh RefreshStructure(const TKorvelFile& loaded, const TRefreshOptions& options,
                                   const TLayoutStep& layout = {});
// The same in two steps, so that a short evaluation can come between the
// roles and the layout: read, normalise, collect and give the roles; then
// lay out, write the lists of the report (unless `withReport` is false: the
// evaluation's report replaces them) and rebuild the variables.
// `progress`, when given, follows the reading and can end it early (the
// result is then incomplete and to be thrown away); `stop`, when given,
// notes where reading the theory stopped, if it did.
TStructureRefresh ReadStructure(const TKorvelFile& loaded, const TRefreshOptions& options,
                                TRefreshProgress* progress = nullptr, TReadStop* stop = nullptr);
void FinishStructure(TStructureRefresh& structure, const TLayoutStep& layout, bool withReport = true);
// The report of a theory not (yet) evaluated: its lists, then the line for
// an evaluation still to come or the lines for no interpretation.
std::vector<std::string> StructureReport(const TKorvelTheory& theory, bool evaluationToCome);

// A copy of a theory's sentence trees: the same kinds, texts, flags and
// variables, and the same sharing of parts between trees.
struct TTheoryCopy {
  TKorvelTheory Theory;
  // Every sentence of the original's trees once, with its copy.
  std::vector<std::pair<SentencePtr, SentencePtr>> Pairs;
};
TTheoryCopy CopyTheory(const TKorvelTheory& theory);

// What the evaluation phase hands back; the interpretations hold the copy's
// sentences (MapInterpretations turns them into the original's).
struct TEvaluationOutcome {
  TInterpretationList Interpretations;
  bool Cut = false;
  bool Stopped = false;  // then nothing else is filled in
  std::string StatusText;
  size_t InterpretationButtons = 0;
  // The whole report; the blocks of several interpretations are written when read.
  TReportText ReportLines;
  bool OutOfMemory = false;               // memory ran out: Stopped as well
};

// The evaluation phase on a copy of the theory as the structure phase left it
// (its issues include those the roles and the layout added). It repeats the
// refresh's steps in their order: the engine sees the issues the file gave,
// the first interpretation is marked, the added issues follow, the report is
// written. Runs on one thread at a time; the theory must outlive it.
class TStructureEvaluation {
 public:
  TStructureEvaluation(TKorvelTheory& theory, size_t issuesAtRead, size_t issuesBeforeLayout);
  ~TStructureEvaluation();
  TStructureEvaluation(const TStructureEvaluation&) = delete;
  TStructureEvaluation& operator=(const TStructureEvaluation&) = delete;

  // Computes the interpretations; false when `control` stopped it. May be
  // called again after a stop, with another control.
  bool Evaluate(TEvaluationControl* control);
  // Takes interpretations evaluated elsewhere over this theory's assumptions
  // (an opened framework's, evaluated from its attacks) as Evaluate's result;
  // false for a stopped one, which is not taken.
  bool Adopt(TEvaluation evaluation);
  // Whether Evaluate has ended without a stop, and how many it found.
  bool Evaluated() const { return evaluated_; }
  size_t Count() const { return evaluation_.Interpretations.size(); }
  // Marks and writes the report; the theory's marks are afterwards those the
  // refresh leaves. A stop on the way gives a stopped outcome.
  TEvaluationOutcome Report(TEvaluationControl* control);

 private:
  struct TEngine;
  TKorvelTheory& theory_;
  size_t issuesAtRead_;
  size_t issuesBeforeLayout_;
  std::vector<SentencePtr> laterIssues_;  // taken off the theory while the engine works
  bool issuesRestored_ = false;
  std::unique_ptr<TEngine> engine_;
  TEvaluation evaluation_;
  bool evaluated_ = false;
};

// Copies the marks of the copy onto the original sentences.
void CopyMarks(const TTheoryCopy& copy);
// The interpretations with every copied sentence replaced by its original.
TInterpretationList MapInterpretations(const TTheoryCopy& copy, const TInterpretationList& interpretations);
