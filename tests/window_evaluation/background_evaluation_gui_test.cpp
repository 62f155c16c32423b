// The window while an evaluation runs in the background: progress in panel
// 2, Esc and the menu item stop it, closing.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <optional>

#include "tests/desktop/window_harness.h"
#include "tests/evaluation/theory_families.h"
#include "window/qt_evaluation_runner.h"
#include "window/qt_refresh_runner.h"
#include "window/report_view.h"

class BackgroundEvaluationTest : public QObject {
  Q_OBJECT

 private:
  std::optional<TWindowHarness> window_;

  // The complete window, whose evaluations run in line for at most
  // `inlineMilliseconds` before they go on in the background.
  void Start(int inlineMilliseconds) {
    window_.emplace(TWindowHarness::TShow::Active,
                    [=](TMainFormSetup& setup) { setup.EvaluationInlineMilliseconds = inlineMilliseconds; });
  }
  QString Panel2() const { return window_->Panel(2); }
  TDocument& Document() { return window_->Form->Document(); }
  // Lets every job end and every queued result arrive.
  void Settle() {
    window_->Form->EvaluationRunner().Hold(false);
    QTRY_COMPARE(window_->Form->EvaluationRunner().ActiveJobs(), 0);
    QCoreApplication::processEvents();
  }

 private slots:
  void cleanup() { window_.reset(); }

