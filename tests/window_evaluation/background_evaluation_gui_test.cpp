// The window while an evaluation runs in the background: progress in panel
// 2, Esc and the menu item stop it, closing.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <memory>

#include "desktop/application_windows.h"
#include "diagram_qt/diagram_surface.h"
#include "tests/document/scripted_document_ui.h"
#include "tests/evaluation/theory_families.h"
#include "window/main_form.h"
#include "window/qt_evaluation_runner.h"
#include "window/qt_refresh_runner.h"
#include "window/report_view.h"

namespace {

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace

class BackgroundEvaluationTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> work_;
  QString previousDirectory_;
  TScriptedDocumentUi ui_;
  TApplicationWindows windows_;
  std::unique_ptr<TMainForm>& form_ = windows_.MainForm;

  void Start(int inlineMilliseconds) {
    TMainFormSetup setup;
    setup.LogDirectories = {work_->filePath("log").toStdString()};
    setup.ScratchFallbackDirectory = work_->filePath("fallback").toStdString();
    setup.DocumentUi = &ui_;
    setup.Clock = [] { return std::string("08:15:00"); };
    setup.EvaluationInlineMilliseconds = inlineMilliseconds;
    windows_ = CreateApplicationWindows(setup);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  template <class T>
  T* Find(const char* name) const {
    T* found = form_->findChild<T*>(QString::fromUtf8(name));
    if (!found) qFatal("no child named %s", name);
    return found;
  }
  QString Panel2() const { return Find<QLabel>("StatusPanel2")->text(); }
  TDocument& Document() { return form_->Document(); }
  int InterpretationButtons() const {
    int buttons = 0;
    for (QToolButton* button : Find<QToolBar>("ToolBar2")->findChildren<QToolButton*>())
      if (button->objectName().startsWith(QStringLiteral("InterpretationButton"))) ++buttons;
    return buttons;
  }
  std::string WriteTheoryFile(const char* name, TKorvelTheory theory) {
    TKorvelFile file;
    WriteTheory(theory, file);
    const std::string path = work_->filePath(QString::fromUtf8(name)).toStdString();
    file.SaveToFile(path);
    return path;
  }
  void Open(const std::string& path) {
    ui_.OpenAnswers = {path};
    Find<QAction>("Open1")->trigger();
  }
  // Lets every job end and every queued result arrive.
  void Settle() {
    form_->EvaluationRunner().Hold(false);
    QTRY_COMPARE(form_->EvaluationRunner().ActiveJobs(), 0);
    QCoreApplication::processEvents();
  }

 private slots:
  void init() {
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    previousDirectory_ = QDir::currentPath();
    QDir::setCurrent(work_->path());
    ui_ = TScriptedDocumentUi{};
  }

  void cleanup() {
    windows_ = TApplicationWindows();
    QDir::setCurrent(previousDirectory_);
    work_.reset();
  }

  // What the document does with a stopped or superseded evaluation is its
  // tests' business; here the window's ways to stop one.
  void escOnTheDiagramStops() {
    Start(0);
    form_->EvaluationRunner().Hold(true);
    Open(WriteTheoryFile("pairs.kvl", families::Pairs(3)));
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    QVERIFY(Panel2().startsWith(QStringLiteral("Evaluating: 0 dialectical interpretations found, ")));
    QVERIFY(Find<QAction>("Stopevaluation1")->isEnabled());

    // The window answers meanwhile; Esc on the diagram stops.
    QScrollArea* diagram = Find<QScrollArea>("ScrollBox1");
    diagram->setFocus();
    QTest::keyClick(diagram, Qt::Key_Escape);
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Stopped);
    QCOMPARE(Panel2(), QStringLiteral("The evaluation was stopped."));
    QVERIFY(!Find<QAction>("Stopevaluation1")->isEnabled());
    Settle();
  }

