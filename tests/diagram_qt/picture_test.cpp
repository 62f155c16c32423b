// The drawing as a picture: what SVG, PNG and PDF output hold, smooth lines
// and icons at scale 2, and printing on pages.
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <atomic>
#include <set>
#include <thread>

#include "diagram_qt/diagram_picture.h"
#include "diagram_qt/qt_text.h"
#include "tests/diagram_qt/picture_fixture.h"
#include "tests/logic/file_size_limit.h"

namespace {

TPicture WholePicture(const TPictureFixture& fixture, double scale = 1.0) {
  TPicture picture;
  picture.Drawing = &fixture.Drawing();
  picture.Area = WholeDrawingArea(fixture.Drawing(), fixture.Context.Metrics);
  picture.Scale = scale;
  return picture;
}

// How many page objects a PDF file holds ("/Type /Page", not "/Pages").
int PdfPageCount(const QByteArray& pdf) {
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
  return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool IsWhite(QRgb pixel) { return pixel == qRgb(255, 255, 255); }

}  // namespace

class TPictureTest : public QObject {
  Q_OBJECT

 private slots:
  // Labels measured ahead, on another thread, land in the shared cache with
  // the widths a measure of the same font gives on demand, style by style;
  // a measure sharing the cache then takes them from there even though its
  // own font is another. Stopped at once, measuring ahead measures nothing.
  // Labels, reports and dialogs show sentence bytes through FromBytes: UTF-8
  // when the whole text is valid UTF-8, else every byte as Latin-1.
  void bytesShowAsUtf8OrLatin1() {
    QCOMPARE(FromBytes("caf\xC3\xA9"), QStringLiteral("caf\u00e9"));
    QCOMPARE(FromBytes("caf\xE9"), QStringLiteral("caf\u00e9"));  // not UTF-8: Latin-1
    QCOMPARE(FromBytes("\xC3\xA9\xE9"), QStringLiteral("\u00c3\u00a9\u00e9"));  // one bad byte: all Latin-1
    QCOMPARE(FromBytes("\xC0\xAF"), QStringLiteral("\u00c0\u00af"));  // overlong: not UTF-8
    QCOMPARE(FromBytes("caf\xC3"), QStringLiteral("caf\u00c3"));  // cut short at the end
    QCOMPARE(FromBytes(std::string_view("a\0b", 3)), QStringView(u"a\0b", 3).toString());  // a NUL stays
    QCOMPARE(ToBytes(QStringLiteral("caf\u00e9")), std::string("caf\xC3\xA9"));
  }

  void labelsMeasuredAheadHaveTheWidthsMeasuredOnDemand() {
    const QFont font(QStringLiteral("Sans Serif"), 10);
    QFont other = font;
    other.setPixelSize(40);
    const std::vector<std::string> texts = {"we can open the bridge", "W", "i", "caf\xc3\xa9 ok", "na\xefve",
                                            "   ", "..."};
    std::vector<TLabelToMeasure> labels;
    for (const std::string& text : texts)
      for (TFontStyle style : {TFontStyle::Regular, TFontStyle::Bold, TFontStyle::Italic})
        labels.push_back({text, style});
    for (const bool stopAtOnce : {false, true}) {
      auto cache = NewLabelWidthCache();
      std::atomic<bool> stop{stopAtOnce};
      std::thread([&] { MeasureLabelsAhead(font, *cache, labels, stop); }).join();
      TDrawContext onDemand, shared;
      MeasureTextWith(onDemand, font);
      MeasureTextWith(shared, other, cache);
      for (const TLabelToMeasure& label : labels) {
        const int expected = onDemand.TextWidth(label.Text, label.Style);
        const int found = shared.TextWidth(label.Text, label.Style);
        if (stopAtOnce)
          QVERIFY2(found != expected, label.Text.data());
        else
          QCOMPARE(found, expected);
      }
    }
  }

