#include "editing/diagram_find.h"

#include <algorithm>

#include "diagram/draw_context.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContainsIgnoringCase(std::string_view text, std::string_view query) {
  return std::search(text.begin(), text.end(), query.begin(), query.end(),
                     [](char a, char b) { return Lower(a) == Lower(b); }) != text.end();
}

// Reading order: row, column, then the order of drawing.
bool ReadsBefore(const TDiagramDrawing& drawing, int a, int b) {
  const TDiagramElement& x = drawing.Elements[static_cast<size_t>(a)];
  const TDiagramElement& y = drawing.Elements[static_cast<size_t>(b)];
  if (x.Row != y.Row) return x.Row < y.Row;
  if (x.Column != y.Column) return x.Column < y.Column;
  return a < b;
}

}  // namespace

std::vector<int> FindBoxes(const TDiagramDrawing& drawing, const TListOfKorvelSentences& drawnSentences,
                           std::string_view query) {
  std::vector<int> matches;
  if (query.empty()) return matches;
  // A sentence drawn in many boxes is looked at once.
  std::vector<signed char> known(drawnSentences.size(), -1);
  for (size_t i = 0; i < drawing.Elements.size(); ++i) {
    const TDiagramElement& element = drawing.Elements[i];
    if (element.Kind != TElementKind::Frame || element.Tag < 0) continue;
    const size_t tag = static_cast<size_t>(element.Tag);
    if (tag >= drawnSentences.size() || !drawnSentences[tag]) continue;
    if (known[tag] < 0) {
      const std::string& text = drawnSentences[tag]->Text;
      known[tag] = text != kPlaceholderText && ContainsIgnoringCase(text, query) ? 1 : 0;
    }
    if (known[tag] == 1) matches.push_back(static_cast<int>(i));
  }
  std::stable_sort(matches.begin(), matches.end(), [&](int a, int b) { return ReadsBefore(drawing, a, b); });
  return matches;
}

int NextMatch(const TDiagramDrawing& drawing, const std::vector<int>& matches, int current, bool backwards) {
  if (matches.empty()) return -1;
  const int count = static_cast<int>(matches.size());
  const bool isFrame = current >= 0 && static_cast<size_t>(current) < drawing.Elements.size() &&
                       drawing.Elements[static_cast<size_t>(current)].Kind == TElementKind::Frame;
  if (!isFrame) return backwards ? count - 1 : 0;
  // The first match that reads after the current box (or the current box itself).
  const auto at = std::lower_bound(matches.begin(), matches.end(), current,
                                   [&](int match, int frame) { return ReadsBefore(drawing, match, frame); });
  const int position = static_cast<int>(at - matches.begin());
  if (backwards) return (position - 1 + count) % count;
  const bool onMatch = at != matches.end() && *at == current;
  return (position + (onMatch ? 1 : 0)) % count;
}
