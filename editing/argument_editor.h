// The argument-editing commands of the main window, without any widget: the
// selection on the diagram and the commands it offers, the statement box, and
// the commands that change the argument (support, attack, conjuncts, negation,
// assumption, issue, deletion).
//
// The editor works on the document, the main diagram's drawing context, the
// selection state and the action log that the window holds. Every change goes
// through the document's commit: the theory (or its file text) is changed,
// saved as the scratch file and refreshed from it. A refresh draws the
// sentences anew, possibly in another order, so the editor finds the selected
// sentences again by their texts afterwards; a selection whose sentence is
// gone is cleared, and no command ever acts on a sentence the user did not
// select.
//
// The window learns what to show through TArgumentEditorView: the statement
// box's state, the frames it hides, the status panels and the commands offered.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagram/draw_context.h"
#include "document/document.h"
#include "document/selection_state.h"

// Status panel 2 when the reason of a new argument could not be shown.
inline constexpr const char* kUnshownArgumentMessage =
    "The new reason has no box in the diagram; the command was taken back.";

// Key codes the statement box acts on.
inline constexpr int kEnterKey = 13;
inline constexpr int kEscapeKey = 27;

// A point on the diagram surface, in its pixels.
struct TSurfacePoint {
  int X = 0;
  int Y = 0;
};

// ComboBox1: an edit line, with a sorted list of texts when it has any.
// Left, Top and Width are in diagram-surface pixels.
struct TStatementBox {
  bool Visible = false;
  std::string Text;
  int Left = 0;
  int Top = 0;
  int Width = 241;
  std::vector<std::string> Items;  // sorted; never the placeholder
  bool ShowsList = false;          // a drop-down list only when Items is not empty
  bool Focused = false;
};

// The three panels of the main status bar that the selection writes:
// 0 the clicked cell "(c, r)", 1 the status words, 2 the sentence's text form
// (or why a typed statement was refused).
using TStatusPanels = std::array<std::string, 3>;

// What the window shows of the editor's state. Every notification carries the
// complete current value.
class TArgumentEditorView {
 public:
  virtual ~TArgumentEditorView() = default;
  virtual void StatementBoxChanged(const TStatementBox&) {}
  // A diagram element (a sentence frame) that the statement box covers; every
  // redraw of the diagram shows all elements again.
  virtual void DiagramElementHidden(int) {}
  virtual void StatusPanelsChanged(const TStatusPanels&) {}
  virtual void CommandAvailabilityChanged(const TCommandAvailability&) {}
};

// The members are spread over files by concern: Support, Attack, conjuncts
// and negations in editing_arguments.cpp; the selection, status panels,
// offered commands and commits in editing_selection.cpp; opening the
// statement box in editing_statement_box.cpp; its Enter and Escape in
// editing_statement_keys.cpp.
class TArgumentEditor {
 public:
  // All four must outlive the editor. The context is the one the document's
  // Layout step draws into.
  TArgumentEditor(TDocument& document, TDrawContext& diagram, TSelectionState& selection,
                  TActionLog& log);

  void SetView(TArgumentEditorView* view) { view_ = view; }
  // An index of the context's drawing kept by whoever shows it: a click then
  // looks up the shapes of one row instead of passing over every element.
  // Used while it covers the drawing; it must outlive the editor.
  void SetHitIndex(const THitIndex* hits) { hits_ = hits; }
  // Left edge (in its parent) and width of ScrollBox1, which place the
  // statement box.
  void SetScrollBoxGeometry(int left, int width);

  const TStatementBox& StatementBox() const { return statementBox_; }
  const TStatusPanels& StatusPanels() const { return statusPanels_; }
  const TCommandAvailability& Availability() const { return availability_; }
  // Frames hidden since the last redraw, in the order they were hidden.
  const std::vector<int>& HiddenElements() const { return hiddenElements_; }

  // --- selection (ScrollBox1 and the status bar)
  // A mouse-down on the diagram element `element` (an index into the drawing;
  // none for the empty surface) at `point` in surface pixels. Any button
  // selects alike. While the main window is not active nothing is selected.
  void ScrollBox1MouseDown(std::optional<int> element, TSurfacePoint point, bool mainWindowActive = true);
  // ClickedColumn and ClickedRow of a point in surface pixels.
  void CellFromPoint(int x, int y);
  // Recomputes the offered commands and tells the view.
  void UpdateCommandAvailability();
  // Opening the Edit menu.
  void Edit1Click() { UpdateCommandAvailability(); }
  // The status words of panel 1 for a sentence under the current options.
  std::string StatusWords(const TKorvelSentence& sentence) const;

  // Runs a redraw or refresh made outside the editor (an option toggled,
  // another interpretation shown) and finds the selection again by text.
  void CarrySelectionAcross(const std::function<void()>& redraw);
  // The same in two halves, for a redraw the document announces before and
  // after: BeginRedraw remembers what EndRedraw finds again (nothing but
  // the commit flag when the redraw did not complete).
  struct TCarriedSelection {
    struct TCoveredCell {
      std::string Text;
      int Row, Column;
    };
    std::vector<TCoveredCell> Covered;  // frames the open statement box hides
    SentencePtr Selected, Offered, RowConditional;
    bool WasRefreshing = false;
  };
  TCarriedSelection BeginRedraw();
  void EndRedraw(const TCarriedSelection& carried, bool complete);

