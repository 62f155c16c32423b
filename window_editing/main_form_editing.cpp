#include "window_editing/main_form_editing.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <utility>

#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/qt_text.h"
#include "window/main_form.h"
#include "window/main_form_shortcuts.h"
#include "window_editing/diagram_keyboard_focus.h"

namespace {

// Without entries the statement box is a plain edit line: no drop-down arrow.
const char* kNoListStyle = "QComboBox::drop-down { width: 0px; border: none; }";

}  // namespace

TMainFormEditing::TMainFormEditing(TMainForm& form) : QObject(&form), form_(form) {
  const TMainFormWidgets& widgets = form.Widgets();
  surface_ = widgets.Surface;
  scrollBox_ = widgets.ScrollBox;
  comboBox_ = widgets.StatementBox;
  panels_ = widgets.StatusPanels;
  editor_ = std::make_unique<TArgumentEditor>(form.Document(), surface_->Context(), form.Selection(), form.Log());
  editor_->SetView(this);
  editor_->SetHitIndex(&surface_->HitIndex());
  history_ = std::make_unique<TEditHistory>(form.Document(), *editor_, form.Log());
  editor_->SetScrollBoxGeometry(0, scrollBox_->width());

  form.Document().AddListener(*this);

  connectDiagram();
  connectStatementBox();
  connectCommands();
  followLifecycle();
  createHistoryActions();
  connectKeyboard();
  // The keys of the window's items: the File and Options menus', Undo and
  // Redo, and the editing menus'.
  QList<QAction*> keyed = {widgets.New, widgets.Open, widgets.Save, widgets.SaveAs, widgets.Exit,
                           undo_, redo_, widgets.ShowStructureOnly, widgets.ParseSentences};
  keyed += widgets.EditMenuItems.All();
  keyed += widgets.PopupMenuItems.All();
  ApplyShortcuts(form_, keyed);
  GuardEditingKeys(widgets);
  ShowDiagramFocusFrame(widgets);
  OpenPopupMenuFromKeyboard(widgets);
  NameControlsForAssistiveTechnology(widgets);
}

void TMainFormEditing::LaidOut(bool complete) {
  const TArgumentEditor::TCarriedSelection carried = std::move(carried_.back());
  carried_.pop_back();
  editor_->EndRedraw(carried, complete);
  if (complete) surface_->SetSelectedTag(form_.Selection().SelectedIndex);
}

// Destroyed with the window's children, after the document: nothing of the
// document may be touched here.
TMainFormEditing::~TMainFormEditing() = default;

void TMainFormEditing::connectDiagram() {
  connect(surface_, &TDiagramSurface::mouseDown, this, [this](const TDiagramHit& hit) {
    std::optional<int> element;
    if (!hit.IsSurface()) element = hit.Element;
    editor_->ScrollBox1MouseDown(element, {hit.Position.x(), hit.Position.y()}, form_.isActiveWindow());
  });
  connect(surface_, &TDiagramSurface::doubleClicked, this, [this](const TDiagramHit& hit) {
    std::optional<int> element;
    if (!hit.IsSurface()) element = hit.Element;
    const bool adds = form_.Selection().SelectedIndex == -1;
    run(adds ? "Add statement" : "Change elementary sentence",
        [&] { editor_->ScrollBox1DblClick(element, form_.isActiveWindow()); });
  });
  scrollBox_->installEventFilter(this);
}

void TMainFormEditing::connectStatementBox() {
  comboBox_->setEditable(true);
  comboBox_->setInsertPolicy(QComboBox::NoInsert);
  // Exactly the typed text is used: no inline completion from the list,
  // which would replace "cost" by "cost is high" (ignoring case, too).
  comboBox_->setCompleter(nullptr);
  comboBox_->installEventFilter(this);
  if (comboBox_->lineEdit()) comboBox_->lineEdit()->installEventFilter(this);
  connect(comboBox_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!showingBox_) editor_->SetStatementText(ToBytes(text));
  });
}

void TMainFormEditing::run(const char* title, const std::function<void()>& command) {
  // A command may change the flags and roles the boxes are drawn with: any
  // marks still waiting to be drawn are drawn first, as they were asked for.
  if (surface_ != nullptr) surface_->Drawing();
  history_->Run(title, command);
}

