// The diagram surface and the legend driven as real widgets: what a press
// meets, double clicks, hidden elements, the pixels painted, and the samples
// of the legend window.
#include <algorithm>

#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "diagram/diagram_shapes.h"
#include "diagram_qt/diagram_painter.h"
#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/draw_form.h"
#include "diagram_qt/legend_form.h"
#include "diagram_qt/status_icons.h"
#include "tests/diagram/diagram_test_theory.h"

namespace {

int FirstElement(const TDiagramDrawing& drawing, TElementKind kind, int tag) {
  for (size_t i = 0; i < drawing.Elements.size(); ++i)
    if (drawing.Elements[i].Kind == kind && drawing.Elements[i].Tag == tag) return static_cast<int>(i);
  return -1;
}

QPoint Centre(const TBounds& b) { return QPoint(b.Left + b.Width / 2, b.Top + b.Height / 2); }

TDiagramHit LastHit(const QSignalSpy& spy) { return spy.last().at(0).value<TDiagramHit>(); }

}  // namespace

class TDiagramSurfaceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qRegisterMetaType<TDiagramHit>(); }

  void pressesReportTheTopmostShape() {
    TTestTheory theory({"if(p, s)"}, {"s"});
    TDiagramScrollBox box;
    box.resize(400, 300);
    TDiagramSurface* surface = box.Surface();
    surface->Context().Theory = &theory.Theory;
    surface->DrawArguments(theory.All);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy downs(surface, &TDiagramSurface::mouseDown);

    // The frame of s, on top of its label and icons.
    const TDiagramDrawing& drawing = surface->Drawing();
    const int frame = FirstElement(drawing, TElementKind::Frame, 0);
    QTest::mouseClick(surface, Qt::LeftButton, {}, Centre(drawing.Elements[static_cast<size_t>(frame)].Bounds));
    QCOMPARE(downs.count(), 1);
    TDiagramHit hit = LastHit(downs);
    QCOMPARE(hit.Element, frame);
    QCOMPARE(hit.Kind, TElementKind::Frame);
    QCOMPARE(hit.Tag, 0);
    QCOMPARE(hit.Row, 0);
    QCOMPARE(hit.Button, Qt::LeftButton);

    // Beside the vertical bar of if(p, s): its hit strip, created after it.
    QTest::mouseClick(surface, Qt::RightButton, {}, QPoint(8, 40));
    hit = LastHit(downs);
    QCOMPARE(hit.Kind, TElementKind::HitStrip);
    QCOMPARE(hit.Tag, 1);
    QCOMPARE(hit.Button, Qt::RightButton);

    // The arrowhead's stroke lies over the strip.
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(10, 26));
    QCOMPARE(LastHit(downs).Kind, TElementKind::Stroke);
    QCOMPARE(LastHit(downs).Tag, 1);

    // Far from everything: the empty surface.
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(300, 250));
    hit = LastHit(downs);
    QVERIFY(hit.IsSurface());
    QCOMPARE(hit.Tag, -1);
    QCOMPARE(hit.Position, QPoint(300, 250));
  }

  void doubleClicksOpenOnFramesAndTheSurfaceOnly() {
    TTestTheory theory({"if(p, s)"}, {"s"});
    TDiagramSurface surface;
    surface.resize(300, 200);
    surface.Context().Theory = &theory.Theory;
    surface.DrawArguments(theory.All);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    QSignalSpy doubles(&surface, &TDiagramSurface::doubleClicked);
    QSignalSpy downs(&surface, &TDiagramSurface::mouseDown);

    const TDiagramDrawing& drawing = surface.Drawing();
    const QPoint onFrame = Centre(drawing.Elements[static_cast<size_t>(FirstElement(drawing, TElementKind::Frame, 0))].Bounds);
    QTest::mouseDClick(&surface, Qt::LeftButton, {}, onFrame);
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(LastHit(doubles).Tag, 0);

    QTest::mouseDClick(&surface, Qt::LeftButton, {}, QPoint(250, 150));
    QCOMPARE(doubles.count(), 2);
    QVERIFY(LastHit(doubles).IsSurface());

    const int downsBefore = static_cast<int>(downs.count());
    QTest::mouseDClick(&surface, Qt::LeftButton, {}, QPoint(8, 40));
    QCOMPARE(doubles.count(), 2);
    QVERIFY(downs.count() > downsBefore);
    QCOMPARE(LastHit(downs).Kind, TElementKind::HitStrip);
  }

  void hiddenFrameLetsThePressThrough() {
    TTestTheory theory({}, {"s"});
    TDiagramSurface surface;
    surface.DrawArguments(theory.All);
    const int frame = FirstElement(surface.Drawing(), TElementKind::Frame, 0);
    const QPoint centre = Centre(surface.Drawing().Elements[static_cast<size_t>(frame)].Bounds);
    QCOMPARE(surface.ShapeAt(centre), frame);
    surface.SetElementHidden(frame, true);
    QVERIFY(surface.IsElementHidden(frame));
    QCOMPARE(surface.ShapeAt(centre), -1);
    surface.DrawArguments(theory.All);
    QCOMPARE(surface.ShapeAt(centre), frame);
  }

  void surfaceGrowsWithTheDrawing() {
    TListOfKorvelSentences many;
    for (int i = 0; i < 200; ++i) many.push_back(MakeElementarySentence("statement " + std::to_string(i)));
    TDiagramScrollBox box;
    box.resize(300, 200);
    box.Surface()->DrawArguments(many);
    QCOMPARE(box.Surface()->Context().RowsUsed, 200);
    QVERIFY(box.Surface()->minimumHeight() >= 2 + 200 * 30 - 8);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.verticalScrollBar()->maximum() > 200 * 30 - 300);
    QVERIFY(box.Surface()->height() >= box.Surface()->Drawing().Height());
    box.Surface()->ClearDrawing();
    QCOMPARE(box.Surface()->minimumHeight(), 2);
    QVERIFY(box.Surface()->Context().DrawnSentences.empty());
  }

  void theHighlightFollowsTheDrawingAndTheSelection() {
    // Found at the first look after either changed: every ring names an
    // element of the drawing shown, with the selected index.
    TTestTheory theory({"if(p, s)"}, {"s"});
    TDiagramScrollBox box;
    TDiagramSurface* surface = box.Surface();
    surface->Context().Theory = &theory.Theory;
    surface->DrawArguments(theory.All);
    auto ringsTheSelection = [surface] {
      const std::vector<int>& rings = surface->HighlightedElements();
      const auto& elements = surface->Drawing().Elements;
      return !rings.empty() && std::all_of(rings.begin(), rings.end(), [&](int e) {
        return static_cast<size_t>(e) < elements.size() &&
               elements[static_cast<size_t>(e)].Tag == surface->SelectedTag();
      });
    };
    const int frameOfS = FirstElement(surface->Drawing(), TElementKind::Frame, 0);
    surface->SetSelectedTag(0);
    QCOMPARE(surface->HighlightedElements(), std::vector<int>{frameOfS});
    // Another drawing under the same selection: its own elements, not the old places.
    TListOfKorvelSentences many;
    for (int i = 0; i < 5; ++i) many.push_back(MakeElementarySentence("statement " + std::to_string(i)));
    surface->Context().Theory = nullptr;
    surface->Context().StructureOnly = true;
    surface->DrawArguments(many);
    QVERIFY(ringsTheSelection());
    QVERIFY(surface->HighlightedElements() != std::vector<int>{frameOfS});
    surface->SetSelectedTag(3);
    QVERIFY(ringsTheSelection());
    surface->ClearDrawing();
    QVERIFY(surface->HighlightedElements().empty());
    surface->SetSelectedTag(-1);
    QVERIFY(surface->HighlightedElements().empty());
  }

  void paintsStatusColoursIconsAndStrokes() {
    TKorvelTheory theory;
    SentencePtr s = MakeElementarySentence("s");
    s->IsAssumption = true;
    s->IsJustified = true;
    auto c = std::make_shared<TKorvelConditional>();
    c->Antecedents.push_back(MakeElementarySentence("p"));
    c->Consequent = s;
    RebuildText(*c);
    c->IsIssue = true;
    c->IsDefeated = true;
    TDiagramSurface surface;
    surface.resize(200, 100);
    TDrawContext& context = surface.Context();
    context.Register(s);
    context.Register(c);
    DrawSentenceBox(context, s, 0, 0, 0);
    DrawLink(context, c, true, TLinkShape::BoxDropSupport, 0, 0, 1, 2);
    surface.DrawingChanged();
    const QImage image = surface.grab().toImage();

    const QColor blue(0, 0, 255), red(255, 0, 0), white(255, 255, 255);
    // Frame of a justified assumption: blue, two pixels thick, clear inside.
    QCOMPARE(image.pixelColor(2, 12), blue);
    QCOMPARE(image.pixelColor(3, 12), blue);
    QCOMPARE(image.pixelColor(4, 12).rgb() == blue.rgb(), false);
    // Icons: the exclamation mark's stem is black, the plus sign green.
    QCOMPARE(image.pixelColor(4 + 7, 5 + 4), QColor(0, 0, 0));
    QCOMPARE(image.pixelColor(4 + 16 + 7, 5 + 7), QColor(0, 127, 0));
    // The defeated link's vertical bar is dotted red: every other pixel.
    const int barX = 9;
    int redPixels = 0, whitePixels = 0;
    for (int y = 40; y < 60; ++y) {
      if (image.pixelColor(barX, y) == red) ++redPixels;
      if (image.pixelColor(barX, y) == white) ++whitePixels;
    }
    QCOMPARE(redPixels, 10);
    QCOMPARE(whitePixels, 10);
  }

  void strokeRunsBetweenOppositeCornersWithoutItsLastPoint() {
    TDiagramElement stroke;
    stroke.Kind = TElementKind::Stroke;
    stroke.X1 = 10;
    stroke.Y1 = 20;
    stroke.X2 = 5;
    stroke.Y2 = 25;
    stroke.Bounds = {5, 20, 5, 5};
    const std::vector<QPoint> up = StrokePixels(stroke);
    QCOMPARE(up, (std::vector<QPoint>{{5, 25}, {6, 24}, {7, 23}, {8, 22}, {9, 21}}));
    stroke.X2 = 15;  // both coordinates grow: top-left to bottom-right
    stroke.Bounds = {10, 20, 5, 5};
    QCOMPARE(StrokePixels(stroke), (std::vector<QPoint>{{10, 20}, {11, 21}, {12, 22}, {13, 23}, {14, 24}}));
  }

  void statusIconsAreSixteenSquareOnWhite() {
    for (int i = 0; i < kStatusIconCount; ++i) {
      const QImage& icon = StatusIcon(i);
      QCOMPARE(icon.size(), QSize(16, 16));
      QCOMPARE(icon.pixelColor(0, 0), QColor(255, 255, 255));
      int drawn = 0;
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) drawn += icon.pixelColor(x, y) != QColor(255, 255, 255) ? 1 : 0;
      QVERIFY2(drawn > 4, qPrintable(QString("icon %1 is blank").arg(i)));
    }
    QVERIFY(StatusIcon(8).isNull());
    QCOMPARE(StatusIcon(2).pixelColor(8, 8), QColor(255, 0, 0));
    QCOMPARE(StatusIcon(4).pixelColor(8, 8), QColor(255, 255, 255));  // a ring, hollow
  }

  void legendShowsEightSamplesThatStay() {
    TLegendForm legend;
    QCOMPARE(legend.windowTitle(), QString("Legend"));
    const TDiagramDrawing& drawing = legend.ScrollBox1->Surface()->Drawing();
    std::vector<int> rows;
    for (size_t i = 0; i < drawing.Elements.size(); ++i) {
      const TDiagramElement& frame = drawing.Elements[i];
      if (frame.Kind != TElementKind::Frame) continue;
      rows.push_back(frame.Row);
      QCOMPARE(frame.Column, 0);
      QCOMPARE(frame.Tag, -1);
      const TDiagramElement& label = drawing.Elements[i - 1];
      QCOMPARE(label.Kind, TElementKind::Label);
      QCOMPARE(frame.Bounds.Width, label.Bounds.Width + 43);
    }
    QCOMPARE(rows, (std::vector<int>{0, 1, 3, 4, 5, 7, 8, 9}));
    // Row 0 is a justified assumption, row 1 an open issue, row 4 a defeated issue.
    auto frameAt = [&](int row) {
      for (const TDiagramElement& e : drawing.Elements)
        if (e.Kind == TElementKind::Frame && e.Row == row) return e;
      return TDiagramElement{};
    };
    QCOMPARE(frameAt(0).PenColour, kJustifiedColour);
    QCOMPARE(frameAt(0).PenWidth, 2);
    QCOMPARE(frameAt(1).PenColour, kOpenColour);
    QCOMPARE(frameAt(1).PenWidth, 1);
    QCOMPARE(frameAt(4).PenColour, kDefeatedColour);
    QCOMPARE(frameAt(9).PenWidth, 2);

    legend.show();
    QVERIFY(QTest::qWaitForWindowExposed(&legend));
    const size_t elements = drawing.Elements.size();
    QTest::mouseClick(legend.Button1, Qt::LeftButton);
    QVERIFY(!legend.isVisible());
    legend.show();
    QCOMPARE(legend.ScrollBox1->Surface()->Drawing().Elements.size(), elements);
  }

  // New marks are drawn where they are painted or hit, exactly as a new
  // layout draws them there, while boxes elsewhere wait; a label's font, and
  // so its frame's width, changes with the marks. The rest follows while the
  // window is idle, with the surface's size.
  void marksAreDrawnWhereTheyArePaintedOrHit() {
    std::vector<std::string> texts;
    for (int i = 0; i < 40; ++i) texts.push_back("statement " + std::to_string(i));
    texts.back() += " is the longest of them all";
    std::vector<const char*> issues;
    for (const std::string& text : texts) issues.push_back(text.c_str());
    TTestTheory theory({"if(p, statement 3)", "p"}, issues);
    auto markAll = [&](bool justified) {
      for (const SentencePtr& sentence : theory.All) {
        sentence->IsJustified = justified;
        sentence->IsDefeated = false;
      }
    };
    // Bold twice as wide as italic.
    auto width = [](std::string_view text, TFontStyle style) {
      return static_cast<int>(text.size()) * (style == TFontStyle::Bold ? 12 : 6);
    };
    TDiagramScrollBox box;
    box.resize(400, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    TDiagramSurface* surface = box.Surface();
    TDrawContext& context = surface->Context();
    context.TextWidth = width;
    context.Theory = &theory.Theory;
    markAll(true);
    surface->DrawArguments(theory.All);
    auto fresh = [&] {
      auto laidOut = std::make_unique<TDrawContext>();
      laidOut->TextWidth = width;
      laidOut->LabelHeight = context.LabelHeight;
      laidOut->Metrics = context.Metrics;
      laidOut->Theory = &theory.Theory;
      DrawArguments(*laidOut, theory.All, 0, 0);
      return laidOut;
    };
    const auto frameOf = [&](const TDiagramDrawing& drawing, const char* text) {
      return FirstElement(drawing, TElementKind::Frame, context.DrawnIndexOfText(text));
    };
    const auto& elements = context.Drawing.Elements;
    const int five = frameOf(context.Drawing, "statement 5");
    const TBounds wide = elements[static_cast<size_t>(five)].Bounds;
    const int wideSurface = surface->minimumWidth();

    // Open now: italic, narrow. Just inside the old width is empty surface.
    markAll(false);
    surface->RedrawMarks();
    QVERIFY(surface->MarksPending());
    const auto narrowLayout = fresh();
    const TBounds narrow = narrowLayout->Drawing.Elements[static_cast<size_t>(five)].Bounds;
    QVERIFY(narrow.Width < wide.Width);
    QCOMPARE(surface->ShapeAt(QPoint(wide.Right() - 2, wide.Top + 5)), -1);
    QCOMPARE(surface->ShapeAt(QPoint(narrow.Right() - 2, wide.Top + 5)), five);
    QVERIFY(elements[static_cast<size_t>(five)] == narrowLayout->Drawing.Elements[static_cast<size_t>(five)]);
    // Painting rows 10 to 14 draws what the layout has there, and no more.
    const int top = context.Metrics.RowTop(10);
    const QRect painted(0, top, 400, 5 * context.Metrics.RowPitch());
    QPixmap pixmap(painted.size());
    surface->render(&pixmap, QPoint(), QRegion(painted));
    int checked = 0;
    for (size_t i = 0; i < elements.size(); ++i) {
      const TDiagramElement& expected = narrowLayout->Drawing.Elements[i];
      if (expected.Bounds.Bottom() <= painted.top() || expected.Bounds.Top >= painted.bottom()) continue;
      QVERIFY2(elements[i] == expected, qPrintable(QString::number(i)));
      ++checked;
    }
    QVERIFY(checked >= 15);
    const int thirty = frameOf(context.Drawing, "statement 30");
    QVERIFY(!(elements[static_cast<size_t>(thirty)] == narrowLayout->Drawing.Elements[static_cast<size_t>(thirty)]));

    // Justified again: a box still drawn narrow takes the press just inside
    // its new width.
    markAll(true);
    surface->RedrawMarks();
    const auto wideLayout = fresh();
    const TBounds wideThirty = wideLayout->Drawing.Elements[static_cast<size_t>(thirty)].Bounds;
    QCOMPARE(surface->ShapeAt(QPoint(wideThirty.Right() - 2, wideThirty.Top + 5)), thirty);
    QCOMPARE(surface->ShapeAt(QPoint(wideThirty.Right() + 1, wideThirty.Top + 5)), -1);

    // Open once more; the idle sweep draws every box and sizes the surface.
    markAll(false);
    surface->RedrawMarks();
    QCOMPARE(surface->minimumWidth(), wideSurface);
    QTRY_VERIFY(!surface->MarksPending());
    QVERIFY(elements == narrowLayout->Drawing.Elements);
    QCOMPARE(surface->minimumWidth(), narrowLayout->Drawing.Width() + context.Metrics.LeftMargin);
    QVERIFY(surface->minimumWidth() < wideSurface);
  }

  void drawFormResetsTheMetrics() {
    DiagramMetrics().LinkWidth = 2;
    DiagramMetrics().ColumnWidth = 99;
    TDrawForm form;
    QVERIFY(!form.isVisible());
    QCOMPARE(DiagramMetrics().LinkWidth, 1);
    QCOMPARE(DiagramMetrics().ColumnWidth, 18);
  }
};

QTEST_MAIN(TDiagramSurfaceTest)
#include "surface_test.moc"
