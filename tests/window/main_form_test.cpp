// The main window driven through its real widgets: menu actions, tool
// buttons, the interpretation bar. Dialogs are answered by a script; every
// test runs in its own temporary working directory with its own log.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <optional>

#include "diagram_qt/legend_form.h"
#include "dialogs/test_form.h"
#include "tests/desktop/window_harness.h"
#include "tests/evaluation/theory_families.h"
#include "tests/logic/file_size_limit.h"
#include "window/interpretation_navigator.h"
#include "window/qt_evaluation_runner.h"
#include "window/qt_refresh_runner.h"
#include "window/report_view.h"

namespace {

const QString kDataDir = QStringLiteral(PELMORA_GUI_TEST_DATA_DIR);
const std::string kExample = PELMORA_TEST_DATA_DIR "/example.kvl";

std::string DataFile(const char* name) { return (kDataDir + QLatin1Char('/') + name).toStdString(); }

}  // namespace

class MainFormTest : public QObject {
  Q_OBJECT

 private:
  std::optional<TWorkFolder> work_;
  TScriptedDocumentUi ui_;
  std::unique_ptr<TMainForm> form_;

  TMainFormSetup Setup() { return TestSetup(*work_, ui_, "08:15:00"); }
  template <class T>
  T* Find(const char* name) const {
    return FindChild<T>(*form_, name);
  }
  QAction* Action(const char* name) const { return Find<QAction>(name); }
  QString Panel(int index) const { return PanelText(*form_, index); }
  QList<QToolButton*> InterpretationButtons() const { return ::InterpretationButtons(*form_); }
  // The pen colour of the diagram's first sentence box: its status.
  TColour FirstFrameColour() const {
    for (const TDiagramElement& element : Find<TDiagramSurface>("DiagramSurface")->Drawing().Elements)
      if (element.Kind == TElementKind::Frame) return element.PenColour;
    qFatal("no sentence box drawn");
  }
  QString LogFile() const { return work_->Path("log/UserAction.log"); }
  void Open(const std::string& path) { OpenThroughMenu(*form_, ui_, path); }

 private slots:
  void init() {
    work_.emplace();  // the scratch file lands here
    ui_ = TScriptedDocumentUi{};
    form_ = std::make_unique<TMainForm>(Setup());
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  void cleanup() {
    form_.reset();
    work_.reset();
  }

  void startUpShowsTheComposition() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - an argument assistant based on Korvel"));
    QCOMPARE(form_->menuWidget(), Find<QWidget>("ControlBar1"));

    // The menu bar shows File, Edit and Options; Help and Test stay hidden.
    for (const char* name : {"File1ToolButton", "Edit1ToolButton", "Options1ToolButton"})
      QVERIFY2(Find<QToolButton>(name)->isVisible(), name);
    for (const char* name : {"Help1ToolButton", "Test1ToolButton"})
      QVERIFY2(!Find<QToolButton>(name)->isVisible(), name);
    QCOMPARE(Find<QToolButton>("File1ToolButton")->text(), QStringLiteral("&File"));

    QCOMPARE(Find<QToolButton>("NewToolButton")->toolTip(), QStringLiteral("New"));
    QCOMPARE(Find<QToolButton>("OpenToolButton")->toolTip(), QStringLiteral("Open"));
    QCOMPARE(Find<QToolButton>("SaveToolButton")->toolTip(), QStringLiteral("Save"));
    const std::pair<const char*, const char*> editing[] = {
        {"StatementToolButton", "Add elementary statement"},
        {"SetAsAssumptionToolButton", "Set as assumption"},
        {"SetAsIssueToolButton", "Set as issue"},
        {"SupportToolButton", "Support"},
        {"AttackToolButton", "Attack"},
        {"AddConjunctToolButton", "Add conjunct"}};
    for (const auto& [name, hint] : editing) {
      auto* button = Find<QToolButton>(name);
      QCOMPARE(button->toolTip(), QString::fromUtf8(hint));
      QVERIFY(button->isVisible());
      QCOMPARE(button->isEnabled(), std::string_view(name) == "StatementToolButton");
    }

    auto* pages = Find<QTabWidget>("TextBasedKorvelPageControl");
    QCOMPARE(pages->count(), 4);
    QCOMPARE(pages->tabText(0), QStringLiteral("F&ile"));
    QCOMPARE(pages->tabText(1), QStringLiteral("T&heory"));
    QCOMPARE(pages->tabText(2), QStringLiteral("&Consequences"));
    QCOMPARE(pages->tabText(3), QStringLiteral("&Dialectical arguments"));
    QVERIFY(!pages->isTabVisible(2));
    QCOMPARE(pages->currentWidget(), Find<QWidget>("TabSheet1"));
    QVERIFY(Find<QScrollArea>("ScrollBox1")->isVisible());
    QVERIFY(!Find<QToolBar>("ToolBar2")->isVisible());
    QVERIFY(!Find<QComboBox>("ComboBox1")->isVisible());

    QCOMPARE(Find<QLabel>("StatusPanel0")->width(), 50);
    QCOMPARE(Find<QLabel>("StatusPanel1")->width(), 110);
    QVERIFY(Find<QLabel>("StatusPanel2")->width() >= 50);
  }