  // --- statement box
  // A double-click on a sentence frame (`element`) or on the empty surface.
  void ScrollBox1DblClick(std::optional<int> element, bool mainWindowActive = true);
  void Addstatement1Click();
  void Addelementarysentence1Click() { Addstatement1Click(); }
  // Sender: a sentence frame of the drawing, or none for a menu item.
  void Changeelementarysentence1Click(std::optional<int> senderElement = std::nullopt);
  void FillStatementBox();
  // What the user has typed so far; the window passes every edit.
  void SetStatementText(std::string text);
  // Enter (13) and Escape (27); every other key is left to the edit line.
  void ComboBox1KeyDown(int key);
  // The window hid the statement box itself (New, Open); the modes stay.
  void CloseStatementBox() { HideStatementBox(); }
  // The width the statement box takes when the window changes size.
  void FormResize(int scrollBoxWidth);

  // Replaces the old text form by the new one inside every assumption and
  // issue that holds it, counting only occurrences from `firstCounted` on
  // (1-based), and parses each changed text into a sentence of its list.
  void ReplaceInTheory(const std::string& oldText, const std::string& newText, size_t firstCounted);

  // --- arguments
  void Givesupport1Click();
  void Attack1Click();
  void Addconjunct1Click();
  void Deleteconjunct1menuitemClick();
  void Adddialecticalnegation2Click();

  // --- roles and deletion
  void Setasassumption1Click();
  void Setasissue1Click();
  void Delete1Click();

 private:
  // How a sentence's text reads after a refresh; by default its text now.
  using TTextAfterRefresh = std::function<std::string(const SentencePtr&)>;

  // The sentences the selection names, kept across refreshes as objects.
  struct TRememberedSelection {
    SentencePtr Selected, Offered, RowConditional;
  };

  // The drawn sentence at a diagram index, or null when the index names none.
  SentencePtr DrawnAt(int index) const;
  // The tag of the last shape drawn whose top is at `top`; -1 when none.
  int LastShapeTagAtTop(int top) const;
  TRememberedSelection RememberSelection() const;
  // Points the selection at the drawn sentences with the remembered texts
  // (as read after the refresh); a sentence no longer drawn is unselected.
  void FindSelectionAgain(const TRememberedSelection& remembered, const TTextAfterRefresh& textAfter = {});
  // The commit sequence, with the selection found again afterwards.
  void CommitTheory();
  void CommitFileText(const TKorvelFile& file, const TTextAfterRefresh& textAfter);
  void Refreshing(const std::function<void()>& refresh, const TTextAfterRefresh& textAfter);
  // Writes the theory without refreshing, so that later steps see the lists
  // the file would hold (duplicates dropped).
  void WriteTheoryOnly();

  void Log(const std::string& message) { log_.LogAction(message); }
  void ClearSelection();
  void SetStatusPanels(TStatusPanels panels);
  void StatementBoxUpdated();
  void HideElement(int element);
  void HideStatementBox();

  // The two arguments, which differ in their consequent and bookkeeping.
  void MakeArgument(bool attack);
  // Whether the statement box opened over the placeholder's box.
  bool OpenPlaceholder(const SentencePtr& placeholder);
  // Restores the file text from before the command when no box shows the
  // placeholder.
  void TakeBackUnshownArgument(const TKorvelFile& before);
  void Enter();
  void Escape();
  void EnterAddsStatement(const std::string& text);
  void EnterChangesStatement(const std::string& text);
  // Each returns whether it changed (and wrote) the theory.
  bool RemovePendingConjuncts();
  bool KeepPendingConclusions();
  // The text a typed statement has once the file reader has read it back.
  std::string TextAsRead(const std::string& typed) const;

  TDocument& document_;
  TDrawContext& diagram_;
  TSelectionState& selection_;
  TActionLog& log_;
  TArgumentEditorView* view_ = nullptr;

  int scrollBoxLeft_ = 0;
  int scrollBoxWidth_ = 700;
  TStatementBox statementBox_;
  TStatusPanels statusPanels_;
  TCommandAvailability availability_;
  std::vector<int> hiddenElements_;
  const THitIndex* hits_ = nullptr;
  bool refreshing_ = false;  // a commit or redraw is under way
};

// Why a typed statement cannot be stored in a theory file: it holds one of
// the file format's tags or a line break (or a NUL, which ends a file text).
// Nothing when the text can be stored.
std::optional<std::string> StatementTextFault(std::string_view text);

// The texts of the statement box's list: every drawn text that does not hold
// the placeholder, sorted without regard to letter case.
std::vector<std::string> StatementBoxItems(const TListOfKorvelSentences& drawnSentences);

// The lines of a file text (ended by CR LF, LF or CR) and their join with CR
// LF after each line.
std::vector<std::string> SplitFileLines(std::string_view text);
std::string JoinFileLines(const std::vector<std::string>& lines);
