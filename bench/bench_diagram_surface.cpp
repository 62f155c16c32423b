// The diagram surface with 5,000 sentence boxes: painting one screenful at
// the top and deep inside the drawing, the full layout with the font's text
// measure, and finding the shape under the mouse.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <string>

#include "bench/bench_forest.h"
#include "diagram_qt/diagram_surface.h"

namespace {

using bench::EnsureApplication;
using bench::Forest;

struct TSurfaceFixture {
  TSurfaceFixture() { surface.DrawArguments(Forest(5000)); }
  bool application = EnsureApplication();  // before the first widget
  TDiagramSurface surface;
};

void BM_LayoutWithFontMeasure(benchmark::State& state) {
  EnsureApplication();
  TDiagramSurface surface;
  const TListOfKorvelSentences list = Forest(5000);
  for (auto _ : state) surface.DrawArguments(list);
  state.counters["elements"] = static_cast<double>(surface.Drawing().Elements.size());
}

void BM_PaintScreenful(benchmark::State& state) {
  TSurfaceFixture fixture;
  TDiagramSurface& surface = fixture.surface;
  const int top = static_cast<int>(state.range(0)) * surface.minimumHeight() / 100;
  QImage image(1000, 700, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    surface.render(&painter, QPoint(), QRegion(0, top, 1000, 700));
  }
}

void BM_ShapeUnderTheMouse(benchmark::State& state) {
  TSurfaceFixture fixture;
  const int height = fixture.surface.minimumHeight();
  int y = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(fixture.surface.ShapeAt(QPoint(60, y)));
    y = (y + 977) % height;
  }
}

}  // namespace

BENCHMARK(BM_LayoutWithFontMeasure)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintScreenful)->Arg(0)->Arg(50)->Arg(95)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShapeUnderTheMouse)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
