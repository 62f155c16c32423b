// Finds the elements of a drawing near a point or inside a rectangle without
// looking at all of them. Elements are filed in horizontal bands of the
// surface, on levels of growing band height: each element on the lowest level
// where it meets at most two bands, so a link bar as tall as a whole tree is
// filed twice rather than once per 32 pixels it spans. A point or an area
// then looks at a few bands of each level. Frames and bars are filed by their
// tag too, for the selection's outline. Nothing is drawn above the surface's
// top: what lies wholly above it is not filed, and no point there is hit.
#pragma once

#include <cstddef>
#include <vector>

#include "diagram/diagram_drawing.h"

class THitIndex {
 public:
  static constexpr int kBandHeight = 32;   // the bands of the lowest level
  static constexpr int kLevelFactor = 8;   // each level's bands are this many times higher

  // Built in `parts` passes at once (0: as many as the size makes
  // worthwhile); the index is the same however many.
  void Build(const TDiagramDrawing& drawing, size_t parts = 0);
  void Clear();
  // Whether the index was built for a drawing of as many elements (a
  // drawing laid out again has another count).
  bool Covers(const TDiagramDrawing& drawing) const { return built_ && elements_ == drawing.Elements.size(); }
  // The size of the drawing indexed (TDiagramDrawing::Width and Height).
  int DrawingWidth() const { return width_; }
  int DrawingHeight() const { return height_; }

  // The topmost element (the latest created) for which `accepts` holds and
  // whose bounds contain the point; -1 when none.
  template <class Accepts>
  int TopmostAt(const TDiagramDrawing& drawing, int x, int y, Accepts accepts) const {
    int found = -1;
    if (y < 0) return found;
    for (const TLevel& level : levels_) {
      const size_t band = static_cast<size_t>(y / level.BandHeight);
      if (band + 1 >= level.Start.size()) continue;
      // Each band lists its elements in creation order: the first from the
      // end that contains the point is this level's topmost.
      for (size_t i = level.Start[band + 1]; i-- > level.Start[band];) {
        const int element = level.Elements[i];
        if (element <= found) break;
        if (drawing.Elements[static_cast<size_t>(element)].Bounds.Contains(x, y) && accepts(element)) {
          found = element;
          break;
        }
      }
    }
    return found;
  }

  // The indices of the elements whose bounds meet the rectangle, in creation
  // order, each once.
  std::vector<int> Intersecting(const TDiagramDrawing& drawing, const TBounds& area) const;
  // The elements whose vertical extent meets the rows [top, bottom), however
  // far left or right: the elements an area of these rows may show once
  // marks drawn late have changed their widths. Elements are filed by their
  // vertical extent alone, which marks never change.
  std::vector<int> InRows(const TDiagramDrawing& drawing, int top, int bottom) const {
    constexpr int kFar = 1 << 29;
    return Intersecting(drawing, {-kFar, top, 2 * kFar, bottom - top});
  }
  // What the selection rings for the sentence with this tag: its frames, or
  // where it has none its bars, in creation order; none for a negative tag
  // or one drawn nowhere. Filed by tag, so no pass over the drawing.
  std::vector<int> OutlineOf(const TDiagramDrawing& drawing, int tag) const;
  // The drawing's size measured anew after its widths changed.
  void Remeasured(int width, int height) {
    width_ = width;
    height_ = height;
  }

 private:
  // Band b of a level holds Elements[Start[b]] to Elements[Start[b + 1] - 1].
  struct TLevel {
    int BandHeight = kBandHeight;
    std::vector<size_t> Start;
    std::vector<int> Elements;
  };
  std::vector<TLevel> levels_;
  // The frames and bars of tag t: tagged_[tagStart_[t]] to tagged_[tagStart_[t + 1] - 1].
  std::vector<size_t> tagStart_;
  std::vector<int> tagged_;
  bool built_ = false;
  size_t elements_ = 0;
  int width_ = 0;
  int height_ = 0;
};
