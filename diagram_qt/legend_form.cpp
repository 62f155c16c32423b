#include "diagram_qt/legend_form.h"

#include <QVBoxLayout>

#include "diagram/diagram_shapes.h"

namespace {

struct TSample {
  int Row;
  bool IsAssumption, IsIssue, IsJustified, IsDefeated;
  const char* Text;
};

constexpr TSample kSamples[] = {
    {0, true, false, true, false, "This sentence is an *assumption*, as indicated by the exclamation mark"},
    {1, false, true, false, false, "This sentence is an *issue*, as indicated by the question mark"},
    {3, false, true, true, false, "This issue is *justified*, as indicated by the plus sign"},
    {4, false, true, false, true, "This issue is *defeated*, as indicated by the cross sign"},
    {5, false, true, false, false, "This issue is *open*, as indicated by the zero sign"},
    {7, true, false, true, false, "This assumption is *justified*, as indicated by the plus sign"},
    {8, true, false, false, true, "This assumption is *defeated*, as indicated by the cross sign"},
    {9, true, false, false, false, "This assumption is *open*, as indicated by the zero sign"},
};

}  // namespace

TLegendForm::TLegendForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("LegendForm");
  setWindowTitle("Legend");
  setGeometry(164, 158, 547, 372);

  ScrollBox1 = new TDiagramScrollBox(this);
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFixedHeight(38);
  Button1 = new QPushButton("&Ok", Panel1);
  Button1->setObjectName("Button1");
  Button1->setGeometry(232, 7, 75, 25);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ScrollBox1, 1);
  layout->addWidget(Panel1);

  connect(Button1, &QPushButton::clicked, this, &TLegendForm::Button1Click);
  FormCreate();
}

void TLegendForm::FormCreate() {
  // One scratch sentence takes each sample's flags and text in turn; the
  // drawing keeps its own copies of what it shows.
  TDiagramSurface* surface = ScrollBox1->Surface();
  TDrawContext& context = surface->Context();
  context.Reset();
  auto scratch = std::make_shared<TKorvelSentence>();
  for (const TSample& sample : kSamples) {
    scratch->IsAssumption = sample.IsAssumption;
    scratch->IsIssue = sample.IsIssue;
    scratch->IsJustified = sample.IsJustified;
    scratch->IsDefeated = sample.IsDefeated;
    scratch->Text = sample.Text;
    DrawSentenceBox(context, scratch, 0, sample.Row, 0);
  }
  // The grid-level calls would keep the scratch sentence alive; the samples
  // need only their elements.
  context.Drawing.Calls.clear();
  surface->DrawingChanged();
}

void TLegendForm::Button1Click() { hide(); }
