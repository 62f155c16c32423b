// The program's seven windows, created in their fixed order with the main
// window first and complete with its features; only the main window is shown
// (by the caller).
#pragma once

#include <QWidget>
#include <memory>

#include "window/main_form.h"

class TAcceptanceView;
class TDrawForm;
class TKorvelForm;
class TLegendForm;
class TMainFormEditing;
class TMainFormEvaluation;
class TMainFormExplanation;
class TMainFormFind;
class TMainFormInspection;
class TMainFormPicture;
class TPropertiesForm;
class TTestForm;
class TMatchForm;

// The features of the main window, which owns them.
struct TMainFormFeatures {
  TMainFormEvaluation* Evaluation = nullptr;
  TAcceptanceView* Acceptance = nullptr;
  TMainFormInspection* Inspection = nullptr;
  TMainFormPicture* Picture = nullptr;
  TMainFormEditing* Editing = nullptr;
  TMainFormFind* Find = nullptr;
  TMainFormExplanation* Explanation = nullptr;
};

struct TApplicationWindows {
  TApplicationWindows();
  ~TApplicationWindows();
  TApplicationWindows(TApplicationWindows&&) noexcept;
  TApplicationWindows& operator=(TApplicationWindows&&) noexcept;

  // Declared in creation order; destroyed in reverse, the main window last.
  std::unique_ptr<TMainForm> MainForm;
  std::unique_ptr<TKorvelForm> KorvelForm;
  std::unique_ptr<TDrawForm> DrawForm;
  std::unique_ptr<TPropertiesForm> PropertiesForm;
  std::unique_ptr<TTestForm> TestForm;
  std::unique_ptr<TMatchForm> MatchForm;
  std::unique_ptr<TLegendForm> LegendForm;
  TMainFormFeatures Features;
};

// The windows, the main one with every feature attached; files dropped on it
// are opened.
TApplicationWindows CreateApplicationWindows(TMainFormSetup setup = DefaultMainFormSetup());