  // Each drawn box's caption is one <text>; every bar and stroke of the
  // links is a line of its own (a dotted bar one dashed line per pixel of
  // thickness), and nothing else is drawn as a line.
  void svgHoldsOneTextPerBoxAndTheLinksAsLines() {
    const TPictureFixture fixture;
    std::multiset<QString> expectedTexts;
    int expectedLines = 0, links = 0;
    for (const TDiagramElement& e : fixture.Drawing().Elements) {
      if (e.Kind == TElementKind::Label) expectedTexts.insert(FromBytes(fixture.Drawing().CaptionOf(e)));
      if (e.Kind == TElementKind::CycleMark) expectedTexts.insert(QStringLiteral("..."));
      if (e.Kind == TElementKind::Stroke) ++expectedLines;
      if (e.Kind == TElementKind::Bar)
        expectedLines += e.PenStyle == TPenStyle::Dotted ? std::min(e.Bounds.Width, e.Bounds.Height) : 1;
    }
    for (const TDrawCall& call : fixture.Drawing().Calls) links += call.Kind == TDrawCall::TKind::Link ? 1 : 0;

    QXmlStreamReader svg(PictureSvg(WholePicture(fixture)));
    std::multiset<QString> texts;
    int lines = 0;
    while (!svg.atEnd()) {
      if (svg.readNext() != QXmlStreamReader::StartElement) continue;
      if (svg.name() == QLatin1String("text")) texts.insert(svg.readElementText());
      if (svg.name() == QLatin1String("polyline") || svg.name() == QLatin1String("line")) ++lines;
    }
    QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    QCOMPARE(texts, expectedTexts);
    QCOMPARE(lines, expectedLines);
    QVERIFY(lines >= links && links >= 10);
  }

  void pngSizeFollowsTheScale_data() {
    QTest::addColumn<double>("scale");
    QTest::newRow("half") << 0.5;
    QTest::newRow("one") << 1.0;
    QTest::newRow("two") << 2.0;
    QTest::newRow("three") << 3.0;
  }

  void pngSizeFollowsTheScale() {
    QFETCH(double, scale);
    const TPictureFixture fixture;
    const TPicture picture = WholePicture(fixture, scale);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("picture.png"));
    QString error;
    QVERIFY2(WritePicture(path, TPictureFormat::Png, picture, error), qPrintable(error));
    const QImage image(path);
    const QRect area = picture.Area;
    QCOMPARE(area.size(), QSize(fixture.Drawing().Width() + 2, fixture.Drawing().Height() + 2));
    QCOMPARE(image.size(), QSize(static_cast<int>(std::ceil(area.width() * scale)),
                                 static_cast<int>(std::ceil(area.height() * scale))));
  }

  void formatComesFromTheExtension() {
    QCOMPARE(PictureFormatOfPath("a/b.PNG"), std::optional(TPictureFormat::Png));
    QCOMPARE(PictureFormatOfPath("b.svg"), std::optional(TPictureFormat::Svg));
    QCOMPARE(PictureFormatOfPath("b.Pdf"), std::optional(TPictureFormat::Pdf));
    QCOMPARE(PictureFormatOfPath("b.jpg"), std::nullopt);
    QCOMPARE(PictureFormatOfPath("pdf"), std::nullopt);
  }

  void failedWriteSaysSoAndLeavesNoFile() {
    const TPictureFixture fixture;
    QTemporaryDir directory;
    for (const char* name : {"missing/picture.png", "missing/picture.svg", "missing/picture.pdf"}) {
      const QString path = directory.filePath(QString::fromUtf8(name));
      QString error;
      QVERIFY(!WritePicture(path, *PictureFormatOfPath(path), WholePicture(fixture), error));
      QVERIFY(error.contains(path));
      QVERIFY(!QFile::exists(path));
    }
    // A PNG larger than any image can be.
    TPicture huge = WholePicture(fixture, 16.0);
    huge.Area = QRect(0, 0, 100000, 100000);
    const QString path = directory.filePath(QStringLiteral("huge.png"));
    QString error;
    QVERIFY(!WritePicture(path, TPictureFormat::Png, huge, error));
    QVERIFY2(error.contains(QStringLiteral("too large")), qPrintable(error));
    QVERIFY(!QFile::exists(path));
  }

