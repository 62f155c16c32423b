// The page control, the diagram page with the interpretation bar, the status
// bar, and how a refresh shows up on them.
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "diagram/diagram_layout.h"
#include "diagram/diagram_redraw.h"
#include "diagram_qt/diagram_picture.h"
#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/qt_text.h"
#include "refresh/refresh_progress.h"
#include "window/interpretation_navigator.h"
#include "window/main_form.h"
#include "window/main_form_parts.h"
#include "window/qt_refresh_runner.h"
#include "window/report_view.h"
#include "window/status_panel.h"

namespace {

QTextEdit* MakeTextView(QWidget* page, const char* name) {
  auto* view = new QTextEdit(page);
  view->setObjectName(QString::fromUtf8(name));
  view->setReadOnly(true);
  view->setLineWrapMode(QTextEdit::NoWrap);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  return view;
}

QWidget* AddPage(QTabWidget* pages, const char* name, const char* caption) {
  auto* page = new QWidget(pages);
  page->setObjectName(QString::fromUtf8(name));
  pages->addTab(page, QString::fromUtf8(caption));
  return page;
}

// A view of many lines on a page of its own, with both scroll bars.
TReportView* MakeLinesView(QWidget* page, const char* name) {
  auto* view = new TReportView(page);
  view->setObjectName(QString::fromUtf8(name));
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  return view;
}

}  // namespace

void TMainForm::createPages() {
  TextBasedKorvelPageControl = new QTabWidget(this);
  TextBasedKorvelPageControl->setObjectName(QStringLiteral("TextBasedKorvelPageControl"));
  FileTabSheet = AddPage(TextBasedKorvelPageControl, "FileTabSheet", "F&ile");
  // The file and the report can run to a million lines: views that show
  // only the lines in sight.
  RichEdit1 = MakeLinesView(FileTabSheet, "RichEdit1");
  TheoryTabSheet = AddPage(TextBasedKorvelPageControl, "TheoryTabSheet", "T&heory");
  RichEdit2 = MakeLinesView(TheoryTabSheet, "RichEdit2");
  ConsequencesTabSheet = AddPage(TextBasedKorvelPageControl, "ConsequencesTabSheet", "&Consequences");
  RichEdit3 = MakeTextView(ConsequencesTabSheet, "RichEdit3");
  // Nothing fills the consequences page; its tab never shows.
  TextBasedKorvelPageControl->setTabVisible(TextBasedKorvelPageControl->indexOf(ConsequencesTabSheet),
                                            false);
  TabSheet1 = AddPage(TextBasedKorvelPageControl, "TabSheet1", "&Dialectical arguments");
  createDiagramPage();
  TextBasedKorvelPageControl->setCurrentWidget(TabSheet1);
  setCentralWidget(TextBasedKorvelPageControl);
}

// ScrollBox1 over the interpretation bar ToolBar2, which is docked under it.
void TMainForm::createDiagramPage() {
  auto* layout = new QVBoxLayout(TabSheet1);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  ScrollBox1 = new TDiagramScrollBox(TabSheet1);
  ScrollBox1->installEventFilter(this);
  ScrollBox1->setContextMenuPolicy(Qt::CustomContextMenu);
  diagramSurface_ = ScrollBox1->Surface();
  diagramSurface_->setObjectName(QStringLiteral("DiagramSurface"));

  // The statement box (opened by the editing commands) and an unused edit line.
  ComboBox1 = new QComboBox(diagramSurface_);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(true);
  ComboBox1->resize(241, 21);
  ComboBox1->hide();
  Edit2 = new QLineEdit(diagramSurface_);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->hide();
  layout->addWidget(ScrollBox1, 1);

  ToolBar2 = new QToolBar(TabSheet1);
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  ToolBar2->setMovable(false);
  ToolBar2->setFloatable(false);
  ToolBar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
  ToolBar2->hide();
  interpretationButtons_ = new QButtonGroup(ToolBar2);
  interpretationButtons_->setExclusive(true);
  layout->addWidget(ToolBar2);
}

