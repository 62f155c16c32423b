// The real main window, complete with its features as the program makes it,
// in a temporary working directory (where "~tmp.kvl" lands) with a log of
// its own and scripted dialogs; helpers that click, type and read as a user
// would.
#pragma once

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <string>
#include <vector>

#include "desktop/application_windows.h"
#include "diagram_qt/diagram_surface.h"
#include "tests/document/scripted_document_ui.h"
#include "window/main_form.h"
#include "window_editing/main_form_editing.h"
#include "window_explanation/main_form_explanation.h"

class TWindowHarness {
 public:
  TWindowHarness() {
    previousDirectory_ = QDir::currentPath();
    QDir::setCurrent(work_.path());
    QDir(work_.path()).mkpath(QStringLiteral("log"));
    TMainFormSetup setup;
    setup.LogDirectories = {work_.filePath("log").toStdString()};
    setup.ScratchFallbackDirectory = work_.filePath("fallback").toStdString();
    setup.DocumentUi = &Ui;
    setup.Clock = [] { return std::string("10:00:00"); };
    Windows = CreateApplicationWindows(setup);
    Editing = Windows.Features.Editing;
    Explanation = Windows.Features.Explanation;
    Surface = Find<TDiagramSurface>("DiagramSurface");
    Box = Find<QComboBox>("ComboBox1");
    Form->show();
    Form->activateWindow();
    if (!QTest::qWaitForWindowActive(Form.get())) qFatal("the main window does not become active");
  }
  ~TWindowHarness() {
    Form.reset();
    QDir::setCurrent(previousDirectory_);
  }

  template <class T>
  T* Find(const char* name) const {
    T* found = Form->findChild<T*>(QString::fromUtf8(name));
    if (!found) qFatal("no child named %s", name);
    return found;
  }
  QString Path(const char* name) const { return work_.filePath(QString::fromUtf8(name)); }
  QString Panel(int index) const {
    return Find<QLabel>(QStringLiteral("StatusPanel%1").arg(index).toUtf8().constData())->text();
  }

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
  void ClickBox(const std::string& text) {
    const int frame = FrameOf(text);
    if (frame < 0) qFatal("no box shows %s", text.c_str());
    QTest::mouseClick(Surface, Qt::LeftButton, {}, Centre(frame));
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
  QByteArray Scratch() const {
    QFile file(QString::fromStdString(Form->Document().ScratchFileName()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
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
  QTemporaryDir work_;
  QString previousDirectory_;
};
