#include "diagram_qt/diagram_surface.h"

#include <array>
#include <cmath>
#include <utility>

#include <QElapsedTimer>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "diagram/diagram_redraw.h"
#include "diagram_qt/diagram_painter.h"
#include "diagram_qt/diagram_picture.h"

namespace {
// Where a child placed on the surface stands in diagram pixels.
constexpr char kDiagramPosition[] = "diagramPosition";
}  // namespace

TDiagramSurface::TDiagramSurface(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  UseFontForText();
  marksSweep_.setInterval(0);
  connect(&marksSweep_, &QTimer::timeout, this, [this] {
    // A slice short enough that input waits for it unnoticed.
    if (SweepMarks(3'000'000)) marksSweep_.stop();
  });
}

void TDiagramSurface::UseFontForText() { MeasureTextWith(context_, font()); }

void TDiagramSurface::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    SweepMarks(-1);  // pending marks in the font they were asked for
    UseFontForText();
  }
  QWidget::changeEvent(event);
}

void TDiagramSurface::DrawArguments(const TListOfKorvelSentences& sentences) {
  ::DrawArguments(context_, sentences, 0, 0);
  Reindex();
}

void TDiagramSurface::DrawingChanged() { Reindex(); }

void TDiagramSurface::RedrawMarks() {
  if (!MarkCallsStale(context_)) {
    RedrawCalls(context_);
    Reindex();
    return;
  }
  // Every element keeps its kind, tag and place: the index and the
  // highlight stay; the size follows when the sweep has passed every call.
  hidden_.assign(context_.Drawing.Elements.size(), false);
  sweepMarks_ = context_.Drawing.Marks;
  sweepNext_ = 0;
  sweepWidth_ = sweepHeight_ = 0;
  marksSweep_.start();
  update();
}

const TDiagramDrawing& TDiagramSurface::Drawing() const {
  // Not const in effect: the pending marks are drawn and the size set.
  if (context_.Drawing.MarksPending) const_cast<TDiagramSurface*>(this)->SweepMarks(-1);
  return context_.Drawing;
}

bool TDiagramSurface::SweepMarks(qint64 nanoseconds) {
  TDiagramDrawing& drawing = context_.Drawing;
  if (!drawing.MarksPending) return true;
  // Options changed meanwhile: the calls cannot be drawn in place, and the
  // drawing is about to be replaced whole.
  if (!CallsRedrawableInPlace(context_)) return true;
  if (sweepMarks_ != drawing.Marks) {  // newer marks since the sweep began
    sweepMarks_ = drawing.Marks;
    sweepNext_ = 0;
    sweepWidth_ = sweepHeight_ = 0;
  }
  QElapsedTimer clock;
  clock.start();
  constexpr size_t kCallsBetweenLooks = 128;
  while (sweepNext_ < drawing.Calls.size()) {
    const size_t first = sweepNext_;
    sweepNext_ = ResolveCalls(context_, first, kCallsBetweenLooks);
    // Every element from the sweep's start on is final once passed.
    const size_t end = sweepNext_ < drawing.Calls.size() ? drawing.Calls[sweepNext_].FirstElement
                                                         : drawing.Elements.size();
    for (size_t i = drawing.Calls[first].FirstElement; i < end; ++i) {
      sweepWidth_ = std::max(sweepWidth_, drawing.Elements[i].Bounds.Right());
      sweepHeight_ = std::max(sweepHeight_, drawing.Elements[i].Bounds.Bottom());
    }
    if (nanoseconds >= 0 && clock.nsecsElapsed() >= nanoseconds && sweepNext_ < drawing.Calls.size()) return false;
  }
  drawing.MarksPending = false;
  index_.Remeasured(sweepWidth_, sweepHeight_);
  UpdateSize();
  return true;
}

void TDiagramSurface::ResolveRows(int top, int bottom) const {
  if (!context_.Drawing.MarksPending) return;
  // A pixel or two of slack: a link's bars may sit a pixel higher once drawn.
  ResolveElements(context_, index_.InRows(context_.Drawing, top - 2, bottom + 2));
}

