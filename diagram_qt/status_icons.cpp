#include "diagram_qt/status_icons.h"

#include "diagram_qt/acceptance_icons.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <cmath>

namespace {

const QRgb kIconBlack = qRgb(0, 0, 0);
const QRgb kIconRed = qRgb(255, 0, 0);
const QRgb kIconGreen = qRgb(0, 127, 0);
const QRgb kIconGrey = qRgb(127, 127, 127);

QImage Blank() {
  QImage image(kStatusIconSize, kStatusIconSize, QImage::Format_RGB32);
  image.fill(qRgb(255, 255, 255));
  return image;
}

void Fill(QImage& image, int left, int top, int width, int height, QRgb colour) {
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x)
      if (image.valid(x, y)) image.setPixel(x, y, colour);
}

// Pixel art: '#' is the colour, anything else stays white.
void Paint(QImage& image, int left, int top, std::initializer_list<const char*> rows, QRgb colour) {
  int y = top;
  for (const char* row : rows) {
    for (int x = 0; row[x] != '\0'; ++x)
      if (row[x] == '#' && image.valid(left + x, y)) image.setPixel(left + x, y, colour);
    ++y;
  }
}

QImage Exclamation() {
  QImage image = Blank();
  Fill(image, 7, 2, 2, 9, kIconBlack);
  Fill(image, 7, 12, 2, 2, kIconBlack);
  return image;
}

QImage Question() {
  QImage image = Blank();
  Paint(image, 4, 1,
        {"..####..", ".##..##.", "##....##", "......##", ".....##.", "....##..", "...##...", "...##...",
         "...##...", "........", "...##...", "...##..."},
        kIconBlack);
  return image;
}

QImage Cross() {
  QImage image = Blank();
  for (int i = 1; i <= 14; ++i)
    for (int d = -1; d <= 1; ++d) {
      if (image.valid(i + d, i)) image.setPixel(i + d, i, kIconRed);
      if (image.valid(15 - i + d, i)) image.setPixel(15 - i + d, i, kIconRed);
    }
  return image;
}

QImage Plus() {
  QImage image = Blank();
  Fill(image, 6, 1, 4, 14, kIconGreen);
  Fill(image, 1, 6, 14, 4, kIconGreen);
  return image;
}

QImage Ring() {
  QImage image = Blank();
  for (int y = 0; y < kStatusIconSize; ++y)
    for (int x = 0; x < kStatusIconSize; ++x) {
      const double distance = std::hypot(x - 7.5, y - 7.5);
      if (distance >= 3.6 && distance <= 6.2) image.setPixel(x, y, kIconGrey);
    }
  return image;
}

QImage PlusMinus() {
  QImage image = Blank();
  Fill(image, 1, 3, 5, 1, kIconGrey);
  Fill(image, 3, 1, 1, 5, kIconGrey);
  Fill(image, 10, 12, 5, 1, kIconGrey);
  return image;
}

QImage SmallExclamation() {
  QImage image = Blank();
  Fill(image, 1, 8, 1, 5, kIconBlack);
  Fill(image, 1, 14, 1, 1, kIconBlack);
  return image;
}

QImage SmallQuestion() {
  QImage image = Blank();
  Paint(image, 0, 8, {".##.", "#..#", "...#", "..#.", ".#..", "....", ".#.."}, kIconBlack);
  return image;
}

}  // namespace

const std::array<QImage, 8>& StatusIconsImageList() {
  static const std::array<QImage, kStatusIconCount> icons = {
      Exclamation(), Question(), Cross(), Plus(), Ring(), PlusMinus(), SmallExclamation(), SmallQuestion()};
  return icons;
}

const QImage& StatusIcon(int index) {
  static const QImage none;
  if (index < 0 || index >= kStatusIconCount) return none;
  return StatusIconsImageList()[static_cast<size_t>(index)];
}

// --- the same icons as shapes, for any scale and for vector output

