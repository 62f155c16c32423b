// "Show acceptance over all interpretations" in the real window: off, the
// window is as without it; on, past the cap of listed interpretations, the
// diagram's icons and colours, the report's last section and the status of a
// clicked box show acceptance; off again restores everything; Stop.
#include <QAction>
#include <QApplication>
#include <map>
#include <optional>

#include "acceptance/acceptance_text.h"
#include "diagram_qt/acceptance_icons.h"
#include "tests/desktop/window_harness.h"
#include "tests/evaluation/theory_families.h"
#include "window/report_view.h"
#include "window_acceptance/acceptance_view.h"

class AcceptanceViewTest : public QObject {
  Q_OBJECT

 private:
  std::optional<TWindowHarness> window_;

  TAcceptanceView* View() const { return window_->Windows.Features.Acceptance; }
  TDiagramSurface* Surface() const { return window_->Surface; }

  // The status icon and frame colour of the box of each drawn text.
  std::map<std::string, std::pair<int, TColour>> Boxes() const {
    std::map<std::string, std::pair<int, TColour>> boxes;
    const TDrawContext& context = Surface()->Context();
    const auto& elements = context.Drawing.Elements;
    for (size_t i = 2; i < elements.size(); ++i)
      if (elements[i].Kind == TElementKind::Frame && elements[i].Tag >= 0 &&
          elements[i - 2].Kind == TElementKind::StatusIcons)
        boxes[context.DrawnSentences[static_cast<size_t>(elements[i].Tag)]->Text] = {elements[i - 2].StatusIcon,
                                                                                       elements[i].PenColour};
    return boxes;
  }
  QPoint CentreOf(const std::string& text) const {
    const TDrawContext& context = Surface()->Context();
    for (const TDiagramElement& e : context.Drawing.Elements)
      if (e.Kind == TElementKind::Frame && e.Tag >= 0 && context.DrawnSentences[static_cast<size_t>(e.Tag)]->Text == text)
        return Surface()->ToWidget(QRect(e.Bounds.Left, e.Bounds.Top, e.Bounds.Width, e.Bounds.Height)).center();
    return {};
  }
  std::vector<std::string> ReportLines() const {
    std::vector<std::string> lines;
    for (const QString& line : window_->Find<TReportView>("RichEdit2")->toPlainText().split(QLatin1Char('\n')))
      lines.push_back(line.toStdString());
    return lines;
  }

 private slots:
  void init() {
    window_.emplace();
    // 14 independent choices (16,384 interpretations, past the cap), a always
    // justified, b always defeated, c an issue never reached.
    TKorvelTheory theory = families::Pairs(14);
    families::Assume(theory, families::Atom("a"));
    families::Assume(theory, families::Atom("b"));
    families::Assume(theory, families::Attack("a", "b"));
    theory.Issues.push_back(families::Atom("c"));
    theory.Issues.back()->IsIssue = true;
    window_->Open(window_->WriteTheoryFile("choices.kvl", theory));
    window_->Form->Document().WaitForEvaluation();
    QCOMPARE(window_->Form->Document().EvaluationState(), TEvaluationState::Finished);
  }
  void cleanup() { window_.reset(); }

  void offByDefaultOnShowsAcceptanceOffRestores() {
    QAction* show = window_->Find<QAction>("Showacceptance1");
    QVERIFY(show->isCheckable());
    QVERIFY(!show->isChecked());
    QCOMPARE(show->text(), QStringLiteral("Show acceptance over all interpretations"));
    const auto plainBoxes = Boxes();
    const auto plainReport = ReportLines();
    QCOMPARE(plainReport, window_->Form->Document().ReportLines());
    QVERIFY(View() != nullptr && !View()->Computing());

    show->trigger();
    View()->WaitForResult();
    QVERIFY(!View()->Computing());
    const auto boxes = Boxes();
    QCOMPARE(boxes.at("a").first, kJustifiedInAllIcon);
    QCOMPARE(boxes.at("b").first, kDefeatedInAllIcon);
    QCOMPARE(boxes.at("c").first, kUnsettledIcon);
    QCOMPARE(boxes.at("p1").first, kJustifiedInSomeIcon);
    QVERIFY(boxes.at("a").second == kJustifiedColour);
    QVERIFY(boxes.at("b").second == kDefeatedColour);
    QVERIFY(!(boxes.at("p1").second == boxes.at("a").second));

    const auto report = ReportLines();
    const auto heading = std::find(report.begin(), report.end(), std::string(kAcceptanceHeading));
    QVERIFY(heading != report.end());
    QCOMPARE(std::vector<std::string>(report.begin(), report.begin() + static_cast<long>(plainReport.size())),
             plainReport);
    QCOMPARE(*(heading + 1), std::string("OVER 16,384 DIALECTICAL INTERPRETATIONS"));

    QTest::mouseClick(Surface(), Qt::LeftButton, {}, CentreOf("a"));
    QTRY_COMPARE(window_->Find<QLabel>("StatusPanel1")->text(),
                 QStringLiteral("justified in all 16,384 interpretations, defeated in none"));
    QTest::mouseClick(Surface(), Qt::LeftButton, {}, CentreOf("p2"));
    QTRY_COMPARE(window_->Find<QLabel>("StatusPanel1")->text(),
                 QStringLiteral("justified in some of the 16,384 interpretations, defeated in some"));

    show->trigger();
    QCOMPARE(Boxes(), plainBoxes);
    QCOMPARE(ReportLines(), plainReport);
  }

  void stopEndsTheComputationAndTheReportSaysSo() {
    window_->Find<QAction>("Showacceptance1")->trigger();
    QAction* stop = window_->Find<QAction>("Stopacceptance1");
    QVERIFY(stop->isEnabled());
    stop->trigger();
    QVERIFY(!stop->isEnabled());
    View()->WaitForResult();
    const auto report = ReportLines();
    QCOMPARE(report[report.size() - 2], std::string(kAcceptanceStoppedLine));
    QCOMPARE(window_->Find<QLabel>("StatusPanel2")->text(),
             QString::fromStdString(window_->Form->Document().InterpretationSummary()));
  }
};

QTEST_MAIN(AcceptanceViewTest)
#include "acceptance_view_gui_test.moc"
