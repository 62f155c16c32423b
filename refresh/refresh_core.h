// The widget-free core of the refresh cycle: from a loaded theory file and the
// three option flags to a complete new document state. Reads and normalises the
// theory, collects every sentence once, turns every contained sentence that is
// neither assumption nor issue into an issue, evaluates it, marks the statuses
// of the first interpretation, lets the diagram lay itself out, and writes the
// text report. `Refresh` runs the steps of the document's build
// (refresh_build.h) in line, for korvel, the benchmarks and the tests.
//
// Nothing here touches the file system: the caller loads the file (so a read
// failure leaves its current document untouched) and saves the normalised
// text to the scratch file itself.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "evaluation/interpretation_list.h"
#include "logic/sentence.h"
#include "logic/theory.h"
#include "reasoning/evaluation_control.h"
#include "refresh/report_text.h"

// What status panel 2 and the report say of an evaluation that was stopped
// before it ended: no interpretation is shown and no statuses are marked. The
// report line stands where the interpretations would be, followed by an empty
// line, like the line for no interpretation.
inline constexpr const char* kEvaluationStoppedStatus = "The evaluation was stopped.";
inline constexpr const char* kEvaluationStoppedReportLine =
    "THE EVALUATION WAS STOPPED; NO DIALECTICAL INTERPRETATION IS SHOWN";
// The same for an evaluation that ran out of memory: it ends as a stop does,
// and the theory stays as it is.
inline constexpr const char* kEvaluationOutOfMemoryStatus = "The evaluation ran out of memory.";
inline constexpr const char* kEvaluationOutOfMemoryReportLine =
    "THE EVALUATION RAN OUT OF MEMORY; NO DIALECTICAL INTERPRETATION IS SHOWN";

// The checked states of the three Options menu items.
struct TRefreshOptions {
  bool ShowStructureOnly = false;
  bool ParseSentences = true;
  // Read only by the diagram; carried here so one value describes a refresh.
  bool ShowDialecticalNegations = true;
};

// The diagram layout step. It runs after the roles are given and before the
// report is written, and may add issues to the theory, which the report then
// lists. `allSentences` is the freshly collected list of every sentence once.
using TLayoutStep =
    std::function<void(TKorvelTheory& theory, const TListOfKorvelSentences& allSentences)>;

// Everything a refresh produces. The sentences are shared by Theory,
// AllSentences and Interpretations; the marks on them are those of the first
// interpretation (or none).
struct TRefreshResult {
  TKorvelFile TheoryFile;  // normal form: what is saved as "~tmp.kvl"
  TKorvelTheory Theory;    // including the issues added by the refresh
  TListOfKorvelSentences AllSentences;
  TInterpretationList Interpretations;
  bool Evaluated = false;           // false when structure only or no assumption
  bool InterpretationsCut = false;  // more interpretations exist than were kept
  bool EvaluationStopped = false;   // the evaluation ended on a stop request
  // Texts of the sentences made issues by the refresh, in order; the window
  // logs "Add issue: " + text for each.
  std::vector<std::string> AddedIssues;
  std::string StatusText;                // status panel 2
  size_t InterpretationButtons = 0;      // 0: the interpretation bar is hidden
  // The T&heory view, one entry per line; the blocks of several
  // interpretations are written when read.
  TReportText ReportLines;
};

// What a refresh is made from: a loaded file, the options, and the layout
// step, when there is one, called once at the diagram step.
struct TRefreshRequest {
  TKorvelFile Loaded;  // moved in where the caller needs it no more
  TRefreshOptions Options{};
  TLayoutStep Layout{};
};

// The refresh in line on the calling thread, as the document builds it
// without a runner (refresh_in_line.cpp). Running out of memory throws
// std::bad_alloc.
TRefreshResult Refresh(TRefreshRequest request);

// The marking behind a click on interpretation button `index` (0-based):
// marks that interpretation's statuses on the theory and collects the parts of
// every assumption into `allSentences` (adding only texts not yet there).
// An index out of range marks nothing and returns false.
bool MarkShownInterpretation(const TKorvelTheory& theory,
                             const TInterpretationList& interpretations, size_t index,
                             TListOfKorvelSentences& allSentences);

// The texts of status panel 2 and the report, for a number of interpretations.
std::string InterpretationStatusText(size_t count, bool cut);

// The lines of a file text as the F&ile view shows them: split at the line
// ends, no empty line after the last.
std::vector<std::string> FileTextLines(const std::string& text);
