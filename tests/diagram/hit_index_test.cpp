// Finding the topmost element under a point, the elements in an area and
// the outline of a sentence.
#include <gtest/gtest.h>

#include <random>

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

// Random drawings with boxes, bars as tall as thousands of bands, empty and
// off-surface elements: the index answers as a scan of every element on the
// surface does (nothing lies above its top), however many parts it was built
// in at once.
TEST(HitIndex, AnswersAsAScanOfAllElements) {
  std::mt19937 random(25), marking(7);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto mark = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(marking); };
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    TDiagramDrawing drawing;
    const int height = pick(1, 200000);
    for (int i = pick(0, 400); i > 0; --i) {
      TDiagramElement& element = drawing.Elements.emplace_back();
      const int tall = pick(0, 9) == 0 ? pick(0, height) : pick(0, 40);
      element.Bounds = {pick(-5, 300), pick(-50, height), pick(0, 60), tall};
      constexpr TElementKind kKinds[] = {TElementKind::Frame, TElementKind::Bar, TElementKind::Label,
                                         TElementKind::HitStrip};
      element.Kind = kKinds[mark(0, 3)];
      element.Tag = mark(-1, 12);
    }
    for (size_t parts = 1; parts <= 3; ++parts) {
      SCOPED_TRACE(testing::Message() << parts << " parts");
      THitIndex index;
      index.Build(drawing, parts);
      EXPECT_EQ(index.DrawingWidth(), drawing.Width());
      EXPECT_EQ(index.DrawingHeight(), drawing.Height());
      // The selection's outline: a sentence's frames, else its bars, wherever
      // they lie (unseen and empty elements too).
      for (int tag = -2; tag <= 14; ++tag) {
        std::vector<int> frames, bars;
        for (size_t i = 0; i < drawing.Elements.size(); ++i) {
          if (tag < 0 || drawing.Elements[i].Tag != tag) continue;  // -1 is no sentence's
          if (drawing.Elements[i].Kind == TElementKind::Frame) frames.push_back(static_cast<int>(i));
          if (drawing.Elements[i].Kind == TElementKind::Bar) bars.push_back(static_cast<int>(i));
        }
        ASSERT_EQ(index.OutlineOf(drawing, tag), frames.empty() ? bars : frames) << "tag " << tag;
      }
      for (int probe = 0; probe < 200; ++probe) {
        const int x = pick(-5, 360), y = pick(-60, height + 100);
        auto even = [](int element) { return element % 2 == 0; };
        int topmost = -1, topmostEven = -1;
        for (size_t i = 0; i < drawing.Elements.size(); ++i) {
          if (y < 0 || !drawing.Elements[i].Bounds.Contains(x, y)) continue;
          topmost = static_cast<int>(i);
          if (even(topmost)) topmostEven = topmost;
        }
        ASSERT_EQ(index.TopmostAt(drawing, x, y, [](int) { return true; }), topmost) << x << ", " << y;
        ASSERT_EQ(index.TopmostAt(drawing, x, y, even), topmostEven) << x << ", " << y;

        const TBounds area{x, y, pick(0, 400), pick(0, 3000)};
        std::vector<int> meeting;
        for (size_t i = 0; i < drawing.Elements.size(); ++i) {
          const TBounds& b = drawing.Elements[i].Bounds;
          if (area.Width > 0 && area.Height > 0 && b.Width > 0 && b.Height > 0 && b.Bottom() > 0 &&
              b.Left < area.Right() && area.Left < b.Right() && b.Top < area.Bottom() && area.Top < b.Bottom())
            meeting.push_back(static_cast<int>(i));
        }
        ASSERT_EQ(index.Intersecting(drawing, area), meeting) << x << ", " << y;
      }
    }
  }
}
