// "Why?" in the real window: the key on a selected box opens the panel and
// logs the sentence; the panel follows the interpretation bar; a click on a
// line selects that box; the derivation's boxes are ringed until the user
// selects something else; an open premise unfolds one level; a derivation
// thousands of steps deep opens folded; with acceptance over all
// interpretations shown, the first line says what holds over all of them and
// names an interpretation, in which premises then unfold.
#include <QAbstractButton>
#include <QKeySequence>
#include <QMenu>
#include <QTreeView>
#include <set>
#include <tuple>

#include "diagram_qt/acceptance_icons.h"
#include "diagram_qt/derivation_highlight.h"
#include "logic/parser.h"
#include "tests/desktop/window_harness.h"
#include "tests/evaluation/theory_families.h"
#include "window_acceptance/acceptance_view.h"
#include "window_explanation/explanation_model.h"
#include "window_explanation/explanation_panel.h"

namespace {

std::string WriteTheoryFile(const TWindowHarness& window, const char* name,
                            const std::vector<std::string>& assumptions, const std::vector<std::string>& issues) {
  return window.WriteTheoryFile(name, families::Parsed(assumptions, issues));
}

QStringList Rows(QTreeView* tree) {
  QStringList rows;
  std::vector<std::pair<QModelIndex, int>> stack{{tree->model()->index(0, 0), 0}};
  while (!stack.empty()) {
    auto [index, depth] = stack.back();
    stack.pop_back();
    rows << QString(2 * depth, QLatin1Char(' ')) + index.data().toString();
    if (!tree->isExpanded(index)) continue;
    for (int row = tree->model()->rowCount(index) - 1; row >= 0; --row)
      stack.push_back({tree->model()->index(row, 0, index), depth + 1});
  }
  return rows;
}

// The texts of the sentences whose boxes are ringed.
std::set<std::string> Ringed(const TWindowHarness& window) {
  std::set<std::string> texts;
  const TDrawContext& context = window.Surface->Context();
  for (int element : window.Explanation->Highlight().Elements())
    texts.insert(context.DrawnSentences[static_cast<size_t>(context.Drawing.Elements[static_cast<size_t>(element)].Tag)]->Text);
  return texts;
}

}  // namespace

class ExplanationWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void whyExplainsTheSelectedBoxAndFollowsTheInterpretationBar() {
    TWindowHarness window;
    // Two interpretations: {p} (q defeated) comes second, {q} first.
    const std::string path = WriteTheoryFile(window, "choice.kvl",
                                             {"if(p, x(q))", "if(q, x(p))", "p", "q", "if(p, r)"}, {"r"});
    QVERIFY(window.Form->OpenFile(path));
    auto& panel = window.Explanation->Panel();
    QVERIFY(!panel.isVisible());
    window.ClickBox("r");
    const size_t mark = window.LogSize();
    QTest::keyClick(window.Surface, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(panel.isVisible());
    QCOMPARE(window.LogSince(mark), (std::vector<std::string>{"", "Why: r"}));
    QCOMPARE(panel.Heading(), QStringLiteral("Interpretation 1 of 2"));
    QCOMPARE(Rows(panel.Tree()), (QStringList{"\"r\" is open: neither it nor its negation follows",
                                              "  \"if(p, r)\" would give \"r\", but these are not justified:",
                                              "    \"p\" is defeated"}));
    QCOMPARE(Ringed(window), (std::set<std::string>{"r", "if(p, r)", "p"}));

    // The defeated premise unfolds into what defeats it.
    QTreeView* tree = panel.Tree();
    const QModelIndex premise = tree->model()->index(0, 0, tree->model()->index(0, 0, tree->model()->index(0, 0)));
    tree->expand(premise);
    QCOMPARE(Rows(tree).mid(3), (QStringList{"      \"x(p)\" is justified by \"if(q, x(p))\""}));

    // The second interpretation: r follows from p.
    window.Find<QAbstractButton>("InterpretationButton2")->click();
    QCOMPARE(panel.Heading(), QStringLiteral("Interpretation 2 of 2"));
    QCOMPARE(Rows(tree), (QStringList{"\"r\" is justified by \"if(p, r)\"",
                                      "  \"if(p, r)\" is justified: it is an assumption of the interpretation",
                                      "  \"p\" is justified: it is an assumption of the interpretation"}));

    // A click on a line selects that box; the rings stay.
    const QModelIndex pLine = tree->model()->index(1, 0, tree->model()->index(0, 0));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(pLine).center());
    const int selected = window.Form->Selection().SelectedIndex;
    QVERIFY(selected >= 0);
    QCOMPARE(window.Form->DrawnSentences()[static_cast<size_t>(selected)]->Text, std::string("p"));
    QCOMPARE(window.Surface->SelectedTag(), selected);
    QCOMPARE(Ringed(window).size(), size_t{3});
    // Selecting on the diagram ends the rings.
    window.ClickBox("q");
    QVERIFY(Ringed(window).empty());
    QVERIFY(!window.Explanation->Highlight().isVisible());
  }

  void theItemFollowsPropertiesInBothMenusAndNeedsASelection() {
    TWindowHarness window;
    for (const auto& [menuName, before, item] :
         {std::tuple{"Edit1", "Properties2MenuItem", "Why2MenuItem"},
          std::tuple{"PopupMenu1", "Properties1MenuItem", "Why1MenuItem"}}) {
      const QList<QAction*> actions = window.Find<QMenu>(menuName)->actions();
      const qsizetype at = actions.indexOf(window.Find<QAction>(before));
      QVERIFY(at >= 0 && at + 1 < actions.size());
      QCOMPARE(actions[at + 1], window.Find<QAction>(item));
    }
    QCOMPARE(window.Find<QAction>("Why2MenuItem")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+W")));
    // Nothing selected: the key does nothing and nothing is logged.
    const size_t mark = window.LogSize();
    window.Find<QAction>("Why2MenuItem")->trigger();
    QVERIFY(!window.Explanation->Panel().isVisible());
    QCOMPARE(window.LogSize(), mark);
  }

  void withAcceptanceTheFirstLineNamesAnInterpretationThatShowsIt() {
    TWindowHarness window;
    const std::string path = WriteTheoryFile(window, "choice.kvl",
                                             {"if(p, x(q))", "if(q, x(p))", "p", "q", "if(p, r)", "t"}, {"r"});
    QVERIFY(window.Form->OpenFile(path));
    window.Form->Document().WaitForEvaluation();
    TAcceptanceView* view = window.Windows.Features.Acceptance;
    QVERIFY(view != nullptr);
    auto& panel = window.Explanation->Panel();
    QTreeView* tree = panel.Tree();
    window.ClickBox("r");
    QTest::keyClick(window.Surface, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(panel.Heading(), QStringLiteral("Interpretation 1 of 2"));

    // Switched on: the explanation waits for the acceptance, then says it.
    window.Find<QAction>("Showacceptance1")->trigger();
    QVERIFY(view->Computing());
    QCOMPARE(panel.Heading(),
             QStringLiteral("Interpretation 1 of 2; acceptance over all interpretations is being computed"));
    view->WaitForResult();
    QCOMPARE(panel.Heading(), QStringLiteral("Acceptance over all interpretations"));
    const QStringList lacking{"\"r\" is not justified in every interpretation: interpretation 1 lacks it",
                              "  \"r\" is open: neither it nor its negation follows",
                              "    \"if(p, r)\" would give \"r\", but these are not justified:",
                              "      \"p\" is defeated"};
    QCOMPARE(Rows(tree), lacking);
    // The first line carries the box's acceptance icon: justified in some.
    const QIcon icon = tree->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>();
    QCOMPARE(icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
             AcceptanceIcon(kJustifiedInSomeIcon).convertToFormat(QImage::Format_ARGB32));

    // Interpretation 2 has r: the one that lacks it is still named, and its
    // premise unfolds in interpretation 1, where p is defeated.
    window.Find<QAbstractButton>("InterpretationButton2")->click();
    QCOMPARE(Rows(tree), lacking);
    const QModelIndex premise =
        tree->model()->index(0, 0, tree->model()->index(0, 0, tree->model()->index(0, 0, tree->model()->index(0, 0))));
    tree->expand(premise);
    QCOMPARE(Rows(tree).mid(4), (QStringList{"        \"x(p)\" is justified by \"if(q, x(p))\""}));

    // Justified in every interpretation: the derivation in the one shown.
    window.ClickBox("t");
    window.Find<QAction>("Why2MenuItem")->trigger();
    QCOMPARE(Rows(tree), (QStringList{"\"t\" is justified in every interpretation; in interpretation 2:",
                                      "  \"t\" is justified: it is an assumption of the interpretation"}));

    // Off again: the explanation in the interpretation shown, as before.
    window.Find<QAction>("Showacceptance1")->trigger();
    QCOMPARE(panel.Heading(), QStringLiteral("Interpretation 2 of 2"));
    QCOMPARE(Rows(tree), (QStringList{"\"t\" is justified: it is an assumption of the interpretation"}));
  }

  void aDerivationThousandsOfStepsDeepOpensFolded() {
    TWindowHarness window;
    std::vector<std::string> assumptions{"s0"};
    const int n = 3000;
    for (int i = 0; i < n; ++i) assumptions.push_back("if(s" + std::to_string(i) + ", s" + std::to_string(i + 1) + ")");
    QVERIFY(window.Form->OpenFile(WriteTheoryFile(window, "chain.kvl", assumptions, {})));
    window.Form->Document().WaitForEvaluation();
    window.ClickBox("s" + std::to_string(n));
    window.Find<QAction>("Why1MenuItem")->trigger();
    auto& panel = window.Explanation->Panel();
    QCOMPARE(panel.Model().Lines().size(), size_t{2 * n + 1});
    const QStringList rows = Rows(panel.Tree());
    QVERIFY(rows.size() <= TExplanationPanel::kUnfoldedLines);
    QVERIFY(rows.size() > TExplanationPanel::kUnfoldedLevels);
    QVERIFY(rows.front().startsWith(QStringLiteral("\"s3000\" is justified by \"if(s2999, s3000)\"")));
    // The whole chain is ringed on the diagram.
    QCOMPARE(window.Explanation->Highlight().Elements().empty(), false);
  }
};

QTEST_MAIN(ExplanationWindowTest)
#include "explanation_window_test.moc"
