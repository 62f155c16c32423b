// The real main window, complete with its features as the program makes it,
// in a temporary working directory (where "~tmp.kvl" lands) with a log of
// its own and scripted dialogs; helpers that click, type and read as a user
// would. Its pieces (the folder, the setup, finding parts, reading and
// writing files) also serve the tests of the main window without features.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/application_windows.h"
#include "diagram_qt/diagram_surface.h"
#include "tests/document/scripted_document_ui.h"
#include "window/main_form.h"
#include "window_editing/main_form_editing.h"
#include "window_explanation/main_form_explanation.h"

// The bytes of the file at `path`; none when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A fresh temporary folder, the working directory while it lives.
class TWorkFolder {
 public:
  TWorkFolder() : previous_(QDir::currentPath()) {
    if (!folder_.isValid()) qFatal("no temporary folder");
    QDir::setCurrent(folder_.path());
  }
  ~TWorkFolder() { QDir::setCurrent(previous_); }
  TWorkFolder(const TWorkFolder&) = delete;
  TWorkFolder& operator=(const TWorkFolder&) = delete;

  QString Path(const QString& name) const { return folder_.filePath(name); }
  // Writes `bytes` to the file `name` here and returns its path.
  QString WriteFile(const QString& name, const QByteArray& bytes) const {
    QFile file(Path(name));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(name));
    file.write(bytes);
    return file.fileName();
  }
  // Writes `theory` as a Korvel file `name` here and returns its path.
  std::string WriteTheoryFile(const QString& name, TKorvelTheory theory) const {
    TKorvelFile file;
    WriteTheory(theory, file);
    const std::string path = Path(name).toStdString();
    file.SaveToFile(path);
    return path;
  }

 private:
  QTemporaryDir folder_;
  QString previous_;
};

// The setup of a main window that logs into the folder's "log", falls back
// to its "fallback", asks `ui` instead of showing dialogs and logs `time`.
inline TMainFormSetup TestSetup(const TWorkFolder& work, TDocumentUi& ui, const char* time) {
  TMainFormSetup setup;
  setup.LogDirectories = {work.Path(QStringLiteral("log")).toStdString()};
  setup.ScratchFallbackDirectory = work.Path(QStringLiteral("fallback")).toStdString();
  setup.DocumentUi = &ui;
  setup.Clock = [clock = std::string(time)] { return clock; };
  return setup;
}

// The child of `form` with the object name; the test ends when there is none.
template <class T>
T* FindChild(const QObject& form, const char* name) {
  T* found = form.findChild<T*>(QString::fromUtf8(name));
  if (!found) qFatal("no child named %s", name);
  return found;
}

// The text of status panel `index` of the main window.
inline QString PanelText(const QObject& form, int index) {
  return FindChild<QLabel>(form, QStringLiteral("StatusPanel%1").arg(index).toUtf8().constData())->text();
}

// The buttons of the interpretation bar, one for each interpretation.
inline QList<QToolButton*> InterpretationButtons(const QObject& form) {
  QList<QToolButton*> buttons;
  for (QToolButton* button : FindChild<QToolBar>(form, "ToolBar2")->findChildren<QToolButton*>())
    if (button->objectName().startsWith(QStringLiteral("InterpretationButton"))) buttons << button;
  return buttons;
}

// File, Open... with `path` chosen in the dialog.
inline void OpenThroughMenu(const QObject& form, TScriptedDocumentUi& ui, const std::string& path) {
  ui.OpenAnswers = {path};
  FindChild<QAction>(form, "Open1")->trigger();
}

class TWindowHarness : public TWorkFolder {
 public:
  // Active: the main window is shown and has the keyboard; Hidden: the
  // windows are built but never shown.
  enum class TShow { Active, Hidden };

