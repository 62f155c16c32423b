// Measures, in the real main window, how long the event loop stalls and how
// soon the window is usable: opening the theory with 10,000 dialectical
// interpretations (14 independent mutual attacks), an evaluation that runs
// for seconds and is stopped, and opening and scrolling a 20,000-sentence
// support tree and a 20,000-sentence forest, and "Why?" on the end of a
// chain of 20,000 supports. Then the large theories, each
// launched into a new window, edited (Set as issue) and undone: a framework
// file named by PELMORA_PROBE_FRAMEWORK (an imported theory, e.g. the metro
// instance), a 3-SAT theory of 250 variables, a tree of 3,000 statements, a
// forest of 6,000 and 16,384 interpretations; for each, new marks drawn on
// every box and the memory once settled. Run by hand, on a desktop or
// under xvfb-run (QT_QPA_PLATFORM=offscreen also works):
//
//   build/bench/stall_probe [seconds of the long evaluation, default 3]
//                           [scenarios, default epltfw; r for the large theories]
//
// A timer firing every millisecond records the largest gap between its
// ticks: the longest time the window could not answer. The heap is set up as
// the desktop program sets it (PELMORA_PROBE_DEFAULT_HEAP=1 leaves the
// allocator's own rule, for comparison).
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <malloc.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "desktop/application_windows.h"
#include "desktop/outside_files.h"
#include "diagram_qt/diagram_surface.h"
#include "tests/evaluation/theory_families.h"
#include "window/heap_policy.h"
#include "window/main_form.h"
#include "window/qt_evaluation_runner.h"
#include "window_editing/main_form_editing.h"

namespace {

// Answers the open dialog with a prepared path and every save question with No.
class TProbeUi : public TDocumentUi {
 public:
  std::string NextFile;
  std::optional<std::string> ChooseFileToOpen() override { return NextFile; }
  std::optional<std::string> ChooseFileToSave() override { return std::nullopt; }
  TAnswer AskToSave(const std::string&) override { return TAnswer::No; }
  void ShowFileError(const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
};

// The largest gap between the ticks of a 1 ms timer.
class TStallMonitor {
 public:
  TStallMonitor() {
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.nsecsElapsed();
      longest_ = std::max(longest_, now - last_);
      last_ = now;
    });
    clock_.start();
    timer_.start();
  }
  void Reset() {
    // Let a tick that waited for the reset pass first.
    QCoreApplication::processEvents();
    last_ = clock_.nsecsElapsed();
    longest_ = 0;
  }
  double LongestMs() {
    const qint64 now = clock_.nsecsElapsed();
    return static_cast<double>(std::max(longest_, now - last_)) / 1e6;
  }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 longest_ = 0;
};

// Runs the event loop until `done` holds (or `limit` ms pass); returns the time taken.
double RunUntil(const std::function<bool()>& done, int limit = 120000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < limit) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

std::string WriteTheoryFile(const QTemporaryDir& dir, const char* name, TKorvelTheory theory) {
  TKorvelFile file;
  WriteTheory(theory, file);
  const std::string path = dir.filePath(QString::fromUtf8(name)).toStdString();
  file.SaveToFile(path);
  return path;
}

// Pairs(k) and an odd cycle of attacks a -> b -> c -> a, each attack also
// made once with every p_i as a second conjunct. The cycle leaves no
// interpretation whatever the pairs choose, but being tied to the pairs it is
// searched as one part with them, and the dead end shows only at the cycle,
// last in theory order: the current search takes about 2^k steps.
TKorvelTheory LongEvaluation(size_t pairs) {
  using namespace families;
  TKorvelTheory theory = Pairs(pairs);
  const char* cycle[][2] = {{"a", "b"}, {"b", "c"}, {"c", "a"}};
  for (const char* name : {"a", "b", "c"}) Assume(theory, Atom(name));
  for (const auto& attack : cycle) {
    Assume(theory, Attack(attack[0], attack[1]));
    for (size_t i = 1; i <= pairs; ++i)
      Assume(theory, If({Atom(attack[0]), Atom(Indexed("p", i))}, Neg(Atom(attack[1]))));
  }
  return theory;
}

