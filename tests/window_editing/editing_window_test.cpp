// The editing commands on the real main window: boxes clicked at their drawn
// positions, double-clicks, typing into the statement box, Enter and Escape,
// tool buttons and menu items.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <optional>

#include "tests/desktop/window_harness.h"
#include "window/qt_evaluation_runner.h"

namespace {

const std::string kPlaceholder(kPlaceholderText);

}  // namespace

class EditingWindowTest : public QObject {
  Q_OBJECT

 private:
  std::optional<TWindowHarness> window_;

  // A double-click as the desktop delivers it: a press, then the double-click.
  void DoubleClickAt(QPoint at) {
    QTest::mouseClick(window_->Surface, Qt::LeftButton, {}, at);
    QTest::mouseDClick(window_->Surface, Qt::LeftButton, {}, at);
  }
  std::string LastLogMessage() const { return window_->LogSince(window_->LogSize() - 1).at(0); }

 private slots:
  void init() { window_.emplace(); }
  void cleanup() { window_.reset(); }

  void addStatementWithTheToolButtonAndEnter() {
    window_->Find<QToolButton>("StatementToolButton")->click();
    QVERIFY(window_->Box->isVisible());
    QCOMPARE(window_->Box->pos(), QPoint(2, 2));
    window_->TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    QVERIFY(!window_->Box->isVisible());
    QCOMPARE(window_->Assumptions(), std::vector<std::string>{"a"});
    QCOMPARE(LastLogMessage(), std::string("Add assumption: a"));
    QVERIFY(window_->Find<QToolButton>("SupportToolButton")->isEnabled());  // the new statement is selected
  }

  void clickOnABoxSelectsItAndOffersItsCommands() {
    window_->Find<QToolButton>("StatementToolButton")->click();
    window_->TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    QTest::mouseClick(window_->Surface, Qt::LeftButton, {}, QPoint(300, 200));  // the empty surface
    QVERIFY(!window_->Find<QToolButton>("SupportToolButton")->isEnabled());
    QCOMPARE(window_->Panel(0), QStringLiteral("(16, 6)"));
    window_->ClickBox("a");
    QCOMPARE(window_->Panel(2), QStringLiteral("a"));
    QCOMPARE(window_->Panel(1), QStringLiteral("justified assumption"));
    QVERIFY(window_->Find<QToolButton>("SupportToolButton")->isEnabled());
    QVERIFY(window_->Find<QToolButton>("SetAsIssueToolButton")->isEnabled());
    QVERIFY(!window_->Find<QToolButton>("SetAsAssumptionToolButton")->isEnabled());
    QVERIFY(window_->Find<QAction>("Changeelementarysentence1MenuITem")->isVisible());
  }

  void supportOpensTheBoxOverThePlaceholderAndEnterFillsIt() {
    window_->Find<QToolButton>("StatementToolButton")->click();
    window_->TypeAndPress(QStringLiteral("b"), Qt::Key_Return);
    window_->ClickBox("b");
    window_->Find<QToolButton>("SupportToolButton")->click();
    QVERIFY(window_->Box->isVisible());
    QCOMPARE(window_->Box->currentText(), QString());
    QVERIFY(window_->Box->y() > window_->BoxCentre("b").y());
    window_->TypeAndPress(QStringLiteral("a"), Qt::Key_Enter);
    QVERIFY(!window_->Box->isVisible());
    QCOMPARE(window_->Assumptions(), (std::vector<std::string>{"if(a, b)", "a"}));
    QVERIFY(window_->Find<QToolButton>("AddConjunctToolButton")->isEnabled());
  }

