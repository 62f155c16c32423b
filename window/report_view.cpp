#include "window/report_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "diagram_qt/qt_text.h"

namespace {

// Lines measured to find the widest. Measuring every line of a million would
// cost more than showing them.
constexpr size_t kLinesMeasured = 32;
constexpr int kMargin = 4;

}  // namespace

TReportView::TReportView(QWidget* parent)
    : QAbstractScrollArea(parent), lines_(std::make_shared<const TReportText>()) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
}

void TReportView::SetLines(std::shared_ptr<const std::vector<std::string>> lines) {
  SetLines(std::make_shared<const TReportText>(std::move(lines)));
}

void TReportView::SetLines(std::shared_ptr<const TReportText> lines) {
  lines_ = lines ? std::move(lines) : std::make_shared<const TReportText>();
  anchor_ = current_ = -1;
  MeasureWidth();
  UpdateScrollBars();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  viewport()->update();
}

void TReportView::Clear() { SetLines(std::shared_ptr<const TReportText>()); }

size_t TReportView::FirstVisibleLine() const { return static_cast<size_t>(verticalScrollBar()->value()); }

QString TReportView::toPlainText() const {
  QStringList joined;
  joined.reserve(static_cast<qsizetype>(lines_->size()));
  lines_->ForEachLine([&joined](const std::string& line) { joined << FromBytes(line); });
  return joined.join(QLatin1Char('\n'));
}

QString TReportView::SelectedText() const {
  if (anchor_ < 0 || current_ < 0) return {};
  QStringList joined;
  for (long long i = std::min(anchor_, current_); i <= std::max(anchor_, current_); ++i)
    joined << FromBytes((*lines_)[static_cast<size_t>(i)]);
  return joined.join(QLatin1Char('\n'));
}

void TReportView::SelectAll() {
  if (lines_->empty()) return;
  Select(0, static_cast<long long>(lines_->size()) - 1);
}

int TReportView::LineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

int TReportView::VisibleLines() const { return std::max(1, viewport()->height() / LineHeight()); }

long long TReportView::LineAt(int y) const {
  if (lines_->empty()) return -1;
  const long long line = verticalScrollBar()->value() + std::max(0, y) / LineHeight();
  return std::min<long long>(line, static_cast<long long>(lines_->size()) - 1);
}

void TReportView::MeasureWidth() {
  // The widest lines are among the longest in bytes: measure a few of those
  // within a quarter of the longest, not all of a million.
  const size_t longest = lines_->LongestLine();
  const QFontMetrics metrics = fontMetrics();
  contentWidth_ = 0;
  size_t measured = 0;
  lines_->ForEachLongLine((longest * 3 + 3) / 4, [&](const std::string& line) {
    contentWidth_ = std::max(contentWidth_, metrics.horizontalAdvance(FromBytes(line)));
    return ++measured != kLinesMeasured;
  });
  contentWidth_ += 2 * kMargin;
}

void TReportView::UpdateScrollBars() {
  const int visible = VisibleLines();
  // Scroll bar values are ints: more lines than an int holds are not shown.
  const long long lineCount = std::min<long long>(static_cast<long long>(lines_->size()), 0x7fffffff);
  verticalScrollBar()->setRange(0, static_cast<int>(std::max<long long>(0, lineCount - visible)));
  verticalScrollBar()->setPageStep(visible);
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setRange(0, std::max(0, contentWidth_ - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth() * 2);
}

void TReportView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int height = LineHeight();
  const int ascent = fontMetrics().ascent();
  const int x = kMargin - horizontalScrollBar()->value();
  const size_t first = FirstVisibleLine();
  const size_t last = std::min(lines_->size(), first + static_cast<size_t>(VisibleLines()) + 1);
  const long long selectedFrom = std::min(anchor_, current_), selectedTo = std::max(anchor_, current_);
  for (size_t i = first; i < last; ++i) {
    const int top = static_cast<int>(i - first) * height;
    const bool selected = anchor_ >= 0 && static_cast<long long>(i) >= selectedFrom &&
                          static_cast<long long>(i) <= selectedTo;
    if (selected) painter.fillRect(0, top, viewport()->width(), height, palette().highlight());
    painter.setPen(selected ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::Text));
    painter.drawText(x, top + ascent, FromBytes((*lines_)[i]));
  }
}

void TReportView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void TReportView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    MeasureWidth();
    UpdateScrollBars();
  }
}

void TReportView::Select(long long anchor, long long current) {
  anchor_ = anchor;
  current_ = current;
  // Keep the moving end in sight.
  QScrollBar* bar = verticalScrollBar();
  if (current_ >= 0 && current_ < bar->value()) bar->setValue(static_cast<int>(current_));
  if (current_ >= bar->value() + VisibleLines()) bar->setValue(static_cast<int>(current_ - VisibleLines() + 1));
  viewport()->update();
}

void TReportView::mousePressEvent(QMouseEvent* event) {
  const long long line = LineAt(event->position().toPoint().y());
  if (line < 0) return;
  if (event->modifiers() & Qt::ShiftModifier && anchor_ >= 0)
    Select(anchor_, line);
  else
    Select(line, line);
}

void TReportView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || anchor_ < 0) return;
  Select(anchor_, LineAt(event->position().toPoint().y()));
}

void TReportView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    if (anchor_ >= 0) QApplication::clipboard()->setText(SelectedText());
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    SelectAll();
    return;
  }
  QScrollBar* bar = verticalScrollBar();
  switch (event->key()) {
    case Qt::Key_Up: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_Down: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    case Qt::Key_PageUp: bar->triggerAction(QAbstractSlider::SliderPageStepSub); return;
    case Qt::Key_PageDown: bar->triggerAction(QAbstractSlider::SliderPageStepAdd); return;
    case Qt::Key_Home: bar->triggerAction(QAbstractSlider::SliderToMinimum); return;
    case Qt::Key_End: bar->triggerAction(QAbstractSlider::SliderToMaximum); return;
    case Qt::Key_Left: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_Right: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    default: QAbstractScrollArea::keyPressEvent(event);
  }
}
