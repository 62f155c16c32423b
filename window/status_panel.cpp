#include "window/status_panel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

TStatusPanel::TStatusPanel(const QString& description, int minimumWidth, QWidget* parent)
    : QLabel(parent), minimumWidth_(minimumWidth) {
  setAccessibleDescription(description);
  setTextFormat(Qt::PlainText);
  setMinimumWidth(minimumWidth);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QSize TStatusPanel::minimumSizeHint() const {
  // Narrower than the text: the rest is elided rather than widening the window.
  return {minimumWidth_, QLabel::minimumSizeHint().height()};
}

bool TStatusPanel::IsElided() const {
  return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

void TStatusPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = contentsRect();
  const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
  style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), shown,
                        foregroundRole());
}

void TStatusPanel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  UpdateToolTip();
}

bool TStatusPanel::event(QEvent* event) {
  // The text changes without an event of its own; the tool tip is brought
  // up to date before it is shown and whenever the panel is painted.
  if (event->type() == QEvent::ToolTip || event->type() == QEvent::Paint) UpdateToolTip();
  return QLabel::event(event);
}

void TStatusPanel::UpdateToolTip() {
  const QString tip = IsElided() ? text() : QString();
  if (toolTip() != tip) setToolTip(tip);
}
