#include "window/interpretation_navigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <limits>

TInterpretationNavigator::TInterpretationNavigator(size_t count, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("InterpretationNavigator"));
  const int last = static_cast<int>(std::min<size_t>(count, std::numeric_limits<int>::max()));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 0, 4, 0);

  auto* caption = new QLabel(QStringLiteral("Interpretation"), this);
  previous_ = new QToolButton(this);
  previous_->setObjectName(QStringLiteral("PreviousInterpretationButton"));
  previous_->setArrowType(Qt::LeftArrow);
  previous_->setToolTip(QStringLiteral("Previous interpretation"));
  previous_->setAutoRaise(true);
  number_ = new QSpinBox(this);
  number_->setObjectName(QStringLiteral("InterpretationSpinBox"));
  number_->setRange(1, std::max(1, last));
  number_->setKeyboardTracking(false);  // typing "123" shows 123, not 1 and 12 first
  number_->setAccelerated(true);
  total_ = new QLabel(QStringLiteral("of %1").arg(last), this);
  total_->setObjectName(QStringLiteral("InterpretationCount"));
  next_ = new QToolButton(this);
  next_->setObjectName(QStringLiteral("NextInterpretationButton"));
  next_->setArrowType(Qt::RightArrow);
  next_->setToolTip(QStringLiteral("Next interpretation"));
  next_->setAutoRaise(true);

  caption->setBuddy(number_);
  row->addWidget(caption);
  row->addWidget(previous_);
  row->addWidget(number_);
  row->addWidget(total_);
  row->addWidget(next_);

  connect(previous_, &QToolButton::clicked, this, [this] { Choose(Current() - 1); });
  connect(next_, &QToolButton::clicked, this, [this] { Choose(Current() + 1); });
  connect(number_, &QSpinBox::valueChanged, this, &TInterpretationNavigator::changed);
  changed(number_->value());
}

int TInterpretationNavigator::Current() const { return number_->value() - 1; }

void TInterpretationNavigator::Choose(int index) { number_->setValue(index + 1); }

void TInterpretationNavigator::changed(int value) {
  previous_->setEnabled(value > number_->minimum());
  next_->setEnabled(value < number_->maximum());
  if (sender() == number_) emit interpretationChosen(value - 1);
}
