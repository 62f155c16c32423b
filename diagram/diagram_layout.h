// The layout of argument trees on the grid: which sentences become roots of
// trees, in which order, and on which cell every box and link goes.
//
// The layout keeps no recursion on the machine stack: a tree as deep as the
// theory is long is laid out with an explicit stack of nodes.
#pragma once

#include "diagram/draw_context.h"

// The seven roles in which a sentence is laid out.
enum class TNodeRole {
  Box,             // a sentence box on its own row
  SupportDrop,     // a conditional supporting a box: a line down from the box
  AttackDrop,      // a conditional attacking a box
  SupportBranch,   // a conditional supporting a drop's conditional: a bar to the right
  AttackBranch,    // a conditional attacking a drop's conditional
  SupportBarDrop,  // a conditional supporting a branch's conditional: a line down from the bar
  AttackBarDrop,   // a conditional attacking a branch's conditional
};

// Draws the sentences as trees one below the other, all starting in the start
// column; fills DrawnSentences and sets RowsUsed. Empties the context first.
void DrawArguments(TDrawContext& context, const TListOfKorvelSentences& sentences, int startColumn = 0,
                   int startRow = 0);

// Lays out the tree of one root at (column, row) with the sentences as
// candidates; returns the number of rows it took. DrawArguments calls it
// for every root; it does not empty the context.
int DrawArgumentTree(TDrawContext& context, const SentencePtr& root, const TListOfKorvelSentences& sentences,
                     int column, int row);