  // What the document does with a stopped or superseded evaluation is its
  // tests' business; here the window's ways to stop one.
  void escOnTheDiagramStops() {
    Start(0);
    window_->Form->EvaluationRunner().Hold(true);
    window_->Open(window_->WriteTheoryFile("pairs.kvl", families::Pairs(3)));
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    QVERIFY(Panel2().startsWith(QStringLiteral("Evaluating: 0 dialectical interpretations found, ")));
    QVERIFY(window_->Find<QAction>("Stopevaluation1")->isEnabled());

    // The window answers meanwhile; Esc on the diagram stops.
    QScrollArea* diagram = window_->Find<QScrollArea>("ScrollBox1");
    diagram->setFocus();
    QTest::keyClick(diagram, Qt::Key_Escape);
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Stopped);
    QCOMPARE(Panel2(), QStringLiteral("The evaluation was stopped."));
    QVERIFY(!window_->Find<QAction>("Stopevaluation1")->isEnabled());
    Settle();
  }

  void theMenuItemStops() {
    Start(0);
    window_->Form->EvaluationRunner().Hold(true);
    window_->Open(window_->WriteTheoryFile("ladder.kvl", families::Ladder(2)));
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    window_->Find<QAction>("Stopevaluation1")->trigger();
    QCOMPARE(Panel2(), QStringLiteral("The evaluation was stopped."));
    QCOMPARE(InterpretationButtons(*window_->Form).size(), 0);
    Settle();
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Stopped);
  }

  void closingDuringAnEvaluationAsksAndEnds() {
    Start(0);
    // Not in normal form: the document counts as changed.
    const QString changed = window_->WriteFile("changed.kvl",
                                               "<KORVEL><THEORY><SENTENCE><ELEMENTARYSENTENCE>p</ELEMENTARYSENTENCE>"
                                               "</SENTENCE></THEORY></KORVEL>");
    window_->Form->EvaluationRunner().Hold(true);
    window_->Open(changed.toStdString());
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    window_->Ui.Answers = {TDocumentUi::TAnswer::Cancel};
    window_->Form->close();
    QVERIFY(window_->Form->isVisible());
    QCOMPARE(window_->Ui.Questions.size(), size_t{1});
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Stopped);

    window_->Find<QAction>("Showstructureonly1")->trigger();
    window_->Find<QAction>("Showstructureonly1")->trigger();
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    window_->Ui.Answers = {TDocumentUi::TAnswer::Yes};
    window_->Form->close();
    QVERIFY(!window_->Form->isVisible());
    QVERIFY(ReadFile(changed).contains("\r\n"));  // saved in normal form
    window_->Form.reset();  // the held job is released, told to stop, and waited for
  }

  // Esc stops from wherever the focus is, the item shows the key, and F5
  // evaluates the stopped theory again without a change.
  void escAnywhereStopsAndEvaluateAgainFinishes() {
    Start(0);
    window_->Form->EvaluationRunner().Hold(true);
    window_->Open(window_->WriteTheoryFile("pairs.kvl", families::Pairs(3)));
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    QVERIFY(window_->Find<QAction>("Stopevaluation1")->text().endsWith(QStringLiteral("\tEsc")));
    auto* pages = window_->Find<QTabWidget>("TextBasedKorvelPageControl");
    pages->setCurrentWidget(window_->Find<QWidget>("FileTabSheet"));
    auto* fileView = window_->Find<TReportView>("RichEdit1");
    fileView->setFocus();
    QVERIFY(!window_->Find<QAction>("Evaluateagain1")->isEnabled());
    QTest::keyClick(fileView, Qt::Key_Escape);
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Stopped);
    QCOMPARE(Panel2(), QStringLiteral("The evaluation was stopped."));
    Settle();

    QVERIFY(window_->Find<QAction>("Evaluateagain1")->isEnabled());
    QTest::keyClick(fileView, Qt::Key_F5);
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    QVERIFY(!window_->Find<QAction>("Evaluateagain1")->isEnabled());
    Settle();
    QTRY_COMPARE(Panel2(), QStringLiteral("There are 8 dialectical interpretations."));
  }

  // While another file is read the window shows the progress and answers;
  // Esc abandons the reading and the document stays as it was. Sent as the
  // system sends it, through the window, the menu bar's buttons still drop
  // their menus (Options holds Stop) and Esc still reaches the widget.
  void escAbandonsAnOpeningAndKeepsTheDocument_data() {
    QTest::addColumn<bool>("byTheWindow");
    QTest::newRow("to the widgets") << false;
    QTest::newRow("through the window") << true;
  }

  void escAbandonsAnOpeningAndKeepsTheDocument() {
    QFETCH(bool, byTheWindow);
    Start(40);
    const std::string first = window_->WriteTheoryFile("first.kvl", families::Ladder(2));
    window_->Open(first);
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Finished);
    const QString title = window_->Form->windowTitle();
    const QString panel = Panel2();
    const std::string text = Document().TheoryFile().Text;
    const size_t drawn = window_->Form->DrawnSentences().size();
    const QByteArray scratch = ReadFile(QStringLiteral("~tmp.kvl"));

    TQtRefreshRunner& refresh = window_->Form->RefreshRunner();
    refresh.SetQuietMilliseconds(0);
    refresh.Hold(true);
    QString progress;
    bool editHeldBack = false, menuDropped = false;
    QTimer::singleShot(50, window_->Form.get(), [&] {
      progress = Panel2();
      // A command that would change the document waits: its key does nothing.
      auto* option = window_->Find<QAction>("Showstructureonly1");
      option->setShortcut(QKeySequence(Qt::Key_F9));
      option->setShortcutContext(Qt::WindowShortcut);
      window_->Form->addAction(option);
      QTest::keyClick(window_->Form.get(), Qt::Key_F9);
      editHeldBack = !option->isChecked() && !Document().Options.ShowStructureOnly;
      if (!byTheWindow) return QTest::keyClick(window_->Find<QWidget>("DiagramSurface"), Qt::Key_Escape);
      QWindow* window = window_->Form->windowHandle();
      auto* options = window_->Find<QToolButton>("Options1ToolButton");
      // The menu runs its own loop while open: it is looked at and closed there.
      QTimer::singleShot(0, window_->Form.get(), [&] {
        QWidget* popup = QApplication::activePopupWidget();
        menuDropped = qobject_cast<QMenu*>(popup) != nullptr;
        if (popup) popup->close();
      });
      QTest::mouseClick(window, Qt::LeftButton, {}, options->mapTo(window_->Form.get(), options->rect().center()));
      window_->Find<QWidget>("DiagramSurface")->setFocus();
      QTest::keyClick(window, Qt::Key_Escape);
      // An Esc that got lost would leave the opening held for ever: let it end.
      const TRefreshProgress* running = Document().RunningRefresh();
      if (running && !running->StopRequested()) refresh.Hold(false);
    });
    window_->Open(window_->WriteTheoryFile("second.kvl", families::Pairs(4)));
    QVERIFY(progress.startsWith(QStringLiteral("Reading the file")));
    QVERIFY(editHeldBack);
    QCOMPARE(menuDropped, byTheWindow);
    QVERIFY(!refresh.Waiting());
    QCOMPARE(window_->Form->windowTitle(), title);
    QCOMPARE(Panel2(), panel);
    QCOMPARE(Document().TheoryFile().Text, text);
    QCOMPARE(window_->Form->DrawnSentences().size(), drawn);
    QCOMPARE(ReadFile(QStringLiteral("~tmp.kvl")), scratch);
    refresh.Hold(false);
    refresh.SetQuietMilliseconds(40);

    // The same file opens when nobody stops it.
    window_->Open(window_->WriteTheoryFile("second.kvl", families::Pairs(4)));
    Settle();
    QCOMPARE(window_->Form->windowTitle(), QStringLiteral("Pelmora - second.kvl"));
  }
};

QTEST_MAIN(BackgroundEvaluationTest)
#include "background_evaluation_gui_test.moc"
