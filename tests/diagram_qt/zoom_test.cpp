// The surface at 50% and 200%: presses meet the shapes drawn under them,
// children placed on the surface follow the zoom, the zoom steps, Ctrl +
// wheel, fit to window, and scrolling that keeps the point under the mouse.
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/diagram_zoom.h"
#include "tests/diagram/diagram_test_theory.h"

namespace {

const TDiagramElement& FirstOf(const TDiagramDrawing& drawing, TElementKind kind, int tag) {
  for (const TDiagramElement& e : drawing.Elements)
    if (e.Kind == kind && e.Tag == tag) return e;
  static const TDiagramElement none;
  return none;
}

TListOfKorvelSentences ManyStatements(int count) {
  TListOfKorvelSentences many;
  for (int i = 0; i < count; ++i) many.push_back(MakeElementarySentence("statement number " + std::to_string(i)));
  return many;
}

}  // namespace

class TDiagramZoomTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qRegisterMetaType<TDiagramHit>(); }

  void pressesMeetTheShapesUnderThemAtEveryZoom_data() {
    QTest::addColumn<double>("zoom");
    QTest::newRow("50%") << 0.5;
    QTest::newRow("100%") << 1.0;
    QTest::newRow("200%") << 2.0;
  }

  void pressesMeetTheShapesUnderThemAtEveryZoom() {
    QFETCH(double, zoom);
    TTestTheory theory({"if(p, s)"}, {"s"});
    TDiagramSurface surface;
    surface.Context().Theory = &theory.Theory;
    surface.DrawArguments(theory.All);
    surface.SetZoom(zoom);
    const QRect area = surface.DrawingArea();
    QCOMPARE(surface.minimumSize(), QSize(static_cast<int>(std::ceil(area.width() * zoom)),
                                          static_cast<int>(std::ceil(area.height() * zoom))));
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    QSignalSpy downs(&surface, &TDiagramSurface::mouseDown);
    auto pressAt = [&](QPoint diagramPoint) {
      const QPoint shown(static_cast<int>(diagramPoint.x() * zoom), static_cast<int>(diagramPoint.y() * zoom));
      QTest::mouseClick(&surface, Qt::LeftButton, {}, shown);
      const TDiagramHit hit = downs.last().at(0).value<TDiagramHit>();
      // The diagram pixel under the middle of the pressed screen pixel.
      const QPoint offset = hit.Position - diagramPoint;
      return offset.x() >= 0 && offset.y() >= 0 && offset.x() < std::max(1.0, 1 / zoom) &&
                     offset.y() < std::max(1.0, 1 / zoom)
                 ? hit
                 : TDiagramHit{};
    };

    // The middle of the frame of s, the arrowhead's stroke, the strip beside
    // the vertical bar, and empty space: the same hits as at 100%.
    const TBounds frame = FirstOf(surface.Drawing(), TElementKind::Frame, 0).Bounds;
    TDiagramHit hit = pressAt({frame.Left + frame.Width / 2, frame.Top + frame.Height / 2});
    QCOMPARE(hit.Kind, TElementKind::Frame);
    QCOMPARE(hit.Tag, 0);
    QCOMPARE(hit.Bounds, frame);
    hit = pressAt({10, 26});
    QCOMPARE(hit.Kind, TElementKind::Stroke);
    QCOMPARE(hit.Tag, 1);
    hit = pressAt({8, 40});
    QCOMPARE(hit.Kind, TElementKind::HitStrip);
    hit = pressAt({frame.Right() + 30, 40});
    QVERIFY(hit.IsSurface());

    // A child placed at a diagram position stands where that point is shown.
    QLineEdit box(&surface);
    surface.PlaceChild(&box, QPoint(frame.Left, frame.Top + 30));
    QCOMPARE(box.pos(), QPoint(static_cast<int>(std::floor(frame.Left * zoom)),
                               static_cast<int>(std::floor((frame.Top + 30) * zoom))));
    surface.SetZoom(1.0);
    QCOMPARE(box.pos(), QPoint(frame.Left, frame.Top + 30));
  }

  // On a screen with two device pixels per pixel the arrowheads are
  // unbroken lines, not every other device pixel.
  void devicePixelRatioTwoDrawsUnbrokenStrokes() {
    TTestTheory theory({"if(p, s)", "if(q, x(s))"}, {"s"});
    TDiagramSurface surface;
    surface.Context().Theory = &theory.Theory;
    surface.DrawArguments(theory.All);
    const QRect area = surface.DrawingArea();
    surface.resize(area.size());
    QImage image(area.size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    surface.render(&image);
    int strokes = 0;
    for (const TDiagramElement& e : surface.Drawing().Elements) {
      if (e.Kind != TElementKind::Stroke) continue;
      ++strokes;
      for (int y = 2 * e.Bounds.Top + 1; y < 2 * e.Bounds.Bottom() - 1; ++y) {
        bool inked = false;
        for (int x = 2 * e.Bounds.Left - 1; x <= 2 * e.Bounds.Right() + 1; ++x)
          inked |= image.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY2(inked, qPrintable(QString("gap at device row %1").arg(y)));
      }
    }
    QCOMPARE(strokes, 4);
  }

  void zoomStepsStayWithinTheLimits() {
    struct TCase {
      double From;
      int Direction;
      double To;
    };
    for (const TCase& c : {TCase{1.0, +1, 1.25}, TCase{1.0, -1, 0.75}, TCase{0.25, -1, 0.25}, TCase{4.0, +1, 4.0},
                           TCase{0.3, -1, 0.25}, TCase{0.3, +1, 0.33}, TCase{2.0, +1, 3.0}, TCase{3.5, -1, 3.0},
                           TCase{10.0, -1, 4.0}}) {
      QCOMPARE(TDiagramZoom::Step(c.From, c.Direction), c.To);
    }
  }

  // Zooming keeps the diagram point under the anchor where it was, and the
  // scroll range covers the zoomed drawing.
  void zoomKeepsTheAnchoredPointInPlace() {
    TDiagramScrollBox box;
    box.resize(300, 200);
    box.Surface()->DrawArguments(ManyStatements(300));
    TDiagramZoom zoom(&box);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.verticalScrollBar()->setValue(3000);
    const QPoint anchor(120, 80);
    auto underAnchor = [&] {
      return box.Surface()->ToDiagram(anchor + QPoint(box.horizontalScrollBar()->value(), box.verticalScrollBar()->value()));
    };
    const QPoint before = underAnchor();
    for (double level : {2.0, 0.5, 4.0, 1.0}) {
      zoom.SetZoom(level, anchor);
      QCOMPARE(zoom.Zoom(), level);
      QVERIFY(std::abs(underAnchor().y() - before.y()) <= 1);
      const int height = box.Surface()->DrawingArea().height();
      QCOMPARE(box.verticalScrollBar()->maximum(),
               static_cast<int>(std::ceil(height * level)) - box.viewport()->height());
    }
  }

  void ctrlWheelZoomsAndFitShowsTheWholeDrawing() {
    TDiagramScrollBox box;
    box.resize(400, 300);
    box.Surface()->DrawArguments(ManyStatements(30));
    TDiagramZoom zoom(&box);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
      const QPointF at(50, 50);
      QWheelEvent event(at, box.Surface()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(box.Surface(), &event);
    };
    wheel(120, Qt::ControlModifier);
    QCOMPARE(zoom.Zoom(), 1.25);
    wheel(-240, Qt::ControlModifier);
    QCOMPARE(zoom.Zoom(), 0.75);
    wheel(60, Qt::ControlModifier);  // half a notch waits for the other half
    QCOMPARE(zoom.Zoom(), 0.75);
    wheel(60, Qt::ControlModifier);
    QCOMPARE(zoom.Zoom(), 1.0);
    wheel(-120, Qt::NoModifier);  // without Ctrl the wheel is the box's
    QCOMPARE(zoom.Zoom(), 1.0);

    zoom.FitToWindow();
    const QRect area = box.Surface()->DrawingArea();
    const QSize view = box.maximumViewportSize();
    QVERIFY(zoom.Zoom() < 1.0);
    QVERIFY(area.height() * zoom.Zoom() <= view.height() + 0.5);
    QVERIFY(area.width() * zoom.Zoom() <= view.width() + 0.5);
    QCOMPARE(box.verticalScrollBar()->maximum(), 0);
  }
};

QTEST_MAIN(TDiagramZoomTest)
#include "zoom_test.moc"
