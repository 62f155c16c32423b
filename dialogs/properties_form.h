// The modal "Properties" window: what the program knows about one sentence.
#pragma once

#include <QDialog>
#include <vector>

#include "inspection/properties_report.h"

class QPushButton;
class QTextEdit;

class TPropertiesForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPropertiesForm(QWidget* parent = nullptr);

  QTextEdit* RichEdit1;
  QWidget* Panel1;
  QPushButton* Button1;

  // Replaces the view's content; headings bold.
  void ShowLines(const std::vector<TReportLine>& lines);
  void Clear();
};