// s0 <- s1 <- ...: each statement supported by the next, every tenth also
// attacked; about n sentences in the drawing.
TKorvelTheory SupportTree(size_t n) {
  using namespace families;
  TKorvelTheory theory;
  theory.Issues.push_back(Atom("statement 0"));
  theory.Issues.back()->IsIssue = true;
  size_t sentences = 1;
  for (size_t level = 1; sentences + 2 <= n; ++level) {
    const std::string reason = "statement " + std::to_string(level);
    Assume(theory, If({Atom(reason)}, Atom("statement " + std::to_string(level - 1))));
    sentences += 2;
    if (level % 10 == 0 && sentences + 3 <= n) {
      Assume(theory, Attack("objection " + std::to_string(level), "statement " + std::to_string(level - 1)));
      sentences += 3;
    }
  }
  return theory;
}

// Claims with two supports and one attack each: eight sentences per claim.
TKorvelTheory Forest(size_t n) {
  using namespace families;
  TKorvelTheory theory;
  for (size_t tree = 0; (tree + 1) * 8 <= n; ++tree) {
    const std::string t = std::to_string(tree);
    Assume(theory, If({Atom("first reason " + t)}, Atom("claim " + t)));
    Assume(theory, If({Atom("second reason " + t)}, Atom("claim " + t)));
    Assume(theory, Attack("objection " + t, "claim " + t));
  }
  return theory;
}

// Bytes the allocator holds in use, in MB (the rest of the resident heap is
// free memory it keeps).
double HeapInUseMegabytes() { return static_cast<double>(mallinfo2().uordblks) / 1e6; }

// Resident memory of this process in MB.
double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return -1;
}

