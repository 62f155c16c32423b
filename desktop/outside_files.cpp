#include "desktop/outside_files.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLockFile>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "window/main_form.h"

namespace fs = std::filesystem;

std::optional<std::string> OutsideFileFault(const std::string& path) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return "Cannot open " + path + ": there is no such file.";
  if (fs::is_directory(path, ec)) return "Cannot open " + path + ": it is a directory, not a theory file.";
  std::ifstream in(path, std::ios::binary);
  if (!in) return "Cannot open " + path + ": the file cannot be read.";
  // A theory file is text; a NUL among its first bytes marks binary data.
  char head[4096];
  in.read(head, sizeof head);
  const std::string_view read(head, static_cast<size_t>(in.gcount()));
  if (read.find('\0') != std::string_view::npos)
    return "Cannot open " + path + ": it holds binary data, not a theory file.";
  return std::nullopt;
}

namespace {

void DescribeOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral("An argument assistant based on Korvel."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A theory file (.kvl) to open."),
                               QStringLiteral("[FILE]"));
}

std::optional<QString> FileArgument(const QCommandLineParser& parser, QString* error) {
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    if (error) *error = QStringLiteral("Only one FILE can be opened.");
    return std::nullopt;
  }
  if (files.isEmpty()) return std::nullopt;
  return files.front();
}

}  // namespace

std::optional<QString> ParseCommandLine(const QCoreApplication& application) {
  QCommandLineParser parser;
  DescribeOptions(parser);
  parser.process(application);
  QString error;
  std::optional<QString> file = FileArgument(parser, &error);
  if (!error.isEmpty()) {
    fputs(qPrintable(error + QLatin1Char('\n')), stderr);
    parser.showHelp(2);
  }
  return file;
}

bool AsksOnlyForHelpOrVersion(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument(argv[i]);
    if (argument == "--") return false;  // FILE follows, however it is spelt
    for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
      if (argument == option) return true;
  }
  return false;
}

std::optional<std::string> FileToReadAhead(int argc, const char* const* argv) {
  std::optional<std::string> named;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument(argv[i]);
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
      continue;
    }
    // An option may be refused by the parser, which then ends the program:
    // nothing is read ahead of a command line with any.
    if (!optionsEnded && argument.size() > 1 && argument.front() == '-') return std::nullopt;
    if (named) return std::nullopt;  // more than one: the parser refuses them
    named = std::string(argument);
  }
  std::error_code ec;
  if (!named || !fs::is_regular_file(*named, ec)) return std::nullopt;
  return named;
}

std::optional<QString> CommandLineFile(const QStringList& arguments, QString* error) {
  QCommandLineParser parser;
  DescribeOptions(parser);
  if (!parser.parse(arguments)) {
    if (error) *error = parser.errorText();
    return std::nullopt;
  }
  return FileArgument(parser, error);
}

bool OpenFileFromOutside(TMainForm& form, const QString& path) {
  const std::string fullPath = QFileInfo(path).absoluteFilePath().toStdString();
  if (std::optional<std::string> fault = OutsideFileFault(fullPath)) {
    form.Document().ReportFileError(*fault);
    return false;
  }
  return form.OpenFile(fullPath);
}

namespace {

// The first local .kvl file among the dropped items; empty when none.
QString DroppedTheoryFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".kvl"), Qt::CaseInsensitive))
      return url.toLocalFile();
  return {};
}

class TDropFilter : public QObject {
 public:
  explicit TDropFilter(TMainForm& form) : QObject(&form), form_(form) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &form_) return false;
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (DroppedTheoryFile(drag->mimeData()).isEmpty()) return false;
      drag->acceptProposedAction();
      return true;
    }
    if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      const QString file = DroppedTheoryFile(drop->mimeData());
      if (file.isEmpty()) return false;
      drop->acceptProposedAction();
      OpenFileFromOutside(form_, file);
      return true;
    }
    return false;
  }

 private:
  TMainForm& form_;
};

}  // namespace

QObject* AcceptDroppedTheoryFiles(TMainForm& form) {
  auto* filter = new TDropFilter(form);
  form.setAcceptDrops(true);
  form.installEventFilter(filter);
  return filter;
}

TScratchFileLock::TScratchFileLock(const QString& lockDirectory, const QString& ownDirectory) {
  // One lock per working directory, named by its absolute path.
  const QByteArray key =
      QCryptographicHash::hash(QDir::currentPath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  const QString base = QDir(lockDirectory).filePath(QStringLiteral("pelmora-") + QString::fromLatin1(key));
  QDir().mkpath(lockDirectory);
  for (int instance = 1; instance < 100; ++instance) {
    const QString name = instance == 1 ? base + QStringLiteral(".lock") : base + QStringLiteral("-%1.lock").arg(instance);
    auto lock = std::make_unique<QLockFile>(name);
    lock->setStaleLockTime(0);  // a lock is stale only when its program has ended
    if (!lock->tryLock(0)) continue;
    lock_ = std::move(lock);
    if (instance > 1) {
      QDir().mkpath(ownDirectory);
      scratchFileName_ = QDir(ownDirectory).filePath(QStringLiteral("~tmp-%1.kvl").arg(instance)).toStdString();
    }
    return;
  }
  // No lock at all could be taken (an unwritable lock directory): the
  // working directory's file, as before.
}

TScratchFileLock::~TScratchFileLock() = default;
