#include "diagram_qt/diagram_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "diagram_qt/qt_text.h"
#include "diagram_qt/status_icons.h"

// Every shape is drawn as geometry in diagram pixels: rectangles, lines with
// pens and filled outlines. A pixel (x, y) is the unit square whose centre is
// (x + 0.5, y + 0.5), so a one-pixel line runs through the centres of the
// pixels it covers. At scale 1 this gives exactly the pixels the diagram has
// always shown; under a larger scale, and in vector output, the same
// geometry stays smooth.
namespace {

QColor ToQColor(TColour colour) { return QColor(colour.Red, colour.Green, colour.Blue); }

QRect ToQRect(const TBounds& b) { return QRect(b.Left, b.Top, b.Width, b.Height); }

QPen LinePen(TColour colour, qreal width) {
  QPen pen(ToQColor(colour), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  return pen;
}

// A frame: an outline of the pen's width inside the bounds, nothing inside.
// A frame too small for its pen is filled as far as the pen reaches.
void PaintFrame(QPainter& painter, const TDiagramElement& frame) {
  if (frame.PenStyle == TPenStyle::Clear) return;
  const TBounds& b = frame.Bounds;
  if (b.Width <= 0 || b.Height <= 0) return;
  const int width = std::max(1, std::min({frame.PenWidth, (b.Width + 1) / 2, (b.Height + 1) / 2}));
  painter.setPen(LinePen(frame.PenColour, width));
  painter.setBrush(Qt::NoBrush);
  const qreal half = width / 2.0;
  painter.drawRect(QRectF(b.Left + half, b.Top + half, b.Width - width, b.Height - width));
}

// Whether a diagram pixel covers whole device pixels: no scale, or one by a
// whole number (vector output counts as whole, since it has no pixels).
bool WholeDevicePixels(const QPainter& painter) {
  const QTransform device = painter.deviceTransform();
  if (device.type() > QTransform::TxScale) return false;
  return device.m11() == std::floor(device.m11()) && device.m22() == std::floor(device.m22());
}

// A bar is a line along its length, as thick as the bar. A dotted bar shows
// every other pixel in a checkerboard: one dashed line per pixel row (or
// column) of the bar, each starting one dot later than the one before;
// between whole scales, square dots as wide as the bar.
void PaintBar(QPainter& painter, const TDiagramElement& bar) {
  const TBounds& b = bar.Bounds;
  if (b.Width <= 0 || b.Height <= 0) return;
  if (bar.PenStyle == TPenStyle::Clear) {
    if (bar.BrushStyle == TBrushStyle::Solid) painter.fillRect(ToQRect(b), ToQColor(bar.BrushColour));
    return;
  }
  const bool horizontal = b.Width >= b.Height;
  const int thickness = horizontal ? b.Height : b.Width;
  const int length = horizontal ? b.Width : b.Height;
  auto lineAt = [&](qreal offset) {
    return horizontal ? QLineF(b.Left, b.Top + offset, b.Left + length, b.Top + offset)
                      : QLineF(b.Left + offset, b.Top, b.Left + offset, b.Top + length);
  };
  if (bar.PenStyle == TPenStyle::Solid) {
    painter.setPen(LinePen(bar.PenColour, thickness));
    painter.drawLine(lineAt(thickness / 2.0));
    return;
  }
  if (bar.BrushStyle == TBrushStyle::Solid) painter.fillRect(ToQRect(b), ToQColor(bar.BrushColour));
  if (!WholeDevicePixels(painter)) {
    // Between whole scales the checkerboard's rows smear into a zig-zag:
    // one dashed line as thick as the bar gives square dots in step instead.
    QPen pen = LinePen(bar.PenColour, thickness);
    pen.setDashPattern({1, 1});
    painter.setPen(pen);
    painter.drawLine(lineAt(thickness / 2.0));
    return;
  }
  for (int k = 0; k < thickness; ++k) {
    QPen pen = LinePen(bar.PenColour, 1);
    pen.setDashPattern({1, 1});
    // The dot sits on pixels whose coordinates add up to an even number.
    const int along = horizontal ? b.Left : b.Top;
    const int across = (horizontal ? b.Top : b.Left) + k;
    pen.setDashOffset(((along + across) & 1) != 0 ? 1 : 0);
    painter.setPen(pen);
    painter.drawLine(lineAt(k + 0.5));
  }
}

// A stroke runs along the centres of its pixels, from the corner it starts
// at to the pixel before the opposite corner, reaching a little less than
// half a pixel beyond the first and the last centre.
QLineF StrokeLine(const TDiagramElement& stroke) {
  const TBounds& b = stroke.Bounds;
  const bool fromTopLeft = (stroke.X1 > stroke.X2 && stroke.Y1 > stroke.Y2) ||
                           (stroke.X1 <= stroke.X2 && stroke.Y1 <= stroke.Y2);
  const qreal x0 = b.Left, y0 = fromTopLeft ? b.Top : b.Top + b.Height;
  const qreal dx = b.Width, dy = fromTopLeft ? b.Height : -b.Height;
  const qreal steps = std::max(b.Width, b.Height);
  if (steps <= 0) return {};
  const QPointF step(dx / steps, dy / steps);
  const QPointF first(x0 + 0.5, y0 + 0.5);
  const QPointF last = first + step * (steps - 1);
  return QLineF(first - step * 0.45, last + step * 0.45);
}

void PaintStroke(QPainter& painter, const TDiagramElement& stroke) {
  if (std::max(stroke.Bounds.Width, stroke.Bounds.Height) <= 0) return;
  painter.setPen(LinePen(stroke.PenColour, 1));
  painter.drawLine(StrokeLine(stroke));
}

void PaintIcons(QPainter& painter, const TDiagramElement& icons) {
  const TBounds& b = icons.Bounds;
  // A white box under the icons; set as pen and brush rather than filled
  // apart, which vector output would wrap in a group of its own.
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawRect(ToQRect(b));
  if (icons.KindIcon != kNoIcon) PaintStatusIcon(painter, icons.KindIcon, QPoint(b.Left, b.Top));
  if (icons.StatusIcon != kNoIcon) PaintStatusIcon(painter, icons.StatusIcon, QPoint(b.Left + 16, b.Top));
}

void PaintText(QPainter& painter, const TDiagramDrawing& drawing, const TDiagramElement& label, const QFont& base) {
  painter.setFont(LabelFont(base, label.Font));
  painter.setPen(ToQColor(label.PenColour));
  const TBounds& b = label.Bounds;
  painter.drawText(QRect(b.Left, b.Top, b.Width + 1, b.Height), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine |
                                                                    Qt::TextDontClip,
                   FromBytes(drawing.CaptionOf(label)));
}

}  // namespace

QFont LabelFont(const QFont& base, TFontStyle style) {
  QFont font = base;
  font.setBold(style == TFontStyle::Bold);
  font.setItalic(style == TFontStyle::Italic);
  return font;
}

std::vector<QPoint> StrokePixels(const TDiagramElement& stroke) {
  const TBounds& b = stroke.Bounds;
  const bool fromTopLeft = (stroke.X1 > stroke.X2 && stroke.Y1 > stroke.Y2) ||
                           (stroke.X1 <= stroke.X2 && stroke.Y1 <= stroke.Y2);
  const int x0 = b.Left, x1 = b.Left + b.Width;
  const int y0 = fromTopLeft ? b.Top : b.Top + b.Height;
  const int y1 = fromTopLeft ? b.Top + b.Height : b.Top;
  const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
  std::vector<QPoint> pixels;
  pixels.reserve(static_cast<size_t>(steps));
  for (int i = 0; i < steps; ++i) {
    // Rounded position along the line; the end point itself is not painted.
    const int x = x0 + static_cast<int>(std::lround(static_cast<double>(i) * (x1 - x0) / steps));
    const int y = y0 + static_cast<int>(std::lround(static_cast<double>(i) * (y1 - y0) / steps));
    pixels.emplace_back(x, y);
  }
  return pixels;
}

void PaintElement(QPainter& painter, const TDiagramDrawing& drawing, const TDiagramElement& element,
                  const QFont& base) {
  switch (element.Kind) {
    case TElementKind::Frame:
      PaintFrame(painter, element);
      break;
    case TElementKind::Bar:
      PaintBar(painter, element);
      break;
    case TElementKind::HitStrip:
      break;  // invisible
    case TElementKind::Stroke:
      PaintStroke(painter, element);
      break;
    case TElementKind::StatusIcons:
      PaintIcons(painter, element);
      break;
    case TElementKind::Label:
    case TElementKind::CycleMark:
      PaintText(painter, drawing, element, base);
      break;
  }
}
