#include "window_acceptance/acceptance_view.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <unordered_map>

#include "acceptance/acceptance_text.h"
#include "diagram/diagram_shapes.h"
#include "diagram_qt/acceptance_icons.h"
#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/qt_text.h"
#include "evaluation/interpretations.h"
#include "refresh/refresh_phases.h"
#include "window/main_form.h"
#include "window/qt_evaluation_runner.h"
#include "window/report_view.h"

namespace {

constexpr int kProgressIntervalMs = 100;
constexpr uint64_t kWindowCountLimitPerPart = 64;
constexpr TColour kJustifiedInSomeColour{128, 0, 192};

// Forwards key presses on the diagram to a queued look at the selection, once
// the window's own handlers have moved it.
class TKeyWatch : public QObject {
 public:
  TKeyWatch(QObject* parent, std::function<void()> after) : QObject(parent), after_(std::move(after)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) QTimer::singleShot(0, this, after_);
    return false;
  }

 private:
  std::function<void()> after_;
};

}  // namespace

struct TAcceptanceView::TJob {
  std::string Key;  // the file text the theory was read from
  TTheoryCopy Copy;
  std::vector<std::string> Texts;
  TAcceptanceOptions Options;
  std::optional<uint64_t> KnownCount;
  TAcceptanceControl Control;
  TAcceptance Result;
  std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
  // Set when the computation has returned, on the runner's thread.
  std::mutex Mutex;
  std::condition_variable Done;
  bool Returned = false;
};

TAcceptanceView::TAcceptanceView(TMainForm& form) : QObject(&form), form_(form) {
  const TMainFormWidgets& widgets = form.Widgets();
  selectionPanel_ = widgets.StatusPanels[1];
  summaryPanel_ = widgets.StatusPanels[2];
  report_ = widgets.Report;
  surface_ = widgets.Surface;

  show_ = new QAction(QStringLiteral("Show acceptance over all interpretations"), &form);
  show_->setObjectName(QStringLiteral("Showacceptance1"));
  show_->setCheckable(true);
  connect(show_, &QAction::toggled, this, [this] {
    follow();
    emit acceptanceChanged();
  });
  stop_ = new QAction(QStringLiteral("Stop &acceptance"), &form);
  stop_->setObjectName(QStringLiteral("Stopacceptance1"));
  stop_->setEnabled(false);
  connect(stop_, &QAction::triggered, this, [this] {
    stop();
    showReport(kAcceptanceStoppedLine);
    emit acceptanceChanged();
  });
  // Beside the other options, before the commands that stop.
  QMenu* options = widgets.OptionsMenu;
  const QList<QAction*> items = options->actions();
  const qsizetype after = items.indexOf(widgets.ShowDialecticalNegations);
  options->insertAction(after >= 0 && after + 1 < items.size() ? items[after + 1] : nullptr, show_);
  options->addAction(stop_);

  timer_ = new QTimer(this);
  timer_->setInterval(kProgressIntervalMs);
  connect(timer_, &QTimer::timeout, this, &TAcceptanceView::showProgress);

  if (surface_ != nullptr) {
    // Queued: after the window's own handling of the press has selected.
    connect(surface_, &TDiagramSurface::mouseDown, this, [this] { showSelection(); }, Qt::QueuedConnection);
    auto* keys = new TKeyWatch(this, [this] { showSelection(); });
    surface_->installEventFilter(keys);
    widgets.ScrollBox->installEventFilter(keys);
  }

  // After the window's own handlers, which draw and fill the report: the
  // window adds its listener first.
  form.Document().AddListener(*this);
}

// Every new drawing (an edit, a result, another interpretation) is marked anew.
void TAcceptanceView::followAnew() {
  marked_ = false;
  follow();
}

// The document closes before the runner waits for its jobs: the computation
// is stopped then, so closing the window does not wait for it.
void TAcceptanceView::Closing() {
  if (job_) job_->Control.RequestStop();
}

TAcceptanceView::~TAcceptanceView() {
  if (job_) job_->Control.RequestStop();
}

QString TAcceptanceView::ProgressText(size_t settled, size_t asked, double seconds) {
  return QStringLiteral("Computing acceptance over all interpretations: %1 of %2 questions settled, %3 s")
      .arg(settled)
      .arg(asked)
      .arg(seconds, 0, 'f', 1);
}

