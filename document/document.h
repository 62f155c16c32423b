// The one document the main window holds: its file name, the theory file
// text in normal form, the theory, every sentence once and the dialectical
// interpretations, together with the option flags that steer the refresh.
//
// The lifecycle commands (New, Open, Save, Save as, the close question) run
// here without any widget; dialogs and message boxes are reached through
// TDocumentUi. Every refresh builds the complete new state first and replaces
// the old one only when it is whole, so a file that cannot be read leaves the
// document exactly as it was.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "diagram/draw_context.h"
#include "document/action_log.h"
#include "document/document_listener.h"
#include "document/document_ui.h"
#include "refresh/evaluation_runner.h"
#include "refresh/pending_evaluation.h"
#include "refresh/refresh_core.h"
#include "refresh/refresh_runner.h"
#include "refresh/report_text.h"
#include "logic/sentence.h"
#include "logic/theory.h"
#include "logic/theory_read_check.h"

inline constexpr const char* kScratchFileName = "~tmp.kvl";
inline constexpr const char* kUnnamedCaption = "Pelmora - an argument assistant based on Korvel";
inline constexpr const char* kEmptyTheoryText = "<KORVEL>\r\n</KORVEL>\r\n";

// What a refresh that ran out of memory says; the document stays as it was.
inline constexpr const char* kRefreshOutOfMemoryMessage =
    "There is not enough memory to show this theory. The document is unchanged.";
// ... and an evaluation that ran out of memory, which ends as a stopped one.
inline constexpr const char* kEvaluationOutOfMemoryMessage =
    "There is not enough memory to evaluate this theory. The evaluation was stopped.";

// Where the evaluation of the current theory stands.
enum class TEvaluationState {
  None,      // nothing to evaluate (no assumption, or structure only)
  Running,   // the structure is shown; the interpretations are still to come
  Finished,  // the interpretations, marks and report are those of the theory
  Stopped,   // stopped before it ended: nothing marked, the report says so
};

class TFrameworkEvaluation;
class TRefreshBuild;
struct TScratchLock;
class TTheoryReadAhead;

// The members are spread over files by concern: the lifecycle commands, the
// commits and the scratch file in document.cpp; the refresh and applying
// its build in document_refresh.cpp; the evaluation's state, its result and
// Stop in document_evaluation.cpp; the listeners and the drawing steps in
// document_listeners.cpp; recovery in document_recovery.cpp.
class TDocument final : private TEvaluationOwner {
 public:
  // Both must outlive the document. The writer defaults to the core's atomic one.
  TDocument(TDocumentUi& ui, TActionLog& log, TTheoryFileWriter* writer = nullptr);
  // Stops a running evaluation; its result is never applied.
  ~TDocument();
  TDocument(const TDocument&) = delete;
  TDocument& operator=(const TDocument&) = delete;

  // --- document state, as of the last refresh
  const std::string& CurrentFileName() const { return currentFileName_; }
  const TKorvelFile& TheoryFile() const { return theoryFile_; }
  const TKorvelTheory& Theory() const { return theory_; }
  // Editing commands change the theory here and then call CommitTheory().
  TKorvelTheory& EditableTheory() { return theory_; }
  const TListOfKorvelSentences& AllSentences() const { return allSentences_; }
  const TInterpretationList& Interpretations() const { return interpretations_; }
  // The report of the T&heory page and the text of status panel 2.
  const TReportText& ReportLines() const { return *reportLines_; }
  // The lines of TheoryFile as the F&ile view shows them (split at the line
  // ends, no empty line after the last), made with the refresh.
  std::shared_ptr<const std::vector<std::string>> SharedFileLines() const { return fileLines_; }
  // The same lines, shared, for a view that keeps them.
  std::shared_ptr<const TReportText> SharedReportLines() const { return reportLines_; }
  const std::string& InterpretationSummary() const { return interpretationSummary_; }
  // Buttons of the interpretation bar; 0 when the bar is hidden.
  size_t InterpretationButtons() const { return interpretationButtons_; }
  // Index of the interpretation whose statuses are marked; -1 when none is.
  int ShownInterpretation() const { return shownInterpretation_; }
  // Why TheoryFile would not read back as the theory (the sentences a file
  // cannot hold); empty when it would. Open shows it and Save refuses with it.
  const std::string& StorageFault() const { return storageFault_; }
  // "Pelmora - " and the file name, or the caption of an unnamed document.
  std::string Caption() const;

  // The checked states of the three Options menu items.
  TRefreshOptions Options;

