// Drawing a laid-out diagram again with other marks: the drawing's recorded
// grid calls are replayed in their order under the flags the sentences have
// now and the context's present options. Where a box or link goes depends on
// the theory's structure alone, never on the statuses, so this gives exactly
// the drawing a new layout would give, without laying out again.
#pragma once

#include "diagram/draw_context.h"

// Replaces the context's elements and captions by those of its recorded
// calls; DrawnSentences, RowsUsed and the calls themselves stay.
void RedrawCalls(TDrawContext& context);