// The large theories: each launched into a fresh window with the file, as
// `pelmora FILE` does, then an edit and its undo. Every figure is the
// longest stall of the event loop while the action ran, the time until the
// window showed the new structure, and until the evaluation's result showed.
void MeasureLargeTheories(const QTemporaryDir& work, TProbeUi& ui, TMainFormSetup setup) {
  std::vector<std::pair<std::string, std::string>> files;
  if (const char* framework = std::getenv("PELMORA_PROBE_FRAMEWORK")) files.emplace_back("framework", framework);
  files.emplace_back("3-SAT, 250 variables", WriteTheoryFile(work, "sat250.kvl", families::ThreeSat(250, 1065, 11)));
  files.emplace_back("tree of 3,000 statements", WriteTheoryFile(work, "tree3000.kvl", SupportTree(3000)));
  files.emplace_back("forest of 6,000", WriteTheoryFile(work, "forest6000.kvl", Forest(6000)));
  files.emplace_back("16,384 interpretations", WriteTheoryFile(work, "pairs14b.kvl", families::Pairs(14)));
  const char* resultLimit = std::getenv("PELMORA_PROBE_RESULT_SECONDS");
  const int resultMs = (resultLimit ? std::atoi(resultLimit) : 20) * 1000;
  const char* only = std::getenv("PELMORA_PROBE_ONLY");
  // For comparison: a drawing whose statuses appear or go (other options)
  // drawn again on the window's thread, however large.
  if (std::getenv("PELMORA_PROBE_MARKS_IN_LINE")) setup.RemarkAsideElements = SIZE_MAX;
  for (const auto& [name, path] : files) {
    if (only && name.find(only) == std::string::npos) continue;
    TStallMonitor monitor;
    QElapsedTimer clock;
    clock.start();
    TApplicationWindows windows = CreateApplicationWindows(setup);
    TMainForm& form = *windows.MainForm;
    TMainFormEditing* editing = windows.Features.Editing;
    form.show();
    TDocument& document = form.Document();
    auto evaluating = [&] { return document.EvaluationState() == TEvaluationState::Running; };
    bool opened = false;
    double structure = -1;
    auto whenShown = [&] {
      // The first paint after the file's structure reached the window.
      QObject::connect(&form, &TMainForm::documentReplaced, &form, [&] {
        if (structure < 0) structure = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      });
    };
    whenShown();
    monitor.Reset();
    QTimer::singleShot(0, [&] { opened = OpenFileFromOutside(form, QString::fromStdString(path)); });
    RunUntil([&] { return opened; });
    const double launched = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const double shown = launched + RunUntil([&] { return !evaluating(); }, resultMs);
    RunUntil([] { return false; }, 50);
    // Read before the probe's own counting below, which would pass for a stall.
    const double launchStall = monitor.LongestMs();
    if (evaluating()) form.findChild<QAction*>(QStringLiteral("Stopevaluation1"))->trigger();
    {
      // What the drawing holds: elements, and their entries in 32-pixel bands.
      const TDiagramDrawing& drawing = form.findChild<TDiagramSurface*>()->Drawing();
      long long entries = 0;
      for (const TDiagramElement& element : drawing.Elements)
        if (element.Bounds.Width > 0 && element.Bounds.Height > 0)
          entries += (element.Bounds.Bottom() - 1) / 32 - std::max(element.Bounds.Top, 0) / 32 + 1;
      std::printf("%-26s drawing: %zu elements, %zu calls, %lld band entries, %d x %d pixels\n", name.c_str(),
                  drawing.Elements.size(), drawing.Calls.size(), entries, drawing.Width(), drawing.Height());
    }
    std::printf("%-26s launch: structure %7.1f ms, result %8.1f ms, stall %7.1f ms, %zu drawn, RSS %.0f MB, heap in use %.0f MB (%s)\n",
                name.c_str(), structure, shown, launchStall, form.DrawnSentences().size(),
                ResidentMegabytes(), HeapInUseMegabytes(), document.InterpretationSummary().c_str());
    {
      // New marks on every box, drawn as when an evaluation's result arrives
      // (the large frameworks' evaluations do not end within minutes).
      for (size_t i = 0; i < document.AllSentences().size(); ++i) {
        document.AllSentences()[i]->IsJustified = i % 3 == 0;
        document.AllSentences()[i]->IsDefeated = i % 3 == 1;
      }
      monitor.Reset();
      clock.restart();
      bool marked = false;
      double painted = -1;
      auto* surface = form.findChild<TDiagramSurface*>();
      QTimer::singleShot(0, [&] {
        if (document.Remark) document.Remark();
        // The screenful shown, painted with the new colours.
        surface->repaint();
        painted = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        marked = true;
      });
      RunUntil([&] { return marked; });
      const double remarked = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      // Until every box has its new marks (drawn while the window is idle).
      RunUntil([&] { return !surface->MarksPending(); }, resultMs);
      const double complete = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      RunUntil([] { return false; }, 50);
      std::printf("%-26s %-24s shown    %7.1f ms, on screen %7.1f ms, all drawn %7.1f ms, stall %7.1f ms\n", "",
                  "new marks on every box", remarked, painted, complete, monitor.LongestMs());
    }
    // Set as issue on the first assumption drawn, then Ctrl+Z.
    int frame = -1;
    const auto& elements = form.findChild<TDiagramSurface*>()->Drawing().Elements;
    for (size_t i = 0; i < elements.size() && frame < 0; ++i) {
      const TDiagramElement& element = elements[i];
      if (element.Kind != TElementKind::Frame || element.Tag < 0) continue;
      const SentencePtr& sentence = form.DrawnSentences()[static_cast<size_t>(element.Tag)];
      if (sentence->IsAssumption && sentence->Text.find("if(") != 0) frame = static_cast<int>(i);
    }
    // Where no statement is an assumption, an issue is made one.
    const char* edit = "Setasissue2MenuITem";
    for (size_t i = 0; i < elements.size() && frame < 0; ++i)
      if (elements[i].Kind == TElementKind::Frame && elements[i].Tag >= 0) {
        frame = static_cast<int>(i);
        edit = "Setasassumption2MenuITem";
      }
    if (frame < 0) continue;
    clock.restart();
    editing->Editor().ScrollBox1MouseDown(frame, {elements[static_cast<size_t>(frame)].Bounds.Left + 2,
                                                  elements[static_cast<size_t>(frame)].Bounds.Top + 2});
    std::printf("%-26s %-24s selected %7.2f ms\n", "", "a click on a box", static_cast<double>(clock.nsecsElapsed()) / 1e6);
    for (const char* actionName : {edit, "Undo1"}) {
      if (evaluating()) form.findChild<QAction*>(QStringLiteral("Stopevaluation1"))->trigger();
      auto* action = form.findChild<QAction*>(QString::fromUtf8(actionName));
      monitor.Reset();
      clock.restart();
      bool done = false;
      QTimer::singleShot(0, [&] {
        action->trigger();
        done = true;
      });
      RunUntil([&] { return done; });
      const double applied = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      const double result = applied + RunUntil([&] { return !evaluating(); }, resultMs);
      RunUntil([] { return false; }, 50);
      const double stall = monitor.LongestMs();  // before the memory is read
      std::printf("%-26s %-24s structure %7.1f ms, result %8.1f ms, stall %7.1f ms, RSS %.0f MB, heap in use %.0f MB (%s)\n", "",
                  actionName, applied, result, stall, ResidentMegabytes(), HeapInUseMegabytes(),
                  document.InterpretationSummary().c_str());
    }
    // Memory with no evaluation running, once the replaced states were let go.
    if (evaluating()) form.findChild<QAction*>(QStringLiteral("Stopevaluation1"))->trigger();
    RunUntil([] { return false; }, 1500);
    std::printf("%-26s %-24s RSS %.0f MB, heap in use %.0f MB\n", "", "settled, not evaluating", ResidentMegabytes(),
                HeapInUseMegabytes());
  }
  (void)ui;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("PELMORA_PROBE_DEFAULT_HEAP") == nullptr) KeepLargeBlocksApart();
  QApplication application(argc, argv);
  const int longSeconds = argc > 1 ? std::atoi(argv[1]) : 3;
  QTemporaryDir work;
  QDir::setCurrent(work.path());
  TProbeUi ui;
  TMainFormSetup setup;
  setup.LogDirectories = {work.filePath("log").toStdString()};
  setup.ScratchFallbackDirectory = work.filePath("fallback").toStdString();
  setup.DocumentUi = &ui;
  TApplicationWindows windows = CreateApplicationWindows(setup);
  TMainForm& form = *windows.MainForm;
  TMainFormEditing* editing = windows.Features.Editing;
  form.show();
  RunUntil([] { return false; }, 300);
  TDocument& document = form.Document();
  TStallMonitor monitor;
  auto* open = form.findChild<QAction*>(QStringLiteral("Open1"));

  auto evaluating = [&] { return document.EvaluationState() == TEvaluationState::Running; };
  // Opens a file from the event loop; reports when the window answered again
  // and when the result was shown.
  auto measureOpen = [&](const char* name, const std::string& path) {
    ui.NextFile = path;
    monitor.Reset();
    QElapsedTimer clock;
    clock.start();
    double usable = -1;
    QTimer::singleShot(0, [&] {
      open->trigger();
      usable = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    });
    RunUntil([&] { return usable >= 0; });
    monitor.Reset();  // from here on the window is usable
    const double shown = usable + RunUntil([&] { return !evaluating(); });
    RunUntil([] { return false; }, 50);  // a repaint or two
    std::printf("%-44s usable %7.1f ms, result shown %7.1f ms, longest stall after usable %6.1f ms (%s)\n", name,
                usable, shown, monitor.LongestMs(), document.InterpretationSummary().c_str());
  };
  auto measureScrolling = [&](const char* name) {
    auto* pages = form.findChild<QTabWidget*>(QStringLiteral("TextBasedKorvelPageControl"));
    pages->setCurrentWidget(form.findChild<QWidget*>(QStringLiteral("TabSheet1")));
    auto* box = form.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
    QScrollBar* bar = box->verticalScrollBar();
    monitor.Reset();
    double longest = 0;
    for (int step = 0; step <= 50; ++step) {
      QElapsedTimer clock;
      clock.start();
      bar->setValue(bar->maximum() / 50 * step);
      box->viewport()->repaint();
      QCoreApplication::processEvents();
      longest = std::max(longest, static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("%-44s longest scroll step %6.1f ms over %d pixels\n", name, longest, bar->maximum());
  };

  // A second argument picks scenarios: e(mpty theory, a statement typed),
  // p(airs), l(ong evaluation), t(ree), f(orest), w(hy? on a chain).
  const std::string only = argc > 2 ? argv[2] : "epltfw";
  auto wanted = [&only](char scenario) { return only.find(scenario) != std::string::npos; };
  // A third argument names a directory for pictures of the window.
  const QString pictures = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
  auto picture = [&](const char* name) {
    if (!pictures.isEmpty()) form.grab().save(pictures + QLatin1Char('/') + QString::fromUtf8(name) + ".png");
  };
  // A statement typed into the empty theory: from the Return key until the
  // window has drawn its box with its status (a small theory's whole cycle).
  if (wanted('e')) {
    form.findChild<QToolButton*>(QStringLiteral("StatementToolButton"))->click();
    auto* box = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    box->lineEdit()->setText(QStringLiteral("the bridge is open"));
    auto* surface = form.findChild<TDiagramSurface*>();
    auto drawnWithStatus = [&] {
      for (const TDiagramElement& element : surface->Drawing().Elements)
        if (element.Kind == TElementKind::Frame && !(element.PenColour == kBlack)) return true;
      return false;
    };
    monitor.Reset();
    QElapsedTimer clock;
    clock.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(box->lineEdit(), &press);
    RunUntil([&] { return drawnWithStatus() && !evaluating(); }, 10000);
    surface->repaint();
    std::printf("%-44s %6.1f ms until drawn with its status (longest stall %.1f ms), %zu box(es): \"%s\"\n",
                "a statement typed on the empty theory:", static_cast<double>(clock.nsecsElapsed()) / 1e6,
                monitor.LongestMs(), form.DrawnSentences().size(),
                form.DrawnSentences().empty() ? "" : form.DrawnSentences().front()->Text.c_str());
  }
  if (wanted('p')) {
    measureOpen("open: 14 independent mutual attacks", WriteTheoryFile(work, "pairs14.kvl", families::Pairs(14)));
    picture("pairs14");
    auto* pages = form.findChild<QTabWidget*>(QStringLiteral("TextBasedKorvelPageControl"));
    pages->setCurrentWidget(form.findChild<QWidget*>(QStringLiteral("TheoryTabSheet")));
    auto* report = form.findChild<QAbstractScrollArea*>(QStringLiteral("RichEdit2"));
    monitor.Reset();
    double longest = 0;
    for (int step = 0; step <= 50; ++step) {
      QElapsedTimer clock;
      clock.start();
      report->verticalScrollBar()->setValue(report->verticalScrollBar()->maximum() / 50 * step);
      report->viewport()->repaint();
      longest = std::max(longest, static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("%-44s longest scroll step %6.1f ms over %d lines\n", "report view: scrolling", longest,
                report->verticalScrollBar()->maximum());
  }

  // A long evaluation: the window stays answering; then the Stop command.
  if (wanted('l')) {
  ui.NextFile = WriteTheoryFile(work, "long.kvl", LongEvaluation(24));
  monitor.Reset();
  QElapsedTimer opening;
  opening.start();
  open->trigger();
  const double usable = static_cast<double>(opening.nsecsElapsed()) / 1e6;
  const double openStall = monitor.LongestMs();
  monitor.Reset();  // from here on only the evaluation runs
  const double running = RunUntil([] { return false; }, longSeconds * 1000);
  picture("evaluating");
  const double stall = monitor.LongestMs();
  auto* panel = form.findChild<QLabel*>(QStringLiteral("StatusPanel2"));
  std::printf("%-44s usable %8.1f ms (longest stall %.1f ms)\n", "open: long evaluation (75 assumptions)", usable,
              openStall);
  std::printf("%-44s %s after %.0f ms; longest stall %.1f ms\n", "during the evaluation:",
              panel->text().toUtf8().constData(), running, stall);
  if (document.EvaluationState() == TEvaluationState::Running) {
    QElapsedTimer clock;
    clock.start();
    form.findChild<QAction*>(QStringLiteral("Stopevaluation1"))->trigger();
    const double stopped = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const double idle = RunUntil([&] { return form.EvaluationRunner().ActiveJobs() == 0; });
    picture("stopped");
    std::printf("%-44s window %.2f ms, worker thread ended after %.1f ms (%s)\n", "stop to idle:", stopped,
                idle, panel->text().toUtf8().constData());
  } else {
    std::printf("the long evaluation ended by itself; no stop measured\n");
  }
  }

  if (wanted('t')) {
    measureOpen("open: support tree of 20,000 sentences", WriteTheoryFile(work, "tree.kvl", SupportTree(20000)));
    measureScrolling("diagram: support tree");
  }
  if (wanted('f')) {
    measureOpen("open: forest of 20,000 sentences", WriteTheoryFile(work, "forest.kvl", Forest(20000)));
    measureScrolling("diagram: forest");
  }
  if (wanted('w')) {
    // s0 and if(s_i, s_{i+1}): the last statement's derivation is 20,000 steps deep.
    TKorvelTheory chain;
    families::Assume(chain, families::Atom("s0"));
    for (size_t i = 0; i < 20000; ++i)
      families::Assume(chain, families::If({families::Atom(families::Indexed("s", i))},
                                           families::Atom(families::Indexed("s", i + 1))));
    measureOpen("open: chain of 20,000 supports", WriteTheoryFile(work, "chain.kvl", chain));
    auto* surface = form.findChild<TDiagramSurface*>(QStringLiteral("DiagramSurface"));
    const int tag = surface->Context().DrawnIndexOfText("s20000");
    int frame = -1;
    const auto& elements = surface->Drawing().Elements;
    for (size_t i = 0; i < elements.size() && frame < 0; ++i)
      if (elements[i].Kind == TElementKind::Frame && elements[i].Tag == tag) frame = static_cast<int>(i);
    if (frame >= 0) {
      const TBounds& b = elements[static_cast<size_t>(frame)].Bounds;
      editing->Editor().ScrollBox1MouseDown(frame, {b.Left + 2, b.Top + 2}, true);
      monitor.Reset();
      QElapsedTimer clock;
      clock.start();
      form.findChild<QAction*>(QStringLiteral("Why2MenuItem"))->trigger();
      const double why = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      RunUntil([] { return false; }, 100);  // the panel and the rings painted
      std::printf("%-44s %.1f ms; longest stall with painting %.1f ms\n", "Why? on the chain's end:", why,
                  monitor.LongestMs());
      // Again, with the panel already open: the explanation alone.
      monitor.Reset();
      clock.restart();
      form.findChild<QAction*>(QStringLiteral("Why2MenuItem"))->trigger();
      const double again = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      RunUntil([] { return false; }, 100);
      std::printf("%-44s %.1f ms; longest stall with painting %.1f ms\n", "Why? again, the panel open:", again,
                  monitor.LongestMs());
    } else {
      std::printf("the chain's end is not drawn; no Why? measured\n");
    }
  }
  if (wanted('r')) MeasureLargeTheories(work, ui, setup);

  // A file of 1,000,000 sentences: the reading shows its progress, the window
  // answers, and Stop after two seconds leaves the document as it was.
  if (wanted('b')) {
    std::string text = "<KORVEL>\r\n<THEORY>\r\n</THEORY>\r\n<ISSUES>\r\n";
    for (int i = 0; i < 1000000; ++i)
      text += "<SENTENCE>\r\n<ELEMENTARYSENTENCE>\r\nstatement number " + std::to_string(i) +
              " of the large file\r\n</ELEMENTARYSENTENCE>\r\n</SENTENCE>\r\n";
    text += "</ISSUES>\r\n</KORVEL>\r\n";
    const std::string path = work.filePath("million.kvl").toStdString();
    std::ofstream(path, std::ios::binary) << text;
    const std::string before = document.TheoryFile().Text;
    auto* panel = form.findChild<QLabel*>(QStringLiteral("StatusPanel2"));
    ui.NextFile = path;
    monitor.Reset();
    QElapsedTimer clock;
    clock.start();
    QString progress;
    QTimer::singleShot(2000, [&] {
      progress = panel->text();
      form.findChild<QAction*>(QStringLiteral("Stopevaluation1"))->trigger();
    });
    open->trigger();
    std::printf("%-44s %.1f MB; stopped after %.0f ms, longest stall %.1f ms; panel said \"%s\"; document %s\n",
                "open 1,000,000 sentences, Stop at 2 s:", static_cast<double>(text.size()) / 1e6,
                static_cast<double>(clock.nsecsElapsed()) / 1e6, monitor.LongestMs(), progress.toUtf8().constData(),
                document.TheoryFile().Text == before ? "unchanged" : "CHANGED");
  }
  return 0;
}
