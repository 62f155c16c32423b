// Shows a theory's diagram in a window, as the program draws it after a
// refresh, next to the legend: for looking at the drawing by eye.
//   diagram_preview [FILE.kvl] [--structure-only]
// Without a file it shows a small theory with supports, attacks, a
// conjunctive argument and two dialectical interpretations.
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <iostream>

#include "diagram_qt/diagram_scroll_box.h"
#include "diagram_qt/legend_form.h"
#include "refresh/refresh_core.h"
#include "logic/parser.h"

namespace {

TKorvelFile DemoTheory() {
  TKorvelTheory theory;
  for (const char* text : {"It rains", "The forecast says sun", "if(It rains, The street is wet)",
                           "if(The forecast says sun, x(It rains))", "if(It rains, x(The forecast says sun))",
                           "The sprinkler is on", "The hose is connected",
                           "if(The sprinkler is on, The hose is connected, The lawn is watered)",
                           "The street is covered", "if(The street is covered, x(if(It rains, The street is wet)))"})
    theory.Assumptions.push_back(ParseSentence(text));
  for (const char* text : {"The street is wet", "The lawn is watered"}) theory.Issues.push_back(ParseSentence(text));
  for (const SentencePtr& s : theory.Assumptions) s->IsAssumption = true;
  for (const SentencePtr& s : theory.Issues) s->IsIssue = true;
  TKorvelFile file;
  WriteTheory(theory, file);
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  TRefreshOptions options;
  TKorvelFile file;
  bool haveFile = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--structure-only") {
      options.ShowStructureOnly = true;
    } else {
      try {
        file.LoadFromFile(argument);
        haveFile = true;
      } catch (const TKorvelFileError& error) {
        std::cerr << error.what() << '\n';
        return 1;
      }
    }
  }
  if (!haveFile) file = DemoTheory();

  QWidget window;
  window.setWindowTitle("Diagram preview");
  auto* scrollBox = new TDiagramScrollBox;
  auto* status = new QLabel;
  TDiagramSurface* surface = scrollBox->Surface();
  surface->Context().StructureOnly = options.ShowStructureOnly;
  TRefreshResult result =
      Refresh({file, options, [&](TKorvelTheory& theory, const TListOfKorvelSentences& allSentences) {
        surface->Context().Theory = &theory;
        surface->DrawArguments(allSentences);
        surface->Context().Theory = nullptr;
      }});
  status->setText(QString::fromStdString(result.StatusText));
  QObject::connect(surface, &TDiagramSurface::mouseDown, status, [&](const TDiagramHit& hit) {
    const auto& drawn = surface->Context().DrawnSentences;
    const QString cell = QString("(%1, %2)").arg(hit.Position.x() / 18).arg(hit.Position.y() / 30);
    if (hit.Tag >= 0 && static_cast<size_t>(hit.Tag) < drawn.size())
      status->setText(cell + "  " + QString::fromStdString(drawn[static_cast<size_t>(hit.Tag)]->Text));
    else
      status->setText(cell);
  });

  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(scrollBox, 1);
  layout->addWidget(status);
  window.setGeometry(0, 0, 720, 420);
  window.show();

  TLegendForm legend;
  legend.move(0, 440);
  legend.show();
  return application.exec();
}
