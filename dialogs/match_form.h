// The non-modal "Match" window: the textual report of a Match run on its
// "Textual" tab and the diagram of the instantiated sentences on "Graphical".
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QStatusBar;
class QTabWidget;
class QTextEdit;
class QScrollArea;

class TMatchForm : public QWidget {
  Q_OBJECT

 public:
  explicit TMatchForm(QWidget* parent = nullptr);

  QTabWidget* PageControl1;
  QWidget* TabSheet1;  // "Textual"
  QWidget* TabSheet2;  // "Graphical"
  QTextEdit* RichEdit1;
  QScrollArea* ScrollBox1;
  QStatusBar* MainStatusBar;

  void ShowReportLines(const std::vector<std::string>& lines);
};
