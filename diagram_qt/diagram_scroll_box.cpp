#include "diagram_qt/diagram_scroll_box.h"

TDiagramScrollBox::TDiagramScrollBox(QWidget* parent) : QScrollArea(parent), surface_(new TDiagramSurface) {
  setObjectName("ScrollBox1");
  setBackgroundRole(QPalette::Base);
  QPalette white = palette();
  white.setColor(QPalette::Base, Qt::white);
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // The surface fills the visible area and grows beyond it with the drawing,
  // so that presses anywhere in the box reach it.
  setWidgetResizable(true);
  setWidget(surface_);
}
