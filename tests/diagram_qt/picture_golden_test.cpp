// The picture at scale 1 compared pixel for pixel with the images kept in
// golden/: frames, bars (solid, dotted, thin, thick), arrowheads, crosses
// and status icons as the diagram has always shown them.
//   PELMORA_WRITE_GOLDEN=DIR diagram_picture_golden_test  writes the images anew.
#include <QtTest>
#include <set>

#include "tests/diagram_qt/picture_fixture.h"

namespace {

QString GoldenPath(const QString& name) { return QString(PELMORA_GOLDEN_DIR) + "/" + name; }

// The first differing pixel, for the failure message; empty when equal.
QString FirstDifference(const QImage& actual, const QImage& expected) {
  if (actual.size() != expected.size())
    return QString("size %1x%2, expected %3x%4")
        .arg(actual.width()).arg(actual.height()).arg(expected.width()).arg(expected.height());
  for (int y = 0; y < actual.height(); ++y)
    for (int x = 0; x < actual.width(); ++x)
      if (actual.pixel(x, y) != expected.pixel(x, y))
        return QString("pixel (%1, %2) is %3, expected %4")
            .arg(x).arg(y).arg(QColor(actual.pixel(x, y)).name(), QColor(expected.pixel(x, y)).name());
  return {};
}

}  // namespace

class TPictureGoldenTest : public QObject {
  Q_OBJECT

 private slots:
  void scaleOneMatchesTheGoldenImages_data() {
    QTest::addColumn<bool>("structureOnly");
    QTest::addColumn<QString>("file");
    QTest::newRow("statuses") << false << "diagram_statuses.png";
    QTest::newRow("structure only") << true << "diagram_structure.png";
  }

  void scaleOneMatchesTheGoldenImages() {
    QFETCH(bool, structureOnly);
    QFETCH(QString, file);
    const TPictureFixture fixture(structureOnly);
    const QImage actual = PaintShapesAtScaleOne(fixture.Drawing());
    const QByteArray writeTo = qgetenv("PELMORA_WRITE_GOLDEN");
    if (!writeTo.isEmpty()) {
      QVERIFY(actual.save(QString::fromLocal8Bit(writeTo) + "/" + file));
      QSKIP("golden image written");
    }
    const QImage expected = QImage(GoldenPath(file)).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!expected.isNull(), qPrintable("cannot read " + GoldenPath(file)));
    const QString difference = FirstDifference(actual, expected);
    if (!difference.isEmpty()) actual.save(QDir::tempPath() + "/actual_" + file);  // for a look
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
  }

  void fixtureHoldsEveryLinkShape() {
    const TPictureFixture fixture;
    std::set<TLinkShape> shapes;
    bool thick = false, thin = false, dotted = false;
    for (const TDrawCall& call : fixture.Drawing().Calls)
      if (call.Kind == TDrawCall::TKind::Link) shapes.insert(call.Shape);
    for (const TDiagramElement& e : fixture.Drawing().Elements) {
      if (e.Kind != TElementKind::Bar) continue;
      thick |= std::min(e.Bounds.Width, e.Bounds.Height) == 2;
      thin |= std::min(e.Bounds.Width, e.Bounds.Height) == 1;
      dotted |= e.PenStyle == TPenStyle::Dotted;
    }
    QCOMPARE(shapes.size(), size_t{6});
    QVERIFY(thick && thin && dotted);
  }
};

QTEST_MAIN(TPictureGoldenTest)
#include "picture_golden_test.moc"
