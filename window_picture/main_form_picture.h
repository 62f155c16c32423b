// The picture commands of the main window: the View menu (zoom in, zoom out,
// actual size, fit to window, and Ctrl + wheel on the diagram), File ->
// Export picture... and Print..., and Edit -> Copy picture. It adds its
// items to the window's menus and its zoom to ScrollBox1.
#pragma once

#include <QObject>
#include <QRect>
#include <functional>
#include <optional>

#include "diagram_qt/diagram_picture.h"
#include "window_picture/export_picture_dialog.h"

class QAction;
class QMenu;
class QPrinter;
class TDiagramScrollBox;
class TDiagramZoom;
class TMainForm;

class TMainFormPicture : public QObject {
  Q_OBJECT

 public:
  explicit TMainFormPicture(TMainForm& form);

  TDiagramZoom& Zoom() { return *zoom_; }
  // The drawing's area in view, in diagram pixels.
  QRect VisibleArea() const;
  // The picture of the whole drawing or of the part in view, as the window
  // shows it (same font), at a scale.
  TPicture Picture(bool visiblePartOnly, double scale) const;

  void ExportPicture1Click();
  void Print1Click();
  void Copypicture1Click();

  // The seams the desktop fills with dialogs and tests replace.
  std::function<std::optional<TExportChoice>(const TExportChoice& initial)> AskExport;
  std::function<std::optional<TPrintLayout>()> AskPrintLayout;
  std::function<void(QPrinter& printer, const std::function<void(QPrinter&)>& print)> PreviewAndPrint;
  std::function<void(const QString& message)> ShowError;

 private:
  void createViewMenu();
  void createFileAndEditItems();
  void showZoomLevel();

  TMainForm& form_;
  TDiagramScrollBox* scrollBox_ = nullptr;
  TDiagramZoom* zoom_ = nullptr;
  TExportChoice lastExport_;
};

// Adds the picture commands to the main window, which owns the result.
TMainFormPicture* AttachPicture(TMainForm& form);
