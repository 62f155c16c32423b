#include "status_icons.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
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

void FillRects(QPainter& painter, std::initializer_list<QRectF> rects, QColor colour) {
  for (const QRectF& rect : rects) painter.fillRect(rect, colour);
}

// A diagonal bar three pixels wide from the top row 1 to row 15, mirrored
// when `falling` is false, cut to the icon.
QPolygonF CrossBar(bool falling) {
  const QPolygonF bar = falling ? QPolygonF({{-0.5, 1}, {2.5, 1}, {16.5, 15}, {13.5, 15}})
                                : QPolygonF({{13.5, 1}, {16.5, 1}, {2.5, 15}, {-0.5, 15}});
  return bar.intersected(QPolygonF(QRectF(0, 0, kStatusIconSize, kStatusIconSize)));
}

void PaintQuestionMark(QPainter& painter, QColor colour) {
  QPainterPath hook;
  hook.moveTo(5, 4.5);
  hook.arcTo(QRectF(5, 1.7, 6, 5.6), 180, -225);  // over the top, down the right
  hook.lineTo(8, 8.2);
  hook.lineTo(8, 10);
  QPen pen(colour, 2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
  painter.strokePath(hook, pen);
  painter.fillRect(QRectF(7, 11, 2, 2), colour);
}

}  // namespace

void PaintStatusIconShape(QPainter& painter, int index) {
  painter.save();
  painter.setPen(Qt::NoPen);
  const QColor black(kIconBlack), red(kIconRed), green(kIconGreen), grey(kIconGrey);
  switch (index) {
    case 0:
      FillRects(painter, {{7, 2, 2, 9}, {7, 12, 2, 2}}, black);
      break;
    case 1:
      PaintQuestionMark(painter, black);
      break;
    case 2:
      painter.setBrush(red);
      painter.drawPolygon(CrossBar(true));
      painter.drawPolygon(CrossBar(false));
      break;
    case 3: {
      QPainterPath plus;
      plus.setFillRule(Qt::WindingFill);
      plus.addRect(6, 1, 4, 14);
      plus.addRect(1, 6, 14, 4);
      painter.fillPath(plus, green);
      break;
    }
    case 4: {
      QPainterPath ring;
      ring.addEllipse(QPointF(8, 8), 6.4, 6.4);
      ring.addEllipse(QPointF(8, 8), 3.4, 3.4);  // odd-even fill leaves the hole
      painter.fillPath(ring, grey);
      break;
    }
    case 5:
      FillRects(painter, {{1, 3, 5, 1}, {3, 1, 1, 5}, {10, 12, 5, 1}}, grey);
      break;
    case 6:
      FillRects(painter, {{1, 8, 1, 5}, {1, 14, 1, 1}}, black);
      break;
    case 7:
      FillRects(painter, {{1, 8, 2, 1}, {0, 9, 1, 1}, {3, 9, 1, 2}, {2, 11, 1, 1}, {1, 12, 1, 1}, {1, 14, 1, 1}},
                black);
      break;
    default:
      break;
  }
  painter.restore();
}

void PaintStatusIcon(QPainter& painter, int index, QPoint topLeft) {
  if (index < 0 || index >= kStatusIconCount) return;
  // On a raster device without scaling the icons keep their hand-set
  // pixels; any other scale, and vector output, gets the shapes.
  const QTransform device = painter.deviceTransform();
  const bool pixelGrid = painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Raster &&
                         device.type() <= QTransform::TxTranslate && device.dx() == std::floor(device.dx()) &&
                         device.dy() == std::floor(device.dy());
  if (pixelGrid) {
    painter.drawImage(topLeft, StatusIcon(index));
    return;
  }
  painter.save();
  painter.translate(topLeft);
  painter.setRenderHint(QPainter::Antialiasing, true);
  PaintStatusIconShape(painter, index);
  painter.restore();
}
