// TLegendForm ("Legend"): eight sample sentence boxes, drawn exactly as the
// diagram draws boxes, whose texts explain the status icons and colours.
// The samples are drawn once, when the window is created.
#pragma once

#include <QPushButton>
#include <QWidget>

#include "diagram_qt/diagram_scroll_box.h"

class TLegendForm : public QWidget {
  Q_OBJECT

 public:
  explicit TLegendForm(QWidget* parent = nullptr);

  TDiagramScrollBox* ScrollBox1;
  QWidget* Panel1;
  QPushButton* Button1;

 private:
  void FormCreate();
  void Button1Click();
};
