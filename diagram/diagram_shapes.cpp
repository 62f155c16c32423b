#include "diagram/diagram_shapes.h"

#include "diagram/pages_mapped_ahead.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

// Where a call's elements go: appended to the drawing (a new drawing), or
// over the call's own elements, in the same order (new marks drawn in place).
class TElementWriter {
 public:
  explicit TElementWriter(std::vector<TDiagramElement>& elements) : elements_(elements) {}
  TElementWriter(std::vector<TDiagramElement>& elements, size_t first)
      : elements_(elements), next_(first), inPlace_(true) {}

  bool InPlace() const { return inPlace_; }
  // The element the next Add replaces (in place only).
  const TDiagramElement& Upcoming() const { return elements_[next_]; }
  TDiagramElement& Add(TElementKind kind, TBounds bounds, int tag = 0) {
    TDiagramElement& element = inPlace_ ? (elements_[next_++] = TDiagramElement{}) : elements_.emplace_back();
    element.Kind = kind;
    element.Bounds = bounds;
    element.Tag = tag;
    return element;
  }
  TDiagramElement& Last() { return inPlace_ ? elements_[next_ - 1] : elements_.back(); }

 private:
  std::vector<TDiagramElement>& elements_;
  size_t next_ = 0;
  bool inPlace_ = false;
};

int AddCaption(TDrawContext& context, std::string caption) {
  context.Drawing.Captions.push_back(std::move(caption));
  return static_cast<int>(context.Drawing.Captions.size()) - 1;
}

int PresentOptions(const TDrawContext& context) {
  return DrawOptionsOf(context.StructureOnly, context.ShowDialecticalNegations);
}

std::int8_t KindIconOf(const TKorvelSentence& sentence) {
  if (sentence.IsIssue) return kIssueIcon;
  if (sentence.IsAssumption) return kAssumptionIcon;
  return kNoIcon;
}

std::int8_t StatusIconOf(const TKorvelSentence& sentence) {
  if (sentence.IsDefeated) return kDefeatedIcon;
  if (sentence.IsJustified) return kJustifiedIcon;
  return kOpenIcon;
}

TFontStyle LabelFontOf(const TKorvelSentence& sentence) {
  return sentence.IsJustified || sentence.IsDefeated ? TFontStyle::Bold : TFontStyle::Italic;
}

// A stroke of a marker; its bounds span its two end points.
void AppendStroke(TElementWriter& out, int tag, TColour colour, int x1, int y1, int x2, int y2) {
  TBounds bounds{std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1)};
  TDiagramElement& stroke = out.Add(TElementKind::Stroke, bounds, tag);
  stroke.PenColour = colour;
  stroke.X1 = x1;
  stroke.X2 = x2;
  stroke.Y1 = y1;
  stroke.Y2 = y2;
}

}  // namespace

TColour StatusColour(const TKorvelSentence& sentence) {
  if (sentence.IsDefeated) return kDefeatedColour;
  if (sentence.IsJustified) return kJustifiedColour;
  return kOpenColour;
}

namespace {

// The theory's own sentence with the box's text, whose flags the box shows;
// null when the theory has none (the box shows its own sentence's flags).
const TKorvelSentence* TheorySentenceOf(TDrawContext& context, const SentencePtr& given) {
  // The theory's lists hold their sentences while the drawing is made.
  return context.TheorySentence(given->Text).get();
}

// The same, and the width of the label, looked up once per drawn text while
// a drawing's elements are made: a large drawing shows one text in many
// boxes, all with the drawn index of that text as their tag. The label's text
// is the tag's text; its width is kept per font, as a box whose sentence is
// not the theory's shows its own sentence's flags.
class TDrawnTexts {
 public:
  explicit TDrawnTexts(size_t drawnTexts) : texts_(drawnTexts) {}

  const TKorvelSentence* TheorySentence(TDrawContext& context, const SentencePtr& given, int tag) {
    TText* text = Of(tag);
    if (text == nullptr) return TheorySentenceOf(context, given);
    if (!text->Looked) {
      text->Sentence = TheorySentenceOf(context, given);
      text->Looked = true;
    }
    return text->Sentence;
  }

  int LabelWidth(TDrawContext& context, int tag, std::string_view caption, TFontStyle font) {
    TText* text = Of(tag);
    if (text == nullptr) return context.TextWidth(caption, font);
    int& width = text->Widths[static_cast<size_t>(font)];
    if (width < 0) width = context.TextWidth(caption, font);
    return width;
  }

 private:
  struct TText {
    const TKorvelSentence* Sentence = nullptr;
    bool Looked = false;
    std::array<int, 3> Widths{-1, -1, -1};  // per TFontStyle
  };
  std::vector<TText> texts_;

