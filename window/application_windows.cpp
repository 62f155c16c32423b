#include "application_windows.h"

#include "draw_form.h"
#include "korvel_form.h"
#include "legend_form.h"
#include "main_form_inspection.h"
#include "main_form_picture.h"
#include "match_form.h"
#include "properties_form.h"
#include "test_form.h"

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