  // `adjust` changes the setup before the windows are built.
  explicit TWindowHarness(TShow show = TShow::Active, const std::function<void(TMainFormSetup&)>& adjust = {}) {
    TMainFormSetup setup = TestSetup(*this, Ui, "10:00:00");
    if (adjust) adjust(setup);
    Windows = CreateApplicationWindows(setup);
    Editing = Windows.Features.Editing;
    Explanation = Windows.Features.Explanation;
    Surface = Find<TDiagramSurface>("DiagramSurface");
    Box = Find<QComboBox>("ComboBox1");
    if (show == TShow::Hidden) return;
    Form->show();
    Form->activateWindow();
    if (!QTest::qWaitForWindowActive(Form.get())) qFatal("the main window does not become active");
  }
  ~TWindowHarness() { Form.reset(); }

  template <class T>
  T* Find(const char* name) const {
    return FindChild<T>(*Form, name);
  }
  QString Panel(int index) const { return PanelText(*Form, index); }
  void Open(const std::string& path) { OpenThroughMenu(*Form, Ui, path); }

  // The frame element of the n-th box that shows the text; -1 when none.
  int FrameOf(const std::string& text, int nth = 0) const {
    const TDrawContext& context = Surface->Context();
    const auto& elements = context.Drawing.Elements;
    for (size_t i = 0; i < elements.size(); ++i) {
      const TDiagramElement& element = elements[i];
      if (element.Kind != TElementKind::Frame || element.Tag < 0) continue;
      if (context.DrawnSentences[static_cast<size_t>(element.Tag)]->Text == text && nth-- == 0)
        return static_cast<int>(i);
    }
    return -1;
  }
  QPoint Centre(int element) const {
    const TBounds& b = Surface->Drawing().Elements.at(static_cast<size_t>(element)).Bounds;
    return {b.Left + b.Width / 2, b.Top + b.Height / 2};
  }
  // The centre of the first box that shows the text.
  QPoint BoxCentre(const std::string& text) const {
    const int frame = FrameOf(text);
    if (frame < 0) qFatal("no box shows %s", text.c_str());
    return Centre(frame);
  }
  void ClickBox(const std::string& text, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Surface, button, {}, BoxCentre(text));
  }
  void ClickElement(int element) { QTest::mouseClick(Surface, Qt::LeftButton, {}, Centre(element)); }
  void TypeAndPress(const QString& text, Qt::Key key) {
    QLineEdit* line = Box->lineEdit();
    line->clear();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, key);
  }
  void AddStatement(const QString& text) {
    Find<QToolButton>("StatementToolButton")->click();
    TypeAndPress(text, Qt::Key_Return);
  }

  std::vector<std::string> Assumptions() const { return Texts(Form->Document().Theory().Assumptions); }
  std::vector<std::string> Issues() const { return Texts(Form->Document().Theory().Issues); }
  QByteArray Scratch() const { return ReadFile(QString::fromStdString(Form->Document().ScratchFileName())); }
  size_t LogSize() const { return Form->Log().LogLines().size(); }
  // The messages logged since `mark`, time stamps removed.
  std::vector<std::string> LogSince(size_t mark) const {
    std::vector<std::string> messages;
    const auto& lines = Form->Log().LogLines();
    for (size_t i = mark; i < lines.size(); ++i) {
      const size_t at = lines[i].find("]  ");
      messages.push_back(at == std::string::npos ? lines[i] : lines[i].substr(at + 3));
    }
    return messages;
  }

  TScriptedDocumentUi Ui;
  TApplicationWindows Windows;
  std::unique_ptr<TMainForm>& Form = Windows.MainForm;
  TMainFormEditing* Editing = nullptr;
  TMainFormExplanation* Explanation = nullptr;
  TDiagramSurface* Surface = nullptr;
  QComboBox* Box = nullptr;

 private:
  static std::vector<std::string> Texts(const TListOfKorvelSentences& list) {
    std::vector<std::string> texts;
    for (const SentencePtr& sentence : list) texts.push_back(sentence->Text);
    return texts;
  }
};
