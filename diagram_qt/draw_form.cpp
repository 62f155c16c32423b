#include "diagram_qt/draw_form.h"

#include "diagram/diagram_metrics.h"

TDrawForm::TDrawForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("DrawForm");
  setWindowTitle("DrawForm");
  setGeometry(84, 147, 716, 453);
  FormCreate();
}

void TDrawForm::FormCreate() { InitDiagramMetrics(); }
