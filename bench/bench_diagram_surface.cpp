// The diagram surface with 5,000 sentence boxes: painting one screenful at
// the top and deep inside the drawing, the full layout with the font's text
// measure, and finding the shape under the mouse.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <string>

#include "diagram_surface.h"

namespace {

// Claims with two supports and one attack each: four boxes per claim.
TListOfKorvelSentences Forest(int boxes) {
  TListOfKorvelSentences list;
  for (int tree = 0; tree * 4 < boxes; ++tree) {
    const std::string n = std::to_string(tree);
    SentencePtr claim = MakeElementarySentence("claim number " + n);
    auto support = [&](const std::string& text, const SentencePtr& consequent) {
      auto conditional = std::make_shared<TKorvelConditional>();
      conditional->Antecedents.push_back(MakeElementarySentence(text));
      conditional->Consequent = consequent;
      RebuildText(*conditional);
      list.push_back(conditional);
      list.push_back(conditional->Antecedents.front());
    };
    list.push_back(claim);
    support("first reason for " + n, claim);
    support("second reason for " + n, claim);
    support("objection to " + n, MakeDialecticalNegation(claim));
  }
  for (size_t i = 0; i < list.size(); ++i) {
    list[i]->IsAssumption = i % 2 == 0;
    list[i]->IsIssue = i % 2 != 0;
    list[i]->IsJustified = i % 3 == 0;
    list[i]->IsDefeated = i % 3 == 1;
  }
  return list;
}

// Widgets need an application; the benchmarks paint off screen.
bool EnsureApplication() {
  static int argc = 1;
  static char name[] = "bench_diagram_surface";
  static char* argv[] = {name, nullptr};
  static const bool platform = qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
  return platform;
}

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
