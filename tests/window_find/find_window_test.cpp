// Find in the real main window: Ctrl+F, typing, Enter and F3 through the
// matches, the count, scrolling to a match far down, Esc.
#include <QScrollArea>
#include <QScrollBar>

#include "tests/desktop/window_harness.h"

class FindWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void typingSelectsTheFirstMatchAndEnterAndF3GoOn() {
    TWindowHarness window;
    for (const char* text : {"alpha one", "beta", "Alpha two", "gamma"}) window.AddStatement(QString::fromUtf8(text));
    const size_t logged = window.LogSize();
    QTest::keyClick(window.Form.get(), Qt::Key_F, Qt::ControlModifier);
    auto* bar = window.Find<QWidget>("FindBar");
    auto* field = window.Find<QLineEdit>("FindEdit");
    auto* count = window.Find<QLabel>("FindCount");
    QVERIFY(bar->isVisible());
    QVERIFY(field->hasFocus());
    const auto selected = [&] { return window.Panel(2); };
    QTest::keyClicks(field, QStringLiteral("alph"));
    QCOMPARE(selected(), QStringLiteral("alpha one"));
    QCOMPARE(count->text(), QStringLiteral("1 of 2"));
    QCOMPARE(window.Surface->HighlightedElements(), std::vector<int>{window.FrameOf("alpha one")});
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(selected(), QStringLiteral("Alpha two"));
    QCOMPARE(count->text(), QStringLiteral("2 of 2"));
    QTest::keyClick(field, Qt::Key_F3);
    QCOMPARE(selected(), QStringLiteral("alpha one"));  // around to the first
    QTest::keyClick(field, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(selected(), QStringLiteral("Alpha two"));
    // The same panels and offers as a click on the box gives.
    const QString panels = window.Panel(0) + window.Panel(1) + window.Panel(2);
    const bool support = window.Find<QToolButton>("SupportToolButton")->isEnabled();
    QVERIFY(support);
    window.ClickBox("Alpha two");
    QCOMPARE(window.Panel(0) + window.Panel(1) + window.Panel(2), panels);
    // A text found nowhere keeps the selection.
    QTest::keyClick(window.Form.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(field, QStringLiteral("delta"));
    QCOMPARE(count->text(), QStringLiteral("No match"));
    QCOMPARE(selected(), QStringLiteral("Alpha two"));
    // Selecting is logged as a click is: not at all.
    QCOMPARE(window.LogSize(), logged);
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QVERIFY(window.Surface->hasFocus());
  }

  void aMatchFarDownIsScrolledIntoView() {
    TWindowHarness window;
    for (int i = 0; i < 40; ++i) window.AddStatement(QStringLiteral("statement %1").arg(i));
    auto* box = window.Find<QScrollArea>("ScrollBox1");
    box->verticalScrollBar()->setValue(0);
    QTest::keyClick(window.Form.get(), Qt::Key_F, Qt::ControlModifier);
    auto* field = window.Find<QLineEdit>("FindEdit");
    QTest::keyClicks(field, QStringLiteral("statement 39"));
    QCOMPARE(window.Panel(2), QStringLiteral("statement 39"));
    const TBounds& frame = window.Surface->Drawing().Elements.at(static_cast<size_t>(window.FrameOf("statement 39"))).Bounds;
    QVERIFY(frame.Top > box->viewport()->height());  // below the first screenful
    const QRect shown(window.Surface->mapTo(box->viewport(), QPoint(frame.Left, frame.Top)), QSize(frame.Width, frame.Height));
    QVERIFY2(box->viewport()->rect().contains(shown.topLeft()) && box->viewport()->rect().contains(shown.bottomLeft()),
             qPrintable(QStringLiteral("box at %1, %2").arg(shown.x()).arg(shown.y())));
  }
};

QTEST_MAIN(FindWindowTest)
#include "find_window_test.moc"
