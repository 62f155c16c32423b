// The argument-editing commands brought into the main window: mouse presses
// and double-clicks on the diagram surface, the statement box ComboBox1, the
// editing items of the Edit menu and PopupMenu1, and the buttons of ToolBar4.
//
// The commands themselves run in TArgumentEditor; this class only passes the
// widgets' events to it and shows what it reports. It listens to the
// document's redraws, so that every redraw (an option toggled, another
// interpretation shown) finds the selected sentence again by its text.
#pragma once

#include <QObject>
#include <array>
#include <memory>
#include <vector>

#include "document/document_listener.h"
#include "editing/argument_editor.h"
#include "editing/edit_history.h"

class QAction;
class QComboBox;
class QLabel;
class TDiagramScrollBox;
class TDiagramSurface;
class TMainForm;

// Its members live in several files:
//   widgets, commands, statement box, panels, offers, redraws: main_form_editing.cpp
//   the Undo and Redo items: main_form_history.cpp
//   focus and arrow keys on the diagram: main_form_keyboard.cpp
class TMainFormEditing : public QObject, public TArgumentEditorView, public TDocumentListener {
  Q_OBJECT

 public:
  // The window becomes the owner; it must have been created completely.
  explicit TMainFormEditing(TMainForm& form);
  ~TMainFormEditing() override;

  TArgumentEditor& Editor() { return *editor_; }
  TEditHistory& History() { return *history_; }

  void StatementBoxChanged(const TStatementBox& box) override;
  void DiagramElementHidden(int element) override;
  void StatusPanelsChanged(const TStatusPanels& panels) override;
  void CommandAvailabilityChanged(const TCommandAvailability& offered) override;

  // Every redraw finds the selection again, whoever asked for it.
  void LayingOut() override { carried_.push_back(editor_->BeginRedraw()); }
  void LaidOut(bool complete) override;
  void Remarking() override { LayingOut(); }
  void Remarked(bool complete) override { LaidOut(complete); }

 protected:
  // Enter and Escape in the statement box; the size of ScrollBox1.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void connectDiagram();
  void connectStatementBox();
  void connectCommands();
  // The Undo and Redo items at the top of the Edit menu (main_form_history.cpp).
  void createHistoryActions();
  // Focus and arrow keys on the diagram (main_form_keyboard.cpp).
  void connectKeyboard();
  bool diagramKeyPressed(int key);
  void returnFocusToDiagram();
  void updateHistoryActions();
  // Runs an editing command as a step of the undo history.
  void run(const char* title, const std::function<void()>& command);
  // New and Open hide the statement box when they succeed.
  void followLifecycle();

  TMainForm& form_;
  TDiagramSurface* surface_ = nullptr;
  TDiagramScrollBox* scrollBox_ = nullptr;
  QComboBox* comboBox_ = nullptr;
  std::array<QLabel*, 3> panels_{};
  std::unique_ptr<TArgumentEditor> editor_;
  std::unique_ptr<TEditHistory> history_;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  bool showingBox_ = false;  // the widget is being set from the model
  // What each redraw under way remembered of the selection, innermost last.
  std::vector<TArgumentEditor::TCarriedSelection> carried_;
};

// Attaches the editing commands to the main window, which owns the result.
TMainFormEditing* AttachArgumentEditing(TMainForm& form);
