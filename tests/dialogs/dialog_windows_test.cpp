// The inspection windows on real widgets.
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include "dialogs/match_form.h"
#include "dialogs/properties_form.h"
#include "dialogs/test_form.h"

class DialogWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void testWindowShowsBindingsOfItsStartingTexts() {
    TTestForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("TestForm"));
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QCOMPARE(form.RichEdit1->toPlainText(), QStringLiteral("<x>: x\n<x>: x"));

    // A target that does not match leaves the bare variables.
    form.Edit2->clear();
    QTest::keyClicks(form.Edit2, QStringLiteral("aaxbbbycc"));
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QCOMPARE(form.RichEdit1->toPlainText(), QStringLiteral("<x>\n<x>"));

    // Typed text goes in as UTF-8.
    form.Edit1->setText(QStringLiteral("<v> caf\u00e9"));
    form.Edit2->setText(QStringLiteral("ein caf\u00e9"));
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QCOMPARE(form.RichEdit1->toPlainText(), QStringLiteral("<v>: ein"));
  }

  void propertiesWindowBoldensHeadings() {
    TPropertiesForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Properties"));
    QVERIFY(form.isModal());
    form.ShowLines({{"Sentence:", true}, {"    p", false}, {"", false}});
    QTextDocument* document = form.RichEdit1->document();
    QCOMPARE(document->blockCount(), 3);
    QCOMPARE(document->findBlockByNumber(0).text(), QStringLiteral("Sentence:"));
    QCOMPARE(document->findBlockByNumber(1).text(), QStringLiteral("    p"));
    QTextCursor heading(document->findBlockByNumber(0));
    heading.movePosition(QTextCursor::NextCharacter);
    QCOMPARE(heading.charFormat().fontWeight(), int(QFont::Bold));
    QTextCursor body(document->findBlockByNumber(1));
    body.movePosition(QTextCursor::EndOfBlock);
    QVERIFY(body.charFormat().fontWeight() != int(QFont::Bold));
    // "&Ok" closes it.
    form.show();
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QVERIFY(!form.isVisible());
  }

  void matchWindowStartsOnTheGraphicalTab() {
    TMatchForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Match"));
    QCOMPARE(form.PageControl1->count(), 2);
    QCOMPARE(form.PageControl1->tabText(0), QStringLiteral("Textual"));
    QCOMPARE(form.PageControl1->tabText(1), QStringLiteral("Graphical"));
    QCOMPARE(form.PageControl1->currentIndex(), 1);
    form.ShowReportLines({"Sentence to match:", "", "    p"});
    QCOMPARE(form.RichEdit1->toPlainText(), QStringLiteral("Sentence to match:\n\n    p"));
  }
};

QTEST_MAIN(DialogWindowsTest)
#include "dialog_windows_test.moc"
