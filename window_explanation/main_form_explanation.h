// "Why?" in the main window: the item at the end of the Edit menu and of
// PopupMenu1 (with its key) explains the selected sentence in the
// "Why?" panel, docked at the window's side, and rings the boxes of the
// explanation on the diagram until the user selects something else. A click
// on a line of the panel selects that sentence's box as a click on the box
// would, and scrolls it into view. The panel follows the document: another
// interpretation shown, an edit or a finished evaluation explain the same
// sentence again. While the window shows acceptance over all interpretations
// (TAcceptanceView), the explanation says first whether the sentence is
// justified in every interpretation, in some or in none, and explains it in
// an interpretation that shows this; it follows the acceptance as it comes.
#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <string>

#include "document/document_listener.h"
#include "explanation/acceptance_explanation.h"
#include "explanation/explanation.h"
#include "window_acceptance/acceptance_view.h"

class QAction;
class QIcon;
class TDerivationHighlight;
class TDiagramScrollBox;
class TDiagramSurface;
class TExplanationPanel;
class TMainForm;
class TMainFormEditing;

class TMainFormExplanation : public QObject, public TDocumentListener {
  Q_OBJECT

 public:
  TMainFormExplanation(TMainForm& form, TMainFormEditing& editing, TAcceptanceView& acceptance);
  ~TMainFormExplanation() override;

  void LaidOut(bool complete) override;
  void Refreshed() override { explainAgain(); }
  void EvaluationFinished() override { explainAgain(); }
  void InterpretationShown() override { explainAgain(); }

  // Explains the selected sentence; nothing when none is selected.
  void Why1Click();
  TExplanationPanel& Panel() const { return *panel_; }
  TDerivationHighlight& Highlight() const { return *highlight_; }

 protected:
  // Arrow keys on the diagram move the selection: the highlight goes.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void explainAgain();
  void createItems();
  void followDocument();
  // Shows the explanation of the subject under the interpretation shown.
  void explainSubject();
  // Selects the box of a sentence and scrolls to it.
  void chooseSentence(const std::string& text);
  void clearHighlight();
  // The explanation with acceptance, when the window shows acceptance and
  // has it for the subject; else nothing, and `note` says why not.
  std::optional<TExplanation> explainWithAcceptance(int shown, QString& note, QIcon& rootIcon);

  TMainForm& form_;
  TMainFormEditing& editing_;
  TDiagramSurface* surface_ = nullptr;
  TDiagramScrollBox* scrollBox_ = nullptr;
  TExplanationPanel* panel_ = nullptr;
  TDerivationHighlight* highlight_ = nullptr;
  QAction* editItem_ = nullptr;
  QAction* popupItem_ = nullptr;
  bool panelShownBefore_ = false;
  std::optional<std::string> subject_;  // the sentence explained
  std::unique_ptr<TExplainer> explainer_;  // for the theory and interpretation shown
  TAcceptanceView* acceptanceView_ = nullptr;
  // While acceptance is explained: the result it uses and its explainer.
  std::shared_ptr<const TAcceptanceView::TResult> acceptance_;
  std::unique_ptr<TAcceptanceExplainer> acceptanceExplainer_;
  // Explains a premise unfolded in the panel: in the interpretation that the
  // lines shown are about.
  const TExplainer* premiseExplainer_ = nullptr;
};

// Adds "Why?" to the main window, which owns the result; after the editing
// commands and acceptance are attached.
TMainFormExplanation* AttachExplanation(TMainForm& form, TMainFormEditing& editing, TAcceptanceView& acceptance);
