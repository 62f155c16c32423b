// Drawing a laid-out diagram again with other marks: the drawing's recorded
// grid calls are replayed in their order under the flags the sentences have
// now and the context's present options. Where a box or link goes depends on
// the theory's structure alone, never on the statuses, so this gives exactly
// the drawing a new layout would give, without laying out again.
//
// New marks under the same options change no call's number of elements and
// no element's top or height: only colours, styles, icons, fonts and so the
// widths of labels and frames. They can therefore be drawn late: the calls
// are declared stale at once, and whoever reads elements draws again, in
// place, the stale calls those elements belong to.
#pragma once

#include <vector>

#include "diagram/draw_context.h"

// Replaces the context's elements and captions by those of its recorded
// calls; DrawnSentences, RowsUsed and the calls themselves stay.
void RedrawCalls(TDrawContext& context);

// Whether the calls can be drawn again in place under the context's present
// options: they were all made under these options (elements differ in
// number otherwise) and drew every element of the drawing.
bool CallsRedrawableInPlace(const TDrawContext& context);
// Declares every call stale, at no cost per element. Returns false, and
// changes nothing, where the calls cannot be drawn again in place: they were
// made under other options than the context's present ones (their elements
// then differ in number), or the drawing's elements are not all theirs.
bool MarkCallsStale(TDrawContext& context);
// The call that drew the element.
size_t CallOfElement(const TDiagramDrawing& drawing, size_t element);
// Draws again the stale calls that drew the given elements (in creation
// order, as the hit index lists them).
void ResolveElements(TDrawContext& context, const std::vector<int>& elements);
// Draws every stale call again: afterwards the drawing is exactly what
// RedrawCalls would have made at the last MarkCallsStale.
void ResolveAllMarks(TDrawContext& context);
// Draws the stale calls among calls [first, first + count) again and
// returns the first call after them; a range of all calls leaves no marks
// pending.
size_t ResolveCalls(TDrawContext& context, size_t first, size_t count);
