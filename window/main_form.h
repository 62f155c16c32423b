// The main window: the band of tool bars with the menu bar, the pages of the
// file text, the report and the diagram, the interpretation bar and the status
// bar. It holds the document and the selection and wires the widgets to the
// document's commands; the commands themselves run in TDocument. Its features
// (evaluation control, acceptance, pictures, inspection, editing, Find, "Why?")
// live in folders of their own and reach its widgets through Widgets().
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "document/action_log.h"
#include "document/document.h"
#include "document/selection_state.h"
#include "document/unsaved_work.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class TDiagramScrollBox;
class TInterpretationNavigator;
class TQtEvaluationRunner;
class TQtRefreshRunner;
class TReportView;
class TDiagramSurface;
class QTabWidget;
class QTextEdit;
class QToolBar;
class QToolButton;

// Where the window keeps its files and how it asks the user; the defaults are
// the desktop's, tests give temporary places and scripted dialogs.
struct TMainFormSetup {
  // Candidate directories of UserAction.log, best first.
  std::vector<std::string> LogDirectories;
  // Where the scratch file goes when the working directory refuses it.
  std::string ScratchFallbackDirectory;
  // Replaces the dialogs and message boxes when given.
  TDocumentUi* DocumentUi = nullptr;
  // Replaces the clock of the log when given.
  TActionLog::TClock Clock;
  // How long a refresh evaluates in line before the evaluation goes on in
  // the background (0: at once); short evaluations show without a flicker.
  int EvaluationInlineMilliseconds = 40;
  // How long the window waits for a refresh built on another thread before
  // it goes on answering (with a busy indicator) until the refresh is done.
  int RefreshQuietMilliseconds = 40;
  // A drawing of at least this many elements gets new marks (another
  // interpretation, an evaluation's result) drawn on the refresh runner's
  // thread while the window shows the old ones; a smaller one in line. A
  // refresh of a theory drawn this large is waited for without a quiet time.
  size_t RemarkAsideElements = 100000;
  // This instance's own scratch file when another instance holds the working
  // directory's "~tmp.kvl"; empty for that one.
  std::string ScratchFileName;
};

// The executable's directory, then the user's application-data directory.
TMainFormSetup DefaultMainFormSetup();

// The menu items of one editing menu (the Edit menu or PopupMenu1), which
// share captions, order and initial states.
struct TEditingItems {
  QAction* Setasassumption = nullptr;
  QAction* Setasissue = nullptr;
  QAction* Changeelementarysentence = nullptr;
  QAction* Addconjunct = nullptr;
  QAction* AddElementarySentence = nullptr;
  QAction* Adddialecticalnegation = nullptr;
  QAction* Givesupport = nullptr;
  QAction* Attack = nullptr;
  QAction* Delete = nullptr;
  QAction* Deleteconjunct = nullptr;
  QAction* Match = nullptr;
  QAction* Instantiate = nullptr;
  QAction* Properties = nullptr;

  // Every item, in the order of the menu.
  QList<QAction*> All() const;
};

// The widgets and items of the main window that its features act on or add
// theirs to, handed out typed. Their object names (in quotes) stay what
// tests and assistive technology know them by.
struct TMainFormWidgets {
  // MainMenu1's menus and the diagram's pop-up menu.
  QMenu* FileMenu = nullptr;     // "File1"
  QMenu* EditMenu = nullptr;     // "Edit1"
  QMenu* OptionsMenu = nullptr;  // "Options1"
  QMenu* PopupMenu = nullptr;    // "PopupMenu1"
  // The items of the File and Options menus; the separator above Exit ("N16").
  QAction* New = nullptr;
  QAction* Open = nullptr;
  QAction* Save = nullptr;
  QAction* SaveAs = nullptr;
  QAction* Exit = nullptr;
  QAction* ExitSeparator = nullptr;
  QAction* ShowStructureOnly = nullptr;
  QAction* ParseSentences = nullptr;
  QAction* ShowDialecticalNegations = nullptr;
  // The editing items of the Edit menu ("Delete2MenuITem", ...) and of
  // PopupMenu1 ("Delete1MenuITem", ...).
  TEditingItems EditMenuItems;
  TEditingItems PopupMenuItems;
  // The menu bar "ToolBar3" with the button of the Options menu; "ToolBar1"
  // (New, Open, Save) and "ToolBar4" (the editing buttons).
  QToolBar* MenuBar = nullptr;
  QToolButton* OptionsMenuButton = nullptr;
  QToolBar* FileToolBar = nullptr;
  QToolBar* EditingToolBar = nullptr;
  QToolButton* NewButton = nullptr;
  QToolButton* OpenButton = nullptr;
  QToolButton* StatementButton = nullptr;
  QToolButton* SetAsAssumptionButton = nullptr;
  QToolButton* SetAsIssueButton = nullptr;
  QToolButton* SupportButton = nullptr;
  QToolButton* AttackButton = nullptr;
  QToolButton* AddConjunctButton = nullptr;
  // The pages "TextBasedKorvelPageControl" with the diagram's page "TabSheet1";
  // the report "RichEdit2"; "ScrollBox1" with the "DiagramSurface" and on it
  // the statement box "ComboBox1".
  QTabWidget* Pages = nullptr;
  QWidget* DiagramPage = nullptr;
  TReportView* Report = nullptr;
  TDiagramScrollBox* ScrollBox = nullptr;
  TDiagramSurface* Surface = nullptr;
  QComboBox* StatementBox = nullptr;
  // "MainStatusBar" and its panels "StatusPanel0" to "StatusPanel2".
  QStatusBar* StatusBar = nullptr;
  std::array<QLabel*, 3> StatusPanels{};
};

