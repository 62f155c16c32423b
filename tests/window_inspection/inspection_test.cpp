// Properties and Match on the real windows: a file opened in the main window,
// a sentence selected, the commands run from their menu items.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <optional>

#include "diagram_qt/diagram_scroll_box.h"
#include "dialogs/match_form.h"
#include "dialogs/properties_form.h"
#include "tests/desktop/window_harness.h"
#include "window_inspection/main_form_inspection.h"

namespace {

QByteArray Block(const char* text) {
  return QByteArray("<SENTENCE><ELEMENTARYSENTENCE>") + text + "</ELEMENTARYSENTENCE></SENTENCE>";
}

QStringList Lines(QTextEdit* view) { return view->toPlainText().split(QLatin1Char('\n')); }

}  // namespace

class InspectionTest : public QObject {
  Q_OBJECT

 private:
  std::optional<TWindowHarness> window_;
  TApplicationWindows* windows_ = nullptr;
  TMainFormInspection* inspection_ = nullptr;

  TMainForm& Form() { return *window_->Form; }

  void OpenTheory(std::initializer_list<const char*> assumptions,
                  std::initializer_list<const char*> issues) {
    QByteArray content = "<KORVEL><THEORY>";
    for (const char* a : assumptions) content += Block(a);
    content += "</THEORY><ISSUES>";
    for (const char* i : issues) content += Block(i);
    content += "</ISSUES></KORVEL>";
    window_->Open(window_->WriteFile(QStringLiteral("theory.kvl"), content).toStdString());
  }

  // Selects the drawn sentence with the text, as a press on its box does.
  void Select(const std::string& text) {
    const auto& drawn = Form().DrawnSentences();
    int index = IndexOfText(drawn, text);
    QVERIFY2(index >= 0, text.c_str());
    Form().Selection().SelectedIndex = index;
    Form().Selection().OfferedIndex = index;
  }

  void Trigger(const char* name) { Form().findChild<QAction*>(QString::fromUtf8(name))->trigger(); }

 private slots:
  void init() {
    window_.emplace(TWindowHarness::TShow::Hidden);
    windows_ = &window_->Windows;
    inspection_ = windows_->Features.Inspection;
    QVERIFY(inspection_ != nullptr);
  }

  void cleanup() { window_.reset(); }

  void propertiesShowsTheSelectedSentenceModally() {
    OpenTheory({"p"}, {});
    Select("p");
    QStringList shown;
    bool modal = false;
    QPoint middle;
    bool scrollBars = true;
    inspection_->ShowModal = [&](QDialog& dialog) {
      modal = dialog.isModal();
      shown = Lines(windows_->PropertiesForm->RichEdit1);
      middle = dialog.geometry().center();
      dialog.show();  // lines that fit need no scroll bars
      QApplication::processEvents();
      scrollBars = windows_->PropertiesForm->RichEdit1->verticalScrollBar()->isVisible() ||
                   windows_->PropertiesForm->RichEdit1->horizontalScrollBar()->isVisible();
      dialog.hide();
    };
    Form().move(Form().pos() + QPoint(37, 19));  // the window opens over the main window wherever it is
    Trigger("Properties2MenuItem");
    QVERIFY(modal);
    QVERIFY((middle - Form().frameGeometry().center()).manhattanLength() <= 4);
    QVERIFY(!scrollBars);
    QCOMPARE(shown, (QStringList{"Sentence:", "    p", "", "Type:", "    Assumption", "", "Status:",
                                 "    Justified", "", "Variables:", "", "Tag:", "    0", ""}));

    // Without a selection the window opens empty.
    Form().Selection().SelectedIndex = -1;
    Trigger("Properties1MenuItem");
    QCOMPARE(windows_->PropertiesForm->RichEdit1->toPlainText(), QString());
  }

