// Acceptance over all interpretations in the main window, behind the checked
// Options item "Show acceptance over all interpretations" (off by default;
// while off the window is exactly as without it). While on, after every
// finished evaluation the acceptance of the report's sentences is computed on
// a copy of the theory in the background, with progress in status panel 2
// and "Stop acceptance" in the Options menu; then the diagram's status icons
// and colours show it, the report ends with its section, and selecting a box
// shows its acceptance in status panel 1.
#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "acceptance/acceptance.h"
#include "document/document_listener.h"

class QAction;
class QLabel;
class QTimer;
class TMainForm;
class TReportView;
class TDiagramSurface;

class TAcceptanceView : public QObject, public TDocumentListener {
  Q_OBJECT

 public:
  // The window becomes the owner; its menus, panels, report and diagram must exist.
  explicit TAcceptanceView(TMainForm& form);
  ~TAcceptanceView() override;

  void Refreshed() override { followAnew(); }
  void EvaluationFinished() override { followAnew(); }
  void InterpretationShown() override { followAnew(); }
  void Closing() override;

  // For tests: whether a computation runs, and waiting for it to be applied.
  bool Computing() const { return job_ != nullptr; }
  void WaitForResult();

  static QString ProgressText(size_t settled, size_t asked, double seconds);
  // The icon a box gets for its acceptance (acceptance_icons.h).
  static int IconOf(const TTextAcceptance& acceptance);

  // A finished computation: the texts asked (the report's sentences) and
  // their acceptance, for the theory read from the file text Key.
  struct TResult {
    std::string Key;
    std::vector<std::string> Texts;
    TAcceptance Acceptance;
    std::optional<uint64_t> Count;
    std::unordered_map<std::string, size_t> IndexOf;
    bool Stopped = false;
  };
  // Whether the user has the option on ("Show acceptance over all
  // interpretations"), and whether acceptance applies to the document now.
  bool Checked() const;
  bool Wanted() const { return wanted(); }
  // The result for the document shown, while it applies; null otherwise
  // (the option is off, or the computation runs or was stopped).
  std::shared_ptr<const TResult> ResultShown() const;

 signals:
  // The option was switched, or a result came in.
  void acceptanceChanged();

 private:
  void followAnew();
  struct TJob;
  // The document or the option changed.
  void follow();
  void start(const std::string& key);
  void stop();
  void jobFinished(const std::shared_ptr<TJob>& job);
  // Diagram, report and selection from the result in force.
  void apply();
  void markDiagram(bool acceptance);
  void showReport(const char* line);
  void showSelection();
  void showProgress();
  bool wanted() const;

  TMainForm& form_;
  QAction* show_ = nullptr;
  QAction* stop_ = nullptr;
  QLabel* selectionPanel_ = nullptr;
  QLabel* summaryPanel_ = nullptr;
  TReportView* report_ = nullptr;
  TDiagramSurface* surface_ = nullptr;
  QTimer* timer_ = nullptr;
  std::shared_ptr<TJob> job_;
  std::shared_ptr<const TResult> result_;
  bool marked_ = false;  // the drawing shows acceptance
};
