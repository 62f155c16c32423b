#include "diagram_qt/diagram_zoom.h"

#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "diagram_qt/diagram_scroll_box.h"

namespace {

constexpr std::array<double, 11> kSteps = {0.25, 0.33, 0.5, 0.67, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};
constexpr int kWheelNotch = 120;

}  // namespace

TDiagramZoom::TDiagramZoom(TDiagramScrollBox* box) : QObject(box), box_(box) {
  box->viewport()->installEventFilter(this);
  box->Surface()->installEventFilter(this);
}

double TDiagramZoom::Zoom() const { return box_->Surface()->Zoom(); }

double TDiagramZoom::Step(double zoom, int direction) {
  constexpr double kSlack = 1e-6;
  if (direction > 0) {
    for (double step : kSteps)
      if (step > zoom + kSlack) return step;
    return kMaximum;
  }
  for (auto it = kSteps.rbegin(); it != kSteps.rend(); ++it)
    if (*it < zoom - kSlack) return *it;
  return kMinimum;
}

void TDiagramZoom::ZoomIn() { SetZoom(Step(Zoom(), +1)); }
void TDiagramZoom::ZoomOut() { SetZoom(Step(Zoom(), -1)); }
void TDiagramZoom::ResetZoom() { SetZoom(1.0); }

void TDiagramZoom::FitToWindow() {
  const QRect area = box_->Surface()->DrawingArea();
  const QSize view = box_->maximumViewportSize();
  if (area.isEmpty() || view.isEmpty()) return;
  SetZoom(std::min(static_cast<double>(view.width()) / area.width(), static_cast<double>(view.height()) / area.height()));
}

void TDiagramZoom::SetZoom(double zoom) {
  const QSize view = box_->viewport()->size();
  SetZoom(zoom, QPoint(view.width() / 2, view.height() / 2));
}

void TDiagramZoom::SetZoom(double zoom, QPoint anchor) {
  TDiagramSurface* surface = box_->Surface();
  const double old = surface->Zoom();
  zoom = std::clamp(zoom, kMinimum, kMaximum);
  if (zoom == old) return;
  QScrollBar* horizontal = box_->horizontalScrollBar();
  QScrollBar* vertical = box_->verticalScrollBar();
  const QPointF point((horizontal->value() + anchor.x()) / old, (vertical->value() + anchor.y()) / old);
  surface->SetZoom(zoom);
  // The box would size its surface on the next layout pass; the scroll
  // ranges are needed now.
  const QSize view = box_->viewport()->size();
  surface->resize(std::max(view.width(), surface->minimumWidth()), std::max(view.height(), surface->minimumHeight()));
  horizontal->setValue(static_cast<int>(std::lround(point.x() * zoom - anchor.x())));
  vertical->setValue(static_cast<int>(std::lround(point.y() * zoom - anchor.y())));
  emit zoomChanged(zoom);
}

bool TDiagramZoom::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
  auto* wheel = static_cast<QWheelEvent*>(event);
  if (!(wheel->modifiers() & Qt::ControlModifier)) return QObject::eventFilter(watched, event);
  wheelRest_ += wheel->angleDelta().y();
  const int notches = wheelRest_ / kWheelNotch;
  wheelRest_ -= notches * kWheelNotch;
  if (notches != 0) {
    const QPoint anchor = box_->viewport()->mapFromGlobal(wheel->globalPosition().toPoint());
    double zoom = Zoom();
    for (int i = 0; i < std::abs(notches); ++i) zoom = Step(zoom, notches);
    SetZoom(zoom, anchor);
  }
  wheel->accept();
  return true;
}