  // The diagram's layout, run inside every refresh (it may add issues) and
  // again when another interpretation is shown. Set once, by the window that
  // draws; whoever must act around it listens (LayingOut, LaidOut).
  TLayoutStep Layout;
  // Shows the marks the sentences carry now on the diagram as laid out, in
  // place of Layout when only the marks changed: another interpretation
  // shown, an evaluation's result arrived. Optional; set once, as Layout.
  std::function<void()> Remark;
  // Set together with a refresh runner: the layouts of refreshes and of
  // finished evaluations are then made away from the window's thread, and
  // Layout is called with the drawing ready (TakePreparedLayout) when the new
  // state is applied, at the moment it would otherwise lay out.
  TLayoutAside PrepareLayout;
  // Inside a Layout call: the drawing made for it, which the step shows
  // instead of laying out; null when the step has to lay out itself.
  std::shared_ptr<TDrawContext> TakePreparedLayout() { return std::move(preparedLayout_); }

  // Listeners hear the document's announcements in the order they were
  // added; each must outlive the document or be removed first.
  void AddListener(TDocumentListener& listener);
  void RemoveListener(TDocumentListener& listener);

  // --- lifecycle commands; each returns whether it went ahead
  bool New();
  bool Open();
  // Open of a file chosen elsewhere (the command line, a drop): the save
  // question, then as Open with the path in place of the dialog's answer.
  bool OpenPath(const std::string& path);
  // Shows a message about a file the way file errors are shown.
  void ReportFileError(const std::string& message) { ui_.ShowFileError(message); }
  bool Save();
  bool SaveAs();
  // Work a crash left behind, set aside before start-up: after the save
  // question it becomes the document, unsaved and without a name.
  bool OpenUnsavedWork(const std::string& path);
  // A clean end: the scratch file gets the empty theory, so the next start
  // finds nothing to recover.
  void LeaveScratchEmpty();
  // The close request: the save question, then whether the window may close.
  bool CanClose() { return AskToSaveChanges(); }

  // True when the text differs from the file (or, unnamed, when the theory is
  // not empty); nothing when the file cannot be read (the error was shown).
  std::optional<bool> HasUnsavedChanges();
  // The save question and the saving it leads to; whether to go ahead.
  bool AskToSaveChanges();

  // --- refresh cycle
  // Reads the file, normalises it into the scratch file and rebuilds all
  // state. A file that cannot be read shows the error and changes nothing.
  // `readCheck`, when given, learns what the lenient reader made of the file.
  bool RefreshFromFile(const std::string& path, TTheoryReadCheck* readCheck = nullptr);
  // A file being read ahead (at start-up, the file named to be opened): the
  // next refresh from a file takes what it read when that file's bytes are
  // the same, and lets it go in any case. Null lets it go now.
  void ReadAhead(std::shared_ptr<TTheoryReadAhead> reading) { readAhead_ = std::move(reading); }
  // Re-reads the scratch file under the current options.
  bool RefreshFromScratch();
  // The commit of an editing command: the theory writes its file text, which
  // is saved as the scratch file and refreshed from.
  bool CommitTheory();
  // The same for a file text built by the command itself.
  bool CommitFileText(const TKorvelFile& file);
  // The same for a file text that `makeText` puts together: where the
  // refresh is built (any thread), so a large text costs this thread nothing.
  bool CommitMadeText(std::function<std::string()> makeText);
  // Marks the statuses of another interpretation (0-based).
  void ShowInterpretation(int index);

  // --- building a refresh away from the window's thread
  // Once set (with PrepareLayout), a refresh reads, normalises, evaluates for
  // its in-line moment and lays out through `runner`, and replaces the state
  // when that is done; the runner must outlive the document.
  void SetRefreshRunner(TRefreshRunner* runner) { refreshRunner_ = runner; }
  // The refresh being built; null when none is.
  const TRefreshProgress* RunningRefresh() const { return refresh_.get(); }
  // Whether the refresh being built reads another file (Open, a framework),
  // which Stop abandons, leaving the document as it was. The refresh of a
  // change is always finished; Stop then ends only its evaluation.
  bool RefreshAbandonable() const { return refresh_ && refreshAbandonable_; }

  // --- evaluation
  // Once set, an evaluation that has not ended within `inlineBudget` (in
  // line, 5 microseconds more per sentence of the theory) goes on
  // through `runner` on another thread, and the refresh returns with the
  // structure shown (EvaluationState() Running). Without a runner every
  // evaluation runs to its end inside the refresh. The runner must outlive
  // the document's evaluations.
  void SetEvaluationRunner(TEvaluationRunner* runner, std::chrono::milliseconds inlineBudget);
  TEvaluationState EvaluationState() const { return evaluationState_; }
  // Whether the diagram and the selection show statuses: not under "Show
  // structure only", nor while the evaluation runs or after it was stopped.
  bool ShowsStatuses() const;
  // The running evaluation's progress; null when none runs.
  const TEvaluationControl* RunningEvaluation() const;
  // When the running (or last) evaluation started.
  std::chrono::steady_clock::time_point EvaluationStart() const { return evaluationStart_; }
  // Stops the running evaluation: the structure stays, status panel 2 and the
  // report say that the evaluation was stopped. The next change or option
  // evaluates afresh. While a refresh is being built: abandons the reading of
  // another file, or has the refresh of a change end without its evaluation.
  void StopEvaluation();
  // After a stop: evaluates the theory as it stands, without a change, the
  // way its refresh would have; whether an evaluation started.
  bool EvaluateAgain();
  // Blocks until the running evaluation has ended and applies its result;
  // for tests and measurements, which need the result at a known moment.
  void WaitForEvaluation();

