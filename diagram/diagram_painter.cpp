#include "diagram_painter.h"

#include <QVector>
#include <cstdlib>

#include "display_text.h"
#include "status_icons.h"

namespace {

QColor ToQColor(TColour colour) { return QColor(colour.Red, colour.Green, colour.Blue); }

QRect ToQRect(const TBounds& b) { return QRect(b.Left, b.Top, b.Width, b.Height); }

// A frame: an outline of the pen's width inside the bounds, nothing inside.
void PaintFrame(QPainter& painter, const TDiagramElement& frame) {
  if (frame.PenStyle == TPenStyle::Clear) return;
  const TBounds& b = frame.Bounds;
  QPen pen(ToQColor(frame.PenColour), 1);
  pen.setCosmetic(true);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  for (int k = 0; k < frame.PenWidth && 2 * k < b.Width && 2 * k < b.Height; ++k)
    painter.drawRect(b.Left + k, b.Top + k, b.Width - 1 - 2 * k, b.Height - 1 - 2 * k);
}

// A bar is at most two pixels thick, so its outline covers it: solid bars
// are filled with the pen's colour, dotted ones get every other pixel.
void PaintBar(QPainter& painter, const TDiagramElement& bar) {
  const TBounds& b = bar.Bounds;
  if (b.Width <= 0 || b.Height <= 0) return;
  if (bar.PenStyle == TPenStyle::Clear) {
    if (bar.BrushStyle == TBrushStyle::Solid) painter.fillRect(ToQRect(b), ToQColor(bar.BrushColour));
    return;
  }
  if (bar.PenStyle == TPenStyle::Solid) {
    painter.fillRect(ToQRect(b), ToQColor(bar.PenColour));
    return;
  }
  if (bar.BrushStyle == TBrushStyle::Solid) painter.fillRect(ToQRect(b), ToQColor(bar.BrushColour));
  QPen pen(ToQColor(bar.PenColour), 1);
  pen.setCosmetic(true);
  painter.setPen(pen);
  // Only the part inside the clip needs its dots.
  const QRect clip = painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect() : ToQRect(b);
  const QRect area = ToQRect(b).intersected(clip.isEmpty() ? ToQRect(b) : clip);
  QVector<QPoint> dots;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (((x + y) & 1) == 0) dots.push_back(QPoint(x, y));
  painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
}

void PaintIcons(QPainter& painter, const TDiagramElement& icons) {
  const TBounds& b = icons.Bounds;
  painter.fillRect(ToQRect(b), Qt::white);
  if (icons.KindIcon != kNoIcon) painter.drawImage(QPoint(b.Left, b.Top), StatusIcon(icons.KindIcon));
  if (icons.StatusIcon != kNoIcon) painter.drawImage(QPoint(b.Left + 16, b.Top), StatusIcon(icons.StatusIcon));
}

void PaintText(QPainter& painter, const TDiagramDrawing& drawing, const TDiagramElement& label, const QFont& base) {
  painter.setFont(LabelFont(base, label.Font));
  painter.setPen(ToQColor(label.PenColour));
  const TBounds& b = label.Bounds;
  painter.drawText(QRect(b.Left, b.Top, b.Width + 1, b.Height), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine |
                                                                    Qt::TextDontClip,
                   DisplayText(drawing.CaptionOf(label)));
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
    case TElementKind::Stroke: {
      QPen pen(ToQColor(element.PenColour), 1);
      pen.setCosmetic(true);
      painter.setPen(pen);
      const std::vector<QPoint> pixels = StrokePixels(element);
      painter.drawPoints(pixels.data(), static_cast<int>(pixels.size()));
      break;
    }
    case TElementKind::StatusIcons:
      PaintIcons(painter, element);
      break;
    case TElementKind::Label:
    case TElementKind::CycleMark:
      PaintText(painter, drawing, element, base);
      break;
  }
}
