// Theory files that reach the program from outside the window: the file
// named on the command line, files dropped on the main window, and the
// scratch file of a second running instance.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

class QCoreApplication;
class QLockFile;
class TMainForm;

// Why a file named from outside cannot be opened as a theory (a directory,
// a file that cannot be read, binary data); nothing when it can.
std::optional<std::string> OutsideFileFault(const std::string& path);

// The command line "pelmora [FILE]": --help and --version print and end the
// program (as QCommandLineParser does); the result is FILE, if given.
std::optional<QString> ParseCommandLine(const QCoreApplication& application);
// Whether the command line names --help or --version (or their short forms),
// which are answered before the GUI starts.
bool AsksOnlyForHelpOrVersion(int argc, const char* const* argv);
// The theory file the command line seems to name, looked at before the GUI
// starts so that its reading can begin at once: its one argument, when it
// has no option (everything after "--" is none), and that names a regular
// file. Only a guess: the command line is parsed
// afterwards.
std::optional<std::string> FileToReadAhead(int argc, const char* const* argv);
// The same without ending the program: FILE, or nothing; `error` receives
// the parser's complaint about unknown options or surplus arguments.
std::optional<QString> CommandLineFile(const QStringList& arguments, QString* error);

// Opens a file named from outside as File > Open would, after the save
// question; a file that cannot be opened is reported and the document stays
// as it was. Whether it was opened.
bool OpenFileFromOutside(TMainForm& form, const QString& path);

// Lets the main window take dropped .kvl files; the window owns the result.
QObject* AcceptDroppedTheoryFiles(TMainForm& form);

// The working directory's scratch file belongs to one running instance: the
// first takes a lock on it (kept in `lockDirectory`, so nothing new appears
// in the working directory), and a second gets a file of its own in
// `ownDirectory`.
class TScratchFileLock {
 public:
  TScratchFileLock(const QString& lockDirectory, const QString& ownDirectory);
  ~TScratchFileLock();
  // Empty for the working directory's "~tmp.kvl"; otherwise this instance's own file.
  const std::string& ScratchFileName() const { return scratchFileName_; }

 private:
  std::unique_ptr<QLockFile> lock_;
  std::string scratchFileName_;
};