class TLabelWidthCache;

// Its members live in several files:
//   construction, the widgets handed out, start-up, close request, resize,
//   caption: main_form.cpp
//   the items of the menus from the table: main_form_actions.cpp
//   the menus and the menu bar: main_form_menus.cpp
//   the file and editing tool bars: main_form_toolbars.cpp
//   the pages, the diagram, the status bar and a refresh shown on them: main_form_views.cpp
//   the File and Options commands, the interpretation bar, the offers: main_form_commands.cpp
//   the offer of work a crash left: main_form_recovery.cpp
class TMainForm : public QMainWindow, private TDocumentListener {
  Q_OBJECT

 public:
  explicit TMainForm(TMainFormSetup setup = DefaultMainFormSetup(), QWidget* parent = nullptr);
  ~TMainForm() override;

  TDocument& Document() { return *document_; }
  TActionLog& Log() { return log_; }
  // The widgets its features act on.
  const TMainFormWidgets& Widgets() const { return widgets_; }
  TSelectionState& Selection() { return selection_; }
  // The thread pool the document's evaluations run on.
  TQtEvaluationRunner& EvaluationRunner() { return *evaluationRunner_; }
  // The thread refreshes are built on.
  TQtRefreshRunner& RefreshRunner() { return *refreshRunner_; }
  // The windows that the hidden Help and Test menus open.
  void SetLegendForm(QWidget* form) { legendForm_ = form; }
  void SetTestForm(QWidget* form) { testForm_ = form; }

  // --- commands of the File and Options menus and the interpretation bar
  void New1Click();
  void Open1Click();
  // Opens a file named from outside (command line, drop) as Open would.
  bool OpenFile(const std::string& path);
  // Offers the work a crash left in the scratch file, which start-up set
  // aside; whether it became the document.
  bool OfferRecovery();
  void Save1Click();
  void SaveAs1Click();
  void Exit1Click();
  void Showstructureonly1Click();
  void Parsesentences1Click();
  void Showdialecticalnegations1Click();
  void ShowInterpretation(QAbstractButton* sender);
  // Shows and enables the editing items that the selection offers.
  void UpdateCommandAvailability();
  void Edit1Click() { UpdateCommandAvailability(); }

  // The sentences of the current drawing, in diagram-index order.
  const TListOfKorvelSentences& DrawnSentences() const;

 signals:
  // New or Open replaced the document (the undo history starts afresh).
  void documentReplaced();

 protected:
  void closeEvent(QCloseEvent* event) override;  // the close request
  // Follows the size of ScrollBox1, which changes with the window's.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  // The statement box spans the diagram's width.
  void FormResize();
  void createActions();
  void createEditingItems(TEditingItems& items, int nameColumn);
  void createMenus();
  void createControlBar();
  void createFileToolBar();
  void createEditingToolBar();
  void createPages();
  void createDiagramPage();
  void createStatusBar();
  void connectCommands();
  // Fills widgets_ from the widgets made.
  void collectWidgets();

