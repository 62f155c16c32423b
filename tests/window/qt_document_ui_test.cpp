// The desktop side of the document's seam: the real message box and file
// dialogs, answered from a timer while they run modally.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "window/qt_document_ui.h"

namespace {

// Runs `answer` on the modal dialog as soon as it is open.
template <class Dialog>
void WhenOpen(std::function<void(Dialog*)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      WhenOpen<Dialog>(answer);  // not shown yet: look again
      return;
    }
    answer(dialog);
  });
}

}  // namespace

class QtDocumentUiTest : public QObject {
  Q_OBJECT

 private slots:
  void saveQuestionIsAWarningWithThreeButtons() {
    TQtDocumentUi ui(nullptr);
    QString title, text;
    QMessageBox::StandardButtons buttons;
    WhenOpen<QMessageBox>([&](QMessageBox* box) {
      title = box->windowTitle();
      text = box->text();
      buttons = box->standardButtons();
      box->button(QMessageBox::No)->click();
    });
    QCOMPARE(ui.AskToSave("Do you want to save the changes in a.kvl?"), TDocumentUi::TAnswer::No);
    QCOMPARE(title, QStringLiteral("Warning"));
    QCOMPARE(text, QStringLiteral("Do you want to save the changes in a.kvl?"));
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    WhenOpen<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    QCOMPARE(ui.AskToSave("?"), TDocumentUi::TAnswer::Yes);

    // Closing the box without a choice is Cancel.
    WhenOpen<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(ui.AskToSave("?"), TDocumentUi::TAnswer::Cancel);
  }

  void saveDialogFiltersTheoryFilesAndAddsTheSuffix() {
    QTemporaryDir directory;
    TQtDocumentUi ui(nullptr);
    QStringList filters;
    bool asksBeforeReplacing = true;
    WhenOpen<QFileDialog>([&](QFileDialog* dialog) {
      filters = dialog->nameFilters();
      asksBeforeReplacing = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
      dialog->setDirectory(directory.path());
      dialog->selectFile(QStringLiteral("argument"));
      static_cast<QDialog*>(dialog)->accept();  // the dialog's own accept checks the name
    });
    const std::optional<std::string> chosen = ui.ChooseFileToSave();
    QCOMPARE(filters, QStringList{QStringLiteral("Korvel file (*.kvl)")});
    QVERIFY(!asksBeforeReplacing);
    QVERIFY(chosen.has_value());
    QCOMPARE(QString::fromStdString(*chosen), directory.filePath(QStringLiteral("argument.kvl")));

    WhenOpen<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QVERIFY(!ui.ChooseFileToOpen().has_value());
  }

  // Every error box begins with a capital, whichever layer wrote the message;
  // a message that begins with a file name keeps it as it is.
  void errorBoxesBeginWithACapital() {
    TQtDocumentUi ui(nullptr);
    for (const auto& [message, shown] :
         {std::pair{"cannot write /a/b.kvl: No space left on device", "Cannot write /a/b.kvl: No space left on device"},
          std::pair{"Cannot open x.kvl: there is no such file.", "Cannot open x.kvl: there is no such file."},
          std::pair{"notes.kvl holds no Korvel theory", "notes.kvl holds no Korvel theory"}}) {
      QString text;
      WhenOpen<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        box->accept();
      });
      ui.ShowFileError(message);
      QCOMPARE(text, QString::fromUtf8(shown));
    }
  }

  // The file dialogs leave no QtProject.conf in the user's configuration.
  void dialogsStoreNoSettings() {
    const QString stored = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/QtProject.conf");
    QVERIFY(!qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty());
    QFile::remove(stored);
    KeepDialogsFromStoringSettings();
    TQtDocumentUi ui(nullptr);
    WhenOpen<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QVERIFY(!ui.ChooseFileToOpen().has_value());
    QVERIFY(!QFile::exists(stored));
  }

  void openDialogAlsoOffersArgumentationFrameworks() {
    QTemporaryDir directory;
    const QString framework = directory.filePath(QStringLiteral("debate.apx"));
    QFile file(framework);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("arg(a).\n");
    file.close();
    TQtDocumentUi ui(nullptr);
    QStringList filters;
    WhenOpen<QFileDialog>([&](QFileDialog* dialog) {
      filters = dialog->nameFilters();
      dialog->setDirectory(directory.path());
      dialog->selectFile(QStringLiteral("debate.apx"));
      static_cast<QDialog*>(dialog)->accept();
    });
    const std::optional<std::string> chosen = ui.ChooseFileToOpen();
    QCOMPARE(filters, (QStringList{QStringLiteral("Korvel file (*.kvl)"),
                                   QStringLiteral("Argumentation framework (*.af *.i23 *.apx *.tgf)"),
                                   QStringLiteral("All files (*)")}));
    QVERIFY(chosen.has_value());
    QCOMPARE(QString::fromStdString(*chosen), framework);  // no ".kvl" added
  }
};

QTEST_MAIN(QtDocumentUiTest)
#include "qt_document_ui_test.moc"