  // At a scale between whole numbers a thick dotted bar cannot keep its
  // checkerboard; its dots run across the bar in step (no zig-zag), on
  // and off along it.
  void dottedBarsStayDotsAtOneAndAHalf() {
    const TPictureFixture fixture;
    const double scale = 1.5;
    const QImage image = PictureImage(WholePicture(fixture, scale));
    int checked = 0;
    for (const TDiagramElement& e : fixture.Drawing().Elements) {
      if (e.Kind != TElementKind::Bar || e.PenStyle != TPenStyle::Dotted || e.Bounds.Width != 2 ||
          e.Bounds.Height < 30)
        continue;
      const int left = static_cast<int>(std::ceil(scale * e.Bounds.Left));
      const int right = static_cast<int>(std::floor(scale * e.Bounds.Right())) - 1;
      QVERIFY(right > left);
      const int top = static_cast<int>(scale * (e.Bounds.Top + 10));
      const int bottom = static_cast<int>(scale * (e.Bounds.Bottom() - 6));
      int inked = 0;
      for (int y = top; y < bottom; ++y) {
        QVERIFY2(IsWhite(image.pixel(left, y)) == IsWhite(image.pixel(right, y)),
                 qPrintable(QStringLiteral("the dots zig-zag at device row %1").arg(y)));
        inked += IsWhite(image.pixel(left, y)) ? 0 : 1;
      }
      QVERIFY(inked > 0 && inked < bottom - top);
      ++checked;
    }
    QVERIFY(checked > 0);
  }

  // Writes that really fail half way (a full disk: a child process with a
  // small file size limit) leave the old picture as it was, in every format.
  void aFullDiskKeepsTheOldPicture() {
    const TPictureFixture fixture;
    QTemporaryDir directory;
    for (const char* name : {"picture.png", "picture.svg", "picture.pdf"}) {
      const QString path = directory.filePath(QString::fromUtf8(name));
      QFile old(path);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("old picture");
      old.close();
      const int code = RunWithFileSizeLimit(200, [&] {
        QString error;
        if (WritePicture(path, *PictureFormatOfPath(path), WholePicture(fixture), error)) return 1;
        return error.contains(QStringLiteral("File too large")) ? 0 : 2;
      });
      QVERIFY2(code == 0, qPrintable(QStringLiteral("%1: %2").arg(QString::fromUtf8(name)).arg(code)));
      QCOMPARE(ReadAll(path), QByteArray("old picture"));
      QCOMPARE(QDir(directory.path()).entryList(QDir::Files).size(), 1);
      QFile::remove(path);
    }
  }

