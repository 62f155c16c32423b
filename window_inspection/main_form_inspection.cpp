#include "window_inspection/main_form_inspection.h"

#include <QAction>
#include <QDialog>

#include "diagram_qt/diagram_scroll_box.h"
#include "dialogs/match_form.h"
#include "dialogs/properties_form.h"
#include "inspection/match_report.h"
#include "inspection/properties_report.h"
#include "window/main_form.h"

TMainFormInspection::TMainFormInspection(TMainForm& form, TPropertiesForm& properties,
                                         TMatchForm& match)
    : QObject(&form), form_(form), properties_(properties), match_(match) {
  ShowModal = [](QDialog& dialog) { dialog.exec(); };
  const TEditingItems& popup = form.Widgets().PopupMenuItems;
  const TEditingItems& edit = form.Widgets().EditMenuItems;
  const std::pair<QAction*, void (TMainFormInspection::*)()> bindings[] = {
      {popup.Properties, &TMainFormInspection::Properties1MenuItemClick},
      {edit.Properties, &TMainFormInspection::Properties1MenuItemClick},
      {popup.Match, &TMainFormInspection::Match1MenuItemClick},
      {edit.Match, &TMainFormInspection::Match1MenuItemClick},
      {popup.Instantiate, &TMainFormInspection::Instantiate1MenuItemClick},
      {edit.Instantiate, &TMainFormInspection::Instantiate1MenuItemClick},
  };
  for (const auto& [action, handler] : bindings) connect(action, &QAction::triggered, this, handler);
  // A press in the match diagram selects nothing (its indices name the match
  // window's own sentences); it only recomputes what the menus offer.
  connect(match.ScrollBox1->Surface(), &TDiagramSurface::mouseDown, this,
          [this] { form_.UpdateCommandAvailability(); });
}

int TMainFormInspection::SelectedDrawnIndex() const {
  const int index = form_.Selection().SelectedIndex;
  const auto& drawn = form_.DrawnSentences();
  return index >= 0 && static_cast<size_t>(index) < drawn.size() ? index : -1;
}

void TMainFormInspection::Properties1MenuItemClick() {
  properties_.Clear();
  const int index = SelectedDrawnIndex();
  if (index >= 0)
    properties_.ShowLines(PropertiesLines(*form_.DrawnSentences()[static_cast<size_t>(index)], index));
  // Over the middle of the main window, wherever that is.
  properties_.move(form_.frameGeometry().center() - properties_.rect().center());
  ShowModal(properties_);
  form_.UpdateCommandAvailability();
}

void TMainFormInspection::Match1MenuItemClick() {
  const int index = SelectedDrawnIndex();
  if (index >= 0) {
    TDocument& document = form_.Document();
    const SentencePtr target = form_.DrawnSentences()[static_cast<size_t>(index)];
    TMatchReport report = ComputeMatchReport(document.Theory(), target);
    match_.ShowMatch(report, &document.EditableTheory(), document.Options.ShowStructureOnly,
                     document.Options.ShowDialecticalNegations);
    match_.show();
  }
  form_.UpdateCommandAvailability();
}

void TMainFormInspection::Instantiate1MenuItemClick() { form_.UpdateCommandAvailability(); }

TMainFormInspection* AttachInspection(TMainForm& form, TPropertiesForm& properties,
                                      TMatchForm& match) {
  return new TMainFormInspection(form, properties, match);
}
