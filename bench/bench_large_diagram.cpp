// The diagram surface at real size: a forest of 6,000 statements and, when
// PELMORA_BENCH_FRAMEWORK names an argumentation framework file (apx, tgf or
// i23), that framework imported as a theory. For each: the full layout,
// showing another interpretation on the drawing already laid out, redrawing
// every box with new statuses, those new statuses painted on one screenful
// (drawn late, or every element at once as a new layout would), painting
// one screenful at the top, the middle and the end, finding text, and finding the shape under the mouse; and
// what the window's thread does with a drawing laid out on another thread:
// taking it over, and the part of the work done there for it.
//
//   PELMORA_BENCH_FRAMEWORK=metro.apx build/bench/bench_large_diagram
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "bench/bench_forest.h"
#include "diagram/diagram_redraw.h"
#include "diagram/hit_index.h"
#include "diagram_qt/diagram_picture.h"
#include "diagram_qt/diagram_surface.h"
#include "refresh/refresh_core.h"
#include "editing/diagram_find.h"
#include "frameworks/argumentation_framework.h"
#include "frameworks/framework_theory.h"
#include "tests/evaluation/theory_families.h"

namespace {

using bench::EnsureApplication;

// A refreshed theory laid out on a surface, as the window holds it.
struct TLargeDiagram {
  TRefreshResult State;
  std::unique_ptr<TDiagramSurface> Surface;
};

void LayOut(TLargeDiagram& diagram) {
  TDrawContext& context = diagram.Surface->Context();
  context.Theory = &diagram.State.Theory;
  diagram.Surface->DrawArguments(diagram.State.AllSentences);
}

// Refreshed with the evaluation, or structure only with made-up statuses (a
// real framework may take minutes to evaluate; where boxes go does not
// depend on their statuses).
std::unique_ptr<TLargeDiagram> Refreshed(TKorvelTheory theory, bool evaluate = true) {
  EnsureApplication();
  auto diagram = std::make_unique<TLargeDiagram>();
  diagram->Surface = std::make_unique<TDiagramSurface>();
  TKorvelFile file;
  WriteTheory(theory, file);
  const auto start = std::chrono::steady_clock::now();
  auto since = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  TRefreshOptions options;
  options.ShowStructureOnly = !evaluate;
  diagram->State = Refresh({file, options, [&](TKorvelTheory& refreshed, const TListOfKorvelSentences& all) {
    std::fprintf(stderr, "evaluated after %.2f s\n", since());
    diagram->Surface->Context().Theory = &refreshed;
    diagram->Surface->DrawArguments(all);
    std::fprintf(stderr, "laid out after %.2f s\n", since());
  }});
  std::fprintf(stderr, "refreshed after %.2f s\n", since());
  if (!evaluate) {
    TListOfKorvelSentences& all = diagram->State.AllSentences;
    for (size_t i = 0; i < all.size(); ++i) {
      all[i]->IsJustified = i % 3 == 0;
      all[i]->IsDefeated = i % 3 == 1;
    }
  }
  LayOut(*diagram);  // the theory moved into the result
  return diagram;
}

// Claims with two supports and one attack each, 6,000 sentences, every
// claim also attacked by the next one's objection so that the theory has
// interpretations to choose between.
TLargeDiagram& Forest() {
  static const std::unique_ptr<TLargeDiagram> diagram = [] {
    using namespace families;
    TKorvelTheory theory;
    for (size_t tree = 0; (tree + 1) * 8 <= 6000; ++tree) {
      const std::string t = std::to_string(tree);
      Assume(theory, If({Atom("first reason " + t)}, Atom("claim " + t)));
      Assume(theory, If({Atom("second reason " + t)}, Atom("claim " + t)));
      Assume(theory, Attack("objection " + t, "claim " + t));
      Assume(theory, Atom("objection " + t));
      if (tree < 4) {  // 16 interpretations: claim or objection, four times
        Assume(theory, Atom("claim " + t));
        Assume(theory, Attack("claim " + t, "objection " + t));
      }
    }
    return Refreshed(theory);
  }();
  return *diagram;
}

TLargeDiagram* Framework() {
  static const std::unique_ptr<TLargeDiagram> diagram = []() -> std::unique_ptr<TLargeDiagram> {
    const char* path = std::getenv("PELMORA_BENCH_FRAMEWORK");
    if (path == nullptr) return nullptr;
    std::ifstream in(path, std::ios::binary);
    const auto format = FrameworkFormatOfPath(path);
    if (!in || !format) return nullptr;
    return Refreshed(FrameworkToTheory(ReadFramework(ReadFrameworkText(in), *format)), false);
  }();
  return diagram.get();
}

// Argument 0 picks the forest, 1 the framework.
TLargeDiagram* Pick(benchmark::State& state) {
  TLargeDiagram* diagram = state.range(0) == 0 ? &Forest() : Framework();
  if (diagram == nullptr) state.SkipWithError("PELMORA_BENCH_FRAMEWORK names no readable framework file");
  return diagram;
}

void Describe(benchmark::State& state, const TLargeDiagram& diagram) {
  state.counters["elements"] = static_cast<double>(diagram.Surface->Drawing().Elements.size());
  state.counters["height"] = diagram.Surface->minimumHeight();
  state.counters["width"] = diagram.Surface->minimumWidth();
  state.counters["interpretations"] = static_cast<double>(diagram.State.Interpretations.size());
}

void BM_Layout(benchmark::State& state) {
  TLargeDiagram* diagram = Pick(state);
  if (diagram == nullptr) return;
  for (auto _ : state) LayOut(*diagram);
  Describe(state, *diagram);
}

// What a click on another interpretation button costs the diagram.
void BM_ShowAnotherInterpretation(benchmark::State& state) {
  TLargeDiagram* diagram = Pick(state);
  if (diagram == nullptr) return;
  TRefreshResult& refreshed = diagram->State;
  const size_t count = refreshed.Interpretations.size();
  size_t shown = 0;
  for (auto _ : state) {
    shown = count < 2 ? 0 : (shown + 1) % count;
    MarkShownInterpretation(refreshed.Theory, refreshed.Interpretations, shown, refreshed.AllSentences);
    diagram->Surface->RedrawMarks();
  }
  Describe(state, *diagram);
}

// Every sentence's status changes: justified, defeated and open in turn,
// shifted by one each round.
void GiveEveryStatusInTurn(TListOfKorvelSentences& all, size_t round) {
  for (size_t i = 0; i < all.size(); ++i) {
    all[i]->IsJustified = (i + round) % 3 == 0;
    all[i]->IsDefeated = (i + round) % 3 == 1;
  }
}

// Every sentence's status changes, as when an evaluation's result arrives;
// the drawing shows the new marks.
void BM_RedrawMarks(benchmark::State& state) {
  TLargeDiagram* diagram = Pick(state);
  if (diagram == nullptr) return;
  TListOfKorvelSentences& all = diagram->State.AllSentences;
  size_t round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++round;
    GiveEveryStatusInTurn(all, round);
    state.ResumeTiming();
    diagram->Surface->RedrawMarks();
  }
  Describe(state, *diagram);
}

