#include "desktop/application_windows.h"

#include "desktop/outside_files.h"
#include "diagram_qt/draw_form.h"
#include "diagram_qt/legend_form.h"
#include "dialogs/match_form.h"
#include "dialogs/properties_form.h"
#include "dialogs/test_form.h"
#include "window/korvel_form.h"
#include "window_acceptance/acceptance_view.h"
#include "window_editing/main_form_editing.h"
#include "window_evaluation/main_form_evaluation.h"
#include "window_explanation/main_form_explanation.h"
#include "window_find/main_form_find.h"
#include "window_inspection/main_form_inspection.h"
#include "window_picture/main_form_picture.h"

TApplicationWindows::TApplicationWindows() = default;
TApplicationWindows::~TApplicationWindows() = default;
TApplicationWindows::TApplicationWindows(TApplicationWindows&&) noexcept = default;
TApplicationWindows& TApplicationWindows::operator=(TApplicationWindows&&) noexcept = default;

TApplicationWindows CreateApplicationWindows(TMainFormSetup setup) {
  TApplicationWindows windows;
  TMainFormFeatures& features = windows.Features;
  // The main window and its features, in this order. The document tells its
  // listeners of a refresh, a redraw, a finished evaluation or another
  // interpretation in the order they were added, so the order is part of
  // what the window shows:
  //  1. the window itself (added as it is made): the views, the report,
  //     panel 2 and the drawing;
  //  2. evaluation control: Stop and Evaluate again, panel 2 while one runs;
  //  3. acceptance: its marks over the drawing the window made, its report
  //     section after the window's report;
  //  4. editing: the selection found again on the new drawing;
  //  5. "Why?": the selected sentence explained again, with the acceptance
  //     in force.
  // The Options menu ends in the same order: Stop evaluation and Evaluate
  // again, then Stop acceptance.
  windows.MainForm = std::make_unique<TMainForm>(std::move(setup));
  TMainForm& form = *windows.MainForm;
  features.Evaluation = new TMainFormEvaluation(form);
  features.Acceptance = new TAcceptanceView(form);
  windows.KorvelForm = std::make_unique<TKorvelForm>();
  windows.DrawForm = std::make_unique<TDrawForm>();
  windows.PropertiesForm = std::make_unique<TPropertiesForm>();
  windows.TestForm = std::make_unique<TTestForm>();
  windows.MatchForm = std::make_unique<TMatchForm>();
  windows.LegendForm = std::make_unique<TLegendForm>();
  // The program ends when the main window closes, whichever other window is open.
  for (QWidget* window : std::initializer_list<QWidget*>{
           windows.KorvelForm.get(), windows.DrawForm.get(), windows.PropertiesForm.get(),
           windows.TestForm.get(), windows.MatchForm.get(), windows.LegendForm.get()})
    window->setAttribute(Qt::WA_QuitOnClose, false);
  form.SetTestForm(windows.TestForm.get());
  form.SetLegendForm(windows.LegendForm.get());
  features.Inspection = AttachInspection(form, *windows.PropertiesForm, *windows.MatchForm);
  features.Picture = AttachPicture(form);
  features.Editing = AttachArgumentEditing(form);
  features.Find = new TMainFormFind(form, features.Editing->Editor());
  features.Explanation = AttachExplanation(form, *features.Editing, *features.Acceptance);
  AcceptDroppedTheoryFiles(form);
  return windows;
}
