#include "window_picture/main_form_picture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>

#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/diagram_zoom.h"
#include "window/main_form.h"
#include "window/qt_document_ui.h"

namespace {

QAction* MakeItem(QObject* owner, const char* name, const QString& caption) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(QString::fromUtf8(name));
  return action;
}

constexpr const char* kFitToPage = "Shrink the drawing to fit one page";
constexpr const char* kTile = "Print at real size on as many pages as needed";

}  // namespace

TMainFormPicture::TMainFormPicture(TMainForm& form) : QObject(&form), form_(form) {
  setObjectName(QStringLiteral("MainFormPicture"));
  scrollBox_ = form.Widgets().ScrollBox;
  zoom_ = new TDiagramZoom(scrollBox_);
  showZoomLevel();
  createViewMenu();
  createFileAndEditItems();

  AskExport = [this](const TExportChoice& initial) { return TExportPictureDialog::Ask(&form_, initial); };
  AskPrintLayout = [this]() -> std::optional<TPrintLayout> {
    bool chosen = false;
    const QString item = QInputDialog::getItem(&form_, QStringLiteral("Print"), QStringLiteral("Drawings larger than a page:"),
                                               {QString::fromUtf8(kFitToPage), QString::fromUtf8(kTile)}, 0, false, &chosen);
    if (!chosen) return std::nullopt;
    return item == QString::fromUtf8(kTile) ? TPrintLayout::Tile : TPrintLayout::FitToPage;
  };
  PreviewAndPrint = [this](QPrinter& printer, const std::function<void(QPrinter&)>& print) {
    QPrintPreviewDialog preview(&printer, &form_);
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&print](QPrinter* target) { print(*target); });
    preview.exec();
  };
  ShowError = [this](const QString& message) {
    QMessageBox::warning(&form_, QStringLiteral("Pelmora"), MessageForWindow(message));
  };
}

// The zoom level at the right of the status bar, whatever changed it (a fit
// to window may enlarge a small drawing as well as shrink a large one).
void TMainFormPicture::showZoomLevel() {
  QStatusBar* bar = form_.Widgets().StatusBar;
  auto* level = new QLabel(bar);
  level->setObjectName(QStringLiteral("ZoomLevel"));
  level->setToolTip(QStringLiteral("Zoom"));
  bar->addPermanentWidget(level);
  const auto show = [level](double zoom) { level->setText(QStringLiteral("%1%").arg(std::lround(zoom * 100))); };
  show(zoom_->Zoom());
  connect(zoom_, &TDiagramZoom::zoomChanged, level, show);
}

// The View menu between Edit and Options on the menu bar ToolBar3.
void TMainFormPicture::createViewMenu() {
  auto* view = new QMenu(QStringLiteral("&View"), &form_);
  view->setObjectName(QStringLiteral("View1"));
  QAction* zoomIn = MakeItem(&form_, "ZoomIn1", QStringLiteral("Zoom &in"));
  zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  QAction* zoomOut = MakeItem(&form_, "ZoomOut1", QStringLiteral("Zoom &out"));
  zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  QAction* actualSize = MakeItem(&form_, "ActualSize1", QStringLiteral("&Actual size"));
  actualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  QAction* fit = MakeItem(&form_, "FitToWindow1", QStringLiteral("&Fit to window"));
  connect(zoomIn, &QAction::triggered, zoom_, &TDiagramZoom::ZoomIn);
  connect(zoomOut, &QAction::triggered, zoom_, &TDiagramZoom::ZoomOut);
  connect(actualSize, &QAction::triggered, zoom_, &TDiagramZoom::ResetZoom);
  connect(fit, &QAction::triggered, zoom_, &TDiagramZoom::FitToWindow);
  for (QAction* item : {zoomIn, zoomOut, actualSize, fit}) {
    view->addAction(item);
    form_.addAction(item);  // the shortcuts work while the menu is closed
  }

  QToolBar* bar = form_.Widgets().MenuBar;
  QToolButton* options = form_.Widgets().OptionsMenuButton;
  auto* button = new QToolButton(bar);
  button->setObjectName(QStringLiteral("View1ToolButton"));
  view->menuAction()->setIconText(view->title());
  button->setDefaultAction(view->menuAction());
  button->setPopupMode(QToolButton::InstantPopup);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setAutoRaise(true);
  button->setMinimumHeight(21);
  QAction* before = nullptr;
  for (QAction* placed : bar->actions())
    if (bar->widgetForAction(placed) == options) before = placed;
  if (before != nullptr)
    bar->insertWidget(before, button);
  else
    bar->addWidget(button);
}