// New statuses on every sentence, then the screenful in the middle painted:
// what the window does before the new colours are on the screen. Argument
// 1: 0 draws the marks late (where painted), 1 draws every element again at
// once and indexes the drawing anew, as a new drawing would be shown.
void BM_NewMarksOnScreen(benchmark::State& state) {
  TLargeDiagram* diagram = Pick(state);
  if (diagram == nullptr) return;
  TDiagramSurface& surface = *diagram->Surface;
  const bool everything = state.range(1) != 0;
  TListOfKorvelSentences& all = diagram->State.AllSentences;
  const int top = std::max(0, surface.minimumHeight() - 700) / 2;
  QImage image(1000, 700, QImage::Format_RGB32);
  size_t round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++round;
    GiveEveryStatusInTurn(all, round);
    state.ResumeTiming();
    if (everything) {
      RedrawCalls(surface.Context());
      surface.DrawingChanged();
    } else {
      surface.RedrawMarks();
    }
    QPainter painter(&image);
    surface.render(&painter, QPoint(), QRegion(0, top, 1000, 700));
  }
  surface.Drawing();  // the rest drawn, for the benchmarks after this one
  Describe(state, *diagram);
}

// Argument 1: where the screenful starts, in percent of the drawing's height;
// argument 2: the zoom in percent (25, the least, shows 16 times as much).
void BM_PaintScreenful(benchmark::State& state) {
  TLargeDiagram* diagram = Pick(state);
  if (diagram == nullptr) return;
  TDiagramSurface& surface = *diagram->Surface;
  surface.SetZoom(static_cast<double>(state.range(2)) / 100);
  const int top = static_cast<int>(state.range(1)) * std::max(0, surface.minimumHeight() - 700) / 100;
  QImage image(1000, 700, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    surface.render(&painter, QPoint(), QRegion(0, top, 1000, 700));
  }
  surface.SetZoom(1);
  Describe(state, *diagram);
}