void TDiagramSurface::ClearDrawing() {
  context_.Reset();
  Reindex();
}

void TDiagramSurface::Reindex() {
  const TDiagramDrawing& drawing = context_.Drawing;
  // The old index goes whole, to be freed where ReleaseReplaced says.
  auto replaced = std::make_shared<THitIndex>(std::exchange(index_, THitIndex{}));
  // A drawing made on another thread may bring its index along.
  if (context_.HitsMadeAside && context_.HitsMadeAside->Covers(drawing))
    index_ = std::move(*context_.HitsMadeAside);
  else
    index_.Build(drawing);
  context_.HitsMadeAside.reset();
  if (ReleaseReplaced) ReleaseReplaced(std::move(replaced));
  hidden_.assign(drawing.Elements.size(), false);
  highlightedFound_ = false;
  UpdateSize();
}

void TDiagramSurface::UpdateSize() {
  // The index has measured the drawing it was built for.
  const TDiagramMetrics& metrics = context_.Metrics;
  const QRect area = ToWidget(index_.Covers(context_.Drawing)
                                  ? QRect(0, 0, index_.DrawingWidth() + metrics.LeftMargin,
                                          index_.DrawingHeight() + metrics.TopMargin)
                                  : DrawingArea());
  setMinimumSize(area.width(), area.height());
  if (width() < minimumWidth() || height() < minimumHeight())
    resize(std::max(width(), minimumWidth()), std::max(height(), minimumHeight()));
  update();
}

QRect TDiagramSurface::DrawingArea() const { return WholeDrawingArea(Drawing(), context_.Metrics); }

void TDiagramSurface::SetZoom(double zoom) {
  if (!(zoom > 0) || zoom == zoom_) return;
  zoom_ = zoom;
  for (QObject* object : children()) {
    auto* child = qobject_cast<QWidget*>(object);
    const QVariant position = child ? child->property(kDiagramPosition) : QVariant();
    if (position.isValid()) child->move(ToWidget(QRect(position.toPoint(), QSize(1, 1))).topLeft());
  }
  UpdateSize();
  emit zoomChanged(zoom_);
}

QPoint TDiagramSurface::ToDiagram(QPoint widgetPosition) const {
  if (zoom_ == 1.0) return widgetPosition;
  // The diagram pixel under the centre of the widget pixel.
  return QPoint(static_cast<int>(std::floor((widgetPosition.x() + 0.5) / zoom_)),
                static_cast<int>(std::floor((widgetPosition.y() + 0.5) / zoom_)));
}

QRect TDiagramSurface::ToWidget(const QRect& diagramRect) const {
  if (zoom_ == 1.0) return diagramRect;
  const int left = static_cast<int>(std::floor(diagramRect.left() * zoom_));
  const int top = static_cast<int>(std::floor(diagramRect.top() * zoom_));
  const int right = static_cast<int>(std::ceil((diagramRect.left() + diagramRect.width()) * zoom_));
  const int bottom = static_cast<int>(std::ceil((diagramRect.top() + diagramRect.height()) * zoom_));
  return QRect(left, top, right - left, bottom - top);
}

void TDiagramSurface::PlaceChild(QWidget* child, QPoint diagramPosition) {
  child->setProperty(kDiagramPosition, diagramPosition);
  child->move(ToWidget(QRect(diagramPosition, QSize(1, 1))).topLeft());
}

void TDiagramSurface::SetElementHidden(int element, bool hidden) {
  if (element < 0 || static_cast<size_t>(element) >= hidden_.size()) return;
  hidden_[static_cast<size_t>(element)] = hidden;
  ResolveElements(context_, {element});
  const TBounds& b = context_.Drawing.Elements[static_cast<size_t>(element)].Bounds;
  // With the selection ring around it, which lies outside the bounds.
  update(ToWidget(QRect(b.Left - 3, b.Top - 3, b.Width + 7, b.Height + 7)));
}