  TText* Of(int tag) {
    return tag >= 0 && static_cast<size_t>(tag) < texts_.size() ? &texts_[static_cast<size_t>(tag)] : nullptr;
  }
};

void BoxElements(TDrawContext& context, TElementWriter& out, const SentencePtr& given, int column, int row,
                 int minimumWidth, int tag, TDrawnTexts* drawnTexts = nullptr) {
  if (Is<TKorvelDialecticalNegation>(given) && !context.ShowDialecticalNegations) return;

  // The flags shown are those of the theory's own sentence with this text.
  const TKorvelSentence* sentence =
      drawnTexts ? drawnTexts->TheorySentence(context, given, tag) : TheorySentenceOf(context, given);
  if (sentence == nullptr) sentence = given.get();

  const TDiagramMetrics& m = context.Metrics;
  const bool structureOnly = context.StructureOnly;
  const int frameLeft = m.ColumnLeft(column);
  const int frameTop = m.RowTop(row);
  int iconOffset = 0;
  if (!structureOnly) {
    iconOffset = 32;
    TDiagramElement& icons = out.Add(TElementKind::StatusIcons,
                                     {frameLeft + m.LabelInset - 3, frameTop + m.LabelTopOffset - 1, 32, 16});
    icons.KindIcon = KindIconOf(*sentence);
    icons.StatusIcon = StatusIconOf(*sentence);
  }

  const TFontStyle font = structureOnly ? TFontStyle::Regular : LabelFontOf(*sentence);
  // Drawn in place, the label keeps its caption, and its width is that
  // caption's in the new font.
  int captionIndex = out.InPlace() ? out.Upcoming().Caption : -1;
  std::string caption;
  if (captionIndex < 0) caption = sentence->Text == kPlaceholderText ? std::string("   ") : sentence->Text;
  const int labelWidth =
      captionIndex >= 0 ? context.TextWidth(context.Drawing.Captions[static_cast<size_t>(captionIndex)], font)
      : drawnTexts      ? drawnTexts->LabelWidth(context, tag, caption, font)
                        : context.TextWidth(caption, font);
  TDiagramElement& label =
      out.Add(TElementKind::Label,
              {frameLeft + m.LabelInset + iconOffset, frameTop + m.LabelTopOffset, labelWidth, context.LabelHeight});
  label.Font = font;
  label.PenColour = structureOnly ? kBlack : StatusColour(*sentence);
  label.Caption = captionIndex < 0 ? AddCaption(context, std::move(caption)) : captionIndex;

  const int frameWidth = std::max(labelWidth + 2 * m.LabelInset + 1 + iconOffset, minimumWidth * m.ColumnWidth);
  TDiagramElement& frame = out.Add(TElementKind::Frame, {frameLeft, frameTop, frameWidth, m.BoxHeight}, tag);
  frame.Row = row;
  frame.Column = column;
  frame.BrushStyle = TBrushStyle::Clear;
  if (!structureOnly) {
    frame.PenColour = StatusColour(*sentence);
    if (sentence->IsAssumption) frame.PenWidth = 2;
    if (sentence->IsIssue) frame.PenWidth = 1;
  }
}

// A cycle mark carries no marks: it is never drawn again in place.
void CycleMarkElements(TDrawContext& context, TElementWriter& out, int column, int row) {
  const TDiagramMetrics& m = context.Metrics;
  const int left = m.ColumnLeft(column) + m.LabelInset + (context.StructureOnly ? 0 : 16);
  const int top = m.RowTop(row) + m.LabelTopOffset + 12;
  TDiagramElement& mark =
      out.Add(TElementKind::CycleMark, {left, top, context.TextWidth("...", TFontStyle::Regular), context.LabelHeight});
  mark.BrushStyle = TBrushStyle::Clear;
  mark.Caption = AddCaption(context, "...");
}

// Drawn in place, it leaves Metrics.LinkWidth (the last link's) as it is.
void LinkElements(TDrawContext& context, TElementWriter& out, const SentencePtr& conditional, bool withMarker,
                  TLinkShape shape, int b, int a, int d, int c, int tag) {
  TDiagramMetrics& m = context.Metrics;
  const bool structureOnly = context.StructureOnly;
  const int w = conditional->IsAssumption && !structureOnly ? 2 : 1;
  if (!out.InPlace()) m.LinkWidth = w;
  const int x = m.ColumnLeft(b) + m.LinkOffset;
  const int yBottom = m.RowTop(a) + m.BoxHeight;
  const int yFrom = m.RowTop(a) + m.HalfBoxHeight;
  const int yTo = m.RowTop(c) + m.HalfBoxHeight;
  const int horizontalLength = (d - b) * m.ColumnWidth - m.LinkOffset;
  const int strip = 2 * m.HitMargin + 1;

  // Bars carry the conditional's status: justified solid blue, defeated
  // dotted red with a clear inside, open teal on white.
  auto styleBar = [&](TDiagramElement& bar) {
    if (structureOnly) return;
    const TColour colour = StatusColour(*conditional);
    bar.PenColour = colour;
    if (conditional->IsDefeated) {
      bar.PenStyle = TPenStyle::Dotted;
      bar.BrushStyle = TBrushStyle::Clear;
    } else if (conditional->IsJustified) {
      bar.BrushColour = colour;
    }
  };
  auto appendStrip = [&](TBounds bounds) {
    TDiagramElement& hit = out.Add(TElementKind::HitStrip, bounds, tag);
    hit.PenStyle = TPenStyle::Clear;
    hit.BrushStyle = TBrushStyle::Clear;
  };

  styleBar(out.Add(TElementKind::Bar, {x, yTo - w / 2, horizontalLength, w}, tag));
  appendStrip({x, yTo - m.HitMargin, horizontalLength, strip});
  if (IsBoxDrop(shape)) {
    styleBar(out.Add(TElementKind::Bar,
                    {x - w / 2, yBottom, w, (c - a) * m.RowPitch() - m.HalfBoxHeight + (w + 1) / 2}, tag));
    appendStrip({x - m.HitMargin, yBottom, strip, (c - a) * m.RowPitch() - m.HalfBoxHeight});
  } else if (IsBarDrop(shape)) {
    styleBar(out.Add(TElementKind::Bar, {x - w / 2, yFrom, w, (c - a) * m.RowPitch() + (w + 1) / 2}, tag));
    appendStrip({x - m.HitMargin, yFrom, strip, (c - a) * m.RowPitch()});
  }
  if (!withMarker) return;

  const TColour colour = structureOnly ? kBlack : StatusColour(*conditional);
  const bool even = w == 2;
  const int e = even ? 1 : 0;
  auto stroke = [&](int x1, int y1, int x2, int y2) { AppendStroke(out, tag, colour, x1, y1, x2, y2); };
  // With 2-pixel bars the arrowhead's stroke is shifted by one pixel so that
  // it meets the thicker line; its end points stay as they are.
  auto shiftLeft = [&] { out.Last().Bounds.Left -= 1; };
  auto shiftUp = [&] { out.Last().Bounds.Top -= 1; };
  switch (shape) {
    case TLinkShape::BoxDropSupport: {
      const int px = x, py = yBottom;
      stroke(px, py, px + 5, py + 5);
      if (even) shiftLeft();
      stroke(px, py, px - 5, py + 5);
      break;
    }
    case TLinkShape::BoxDropAttack: {
      const int px = x, py = yBottom;
      stroke(px - 3, py - 4, px + 4 - e, py + 3 - e);
      stroke(px - 4, py + 3 - e, px + 4 - e, py - 5);
      break;
    }
    case TLinkShape::BranchSupport: {
      const int px = x, py = yTo;
      stroke(px + 1, py, px + 6, py + 5);
      stroke(px + 1, py, px + 6, py - 5);
      if (even) shiftUp();
      break;
    }
    case TLinkShape::BranchAttack: {
      const int px = x, py = yTo;
      stroke(px - 3, py - 3, px + 4 - e, py + 4 - e);
      stroke(px + 4 - e, py - 4, px - 4, py + 4 - e);
      break;
    }
    case TLinkShape::BarDropSupport: {
      const int px = x, py = yFrom;
      stroke(px, py + 1, px + 5, py + 6);
      if (even) shiftLeft();
      stroke(px, py + 1, px - 5, py + 6);
      break;
    }
    case TLinkShape::BarDropAttack: {
      const int px = x, py = yFrom;
      stroke(px - 3, py - 3, px + 4 - e, py + 4 - e);
      stroke(px - 4, py + 4 - e, px + 4 - e, py - 4);
      break;
    }
  }
}

}  // namespace

