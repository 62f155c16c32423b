#include "window_evaluation/main_form_evaluation.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <chrono>

#include "window/main_form.h"
#include "window/qt_refresh_runner.h"

namespace {

// Often enough for a count that visibly moves, rarely enough to cost nothing.
constexpr int kProgressIntervalMs = 100;

bool IsInputEvent(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

// Keys that move about an open menu without choosing anything.
bool MovesInMenu(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Escape:
      return true;
    default:
      return false;
  }
}

// A button of the menu bar: it only drops its menu down, where what is
// chosen is judged.
bool DropsAMenuDown(QObject* watched) {
  auto* button = qobject_cast<QToolButton*>(watched);
  return button && button->popupMode() == QToolButton::InstantPopup && button->defaultAction() &&
         button->defaultAction()->menu();
}

}  // namespace

TMainFormEvaluation::TMainFormEvaluation(TMainForm& form) : QObject(&form), form_(form) {
  panel_ = form.Widgets().StatusPanels[2];
  // Esc is handled here wherever the focus is; the item shows it.
  stop_ = new QAction(QStringLiteral("S&top evaluation\tEsc"), &form);
  stop_->setObjectName(QStringLiteral("Stopevaluation1"));
  stop_->setEnabled(false);
  connect(stop_, &QAction::triggered, this, [this] { form_.Document().StopEvaluation(); });
  again_ = new QAction(QStringLiteral("&Evaluate again"), &form);
  again_->setObjectName(QStringLiteral("Evaluateagain1"));
  again_->setShortcut(QKeySequence(Qt::Key_F5));
  again_->setShortcutContext(Qt::WindowShortcut);
  again_->setEnabled(false);
  form.addAction(again_);
  connect(again_, &QAction::triggered, this, [this] { form_.Document().EvaluateAgain(); });
  QMenu* options = form.Widgets().OptionsMenu;
  options->addSeparator()->setObjectName(QStringLiteral("N17"));
  options->addAction(stop_);
  options->addAction(again_);

  timer_ = new QTimer(this);
  timer_->setInterval(kProgressIntervalMs);
  connect(timer_, &QTimer::timeout, this, &TMainFormEvaluation::showProgress);

  qApp->installEventFilter(this);
  connect(&form.RefreshRunner(), &TQtRefreshRunner::waiting, this, &TMainFormEvaluation::waitForRefresh);

  // After the window's own handlers, which fill panel 2 from the document:
  // the window adds its listener first.
  form.Document().AddListener(*this);
  follow();
}

TMainFormEvaluation::~TMainFormEvaluation() { qApp->removeEventFilter(this); }

QString TMainFormEvaluation::ProgressText(size_t found, double seconds) {
  return QStringLiteral("Evaluating: %1 dialectical interpretations found, %2 s")
      .arg(found)
      .arg(seconds, 0, 'f', 1);
}

void TMainFormEvaluation::follow() {
  const TEvaluationState state = form_.Document().EvaluationState();
  const bool running = state == TEvaluationState::Running;
  stop_->setEnabled(running || waiting_);
  again_->setEnabled(state == TEvaluationState::Stopped && !waiting_);
  if (running || waiting_) {
    showProgress();
    timer_->start();
  } else {
    timer_->stop();
  }
}

void TMainFormEvaluation::showProgress() {
  const TDocument& document = form_.Document();
  if (!panel_) return;
  if (const TRefreshProgress* refresh = document.RunningRefresh(); refresh && waiting_) {
    panel_->setText(QString::fromStdString(RefreshProgressText(*refresh, std::chrono::steady_clock::now())));
    return;
  }
  const TEvaluationControl* control = document.RunningEvaluation();
  if (!control) return;
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - document.EvaluationStart();
  panel_->setText(ProgressText(control->InterpretationsFound.load(std::memory_order_relaxed), elapsed.count()));
}

void TMainFormEvaluation::waitForRefresh(bool waiting) {
  waiting_ = waiting;
  if (waiting) {
    panelBeforeWaiting_ = panel_ ? panel_->text() : QString();
    form_.setCursor(Qt::BusyCursor);
  } else {
    form_.unsetCursor();
    // What the kept state showed; a refresh applied now writes it anew.
    if (panel_) panel_->setText(panelBeforeWaiting_);
  }
  follow();
}

bool TMainFormEvaluation::escapeStops(QObject* watched) const {
  // Menus and dialogs close on their own Esc.
  if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != &form_) return false;
  // Fields the user types into take their own Esc (the open statement box
  // takes the change back).
  for (QWidget* w = widget; w; w = w->parentWidget())
    if ((qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w)) && w->isVisible()) return false;
  const TDocument& document = form_.Document();
  return document.RunningRefresh() || document.EvaluationState() == TEvaluationState::Running;
}

bool TMainFormEvaluation::interrupts(const QAction* action) const {
  if (!action) return false;
  const QString name = action->objectName();
  return action == stop_ || name == QLatin1String("Open1") || name == QLatin1String("New1") ||
         name == QLatin1String("Exit1");
}

void TMainFormEvaluation::interrupt(QAction* action) {
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  form_.Document().StopEvaluation();
  if (action != stop_) form_.RefreshRunner().WhenIdle(action, [action] { action->trigger(); });
}

bool TMainFormEvaluation::heldBack(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (!IsInputEvent(type)) return false;
  if (type == QEvent::Shortcut) {
    auto* action = qobject_cast<QAction*>(watched);
    if (interrupts(action)) interrupt(action);
    return true;
  }
  // Input reaches the window first, then through the application again the
  // widget it is for, where it is judged.
  if (watched->isWindowType()) return false;
  if (qobject_cast<QMenuBar*>(watched) || qobject_cast<QScrollBar*>(watched) || DropsAMenuDown(watched))
    return false;
  if (auto* menu = qobject_cast<QMenu*>(watched)) {
    QAction* chosen = nullptr;
    if (type == QEvent::MouseButtonRelease) {
      chosen = menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (type == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (MovesInMenu(key)) return false;
      if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) chosen = menu->activeAction();
    } else if (type != QEvent::KeyRelease) {
      return false;  // presses open submenus and highlight items
    }
    if (chosen && chosen->isEnabled() && interrupts(chosen)) interrupt(chosen);
    return true;
  }
  return true;
}

bool TMainFormEvaluation::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
      escapeStops(watched)) {
    form_.Document().StopEvaluation();
    return true;
  }
  if (waiting_ && heldBack(watched, event)) return true;
  return QObject::eventFilter(watched, event);
}
