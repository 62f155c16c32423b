// Pixel geometry of sentence boxes, links and cycle marks, with their colours
// and the flags they show.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "diagram/diagram_shapes.h"
#include "tests/diagram/diagram_test_theory.h"

namespace {

// Labels measured as 7 pixels per byte, so widths are easy to predict.
TDrawContext MeasuringContext() {
  TDrawContext context;
  context.TextWidth = [](std::string_view text, TFontStyle) { return static_cast<int>(text.size()) * 7; };
  return context;
}

SentencePtr Statement(const char* text, bool assumption, bool justified, bool defeated) {
  SentencePtr s = MakeElementarySentence(text);
  s->IsAssumption = assumption;
  s->IsIssue = !assumption;
  s->IsJustified = justified;
  s->IsDefeated = defeated;
  return s;
}

SentencePtr Conditional(bool assumption, bool justified, bool defeated) {
  auto c = std::make_shared<TKorvelConditional>();
  c->Antecedents.push_back(MakeElementarySentence("p"));
  c->Consequent = MakeElementarySentence("s");
  RebuildText(*c);
  c->IsAssumption = assumption;
  c->IsIssue = !assumption;
  c->IsJustified = justified;
  c->IsDefeated = defeated;
  return c;
}

}  // namespace

TEST(BoxGeometry, BoxWithIconsAtTheFirstCell) {
  TDrawContext context = MeasuringContext();
  DrawSentenceBox(context, Statement("abc", true, true, false), 0, 0, 0);
  ASSERT_EQ(context.Drawing.Elements.size(), 3u);
  const TDiagramElement& icons = context.Drawing.Elements[0];
  const TDiagramElement& label = context.Drawing.Elements[1];
  const TDiagramElement& frame = context.Drawing.Elements[2];
  EXPECT_EQ(icons.Kind, TElementKind::StatusIcons);
  EXPECT_EQ(icons.Bounds, (TBounds{4, 5, 32, 16}));
  EXPECT_EQ(label.Bounds.Left, 39);
  EXPECT_EQ(label.Bounds.Top, 6);
  EXPECT_EQ(context.Drawing.CaptionOf(label), "abc");
  EXPECT_EQ(frame.Kind, TElementKind::Frame);
  EXPECT_EQ(frame.Bounds, (TBounds{2, 2, 21 + 43, 22}));
  EXPECT_EQ(frame.Tag, -1);  // not registered: no diagram index
}

TEST(BoxGeometry, CellsFollowTheGrid) {
  TDrawContext context = MeasuringContext();
  DrawSentenceBox(context, Statement("abc", false, false, false), 1, 1, 0);
  const TDiagramElement& frame = context.Drawing.Elements.back();
  EXPECT_EQ(frame.Bounds.Left, 20);
  EXPECT_EQ(frame.Bounds.Top, 32);
  EXPECT_EQ(frame.Row, 1);
  EXPECT_EQ(frame.Column, 1);
  DrawSentenceBox(context, Statement("abc", false, false, false), 4, 10, 0);
  EXPECT_EQ(context.Drawing.Elements.back().Bounds, (TBounds{2 + 72, 2 + 300, 64, 22}));
}

TEST(BoxGeometry, StructureOnlyHasNoIconsAndIsBlack) {
  TDrawContext context = MeasuringContext();
  context.StructureOnly = true;
  DrawSentenceBox(context, Statement("abc", true, true, false), 0, 0, 0);
  ASSERT_EQ(context.Drawing.Elements.size(), 2u);
  const TDiagramElement& label = context.Drawing.Elements[0];
  const TDiagramElement& frame = context.Drawing.Elements[1];
  EXPECT_EQ(label.Bounds.Left, 7);
  EXPECT_EQ(label.Font, TFontStyle::Regular);
  EXPECT_EQ(label.PenColour, kBlack);
  EXPECT_EQ(frame.Bounds.Width, 21 + 11);
  EXPECT_EQ(frame.PenColour, kBlack);
  EXPECT_EQ(frame.PenWidth, 1);
}

TEST(BoxGeometry, MinimumWidthMakesRoomForTheLinksBelow) {
  TDrawContext context = MeasuringContext();
  DrawSentenceBox(context, Statement("a", false, false, false), 0, 0, 3);
  EXPECT_EQ(context.Drawing.Elements.back().Bounds.Width, 54);
  DrawSentenceBox(context, Statement("a long text", false, false, false), 0, 1, 3);
  EXPECT_EQ(context.Drawing.Elements.back().Bounds.Width, 77 + 43);
}

