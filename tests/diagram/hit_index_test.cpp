// Finding the topmost element under a point and the elements in an area.
#include <gtest/gtest.h>

#include "diagram/hit_index.h"

namespace {

TDiagramDrawing Drawing(std::initializer_list<TBounds> bounds) {
  TDiagramDrawing drawing;
  int tag = 0;
  for (const TBounds& b : bounds) {
    TDiagramElement& element = drawing.Elements.emplace_back();
    element.Bounds = b;
    element.Tag = tag++;
  }
  return drawing;
}

}  // namespace

TEST(HitIndex, LaterElementsLieOnTop) {
  TDiagramDrawing drawing = Drawing({{0, 0, 100, 22}, {10, 5, 20, 10}, {15, 0, 5, 200}});
  THitIndex index;
  index.Build(drawing);
  auto any = [](int) { return true; };
  EXPECT_EQ(index.TopmostAt(drawing, 50, 10, any), 0);
  EXPECT_EQ(index.TopmostAt(drawing, 12, 10, any), 1);
  EXPECT_EQ(index.TopmostAt(drawing, 16, 10, any), 2);
  EXPECT_EQ(index.TopmostAt(drawing, 16, 150, any), 2);  // a tall element found far below its top band
  EXPECT_EQ(index.TopmostAt(drawing, 50, 150, any), -1);
  EXPECT_EQ(index.TopmostAt(drawing, 100, 10, any), -1);  // right edge is outside
  EXPECT_EQ(index.TopmostAt(drawing, -1, -1, any), -1);
  // Elements refused by the filter let the point through to those below.
  EXPECT_EQ(index.TopmostAt(drawing, 16, 10, [](int e) { return e != 2; }), 1);
}

TEST(HitIndex, AreaGivesEachMeetingElementOnceInCreationOrder) {
  TDiagramDrawing drawing = Drawing({{0, 0, 10, 100}, {0, 40, 10, 10}, {50, 40, 10, 10}, {0, 300, 10, 10}});
  THitIndex index;
  index.Build(drawing);
  EXPECT_EQ(index.Intersecting(drawing, {0, 30, 20, 40}), (std::vector<int>{0, 1}));
  EXPECT_EQ(index.Intersecting(drawing, {0, 0, 1000, 1000}), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(index.Intersecting(drawing, {0, 120, 1000, 100}).empty());
}