  void startUpOffersOnlyTheCommandsWithoutSelection() {
    // The start-up's New recomputes the offers, whatever the items began with.
    const char* shown[] = {"AddElementarySentence2MenuITem", "Delete2MenuITem", "Properties2MenuItem",
                           "AddElementarySentence1MenuITem", "Delete1MenuITem", "Properties1MenuItem"};
    const char* hidden[] = {"Setasassumption2MenuITem", "Setasissue2MenuITem",
                            "Changeelementarysentence2MenuITem", "Addconjunct2MenuITem",
                            "Adddialecticalnegation2MenuITem", "Givesupport2MenuITem",
                            "Attack2MenuITem", "Deleteconjunct2MenuItem", "Match2MenuItem",
                            "Instantiate2MenuItem", "Deleteconjunct1menuitem", "Givesupport1MenuITem"};
    for (const char* name : shown) QVERIFY2(Action(name)->isVisible(), name);
    for (const char* name : hidden) QVERIFY2(!Action(name)->isVisible(), name);
    QCOMPARE(Action("Deleteconjunct2MenuItem")->text(), QStringLiteral("Delete conj&unct"));

    // The Edit menu holds its items and separators in order.
    QStringList names;
    for (QAction* action : Find<QMenu>("Edit1")->actions()) names << action->objectName();
    QCOMPARE(names.size(), 20);
    QCOMPARE(names.first(), QStringLiteral("Setasassumption2MenuITem"));
    QCOMPARE(names[2], QStringLiteral("N5"));
    QCOMPARE(names.last(), QStringLiteral("Properties2MenuItem"));

    QVERIFY(!Action("Showstructureonly1")->isChecked());
    QVERIFY(Action("Parsesentences1")->isChecked());
    QVERIFY(Action("Showdialecticalnegations1")->isChecked());
    QVERIFY(!Action("Showdialecticalnegations1")->isVisible());
  }

  void startUpLogsTheSessionButNotItsNew() {
    QCOMPARE(ReadFile(LogFile()),
             QByteArray("USER ACTION LOGS of the Pelmora program\r\n\r\n[08:15:00]  START OF SESSION\r\n"));
    QCOMPARE(ReadFile(work_->Path("~tmp.kvl")),
             QByteArray::fromStdString(form_->Document().TheoryFile().FileBytes()));
    QVERIFY(Find<TReportView>("RichEdit2")->toPlainText().startsWith(QStringLiteral("ASSUMPTIONS\n")));
  }

  void openShowsTheFileAndTheReport() {
    Open(kExample);
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - example.kvl"));
    QString fileText = QString::fromUtf8(ReadFile(QString::fromStdString(kExample)));
    fileText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    fileText.chop(1);
    QCOMPARE(Find<TReportView>("RichEdit1")->toPlainText() + QStringLiteral("\n"), fileText);
    const QString report = Find<TReportView>("RichEdit2")->toPlainText();
    QVERIFY(report.contains(QStringLiteral("UNIQUE DIALECTICAL INTERPRETATION")));
    QCOMPARE(Panel(2), QStringLiteral("There is 1 dialectical interpretation."));
    QVERIFY(!Find<QToolBar>("ToolBar2")->isVisible());
    QVERIFY(Find<QTextEdit>("RichEdit3")->toPlainText().isEmpty());
    QVERIFY(!form_->DrawnSentences().empty());
  }