TEST(BoxGeometry, PlaceholderShowsThreeBlanks) {
  TDrawContext context = MeasuringContext();
  DrawSentenceBox(context, Statement(std::string(kPlaceholderText).c_str(), true, false, false), 0, 0, 0);
  const TDiagramElement& label = context.Drawing.Elements[1];
  EXPECT_EQ(context.Drawing.CaptionOf(label), "   ");
  EXPECT_EQ(context.Drawing.Elements[2].Bounds.Width, 21 + 43);
}

TEST(BoxGeometry, StatusDecidesColourFontPenAndIcons) {
  struct TCase {
    bool Assumption, Justified, Defeated;
    TColour Colour;
    TFontStyle Font;
    int PenWidth;
    std::int8_t KindIcon, StatusIcon;
  };
  const TCase cases[] = {
      {true, true, false, kJustifiedColour, TFontStyle::Bold, 2, kAssumptionIcon, kJustifiedIcon},
      {false, false, true, kDefeatedColour, TFontStyle::Bold, 1, kIssueIcon, kDefeatedIcon},
      {false, false, false, kOpenColour, TFontStyle::Italic, 1, kIssueIcon, kOpenIcon},
      {true, true, true, kDefeatedColour, TFontStyle::Bold, 2, kAssumptionIcon, kDefeatedIcon},
  };
  for (const TCase& c : cases) {
    TDrawContext context = MeasuringContext();
    DrawSentenceBox(context, Statement("s", c.Assumption, c.Justified, c.Defeated), 0, 0, 0);
    const auto& e = context.Drawing.Elements;
    EXPECT_EQ(e[0].KindIcon, c.KindIcon);
    EXPECT_EQ(e[0].StatusIcon, c.StatusIcon);
    EXPECT_EQ(e[1].PenColour, c.Colour);
    EXPECT_EQ(e[1].Font, c.Font);
    EXPECT_EQ(e[2].PenColour, c.Colour);
    EXPECT_EQ(e[2].PenWidth, c.PenWidth);
    EXPECT_EQ(e[2].BrushStyle, TBrushStyle::Clear);
  }
}

TEST(BoxGeometry, SentenceWithoutRoleHasNoKindIcon) {
  TDrawContext context = MeasuringContext();
  SentencePtr s = MakeElementarySentence("s");
  DrawSentenceBox(context, s, 0, 0, 0);
  EXPECT_EQ(context.Drawing.Elements[0].KindIcon, kNoIcon);
  EXPECT_EQ(context.Drawing.Elements[0].StatusIcon, kOpenIcon);
}

TEST(BoxGeometry, TheTheorysSentenceGivesTheFlagsShown) {
  TKorvelTheory theory;
  theory.Issues.push_back(Statement("s", false, true, false));
  TDrawContext context = MeasuringContext();
  context.Theory = &theory;
  DrawSentenceBox(context, Statement("s", true, false, true), 0, 0, 0);
  EXPECT_EQ(context.Drawing.Elements[0].KindIcon, kIssueIcon);
  EXPECT_EQ(context.Drawing.Elements[2].PenColour, kJustifiedColour);
  EXPECT_EQ(context.Drawing.Elements[2].PenWidth, 1);
}

TEST(CycleMarkGeometry, LiesUnderTheLabelAndMovesLeftInStructureOnlyMode) {
  TDrawContext context = MeasuringContext();
  DrawCycleMark(context, 2, 3);
  const TDiagramElement& mark = context.Drawing.Elements.back();
  EXPECT_EQ(mark.Kind, TElementKind::CycleMark);
  EXPECT_EQ(mark.Bounds.Left, 2 + 36 + 5 + 16);
  EXPECT_EQ(mark.Bounds.Top, 2 + 90 + 4 + 12);
  EXPECT_EQ(context.Drawing.CaptionOf(mark), "...");
  context.StructureOnly = true;
  DrawCycleMark(context, 2, 3);
  EXPECT_EQ(context.Drawing.Elements.back().Bounds.Left, 2 + 36 + 5);
}

