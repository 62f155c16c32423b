// The picture commands in the main window: the View menu and its shortcuts,
// the statement box and selection at 200% and 50%, Export picture... of the
// whole drawing and of the part in view, Copy picture and Print..., with the
// dialogs answered by the test.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QScrollBar>
#include <QXmlStreamReader>
#include <optional>
#include <vector>

#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/diagram_zoom.h"
#include "tests/desktop/window_harness.h"
#include "window_picture/export_picture_dialog.h"
#include "window_picture/main_form_picture.h"

namespace {

const std::string kExample = PELMORA_TEST_DATA_DIR "/example.kvl";

int PdfPages(const QString& path) {
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
  return static_cast<int>(QString::fromLatin1(ReadFile(path)).count(page));
}

}  // namespace

class TPictureWindowTest : public QObject {
  Q_OBJECT

 private:
  std::optional<TWindowHarness> window_;
  TMainFormPicture* picture_ = nullptr;
  TDiagramSurface* surface_ = nullptr;
  TDiagramScrollBox* box_ = nullptr;
  QStringList errors_;

  // A theory of `count` assumptions, each a box of its own row.
  std::string WriteStatements(int count) {
    QByteArray content = "<KORVEL><THEORY>";
    for (int i = 0; i < count; ++i)
      content += "<SENTENCE><ELEMENTARYSENTENCE>statement number " + QByteArray::number(i) +
                 "</ELEMENTARYSENTENCE></SENTENCE>";
    content += "</THEORY><ISSUES></ISSUES></KORVEL>";
    return window_->WriteFile("many.kvl", content).toStdString();
  }

 private slots:
  void init() {
    window_.emplace();
    picture_ = window_->Windows.Features.Picture;
    errors_.clear();
    picture_->ShowError = [this](const QString& message) { errors_ << message; };
    surface_ = window_->Surface;
    box_ = window_->Find<TDiagramScrollBox>("ScrollBox1");
  }

  void cleanup() { window_.reset(); }

