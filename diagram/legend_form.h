// TLegendForm ("Legend"): eight sample sentence boxes, drawn exactly as the
// diagram draws boxes, whose texts explain the status icons and colours.
// The samples are drawn once, when the window is created.
#pragma once

#include <QPushButton>
#include <QWidget>

#include "diagram_scroll_box.h"

class TLegendForm : public QWidget {
  Q_OBJECT

 public:
  explicit TLegendForm(QWidget* parent = nullptr);

  TDiagramScrollBox* ScrollBox1;
  QWidget* Panel1;
  QPushButton* Button1;

  // The rows of the samples, top to bottom.
  static constexpr int kSampleRows[8] = {0, 1, 3, 4, 5, 7, 8, 9};

 private:
  void FormCreate();
  void Button1Click();
};