void BM_ShapeUnderTheMouse(benchmark::State& state) {
  TLargeDiagram* diagram = Pick(state);
  if (diagram == nullptr) return;
  const TDiagramSurface& surface = *diagram->Surface;
  const int height = std::max(1, surface.minimumHeight());
  const int width = std::max(1, surface.minimumWidth());
  int x = 0, y = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(surface.ShapeAt(QPoint(x, y)));
    x = (x + 389) % width;
    y = (y + 977) % height;
  }
}

// The hit index of the whole drawing, as a drawing made aside has it built
// beside the refresh. Argument 1: the parts at once (1, or 0 for as many as
// the cores make worthwhile).
void BM_IndexHits(benchmark::State& state) {
  TLargeDiagram* diagram = Pick(state);
  if (diagram == nullptr) return;
  const TDiagramDrawing& drawing = diagram->Surface->Drawing();
  for (auto _ : state) {
    THitIndex index;
    index.Build(drawing, static_cast<size_t>(state.range(1)));
    benchmark::DoNotOptimize(index.DrawingHeight());
  }
  Describe(state, *diagram);
}

// One keystroke in the find field: every box whose statement holds the text,
// in reading order. Argument 1: 0 a text in a few boxes, 1 one in most.
void BM_FindText(benchmark::State& state) {
  TLargeDiagram* diagram = Pick(state);
  if (diagram == nullptr) return;
  const char* query = state.range(1) == 0 ? (state.range(0) == 0 ? "claim 742" : "a4217") : "a";
  size_t found = 0;
  for (auto _ : state)
    found = FindBoxes(diagram->Surface->Drawing(), diagram->Surface->Context().DrawnSentences, query).size();
  state.counters["matches"] = static_cast<double>(found);
}

// A drawing laid out as a refresh lays it out on its own thread: a context
// of its own with the surface's font, its hit index built there too.
std::shared_ptr<TDrawContext> LaidOutAside(TLargeDiagram& diagram) {
  auto context = std::make_shared<TDrawContext>();
  MeasureTextWith(*context, diagram.Surface->font());
  InitDiagramMetrics(context->Metrics);
  context->Theory = &diagram.State.Theory;
  DrawArguments(*context, diagram.State.AllSentences, 0, 0);
  context->Theory = nullptr;
  context->IndexHitsAside();
  return context;
}

// The work on the other thread: the layout and the hit index.
void BM_LayOutAside(benchmark::State& state) {
  TLargeDiagram* diagram = Pick(state);
  if (diagram == nullptr) return;
  for (auto _ : state) benchmark::DoNotOptimize(LaidOutAside(*diagram));
  Describe(state, *diagram);
}

// What the window's thread does when such a drawing is shown: it takes the
// drawing over, keeps the lookups of the theory made with it, and adopts
// its hit index. The replaced drawing is let go of elsewhere (not timed).
// Argument 1: 0 indexes the theory and the hits on this thread instead, for
// comparison.
void BM_TakeOverDrawingMadeAside(benchmark::State& state) {
  TLargeDiagram* diagram = Pick(state);
  if (diagram == nullptr) return;
  const bool madeAside = state.range(1) != 0;
  TDrawContext& shown = diagram->Surface->Context();
  for (auto _ : state) {
    state.PauseTiming();
    std::shared_ptr<TDrawContext> prepared = LaidOutAside(*diagram);
    if (!madeAside) prepared->HitsMadeAside.reset();
    auto replaced = std::make_shared<TDrawContext>();
    state.ResumeTiming();
    *replaced = std::move(shown);
    shown = std::move(*prepared);
    shown.TextWidth = replaced->TextWidth;
    shown.LabelHeight = replaced->LabelHeight;
    if (madeAside) {
      shown.AdoptMovedTheory(&diagram->State.Theory);
    } else {
      shown.Theory = &diagram->State.Theory;
      shown.IndexTheory();
    }
    diagram->Surface->DrawingChanged();
    state.PauseTiming();
    replaced.reset();
    state.ResumeTiming();
  }
  Describe(state, *diagram);
}

}  // namespace

BENCHMARK(BM_LayOutAside)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TakeOverDrawingMadeAside)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Layout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ShowAnotherInterpretation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawMarks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewMarksOnScreen)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintScreenful)
    ->ArgsProduct({{0, 1}, {0, 50, 100}, {100}})
    ->ArgsProduct({{0, 1}, {50}, {25}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindText)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShapeUnderTheMouse)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexHits)->ArgsProduct({{0, 1}, {1, 0}})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
