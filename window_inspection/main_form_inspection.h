// The inspection commands of the main window: Properties shows what the
// program knows about the selected sentence in the modal Properties window;
// Match reports the theory's patterns that match it, and their instances, in
// the Match window; Instantiate has no effect of its own.
//
// The commands are bound to their items of the Edit menu and PopupMenu1.
#pragma once

#include <QObject>
#include <functional>

class QDialog;
class TMainForm;
class TMatchForm;
class TPropertiesForm;

class TMainFormInspection : public QObject {
  Q_OBJECT

 public:
  // The main window becomes the owner.
  TMainFormInspection(TMainForm& form, TPropertiesForm& properties, TMatchForm& match);

  void Properties1MenuItemClick();
  void Match1MenuItemClick();
  void Instantiate1MenuItemClick();

  // Shows a modal window until it is closed; tests answer it themselves.
  std::function<void(QDialog&)> ShowModal;

 private:
  // The selected drawn sentence's index, or -1 when nothing valid is selected.
  int SelectedDrawnIndex() const;

  TMainForm& form_;
  TPropertiesForm& properties_;
  TMatchForm& match_;
};

TMainFormInspection* AttachInspection(TMainForm& form, TPropertiesForm& properties,
                                      TMatchForm& match);
