// ScrollBox1: the scrollable white box that holds a diagram surface. The main
// window and the match window each hold one; the legend shows its samples in
// one. Tag carries the selected diagram index (-1 when nothing is selected).
#pragma once

#include <QScrollArea>

#include "diagram_qt/diagram_surface.h"

class TDiagramScrollBox : public QScrollArea {
  Q_OBJECT

 public:
  explicit TDiagramScrollBox(QWidget* parent = nullptr);

  TDiagramSurface* Surface() const { return surface_; }
  int Tag = -1;

 private:
  TDiagramSurface* surface_;
};
