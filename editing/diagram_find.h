// Finding statements on the diagram by their text: the boxes whose sentence
// contains a search text, in reading order (row, then column), and the step
// from the selected box to the next match.
#pragma once

#include <string_view>
#include <vector>

#include "diagram/diagram_drawing.h"
#include "logic/sentence.h"

// The frame elements of the boxes whose sentence text (in `drawnSentences`,
// which the frames' tags index) contains `query`, ASCII letters matched
// without regard to case, in reading order. The placeholder's box and an
// empty query match nothing.
std::vector<int> FindBoxes(const TDiagramDrawing& drawing, const TListOfKorvelSentences& drawnSentences,
                           std::string_view query);

// The position in `matches` (as FindBoxes gives them) of the match after the
// frame element `current` in reading order, or before it when `backwards`;
// past the last match it starts again at the first. From no frame (-1) the
// first match, or the last going backwards. -1 when there is no match.
int NextMatch(const TDiagramDrawing& drawing, const std::vector<int>& matches, int current, bool backwards = false);
