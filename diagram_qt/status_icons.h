// StatusIconsImageList: eight 16 x 16 images on white, drawn pixel by pixel
// so that they stay crisp. The diagram uses 0 to 4: exclamation mark
// (assumption), question mark (issue), red cross (defeated), green plus
// (justified), grey ring (open). Indices 8 to 11 paint the acceptance icons
// of acceptance_icons.h.
#pragma once

#include <QImage>
#include <array>

inline constexpr int kStatusIconCount = 8;
inline constexpr int kStatusIconSize = 16;

// The whole list, and the image at an index (0 to 7; a null image otherwise).
const std::array<QImage, 8>& StatusIconsImageList();
const QImage& StatusIcon(int index);

// Paints icon `index` with its top-left corner at `topLeft`, over a place
// already white (the icons' box is filled first). On a raster
// device at scale 1 these are the images above; at any other scale and in
// vector output (SVG, PDF, printers) the icons are drawn as shapes.
class QPainter;
class QPoint;
void PaintStatusIcon(QPainter& painter, int index, QPoint topLeft);
// The icon's shape, one filled outline, in the 16 x 16 box at `topLeft`.
class QPointF;
void PaintStatusIconShape(QPainter& painter, int index, QPointF topLeft);
