// The picture of a drawing with 5,000 sentence boxes: the whole drawing
// written as SVG and as PDF, and one zoom step of a 1000 x 700 view with the
// repaint of the screenful it shows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <string>

#include "bench/bench_forest.h"
#include "diagram_qt/diagram_picture.h"
#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/diagram_zoom.h"

namespace {

using bench::EnsureApplication;
using bench::Forest;

struct TBoxFixture {
  TBoxFixture() {
    box.resize(1000, 700);
    box.Surface()->DrawArguments(Forest(5000));
    box.show();
  }
  bool application = EnsureApplication();  // before the first widget
  TDiagramScrollBox box;
};

TPicture WholePicture(const TDiagramSurface& surface) {
  TPicture picture;
  picture.Drawing = &surface.Drawing();
  picture.Font = surface.font();
  picture.Area = surface.DrawingArea();
  return picture;
}

void BM_WholeDrawingToSvg(benchmark::State& state) {
  TBoxFixture fixture;
  const TPicture picture = WholePicture(*fixture.box.Surface());
  size_t bytes = 0;
  for (auto _ : state) bytes = static_cast<size_t>(PictureSvg(picture).size());
  state.counters["boxes"] = 5000;
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_WholeDrawingToPdf(benchmark::State& state) {
  TBoxFixture fixture;
  const TPicture picture = WholePicture(*fixture.box.Surface());
  const QString path = QDir::temp().filePath(QStringLiteral("bench_picture.pdf"));
  QString error;
  for (auto _ : state)
    if (!WritePicture(path, TPictureFormat::Pdf, picture, error)) state.SkipWithError(error.toUtf8().constData());
  state.counters["MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
  QFile::remove(path);
}

// One step in or out (alternately), in the middle of the drawing, then the
// screenful the view shows painted as the window would paint it.
void BM_ZoomStepRepaint(benchmark::State& state) {
  TBoxFixture fixture;
  TDiagramZoom zoom(&fixture.box);
  zoom.SetZoom(1.0);
  fixture.box.verticalScrollBar()->setValue(fixture.box.verticalScrollBar()->maximum() / 2);
  QImage screen(fixture.box.viewport()->size(), QImage::Format_RGB32);
  bool in = true;
  for (auto _ : state) {
    in ? zoom.ZoomIn() : zoom.ZoomOut();
    in = !in;
    QPainter painter(&screen);
    const QPoint scrolled(fixture.box.horizontalScrollBar()->value(), fixture.box.verticalScrollBar()->value());
    fixture.box.Surface()->render(&painter, QPoint(), QRegion(QRect(scrolled, screen.size())));
  }
}

}  // namespace

BENCHMARK(BM_WholeDrawingToSvg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeDrawingToPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStepRepaint)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
