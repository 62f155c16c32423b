// The statement box, the selection and the status bar in the real window:
// exactly the typed text is stored, the box is always in view, the selection
// is drawn, and the status panels show their whole texts.
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>

#include "tests/desktop/window_harness.h"
#include "window/qt_refresh_runner.h"

namespace {
const std::string kPlaceholder(kPlaceholderText);
}

class StatementBoxWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Prefixes and case variants of existing sentences, typed in every mode
  // the box opens in, are stored exactly as typed.
  void theTypedTextIsUsedExactly() {
    struct TCase {
      const char* Mode;
      const char* Typed;
    };
    const TCase cases[] = {
        {"add", "cost"},          {"add", "apple"},        {"add", "COST IS HIGH"},
        {"change", "cost"},       {"change", "Apple"},     {"support", "cost"},
        {"support", "apple pie"}, {"attack", "Cost is"},   {"conjunct", "apple"},
    };
    for (const TCase& c : cases) {
      const std::string mode = c.Mode;
      const std::string typed = c.Typed;
      TWindowHarness window;
      window.AddStatement(QStringLiteral("cost is high"));
      window.AddStatement(QStringLiteral("Apple pie is tasty"));
      if (mode == "change") {
        window.ClickBox("cost is high");
        QTest::mouseDClick(window.Surface, Qt::LeftButton, {}, window.BoxCentre("cost is high"));
      } else if (mode == "support" || mode == "attack" || mode == "conjunct") {
        window.ClickBox("cost is high");
        window.Find<QToolButton>(mode == "attack" ? "AttackToolButton" : "SupportToolButton")->click();
        if (mode == "conjunct") {
          window.TypeAndPress(QStringLiteral("first reason"), Qt::Key_Return);
          window.ClickBox("first reason");
          window.Find<QToolButton>("AddConjunctToolButton")->click();
        }
      } else {
        window.Find<QToolButton>("StatementToolButton")->click();
      }
      QVERIFY2(window.Box->isVisible(), c.Mode);
      // Typed key by key, as the completer would have completed it.
      QLineEdit* line = window.Box->lineEdit();
      line->selectAll();
      QTest::keyClick(line, Qt::Key_Backspace);
      QTest::keyClicks(line, QString::fromStdString(typed));
      QCOMPARE(line->text(), QString::fromStdString(typed));
      QTest::keyClick(line, Qt::Key_Return);
      QVERIFY2(!window.Box->isVisible(), c.Mode);
      const QByteArray scratch = window.Scratch();
      QVERIFY2(scratch.contains("\r\n" + QByteArray::fromStdString(typed) + "\r\n"), (mode + ": " + typed).c_str());
      QVERIFY(!scratch.contains(QByteArray::fromStdString(kPlaceholder)));
    }
  }

  void theBoxIsScrolledIntoViewInATallDrawing() {
    TWindowHarness window;
    // Each refresh is shown before the next command, as a user's clicks are
    // held back while one is built: a direct click() is not, and on a busy
    // machine it would place the box over a drawing about to be replaced.
    window.Form->RefreshRunner().SetQuietMilliseconds(60000);
    window.Form->resize(500, 300);
    for (int i = 0; i < 40; ++i) window.AddStatement(QStringLiteral("statement %1").arg(i));
    auto* scrollBox = window.Find<QScrollArea>("ScrollBox1");
    scrollBox->verticalScrollBar()->setValue(0);
    const auto inView = [&] {
      const QRect box(window.Box->mapTo(scrollBox->viewport(), QPoint(0, 0)), window.Box->size());
      return scrollBox->viewport()->rect().contains(box);
    };
    // Add statement opens below the whole drawing.
    window.Find<QToolButton>("StatementToolButton")->click();
    QVERIFY(window.Box->isVisible());
    QVERIFY(inView());
    QTest::keyClick(window.Box->lineEdit(), Qt::Key_Escape);

    // Support of the last statement opens over its reason, further down.
    scrollBox->verticalScrollBar()->setValue(0);
    window.ClickElement(window.FrameOf("statement 39"));
    scrollBox->verticalScrollBar()->setValue(0);
    window.Find<QToolButton>("SupportToolButton")->click();
    QVERIFY(window.Box->isVisible());
    QVERIFY(inView());
  }

  void theSelectionIsDrawnAndIsNoChangeOfTheTheory() {
    TWindowHarness window;
    window.AddStatement(QStringLiteral("a"));
    window.AddStatement(QStringLiteral("b"));
    const QByteArray before = window.Scratch();
    window.ClickBox("a");
    QCOMPARE(window.Surface->HighlightedElements(), std::vector<int>{window.FrameOf("a")});
    const QImage picture = window.Surface->grab().toImage();
    const TBounds& a = window.Surface->Drawing().Elements[static_cast<size_t>(window.FrameOf("a"))].Bounds;
    QCOMPARE(picture.pixelColor(a.Left - 2, a.Top + a.Height / 2), QColor(0, 120, 215));
    QCOMPARE(window.Scratch(), before);
    // The empty surface clears it.
    QTest::mouseClick(window.Surface, Qt::LeftButton, {}, QPoint(400, 300));
    QVERIFY(window.Surface->HighlightedElements().empty());
    QCOMPARE(window.Scratch(), before);
  }

  void statusPanelsShowTheirWholeTexts() {
    TWindowHarness window;
    window.Form->resize(900, 400);
    window.AddStatement(QStringLiteral("a"));
    window.ClickBox("a");
    QApplication::processEvents();
    auto* cell = window.Find<QLabel>("StatusPanel0");
    auto* words = window.Find<QLabel>("StatusPanel1");
    QCOMPARE(words->text(), QStringLiteral("justified assumption"));
    QVERIFY(words->width() >= words->fontMetrics().horizontalAdvance(words->text()));
    QVERIFY(!words->accessibleDescription().isEmpty());
    // A large cell number fits too.
    QTest::mouseClick(window.Surface, Qt::LeftButton, {}, QPoint(850, 200));
    QApplication::processEvents();
    QVERIFY(cell->width() >= cell->fontMetrics().horizontalAdvance(cell->text()));
    // A long sentence in a narrow window is elided, with the whole text as tool tip.
    const QString longText = QStringLiteral("a sentence long enough to fill the status bar many times over ").repeated(4);
    window.AddStatement(longText.trimmed());
    window.Form->resize(400, 300);
    window.ClickBox(longText.trimmed().toStdString());
    QApplication::processEvents();
    auto* sentence = window.Find<QLabel>("StatusPanel2");
    QCOMPARE(sentence->text(), longText.trimmed());
    QVERIFY(window.Form->width() <= 420);
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), sentence->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(sentence, &tip);
    QCOMPARE(sentence->toolTip(), longText.trimmed());
  }
};

QTEST_MAIN(StatementBoxWindowTest)
#include "statement_box_window_test.moc"
