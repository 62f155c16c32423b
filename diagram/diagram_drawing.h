// A drawn diagram as plain data: the elements in creation order (a later
// element paints over an earlier one and receives the mouse first where they
// overlap) and the grid-level drawing calls that produced them.
//
// Frames, bars, hit strips and strokes are the clickable shapes; their Tag is
// a diagram index (an index into the context's DrawnSentences). Frames, bars
// and strips are the rectangles that also take double clicks
// (TShapeWithDoubleClicks: frames carry their grid Row and Column); strokes
// are the straight TLine pieces of arrowheads and crosses. Labels, cycle
// marks and status icon images carry Tag 0 and take no clicks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "logic/sentence.h"

enum class TElementKind : std::uint8_t {
  Frame,        // the clickable rectangle of a sentence box
  Label,        // a sentence box's caption
  StatusIcons,  // the 32 x 16 image with the kind and status icons
  CycleMark,    // the "..." under a sentence found again below itself
  Bar,          // a visible horizontal or vertical link bar
  HitStrip,     // an invisible 5-pixel strip along a bar that takes clicks
  Stroke,       // one straight line of an arrowhead or a cross
};

// Whether elements of this kind report mouse-down (the shapes).
bool IsShapeKind(TElementKind kind);

struct TColour {
  std::uint8_t Red = 0, Green = 0, Blue = 0;
  friend bool operator==(const TColour&, const TColour&) = default;
};
inline constexpr TColour kBlack{0, 0, 0};
inline constexpr TColour kWhite{255, 255, 255};
inline constexpr TColour kJustifiedColour{0, 0, 255};
inline constexpr TColour kDefeatedColour{255, 0, 0};
inline constexpr TColour kOpenColour{0, 128, 128};

enum class TPenStyle : std::uint8_t { Solid, Dotted, Clear };
enum class TBrushStyle : std::uint8_t { Solid, Clear };
enum class TFontStyle : std::uint8_t { Regular, Bold, Italic };

// Icon indices of the status icon image list; kNoIcon leaves the place blank.
inline constexpr std::int8_t kNoIcon = -1;
inline constexpr std::int8_t kAssumptionIcon = 0;
inline constexpr std::int8_t kIssueIcon = 1;
inline constexpr std::int8_t kDefeatedIcon = 2;
inline constexpr std::int8_t kJustifiedIcon = 3;
inline constexpr std::int8_t kOpenIcon = 4;

struct TBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Right() const { return Left + Width; }    // exclusive
  int Bottom() const { return Top + Height; }   // exclusive
  bool Contains(int x, int y) const { return x >= Left && x < Right() && y >= Top && y < Bottom(); }
  friend bool operator==(const TBounds&, const TBounds&) = default;
};

struct TDiagramElement {
  TElementKind Kind = TElementKind::Frame;
  int Tag = 0;     // diagram index of shapes; 0 on labels and images
  int Row = 0;     // grid row of a frame; 0 on every other element
  int Column = 0;  // grid column of a frame; 0 on every other element
  TBounds Bounds;
  TColour PenColour = kBlack;  // also the text colour of labels
  int PenWidth = 1;
  TPenStyle PenStyle = TPenStyle::Solid;
  TColour BrushColour = kWhite;
  TBrushStyle BrushStyle = TBrushStyle::Solid;
  TFontStyle Font = TFontStyle::Regular;  // labels and cycle marks
  std::int8_t KindIcon = kNoIcon;         // status icon images
  std::int8_t StatusIcon = kNoIcon;
  int Caption = -1;  // labels and cycle marks: index into TDiagramDrawing::Captions
  int X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;  // strokes: the two end points
  friend bool operator==(const TDiagramElement&, const TDiagramElement&) = default;
};

enum class TLinkShape : std::uint8_t {
  BoxDropSupport,
  BoxDropAttack,
  BranchSupport,
  BranchAttack,
  BarDropSupport,
  BarDropAttack,
};
const char* LinkShapeName(TLinkShape shape);
bool IsBoxDrop(TLinkShape shape);
bool IsBarDrop(TLinkShape shape);

// One grid-level drawing call, in the order the layout made them.
struct TDrawCall {
  enum class TKind : std::uint8_t { Box, Cycle, Link } Kind = TKind::Box;
  SentencePtr Sentence;  // the box's sentence or the link's conditional
  int Row = 0, Column = 0, MinimumWidth = 0, Tag = -1;  // boxes and cycle marks
  TLinkShape Shape = TLinkShape::BoxDropSupport;         // links
  bool Marker = false;
  int FromColumn = 0, FromRow = 0, ToColumn = 0, ToRow = 0;
  // Its elements start here and end where the next call's start (the last
  // call's at the end of the drawing).
  std::uint32_t FirstElement = 0;
  // The marks generation it was drawn under; older than the drawing's, its
  // elements wait to be drawn again with the present marks.
  std::uint32_t Marks = 0;
};

// The options all calls of a drawing were made under, or kMixedOptions.
inline constexpr int kNoOptionsYet = -1;
inline constexpr int kMixedOptions = 4;
inline constexpr int DrawOptionsOf(bool structureOnly, bool showDialecticalNegations) {
  return (structureOnly ? 1 : 0) | (showDialecticalNegations ? 2 : 0);
}

struct TDiagramDrawing {
  std::vector<TDiagramElement> Elements;
  std::vector<std::string> Captions;
  std::vector<TDrawCall> Calls;
  int DrawnOptions = kNoOptionsYet;
  // The present marks generation, and whether some call is older (see
  // diagram_redraw.h: marks drawn when their elements are read).
  std::uint32_t Marks = 0;
  bool MarksPending = false;

  void Clear();
  // Starts recording a call: its first element and options are noted.
  TDrawCall& RecordCall(TDrawCall::TKind kind, int options);
  // The elements of call i: [first, end).
  size_t CallEnd(size_t call) const {
    return call + 1 < Calls.size() ? Calls[call + 1].FirstElement : Elements.size();
  }
  const std::string& CaptionOf(const TDiagramElement& element) const;
  // The Tag of the last shape whose top edge is at the given y; -1 when none.
  // The hit strip of a link's horizontal bar lies 9 pixels below the top of
  // the box on its row, so this finds the conditional a box is a reason of.
  int LastShapeTagAtTop(int top) const;
  // The smallest size that shows every element (0 x 0 when empty).
  int Width() const;
  int Height() const;
};
