// Texts of the statement box: what may be typed, what its list offers, and
// the line view of a theory file text that a change of a sentence edits.
#include <algorithm>
#include <array>
#include <cctype>

#include "editing/argument_editor.h"

namespace {

// Every tag the reader of theory files searches for. A text holding one
// would be written unescaped and end the reading of the file there.
constexpr std::array<std::string_view, 18> kFileFormatTags = {
    "<KORVEL>",      "</KORVEL>",      "<THEORY>",              "</THEORY>",
    "<ISSUES>",      "</ISSUES>",      "<SENTENCE>",            "</SENTENCE>",
    "<ELEMENTARYSENTENCE>",            "</ELEMENTARYSENTENCE>", "<DIALECTICALNEGATION>",
    "</DIALECTICALNEGATION>",          "<CONDITIONAL>",         "</CONDITIONAL>",
    "<ANTECEDENT>",  "</ANTECEDENT>",  "<CONSEQUENT>",          "</CONSEQUENT>",
};

char Folded(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const bool foldedLess = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                       [](char x, char y) { return Folded(x) < Folded(y); });
  if (foldedLess) return true;
  const bool foldedGreater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                          [](char x, char y) { return Folded(x) < Folded(y); });
  return !foldedGreater && a < b;  // equal but for case: a fixed order
}

}  // namespace

std::optional<std::string> StatementTextFault(std::string_view text) {
  for (std::string_view tag : kFileFormatTags)
    if (text.find(tag) != std::string_view::npos)
      return "A statement cannot contain " + std::string(tag) + ": it is a tag of the theory file.";
  if (text.find_first_of("\r\n") != std::string_view::npos)
    return std::string("A statement cannot contain a line break.");
  if (text.find('\0') != std::string_view::npos)
    return std::string("A statement cannot contain a NUL character.");
  return std::nullopt;
}

std::vector<std::string> StatementBoxItems(const TListOfKorvelSentences& drawnSentences) {
  std::vector<std::string> items;
  for (const SentencePtr& sentence : drawnSentences)
    if (sentence->Text.find(kPlaceholderText) == std::string::npos) items.push_back(sentence->Text);
  std::stable_sort(items.begin(), items.end(), LessIgnoringCase);
  return items;
}

std::vector<std::string> SplitFileLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string JoinFileLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}