  void openThroughTheToolButtonAndAFailedOpen() {
    ui_.OpenAnswers = {kExample};
    QTest::mouseClick(Find<QToolButton>("OpenToolButton"), Qt::LeftButton);
    QCOMPARE(form_->Document().CurrentFileName(), kExample);
    const QString shown = Find<TReportView>("RichEdit1")->toPlainText();

    Open(work_->Path("missing.kvl").toStdString());
    QCOMPARE(ui_.Errors.size(), size_t{1});
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - example.kvl"));
    QCOMPARE(Find<TReportView>("RichEdit1")->toPlainText(), shown);
    QCOMPARE(form_->Document().CurrentFileName(), kExample);
  }

  void saveAndSaveAsThroughMenusAndButtons() {
    Open(kExample);
    const std::string copy = work_->Path("copy.kvl").toStdString();
    ui_.SaveAnswers = {copy};
    Action("SaveAs1")->trigger();
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - copy.kvl"));
    QCOMPARE(ReadFile(QString::fromStdString(copy)), ReadFile(QString::fromStdString(kExample)));

    QFile::remove(QString::fromStdString(copy));
    QTest::mouseClick(Find<QToolButton>("SaveToolButton"), Qt::LeftButton);  // named: no dialog
    QCOMPARE(ReadFile(QString::fromStdString(copy)), ReadFile(QString::fromStdString(kExample)));

    // New, then Save of the unnamed document asks for a name.
    QTest::mouseClick(Find<QToolButton>("NewToolButton"), Qt::LeftButton);
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - an argument assistant based on Korvel"));
    const std::string fresh = work_->Path("fresh.kvl").toStdString();
    ui_.SaveAnswers = {fresh};
    Action("Save1")->trigger();
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - fresh.kvl"));
    QVERIFY(QFile::exists(QString::fromStdString(fresh)));
    QVERIFY(ui_.Errors.empty());
  }

