// Find on the main window's diagram: Ctrl+F opens the find bar over the
// diagram; typing selects the first box whose statement contains the text and
// scrolls to it; Enter and F3 go to the next match (Shift: the one before),
// and the bar shows which match of how many is selected. A match is selected
// exactly as a click on its box selects it, and is logged as a click is.
#pragma once

#include <QObject>

class QAction;
class TArgumentEditor;
class TDiagramScrollBox;
class TDiagramSurface;
class TFindBar;
class TMainForm;

class TMainFormFind : public QObject {
  Q_OBJECT

 public:
  // The window becomes the owner; the editor (the editing commands') must
  // outlive it.
  TMainFormFind(TMainForm& form, TArgumentEditor& editor);

 private:
  void open();
  void search(bool fromStart, bool backwards);
  void select(int frame);

  TMainForm& form_;
  TArgumentEditor& editor_;
  TDiagramSurface& surface_;
  TDiagramScrollBox& scrollBox_;
  TFindBar* bar_ = nullptr;
};