bool TAcceptanceView::wanted() const {
  const TDocument& document = form_.Document();
  return show_->isChecked() && !document.Options.ShowStructureOnly && !document.Theory().Assumptions.empty() &&
         document.EvaluationState() == TEvaluationState::Finished;
}

void TAcceptanceView::follow() {
  if (!wanted()) {
    const bool wasComputing = job_ != nullptr;
    stop();
    // Everything as without acceptance: the drawing's own marks, the report.
    if (marked_) markDiagram(false);
    if (report_ != nullptr && (result_ || wasComputing)) report_->SetLines(form_.Document().SharedReportLines());
    return;
  }
  const std::string& key = form_.Document().TheoryFile().Text;
  if (result_ && result_->Key == key) {
    apply();
  } else if (job_ && job_->Key == key) {
    showReport(kAcceptanceComputingLine);
  } else {
    start(key);
  }
}

void TAcceptanceView::start(const std::string& key) {
  stop();
  result_.reset();
  const TDocument& document = form_.Document();
  auto job = std::make_shared<TJob>();
  job->Key = key;
  job->Copy = CopyTheory(document.Theory());
  job->Texts = ReportTexts(job->Copy.Theory);
  // Below the cap the evaluation has counted them all already.
  const size_t listed = document.Interpretations().size();
  if (listed < kInterpretationLimit) job->KnownCount = listed;
  else job->Options.CountInterpretations = true;
  // Many small parts are what passes the cap; a large part would cost a
  // question per choice, so its count is given up early.
  job->Options.CountLimitPerPart = kWindowCountLimitPerPart;
  job_ = job;
  // On the evaluation's runner, after the evaluation it follows has ended;
  // the result is taken on this thread, and only while it is the newest.
  form_.EvaluationRunner().Start(
      [job] {
        job->Result = ComputeAcceptance(job->Copy.Theory, job->Texts, job->Options, &job->Control);
        std::lock_guard lock(job->Mutex);
        job->Returned = true;
        job->Done.notify_all();
      },
      [view = QPointer<TAcceptanceView>(this), job] {
        if (view) view->jobFinished(job);
      });
  stop_->setEnabled(true);
  timer_->start();
  showProgress();
  showReport(kAcceptanceComputingLine);
}

void TAcceptanceView::stop() {
  if (!job_) return;
  job_->Control.RequestStop();
  job_.reset();
  timer_->stop();
  stop_->setEnabled(false);
  if (summaryPanel_ != nullptr) summaryPanel_->setText(FromBytes(form_.Document().InterpretationSummary()));
}

void TAcceptanceView::jobFinished(const std::shared_ptr<TJob>& job) {
  if (job != job_) return;  // stopped or replaced meanwhile
  job_.reset();
  timer_->stop();
  stop_->setEnabled(false);
  if (summaryPanel_ != nullptr) summaryPanel_->setText(FromBytes(form_.Document().InterpretationSummary()));
  if (job->Result.Stopped) {
    showReport(kAcceptanceStoppedLine);
    return;
  }
  auto result = std::make_shared<TResult>();
  result->Key = job->Key;
  result->Texts = std::move(job->Texts);
  result->Acceptance = std::move(job->Result);
  result->Count = job->KnownCount ? job->KnownCount : result->Acceptance.InterpretationCount;
  for (size_t k = result->Texts.size(); k-- > 0;) result->IndexOf[result->Texts[k]] = k;
  result_ = std::move(result);
  if (wanted() && form_.Document().TheoryFile().Text == result_->Key) apply();
  emit acceptanceChanged();
}

bool TAcceptanceView::Checked() const { return show_->isChecked(); }

std::shared_ptr<const TAcceptanceView::TResult> TAcceptanceView::ResultShown() const {
  if (!result_ || !wanted() || form_.Document().TheoryFile().Text != result_->Key) return nullptr;
  return result_;
}

int TAcceptanceView::IconOf(const TTextAcceptance& a) {
  if (a.Justified == TReach::All) return kJustifiedInAllIcon;
  if (a.Defeated == TReach::All) return kDefeatedInAllIcon;
  if (a.Justified == TReach::Some) return kJustifiedInSomeIcon;
  return kUnsettledIcon;
}