  void matchReportsAndDrawsWithoutTouchingTheTheory() {
    OpenTheory({"<x> is a bird", "if(<x> is a bird, <x> flies)"}, {"Pip is a bird"});
    const TListOfKorvelSentences mainDrawn = Form().DrawnSentences();
    Select("Pip is a bird");
    Trigger("Match1MenuItem");

    TMatchForm& match = *windows_->MatchForm;
    QVERIFY(match.isVisible());
    QCOMPARE(Lines(match.RichEdit1),
             (QStringList{"Sentence to match:", "", "    Pip is a bird", "", "Exact matches found:", "",
                          "    <x> is a bird", "    Pip is a bird", "        <x>: Pip", "",
                          "Other matches found:", "", "    if(<x> is a bird, <x> flies)",
                          "    if(Pip is a bird, Pip flies)", "        <x>: Pip", "        <x>: Pip",
                          ""}));
    const TDrawContext& drawn = match.ScrollBox1->Surface()->Context();
    const int instance = drawn.DrawnIndexOfText("if(Pip is a bird, Pip flies)");
    QVERIFY(instance >= 0);

    // A press on a box of the match diagram selects nothing in the main window.
    const int selected = Form().Selection().SelectedIndex;
    for (const TDiagramElement& element : drawn.Drawing.Elements) {
      if (element.Kind != TElementKind::Frame) continue;
      QTest::mouseClick(match.ScrollBox1->Surface(), Qt::LeftButton, {},
                        QPoint(element.Bounds.Left + 3, element.Bounds.Top + 3));
      break;
    }
    QCOMPARE(Form().Selection().SelectedIndex, selected);
    QVERIFY(drawn.DrawnSentences[static_cast<size_t>(instance)]->IsJustified);
    QVERIFY(drawn.DrawnIndexOfText("Pip flies") >= 0);

    // The main diagram still names what the user clicked, and the theory
    // gains none of the instances: the next commit writes none of them.
    QCOMPARE(Form().DrawnSentences(), mainDrawn);
    QCOMPARE(IndexOfText(Form().Document().Theory().Issues, "Pip flies"), -1);
    QVERIFY(Form().Document().CommitTheory());
    const QByteArray written = QByteArray::fromStdString(Form().Document().TheoryFile().Text);
    QVERIFY(written.contains("<x> flies"));
    QVERIFY(!written.contains("Pip flies"));
  }

  void aSecondRunReplacesTheFirst() {
    OpenTheory({"<x> is a bird", "if(<x> is a bird, <y> sings)", "if(<x> is a bird, <X> nests)"},
               {"Pip is a bird", "Tweety is a bird"});
    Select("Pip is a bird");
    Trigger("Match2MenuItem");
    Select("Tweety is a bird");
    Trigger("Match2MenuItem");
    const QStringList lines = Lines(windows_->MatchForm->RichEdit1);
    QCOMPARE(lines.at(2), QStringLiteral("    Tweety is a bird"));
    QVERIFY(!lines.join(QLatin1Char('|')).contains(QStringLiteral("Pip")));
    // The unbound <y> stays; <X> takes the binding of <x>.
    QVERIFY(lines.contains(QStringLiteral("    if(Tweety is a bird, <y> sings)")));
    QVERIFY(lines.contains(QStringLiteral("    if(Tweety is a bird, Tweety nests)")));
    const TDrawContext& drawn = windows_->MatchForm->ScrollBox1->Surface()->Context();
    QCOMPARE(drawn.DrawnIndexOfText("if(Pip is a bird, <y> sings)"), -1);
    QVERIFY(drawn.DrawnIndexOfText("if(Tweety is a bird, <y> sings)") >= 0);
  }

  void matchWithoutSelectionShowsNothing() {
    OpenTheory({"<x> is a bird"}, {"Pip is a bird"});
    Form().Selection().SelectedIndex = -1;
    Trigger("Match1MenuItem");
    QVERIFY(!windows_->MatchForm->isVisible());
  }
};

QTEST_MAIN(InspectionTest)
#include "inspection_test.moc"
