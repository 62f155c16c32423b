// The running evaluation and the refresh being built, on the main window:
// status panel 2 tells what is going on with the time spent (the number of
// interpretations found so far, or the phase of reading and drawing), and the
// Stop command ("S&top evaluation" at the end of the Options menu, or Esc
// wherever the focus is in the window) stops it. "&Evaluate again" (F5)
// evaluates the theory once more after a stop.
//
// While a refresh is built the window keeps showing the last state and
// answers, but takes no command that would change it: only the menus, Stop,
// New, Open and Exit get through, and the last three wait for the refresh to
// end (a file's reading is abandoned for them).
#pragma once

#include <QObject>
#include <QString>

#include "document/document_listener.h"

class QAction;
class QLabel;
class QTimer;
class TMainForm;

class TMainFormEvaluation : public QObject, public TDocumentListener {
  Q_OBJECT

 public:
  // The window becomes the owner; its menus, panels and diagram must exist.
  explicit TMainFormEvaluation(TMainForm& form);
  ~TMainFormEvaluation() override;

  void Refreshed() override { follow(); }
  void EvaluationFinished() override { follow(); }

  // The text of panel 2 while an evaluation runs.
  static QString ProgressText(size_t found, double seconds);

 protected:
  // Esc in the window; input while a refresh is built.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Follows the document: an evaluation started or ended.
  void follow();
  void showProgress();
  // The window started or stopped waiting for a refresh.
  void waitForRefresh(bool waiting);
  // Whether Esc, sent to `watched`, is the window's Stop.
  bool escapeStops(QObject* watched) const;
  // Whether an input event must wait until the refresh has been built.
  bool heldBack(QObject* watched, QEvent* event);
  // Whether a command may interrupt a refresh being built.
  bool interrupts(const QAction* action) const;
  // Stop, New, Open or Exit while a refresh is built.
  void interrupt(QAction* action);

  TMainForm& form_;
  QAction* stop_ = nullptr;
  QAction* again_ = nullptr;
  QLabel* panel_ = nullptr;
  QTimer* timer_ = nullptr;
  bool waiting_ = false;
  QString panelBeforeWaiting_;
};