  // A PDF of one page from which every box's text can be extracted.
  void pdfIsOnePageWithSearchableText() {
    TPictureFixture fixture;
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("picture.pdf"));
    QString error;
    QVERIFY2(WritePicture(path, TPictureFormat::Pdf, WholePicture(fixture), error), qPrintable(error));
    const QByteArray pdf = ReadAll(path);
    QVERIFY(pdf.startsWith("%PDF-1."));
    QCOMPARE(PdfPageCount(pdf), 1);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) QSKIP("pdftotext is not installed");
    QProcess process;
    process.start(pdftotext, {path, QStringLiteral("-")});
    QVERIFY(process.waitForFinished(20000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    QStringList shown = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    shown.removeAll(QStringLiteral("\f"));
    QStringList drawn;
    for (const TDiagramElement& e : fixture.Drawing().Elements) {
      if (e.Kind == TElementKind::Label) drawn << FromBytes(fixture.Drawing().CaptionOf(e));
      if (e.Kind == TElementKind::CycleMark) drawn << QStringLiteral("...");
    }
    shown.sort();
    drawn.sort();
    QCOMPARE(shown, drawn);
  }

  // At scale 2 a stroke is a line without gaps, a dotted bar is made of
  // two-pixel dots, and the icons are shapes with smoothed edges rather
  // than enlarged pixels.
  void scaleTwoIsSmooth() {
    const TPictureFixture fixture;
    const QImage image = PictureImage(WholePicture(fixture, 2.0));
    for (const TDiagramElement& e : fixture.Drawing().Elements) {
      if (e.Kind == TElementKind::Stroke) {
        for (int y = 2 * e.Bounds.Top + 1; y < 2 * e.Bounds.Bottom() - 1; ++y) {
          bool inked = false;
          for (int x = 2 * e.Bounds.Left - 1; x <= 2 * e.Bounds.Right() + 1; ++x) inked |= !IsWhite(image.pixel(x, y));
          QVERIFY2(inked, qPrintable(QString("gap in the stroke at (%1, %2)").arg(e.Bounds.Left).arg(y)));
        }
      }
      if (e.Kind == TElementKind::Bar && e.PenStyle == TPenStyle::Dotted && e.Bounds.Height > 20) {
        // Down the middle of a vertical dotted bar, away from the marker at
        // its top and the bar at its foot: runs of two inked rows, then two
        // blank ones.
        const int x = 2 * e.Bounds.Left + 1;
        const int top = 2 * (e.Bounds.Top + 8), bottom = 2 * (e.Bounds.Bottom() - 4);
        int run = 0;
        std::vector<int> runs;
        for (int y = top; y < bottom; ++y) {
          if (y > top && IsWhite(image.pixel(x, y)) != IsWhite(image.pixel(x, y - 1))) {
            runs.push_back(run);
            run = 0;
          }
          ++run;
        }
        for (int length : runs) QCOMPARE(length, 2);
        QVERIFY(runs.size() > 4);
      }
    }
    // The open ring of the first box: shades between grey and white at its
    // edge, which an enlarged bitmap would not have.
    const TDiagramElement* icons = nullptr;
    for (const TDiagramElement& e : fixture.Drawing().Elements)
      if (e.Kind == TElementKind::StatusIcons && e.StatusIcon == kOpenIcon && !icons) icons = &e;
    QVERIFY(icons != nullptr);
    std::set<QRgb> shades;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) shades.insert(image.pixel(2 * (icons->Bounds.Left + 16) + x, 2 * icons->Bounds.Top + y));
    QVERIFY2(shades.size() > 4, "the ring is not smoothed");
  }

  void printPagesTileOrFit() {
    const QRect area(0, 0, 1000, 2100);
    const std::vector<QRect> tiles = PrintPages(area, QSizeF(600.5, 1000), TPrintLayout::Tile);
    QCOMPARE(tiles, (std::vector<QRect>{{0, 0, 600, 1000}, {600, 0, 400, 1000}, {0, 1000, 600, 1000},
                                        {600, 1000, 400, 1000}, {0, 2000, 600, 100}, {600, 2000, 400, 100}}));
    QCOMPARE(PrintPages(area, QSizeF(600, 1000), TPrintLayout::FitToPage), (std::vector<QRect>{area}));
    QVERIFY(PrintPages(QRect(), QSizeF(600, 1000), TPrintLayout::Tile).empty());
  }

  // Printed on A6 pages (about 397 x 559 diagram pixels), the fixture's
  // drawing fits or takes as many pages as its tiles.
  void printingMakesOnePagePerTile() {
    const TPictureFixture fixture;
    TPicture picture = WholePicture(fixture);
    picture.Area = QRect(0, 0, 900, 1300);  // larger than a page either way
    for (TPrintLayout layout : {TPrintLayout::FitToPage, TPrintLayout::Tile}) {
      QTemporaryDir directory;
      const QString path = directory.filePath(QStringLiteral("printed.pdf"));
      {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A6));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(300);
        QVERIFY(PrintPicture(writer, picture, layout));
      }
      const int expected = layout == TPrintLayout::FitToPage ? 1 : 3 * 3;
      QCOMPARE(PdfPageCount(ReadAll(path)), expected);
    }
  }
};

QTEST_MAIN(TPictureTest)
#include "picture_test.moc"
