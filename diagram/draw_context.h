// Everything one drawing needs and produces: the options, the theory that
// boxes take their flags from, the text measure of the font in use, the list
// DrawnSentences that diagram indices point into, RowsUsed and the drawing.
//
// Each window that shows a diagram keeps its own context, so drawing into
// one window never changes the diagram indices of another.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "diagram/diagram_drawing.h"
#include "diagram/diagram_metrics.h"
#include "diagram/hit_index.h"
#include "logic/sentence.h"
#include "logic/theory.h"

// Width in pixels of a label's text in the given style of the font in use.
using TTextWidthFunction = std::function<int(std::string_view text, TFontStyle style)>;

// The text of the sentence that stands for a reason still to be typed; its box
// shows three blanks.
inline constexpr std::string_view kPlaceholderText =
    "***This sentence occurs for technical reasons. If you see it you may have encountered a bug in the "
    "program.***";

// Hashes texts held as strings and looked up as views, without a copy.
struct TTextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
using TTextIndex = std::unordered_map<std::string, int, TTextHash, std::equal_to<>>;

class TDrawContext {
 public:
  // A context without a theory; TextWidth measures 6 pixels per byte.
  TDrawContext();

  // --- options, read anew for every element drawn
  bool StructureOnly = false;             // "&Show structure only"
  bool ShowDialecticalNegations = true;   // "Show dialectical &negations"

  // The main window's theory. Boxes show the flags of its assumption or issue
  // with the same text; registration looks roles up in it. May be null.
  TKorvelTheory* Theory = nullptr;
  // Whether registering a sentence that is neither assumption nor issue
  // appends it to Theory's issues. A diagram drawn for another window than
  // the main one turns this off so that it leaves the main theory alone; the
  // sentence is still marked as an issue.
  bool RegistrationAddsIssues = true;

  TTextWidthFunction TextWidth;
  int LabelHeight = 13;  // height of a label of the font in use

  // Each node laid out (box, drop or branch) counts one. Once the budget is
  // spent every further box is drawn with the cycle mark and nothing below
  // it, so that trees sharing many subtrees cannot make a drawing explode.
  // A drawing of n sentences may use at least 4 n nodes.
  long long NodeBudget = 250000;
  bool Truncated = false;  // whether the last drawing ran out of budget

  // While set, the shapes only record their calls; DrawRecordedElements
  // then draws the elements of them all at once (the layout does so).
  bool RecordCallsOnly = false;

  // When set, the next layout leaves the sentences' flags and the theory's
  // issues as they are while it finds the boxes' places, keeping the roles
  // registration gives; once its places are found it calls this (and clears
  // it), then gives them (GiveDeferredRoles), before drawing the elements.
  // Another thread may so read the theory while the places are found, for
  // as long as this call waits for it.
  std::function<void()> BeforeRolesGiven;

  TDiagramMetrics Metrics;
  TListOfKorvelSentences DrawnSentences;
  int RowsUsed = 0;
  TDiagramDrawing Drawing;

  // Empties DrawnSentences, the drawing and the lookups; RowsUsed := 0.
  void Reset();
  // Makes room in the lookups for a drawing of that many sentences.
  void Reserve(size_t sentences);

  // Diagram index of a text in DrawnSentences; -1 when none.
  int DrawnIndexOfText(std::string_view text) const;
  // Whether DrawnSentences holds a conditional whose consequent has the text.
  bool DrawnConsequent(std::string_view text) const;
  // Appends the sentence to DrawnSentences unless its text is there, giving it
  // a role from the theory when it has none. Returns its diagram index.
  int Register(const SentencePtr& sentence);
  // From now on registration keeps the roles it gives, and the issues it
  // adds, instead of writing them.
  void DeferRoles() { deferRoles_ = true; }
  // Writes the roles kept into the sentences and appends the issues kept to
  // the theory's, in registration order; registration writes them again.
  void GiveDeferredRoles();
  // Forgets the roles kept (a layout that failed); the same otherwise.
  void DropDeferredRoles();

  // The theory's first assumption / issue with the text, or null.
  SentencePtr TheoryAssumption(std::string_view text);
  SentencePtr TheoryIssue(std::string_view text);
  // The theory's issue with the text, else its assumption, else null: the
  // sentence whose flags a box shows.
  SentencePtr TheorySentence(std::string_view text);
  // Rebuilds the lookups of the theory; the layout does so at every start.
  void IndexTheory();
  // Points the context at the theory a drawing made on another thread was
  // laid out for, now moved into this object: its lookups are kept when
  // they were made for lists of the same sizes, and rebuilt otherwise.
  void AdoptMovedTheory(TKorvelTheory* theory);

  // The hit index of Drawing, built where the drawing was made (on another
  // thread) so that the surface adopting it need not build one.
  std::optional<THitIndex> HitsMadeAside;
  void IndexHitsAside();

  // A context to replay this one's calls into (RedrawCalls) on another
  // thread, while this one stays shown: the options, the theory and its
  // lookups, DrawnSentences, RowsUsed and the drawing's calls, without its
  // elements, captions and hit index. Nor are the text measure and the label
  // height taken (a font change rewrites them on the showing thread): the
  // copy measures 6 pixels per byte until it is given a measure of its own.
  TDrawContext CopyForReplay() const;

 private:
  TTextIndex drawnIndex_;
  std::unordered_set<std::string, TTextHash, std::equal_to<>> drawnConsequents_;
  struct TTheoryPlaces {
    int Assumption = -1, Issue = -1;  // first index in each list
  };
  const TTheoryPlaces* TheoryPlaces(std::string_view text);
  std::unordered_map<std::string, TTheoryPlaces, TTextHash, std::equal_to<>> theoryIndex_;
  const TKorvelTheory* indexedTheory_ = nullptr;
  size_t indexedAssumptions_ = 0;
  size_t indexedIssues_ = 0;  // the theory's issues and those deferred

  struct TDeferredRole {
    SentencePtr Sentence;
    bool Assumption = false, Issue = false;
  };
  bool deferRoles_ = false;
  std::vector<TDeferredRole> deferredRoles_;
  TListOfKorvelSentences deferredIssues_;  // to append to the theory's issues
  size_t IssuesWithDeferred() const { return Theory->Issues.size() + deferredIssues_.size(); }
};
