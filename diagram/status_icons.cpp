#include "status_icons.h"

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