  void aFailingSaveShowsTheErrorAndKeepsTheName() {
    Open(kExample);
    work_->WriteFile("plain", {});
    ui_.SaveAnswers = {work_->Path("plain/x.kvl").toStdString()};
    Action("SaveAs1")->trigger();
    QCOMPARE(ui_.Errors.size(), size_t{1});
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - example.kvl"));
    QVERIFY(!ReadFile(LogFile()).contains("Save file as:"));

    // A write-protected file keeps its content, whoever runs the test.
    const QString locked = work_->WriteFile("locked.kvl", "old");
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner));
    ui_.SaveAnswers = {locked.toStdString()};
    Action("SaveAs1")->trigger();
    QCOMPARE(ui_.Errors.size(), size_t{2});
    QCOMPARE(ReadFile(locked), QByteArray("old"));
    QCOMPARE(form_->Document().CurrentFileName(), kExample);
  }

  // The disk fills up during Save and Save as: the writes really fail (a
  // child process with a small file size limit). The old file stays as it
  // was, no new file appears, the error is shown and no save is logged.
  void aSaveOntoAFullDiskKeepsTheOldFile() {
    const QByteArray old = "<KORVEL><THEORY><SENTENCE><ELEMENTARYSENTENCE>p</ELEMENTARYSENTENCE></SENTENCE>"
                           "</THEORY></KORVEL>";
    const QString keep = work_->WriteFile("keep.kvl", old);
    Open(keep.toStdString());
    const QString fresh = work_->Path("fresh.kvl");
    const int code = RunWithFileSizeLimit(64, [&] {
      const size_t mark = form_->Log().LogLines().size();
      Action("Save1")->trigger();
      ui_.SaveAnswers = {fresh.toStdString()};
      Action("SaveAs1")->trigger();
      int faults = 0;
      if (ui_.Errors.size() != 2) faults |= 1;
      for (const std::string& error : ui_.Errors)
        if (error.find("File too large") == std::string::npos) faults |= 8;
      for (size_t i = mark; i < form_->Log().LogLines().size(); ++i)
        if (form_->Log().LogLines()[i].find("Save file") != std::string::npos) faults |= 2;
      if (form_->Document().CurrentFileName() != keep.toStdString()) faults |= 4;
      return faults;
    });
    QCOMPARE(code, 0);
    QCOMPARE(ReadFile(keep), old);
    QVERIFY(!QFile::exists(fresh));
    QCOMPARE(QDir(work_->Path(".")).entryList(QDir::Files), (QStringList{QStringLiteral("keep.kvl"), QStringLiteral("~tmp.kvl")}));
  }

  // A run killed with unsaved work: the next start keeps its start-up (the
  // empty theory in the scratch file) but first sets the work aside, then
  // offers it as an unsaved document. A clean end leaves nothing to offer.
  void workLeftByACrashIsOfferedAtTheNextStart() {
    form_->Document().EditableTheory().Assumptions.push_back(MakeElementarySentence("p"));
    form_->Document().EditableTheory().Assumptions.back()->IsAssumption = true;
    QVERIFY(form_->Document().CommitTheory());
    const QByteArray work = ReadFile(QStringLiteral("~tmp.kvl"));
    form_.reset();  // gone without a close request, as after a kill

    form_ = std::make_unique<TMainForm>(Setup());
    QCOMPARE(Find<TReportView>("RichEdit1")->toPlainText().count(QStringLiteral("<SENTENCE>")), 0);
    const QStringList aside = QDir().entryList({QStringLiteral("~tmp-unsaved-*.kvl")});
    QCOMPARE(aside.size(), 1);
    QCOMPARE(ReadFile(aside.front()), work);
    ui_.Answers = {TDocumentUi::TAnswer::Yes};
    QVERIFY(form_->OfferRecovery());
    QVERIFY(QString::fromStdString(ui_.Questions.back()).startsWith(QStringLiteral("Recover unsaved work from ")));
    QCOMPARE(form_->Document().Theory().Assumptions.size(), size_t{1});
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - an argument assistant based on Korvel"));
    QCOMPARE(ReadFile(QStringLiteral("~tmp.kvl")), work);
    QVERIFY(!form_->OfferRecovery());  // offered once

    // Closing without saving is a clean end: the next start offers nothing.
    ui_.Answers = {TDocumentUi::TAnswer::No};
    QVERIFY(form_->close());
    form_ = std::make_unique<TMainForm>(Setup());
    const size_t questions = ui_.Questions.size();
    QVERIFY(!form_->OfferRecovery());
    QCOMPARE(ui_.Questions.size(), questions);
    QCOMPARE(QDir().entryList({QStringLiteral("~tmp-unsaved-*.kvl")}).size(), 1);
  }

  // A foreign or damaged file says so when it opens, and the first save over
  // it asks before it replaces the file with what little was read.
  void foreignAndDamagedFilesSaySoAndTheFirstSaveAsks() {
    const QString passwd = work_->WriteFile("passwd", "root:x:0:0:root:/root:/bin/sh\n");
    Open(passwd.toStdString());
    QCOMPARE(ui_.Errors, std::vector<std::string>{passwd.toStdString() + " holds no Korvel theory"});
    const size_t mark = form_->Log().LogLines().size();
    ui_.Answers = {TDocumentUi::TAnswer::No};
    Action("Save1")->trigger();
    QCOMPARE(ui_.Questions.size(), size_t{1});
    QVERIFY(ui_.Questions.back().find(" holds no Korvel theory") != std::string::npos);
    QCOMPARE(ReadFile(passwd), QByteArray("root:x:0:0:root:/root:/bin/sh\n"));
    QCOMPARE(form_->Log().LogLines().size(), mark);
    ui_.Answers = {TDocumentUi::TAnswer::Yes};
    Action("Save1")->trigger();
    QVERIFY(ReadFile(passwd).startsWith("<KORVEL>"));
    Action("Save1")->trigger();  // asked once only
    QCOMPARE(ui_.Questions.size(), size_t{2});

    QByteArray whole = ReadFile(QString::fromStdString(kExample));
    const QString cut = work_->WriteFile("cut.kvl", whole.left(whole.indexOf("</THEORY>")));
    Open(cut.toStdString());
    QCOMPARE(ui_.Errors.back(), cut.toStdString() + ": reading stopped at byte 1; 0 sentences were read");
  }

  void saveQuestionPaths() {
    Open(kExample);
    // A file written elsewhere, in another form, counts as changed at once.
    const QString changed = work_->WriteFile("changed.kvl",
                                             "<KORVEL><THEORY><SENTENCE><ELEMENTARYSENTENCE>p</ELEMENTARYSENTENCE>"
                                             "</SENTENCE></THEORY></KORVEL>");
    Open(changed.toStdString());  // the example was unchanged: no question
    QVERIFY(ui_.Questions.empty());

    ui_.Answers = {TDocumentUi::TAnswer::Cancel};
    Action("New1")->trigger();
    QCOMPARE(ui_.Questions.back(), std::string("Do you want to save the changes in changed.kvl?"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - changed.kvl"));

    ui_.Answers = {TDocumentUi::TAnswer::Cancel};
    form_->close();
    QVERIFY(form_->isVisible());

    ui_.Answers = {TDocumentUi::TAnswer::No};
    ui_.OpenAnswers = {kExample};
    Action("Open1")->trigger();
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pelmora - example.kvl"));
    QVERIFY(!ReadFile(changed).contains("\r\n"));  // not saved

    Open(changed.toStdString());
    ui_.Answers = {TDocumentUi::TAnswer::Yes};
    Action("Exit1")->trigger();
    QVERIFY(!form_->isVisible());
    QVERIFY(ReadFile(changed).contains("\r\n"));  // saved in normal form
  }

  void interpretationBarFollowsTheNumberOfInterpretations_data() {
    QTest::addColumn<bool>("aside");
    QTest::newRow("a small drawing") << false;
    QTest::newRow("a drawing counted large") << true;
  }

  void interpretationBarFollowsTheNumberOfInterpretations() {
    QFETCH(bool, aside);
    // Exactly as a new layout with the present marks draws it, once every
    // mark still pending is drawn.
    auto drawnAsLaidOut = [this] {
      auto* surface = Find<TDiagramSurface>("DiagramSurface");
      const TDrawContext& shown = surface->Context();
      TDrawContext fresh;
      fresh.TextWidth = shown.TextWidth;
      fresh.LabelHeight = shown.LabelHeight;
      fresh.Metrics = shown.Metrics;
      fresh.Theory = &form_->Document().EditableTheory();
      fresh.RegistrationAddsIssues = false;
      fresh.StructureOnly = !form_->Document().ShowsStatuses();
      DrawArguments(fresh, form_->Document().AllSentences());
      return fresh.Drawing.Elements == surface->Drawing().Elements;
    };
    if (aside) {
      // Every drawing counted large, its evaluation ending after the
      // structure is shown: the statuses appear through a replay of every
      // call on another thread. New marks under the same options are still
      // drawn where they are seen.
      TMainFormSetup setup = Setup();
      setup.RemarkAsideElements = 0;
      setup.EvaluationInlineMilliseconds = 0;
      form_.reset();
      form_ = std::make_unique<TMainForm>(setup);
      form_->show();
      QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    auto open = [&](const std::string& path, bool statusesAppear) {
      if (!aside) return Open(path);
      form_->EvaluationRunner().Hold(true);
      Open(path);
      QCOMPARE(form_->Document().EvaluationState(), TEvaluationState::Running);
      QVERIFY(!form_->Document().ShowsStatuses());
      QVERIFY(drawnAsLaidOut());
      // The replay is held before it begins: the window meanwhile paints,
      // asks for the pending marks, is clicked and hears Stop, and none of
      // it changes the drawing shown, which the other thread copies, or ends
      // the finished evaluation as stopped.
      TQtRefreshRunner& refresh = form_->RefreshRunner();
      bool waited = false, keptMeanwhile = false;
      QMetaObject::Connection whileWaiting;
      if (statusesAppear) {
        refresh.Hold(true);
        whileWaiting = connect(&refresh, &TQtRefreshRunner::waiting, form_.get(), [&](bool waiting) {
          if (!waiting || waited) return;
          waited = true;
          QTimer::singleShot(0, form_.get(), [&] {
            auto* surface = Find<TDiagramSurface>("DiagramSurface");
            const std::vector<TDiagramElement> shown = surface->Context().Drawing.Elements;
            surface->grab();
            surface->Drawing();
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));
            form_->Document().StopEvaluation();  // what the Stop item does
            keptMeanwhile = surface->Context().Drawing.Elements == shown &&
                            form_->Document().EvaluationState() == TEvaluationState::Finished;
            refresh.Hold(false);
          });
        });
      }
      form_->EvaluationRunner().Hold(false);
      QTRY_COMPARE(form_->Document().EvaluationState(), TEvaluationState::Finished);
      if (!statusesAppear) return;
      disconnect(whileWaiting);
      QVERIFY(waited);
      QVERIFY(keptMeanwhile);
      QVERIFY(!refresh.Waiting());
    };
    open(DataFile("no_interpretation.kvl"), false);
    QCOMPARE(Panel(2), QStringLiteral("There is no dialectical interpretation."));
    QVERIFY(!Find<QToolBar>("ToolBar2")->isVisible());
    QVERIFY(InterpretationButtons().isEmpty());

    open(DataFile("two_interpretations.kvl"), true);
    QCOMPARE(Panel(2), QStringLiteral("There are 2 dialectical interpretations."));
    QVERIFY(drawnAsLaidOut());
    QVERIFY(Find<QToolBar>("ToolBar2")->isVisible());
    QList<QToolButton*> buttons = InterpretationButtons();
    QCOMPARE(buttons.size(), 2);
    QCOMPARE(buttons[0]->text(), QStringLiteral("1"));
    QCOMPARE(buttons[1]->text(), QStringLiteral("2"));
    QVERIFY(buttons[0]->isChecked());
    QVERIFY(!buttons[1]->isChecked());
    const QString report = Find<TReportView>("RichEdit2")->toPlainText();
    QVERIFY(report.contains(QStringLiteral("DIALECTICAL INTERPRETATION 1")));
    QVERIFY(report.contains(QStringLiteral("DIALECTICAL INTERPRETATION 2")));

    // Another interpretation: its marks, the button down, the texts untouched.
    const auto& theory = form_->Document().Theory();
    const bool pWasJustified = theory.Assumptions[0]->IsJustified;
    QCOMPARE(theory.Assumptions[1]->IsJustified, !pWasJustified);
    const TColour firstFrameBefore = FirstFrameColour();
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    QVERIFY(buttons[1]->isChecked());
    QVERIFY(!buttons[0]->isChecked());
    QCOMPARE(form_->Document().ShownInterpretation(), 1);
    QCOMPARE(Find<TReportView>("RichEdit2")->toPlainText(), report);
    QCOMPARE(Panel(2), QStringLiteral("There are 2 dialectical interpretations."));
    // p and q attack each other: the other interpretation swaps their marks.
    QCOMPARE(theory.Assumptions[0]->IsJustified, !pWasJustified);
    QCOMPARE(theory.Assumptions[1]->IsJustified, pWasJustified);
    QVERIFY(!(FirstFrameColour() == firstFrameBefore));  // the diagram was drawn again
    QVERIFY(drawnAsLaidOut());

    // Back to a single interpretation: the bar goes with its buttons.
    Open(kExample);
    QVERIFY(!Find<QToolBar>("ToolBar2")->isVisible());
    QVERIFY(InterpretationButtons().isEmpty());
  }

  void theNavigatorTakesOverBeyondTheButtons_data() {
    QTest::addColumn<int>("rungs");
    QTest::addColumn<int>("count");
    QTest::newRow("50: buttons") << 49 << 50;
    QTest::newRow("51: navigator") << 50 << 51;
  }
  void theNavigatorTakesOverBeyondTheButtons() {
    QFETCH(int, rungs);
    QFETCH(int, count);
    Open(work_->WriteTheoryFile("ladder.kvl", families::Ladder(static_cast<size_t>(rungs))));
    form_->Document().WaitForEvaluation();
    QCOMPARE(form_->Document().Interpretations().size(), static_cast<size_t>(count));
    QVERIFY(Find<QToolBar>("ToolBar2")->isVisible());
    auto* navigator = form_->findChild<TInterpretationNavigator*>();
    if (static_cast<size_t>(count) <= kInterpretationButtonLimit) {
      QCOMPARE(InterpretationButtons().size(), count);
      QVERIFY(!navigator);
    } else {
      QVERIFY(InterpretationButtons().isEmpty());
      QVERIFY(navigator);
      QCOMPARE(navigator->findChild<QLabel*>(QStringLiteral("InterpretationCount"))->text(),
               QStringLiteral("of %1").arg(count));
    }
  }

  void theNavigatorShowsAnInterpretationAsItsButtonWould() {
    const std::string pairs = work_->WriteTheoryFile("pairs14.kvl", families::Pairs(14));
    Open(pairs);
    form_->Document().WaitForEvaluation();
    QCOMPARE(Panel(2), QStringLiteral("There are more than 10000 dialectical interpretations; the first 10000 "
                                      "are shown."));
    auto* navigator = form_->findChild<TInterpretationNavigator*>();
    QVERIFY(navigator);
    QCOMPARE(navigator->Current(), 0);
    auto* spin = navigator->findChild<QSpinBox*>(QStringLiteral("InterpretationSpinBox"));
    QCOMPARE(spin->maximum(), 10000);
    QVERIFY(!navigator->findChild<QToolButton*>(QStringLiteral("PreviousInterpretationButton"))->isEnabled());

    // The marks of the chosen interpretation: exactly its members are justified.
    auto marksOf = [this](size_t index) {
      const TListOfKorvelSentences& chosen = form_->Document().Interpretations()[index];
      for (const SentencePtr& assumption : form_->Document().Theory().Assumptions) {
        const bool member = std::find(chosen.begin(), chosen.end(), assumption) != chosen.end();
        if (assumption->IsJustified != member || assumption->IsDefeated == member) return false;
      }
      return true;
    };
    QVERIFY(marksOf(0));
    spin->setValue(1234);
    QCOMPARE(form_->Document().ShownInterpretation(), 1233);
    QVERIFY(marksOf(1233));
    QTest::mouseClick(navigator->findChild<QToolButton*>(QStringLiteral("NextInterpretationButton")),
                      Qt::LeftButton);
    QCOMPARE(form_->Document().ShownInterpretation(), 1234);
    QCOMPARE(spin->value(), 1235);
    QVERIFY(marksOf(1234));
    QTest::mouseClick(navigator->findChild<QToolButton*>(QStringLiteral("PreviousInterpretationButton")),
                      Qt::LeftButton);
    QCOMPARE(form_->Document().ShownInterpretation(), 1233);
    navigator->Choose(9999);
    QVERIFY(!navigator->findChild<QToolButton*>(QStringLiteral("NextInterpretationButton"))->isEnabled());
    QCOMPARE(form_->Document().ShownInterpretation(), 9999);

    // A refresh with as many interpretations makes one navigator afresh.
    Find<QAction>("Showstructureonly1")->trigger();
    Find<QAction>("Showstructureonly1")->trigger();
    form_->Document().WaitForEvaluation();
    QCOMPARE(form_->findChildren<TInterpretationNavigator*>().size(), 1);
    QCOMPARE(form_->findChild<TInterpretationNavigator*>()->Current(), 0);
    QCOMPARE(form_->Document().ShownInterpretation(), 0);

    // The report view holds every line of the report and reaches its end.
    auto* report = Find<TReportView>("RichEdit2");
    QCOMPARE(report->LineCount(), form_->Document().ReportLines().size());
    QVERIFY(report->LineCount() > 900000);
    report->verticalScrollBar()->setValue(report->verticalScrollBar()->maximum());
    QVERIFY(report->FirstVisibleLine() + 100 > report->LineCount());
    report->SelectAll();
    QVERIFY(report->SelectedText().contains(QStringLiteral("\nDIALECTICAL INTERPRETATION 10000\n")));
  }

  void optionsRereadTheTheory() {
    Open(DataFile("two_interpretations.kvl"));
    auto statusIconsDrawn = [this] {
      for (const TDiagramElement& element : Find<TDiagramSurface>("DiagramSurface")->Drawing().Elements)
        if (element.Kind == TElementKind::StatusIcons) return true;
      return false;
    };
    QVERIFY(statusIconsDrawn());
    Action("Showstructureonly1")->trigger();
    QVERIFY(Action("Showstructureonly1")->isChecked());
    QVERIFY(!statusIconsDrawn());
    QVERIFY(Panel(2).isEmpty());
    QVERIFY(!Find<QToolBar>("ToolBar2")->isVisible());
    QVERIFY(Find<TReportView>("RichEdit2")->toPlainText().contains(
        QStringLiteral("THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS")));
    Action("Showstructureonly1")->trigger();
    QCOMPARE(Panel(2), QStringLiteral("There are 2 dialectical interpretations."));
    QCOMPARE(InterpretationButtons().size(), 2);

    // Unparsed, "x(p)" stays an elementary sentence of that text; parsing
    // it again (the scratch file still holds the text) makes it a negation.
    Action("Parsesentences1")->trigger();
    QVERIFY(!Action("Parsesentences1")->isChecked());
    QVERIFY(!form_->Document().Options.ParseSentences);
    Open(DataFile("negation_as_text.kvl"));
    QVERIFY(Is<TKorvelElementarySentence>(form_->Document().Theory().Assumptions[1]));
    Action("Parsesentences1")->trigger();
    QVERIFY(Is<TKorvelDialecticalNegation>(form_->Document().Theory().Assumptions[1]));

    // New keeps the options. The parsed text differs from the file now.
    Action("Showdialecticalnegations1")->trigger();
    ui_.Answers = {TDocumentUi::TAnswer::No};
    Action("New1")->trigger();
    QVERIFY(ui_.Answers.empty());
    QVERIFY(!form_->Document().Options.ShowDialecticalNegations);
    QVERIFY(!Action("Showdialecticalnegations1")->isChecked());
  }

  void logOfASessionThatOpensAndSavesUnderANewName() {
    Open(kExample);
    const std::string copy = work_->Path("renamed.kvl").toStdString();
    ui_.SaveAnswers = {copy};
    Action("SaveAs1")->trigger();
    const QByteArray expected = QByteArray("USER ACTION LOGS of the Pelmora program\r\n") +
                                "\r\n[08:15:00]  START OF SESSION\r\n" +
                                "\r\n[08:15:00]  Open file:" + QByteArray::fromStdString(kExample) +
                                "\r\n" + "\r\n[08:15:00]  Save file as:" +
                                QByteArray::fromStdString(copy) + "\r\n";
    QCOMPARE(ReadFile(LogFile()), expected);
  }

  void statementBoxSpansTheDiagram() {
    form_->resize(900, 600);
    QTest::qWait(0);
    QCOMPARE(Find<QComboBox>("ComboBox1")->width(), Find<QScrollArea>("ScrollBox1")->width() - 7);
  }

  void applicationCreatesItsSevenWindowsWithOnlyTheMainOneShown() {
    form_.reset();
    TApplicationWindows windows = CreateApplicationWindows(Setup());
    QVERIFY(windows.KorvelForm && windows.DrawForm && windows.PropertiesForm && windows.TestForm &&
            windows.MatchForm && windows.LegendForm);
    windows.MainForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(windows.MainForm.get()));
    int shown = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible() && !qobject_cast<QMenu*>(window)) ++shown;
    QCOMPARE(shown, 1);
    // The hidden Help and Test menus still reach their windows.
    windows.MainForm->findChild<QAction*>(QStringLiteral("Legend1"))->trigger();
    QVERIFY(windows.LegendForm->isVisible());
    windows.MainForm->findChild<QAction*>(QStringLiteral("Test2"))->trigger();
    QVERIFY(windows.TestForm->isVisible());
    // The second main window of this test logged its own start.
    QVERIFY(ReadFile(LogFile()).count("START OF SESSION") == 2);
  }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