  void theMenuItemStops() {
    Start(0);
    form_->EvaluationRunner().Hold(true);
    Open(WriteTheoryFile("ladder.kvl", families::Ladder(2)));
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    Find<QAction>("Stopevaluation1")->trigger();
    QCOMPARE(Panel2(), QStringLiteral("The evaluation was stopped."));
    QCOMPARE(InterpretationButtons(), 0);
    Settle();
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Stopped);
  }

  void closingDuringAnEvaluationAsksAndEnds() {
    Start(0);
    // Not in normal form: the document counts as changed.
    const QString changed = work_->filePath("changed.kvl");
    QFile file(changed);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<KORVEL><THEORY><SENTENCE><ELEMENTARYSENTENCE>p</ELEMENTARYSENTENCE></SENTENCE>"
               "</THEORY></KORVEL>");
    file.close();
    form_->EvaluationRunner().Hold(true);
    Open(changed.toStdString());
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    ui_.Answers = {TDocumentUi::TAnswer::Cancel};
    form_->close();
    QVERIFY(form_->isVisible());
    QCOMPARE(ui_.Questions.size(), size_t{1});
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Stopped);

    Find<QAction>("Showstructureonly1")->trigger();
    Find<QAction>("Showstructureonly1")->trigger();
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    ui_.Answers = {TDocumentUi::TAnswer::Yes};
    form_->close();
    QVERIFY(!form_->isVisible());
    QVERIFY(ReadFile(changed).contains("\r\n"));  // saved in normal form
    form_.reset();  // the held job is released, told to stop, and waited for
  }

  // Esc stops from wherever the focus is, the item shows the key, and F5
  // evaluates the stopped theory again without a change.
  void escAnywhereStopsAndEvaluateAgainFinishes() {
    Start(0);
    form_->EvaluationRunner().Hold(true);
    Open(WriteTheoryFile("pairs.kvl", families::Pairs(3)));
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    QVERIFY(Find<QAction>("Stopevaluation1")->text().endsWith(QStringLiteral("\tEsc")));
    auto* pages = Find<QTabWidget>("TextBasedKorvelPageControl");
    pages->setCurrentWidget(Find<QWidget>("FileTabSheet"));
    auto* fileView = Find<TReportView>("RichEdit1");
    fileView->setFocus();
    QVERIFY(!Find<QAction>("Evaluateagain1")->isEnabled());
    QTest::keyClick(fileView, Qt::Key_Escape);
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Stopped);
    QCOMPARE(Panel2(), QStringLiteral("The evaluation was stopped."));
    Settle();

    QVERIFY(Find<QAction>("Evaluateagain1")->isEnabled());
    QTest::keyClick(fileView, Qt::Key_F5);
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Running);
    QVERIFY(!Find<QAction>("Evaluateagain1")->isEnabled());
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
    const std::string first = WriteTheoryFile("first.kvl", families::Ladder(2));
    Open(first);
    QCOMPARE(Document().EvaluationState(), TEvaluationState::Finished);
    const QString title = form_->windowTitle();
    const QString panel = Panel2();
    const std::string text = Document().TheoryFile().Text;
    const size_t drawn = form_->DrawnSentences().size();
    const QByteArray scratch = ReadFile(QStringLiteral("~tmp.kvl"));

    TQtRefreshRunner& refresh = form_->RefreshRunner();
    refresh.SetQuietMilliseconds(0);
    refresh.Hold(true);
    QString progress;
    bool editHeldBack = false, menuDropped = false;
    QTimer::singleShot(50, form_.get(), [&] {
      progress = Panel2();
      // A command that would change the document waits: its key does nothing.
      auto* option = Find<QAction>("Showstructureonly1");
      option->setShortcut(QKeySequence(Qt::Key_F9));
      option->setShortcutContext(Qt::WindowShortcut);
      form_->addAction(option);
      QTest::keyClick(form_.get(), Qt::Key_F9);
      editHeldBack = !option->isChecked() && !Document().Options.ShowStructureOnly;
      if (!byTheWindow) return QTest::keyClick(Find<QWidget>("DiagramSurface"), Qt::Key_Escape);
      QWindow* window = form_->windowHandle();
      auto* options = Find<QToolButton>("Options1ToolButton");
      // The menu runs its own loop while open: it is looked at and closed there.
      QTimer::singleShot(0, form_.get(), [&] {
        QWidget* popup = QApplication::activePopupWidget();
        menuDropped = qobject_cast<QMenu*>(popup) != nullptr;
        if (popup) popup->close();
      });
      QTest::mouseClick(window, Qt::LeftButton, {}, options->mapTo(form_.get(), options->rect().center()));
      Find<QWidget>("DiagramSurface")->setFocus();
      QTest::keyClick(window, Qt::Key_Escape);
      // An Esc that got lost would leave the opening held for ever: let it end.
      const TRefreshProgress* running = Document().RunningRefresh();
      if (running && !running->StopRequested()) refresh.Hold(false);
    });
    Open(WriteTheoryFile("second.kvl", families::Pairs(4)));
    QVERIFY(progress.startsWith(QStringLiteral("Reading the file")));
    QVERIFY(editHeldBack);
    QCOMPARE(menuDropped, byTheWindow);
    QVERIFY(!refresh.Waiting());
    QCOMPARE(form_->windowTitle(), title);
    QCOMPARE(Panel2(), panel);
    QCOMPARE(Document().TheoryFile().Text, text);
    QCOMPARE(form_->DrawnSentences().size(), drawn);
    QCOMPARE(ReadFile(QStringLiteral("~tmp.kvl")), scratch);
    refresh.Hold(false);
    refresh.SetQuietMilliseconds(40);

    // The same file opens when nobody stops it.
    Open(WriteTheoryFile("second.kvl", families::Pairs(4)));
    Settle();
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - second.kvl"));
  }
};

QTEST_MAIN(BackgroundEvaluationTest)
#include "background_evaluation_gui_test.moc"
