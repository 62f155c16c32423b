// The non-modal "Match" window: the textual report of a Match run on its
// "Textual" tab and the diagram of the instantiated sentences on "Graphical".
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "inspection/match_report.h"

class QStatusBar;
class QTabWidget;
class QTextEdit;
class TDiagramScrollBox;

class TMatchForm : public QWidget {
  Q_OBJECT

 public:
  explicit TMatchForm(QWidget* parent = nullptr);

  QTabWidget* PageControl1;
  QWidget* TabSheet1;  // "Textual"
  QWidget* TabSheet2;  // "Graphical"
  QTextEdit* RichEdit1;
  TDiagramScrollBox* ScrollBox1;  // its surface keeps a drawing context of its own
  QStatusBar* MainStatusBar;

  void ShowReportLines(const std::vector<std::string>& lines);
  // Shows a Match run: the report on "Textual" and its diagram on
  // "Graphical", replacing the previous run's. Roles are looked up in the main
  // theory, which the drawing leaves untouched.
  void ShowMatch(const TMatchReport& report, TKorvelTheory* mainTheory, bool structureOnly,
                 bool showDialecticalNegations);
};
