#include "dialogs/match_form.h"

#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/qt_text.h"
#include "inspection/match_drawing.h"

TMatchForm::TMatchForm(QWidget* parent)
    : QWidget(parent, Qt::Window),
      PageControl1(new QTabWidget(this)),
      TabSheet1(new QWidget),
      TabSheet2(new QWidget),
      RichEdit1(new QTextEdit(TabSheet1)),
      ScrollBox1(new TDiagramScrollBox(TabSheet2)),
      MainStatusBar(new QStatusBar(this)) {
  setObjectName(QStringLiteral("MatchForm"));
  setWindowTitle(QStringLiteral("Match"));
  resize(682, 519);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setReadOnly(true);
  RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  MainStatusBar->setObjectName(QStringLiteral("MainStatusBar"));
  for (int i = 0; i < 2; ++i) {
    auto* panel = new QLabel(MainStatusBar);
    panel->setFixedWidth(50);
    MainStatusBar->addWidget(panel);
  }

  auto* textual = new QVBoxLayout(TabSheet1);
  textual->setContentsMargins(0, 0, 0, 0);
  textual->addWidget(RichEdit1);
  auto* graphical = new QVBoxLayout(TabSheet2);
  graphical->setContentsMargins(0, 0, 0, 0);
  graphical->addWidget(ScrollBox1);
  PageControl1->addTab(TabSheet1, QStringLiteral("Textual"));
  PageControl1->addTab(TabSheet2, QStringLiteral("Graphical"));
  PageControl1->setCurrentWidget(TabSheet2);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControl1);
  layout->addWidget(MainStatusBar);
}

void TMatchForm::ShowReportLines(const std::vector<std::string>& lines) {
  QStringList text;
  for (const auto& line : lines) text << FromBytes(line);
  RichEdit1->setPlainText(text.join(QLatin1Char('\n')));
}

void TMatchForm::ShowMatch(const TMatchReport& report, TKorvelTheory* mainTheory,
                           bool structureOnly, bool showDialecticalNegations) {
  ShowReportLines(report.Lines);
  TDiagramSurface* surface = ScrollBox1->Surface();
  surface->Context().StructureOnly = structureOnly;
  surface->Context().ShowDialecticalNegations = showDialecticalNegations;
  DrawMatchDiagram(surface->Context(), report, mainTheory);
  surface->DrawingChanged();
}
