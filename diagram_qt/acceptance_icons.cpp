#include "diagram_qt/acceptance_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace {

constexpr int kFirst = kJustifiedInAllIcon;
constexpr int kCount = 4;

struct TShape {
  QPainterPath Path;
  QRgb Colour;
};

QPainterPath RingedPlus() {
  QPainterPath path;
  path.addEllipse(QPointF(8, 8), 7.5, 7.5);
  path.addEllipse(QPointF(8, 8), 5.5, 5.5);  // odd-even: a ring
  QPainterPath plus;
  plus.setFillRule(Qt::WindingFill);
  plus.addRect(7, 4, 2, 8);
  plus.addRect(4, 7, 8, 2);
  return path.united(plus);
}

QPainterPath Triangle() {
  QPainterPath outer;
  outer.addPolygon(QPolygonF({{8, 1}, {15.5, 14.5}, {0.5, 14.5}}));
  outer.closeSubpath();
  QPainterPath inner;
  inner.addPolygon(QPolygonF({{8, 5.5}, {12, 12.5}, {4, 12.5}}));
  inner.closeSubpath();
  return outer.subtracted(inner);
}

QPainterPath BoxedCross() {
  QPainterPath frame;
  frame.addRect(0.5, 0.5, 15, 15);
  frame.addRect(2.5, 2.5, 11, 11);  // odd-even: a frame
  QPainterPath cross;
  cross.setFillRule(Qt::WindingFill);
  cross.addPolygon(QPolygonF({{3, 4.5}, {4.5, 3}, {13, 11.5}, {11.5, 13}}));
  cross.closeSubpath();
  cross.addPolygon(QPolygonF({{11.5, 3}, {13, 4.5}, {4.5, 13}, {3, 11.5}}));
  cross.closeSubpath();
  return frame.united(cross);
}

QPainterPath Diamond() {
  QPainterPath outer;
  outer.addPolygon(QPolygonF({{8, 1}, {15, 8}, {8, 15}, {1, 8}}));
  outer.closeSubpath();
  QPainterPath inner;
  inner.addPolygon(QPolygonF({{8, 4}, {12, 8}, {8, 12}, {4, 8}}));
  inner.closeSubpath();
  return outer.subtracted(inner);
}

const std::array<TShape, kCount>& Shapes() {
  static const std::array<TShape, kCount> shapes = {{
      {RingedPlus(), qRgb(0, 127, 0)},
      {Triangle(), qRgb(128, 0, 192)},
      {BoxedCross(), qRgb(255, 0, 0)},
      {Diamond(), qRgb(127, 127, 127)},
  }};
  return shapes;
}

const std::array<QImage, kCount>& Images() {
  static const std::array<QImage, kCount> images = [] {
    std::array<QImage, kCount> made;
    for (int k = 0; k < kCount; ++k) {
      QImage image(16, 16, QImage::Format_RGB32);
      image.fill(qRgb(255, 255, 255));
      QPainter painter(&image);
      PaintAcceptanceIconShape(painter, kFirst + k, QPointF(0, 0));
      made[static_cast<size_t>(k)] = image;
    }
    return made;
  }();
  return images;
}

}  // namespace

bool IsAcceptanceIcon(int index) { return index >= kFirst && index < kFirst + kCount; }

const QImage& AcceptanceIcon(int index) {
  static const QImage none;
  return IsAcceptanceIcon(index) ? Images()[static_cast<size_t>(index - kFirst)] : none;
}

void PaintAcceptanceIconShape(QPainter& painter, int index, QPointF topLeft) {
  if (!IsAcceptanceIcon(index)) return;
  const TShape& shape = Shapes()[static_cast<size_t>(index - kFirst)];
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(shape.Colour));
  painter.drawPath(shape.Path.translated(topLeft));
}
