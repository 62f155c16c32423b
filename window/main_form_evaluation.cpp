#include "window/main_form_evaluation.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QTimer>
#include <chrono>

#include "window/main_form.h"

namespace {

// Often enough for a count that visibly moves, rarely enough to cost nothing.
constexpr int kProgressIntervalMs = 100;

}  // namespace

TMainFormEvaluation::TMainFormEvaluation(TMainForm& form) : QObject(&form), form_(form) {
  panel_ = form.findChild<QLabel*>(QStringLiteral("StatusPanel2"));
  stop_ = new QAction(QStringLiteral("S&top evaluation"), &form);
  stop_->setObjectName(QStringLiteral("Stopevaluation1"));
  stop_->setEnabled(false);
  connect(stop_, &QAction::triggered, this, [this] { form_.Document().StopEvaluation(); });
  if (auto* options = form.findChild<QMenu*>(QStringLiteral("Options1"))) {
    options->addSeparator()->setObjectName(QStringLiteral("N17"));
    options->addAction(stop_);
  }

  timer_ = new QTimer(this);
  timer_->setInterval(kProgressIntervalMs);
  connect(timer_, &QTimer::timeout, this, &TMainFormEvaluation::showProgress);

  // Esc reaches the diagram's scroll area or its surface, whichever has focus.
  if (auto* scrollBox = form.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"))) {
    scrollBox->installEventFilter(this);
    if (scrollBox->widget()) scrollBox->widget()->installEventFilter(this);
  }

  // After the window's own handlers, which fill panel 2 from the document.
  TDocument& document = form.Document();
  auto refreshed = std::move(document.Refreshed);
  document.Refreshed = [this, refreshed] {
    if (refreshed) refreshed();
    follow();
  };
  auto finished = std::move(document.EvaluationFinished);
  document.EvaluationFinished = [this, finished] {
    if (finished) finished();
    follow();
  };
  follow();
}

QString TMainFormEvaluation::ProgressText(size_t found, double seconds) {
  return QStringLiteral("Evaluating: %1 dialectical interpretations found, %2 s")
      .arg(found)
      .arg(seconds, 0, 'f', 1);
}

void TMainFormEvaluation::follow() {
  const bool running = form_.Document().EvaluationState() == TEvaluationState::Running;
  stop_->setEnabled(running);
  if (running) {
    showProgress();
    timer_->start();
  } else {
    timer_->stop();
  }
}

void TMainFormEvaluation::showProgress() {
  const TDocument& document = form_.Document();
  const TEvaluationControl* control = document.RunningEvaluation();
  if (!control || !panel_) return;
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - document.EvaluationStart();
  panel_->setText(ProgressText(control->InterpretationsFound.load(std::memory_order_relaxed), elapsed.count()));
}

bool TMainFormEvaluation::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
      form_.Document().EvaluationState() == TEvaluationState::Running) {
    form_.Document().StopEvaluation();
    return true;
  }
  return QObject::eventFilter(watched, event);
}
