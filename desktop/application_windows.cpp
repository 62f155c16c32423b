#include "window/application_windows.h"

#include "diagram_qt/draw_form.h"
#include "diagram_qt/legend_form.h"
#include "dialogs/match_form.h"
#include "dialogs/properties_form.h"
#include "dialogs/test_form.h"
#include "window/korvel_form.h"
#include "window/main_form_inspection.h"
#include "window/main_form_picture.h"

TApplicationWindows::TApplicationWindows() = default;
TApplicationWindows::~TApplicationWindows() = default;
TApplicationWindows::TApplicationWindows(TApplicationWindows&&) noexcept = default;

TApplicationWindows CreateApplicationWindows(TMainFormSetup setup) {
  TApplicationWindows windows;
  windows.MainForm = std::make_unique<TMainForm>(std::move(setup));
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
  windows.MainForm->SetTestForm(windows.TestForm.get());
  windows.MainForm->SetLegendForm(windows.LegendForm.get());
  AttachInspection(*windows.MainForm, *windows.PropertiesForm, *windows.MatchForm);
  AttachPicture(*windows.MainForm);
  return windows;
}