namespace {

// How many elements and captions a call draws under the context's options:
// what BoxElements, CycleMarkElements and LinkElements add.
struct TCallSize {
  size_t Elements = 0, Captions = 0;
};

TCallSize SizeOfCall(const TDrawContext& context, const TDrawCall& call) {
  switch (call.Kind) {
    case TDrawCall::TKind::Box:
      if (Is<TKorvelDialecticalNegation>(call.Sentence) && !context.ShowDialecticalNegations) return {};
      return {context.StructureOnly ? 2u : 3u, 1};
    case TDrawCall::TKind::Cycle:
      return {1, 1};
    case TDrawCall::TKind::Link: {
      size_t elements = 2;
      if (IsBoxDrop(call.Shape) || IsBarDrop(call.Shape)) elements += 2;
      if (call.Marker) elements += 2;
      return {elements, 0};
    }
  }
  return {};
}

void DrawElementsOfCall(TDrawContext& context, TElementWriter& out, const TDrawCall& call,
                        TDrawnTexts* drawnTexts = nullptr) {
  switch (call.Kind) {
    case TDrawCall::TKind::Box:
      BoxElements(context, out, call.Sentence, call.Column, call.Row, call.MinimumWidth, call.Tag, drawnTexts);
      break;
    case TDrawCall::TKind::Cycle:
      CycleMarkElements(context, out, call.Column, call.Row);
      break;
    case TDrawCall::TKind::Link:
      LinkElements(context, out, call.Sentence, call.Marker, call.Shape, call.FromColumn, call.FromRow, call.ToColumn,
                   call.ToRow, call.Tag);
      break;
  }
}

}  // namespace

