// The white surface that shows a diagram: it lays out sentences into its own
// drawing context, sizes itself to the drawing, paints the elements that meet
// the exposed area and maps mouse presses back to elements.
//
// Elements stack in creation order: a later one paints over an earlier one
// and receives the mouse first. Only the shapes (frames, bars, hit strips,
// strokes) take clicks; labels, cycle marks and icon images let them through.
// Other widgets (the statement box) may be placed on the surface as children
// at diagram pixel positions; they lie above the drawing.
#pragma once

#include <QMetaType>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "diagram/diagram_layout.h"
#include "diagram/diagram_redraw.h"
#include "diagram/hit_index.h"

// What a mouse press or double-click met. Element -1 is the empty surface,
// with Tag -1.
struct TDiagramHit {
  int Element = -1;
  TElementKind Kind = TElementKind::Frame;
  int Tag = -1;
  int Row = 0;
  int Column = 0;
  TBounds Bounds;               // of the element; empty for the surface
  QPoint Position;              // in surface (diagram) pixels
  Qt::MouseButton Button = Qt::LeftButton;
  bool IsSurface() const { return Element < 0; }
};
Q_DECLARE_METATYPE(TDiagramHit)

class TDiagramSurface : public QWidget {
  Q_OBJECT

 public:
  explicit TDiagramSurface(QWidget* parent = nullptr);

  // Options, theory and the DrawnSentences the diagram indices point into.
  // The text measure follows the surface's font. Right after RedrawMarks the
  // context's elements may still carry the old marks and widths (kinds,
  // tags, rows, columns, lefts and tops are right); Drawing() has them all.
  TDrawContext& Context() { return context_; }
  const TDrawContext& Context() const { return context_; }
  // The whole drawing, every mark drawn.
  const TDiagramDrawing& Drawing() const;
  // The index of the context's drawing, built whenever the drawing changes;
  // the object stays the same for the surface's life.
  const THitIndex& HitIndex() const { return index_; }

  // Lays out the sentences as argument trees (DrawArguments from column 0,
  // row 0) and shows them, replacing the previous diagram.
  void DrawArguments(const TListOfKorvelSentences& sentences);
  // Shows what the context's drawing holds after drawing calls made directly
  // (DrawSentenceBox and friends).
  void DrawingChanged();
  // Removes the diagram; DrawnSentences is emptied too.
  void ClearDrawing();
  // Draws the boxes and links again on the cells they have, with the marks
  // the sentences carry now and the context's present options (another
  // interpretation shown, an evaluation's result arrived): what a new layout
  // would show, without one. Like every redraw it shows all elements again.
  // Under unchanged options this costs nothing per element: the elements
  // painted or hit are drawn first, the rest a few milliseconds at a time
  // while the window is idle (and at once when Drawing() is asked for).
  void RedrawMarks();
  // Draws the given elements with the pending marks, if any (readers of a
  // few elements' widths: rings around them, scrolling to them).
  void DrawPendingMarks(const std::vector<int>& elements) const { ResolveElements(context_, elements); }
  // Whether some elements still wait for the new marks.
  bool MarksPending() const { return context_.Drawing.MarksPending; }

  // Where the hit index of a replaced drawing goes: a large drawing's index
  // costs milliseconds to free, which the main window spends on another
  // thread. Unset, it is freed here at once.
  std::function<void(std::shared_ptr<const void>)> ReleaseReplaced;

  // A hidden element is neither painted nor hit (the statement box takes a
  // sentence box's place this way). Every redraw shows all elements again.
  void SetElementHidden(int element, bool hidden);
  bool IsElementHidden(int element) const;

  // --- zoom: the drawing is shown Zoom() times its size (1 is pixel for
  // pixel). Positions in hits, ShapeAt and PlaceChild are diagram pixels.
  double Zoom() const { return zoom_; }
  void SetZoom(double zoom);
  QPoint ToDiagram(QPoint widgetPosition) const;
  QRect ToWidget(const QRect& diagramRect) const;
  // The whole drawing in diagram pixels, as export and print show it.
  QRect DrawingArea() const;
  // Puts a child widget (the statement box) with its top-left corner at a
  // diagram position; it keeps its size and follows later zoom changes.
  void PlaceChild(QWidget* child, QPoint diagramPosition);
  // The selection, drawn as a highlight around every box of the sentence with
  // this diagram index (or, for a sentence drawn only as a link, around its
  // bars). A drawing state only; -1 highlights nothing.
  void SetSelectedTag(int tag);
  int SelectedTag() const { return selectedTag_; }
  // The elements the highlight surrounds.
  const std::vector<int>& HighlightedElements() const { return Highlighted(); }

  // The topmost visible shape at a surface position; -1 for the empty surface.
  int ShapeAt(QPoint position) const;
  TDiagramHit HitAt(QPoint position, Qt::MouseButton button) const;

 signals:
  void zoomChanged(double zoom);
  // Every mouse press, on a shape or on the empty surface, any button.
  void mouseDown(const TDiagramHit& hit);
  // The second press of a double click on a sentence frame or on the empty
  // surface. On other shapes the second press is reported as a mouseDown.
  void doubleClicked(const TDiagramHit& hit);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UseFontForText();
  void Reindex();
  void UpdateSize();
  // The highlighted elements, found at the first look after the drawing or
  // the selection changed: a refresh changes both, and the pass over a large
  // drawing's elements is then made once, not twice.
  const std::vector<int>& Highlighted() const;
  // Draws the elements of these rows with the pending marks.
  void ResolveRows(int top, int bottom) const;
  // Draws pending marks, call after call, for at most that long (forever
  // when negative); once none is left the drawing's size is set anew.
  // Returns whether the sweep is over (none left, or none drawable).
  bool SweepMarks(qint64 nanoseconds);

  // Mutable: marks drawn late are drawn by whoever reads elements.
  mutable TDrawContext context_;
  // The sweep of pending marks: the marks generation it draws, the next
  // call and the size of what it has passed.
  QTimer marksSweep_;
  std::uint32_t sweepMarks_ = 0;
  size_t sweepNext_ = 0;
  int sweepWidth_ = 0;
  int sweepHeight_ = 0;
  int selectedTag_ = -1;
  mutable std::vector<int> highlighted_;
  mutable bool highlightedFound_ = true;
  THitIndex index_;
  std::vector<bool> hidden_;
  double zoom_ = 1.0;
};
