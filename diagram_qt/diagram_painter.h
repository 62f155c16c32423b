// Paints one plain diagram element with a QPainter in surface pixels.
#pragma once

#include <QFont>
#include <QPainter>

#include "diagram/diagram_drawing.h"

// The font of a label in the given style, from the surface's font.
QFont LabelFont(const QFont& base, TFontStyle style);

void PaintElement(QPainter& painter, const TDiagramDrawing& drawing, const TDiagramElement& element,
                  const QFont& base);

// The pixels of a stroke within its bounds: a straight line between two
// opposite corners, top-left to bottom-right when both end points ascend
// together (or both descend), otherwise bottom-left to top-right; the
// line's last point is left out.
std::vector<QPoint> StrokePixels(const TDiagramElement& stroke);
