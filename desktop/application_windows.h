// The program's seven windows, created in their fixed order with the main
// window first; only the main window is shown (by the caller).
#pragma once

#include <QWidget>
#include <memory>

#include "window/main_form.h"

class TDrawForm;
class TKorvelForm;
class TLegendForm;
class TPropertiesForm;
class TTestForm;
class TMatchForm;

struct TApplicationWindows {
  TApplicationWindows();
  ~TApplicationWindows();
  TApplicationWindows(TApplicationWindows&&) noexcept;

  // Declared in creation order; destroyed in reverse, the main window last.
  std::unique_ptr<TMainForm> MainForm;
  std::unique_ptr<TKorvelForm> KorvelForm;
  std::unique_ptr<TDrawForm> DrawForm;
  std::unique_ptr<TPropertiesForm> PropertiesForm;
  std::unique_ptr<TTestForm> TestForm;
  std::unique_ptr<TMatchForm> MatchForm;
  std::unique_ptr<TLegendForm> LegendForm;
};

TApplicationWindows CreateApplicationWindows(TMainFormSetup setup = DefaultMainFormSetup());