TEST(LinkGeometry, ThickBoxDropSupportMatchesTheWorkedNumbers) {
  TDrawContext context;
  SentencePtr c = Conditional(true, true, false);
  context.Register(c);
  DrawLink(context, c, true, TLinkShape::BoxDropSupport, 0, 0, 1, 1);
  const auto& e = context.Drawing.Elements;
  ASSERT_EQ(e.size(), 6u);
  EXPECT_EQ(context.Metrics.LinkWidth, 2);
  EXPECT_EQ(e[0].Kind, TElementKind::Bar);
  EXPECT_EQ(e[0].Bounds, (TBounds{9, 42, 11, 2}));
  EXPECT_EQ(e[1].Kind, TElementKind::HitStrip);
  EXPECT_EQ(e[1].Bounds, (TBounds{9, 41, 11, 5}));
  EXPECT_EQ(e[2].Bounds, (TBounds{8, 24, 2, 20}));
  EXPECT_EQ(e[3].Bounds, (TBounds{7, 24, 5, 19}));
  EXPECT_EQ(e[4].Kind, TElementKind::Stroke);
  EXPECT_EQ(e[4].Bounds, (TBounds{8, 24, 5, 5}));
  EXPECT_EQ((std::array{e[4].X1, e[4].Y1, e[4].X2, e[4].Y2}), (std::array{9, 24, 14, 29}));
  EXPECT_EQ(e[5].Bounds, (TBounds{4, 24, 5, 5}));
  EXPECT_EQ((std::array{e[5].X1, e[5].Y1, e[5].X2, e[5].Y2}), (std::array{9, 24, 4, 29}));
  for (const TDiagramElement& element : e) EXPECT_EQ(element.Tag, 0);
  EXPECT_EQ(e[1].PenStyle, TPenStyle::Clear);
  EXPECT_EQ(e[1].BrushStyle, TBrushStyle::Clear);
  // The hit strip lies 9 pixels below the top of the box on the to row.
  EXPECT_EQ(e[1].Bounds.Top, context.Metrics.RowTop(1) + 9);
}

TEST(LinkGeometry, ThinBarsAndTheirColours) {
  struct TCase {
    bool Assumption, Justified, Defeated;
    TColour Pen;
    TPenStyle Style;
    TBrushStyle Brush;
    TColour BrushColour;
  };
  const TCase cases[] = {
      {false, true, false, kJustifiedColour, TPenStyle::Solid, TBrushStyle::Solid, kJustifiedColour},
      {false, false, true, kDefeatedColour, TPenStyle::Dotted, TBrushStyle::Clear, kWhite},
      {false, false, false, kOpenColour, TPenStyle::Solid, TBrushStyle::Solid, kWhite},
  };
  for (const TCase& c : cases) {
    TDrawContext context;
    DrawLink(context, Conditional(c.Assumption, c.Justified, c.Defeated), true, TLinkShape::BoxDropAttack, 0, 0, 1, 2);
    const auto& e = context.Drawing.Elements;
    EXPECT_EQ(e[0].Bounds, (TBounds{9, 2 + 60 + 11, 11, 1}));          // top at yTo
    EXPECT_EQ(e[2].Bounds, (TBounds{9, 24, 1, 60 - 11 + 1}));
    EXPECT_EQ(e[3].Bounds, (TBounds{7, 24, 5, 60 - 11}));
    for (int bar : {0, 2}) {
      EXPECT_EQ(e[static_cast<size_t>(bar)].PenColour, c.Pen);
      EXPECT_EQ(e[static_cast<size_t>(bar)].PenStyle, c.Style);
      EXPECT_EQ(e[static_cast<size_t>(bar)].BrushStyle, c.Brush);
      if (c.Brush == TBrushStyle::Solid) {
        EXPECT_EQ(e[static_cast<size_t>(bar)].BrushColour, c.BrushColour);
      }
    }
    EXPECT_EQ(e[4].PenColour, c.Pen);
    EXPECT_EQ(e[5].PenColour, c.Pen);
  }
}