void TAcceptanceView::WaitForResult() {
  const std::shared_ptr<TJob> job = job_;
  if (!job) return;
  {
    std::unique_lock lock(job->Mutex);
    job->Done.wait(lock, [&] { return job->Returned; });
  }
  jobFinished(job);  // the runner's later call finds it taken
}

void TAcceptanceView::apply() {
  markDiagram(true);
  showReport(nullptr);
  showSelection();
}

void TAcceptanceView::markDiagram(bool acceptance) {
  if (surface_ == nullptr || (acceptance && !result_)) return;
  surface_->Drawing();  // marks pending are drawn first, not later over these
  TDrawContext& context = surface_->Context();
  auto& elements = context.Drawing.Elements;
  // A sentence box is its status icons, its label and its frame, in that order.
  for (size_t i = 2; i < elements.size(); ++i) {
    TDiagramElement& frame = elements[i];
    TDiagramElement& label = elements[i - 1];
    TDiagramElement& icons = elements[i - 2];
    if (frame.Kind != TElementKind::Frame || label.Kind != TElementKind::Label ||
        icons.Kind != TElementKind::StatusIcons || frame.Tag < 0 ||
        static_cast<size_t>(frame.Tag) >= context.DrawnSentences.size())
      continue;
    SentencePtr sentence = context.DrawnSentences[static_cast<size_t>(frame.Tag)];
    if (SentencePtr inTheory = context.TheorySentence(sentence->Text)) sentence = inTheory;
    std::int8_t icon = 0;
    TColour colour;
    if (!acceptance) {
      icon = sentence->IsDefeated ? kDefeatedIcon : sentence->IsJustified ? kJustifiedIcon : kOpenIcon;
      colour = StatusColour(*sentence);
    } else {
      TTextAcceptance a{TReach::None, TReach::None};
      const auto at = result_->IndexOf.find(sentence->Text);
      if (result_->Acceptance.HasInterpretation && at != result_->IndexOf.end())
        a = result_->Acceptance.Texts[at->second];
      icon = static_cast<std::int8_t>(IconOf(a));
      colour = icon == kJustifiedInAllIcon   ? kJustifiedColour
               : icon == kDefeatedInAllIcon  ? kDefeatedColour
               : icon == kJustifiedInSomeIcon ? kJustifiedInSomeColour
                                              : kOpenColour;
    }
    icons.StatusIcon = icon;
    label.PenColour = colour;
    frame.PenColour = colour;
  }
  marked_ = acceptance;
  surface_->update();
}

void TAcceptanceView::showReport(const char* line) {
  if (report_ == nullptr) return;
  // The document's report (its blocks shared, not written) and the lines after it.
  const TReportText& report = form_.Document().ReportLines();
  std::vector<std::string> lines;
  if (!report.empty() && !report[report.size() - 1].empty()) lines.push_back("");
  if (line != nullptr) {
    lines.insert(lines.end(), {kAcceptanceHeading, line, ""});
  } else if (result_) {
    TAcceptance shown = result_->Acceptance;
    shown.InterpretationCount = result_->Count;
    AppendAcceptanceReport(shown, result_->Texts, lines);
  }
  report_->SetLines(std::make_shared<const TReportText>(report.Appended(lines)));
}

void TAcceptanceView::showSelection() {
  if (!result_ || !wanted() || selectionPanel_ == nullptr || surface_ == nullptr) return;
  if (form_.Document().TheoryFile().Text != result_->Key) return;
  const int index = form_.Selection().SelectedIndex;
  const auto& drawn = surface_->Context().DrawnSentences;
  if (index < 0 || static_cast<size_t>(index) >= drawn.size()) return;
  const auto at = result_->IndexOf.find(drawn[static_cast<size_t>(index)]->Text);
  if (at == result_->IndexOf.end()) return;
  if (!result_->Acceptance.HasInterpretation) {
    selectionPanel_->setText(QStringLiteral("There is no dialectical interpretation."));
    return;
  }
  selectionPanel_->setText(
      FromBytes(AcceptancePhrase(result_->Acceptance.Texts[at->second], result_->Count)));
}

void TAcceptanceView::showProgress() {
  if (!job_ || summaryPanel_ == nullptr) return;
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - job_->Start;
  summaryPanel_->setText(ProgressText(job_->Control.TextsSettled.load(std::memory_order_relaxed),
                                      job_->Control.TextsAsked.load(std::memory_order_relaxed), elapsed.count()));
}