  void viewMenuSitsBetweenEditAndOptionsWithItsShortcuts() {
    const int edit = window_->Find<QToolButton>("Edit1ToolButton")->x();
    const int view = window_->Find<QToolButton>("View1ToolButton")->x();
    const int options = window_->Find<QToolButton>("Options1ToolButton")->x();
    QVERIFY(edit < view && view < options);
    QStringList items;
    for (QAction* item : window_->Find<QMenu>("View1")->actions()) items << item->text();
    QCOMPARE(items, (QStringList{"Zoom &in", "Zoom &out", "&Actual size", "&Fit to window"}));
    QStringList file;
    for (QAction* item : window_->Find<QMenu>("File1")->actions()) file << (item->isSeparator() ? "-" : item->text());
    QCOMPARE(file, (QStringList{"&New", "&Open...", "-", "&Save", "Save &As...", "-", "E&xport picture...",
                                "&Print...", "-", "&Exit"}));
    QCOMPARE(window_->Find<QMenu>("Edit1")->actions().last()->text(), QStringLiteral("Copy &picture"));

    window_->Open(kExample);
    auto* level = window_->Find<QLabel>("ZoomLevel");  // the zoom shown in the status bar
    QCOMPARE(level->text(), QStringLiteral("100%"));
    QTest::keyClick(window_->Form.get(), Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(surface_->Zoom(), 1.25);
    QCOMPARE(level->text(), QStringLiteral("125%"));
    QTest::keyClick(window_->Form.get(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(surface_->Zoom(), 1.5);
    QTest::keyClick(window_->Form.get(), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(surface_->Zoom(), 1.25);
    QTest::keyClick(window_->Form.get(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(surface_->Zoom(), 1.0);
    for (int i = 0; i < 20; ++i) window_->Find<QAction>("ZoomOut1")->trigger();
    QCOMPARE(surface_->Zoom(), 0.25);
    for (int i = 0; i < 20; ++i) window_->Find<QAction>("ZoomIn1")->trigger();
    QCOMPARE(surface_->Zoom(), 4.0);
    window_->Open(WriteStatements(40));  // too tall for the window at 100%
    window_->Find<QAction>("FitToWindow1")->trigger();
    QVERIFY(surface_->Zoom() < 1.0);
    QCOMPARE(level->text(), QStringLiteral("%1%").arg(std::lround(surface_->Zoom() * 100)));
    QCOMPARE(box_->verticalScrollBar()->maximum(), 0);
    QCOMPARE(box_->horizontalScrollBar()->maximum(), 0);
  }

  // A press at the zoomed place of a box selects it; the statement box opens
  // where the zoomed box is.
  void selectionAndStatementBoxFollowTheZoom_data() {
    QTest::addColumn<double>("zoom");
    QTest::newRow("50%") << 0.5;
    QTest::newRow("200%") << 2.0;
  }

  void selectionAndStatementBoxFollowTheZoom() {
    QFETCH(double, zoom);
    window_->Open(kExample);
    picture_->Zoom().SetZoom(zoom, QPoint(0, 0));
    QCOMPARE(box_->verticalScrollBar()->value(), 0);
    const TDiagramElement* frame = nullptr;
    for (const TDiagramElement& e : surface_->Drawing().Elements)
      if (e.Kind == TElementKind::Frame && e.Row == 1 && !frame) frame = &e;
    QVERIFY(frame != nullptr);
    const QPoint inside(static_cast<int>((frame->Bounds.Left + frame->Bounds.Width / 2) * zoom),
                        static_cast<int>((frame->Bounds.Top + frame->Bounds.Height / 2) * zoom));
    QTest::mouseClick(surface_, Qt::LeftButton, {}, inside);
    QCOMPARE(window_->Form->Selection().SelectedIndex, frame->Tag);

    // A double click opens the statement box on the box; at 100% it stands
    // at `actual`, zoomed at the zoomed place, and it follows a later zoom.
    auto* statement = window_->Find<QComboBox>("ComboBox1");
    QTest::mouseDClick(surface_, Qt::LeftButton, {}, inside);
    QVERIFY(statement->isVisible());
    const QPoint zoomed = statement->pos();
    picture_->Zoom().SetZoom(1.0, QPoint(0, 0));
    const QPoint actual = statement->pos();
    QVERIFY(std::abs(actual.x() - frame->Bounds.Left) <= 2 && std::abs(actual.y() - frame->Bounds.Top) <= 2);
    QCOMPARE(zoomed, QPoint(static_cast<int>(std::floor(actual.x() * zoom)), static_cast<int>(std::floor(actual.y() * zoom))));
  }

  void exportWritesTheWholeDrawingOrThePartInView() {
    window_->Open(kExample);
    const QRect whole = surface_->DrawingArea();
    const QString png = window_->Path("whole.png");
    picture_->AskExport = [&](const TExportChoice&) { return std::optional(TExportChoice{png, 2.0, false}); };
    window_->Find<QAction>("ExportPicture1")->trigger();
    QCOMPARE(QImage(png).size(), whole.size() * 2);

    box_->resize(200, 120);  // smaller than the drawing
    QApplication::processEvents();
    picture_->Zoom().SetZoom(2.0, QPoint(0, 0));
    const QString svg = window_->Path("visible.svg");
    QString offered;
    picture_->AskExport = [&](const TExportChoice& initial) {
      offered = initial.Path;
      return std::optional(TExportChoice{svg, 1.0, true});
    };
    window_->Find<QAction>("ExportPicture1")->trigger();
    QCOMPARE(offered, png);  // the last choice is offered again
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    while (!reader.atEnd() && !(reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("svg"))) {
    }
    const QSize view = box_->viewport()->size();
    QCOMPARE(reader.attributes().value("viewBox").toString(),
             QStringLiteral("0 0 %1 %2").arg(std::ceil(view.width() / 2.0)).arg(std::ceil(view.height() / 2.0)));

    // A choice that cannot be written brings the dialog back with it; the
    // user corrects it there.
    const QString missing = window_->Path("missing/x.pdf");
    const QString corrected = window_->Path("x.pdf");
    std::vector<QString> asked;
    picture_->AskExport = [&](const TExportChoice& initial) {
      asked.push_back(initial.Path);
      return std::optional(TExportChoice{asked.size() == 1 ? missing : corrected, 1.0, false});
    };
    window_->Find<QAction>("ExportPicture1")->trigger();
    QCOMPARE(errors_.size(), 1);
    QCOMPARE(asked, (std::vector<QString>{svg, missing}));
    QVERIFY(QFile::exists(corrected));
    picture_->AskExport = [&](const TExportChoice&) { return std::optional<TExportChoice>(); };  // cancelled
    window_->Find<QAction>("ExportPicture1")->trigger();
    QCOMPARE(errors_.size(), 1);
  }

  // The dialog offers the last path with its file name selected: typing
  // replaces the name and keeps the folder and the extension.
  void exportDialogSelectsTheNameForTyping() {
    TExportPictureDialog dialog;
    dialog.SetChoice({QStringLiteral("/home/u/pictures.d/argument.png"), 2.0, false});
    dialog.show();
    auto* path = dialog.findChild<QLineEdit*>(QStringLiteral("PicturePath"));
    QCOMPARE(path->selectedText(), QStringLiteral("argument"));
    QTest::keyClicks(path, QStringLiteral("second"));
    QCOMPARE(dialog.Choice().Path, QStringLiteral("/home/u/pictures.d/second.png"));
  }

  void copyPutsAnImageAndAnSvgOnTheClipboard() {
    window_->Open(kExample);
    picture_->Zoom().SetZoom(2.0);
    window_->Find<QAction>("Copypicture1")->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data != nullptr);
    QVERIFY(data->hasImage());
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), surface_->DrawingArea().size() * 2);
    QVERIFY(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
  }

  void printFitsOrTilesThroughThePreview() {
    window_->Open(WriteStatements(10));
    for (TPrintLayout layout : {TPrintLayout::FitToPage, TPrintLayout::Tile}) {
      const QString pdf = window_->Path(layout == TPrintLayout::Tile ? "tiled.pdf" : "fitted.pdf");
      picture_->AskPrintLayout = [layout] { return std::optional(layout); };
      picture_->PreviewAndPrint = [&](QPrinter& printer, const std::function<void(QPrinter&)>& print) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QSizeF(1, 1), QPageSize::Inch));  // 96 x 96 diagram pixels
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        print(printer);
      };
      window_->Find<QAction>("Print1")->trigger();
      const int pages = PdfPages(pdf);
      if (layout == TPrintLayout::FitToPage) QCOMPARE(pages, 1);
      else QVERIFY2(pages > 1, qPrintable(QString::number(pages)));
    }
    QVERIFY(errors_.isEmpty());
  }
};

QTEST_MAIN(TPictureWindowTest)
#include "picture_window_test.moc"
