// The diagram metrics: the pixel sizes of the grid, the boxes and the links.
//
// Row r of the grid starts at y = TopMargin + r * RowPitch() and column c at
// x = LeftMargin + c * ColumnWidth. Every box takes a row of its own; links
// take no rows. All values are pixels of the diagram surface.
#pragma once

struct TDiagramMetrics {
  int TopMargin = 2;        // space above row 0
  int BoxHeight = 22;       // height of a sentence box
  int RowGap = 8;           // gap between the boxes of consecutive rows
  int HalfBoxHeight = 11;   // BoxHeight / 2: the centre line of a row
  int LabelTopOffset = 4;   // from a box's top edge to its label's top edge
  int LeftMargin = 2;       // space left of column 0
  int ColumnWidth = 18;     // width of one grid column
  int LinkOffset = 7;       // from a column's left edge to a vertical bar's centre line
  int LabelInset = 5;       // between a box's frame and its contents
  int HitMargin = 2;        // half width of an invisible hit strip
  int LinkWidth = 1;        // thickness of the last link's bars (DrawLink sets it)

  int RowPitch() const { return RowGap + BoxHeight; }
  int RowTop(int row) const { return TopMargin + row * RowPitch(); }
  int ColumnLeft(int column) const { return LeftMargin + column * ColumnWidth; }
};

// Resets every metric to its initial value.
void InitDiagramMetrics(TDiagramMetrics& metrics);

// The program-wide metrics, set when the auxiliary drawing window is created.
// Drawing contexts start from a copy of these.
TDiagramMetrics& DiagramMetrics();
void InitDiagramMetrics();
