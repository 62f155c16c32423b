#include "window_explanation/main_form_explanation.h"

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>
#include <algorithm>
#include <unordered_set>

#include "diagram_qt/acceptance_icons.h"
#include "diagram_qt/derivation_highlight.h"
#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/qt_text.h"
#include "window/main_form.h"
#include "window/main_form_shortcuts.h"
#include "window_editing/main_form_editing.h"
#include "window_explanation/explanation_model.h"
#include "window_explanation/explanation_panel.h"

namespace {

// Puts the item right after `after` in the menu (at its end when missing).
void InsertAfter(QMenu& menu, QAction* after, QAction* item) {
  const QList<QAction*> actions = menu.actions();
  const qsizetype at = actions.indexOf(after);
  menu.insertAction(at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr, item);
}

}  // namespace

TMainFormExplanation::TMainFormExplanation(TMainForm& form, TMainFormEditing& editing,
                                           TAcceptanceView& acceptance)
    : QObject(&form), form_(form), editing_(editing) {
  setObjectName(QStringLiteral("MainFormExplanation"));
  surface_ = form.Widgets().Surface;
  scrollBox_ = form.Widgets().ScrollBox;
  highlight_ = new TDerivationHighlight(*surface_);
  panel_ = new TExplanationPanel(&form);
  form.addDockWidget(Qt::RightDockWidgetArea, panel_);
  panel_->hide();
  panel_->Model().ExplainPremise = [this](const std::string& sentence) {
    return premiseExplainer_ != nullptr ? premiseExplainer_->Explain(sentence) : TExplanation{};
  };
  acceptanceView_ = &acceptance;
  connect(acceptanceView_, &TAcceptanceView::acceptanceChanged, this, [this] {
    if (subject_ && panel_->isVisible() && explainer_) explainSubject();
  });
  connect(panel_, &TExplanationPanel::sentenceChosen, this, &TMainFormExplanation::chooseSentence);
  connect(surface_, &TDiagramSurface::mouseDown, this, &TMainFormExplanation::clearHighlight);
  surface_->installEventFilter(this);
  createItems();
  followDocument();
}

TMainFormExplanation::~TMainFormExplanation() = default;

void TMainFormExplanation::createItems() {
  editItem_ = new QAction(QStringLiteral("&Why?"), &form_);
  editItem_->setObjectName(QStringLiteral("Why2MenuItem"));
  popupItem_ = new QAction(QStringLiteral("&Why?"), &form_);
  popupItem_->setObjectName(QStringLiteral("Why1MenuItem"));
  const TMainFormWidgets& widgets = form_.Widgets();
  InsertAfter(*widgets.EditMenu, widgets.EditMenuItems.Properties, editItem_);
  InsertAfter(*widgets.PopupMenu, widgets.PopupMenuItems.Properties, popupItem_);
  for (QAction* item : {editItem_, popupItem_})
    connect(item, &QAction::triggered, this, &TMainFormExplanation::Why1Click);
  ApplyShortcuts(form_, {editItem_, popupItem_});  // the table holds the items' key
  // Greyed in an open menu while nothing is selected; the key always reaches
  // Why1Click, which then does nothing.
  for (QMenu* menu : {widgets.EditMenu, widgets.PopupMenu}) {
    connect(menu, &QMenu::aboutToShow, this, [this] {
      const bool selected = form_.Selection().SelectedIndex >= 0;
      editItem_->setEnabled(selected);
      popupItem_->setEnabled(selected);
    });
    connect(menu, &QMenu::aboutToHide, this, [this] {
      editItem_->setEnabled(true);
      popupItem_->setEnabled(true);
    });
  }
}

// Every redraw moves the boxes: the rings find them again.
void TMainFormExplanation::LaidOut(bool complete) {
  if (complete) highlight_->Refind();
}

// A new state (an edit, a finished evaluation, another interpretation)
// explains the same sentence again while the panel is open.
void TMainFormExplanation::explainAgain() {
  acceptanceExplainer_.reset();
  acceptance_.reset();
  premiseExplainer_ = nullptr;
  explainer_.reset();
  if (subject_ && panel_->isVisible()) explainSubject();
}

void TMainFormExplanation::followDocument() {
  form_.Document().AddListener(*this);
  connect(&form_, &TMainForm::documentReplaced, this, [this] {
    subject_.reset();
    acceptanceExplainer_.reset();
    acceptance_.reset();
    premiseExplainer_ = nullptr;
    explainer_.reset();
    clearHighlight();
    panel_->ShowMessage(QString());
  });
}

void TMainFormExplanation::Why1Click() {
  const int selected = form_.Selection().SelectedIndex;
  const TListOfKorvelSentences& drawn = form_.DrawnSentences();
  if (selected < 0 || static_cast<size_t>(selected) >= drawn.size()) return;
  subject_ = drawn[static_cast<size_t>(selected)]->Text;
  form_.Log().LogActions({"", "Why: " + *subject_});
  explainSubject();
  const bool first = !panel_->isVisible() && !panelShownBefore_;
  panel_->show();
  panel_->raise();
  // Wide enough at first for a line of the tree; the user may resize it.
  if (first) form_.resizeDocks({panel_}, {std::max(360, form_.width() * 2 / 5)}, Qt::Horizontal);
  panelShownBefore_ = true;
}

