// The zoom of a diagram scroll box: steps from 25% to 400%, Ctrl + wheel,
// fit to window. Zooming keeps the diagram point under the mouse (or the
// middle of the view) where it was.
#pragma once

#include <QObject>
#include <QPoint>

class TDiagramScrollBox;

class TDiagramZoom : public QObject {
  Q_OBJECT

 public:
  static constexpr double kMinimum = 0.25;
  static constexpr double kMaximum = 4.0;

  // Watches the box's Ctrl + wheel; the box owns the zoom.
  explicit TDiagramZoom(TDiagramScrollBox* box);

  double Zoom() const;
  void ZoomIn();
  void ZoomOut();
  void ResetZoom();
  // The largest zoom (within the limits) that shows the whole drawing.
  void FitToWindow();
  // Sets the zoom within the limits, keeping the diagram point under
  // `anchor` (viewport pixels) under it.
  void SetZoom(double zoom, QPoint anchor);
  void SetZoom(double zoom);  // anchored at the middle of the view

  // The next step up (direction > 0) or down from a zoom, within the limits.
  static double Step(double zoom, int direction);

 signals:
  // The zoom changed, by any way (menu, keys, wheel, fit).
  void zoomChanged(double zoom);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TDiagramScrollBox* box_;
  int wheelRest_ = 0;  // wheel turns smaller than one notch, kept until they add up
};