void TMainForm::createStatusBar() {
  auto* bar = new QStatusBar(this);
  bar->setObjectName(QStringLiteral("MainStatusBar"));
  bar->setSizeGripEnabled(true);
  constexpr int kPanelWidths[] = {50, 110, 50};
  const char* const kPanelDescriptions[] = {"Clicked cell", "Status of the selected sentence",
                                            "Selected sentence or evaluation summary"};
  for (size_t i = 0; i < statusPanels_.size(); ++i) {
    // Each panel grows with its text; where the bar has no more room the
    // text is elided and shown whole in the tool tip.
    auto* panel = new TStatusPanel(QString::fromUtf8(kPanelDescriptions[i]), kPanelWidths[i], bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    bar->addWidget(panel, i + 1 < statusPanels_.size() ? 0 : 1);
    statusPanels_[i] = panel;
  }
  setStatusBar(bar);
}

void TMainForm::showDocument() {
  updateCaption();
  // The views hold the last references to the lines they showed: those are
  // let go of on another thread, as a large file's lines take a while.
  auto previous = std::exchange(shownFileLines_, document_->SharedFileLines());
  RichEdit1->SetLines(shownFileLines_);
  refreshRunner_->Release(std::move(previous));
  RichEdit3->clear();
  statusPanels_[0]->clear();
  statusPanels_[1]->clear();
  showEvaluation();
}

void TMainForm::showEvaluation() {
  adoptDiagram();
  auto previous = std::exchange(shownReportLines_, document_->SharedReportLines());
  RichEdit2->SetLines(shownReportLines_);
  refreshRunner_->Release(std::move(previous));
  statusPanels_[2]->setText(FromBytes(document_->InterpretationSummary()));
  rebuildInterpretationBar();
}

// One check-style button per interpretation, "1" down; hidden for fewer than two.
void TMainForm::rebuildInterpretationBar() {
  for (QAbstractButton* button : interpretationButtons_->buttons()) {
    interpretationButtons_->removeButton(button);
    delete button;
  }
  delete interpretationNavigator_;
  interpretationNavigator_ = nullptr;
  ToolBar2->clear();
  const size_t count = document_->InterpretationButtons();
  ToolBar2->setVisible(count > 0);
  if (count > kInterpretationButtonLimit) {
    // Too many for buttons: the navigator, whose choice is a button's press.
    interpretationNavigator_ = new TInterpretationNavigator(count, ToolBar2);
    interpretationNavigator_->setMinimumHeight(41);
    connect(interpretationNavigator_, &TInterpretationNavigator::interpretationChosen, this,
            [this](int index) { document_->ShowInterpretation(index); });
    ToolBar2->addWidget(interpretationNavigator_);
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    auto* button = new QToolButton(ToolBar2);
    button->setObjectName(QStringLiteral("InterpretationButton%1").arg(i + 1));
    button->setText(QString::number(i + 1));
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setMinimumHeight(41);
    button->setProperty("Tag", static_cast<int>(i));
    button->setChecked(i == 0);
    interpretationButtons_->addButton(button);
    ToolBar2->addWidget(button);
  }
}

void TMainForm::layoutDiagram(TKorvelTheory& theory, const TListOfKorvelSentences& allSentences) {
  TDrawContext& context = diagramSurface_->Context();
  if (std::shared_ptr<TDrawContext> prepared = document_->TakePreparedLayout()) {
    // Laid out on another thread in the same font; the surface keeps its
    // own measure, and the drawing replaced is let go of on that thread.
    auto replaced = std::make_shared<TDrawContext>(std::move(context));
    context = std::move(*prepared);
    // Swapped, not copied: the measure made aside holds a cache of widths
    // whose freeing would cost this thread milliseconds.
    std::swap(context.TextWidth, replaced->TextWidth);
    context.LabelHeight = replaced->LabelHeight;
    context.AdoptMovedTheory(&theory);
    indexedLists_ = ListsOf(theory);
    diagramSurface_->DrawingChanged();
    refreshRunner_->Release(std::move(replaced));
    prepareLayoutsAside();  // the surface's font as it is now, for the next one
    return;
  }
  InitDiagramMetrics(context.Metrics);
  context.StructureOnly = !document_->ShowsStatuses();
  context.ShowDialecticalNegations = document_->Options.ShowDialecticalNegations;
  context.Theory = &theory;
  diagramSurface_->DrawArguments(allSentences);
  // The layout made the lookups afresh, and kept them as it added issues.
  indexedLists_ = ListsOf(theory);
}

std::vector<const TKorvelSentence*> TMainForm::ListsOf(const TKorvelTheory& theory) {
  std::vector<const TKorvelSentence*> lists;
  lists.reserve(theory.Assumptions.size() + 1 + theory.Issues.size());
  for (const SentencePtr& sentence : theory.Assumptions) lists.push_back(sentence.get());
  lists.push_back(nullptr);
  for (const SentencePtr& sentence : theory.Issues) lists.push_back(sentence.get());
  return lists;
}

void TMainForm::prepareLayoutsAside() {
  // The font travels as its description: the other thread makes its own
  // font and metrics from it and shares nothing with the surface.
  const QString font = diagramSurface_->font().toString();
  if (!asideWidths_ || font != asideWidthsFont_) {
    asideWidths_ = NewLabelWidthCache();
    asideWidthsFont_ = font;
  }
  document_->PrepareLayout = [font, widths = asideWidths_](TKorvelTheory& theory,
                                                           const TListOfKorvelSentences& sentences,
                                                           bool withStatuses, bool showDialecticalNegations,
                                                           std::function<void()> beforeRolesGiven) {
    auto context = std::make_shared<TDrawContext>();
    context->BeforeRolesGiven = std::move(beforeRolesGiven);
    QFont measured;
    measured.fromString(font);
    MeasureTextWith(*context, measured, widths);
    InitDiagramMetrics(context->Metrics);
    context->StructureOnly = !withStatuses;
    context->ShowDialecticalNegations = showDialecticalNegations;
    context->Theory = &theory;
    {
      // Where the boxes go needs no label's width: the labels are measured
      // beside while the layout finds their places, and are ready when it
      // draws its elements.
      TMeasuringAhead measuring(font, widths, LabelsOfBoxes(sentences, withStatuses, showDialecticalNegations));
      DrawArguments(*context, sentences, 0, 0);
    }
    context->Theory = nullptr;
    return context;
  };
}

void TMainForm::remarkDiagram() {
  TDrawContext& context = diagramSurface_->Context();
  context.StructureOnly = !document_->ShowsStatuses();
  // Under the options the drawing was made with, only what is shown is drawn
  // with the new marks now, the rest while the window is idle.
  if (context.Drawing.Elements.size() < setup_.RemarkAsideElements || CallsRedrawableInPlace(context)) {
    diagramSurface_->RedrawMarks();
    return;
  }
  // Other options (the statuses shown or hidden) change the elements'
  // number: the calls are replayed on another thread into a context of their
  // own, a copy of this one without its elements (CopyForReplay), which stay
  // shown meanwhile; it measures with a font of its own, made from the
  // surface's description. The copy is made on that thread too: on a large
  // drawing it costs tens of milliseconds.
  //
  // The window answers at once while it waits, and so runs its event loop
  // while the other thread reads this context; nothing on this thread writes
  // what the copy reads meanwhile. Painting, hits and the sweep of pending
  // marks only read: every ResolveElements and ResolveCalls draws nothing,
  // since the calls were made under other options than the present ones (set
  // above; CallsRedrawableInPlace). Input that would start a command (a
  // layout, other options, another interpretation, an edit) is held back;
  // Stop and closing find the evaluation finished already (ApplyEvaluation
  // says so before it asks for this), and no other result is pending. A font
  // change rewrites only the measure and the label height, which the copy
  // does not take. Run returns only once the job has ended (its progress is
  // known to nobody else, so nothing stops it), so the references hold.
  const TDrawContext& shown = context;
  std::shared_ptr<TDrawContext> aside;
  const QString font = diagramSurface_->font().toString();
  // The widths the layouts made aside measured serve here too, in their font.
  std::shared_ptr<TLabelWidthCache> widths =
      asideWidths_ && font == asideWidthsFont_ ? asideWidths_ : NewLabelWidthCache();
  refreshRunner_->Run(
      [&aside, &shown, &font, &widths] {
        aside = std::make_shared<TDrawContext>(shown.CopyForReplay());
        QFont measured;
        measured.fromString(font);
        MeasureTextWith(*aside, measured, widths);
        RedrawCalls(*aside);
        aside->IndexHitsAside();
      },
      std::make_shared<TRefreshProgress>(), 0);
  auto replaced = std::make_shared<TDiagramDrawing>(std::move(context.Drawing));
  context.Drawing = std::move(aside->Drawing);
  context.HitsMadeAside = std::move(aside->HitsMadeAside);
  diagramSurface_->DrawingChanged();
  refreshRunner_->Release(std::move(replaced));
  refreshRunner_->Release(std::move(aside));
}

void TMainForm::adoptDiagram() {
  TDrawContext& context = diagramSurface_->Context();
  TKorvelTheory& theory = document_->EditableTheory();
  // After the last layout (an evaluation's end, a stop, another
  // interpretation shown) the lists are usually the ones the lookups were
  // made for, perhaps moved into the document: then they are kept, since
  // making them again costs a large theory milliseconds.
  if (!indexedLists_.empty() && indexedLists_ == ListsOf(theory)) {
    context.AdoptMovedTheory(&theory);
    return;
  }
  context.Theory = &theory;
  context.IndexTheory();
  indexedLists_ = ListsOf(theory);
}

const TListOfKorvelSentences& TMainForm::DrawnSentences() const {
  return diagramSurface_->Context().DrawnSentences;
}
