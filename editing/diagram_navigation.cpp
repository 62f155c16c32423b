#include "editing/diagram_navigation.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<int> FramesInReadingOrder(const TDiagramDrawing& drawing) {
  std::vector<int> frames;
  const auto& elements = drawing.Elements;
  for (size_t i = 0; i < elements.size(); ++i)
    if (elements[i].Kind == TElementKind::Frame) frames.push_back(static_cast<int>(i));
  std::stable_sort(frames.begin(), frames.end(), [&](int a, int b) {
    const TDiagramElement& x = elements[static_cast<size_t>(a)];
    const TDiagramElement& y = elements[static_cast<size_t>(b)];
    return x.Row != y.Row ? x.Row < y.Row : x.Column < y.Column;
  });
  return frames;
}

}  // namespace

int NavigateBoxes(const TDiagramDrawing& drawing, int current, TNavigation direction) {
  const std::vector<int> frames = FramesInReadingOrder(drawing);
  if (frames.empty()) return -1;
  const auto at = std::find(frames.begin(), frames.end(), current);
  if (at == frames.end()) return frames.front();
  const size_t position = static_cast<size_t>(at - frames.begin());
  const auto column = [&](int frame) { return drawing.Elements[static_cast<size_t>(frame)].Column; };
  switch (direction) {
    case TNavigation::Previous:
      return position > 0 ? frames[position - 1] : -1;
    case TNavigation::Next:
      return position + 1 < frames.size() ? frames[position + 1] : -1;
    case TNavigation::Parent:
      for (size_t i = position; i-- > 0;)
        if (column(frames[i]) < column(current)) return frames[i];
      return -1;
    case TNavigation::Child:
      if (position + 1 < frames.size() && column(frames[position + 1]) > column(current)) return frames[position + 1];
      return -1;
  }
  return -1;
}

int SelectedFrame(const TDiagramDrawing& drawing, int tag, int row) {
  if (tag < 0) return -1;
  int first = -1;
  const auto& elements = drawing.Elements;
  for (size_t i = 0; i < elements.size(); ++i) {
    if (elements[i].Kind != TElementKind::Frame || elements[i].Tag != tag) continue;
    if (elements[i].Row == row) return static_cast<int>(i);
    if (first < 0) first = static_cast<int>(i);
  }
  return first;
}
