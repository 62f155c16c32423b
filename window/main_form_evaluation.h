// The running evaluation on the main window: status panel 2 tells that it is
// evaluating, with the number of interpretations found so far and the time
// spent, and the Stop command ("S&top evaluation" at the end of the Options
// menu, or Esc on the diagram) stops it.
#pragma once

#include <QObject>

class QAction;
class QLabel;
class QTimer;
class TMainForm;

class TMainFormEvaluation : public QObject {
  Q_OBJECT

 public:
  // The window becomes the owner; its menus, panels and diagram must exist.
  explicit TMainFormEvaluation(TMainForm& form);

  // The text of panel 2 while an evaluation runs.
  static QString ProgressText(size_t found, double seconds);

 protected:
  // Esc on the diagram.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Follows the document: an evaluation started or ended.
  void follow();
  void showProgress();

  TMainForm& form_;
  QAction* stop_ = nullptr;
  QLabel* panel_ = nullptr;
  QTimer* timer_ = nullptr;
};