void TMainFormEditing::connectCommands() {
  TArgumentEditor& editor = *editor_;
  const TMainFormWidgets& widgets = form_.Widgets();
  const TEditingItems& edit = widgets.EditMenuItems;
  const TEditingItems& popup = widgets.PopupMenuItems;
  // Each command runs as a step of the undo history, titled as it logs itself.
  auto bind = [&](QAction* TEditingItems::*item, const char* title, auto command) {
    for (QAction* action : {edit.*item, popup.*item})
      connect(action, &QAction::triggered, this, [this, title, command] { run(title, command); });
  };
  bind(&TEditingItems::Setasassumption, "Set as assumption", [&editor] { editor.Setasassumption1Click(); });
  bind(&TEditingItems::Setasissue, "Set as issue", [&editor] { editor.Setasissue1Click(); });
  bind(&TEditingItems::Changeelementarysentence, "Change elementary sentence",
       [&editor] { editor.Changeelementarysentence1Click(); });
  bind(&TEditingItems::Addconjunct, "Add conjunct", [&editor] { editor.Addconjunct1Click(); });
  bind(&TEditingItems::AddElementarySentence, "Add statement", [&editor] { editor.Addstatement1Click(); });
  bind(&TEditingItems::Adddialecticalnegation, "Add dialectical negation",
       [&editor] { editor.Adddialecticalnegation2Click(); });
  bind(&TEditingItems::Givesupport, "Support", [&editor] { editor.Givesupport1Click(); });
  bind(&TEditingItems::Attack, "Attack", [&editor] { editor.Attack1Click(); });
  bind(&TEditingItems::Delete, "Delete", [&editor] { editor.Delete1Click(); });
  bind(&TEditingItems::Deleteconjunct, "Delete conjunct", [&editor] { editor.Deleteconjunct1menuitemClick(); });

  auto button = [&](QToolButton* toolButton, const char* title, auto command) {
    connect(toolButton, &QToolButton::clicked, this, [this, title, command] { run(title, command); });
  };
  button(widgets.StatementButton, "Add statement", [&editor] { editor.Addstatement1Click(); });
  button(widgets.SetAsAssumptionButton, "Set as assumption", [&editor] { editor.Setasassumption1Click(); });
  button(widgets.SetAsIssueButton, "Set as issue", [&editor] { editor.Setasissue1Click(); });
  button(widgets.SupportButton, "Support", [&editor] { editor.Givesupport1Click(); });
  button(widgets.AttackButton, "Attack", [&editor] { editor.Attack1Click(); });
  button(widgets.AddConjunctButton, "Add conjunct", [&editor] { editor.Addconjunct1Click(); });
}

void TMainFormEditing::followLifecycle() {
  // Connected after the window's own handlers, so they run first.
  auto closedByWindow = [this] {
    if (!comboBox_->isVisible() && editor_->StatementBox().Visible) editor_->CloseStatementBox();
  };
  const TMainFormWidgets& widgets = form_.Widgets();
  connect(widgets.New, &QAction::triggered, this, closedByWindow);
  connect(widgets.Open, &QAction::triggered, this, closedByWindow);
  connect(widgets.NewButton, &QToolButton::clicked, this, closedByWindow);
  connect(widgets.OpenButton, &QToolButton::clicked, this, closedByWindow);
  // A new document has nothing to undo.
  connect(&form_, &TMainForm::documentReplaced, this, [this, closedByWindow] {
    closedByWindow();
    history_->Clear();
  });
}

void TMainFormEditing::StatementBoxChanged(const TStatementBox& box) {
  showingBox_ = true;
  comboBox_->clear();
  for (const std::string& item : box.Items) comboBox_->addItem(FromBytes(item));
  comboBox_->setStyleSheet(box.ShowsList ? QString() : QString::fromUtf8(kNoListStyle));
  comboBox_->setEditText(FromBytes(box.Text));
  comboBox_->resize(box.Width, comboBox_->height());
  surface_->PlaceChild(comboBox_, QPoint(box.Left, box.Top));  // follows the zoom
  comboBox_->setVisible(box.Visible);
  if (box.Visible) {
    comboBox_->raise();
    // The surface reaches below the box, and the box is scrolled into view,
    // so that the user never types where the text cannot be seen.
    const int bottom = box.Top + comboBox_->height() + 4;
    if (surface_->minimumHeight() < bottom) surface_->setMinimumHeight(bottom);
    if (surface_->height() < bottom) surface_->resize(surface_->width(), bottom);
    if (scrollBox_) scrollBox_->ensureWidgetVisible(comboBox_, 8, 8);
    if (box.Focused) comboBox_->setFocus(Qt::OtherFocusReason);
  }
  showingBox_ = false;
}

void TMainFormEditing::DiagramElementHidden(int element) { surface_->SetElementHidden(element, true); }

void TMainFormEditing::StatusPanelsChanged(const TStatusPanels& panels) {
  for (size_t i = 0; i < panels.size(); ++i) panels_[i]->setText(FromBytes(panels[i]));
}

void TMainFormEditing::CommandAvailabilityChanged(const TCommandAvailability&) {
  // The window shows the same offers from the same selection and drawing.
  form_.UpdateCommandAvailability();
  if (scrollBox_) scrollBox_->Tag = form_.Selection().SelectedIndex;
  surface_->SetSelectedTag(form_.Selection().SelectedIndex);
}

bool TMainFormEditing::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == scrollBox_) {
    editor_->SetScrollBoxGeometry(0, scrollBox_->width());
    editor_->FormResize(scrollBox_->width());
  } else if (event->type() == QEvent::KeyPress && watched == surface_) {
    const auto* press = static_cast<QKeyEvent*>(event);
    if (press->modifiers() == Qt::NoModifier || press->modifiers() == Qt::KeypadModifier)
      if (diagramKeyPressed(press->key())) return true;
  } else if (event->type() == QEvent::KeyPress &&
             (watched == comboBox_ || watched == comboBox_->lineEdit())) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      editor_->SetStatementText(ToBytes(comboBox_->currentText()));
      run("Change elementary sentence", [this] { editor_->ComboBox1KeyDown(kEnterKey); });
      returnFocusToDiagram();
      return true;
    }
    if (key == Qt::Key_Escape) {
      run("Change elementary sentence", [this] { editor_->ComboBox1KeyDown(kEscapeKey); });
      returnFocusToDiagram();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

// A closed statement box hands the keyboard back to the diagram, where the
// arrow keys and the editing keys go on (not to the next widget in the chain).
void TMainFormEditing::returnFocusToDiagram() {
  if (!comboBox_->isVisible()) surface_->setFocus(Qt::OtherFocusReason);
}

TMainFormEditing* AttachArgumentEditing(TMainForm& form) { return new TMainFormEditing(form); }