  // --- scratch file
  // Where the scratch file goes when the working directory refuses it.
  void SetScratchFallbackDirectory(const std::string& directory);
  // A scratch file of this instance's own, in place of the working
  // directory's "~tmp.kvl" (another running instance holds that one).
  void SetScratchFileName(const std::string& path) { scratchFileName_ = path; }
  // The path the scratch file was last written to (or will be).
  const std::string& ScratchFileName() const { return scratchFileName_; }

 private:
  // CommitTheory and CommitFileText without their guard against running out of memory.
  bool CommitTheoryText();
  bool CommitLoadedText(const TKorvelFile& file);
  bool RefreshFromLoaded(const TKorvelFile& loaded);
  // Builds the new state (aside when a refresh runner is set) and replaces
  // the current one with it; false when it was abandoned or failed, and then
  // nothing changed.
  bool RunRefresh(const std::shared_ptr<TRefreshBuild>& build, bool abandonable);
  bool RunRefreshBuild(const std::shared_ptr<TRefreshBuild>& build, bool abandonable);
  // Lets go of what the build still holds away from this thread.
  void ReleaseBuilt(TRefreshBuild& build);
  void ApplyRefresh(TRefreshBuild& build);
  bool ImportFramework(const std::string& path);
  void RunInBackground(const std::shared_ptr<TPendingEvaluation>& pending);
  // Shows an ended evaluation's result; `redraw` draws the diagram again.
  void ApplyEvaluation(TPendingEvaluation& pending, bool redraw);
  // Ends a running evaluation without a result: the status and the report
  // line say why.
  void EndEvaluationEarly(const char* status, const char* reportLine);
  void EvaluationJobFinished(const std::shared_ptr<TPendingEvaluation>& pending) override;
  // Stops the running evaluation and forgets it.
  void DetachEvaluation();
  bool OpenChosen(const std::string& path);
  void SaveScratch(const TKorvelFile& file);
  bool SaveTo(const std::string& path);
  bool SaveWithDialog();
  // The announcements (document_listeners.cpp).
  void Announce(void (TDocumentListener::*event)());
  // Layout between LayingOut and LaidOut; nothing without a Layout.
  void LayOut(TKorvelTheory& theory, const TListOfKorvelSentences& sentences);
  // Remark between Remarking and Remarked, or else LayOut of the state.
  void Redraw();

  TDocumentUi& ui_;
  TActionLog& log_;
  TAtomicTheoryFileWriter defaultWriter_;
  TTheoryFileWriter& writer_;
  std::vector<TDocumentListener*> listeners_;

  std::string currentFileName_;
  TKorvelFile theoryFile_;
  TKorvelTheory theory_;
  TListOfKorvelSentences allSentences_;
  TInterpretationList interpretations_;
  std::shared_ptr<const TReportText> reportLines_ = std::make_shared<const TReportText>();
  std::shared_ptr<const std::vector<std::string>> fileLines_ =
      std::make_shared<const std::vector<std::string>>();
  std::string interpretationSummary_;
  size_t interpretationButtons_ = 0;
  int shownInterpretation_ = -1;
  std::string storageFault_;
  // What Open said about a foreign or damaged file; the first save over it asks.
  std::string readWarning_;

  std::string scratchFileName_ = kScratchFileName;
  std::shared_ptr<TScratchLock> scratchLock_;
  std::string scratchFallbackDirectory_;
  bool scratchErrorShown_ = false;

  TRefreshRunner* refreshRunner_ = nullptr;
  std::shared_ptr<TRefreshProgress> refresh_;
  bool refreshAbandonable_ = false;
  size_t refreshGeneration_ = 0;  // refreshes applied
  std::shared_ptr<TDrawContext> preparedLayout_;
  // The issue counts of the last refresh, for an evaluation started again.
  size_t issuesAtRead_ = 0;
  size_t issuesBeforeLayout_ = 0;

  TEvaluationRunner* runner_ = nullptr;
  std::chrono::milliseconds inlineBudget_{0};
  std::shared_ptr<TTheoryReadAhead> readAhead_;
  std::shared_ptr<TPendingEvaluation> pending_;
  TEvaluationState evaluationState_ = TEvaluationState::None;
  std::chrono::steady_clock::time_point evaluationStart_;
};
