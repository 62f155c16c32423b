// The drawing of one grid cell decision: a sentence box (status icons,
// label, clickable frame), a link (bars, invisible hit strips and an
// arrowhead or a cross) and the cycle mark. Each appends plain elements to
// the context's drawing and records the grid-level call.
#pragma once

#include "diagram/draw_context.h"

// A box for the sentence at (column, row), at least minimumWidth columns
// wide. Draws nothing for a dialectical negation while negations are hidden.
void DrawSentenceBox(TDrawContext& context, const SentencePtr& sentence, int column, int row,
                     int minimumWidth);
// The same, with the sentence's drawn index (what Register gave) known:
// the layout saves looking its text up again.
void DrawSentenceBox(TDrawContext& context, const SentencePtr& sentence, int column, int row, int minimumWidth,
                     int drawnIndex);

// A link for the conditional from column b below or beside row a to the left
// edge of column d on row c; with a marker it ends in an arrowhead (support)
// or a cross (attack).
void DrawLink(TDrawContext& context, const SentencePtr& conditional, bool withMarker, TLinkShape shape,
              int fromColumn, int fromRow, int toColumn, int toRow);
// The same, with the conditional's drawn index known.
void DrawLink(TDrawContext& context, const SentencePtr& conditional, bool withMarker, TLinkShape shape,
              int fromColumn, int fromRow, int toColumn, int toRow, int drawnIndex);

// The "..." under the box at (column, row) of a sentence found again below itself.
void DrawCycleMark(TDrawContext& context, int column, int row);

// Draws the elements of the calls from `firstCall` on, recorded while the
// context's RecordCallsOnly was set, as the calls would have drawn them,
// under the context's present options and marks. Their number is counted
// first, so that a large drawing's elements are stored at once rather than
// moved each time their vector grows.
void DrawRecordedElements(TDrawContext& context, size_t firstCall);

// Draws the recorded call again over its own elements, with the marks the
// sentences carry now, as it drew them first (the context's options must be
// those it was recorded under); records it as drawn under the drawing's marks.
void DrawCallInPlace(TDrawContext& context, size_t call);

// Status colour of a sentence: justified blue, defeated red (defeated wins),
// open teal.
TColour StatusColour(const TKorvelSentence& sentence);
