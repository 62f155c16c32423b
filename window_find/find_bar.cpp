#include "window_find/find_bar.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

TFindBar::TFindBar(QAbstractScrollArea& over) : QFrame(over.viewport()), over_(over) {
  setObjectName(QStringLiteral("FindBar"));
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 2, 2, 2);
  row->setSpacing(4);
  field_ = new QLineEdit(this);
  field_->setObjectName(QStringLiteral("FindEdit"));
  field_->setPlaceholderText(QStringLiteral("Find"));
  field_->setAccessibleName(QStringLiteral("Find statement"));
  field_->setMinimumWidth(180);
  count_ = new QLabel(this);
  count_->setObjectName(QStringLiteral("FindCount"));
  count_->setMinimumWidth(70);
  auto* next = new QToolButton(this);
  next->setObjectName(QStringLiteral("FindNextButton"));
  next->setArrowType(Qt::DownArrow);
  next->setAutoRaise(true);
  next->setToolTip(QStringLiteral("Next match (F3)"));
  next->setAccessibleName(QStringLiteral("Next match"));
  auto* close = new QToolButton(this);
  close->setObjectName(QStringLiteral("FindCloseButton"));
  close->setText(QStringLiteral("\u00d7"));
  close->setAutoRaise(true);
  close->setToolTip(QStringLiteral("Close (Esc)"));
  close->setAccessibleName(QStringLiteral("Close find"));
  row->addWidget(field_);
  row->addWidget(count_);
  row->addWidget(next);
  row->addWidget(close);
  connect(field_, &QLineEdit::textChanged, this, &TFindBar::textChanged);
  connect(next, &QToolButton::clicked, this, [this] { emit nextRequested(false); });
  connect(close, &QToolButton::clicked, this, &TFindBar::Close);
  field_->installEventFilter(this);
  over_.viewport()->installEventFilter(this);
  hide();
}

void TFindBar::Open() {
  Place();
  show();
  raise();
  field_->setFocus(Qt::ShortcutFocusReason);
  field_->selectAll();
}

QString TFindBar::Text() const { return field_->text(); }

void TFindBar::ShowCount(int position, int total) {
  if (field_->text().isEmpty())
    count_->clear();
  else if (total == 0)
    count_->setText(QStringLiteral("No match"));
  else
    count_->setText(QStringLiteral("%1 of %2").arg(position).arg(total));
}

void TFindBar::Place() {
  adjustSize();
  const QWidget* viewport = over_.viewport();
  move(std::max(0, viewport->width() - width() - 4), 4);
}

void TFindBar::Close() {
  hide();
  emit closed();
}

bool TFindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == over_.viewport()) {
    // The surface is the viewport's child too: stay on top of it, in the corner.
    if (isVisible() && (event->type() == QEvent::Resize || event->type() == QEvent::ChildAdded)) {
      Place();
      raise();
    }
  } else if (watched == field_ && event->type() == QEvent::KeyPress) {
    const auto* press = static_cast<QKeyEvent*>(event);
    const bool backwards = press->modifiers() & Qt::ShiftModifier;
    switch (press->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_F3:
        emit nextRequested(backwards);
        return true;
      case Qt::Key_Escape:
        Close();
        return true;
      default:
        break;
    }
  }
  return QFrame::eventFilter(watched, event);
}
