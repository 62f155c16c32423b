// Files from outside the window: the command line, files dropped on the
// main window, and the scratch file of a second running instance.
#include <QApplication>
#include <QMimeData>
#include <QUrl>
#include <fstream>

#include "desktop/outside_files.h"
#include "refresh/theory_read_ahead.h"
#include "tests/desktop/window_harness.h"
#include "window/report_view.h"

namespace {

const std::string kExample = PELMORA_TEST_DATA_DIR "/example.kvl";

}  // namespace

class OutsideFilesWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void aFileFromTheCommandLineOpensAsOpenWould() {
    QString error;
    QCOMPARE(CommandLineFile({QStringLiteral("pelmora")}, &error), std::optional<QString>());
    QCOMPARE(CommandLineFile({QStringLiteral("pelmora"), QStringLiteral("x.kvl")}, &error),
             std::optional<QString>(QStringLiteral("x.kvl")));
    QVERIFY(error.isEmpty());
    QVERIFY(!CommandLineFile({QStringLiteral("pelmora"), QStringLiteral("a"), QStringLiteral("b")}, &error));
    QVERIFY(!error.isEmpty());
    error.clear();
    QVERIFY(!CommandLineFile({QStringLiteral("pelmora"), QStringLiteral("--bogus")}, &error));
    QVERIFY(!error.isEmpty());

    TWindowHarness window;
    const size_t mark = window.LogSize();
    QVERIFY(OpenFileFromOutside(*window.Form, QString::fromStdString(kExample)));
    QCOMPARE(window.Form->windowTitle(), QStringLiteral("Pelmora - example.kvl"));
    QCOMPARE(window.LogSince(mark), (std::vector<std::string>{"", "Open file:" + kExample}));
    QVERIFY(window.Find<TReportView>("RichEdit1")->toPlainText().contains(QStringLiteral("<KORVEL>")));
    QCOMPARE(window.Form->Document().CurrentFileName(), kExample);
    const QString report = window.Find<TReportView>("RichEdit1")->toPlainText();

