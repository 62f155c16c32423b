// Finds the elements of a drawing near a point or inside a rectangle without
// looking at all of them: elements are filed in horizontal bands of the
// surface, each element in every band it overlaps.
#pragma once

#include <vector>

#include "diagram/diagram_drawing.h"

class THitIndex {
 public:
  static constexpr int kBandHeight = 32;

  void Build(const TDiagramDrawing& drawing);
  void Clear();

  // The topmost element (the latest created) for which `accepts` holds and
  // whose bounds contain the point; -1 when none.
  template <class Accepts>
  int TopmostAt(const TDiagramDrawing& drawing, int x, int y, Accepts accepts) const {
    const std::vector<int>* band = BandAt(y);
    if (band == nullptr) return -1;
    for (auto it = band->rbegin(); it != band->rend(); ++it) {
      const TDiagramElement& element = drawing.Elements[static_cast<size_t>(*it)];
      if (element.Bounds.Contains(x, y) && accepts(*it)) return *it;
    }
    return -1;
  }

  // The indices of the elements whose bounds meet the rectangle, in creation
  // order, each once.
  std::vector<int> Intersecting(const TDiagramDrawing& drawing, const TBounds& area) const;

 private:
  const std::vector<int>* BandAt(int y) const;
  std::vector<std::vector<int>> bands_;  // element indices, ascending, per band
};