  void editingGoesOnWhileTheEvaluationRunsInTheBackground() {
    TDocument& document = window_->Form->Document();
    document.SetEvaluationRunner(&window_->Form->EvaluationRunner(), std::chrono::milliseconds(0));
    window_->Form->EvaluationRunner().Hold(true);
    window_->Find<QToolButton>("StatementToolButton")->click();
    window_->TypeAndPress(QStringLiteral("b"), Qt::Key_Return);
    QCOMPARE(document.EvaluationState(), TEvaluationState::Running);
    window_->ClickBox("b");
    QCOMPARE(window_->Panel(1), QStringLiteral("assumption"));  // no status while it is unknown

    // Support and its reason, each a change that supersedes the evaluation before.
    window_->Find<QToolButton>("SupportToolButton")->click();
    QVERIFY(window_->Box->isVisible());
    window_->TypeAndPress(QStringLiteral("a"), Qt::Key_Enter);
    QVERIFY(!window_->Box->isVisible());
    QCOMPARE(window_->Assumptions(), (std::vector<std::string>{"if(a, b)", "a"}));
    auto selectedText = [this] {
      const int index = window_->Form->Selection().SelectedIndex;
      return index < 0 ? std::string() : window_->Form->DrawnSentences()[static_cast<size_t>(index)]->Text;
    };
    const std::string selected = selectedText();
    QVERIFY(!selected.empty());

    window_->Form->EvaluationRunner().Hold(false);
    QTRY_COMPARE(document.EvaluationState(), TEvaluationState::Finished);
    QCOMPARE(selectedText(), selected);  // found again in the drawing with statuses
    QVERIFY(window_->Find<QToolButton>("AddConjunctToolButton")->isEnabled());
    window_->ClickBox("b");
    QVERIFY(window_->Panel(1).startsWith(QStringLiteral("justified ")));
  }

  void doubleClickChangesABoxAndEscapeCancels() {
    window_->Find<QToolButton>("StatementToolButton")->click();
    window_->TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    DoubleClickAt(window_->BoxCentre("a"));
    QVERIFY(window_->Box->isVisible());
    QCOMPARE(window_->Box->currentText(), QStringLiteral("a"));
    QCOMPARE(window_->Box->y(), 3);
    window_->TypeAndPress(QStringLiteral("changed"), Qt::Key_Escape);
    QVERIFY(!window_->Box->isVisible());
    QCOMPARE(window_->Assumptions(), std::vector<std::string>{"a"});
    QCOMPARE(LastLogMessage(), std::string("ESCAPE (statement box)"));

    DoubleClickAt(window_->BoxCentre("a"));
    window_->TypeAndPress(QStringLiteral("c"), Qt::Key_Return);
    QCOMPARE(window_->Assumptions(), std::vector<std::string>{"c"});
  }

  void doubleClickOnTheEmptySurfaceAddsAStatement() {
    DoubleClickAt(QPoint(200, 150));
    QVERIFY(window_->Box->isVisible());
    window_->TypeAndPress(QStringLiteral("d"), Qt::Key_Return);
    QCOMPARE(window_->Assumptions(), std::vector<std::string>{"d"});
  }

  void refusedTextKeepsTheBoxOpenAndSaysWhy() {
    window_->Find<QToolButton>("StatementToolButton")->click();
    window_->TypeAndPress(QStringLiteral("a <SENTENCE> b"), Qt::Key_Return);
    QVERIFY(window_->Box->isVisible());
    QCOMPARE(window_->Box->currentText(), QStringLiteral("a <SENTENCE> b"));
    QVERIFY(window_->Panel(2).contains(QStringLiteral("<SENTENCE>")));
    QVERIFY(window_->Assumptions().empty());
    window_->TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    QCOMPARE(window_->Assumptions(), std::vector<std::string>{"a"});
  }

  void rightButtonSelectsBeforeThePopupMenu() {
    window_->Find<QToolButton>("StatementToolButton")->click();
    window_->TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    QTest::mouseClick(window_->Surface, Qt::LeftButton, {}, QPoint(300, 200));
    window_->ClickBox("a", Qt::RightButton);
    QCOMPARE(window_->Panel(2), QStringLiteral("a"));
    QVERIFY(window_->Find<QAction>("Givesupport1MenuITem")->isVisible());
    window_->Find<QAction>("Setasissue1MenuITem")->trigger();
    QVERIFY(window_->Assumptions().empty());
    QCOMPARE(LastLogMessage(), std::string("Add issue: a"));
  }
};

QTEST_MAIN(EditingWindowTest)
#include "editing_window_test.moc"
