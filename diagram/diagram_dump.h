// The text form of a drawing's grid-level calls, one line per call in
// creation order, then "rows N":
//   box ROW COL MINWIDTH TAG TEXT
//   cycle ROW COL
//   link SHAPE MARKER FROMCOL FROMROW TOCOL TOROW TAG TEXT   (MARKER 1 or 0)
#pragma once

#include <iosfwd>

#include "diagram/draw_context.h"

void WriteLayoutLines(const TDrawContext& context, std::ostream& out);