void DrawRecordedElements(TDrawContext& context, size_t firstCall) {
  TDiagramDrawing& drawing = context.Drawing;
  TCallSize total{drawing.Elements.size(), drawing.Captions.size()};
  for (size_t i = firstCall; i < drawing.Calls.size(); ++i) {
    const TCallSize size = SizeOfCall(context, drawing.Calls[i]);
    total.Elements += size.Elements;
    total.Captions += size.Captions;
  }
  drawing.Elements.reserve(total.Elements);
  drawing.Captions.reserve(total.Captions);
  // The elements still to come fill the vector from here to its end.
  std::vector<TDiagramElement>& elements = drawing.Elements;
  const TPagesMappedAhead mapping(elements.data() + elements.size(),
                                  (elements.capacity() - elements.size()) * sizeof(TDiagramElement));
  TElementWriter out(drawing.Elements);
  TDrawnTexts drawnTexts(context.DrawnSentences.size());
  for (size_t i = firstCall; i < drawing.Calls.size(); ++i) {
    TDrawCall& call = drawing.Calls[i];
    call.FirstElement = static_cast<std::uint32_t>(drawing.Elements.size());
    call.Marks = drawing.Marks;
    DrawElementsOfCall(context, out, call, &drawnTexts);
  }
}

void DrawSentenceBox(TDrawContext& context, const SentencePtr& given, int column, int row, int minimumWidth) {
  DrawSentenceBox(context, given, column, row, minimumWidth, context.DrawnIndexOfText(given->Text));
}

void DrawSentenceBox(TDrawContext& context, const SentencePtr& given, int column, int row, int minimumWidth,
                     int drawnIndex) {
  TDrawCall& call = context.Drawing.RecordCall(TDrawCall::TKind::Box, PresentOptions(context));
  call.Sentence = given;
  call.Row = row;
  call.Column = column;
  call.MinimumWidth = minimumWidth;
  call.Tag = drawnIndex;
  if (context.RecordCallsOnly) return;
  TElementWriter out(context.Drawing.Elements);
  BoxElements(context, out, given, column, row, minimumWidth, call.Tag);
}

void DrawCycleMark(TDrawContext& context, int column, int row) {
  TDrawCall& call = context.Drawing.RecordCall(TDrawCall::TKind::Cycle, PresentOptions(context));
  call.Row = row;
  call.Column = column;
  if (context.RecordCallsOnly) return;
  TElementWriter out(context.Drawing.Elements);
  CycleMarkElements(context, out, column, row);
}

void DrawLink(TDrawContext& context, const SentencePtr& conditional, bool withMarker, TLinkShape shape, int b,
              int a, int d, int c) {
  DrawLink(context, conditional, withMarker, shape, b, a, d, c, context.DrawnIndexOfText(conditional->Text));
}

void DrawLink(TDrawContext& context, const SentencePtr& conditional, bool withMarker, TLinkShape shape, int b,
              int a, int d, int c, int tag) {
  TDrawCall& call = context.Drawing.RecordCall(TDrawCall::TKind::Link, PresentOptions(context));
  call.Sentence = conditional;
  call.Tag = tag;
  call.Shape = shape;
  call.Marker = withMarker;
  call.FromColumn = b;
  call.FromRow = a;
  call.ToColumn = d;
  call.ToRow = c;
  if (context.RecordCallsOnly) return;
  TElementWriter out(context.Drawing.Elements);
  LinkElements(context, out, conditional, withMarker, shape, b, a, d, c, tag);
}

void DrawCallInPlace(TDrawContext& context, size_t index) {
  TDrawCall& call = context.Drawing.Calls[index];
  call.Marks = context.Drawing.Marks;
  // A cycle mark is the same "..." whatever the marks.
  if (call.Kind == TDrawCall::TKind::Cycle) return;
  TElementWriter out(context.Drawing.Elements, call.FirstElement);
  DrawElementsOfCall(context, out, call);
}
