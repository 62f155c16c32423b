// korvel render: usage and file errors with their exit codes, the same
// picture as the window's surface, interpretations, searchable text in SVG
// and PDF, and the korvel program itself running without a display.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <sstream>

#include "cli_qt/command_render.h"
#include "diagram_qt/diagram_scroll_box.h"
#include "refresh/refresh_core.h"

namespace {

const QString kBirds = QStringLiteral(PELMORA_TEST_DATA_DIR "/birds.kvl");

struct TRun {
  int Code = 0;
  std::string Err;
};

TRun Korvel(const QStringList& arguments) {
  std::vector<std::string> list{"render"};
  for (const QString& argument : arguments) list.push_back(argument.toStdString());
  std::ostringstream out, err;
  TRun run;
  run.Code = RunKorvel(list, out, err);
  run.Err = err.str();
  return run;
}

// Two assumptions attacking each other: two interpretations.
QString WriteTwoInterpretations(const QTemporaryDir& directory) {
  const QString path = directory.filePath(QStringLiteral("two.kvl"));
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write("<KORVEL><THEORY>"
             "<SENTENCE><ELEMENTARYSENTENCE>a</ELEMENTARYSENTENCE></SENTENCE>"
             "<SENTENCE><ELEMENTARYSENTENCE>b</ELEMENTARYSENTENCE></SENTENCE>"
             "<SENTENCE><ELEMENTARYSENTENCE>if(a, x(b))</ELEMENTARYSENTENCE></SENTENCE>"
             "<SENTENCE><ELEMENTARYSENTENCE>if(b, x(a))</ELEMENTARYSENTENCE></SENTENCE>"
             "</THEORY><ISSUES></ISSUES></KORVEL>");
  return path;
}

QString ToolOutput(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  process.waitForFinished(20000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class TRenderCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { RegisterRenderCommand(); }

  void usageAndFileErrorsGiveTheirExitCodes() {
    QTemporaryDir directory;
    const QString png = directory.filePath(QStringLiteral("out.png"));
    struct TCase {
      QStringList Arguments;
      int Code;
    };
    const std::vector<TCase> cases = {
        {{kBirds}, 2},                                           // no output
        {{kBirds, "-o"}, 2},                                     // output without a name
        {{kBirds, "-o", directory.filePath("out.txt")}, 2},      // unknown extension
        {{kBirds, "-o", directory.filePath("out")}, 2},          // no extension
        {{kBirds, kBirds, "-o", png}, 2},                        // two files
        {{"-o", png}, 2},                                        // no file
        {{kBirds, "-o", png, "--scale", "0"}, 2},
        {{kBirds, "-o", png, "--scale", "two"}, 2},
        {{kBirds, "-o", png, "--scale", "100"}, 2},
        {{kBirds, "-o", png, "--interpretation", "0"}, 2},
        {{kBirds, "-o", png, "--interpretation", "1x"}, 2},
        {{kBirds, "-o", png, "--interpretation", "2"}, 2},       // birds has one
        {{kBirds, "-o", png, "--colour"}, 2},                    // unknown option
        {{directory.filePath("missing.kvl"), "-o", png}, 1},
        {{kBirds, "-o", directory.filePath("missing/out.png")}, 1},
        {{kBirds, "-o", directory.filePath("missing/out.svg")}, 1},
        {{kBirds, "-o", directory.filePath("missing/out.pdf")}, 1},
    };
    for (const TCase& c : cases) {
      const TRun run = Korvel(c.Arguments);
      QVERIFY2(run.Code == c.Code, qPrintable(c.Arguments.join(' ') + " gave " + QString::number(run.Code)));
      QVERIFY(!run.Err.empty());
    }
    QVERIFY(!QFile::exists(png));
  }

  // The PNG at scale 1 is pixel for pixel what the window's surface shows.
  void pngIsTheWindowsPicture() {
    QTemporaryDir directory;
    const QString png = directory.filePath(QStringLiteral("birds.png"));
    QCOMPARE(Korvel({kBirds, "-o", png}).Code, 0);

    TKorvelFile file;
    file.LoadFromFile(kBirds.toStdString());
    TDiagramScrollBox box;
    TDiagramSurface* surface = box.Surface();
    Refresh({file, {}, [&](TKorvelTheory& theory, const TListOfKorvelSentences& all) {
      surface->Context().Theory = &theory;
      surface->DrawArguments(all);
      surface->Context().Theory = nullptr;
    }});
    const QRect area = surface->DrawingArea();
    surface->resize(area.size());
    const QImage shown = surface->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage rendered = QImage(png).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(rendered.size(), area.size());
    QVERIFY(rendered == shown);

    const QString twice = directory.filePath(QStringLiteral("twice.png"));
    QCOMPARE(Korvel({kBirds, "-o", twice, "--scale", "2"}).Code, 0);
    QCOMPARE(QImage(twice).size(), area.size() * 2);
  }

  void interpretationChoosesTheColours() {
    QTemporaryDir directory;
    const QString theory = WriteTwoInterpretations(directory);
    const QString first = directory.filePath(QStringLiteral("1.png")), second = directory.filePath(QStringLiteral("2.png"));
    QCOMPARE(Korvel({theory, "-o", first}).Code, 0);
    QCOMPARE(Korvel({theory, "--interpretation", "2", "-o", second}).Code, 0);
    QCOMPARE(Korvel({theory, "--interpretation", "3", "-o", second}).Code, 2);
    const QImage one(first), two(second);
    QCOMPARE(one.size(), two.size());
    QVERIFY(one != two);
    const QString structure = directory.filePath(QStringLiteral("s.png"));
    QCOMPARE(Korvel({theory, "--structure-only", "-o", structure}).Code, 0);
    QVERIFY(QImage(structure).size().width() < one.size().width());  // no icons
  }

  void vectorOutputKeepsTheTexts() {
    QTemporaryDir directory;
    const QString svg = directory.filePath(QStringLiteral("birds.svg"));
    const QString pdf = directory.filePath(QStringLiteral("birds.PDF"));
    QCOMPARE(Korvel({kBirds, "-o", svg}).Code, 0);
    QCOMPARE(Korvel({kBirds, "-o", pdf}).Code, 0);
    QFile svgFile(svg);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    const QByteArray svgText = svgFile.readAll();
    for (const char* text : {">&lt;x&gt; flies</text>", ">&lt;x&gt; is a bird</text>", ">Pip is a bird</text>"})
      QVERIFY2(svgText.contains(text), text);
    QFile pdfFile(pdf);
    QVERIFY(pdfFile.open(QIODevice::ReadOnly));
    QVERIFY(pdfFile.read(5) == "%PDF-");
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) QSKIP("pdftotext is not installed");
    const QString text = ToolOutput(pdftotext, {pdf, QStringLiteral("-")});
    for (const char* line : {"<x> flies", "<x> is a bird", "Pip is a bird"}) QVERIFY2(text.contains(line), line);
  }

  // The program itself, with no display and no platform chosen.
  void korvelRendersWithoutADisplay() {
    QTemporaryDir directory;
    const QString svg = directory.filePath(QStringLiteral("birds.svg"));
    QProcess korvel;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    korvel.setProcessEnvironment(environment);
    korvel.start(QStringLiteral(KORVEL_PROGRAM), {QStringLiteral("render"), kBirds, QStringLiteral("-o"), svg});
    QVERIFY(korvel.waitForFinished(30000));
    QCOMPARE(korvel.exitCode(), 0);
    QVERIFY(korvel.readAllStandardError().isEmpty());
    QVERIFY(QFileInfo(svg).size() > 0);
  }
};

QTEST_MAIN(TRenderCommandTest)
#include "render_command_test.moc"
