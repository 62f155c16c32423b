// Undo and redo, the keys of the commands, the keyboard on the diagram and
// assistive technology, in the real window.
#include <QAccessible>
#include <QApplication>
#include <QAction>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <functional>
#include <map>

#include "tests/desktop/window_harness.h"
#include "window/main_form_shortcuts.h"

namespace {

const std::string kExample = PELMORA_TEST_DATA_DIR "/example.kvl";

QString Key(const QKeySequence& keys) { return keys.toString(QKeySequence::PortableText); }

}  // namespace

class EditorKeysWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Every command undone with Ctrl+Z and redone with Ctrl+Shift+Z: the
  // scratch file's bytes and the log lines.
  void eachCommandIsUndoneAndRedoneWithTheKeys() {
    struct TCase {
      const char* Title;
      std::function<void(TWindowHarness&)> Act;
      std::function<void(TWindowHarness&)> Prepare = {};
    };
    const auto trigger = [](TWindowHarness& w, const char* name) { w.Find<QAction>(name)->trigger(); };
    const std::vector<TCase> cases = {
        {"Add statement", [](TWindowHarness& w) { w.AddStatement(QStringLiteral("c")); }},
        {"Support", [](TWindowHarness& w) {
           w.ClickBox("b");
           QTest::keyClick(w.Surface, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
           w.TypeAndPress(QStringLiteral("r"), Qt::Key_Return);
         }},
        {"Attack", [](TWindowHarness& w) {
           w.ClickBox("b");
           w.Find<QToolButton>("AttackToolButton")->click();
           w.TypeAndPress(QStringLiteral("r"), Qt::Key_Return);
         }},
        {"Change elementary sentence", [](TWindowHarness& w) {
           w.ClickBox("a");
           QTest::keyClick(w.Surface, Qt::Key_F2);
           w.TypeAndPress(QStringLiteral("z"), Qt::Key_Return);
         }},
        {"Add conjunct",
         [](TWindowHarness& w) {
           w.ClickBox("r");
           w.Find<QToolButton>("AddConjunctToolButton")->click();
           w.TypeAndPress(QStringLiteral("s"), Qt::Key_Return);
         },
         [](TWindowHarness& w) {
           w.ClickBox("b");
           w.Find<QToolButton>("SupportToolButton")->click();
           w.TypeAndPress(QStringLiteral("r"), Qt::Key_Return);
         }},
        {"Set as issue", [](TWindowHarness& w) {
           w.ClickBox("a");
           QTest::keyClick(w.Surface, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
         }},
        {"Delete", [](TWindowHarness& w) {
           w.ClickBox("a");
           QTest::keyClick(w.Surface, Qt::Key_Delete);
         }},
        {"Add dialectical negation", [trigger](TWindowHarness& w) {
           w.ClickBox("a");
           trigger(w, "Adddialecticalnegation2MenuITem");
         }},
    };
    for (const TCase& c : cases) {
      TWindowHarness window;
      window.AddStatement(QStringLiteral("a"));
      window.AddStatement(QStringLiteral("b"));
      if (c.Prepare) c.Prepare(window);
      window.Editing->History().Clear();
      auto* undo = window.Find<QAction>("Undo1");
      auto* redo = window.Find<QAction>("Redo1");
      QVERIFY(!undo->isEnabled());
      const QByteArray before = window.Scratch();
      c.Act(window);
      const QByteArray after = window.Scratch();
      QVERIFY2(before != after, c.Title);
      QVERIFY2(undo->isEnabled(), c.Title);
      QVERIFY(!redo->isEnabled());
      QCOMPARE(undo->text(), QStringLiteral("&Undo ") + QString::fromUtf8(c.Title));

      window.Surface->setFocus();
      size_t mark = window.LogSize();
      QTest::keyClick(window.Surface, Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(window.Scratch(), before);
      QCOMPARE(window.LogSince(mark).at(1), std::string("Undo: ") + c.Title);
      QVERIFY(!undo->isEnabled());
      QVERIFY(redo->isEnabled());
      // At the bottom Ctrl+Z does nothing and logs nothing.
      mark = window.LogSize();
      QTest::keyClick(window.Surface, Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(window.LogSize(), mark);
      QCOMPARE(window.Scratch(), before);

      QTest::keyClick(window.Surface, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
      QCOMPARE(window.Scratch(), after);
      QCOMPARE(window.LogSince(mark).at(1), std::string("Redo: ") + c.Title);
      mark = window.LogSize();
      QTest::keyClick(window.Surface, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
      QCOMPARE(window.LogSize(), mark);
    }
  }

  void undoBackToTheSavedFileLeavesNothingUnsavedAndOpenClearsTheList() {
    TWindowHarness window;
    window.Open(kExample);
    QCOMPARE(window.Form->Document().HasUnsavedChanges(), std::optional<bool>(false));
    window.AddStatement(QStringLiteral("c"));
    QCOMPARE(window.Form->Document().HasUnsavedChanges(), std::optional<bool>(true));
    window.Find<QAction>("Undo1")->trigger();
    QCOMPARE(window.Form->Document().HasUnsavedChanges(), std::optional<bool>(false));
    // New asks nothing (the script holds no answer) and clears the list.
    window.Find<QAction>("Redo1")->trigger();
    window.Ui.Answers = {TDocumentUi::TAnswer::No};
    window.Find<QAction>("New1")->trigger();
    QCOMPARE(window.Ui.Questions.size(), size_t{1});
    QVERIFY(!window.Find<QAction>("Undo1")->isEnabled());
    QVERIFY(!window.Find<QAction>("Redo1")->isEnabled());
  }

  void theShortcutTableHasNoClashes() {
    TWindowHarness window;
    // Every row's item carries its key, and the Edit and File menus show it.
    for (const TShortcut& row : MainFormShortcuts()) {
      auto* action = window.Find<QAction>(row.Action);
      QVERIFY2(!action->shortcut().isEmpty(), row.Action);
      QCOMPARE(action->shortcut(), ShortcutKeys(row));
    }
    // No key belongs to two items that act on it at the same time.
    std::map<QString, QString> owners;
    for (QAction* action : window.Form->findChildren<QAction*>()) {
      if (action->shortcut().isEmpty() || action->shortcutContext() == Qt::WidgetShortcut) continue;
      for (const QKeySequence& keys : action->shortcuts()) {
        const auto [at, inserted] = owners.emplace(Key(keys), action->objectName());
        QVERIFY2(inserted, qPrintable(Key(keys) + QStringLiteral(": ") + at->second + QStringLiteral(" and ") +
                                      action->objectName()));
      }
    }
    // Keys that zoom, print and stop keep their meaning: the table takes none.
    for (const TShortcut& row : MainFormShortcuts())
      for (const QKeySequence& keys : AllShortcutKeys(row))
        for (const char* kept : {"Ctrl++", "Ctrl+=", "Ctrl+-", "Ctrl+0", "Ctrl+P", "Esc"})
          QVERIFY2(Key(keys) != QString::fromUtf8(kept), kept);
    // The program's own keys are no platform key of another meaning and no
    // key the statement box takes while the user types.
    QLineEdit* line = window.Box->lineEdit();
    for (const TShortcut& row : MainFormShortcuts()) {
      if (row.Standard != QKeySequence::UnknownKey) continue;
      const QKeySequence keys = ShortcutKeys(row);
      for (int standard = QKeySequence::HelpContents; standard <= QKeySequence::Cancel; ++standard)
        for (const QKeySequence& platform : QKeySequence::keyBindings(static_cast<QKeySequence::StandardKey>(standard)))
          QVERIFY2(platform != keys, qPrintable(Key(keys)));
      const QKeyCombination combination = keys[0];
      const bool functionKey = combination.key() >= Qt::Key_F1 && combination.key() <= Qt::Key_F35;
      QVERIFY2((combination.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier)) || functionKey, row.Keys);
      QKeyEvent override(QEvent::ShortcutOverride, combination.key(), combination.keyboardModifiers());
      override.ignore();
      QApplication::sendEvent(line, &override);
      QVERIFY2(!override.isAccepted(), row.Keys);
    }
  }

  void theArrowKeysMoveTheSelectionAsAClickDoes() {
    TWindowHarness window;
    window.AddStatement(QStringLiteral("b"));
    window.ClickBox("b");
    window.Find<QToolButton>("SupportToolButton")->click();
    window.TypeAndPress(QStringLiteral("a"), Qt::Key_Return);
    window.AddStatement(QStringLiteral("c"));
    // Reading order: b (row 0), a (row 1, one column right), c.
    QTest::mouseClick(window.Surface, Qt::LeftButton, {}, QPoint(500, 300));  // focus, nothing selected
    QVERIFY(window.Surface->hasFocus());
    const auto selectedText = [&] { return window.Panel(2).toStdString(); };
    QTest::keyClick(window.Surface, Qt::Key_Down);
    QCOMPARE(selectedText(), std::string("b"));
    QTest::keyClick(window.Surface, Qt::Key_Right);  // the reason of b
    QCOMPARE(selectedText(), std::string("a"));
    const QString panelsAfterKey = window.Panel(0) + window.Panel(1) + window.Panel(2);
    const bool addConjunctAfterKey = window.Find<QToolButton>("AddConjunctToolButton")->isEnabled();
    QTest::keyClick(window.Surface, Qt::Key_Left);  // back to what it supports
    QCOMPARE(selectedText(), std::string("b"));
    QTest::keyClick(window.Surface, Qt::Key_Down);
    QTest::keyClick(window.Surface, Qt::Key_Down);
    QCOMPARE(selectedText(), std::string("c"));
    QTest::keyClick(window.Surface, Qt::Key_Up);
    QCOMPARE(selectedText(), std::string("a"));
    QCOMPARE(window.Surface->HighlightedElements(), std::vector<int>{window.FrameOf("a")});
    // A click on the same box gives the same panels and offers.
    window.ClickBox("a");
    QCOMPARE(window.Panel(0) + window.Panel(1) + window.Panel(2), panelsAfterKey);
    QCOMPARE(window.Find<QToolButton>("AddConjunctToolButton")->isEnabled(), addConjunctAfterKey);
    QVERIFY(addConjunctAfterKey);
  }

  // After Enter or Esc in the statement box the keyboard is back on the
  // diagram, which shows a frame; the editing keys act on the diagram's
  // selection only while the diagram page shows.
  void theKeyboardStaysWithTheDiagram() {
    TWindowHarness window;
    auto* frame = window.Find<QWidget>("DiagramFocusFrame");
    window.AddStatement(QStringLiteral("a"));
    QCOMPARE(QApplication::focusWidget(), window.Surface);
    QVERIFY(frame->isVisible());
    window.Find<QToolButton>("StatementToolButton")->click();
    QVERIFY(!frame->isVisible());  // the statement box has the keyboard
    window.TypeAndPress(QStringLiteral("b"), Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), window.Surface);
    QVERIFY(frame->isVisible());
    QTest::keyClick(window.Surface, Qt::Key_Down);
    QCOMPARE(window.Panel(2), QStringLiteral("a"));

    auto* pages = window.Find<QTabWidget>("TextBasedKorvelPageControl");
    for (const char* page : {"FileTabSheet", "TheoryTabSheet"}) {
      pages->setCurrentWidget(window.Find<QWidget>(page));
      QTest::keyClick(pages->currentWidget(), Qt::Key_Delete);
      QCOMPARE(window.Assumptions(), std::vector<std::string>{"a"});
    }
    pages->setCurrentWidget(window.Find<QWidget>("TabSheet1"));
    // Shift+F10 and the Menu key open the pop-up menu at the selected box.
    auto* popup = window.Find<QMenu>("PopupMenu1");
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
      QTest::keyClick(window.Surface, key, modifiers);
      QTRY_VERIFY(popup->isVisible());
      QVERIFY(popup->geometry().contains(window.Surface->mapToGlobal(window.BoxCentre("a")) + QPoint(1, 1)));
      popup->close();
    }
    QTest::keyClick(window.Surface, Qt::Key_Delete);
    QVERIFY(window.Assumptions().empty());
  }

  void iconButtonsAndPanelsAreNamedForAssistiveTechnology() {
    TWindowHarness window;
    for (const char* bar : {"ToolBar1", "ToolBar4"}) {
      for (QToolButton* button : window.Find<QToolBar>(bar)->findChildren<QToolButton*>()) {
        QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
        QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
        QCOMPARE(accessible->text(QAccessible::Name), button->toolTip());
      }
    }
    window.AddStatement(QStringLiteral("a"));
    window.ClickBox("a");
    for (int i = 0; i < 3; ++i) {
      auto* panel = window.Find<QLabel>(QStringLiteral("StatusPanel%1").arg(i).toUtf8().constData());
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(panel);
      QCOMPARE(accessible->text(QAccessible::Name), panel->text());
      QVERIFY(!accessible->text(QAccessible::Description).isEmpty());
    }
    QVERIFY(!QAccessible::queryAccessibleInterface(window.Surface)->text(QAccessible::Name).isEmpty());
  }
};

QTEST_MAIN(EditorKeysWindowTest)
#include "editor_keys_window_test.moc"
