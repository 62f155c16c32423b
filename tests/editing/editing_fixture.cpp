#include "tests/editing/editing_fixture.h"

#include <fstream>
#include <iterator>
#include <random>

#include "logic/parser.h"

const std::string P(kPlaceholderText);

std::string TheoryText(const std::vector<std::string>& assumptions, const std::vector<std::string>& issues) {
  TKorvelTheory theory;
  for (const std::string& text : assumptions) {
    SentencePtr sentence = ParseSentence(text);
    sentence->IsAssumption = true;
    theory.Assumptions.push_back(sentence);
  }
  for (const std::string& text : issues) {
    SentencePtr sentence = ParseSentence(text);
    sentence->IsIssue = true;
    theory.Issues.push_back(sentence);
  }
  TKorvelFile file;
  WriteTheory(theory, file);
  return file.Text;
}

namespace {
constexpr const char* kTime = "[12:00:00]  ";
}

TEditingTest::TEditingTest() : log([] { return std::string("12:00:00"); }) {
  std::random_device random;
  directory_ = std::filesystem::temp_directory_path() /
               ("pelmora-editing-" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(directory_ / "log");
  previousDirectory_ = std::filesystem::current_path();
  std::filesystem::current_path(directory_);

  document.Layout = [this](TKorvelTheory& theory, const TListOfKorvelSentences& sentences) {
    diagram.Theory = &theory;
    DrawArguments(diagram, sentences);
  };
  document.AddListener(refreshed_);
  editor.SetScrollBoxGeometry(0, 600);
  document.New();
  log.Open({(directory_ / "log").string()});
  editor.UpdateCommandAvailability();
  ForgetLog();
}

TEditingTest::~TEditingTest() {
  std::error_code ec;
  std::filesystem::current_path(previousDirectory_, ec);
  std::filesystem::remove_all(directory_, ec);
}

void TEditingTest::Load(const std::vector<std::string>& assumptions, const std::vector<std::string>& issues) {
  TKorvelFile file;
  file.LoadFromText(TheoryText(assumptions, issues));
  document.CommitFileText(file);
  document.CommitTheory();
  selection.Clear();
  editor.UpdateCommandAvailability();
  ForgetLog();
}

int TEditingTest::FrameOf(const std::string& text, int nth) const {
  const auto& elements = diagram.Drawing.Elements;
  for (size_t i = 0; i < elements.size(); ++i)
    if (elements[i].Kind == TElementKind::Frame && DrawnText(elements[i].Tag) == text && nth-- == 0)
      return static_cast<int>(i);
  ADD_FAILURE() << "no box shows " << text;
  return -1;
}

int TEditingTest::HitStripOf(const std::string& text) const {
  const auto& elements = diagram.Drawing.Elements;
  for (size_t i = 0; i < elements.size(); ++i)
    if (elements[i].Kind == TElementKind::HitStrip && DrawnText(elements[i].Tag) == text)
      return static_cast<int>(i);
  ADD_FAILURE() << "no link of " << text;
  return -1;
}

void TEditingTest::ClickElement(int element) {
  const TBounds& bounds = diagram.Drawing.Elements.at(static_cast<size_t>(element)).Bounds;
  editor.ScrollBox1MouseDown(element, {bounds.Left + bounds.Width / 2, bounds.Top + bounds.Height / 2});
}

void TEditingTest::Click(const std::string& text, int nth) { ClickElement(FrameOf(text, nth)); }

void TEditingTest::ClickSurface(int x, int y) { editor.ScrollBox1MouseDown(std::nullopt, {x, y}); }

void TEditingTest::DoubleClick(const std::string& text) {
  const int element = FrameOf(text);
  ClickElement(element);
  editor.ScrollBox1DblClick(element);
}

std::vector<std::string> TEditingTest::Assumptions() const {
  std::vector<std::string> texts;
  for (const SentencePtr& sentence : document.Theory().Assumptions) texts.push_back(sentence->Text);
  return texts;
}

std::vector<std::string> TEditingTest::Issues() const {
  std::vector<std::string> texts;
  for (const SentencePtr& sentence : document.Theory().Issues) texts.push_back(sentence->Text);
  return texts;
}

std::vector<std::string> TEditingTest::NewLog() const {
  std::vector<std::string> messages;
  const auto& lines = log.LogLines();
  for (size_t i = logMark_; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    messages.push_back(line.rfind(kTime, 0) == 0 ? line.substr(std::string(kTime).size()) : line);
  }
  return messages;
}

std::string TEditingTest::ScratchBytes() const {
  std::ifstream in(kScratchFileName, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string TEditingTest::DrawnText(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= diagram.DrawnSentences.size()) return "-";
  return diagram.DrawnSentences[static_cast<size_t>(index)]->Text;
}

int TEditingTest::RowOf(const std::string& text) const {
  const int element = FrameOf(text);
  return element < 0 ? -1 : diagram.Drawing.Elements[static_cast<size_t>(element)].Row;
}