  // The window's own listener, added first: it fills the views and the
  // diagram before any feature of the window hears the same announcement.
  void Refreshed() override { showDocument(); }
  void EvaluationFinished() override { showEvaluation(); }
  void InterpretationShown() override { adoptDiagram(); }
  // Views after a refresh: caption, texts, status bar, interpretation bar, diagram.
  void showDocument();
  // The evaluation's part: report, panel 2, interpretation bar.
  void showEvaluation();
  void rebuildInterpretationBar();
  // The layout step of every refresh and of ShowInterpretation.
  void layoutDiagram(TKorvelTheory& theory, const TListOfKorvelSentences& allSentences);
  // After a refresh the drawing looks its roles up in the document's theory.
  void adoptDiagram();
  // The layout a refresh makes on another thread, in the surface's font.
  void prepareLayoutsAside();
  void remarkDiagram();
  void updateCaption();
  // New and Open: forget the selection, recompute the offers, close the statement box.
  void resetSelection();

  TMainFormSetup setup_;
  TActionLog log_;
  std::unique_ptr<TDocumentUi> ownUi_;
  std::unique_ptr<TTheoryFileWriter> writer_;
  // Before the document: it outlives the document's evaluations.
  std::unique_ptr<TQtEvaluationRunner> evaluationRunner_;
  std::unique_ptr<TQtRefreshRunner> refreshRunner_;
  // The sentences of the lists, in order, that the drawing's lookups of the
  // theory were made for (assumptions, a null, issues); a sentence's text
  // never changes, so the same objects in the same order need no new lookups.
  std::vector<const TKorvelSentence*> indexedLists_;
  // The label widths of the layouts made aside, kept from one to the next
  // while the surface's font stays the one they were measured in.
  std::shared_ptr<TLabelWidthCache> asideWidths_;
  QString asideWidthsFont_;
  static std::vector<const TKorvelSentence*> ListsOf(const TKorvelTheory& theory);
  std::shared_ptr<const std::vector<std::string>> shownFileLines_;
  std::shared_ptr<const TReportText> shownReportLines_;
  std::unique_ptr<TDocument> document_;
  TSelectionState selection_;
  std::optional<TUnsavedWork> unsavedWork_;
  QPointer<QWidget> legendForm_;
  QPointer<QWidget> testForm_;
  TMainFormWidgets widgets_;

  // --- actions of MainMenu1
  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
  QMenu* Options1 = nullptr;
  QMenu* Help1 = nullptr;
  QMenu* Test1 = nullptr;
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* SaveAs1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* N16 = nullptr;
  QAction* Showstructureonly1 = nullptr;
  QAction* Parsesentences1 = nullptr;
  QAction* Showdialecticalnegations1 = nullptr;
  QAction* Legend1 = nullptr;
  QAction* Test2 = nullptr;
  TEditingItems editMenuItems_;
  TEditingItems popupMenuItems_;
  QMenu* PopupMenu1 = nullptr;

  // --- tool bars
  QWidget* ControlBar1 = nullptr;
  QToolBar* ToolBar3 = nullptr;
  QToolButton* Options1ToolButton = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QToolBar* ToolBar4 = nullptr;
  QToolButton* NewToolButton = nullptr;
  QToolButton* OpenToolButton = nullptr;
  QToolButton* SaveToolButton = nullptr;
  QToolButton* StatementToolButton = nullptr;
  QToolButton* SetAsAssumptionToolButton = nullptr;
  QToolButton* SetAsIssueToolButton = nullptr;
  QToolButton* SupportToolButton = nullptr;
  QToolButton* AttackToolButton = nullptr;
  QToolButton* AddConjunctToolButton = nullptr;

  // --- pages
  QTabWidget* TextBasedKorvelPageControl = nullptr;
  QWidget* FileTabSheet = nullptr;
  QWidget* TheoryTabSheet = nullptr;
  QWidget* ConsequencesTabSheet = nullptr;
  QWidget* TabSheet1 = nullptr;
  TReportView* RichEdit1 = nullptr;
  TReportView* RichEdit2 = nullptr;
  QTextEdit* RichEdit3 = nullptr;
  TDiagramScrollBox* ScrollBox1 = nullptr;
  TDiagramSurface* diagramSurface_ = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QToolBar* ToolBar2 = nullptr;
  QButtonGroup* interpretationButtons_ = nullptr;
  TInterpretationNavigator* interpretationNavigator_ = nullptr;

  // --- status bar: three panels
  std::array<QLabel*, 3> statusPanels_{};
};