namespace {

QPainterPath Rects(std::initializer_list<QRectF> rects) {
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  for (const QRectF& rect : rects) path.addRect(rect);
  return path;
}

// Two diagonal bars three pixels wide from row 1 to row 15, cut to the icon.
QPainterPath CrossBars() {
  const QPolygonF box(QRectF(0, 0, kStatusIconSize, kStatusIconSize));
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  path.addPolygon(QPolygonF({{-0.5, 1}, {2.5, 1}, {16.5, 15}, {13.5, 15}}).intersected(box));
  path.closeSubpath();
  path.addPolygon(QPolygonF({{13.5, 1}, {16.5, 1}, {2.5, 15}, {-0.5, 15}}).intersected(box));
  path.closeSubpath();
  return path;
}

// The hook of a question mark as a two-pixel stroke's outline, and its dot.
QPainterPath QuestionMark() {
  QPainterPath hook;
  hook.moveTo(5, 4.5);
  hook.arcTo(QRectF(5, 1.7, 6, 5.6), 180, -225);  // over the top, down the right
  hook.lineTo(8, 8.2);
  hook.lineTo(8, 10);
  QPainterPathStroker stroker;
  stroker.setWidth(2);
  stroker.setCapStyle(Qt::FlatCap);
  stroker.setJoinStyle(Qt::RoundJoin);
  QPainterPath path = stroker.createStroke(hook);
  path.setFillRule(Qt::WindingFill);
  path.addRect(7, 11, 2, 2);
  return path;
}

QPainterPath RingShape() {
  QPainterPath ring;  // odd-even fill leaves the hole
  ring.addEllipse(QPointF(8, 8), 6.4, 6.4);
  ring.addEllipse(QPointF(8, 8), 3.4, 3.4);
  return ring;
}

struct TIconShape {
  QPainterPath Path;
  QRgb Colour;
};

// Each icon is one filled outline in one colour, made once.
const std::array<TIconShape, kStatusIconCount>& IconShapes() {
  static const std::array<TIconShape, kStatusIconCount> shapes = {{
      {Rects({{7, 2, 2, 9}, {7, 12, 2, 2}}), kIconBlack},
      {QuestionMark(), kIconBlack},
      {CrossBars(), kIconRed},
      {Rects({{6, 1, 4, 14}, {1, 6, 14, 4}}), kIconGreen},
      {RingShape(), kIconGrey},
      {Rects({{1, 3, 5, 1}, {3, 1, 1, 5}, {10, 12, 5, 1}}), kIconGrey},
      {Rects({{1, 8, 1, 5}, {1, 14, 1, 1}}), kIconBlack},
      {Rects({{1, 8, 2, 1}, {0, 9, 1, 1}, {3, 9, 1, 2}, {2, 11, 1, 1}, {1, 12, 1, 1}, {1, 14, 1, 1}}), kIconBlack},
  }};
  return shapes;
}

}  // namespace

void PaintStatusIconShape(QPainter& painter, int index, QPointF topLeft) {
  if (IsAcceptanceIcon(index)) return PaintAcceptanceIconShape(painter, index, topLeft);
  if (index < 0 || index >= kStatusIconCount) return;
  const TIconShape& shape = IconShapes()[static_cast<size_t>(index)];
  // Only pen and brush change, so vector output gets no group per icon.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(shape.Colour));
  painter.drawPath(shape.Path.translated(topLeft));
}

void PaintStatusIcon(QPainter& painter, int index, QPoint topLeft) {
  if ((index < 0 || index >= kStatusIconCount) && !IsAcceptanceIcon(index)) return;
  // On a raster device without scaling the icons keep their hand-set
  // pixels; any other scale, and vector output, gets the shapes (smoothed
  // by the caller's antialiasing where a diagram pixel is not a device one).
  const QTransform device = painter.deviceTransform();
  const bool pixelGrid = painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Raster &&
                         device.type() <= QTransform::TxTranslate && device.dx() == std::floor(device.dx()) &&
                         device.dy() == std::floor(device.dy());
  if (pixelGrid)
    painter.drawImage(topLeft, IsAcceptanceIcon(index) ? AcceptanceIcon(index) : StatusIcon(index));
  else
    PaintStatusIconShape(painter, index, topLeft);
}