// Export picture... and Print... above Exit; Copy picture at the end of Edit.
void TMainFormPicture::createFileAndEditItems() {
  QAction* exportPicture = MakeItem(&form_, "ExportPicture1", QStringLiteral("E&xport picture..."));
  QAction* print = MakeItem(&form_, "Print1", QStringLiteral("&Print..."));
  print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  form_.addAction(print);
  QAction* copy = MakeItem(&form_, "Copypicture1", QStringLiteral("Copy &picture"));
  connect(exportPicture, &QAction::triggered, this, &TMainFormPicture::ExportPicture1Click);
  connect(print, &QAction::triggered, this, &TMainFormPicture::Print1Click);
  connect(copy, &QAction::triggered, this, &TMainFormPicture::Copypicture1Click);

  QMenu* file = form_.Widgets().FileMenu;
  QAction* exitSeparator = form_.Widgets().ExitSeparator;
  QAction* before = file->actions().contains(exitSeparator) ? exitSeparator : nullptr;
  QAction* separator = new QAction(file);
  separator->setSeparator(true);
  separator->setObjectName(QStringLiteral("NPicture"));
  file->insertAction(before, separator);
  file->insertAction(before, exportPicture);
  file->insertAction(before, print);
  QMenu* edit = form_.Widgets().EditMenu;
  edit->addSeparator()->setObjectName(QStringLiteral("NCopyPicture"));
  edit->addAction(copy);
}

QRect TMainFormPicture::VisibleArea() const {
  const TDiagramSurface* surface = scrollBox_->Surface();
  const double zoom = surface->Zoom();
  const QSize view = scrollBox_->viewport()->size();
  const QRectF shown(scrollBox_->horizontalScrollBar()->value() / zoom, scrollBox_->verticalScrollBar()->value() / zoom,
                     view.width() / zoom, view.height() / zoom);
  return shown.toAlignedRect();
}

TPicture TMainFormPicture::Picture(bool visiblePartOnly, double scale) const {
  const TDiagramSurface* surface = scrollBox_->Surface();
  TPicture picture;
  picture.Drawing = &surface->Drawing();
  picture.Font = surface->font();
  picture.Area = visiblePartOnly ? VisibleArea() : surface->DrawingArea();
  picture.Scale = scale;
  return picture;
}

void TMainFormPicture::ExportPicture1Click() {
  // After an error the dialog comes back with the choice that failed, to be
  // corrected or cancelled.
  for (;;) {
    const std::optional<TExportChoice> choice = AskExport(lastExport_);
    if (!choice) return;
    lastExport_ = *choice;
    const std::optional<TPictureFormat> format = PictureFormatOfPath(choice->Path);
    QString error;
    if (!format) {
      ShowError(QStringLiteral("The file name must end in .png, .svg or .pdf."));
    } else if (!WritePicture(choice->Path, *format, Picture(choice->VisiblePartOnly, choice->Scale), error)) {
      ShowError(error);
    } else {
      return;
    }
  }
}

void TMainFormPicture::Print1Click() {
  const std::optional<TPrintLayout> layout = AskPrintLayout();
  if (!layout) return;
  QPrinter printer(QPrinter::HighResolution);
  const TPicture picture = Picture(false, 1.0);
  PreviewAndPrint(printer, [&](QPrinter& target) {
    if (!PrintPicture(target, picture, *layout)) ShowError(QStringLiteral("The picture could not be printed."));
  });
}

// The picture as the view shows it (at the zoom) for programs that take
// images, and as an SVG drawing for those that take vectors.
void TMainFormPicture::Copypicture1Click() {
  const TPicture picture = Picture(false, scrollBox_->Surface()->Zoom());
  auto* data = new QMimeData;
  data->setImageData(PictureImage(picture));
  TPicture vector = picture;
  vector.Scale = 1.0;
  data->setData(QStringLiteral("image/svg+xml"), PictureSvg(vector));
  QApplication::clipboard()->setMimeData(data);
}

TMainFormPicture* AttachPicture(TMainForm& form) { return new TMainFormPicture(form); }
