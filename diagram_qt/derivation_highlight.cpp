#include "diagram_qt/derivation_highlight.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include "diagram_qt/diagram_surface.h"

TDerivationHighlight::TDerivationHighlight(TDiagramSurface& surface) : QWidget(&surface), surface_(surface) {
  setObjectName(QStringLiteral("DerivationHighlight"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  resize(surface.size());
  lower();  // below the statement box and any other child
  surface.installEventFilter(this);
  hide();
}

void TDerivationHighlight::SetTexts(std::unordered_set<std::string> texts) {
  texts_ = std::move(texts);
  Refind();
}

void TDerivationHighlight::Refind() {
  elements_.clear();
  const TDrawContext& context = surface_.Context();
  const auto& elements = context.Drawing.Elements;
  if (!texts_.empty()) {
    // Per diagram index: 0 not wanted, 1 wanted, 2 wanted and framed.
    std::vector<char> wanted(context.DrawnSentences.size(), 0);
    for (size_t tag = 0; tag < wanted.size(); ++tag)
      wanted[tag] = texts_.count(context.DrawnSentences[tag]->Text) != 0 ? 1 : 0;
    auto tagOf = [&](const TDiagramElement& e) -> char* {
      return e.Tag >= 0 && static_cast<size_t>(e.Tag) < wanted.size() ? &wanted[static_cast<size_t>(e.Tag)] : nullptr;
    };
    for (size_t i = 0; i < elements.size(); ++i) {
      char* state = elements[i].Kind == TElementKind::Frame ? tagOf(elements[i]) : nullptr;
      if (state == nullptr || *state == 0) continue;
      *state = 2;
      elements_.push_back(static_cast<int>(i));
    }
    for (size_t i = 0; i < elements.size(); ++i) {
      char* state = elements[i].Kind == TElementKind::Bar ? tagOf(elements[i]) : nullptr;
      if (state != nullptr && *state == 1) elements_.push_back(static_cast<int>(i));
    }
  }
  setVisible(!elements_.empty());
  lower();
  update();
}

bool TDerivationHighlight::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &surface_ && event->type() == QEvent::Resize) resize(surface_.size());
  return QWidget::eventFilter(watched, event);
}

void TDerivationHighlight::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setPen(QPen(QColor(255, 160, 0), 3));
  painter.setBrush(Qt::NoBrush);
  surface_.DrawPendingMarks(elements_);
  const auto& elements = surface_.Context().Drawing.Elements;
  for (int element : elements_) {
    if (static_cast<size_t>(element) >= elements.size() || surface_.IsElementHidden(element)) continue;
    const TDiagramElement& e = elements[static_cast<size_t>(element)];
    const TBounds& b = e.Bounds;
    if (e.Kind == TElementKind::Bar) {  // a link: the bar itself, widened in amber
      const QRect bar = surface_.ToWidget(QRect(b.Left - 1, b.Top - 1, b.Width + 2, b.Height + 2));
      if (bar.intersects(event->rect())) painter.fillRect(bar, QColor(255, 160, 0, 170));
      continue;
    }
    const QRect ring = surface_.ToWidget(QRect(b.Left - 5, b.Top - 5, b.Width + 10, b.Height + 10));
    if (ring.intersects(event->rect())) painter.drawRect(ring.adjusted(1, 1, -1, -1));
  }
}