    // Read ahead, as the program does from the bare command line before its
    // windows exist, the file opens the same, from what was read.
    TWindowHarness ahead;
    auto reading = std::make_shared<TTheoryReadAhead>(kExample, TRefreshOptions{});
    ahead.Form->Document().ReadAhead(reading);
    const size_t aheadMark = ahead.LogSize();
    QVERIFY(OpenFileFromOutside(*ahead.Form, QString::fromStdString(kExample)));
    QVERIFY(reading->Taken());
    QCOMPARE(ahead.LogSince(aheadMark), (std::vector<std::string>{"", "Open file:" + kExample}));
    QCOMPARE(ahead.Find<TReportView>("RichEdit1")->toPlainText(), report);
    QCOMPARE(ahead.Form->Document().TheoryFile().Text, window.Form->Document().TheoryFile().Text);
  }

  void theFileToReadAheadIsTheOneFileNamed() {
    TWindowHarness window;
    // The harness works in its own folder: a name there can begin with a dash.
    const std::string dashed = "-dashed.kvl";
    const std::string framework = window.Path("attacks.apx").toStdString();
    for (const std::string& path : {dashed, framework}) std::ofstream(path) << "<KORVEL>\n</KORVEL>\n";
    const std::string missing = window.Path("missing.kvl").toStdString();
    const std::string folder = window.Path(".").toStdString();
    const std::vector<std::pair<std::vector<std::string>, std::optional<std::string>>> cases = {
        {{"pelmora"}, std::nullopt},
        {{"pelmora", kExample}, kExample},
        {{"pelmora", "-style", "x", kExample}, std::nullopt},  // options, whatever they are
        {{"pelmora", "--", dashed}, dashed},
        {{"pelmora", dashed}, std::nullopt},
        {{"pelmora", kExample, kExample}, std::nullopt},
        {{"pelmora", framework}, framework},
        {{"pelmora", missing}, std::nullopt},
        {{"pelmora", folder}, std::nullopt},
    };
    for (const auto& [arguments, expected] : cases) {
      std::vector<const char*> argv;
      for (const std::string& argument : arguments) argv.push_back(argument.c_str());
      QVERIFY2(FileToReadAhead(static_cast<int>(argv.size()), argv.data()) == expected, arguments.back().c_str());
    }
  }

  void aFileThatIsNoTheoryGivesAClearMessage() {
    TWindowHarness window;
    window.WriteFile("picture.kvl", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    QDir().mkpath(window.Path("folder.kvl"));
    const std::pair<QString, const char*> cases[] = {
        {window.Path("folder.kvl"), "directory"},
        {window.Path("picture.kvl"), "binary"},
        {window.Path("missing.kvl"), "no such file"},
    };
    for (const auto& [path, words] : cases) {
      window.Ui.Errors.clear();
      const size_t mark = window.LogSize();
      QVERIFY(!OpenFileFromOutside(*window.Form, path));
      QCOMPARE(window.Ui.Errors.size(), size_t{1});
      QVERIFY2(window.Ui.Errors[0].find(words) != std::string::npos, window.Ui.Errors[0].c_str());
      QCOMPARE(window.LogSize(), mark);
      QCOMPARE(window.Form->windowTitle(), QStringLiteral("Pelmora - an argument assistant based on Korvel"));
      QVERIFY(window.Form->Document().CurrentFileName().empty());
    }
  }

  void aDroppedTheoryFileOpensAfterTheSaveQuestion() {
    TWindowHarness window;  // the complete window takes dropped files
    window.AddStatement(QStringLiteral("unsaved"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(kExample))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.Form.get(), &enter);
    QVERIFY(enter.isAccepted());
    window.Ui.Answers = {TDocumentUi::TAnswer::Cancel, TDocumentUi::TAnswer::No};
    QDropEvent cancelled(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.Form.get(), &cancelled);
    QCOMPARE(window.Ui.Questions.size(), size_t{1});
    QVERIFY(window.Form->Document().CurrentFileName().empty());
    // Every drag starts with its enter.
    QDragEnterEvent enterAgain(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.Form.get(), &enterAgain);
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.Form.get(), &drop);
    QCOMPARE(window.Ui.Questions.size(), size_t{2});
    QCOMPARE(window.Form->Document().CurrentFileName(), kExample);
    QCOMPARE(window.Form->windowTitle(), QStringLiteral("Pelmora - example.kvl"));
    // Other files are not taken.
    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(window.Path("notes.txt"))});
    QDragEnterEvent other(QPoint(100, 100), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    other.ignore();
    QApplication::sendEvent(window.Form.get(), &other);
    QVERIFY(!other.isAccepted());
  }

  void aSecondInstanceGetsAScratchFileOfItsOwn() {
    QTemporaryDir locks;
    QTemporaryDir own;
    auto first = std::make_unique<TScratchFileLock>(locks.path(), own.path());
    QVERIFY(first->ScratchFileName().empty());  // the working directory's "~tmp.kvl"
    TScratchFileLock second(locks.path(), own.path());
    QVERIFY(!second.ScratchFileName().empty());
    QVERIFY(QString::fromStdString(second.ScratchFileName()).startsWith(own.path()));
    TScratchFileLock third(locks.path(), own.path());
    QVERIFY(third.ScratchFileName() != second.ScratchFileName());
    first.reset();
    TScratchFileLock again(locks.path(), own.path());
    QVERIFY(again.ScratchFileName().empty());

    // The window of the second instance writes its own file only.
    TWindowHarness window;
    TMainFormSetup setup;
    setup.LogDirectories = {window.Path("log").toStdString()};
    setup.DocumentUi = &window.Ui;
    setup.ScratchFileName = second.ScratchFileName();
    QFile::remove(window.Path("~tmp.kvl"));
    TMainForm secondForm(setup);
    QVERIFY(QFile::exists(QString::fromStdString(second.ScratchFileName())));
    QVERIFY(!QFile::exists(window.Path("~tmp.kvl")));
    // It says what it is, and does not open exactly over the first window.
    QCOMPARE(secondForm.windowTitle(),
             QStringLiteral("Pelmora - an argument assistant based on Korvel (second instance, with its own scratch file)"));
    QVERIFY(secondForm.pos() != window.Form->pos());
    QVERIFY(!window.Form->windowTitle().contains(QStringLiteral("second instance")));
  }
};

QTEST_MAIN(OutsideFilesWindowTest)
#include "outside_files_window_test.moc"
