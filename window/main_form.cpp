#include "window/main_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QStatusBar>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "diagram_qt/diagram_scroll_box.h"
#include "window/qt_document_ui.h"
#include "window/qt_evaluation_runner.h"
#include "window/qt_refresh_runner.h"

// The icons live in a static library; their resources are registered here.
static void InitToolbarIcons() { Q_INIT_RESOURCE(toolbar_icons); }

TMainFormSetup DefaultMainFormSetup() {
  TMainFormSetup setup;
  const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  setup.LogDirectories = {ToPath(QCoreApplication::applicationDirPath())};
  if (!appData.isEmpty()) {
    setup.LogDirectories.push_back(ToPath(appData));
    setup.ScratchFallbackDirectory = ToPath(appData);
  } else {
    setup.ScratchFallbackDirectory = ToPath(QDir::tempPath());
  }
  return setup;
}

TMainForm::TMainForm(TMainFormSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)) {
  InitToolbarIcons();
  if (setup_.Clock) log_ = TActionLog(setup_.Clock);
  if (!setup_.DocumentUi) ownUi_ = std::make_unique<TQtDocumentUi>(this);
  writer_ = std::make_unique<TSaveFileWriter>();
  evaluationRunner_ = std::make_unique<TQtEvaluationRunner>();
  document_ = std::make_unique<TDocument>(setup_.DocumentUi ? *setup_.DocumentUi : *ownUi_, log_,
                                          writer_.get());
  document_->SetEvaluationRunner(evaluationRunner_.get(),
                                 std::chrono::milliseconds(setup_.EvaluationInlineMilliseconds));
  refreshRunner_ = std::make_unique<TQtRefreshRunner>();
  refreshRunner_->SetQuietMilliseconds(setup_.RefreshQuietMilliseconds);
  document_->SetRefreshRunner(refreshRunner_.get());

  createActions();
  createMenus();
  createControlBar();
  createPages();
  createStatusBar();
  connectCommands();
  collectWidgets();
  FormCreate();
}

void TMainForm::collectWidgets() {
  TMainFormWidgets& w = widgets_;
  w.FileMenu = File1;
  w.EditMenu = Edit1;
  w.OptionsMenu = Options1;
  w.PopupMenu = PopupMenu1;
  w.New = New1;
  w.Open = Open1;
  w.Save = Save1;
  w.SaveAs = SaveAs1;
  w.Exit = Exit1;
  w.ExitSeparator = N16;
  w.ShowStructureOnly = Showstructureonly1;
  w.ParseSentences = Parsesentences1;
  w.ShowDialecticalNegations = Showdialecticalnegations1;
  w.EditMenuItems = editMenuItems_;
  w.PopupMenuItems = popupMenuItems_;
  w.MenuBar = ToolBar3;
  w.OptionsMenuButton = Options1ToolButton;
  w.FileToolBar = ToolBar1;
  w.EditingToolBar = ToolBar4;
  w.NewButton = NewToolButton;
  w.OpenButton = OpenToolButton;
  w.StatementButton = StatementToolButton;
  w.SetAsAssumptionButton = SetAsAssumptionToolButton;
  w.SetAsIssueButton = SetAsIssueToolButton;
  w.SupportButton = SupportToolButton;
  w.AttackButton = AttackToolButton;
  w.AddConjunctButton = AddConjunctToolButton;
  w.Pages = TextBasedKorvelPageControl;
  w.DiagramPage = TabSheet1;
  w.Report = RichEdit2;
  w.ScrollBox = ScrollBox1;
  w.Surface = diagramSurface_;
  w.StatementBox = ComboBox1;
  w.StatusBar = statusBar();
  w.StatusPanels = statusPanels_;
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
  setObjectName(QStringLiteral("MainForm"));
  move(66, 23);
  resize(724, 574);
  selection_ = TSelectionState{};
  document_->SetScratchFallbackDirectory(setup_.ScratchFallbackDirectory);
  if (!setup_.ScratchFileName.empty()) {
    document_->SetScratchFileName(setup_.ScratchFileName);
    move(pos() + QPoint(40, 40));  // not exactly over the first instance's window
  }
  document_->AddListener(*this);
  document_->Layout = [this](TKorvelTheory& theory, const TListOfKorvelSentences& sentences) {
    layoutDiagram(theory, sentences);
  };
  document_->Remark = [this] { remarkDiagram(); };
  diagramSurface_->ReleaseReplaced = [this](std::shared_ptr<const void> replaced) {
    refreshRunner_->Release(std::move(replaced));
  };
  refreshRunner_->ExpectsLongJob = [this] {
    return diagramSurface_->Context().Drawing.Elements.size() >= setup_.RemarkAsideElements;
  };
  prepareLayoutsAside();
  // Before New writes the empty theory over work a crash left behind.
  unsavedWork_ = SetAsideUnsavedWork(document_->ScratchFileName(),
                                     LastFileInLog(TActionLog::StoredLines(setup_.LogDirectories)));
  New1Click();  // an unnamed, empty document asks nothing; logging is still off
  log_.Open(setup_.LogDirectories);
  log_.LogAction("");
  log_.LogAction("START OF SESSION");
}

void TMainForm::closeEvent(QCloseEvent* event) {
  document_->StopEvaluation();
  if (refreshRunner_->Waiting()) {
    // The refresh being built ends first (a file's reading is abandoned at
    // once); then the window is asked to close again.
    event->ignore();
    refreshRunner_->WhenIdle(this, [this] { close(); });
    return;
  }
  if (document_->CanClose()) {
    document_->LeaveScratchEmpty();
    event->accept();
  } else {
    event->ignore();
  }
  updateCaption();  // a Yes with a chosen file names the document
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ScrollBox1 && event->type() == QEvent::Resize) FormResize();
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormResize() {
  constexpr int kLeftMargin = 2;
  ComboBox1->resize(ScrollBox1->width() - kLeftMargin - 5, ComboBox1->height());
}

void TMainForm::updateCaption() {
  QString caption = QString::fromStdString(document_->Caption());
  if (!setup_.ScratchFileName.empty()) caption += QStringLiteral(" (second instance, with its own scratch file)");
  setWindowTitle(caption);
}
