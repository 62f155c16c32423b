// The status icons that show acceptance over all interpretations, after the
// eight of the status icon list: a ringed plus (justified in every
// interpretation), a triangle (justified in some but not every one), a boxed
// cross (defeated in every one) and a diamond (the rest). They differ in
// shape, not only in colour.
#pragma once

#include <QImage>

class QPainter;
class QPointF;

inline constexpr int kJustifiedInAllIcon = 8;
inline constexpr int kJustifiedInSomeIcon = 9;
inline constexpr int kDefeatedInAllIcon = 10;
inline constexpr int kUnsettledIcon = 11;

bool IsAcceptanceIcon(int index);
// The 16 x 16 image on white; a null image for any other index.
const QImage& AcceptanceIcon(int index);
// The icon as a filled outline in the 16 x 16 box at `topLeft`.
void PaintAcceptanceIconShape(QPainter& painter, int index, QPointF topLeft);