TEST(LinkGeometry, MarkersOfEveryShapeThinAndThick) {
  // Reference points: x = 9 (column 0), yBottom = 24, yFrom = 13, yTo = 43 (row 1).
  struct TCase {
    TLinkShape Shape;
    bool Thick;
    std::array<int, 4> First, Second;  // X1 Y1 X2 Y2
    TBounds FirstBounds, SecondBounds;
  };
  const TCase cases[] = {
      {TLinkShape::BoxDropAttack, false, {6, 20, 13, 27}, {5, 27, 13, 19}, {6, 20, 7, 7}, {5, 19, 8, 8}},
      {TLinkShape::BoxDropAttack, true, {6, 20, 12, 26}, {5, 26, 12, 19}, {6, 20, 6, 6}, {5, 19, 7, 7}},
      {TLinkShape::BranchSupport, false, {10, 43, 15, 48}, {10, 43, 15, 38}, {10, 43, 5, 5}, {10, 38, 5, 5}},
      {TLinkShape::BranchSupport, true, {10, 43, 15, 48}, {10, 43, 15, 38}, {10, 43, 5, 5}, {10, 37, 5, 5}},
      {TLinkShape::BranchAttack, true, {6, 40, 12, 46}, {12, 39, 5, 46}, {6, 40, 6, 6}, {5, 39, 7, 7}},
      {TLinkShape::BarDropSupport, true, {9, 14, 14, 19}, {9, 14, 4, 19}, {8, 14, 5, 5}, {4, 14, 5, 5}},
      {TLinkShape::BarDropAttack, false, {6, 10, 13, 17}, {5, 17, 13, 9}, {6, 10, 7, 7}, {5, 9, 8, 8}},
      {TLinkShape::BarDropAttack, true, {6, 10, 12, 16}, {5, 16, 12, 9}, {6, 10, 6, 6}, {5, 9, 7, 7}},
  };
  for (const TCase& c : cases) {
    TDrawContext context;
    DrawLink(context, Conditional(c.Thick, false, false), true, c.Shape, 0, 0, 2, 1);
    const auto& e = context.Drawing.Elements;
    const size_t first = e.size() - 2;
    SCOPED_TRACE(std::string(LinkShapeName(c.Shape)) + (c.Thick ? " thick" : " thin"));
    EXPECT_EQ((std::array{e[first].X1, e[first].Y1, e[first].X2, e[first].Y2}), c.First);
    EXPECT_EQ((std::array{e[first + 1].X1, e[first + 1].Y1, e[first + 1].X2, e[first + 1].Y2}), c.Second);
    EXPECT_EQ(e[first].Bounds, c.FirstBounds);
    EXPECT_EQ(e[first + 1].Bounds, c.SecondBounds);
    const size_t pieces = IsBoxDrop(c.Shape) || IsBarDrop(c.Shape) ? 6u : 4u;
    EXPECT_EQ(e.size(), pieces);
  }
}

TEST(LinkGeometry, BarDropLineStartsOnTheBranchBar) {
  TDrawContext context;
  DrawLink(context, Conditional(false, false, false), false, TLinkShape::BarDropSupport, 1, 2, 2, 4);
  const auto& e = context.Drawing.Elements;
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[2].Bounds, (TBounds{2 + 18 + 7, 2 + 60 + 11, 1, 60 + 1}));
  EXPECT_EQ(e[3].Bounds, (TBounds{2 + 18 + 7 - 2, 2 + 60 + 11, 5, 60}));
  // The horizontal bar ends at the left edge of the to column.
  EXPECT_EQ(e[0].Bounds.Right(), context.Metrics.ColumnLeft(2));
}

TEST(LinkGeometry, StructureOnlyLinksAreThinAndBlack) {
  TDrawContext context;
  context.StructureOnly = true;
  DrawLink(context, Conditional(true, false, true), true, TLinkShape::BoxDropSupport, 0, 0, 1, 1);
  EXPECT_EQ(context.Metrics.LinkWidth, 1);
  for (const TDiagramElement& element : context.Drawing.Elements) {
    if (element.Kind == TElementKind::HitStrip) continue;
    EXPECT_EQ(element.PenColour, kBlack);
    EXPECT_EQ(element.PenStyle, TPenStyle::Solid);
  }
  EXPECT_EQ(context.Drawing.Elements[0].Bounds.Height, 1);
}

// Every label is as wide as its caption in its own font, however often its
// text is drawn and whatever status it shows.
TEST(BoxGeometry, EveryLabelIsAsWideAsItsCaptionInItsFont) {
  TTestTheory theory({"if(pp, s)", "if(pp, ttt)", "if(x(qqqq), x(pp))", "qqqq"}, {"s", "ttt"});
  theory.Theory.Issues[0]->IsJustified = true;
  theory.Theory.Assumptions[3]->IsDefeated = true;
  TDrawContext context;
  context.TextWidth = [](std::string_view text, TFontStyle font) {
    return static_cast<int>(text.size()) * 7 + 100 * static_cast<int>(font);
  };
  theory.Layout(context);
  std::set<TFontStyle> fonts;
  for (const TDiagramElement& label : ElementsOf(context, TElementKind::Label)) {
    const std::string& caption = context.Drawing.Captions[static_cast<size_t>(label.Caption)];
    EXPECT_EQ(label.Bounds.Width, context.TextWidth(caption, label.Font)) << caption;
    fonts.insert(label.Font);
  }
  EXPECT_EQ(fonts.size(), 2u);  // italic for open, bold for the rest
}
