// The editing commands on the real main window: boxes clicked at their drawn
// positions, double-clicks, typing into the statement box, Enter and Escape,
// tool buttons and menu items.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "desktop/application_windows.h"
#include "diagram_qt/diagram_surface.h"
#include "window/main_form.h"
#include "window/qt_evaluation_runner.h"

namespace {

class TNoDialogs : public TDocumentUi {
 public:
  std::optional<std::string> ChooseFileToOpen() override { return std::nullopt; }
  std::optional<std::string> ChooseFileToSave() override { return std::nullopt; }
  TAnswer AskToSave(const std::string&) override { return TAnswer::No; }
  void ShowFileError(const std::string&) override {}
};

const std::string kPlaceholder(kPlaceholderText);

}  // namespace

class EditingWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> work_;
  QString previousDirectory_;
  TNoDialogs ui_;
  TApplicationWindows windows_;
  std::unique_ptr<TMainForm>& form_ = windows_.MainForm;
  TDiagramSurface* surface_ = nullptr;
  QComboBox* comboBox_ = nullptr;

  template <class T>
  T* Find(const char* name) const {
    T* found = form_->findChild<T*>(QString::fromUtf8(name));
    if (!found) qFatal("no child named %s", name);
    return found;
  }
  QString Panel(int index) const {
    return Find<QLabel>(QStringLiteral("StatusPanel%1").arg(index).toUtf8().constData())->text();
  }
  std::vector<std::string> Assumptions() const {
    std::vector<std::string> texts;
    for (const SentencePtr& sentence : form_->Document().Theory().Assumptions) texts.push_back(sentence->Text);
    return texts;
  }
  // The centre of the first box that shows the text.
  QPoint BoxCentre(const std::string& text) const {
    const TDrawContext& context = surface_->Context();
    for (const TDiagramElement& element : context.Drawing.Elements) {
      if (element.Kind != TElementKind::Frame || element.Tag < 0) continue;
      if (context.DrawnSentences[static_cast<size_t>(element.Tag)]->Text != text) continue;
      return {element.Bounds.Left + element.Bounds.Width / 2, element.Bounds.Top + element.Bounds.Height / 2};
    }
    qFatal("no box shows %s", text.c_str());
  }
  void ClickBox(const std::string& text, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(surface_, button, {}, BoxCentre(text));
  }
  // A double-click as the desktop delivers it: a press, then the double-click.
  void DoubleClickAt(QPoint at) {
    QTest::mouseClick(surface_, Qt::LeftButton, {}, at);
    QTest::mouseDClick(surface_, Qt::LeftButton, {}, at);
  }
  void TypeAndPress(const QString& text, Qt::Key key) {
    QLineEdit* line = comboBox_->lineEdit();
    line->clear();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, key);
  }
  std::string LastLogMessage() const {
    const std::string& line = form_->Log().LogLines().back();
    const size_t at = line.find("]  ");
    return at == std::string::npos ? line : line.substr(at + 3);
  }

 private slots:
  void init() {
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    previousDirectory_ = QDir::currentPath();
    QDir::setCurrent(work_->path());
    TMainFormSetup setup;
    setup.LogDirectories = {work_->filePath("log").toStdString()};
    setup.ScratchFallbackDirectory = work_->filePath("fallback").toStdString();
    setup.DocumentUi = &ui_;
    setup.Clock = [] { return std::string("09:30:00"); };
    QDir(work_->path()).mkpath(QStringLiteral("log"));
    windows_ = CreateApplicationWindows(setup);
    surface_ = Find<TDiagramSurface>("DiagramSurface");
    comboBox_ = Find<QComboBox>("ComboBox1");
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

  void cleanup() {
    windows_ = TApplicationWindows();
    QDir::setCurrent(previousDirectory_);
    work_.reset();
  }

  void addStatementWithTheToolButtonAndEnter() {
    Find<QToolButton>("StatementToolButton")->click();
    QVERIFY(comboBox_->isVisible());
    QCOMPARE(comboBox_->pos(), QPoint(2, 2));
    TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    QVERIFY(!comboBox_->isVisible());
    QCOMPARE(Assumptions(), std::vector<std::string>{"a"});
    QCOMPARE(LastLogMessage(), std::string("Add assumption: a"));
    QVERIFY(Find<QToolButton>("SupportToolButton")->isEnabled());  // the new statement is selected
  }

  void clickOnABoxSelectsItAndOffersItsCommands() {
    Find<QToolButton>("StatementToolButton")->click();
    TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    QTest::mouseClick(surface_, Qt::LeftButton, {}, QPoint(300, 200));  // the empty surface
    QVERIFY(!Find<QToolButton>("SupportToolButton")->isEnabled());
    QCOMPARE(Panel(0), QStringLiteral("(16, 6)"));
    ClickBox("a");
    QCOMPARE(Panel(2), QStringLiteral("a"));
    QCOMPARE(Panel(1), QStringLiteral("justified assumption"));
    QVERIFY(Find<QToolButton>("SupportToolButton")->isEnabled());
    QVERIFY(Find<QToolButton>("SetAsIssueToolButton")->isEnabled());
    QVERIFY(!Find<QToolButton>("SetAsAssumptionToolButton")->isEnabled());
    QVERIFY(Find<QAction>("Changeelementarysentence1MenuITem")->isVisible());
  }

  void supportOpensTheBoxOverThePlaceholderAndEnterFillsIt() {
    Find<QToolButton>("StatementToolButton")->click();
    TypeAndPress(QStringLiteral("b"), Qt::Key_Return);
    ClickBox("b");
    Find<QToolButton>("SupportToolButton")->click();
    QVERIFY(comboBox_->isVisible());
    QCOMPARE(comboBox_->currentText(), QString());
    QVERIFY(comboBox_->y() > BoxCentre("b").y());
    TypeAndPress(QStringLiteral("a"), Qt::Key_Enter);
    QVERIFY(!comboBox_->isVisible());
    QCOMPARE(Assumptions(), (std::vector<std::string>{"if(a, b)", "a"}));
    QVERIFY(Find<QToolButton>("AddConjunctToolButton")->isEnabled());
  }

  void editingGoesOnWhileTheEvaluationRunsInTheBackground() {
    TDocument& document = form_->Document();
    document.SetEvaluationRunner(&form_->EvaluationRunner(), std::chrono::milliseconds(0));
    form_->EvaluationRunner().Hold(true);
    Find<QToolButton>("StatementToolButton")->click();
    TypeAndPress(QStringLiteral("b"), Qt::Key_Return);
    QCOMPARE(document.EvaluationState(), TEvaluationState::Running);
    ClickBox("b");
    QCOMPARE(Panel(1), QStringLiteral("assumption"));  // no status while it is unknown

    // Support and its reason, each a change that supersedes the evaluation before.
    Find<QToolButton>("SupportToolButton")->click();
    QVERIFY(comboBox_->isVisible());
    TypeAndPress(QStringLiteral("a"), Qt::Key_Enter);
    QVERIFY(!comboBox_->isVisible());
    QCOMPARE(Assumptions(), (std::vector<std::string>{"if(a, b)", "a"}));
    auto selectedText = [this] {
      const int index = form_->Selection().SelectedIndex;
      return index < 0 ? std::string() : form_->DrawnSentences()[static_cast<size_t>(index)]->Text;
    };
    const std::string selected = selectedText();
    QVERIFY(!selected.empty());

    form_->EvaluationRunner().Hold(false);
    QTRY_COMPARE(document.EvaluationState(), TEvaluationState::Finished);
    QCOMPARE(selectedText(), selected);  // found again in the drawing with statuses
    QVERIFY(Find<QToolButton>("AddConjunctToolButton")->isEnabled());
    ClickBox("b");
    QVERIFY(Panel(1).startsWith(QStringLiteral("justified ")));
  }

  void doubleClickChangesABoxAndEscapeCancels() {
    Find<QToolButton>("StatementToolButton")->click();
    TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    DoubleClickAt(BoxCentre("a"));
    QVERIFY(comboBox_->isVisible());
    QCOMPARE(comboBox_->currentText(), QStringLiteral("a"));
    QCOMPARE(comboBox_->y(), 3);
    TypeAndPress(QStringLiteral("changed"), Qt::Key_Escape);
    QVERIFY(!comboBox_->isVisible());
    QCOMPARE(Assumptions(), std::vector<std::string>{"a"});
    QCOMPARE(LastLogMessage(), std::string("ESCAPE (statement box)"));

    DoubleClickAt(BoxCentre("a"));
    TypeAndPress(QStringLiteral("c"), Qt::Key_Return);
    QCOMPARE(Assumptions(), std::vector<std::string>{"c"});
  }

  void doubleClickOnTheEmptySurfaceAddsAStatement() {
    DoubleClickAt(QPoint(200, 150));
    QVERIFY(comboBox_->isVisible());
    TypeAndPress(QStringLiteral("d"), Qt::Key_Return);
    QCOMPARE(Assumptions(), std::vector<std::string>{"d"});
  }

  void refusedTextKeepsTheBoxOpenAndSaysWhy() {
    Find<QToolButton>("StatementToolButton")->click();
    TypeAndPress(QStringLiteral("a <SENTENCE> b"), Qt::Key_Return);
    QVERIFY(comboBox_->isVisible());
    QCOMPARE(comboBox_->currentText(), QStringLiteral("a <SENTENCE> b"));
    QVERIFY(Panel(2).contains(QStringLiteral("<SENTENCE>")));
    QVERIFY(Assumptions().empty());
    TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    QCOMPARE(Assumptions(), std::vector<std::string>{"a"});
  }

  void rightButtonSelectsBeforeThePopupMenu() {
    Find<QToolButton>("StatementToolButton")->click();
    TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    QTest::mouseClick(surface_, Qt::LeftButton, {}, QPoint(300, 200));
    ClickBox("a", Qt::RightButton);
    QCOMPARE(Panel(2), QStringLiteral("a"));
    QVERIFY(Find<QAction>("Givesupport1MenuITem")->isVisible());
    Find<QAction>("Setasissue1MenuITem")->trigger();
    QVERIFY(Assumptions().empty());
    QCOMPARE(LastLogMessage(), std::string("Add issue: a"));
  }
};

QTEST_MAIN(EditingWindowTest)
#include "editing_window_test.moc"
