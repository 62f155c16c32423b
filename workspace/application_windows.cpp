#include "application_windows.h"

#include "korvel_form.h"
#include "match_form.h"
#include "properties_form.h"
#include "test_form.h"

namespace {

// A window whose content another part of the program provides.
std::unique_ptr<QWidget> EmptyWindow(const char* name) {
  auto window = std::make_unique<QWidget>();
  window->setObjectName(QString::fromUtf8(name));
  return window;
}

}  // namespace

TApplicationWindows::TApplicationWindows() = default;
TApplicationWindows::~TApplicationWindows() = default;
TApplicationWindows::TApplicationWindows(TApplicationWindows&&) noexcept = default;

TApplicationWindows CreateApplicationWindows(TMainFormSetup setup) {
  TApplicationWindows windows;
  windows.MainForm = std::make_unique<TMainForm>(std::move(setup));
  windows.KorvelForm = std::make_unique<TKorvelForm>();
  windows.DrawForm = EmptyWindow("DrawForm");
  windows.PropertiesForm = std::make_unique<TPropertiesForm>();
  windows.TestForm = std::make_unique<TTestForm>();
  windows.MatchForm = std::make_unique<TMatchForm>();
  windows.LegendForm = EmptyWindow("LegendForm");
  windows.MainForm->SetTestForm(windows.TestForm.get());
  windows.MainForm->SetLegendForm(windows.LegendForm.get());
  return windows;
}