void TDiagramSurface::SetSelectedTag(int tag) {
  if (tag == selectedTag_) return;
  selectedTag_ = tag;
  highlightedFound_ = false;
  update();
}

const std::vector<int>& TDiagramSurface::Highlighted() const {
  if (highlightedFound_) return highlighted_;
  highlightedFound_ = true;
  // The frames of the sentence, or where it has none its bars, as the index
  // of the drawing shown files them: no pass over a large drawing's elements.
  highlighted_ = index_.OutlineOf(context_.Drawing, selectedTag_);
  return highlighted_;
}

bool TDiagramSurface::IsElementHidden(int element) const {
  return element >= 0 && static_cast<size_t>(element) < hidden_.size() && hidden_[static_cast<size_t>(element)];
}

int TDiagramSurface::ShapeAt(QPoint position) const {
  ResolveRows(position.y(), position.y() + 1);
  const TDiagramDrawing& drawing = context_.Drawing;
  return index_.TopmostAt(drawing, position.x(), position.y(), [&](int element) {
    return IsShapeKind(drawing.Elements[static_cast<size_t>(element)].Kind) && !IsElementHidden(element);
  });
}

TDiagramHit TDiagramSurface::HitAt(QPoint position, Qt::MouseButton button) const {
  TDiagramHit hit;
  hit.Position = position;
  hit.Button = button;
  hit.Element = ShapeAt(position);
  if (hit.Element >= 0) {
    const TDiagramElement& element = context_.Drawing.Elements[static_cast<size_t>(hit.Element)];
    hit.Kind = element.Kind;
    hit.Tag = element.Tag;
    hit.Row = element.Row;
    hit.Column = element.Column;
    hit.Bounds = element.Bounds;
  }
  return hit;
}

void TDiagramSurface::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  painter.setClipRect(exposed);
  const TDiagramDrawing& drawing = context_.Drawing;
  const QFont base = font();
  QRect shown = exposed;
  if (zoom_ != 1.0) {
    painter.scale(zoom_, zoom_);
    shown = QRectF(exposed.x() / zoom_, exposed.y() / zoom_, exposed.width() / zoom_, exposed.height() / zoom_)
                .toAlignedRect();
  }
  // Lines and icons stay smooth wherever a diagram pixel is not a device pixel.
  if (painter.deviceTransform().type() > QTransform::TxTranslate) painter.setRenderHint(QPainter::Antialiasing);
  // A little slack around the exposed area: italic text may lean a pixel or
  // two past its label's bounds.
  const QRect area = shown.adjusted(-4, -2, 4, 2);
  ResolveRows(area.top(), area.bottom() + 1);
  ResolveElements(context_, Highlighted());
  for (int element : index_.Intersecting(drawing, {area.x(), area.y(), area.width(), area.height()})) {
    if (IsElementHidden(element)) continue;
    PaintElement(painter, drawing, drawing.Elements[static_cast<size_t>(element)], base);
  }
  // The selection: a ring two pixels outside each highlighted element.
  QPen ring(QColor(0, 120, 215), 2);
  painter.setPen(ring);
  painter.setBrush(Qt::NoBrush);
  for (int element : Highlighted()) {
    if (IsElementHidden(element)) continue;
    const TBounds& b = drawing.Elements[static_cast<size_t>(element)].Bounds;
    painter.drawRect(QRect(b.Left - 2, b.Top - 2, b.Width + 3, b.Height + 3));
  }
}

void TDiagramSurface::mousePressEvent(QMouseEvent* event) {
  emit mouseDown(HitAt(ToDiagram(event->position().toPoint()), event->button()));
}

void TDiagramSurface::mouseDoubleClickEvent(QMouseEvent* event) {
  const TDiagramHit hit = HitAt(ToDiagram(event->position().toPoint()), event->button());
  if (hit.IsSurface() || hit.Kind == TElementKind::Frame) {
    emit doubleClicked(hit);
  } else {
    emit mouseDown(hit);
  }
}

// Releases end here; the box around the surface has nothing to do with them.
void TDiagramSurface::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
