// Moving the selection between the boxes of a drawn diagram with the keys,
// as in a tree: the diagram draws a reason one row below and one or more
// columns right of what it argues about. Boxes are taken in reading order
// (row, then column).
#pragma once

#include "diagram/diagram_drawing.h"

enum class TNavigation {
  Previous,  // the box before, in reading order (up)
  Next,      // the box after (down)
  Parent,    // the nearest box before that stands further left (left)
  Child,     // the box after, when it stands further right (right)
};

// The frame element the selection moves to from the frame element `current`;
// from no frame (-1, or an element that is no frame) the first box. -1 when
// the move leads nowhere (the first box has no box before it) or the drawing
// holds no box.
int NavigateBoxes(const TDiagramDrawing& drawing, int current, TNavigation direction);

// The frame element that shows the selection: the box of the diagram index
// `tag` on `row`, else its first box; -1 when none.
int SelectedFrame(const TDiagramDrawing& drawing, int tag, int row);