void TMainFormExplanation::explainSubject() {
  const TDocument& document = form_.Document();
  const int shown = document.ShowsStatuses() ? document.ShownInterpretation() : -1;
  const auto& interpretations = document.Interpretations();
  const bool hasShown = shown >= 0 && static_cast<size_t>(shown) < interpretations.size();
  if (!explainer_) {
    const TListOfKorvelSentences shownList =
        hasShown ? interpretations[static_cast<size_t>(shown)] : TListOfKorvelSentences{};
    explainer_ = std::make_unique<TExplainer>(document.Theory(), hasShown ? &shownList : nullptr);
  }
  if (!explainer_->IsSentence(*subject_)) {
    panel_->ShowMessage(FromBytes(*subject_) + QStringLiteral(" is no longer a sentence of the theory."));
    clearHighlight();
    return;
  }
  QString note;
  QIcon rootIcon;
  std::optional<TExplanation> withAcceptance = explainWithAcceptance(shown, note, rootIcon);
  if (!withAcceptance) premiseExplainer_ = explainer_.get();
  TExplanation explanation = withAcceptance ? std::move(*withAcceptance) : explainer_->Explain(*subject_);
  // Every text the explanation uses has a line of its own, except a
  // conditional that would give an open sentence; repeats add nothing.
  std::unordered_set<std::string> texts;
  texts.reserve(explanation.Lines.size() / 2 + 1);
  for (const auto& line : explanation.Lines) {
    if (line.Kind == TStepKind::ShownAbove) continue;
    texts.insert(line.Sentence);
    if (line.Kind == TStepKind::WouldGive) texts.insert(line.Conditional);
  }
  QString heading = withAcceptance ? QStringLiteral("Acceptance over all interpretations")
                    : hasShown      ? QStringLiteral("Interpretation %1 of %2")
                                     .arg(shown + 1)
                                     .arg(static_cast<qulonglong>(interpretations.size()))
                                    : QStringLiteral("No dialectical interpretation is shown");
  if (!note.isEmpty()) heading += QStringLiteral("; ") + note;
  panel_->ShowExplanation(heading, std::move(explanation), rootIcon);
  highlight_->SetTexts(std::move(texts));
}

std::optional<TExplanation> TMainFormExplanation::explainWithAcceptance(int shown, QString& note,
                                                                       QIcon& rootIcon) {
  if (!acceptanceView_->Checked() || !acceptanceView_->Wanted())
    return std::nullopt;
  std::shared_ptr<const TAcceptanceView::TResult> result = acceptanceView_->ResultShown();
  if (!result) {
    note = acceptanceView_->Computing() ? QStringLiteral("acceptance over all interpretations is being computed")
                                        : QStringLiteral("acceptance over all interpretations was stopped");
    return std::nullopt;
  }
  if (result != acceptance_ || !acceptanceExplainer_) {
    acceptanceExplainer_.reset();
    acceptance_ = std::move(result);
    // The result was computed on a copy of this theory: its witnesses are
    // positions among the same assumptions.
    acceptanceExplainer_ = std::make_unique<TAcceptanceExplainer>(
        form_.Document().Theory(), acceptance_->Acceptance, acceptance_->Texts,
        form_.Document().Interpretations(), shown, explainer_.get());
  }
  if (!acceptanceExplainer_->Covers(*subject_)) {
    note = QStringLiteral("acceptance is computed for assumptions and issues");
    return std::nullopt;
  }
  TExplanation explanation = acceptanceExplainer_->Explain(*subject_);
  premiseExplainer_ = acceptanceExplainer_->InterpretationExplainer();
  const auto at = acceptance_->IndexOf.find(*subject_);
  if (acceptance_->Acceptance.HasInterpretation && at != acceptance_->IndexOf.end() &&
      at->second < acceptance_->Acceptance.Texts.size())
    rootIcon = QIcon(QPixmap::fromImage(
        AcceptanceIcon(TAcceptanceView::IconOf(acceptance_->Acceptance.Texts[at->second]))));
  return explanation;
}

void TMainFormExplanation::chooseSentence(const std::string& text) {
  const int tag = surface_->Context().DrawnIndexOfText(text);
  if (tag < 0) return;
  const auto& elements = surface_->Drawing().Elements;
  int target = -1;
  for (const TElementKind kind : {TElementKind::Frame, TElementKind::Bar}) {
    for (size_t i = 0; i < elements.size() && target < 0; ++i)
      if (elements[i].Kind == kind && elements[i].Tag == tag && !surface_->IsElementHidden(static_cast<int>(i)))
        target = static_cast<int>(i);
    if (target >= 0) break;
  }
  if (target < 0) return;
  const TBounds& box = elements[static_cast<size_t>(target)].Bounds;
  const QPoint centre(box.Left + box.Width / 2, box.Top + box.Height / 2);
  editing_.Editor().ScrollBox1MouseDown(target, {centre.x(), centre.y()}, form_.isActiveWindow());
  if (scrollBox_ != nullptr) {
    const QRect shown = surface_->ToWidget(QRect(box.Left, box.Top, box.Width, box.Height));
    scrollBox_->ensureVisible(shown.center().x(), shown.center().y(), shown.width() / 2 + 8, shown.height() / 2 + 8);
  }
}

void TMainFormExplanation::clearHighlight() { highlight_->SetTexts({}); }

bool TMainFormExplanation::eventFilter(QObject* watched, QEvent* event) {
  if (watched == surface_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) clearHighlight();
  }
  return QObject::eventFilter(watched, event);
}

TMainFormExplanation* AttachExplanation(TMainForm& form, TMainFormEditing& editing, TAcceptanceView& acceptance) {
  return new TMainFormExplanation(form, editing, acceptance);
}
