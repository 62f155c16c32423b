// The diagram as a picture outside the window: painted into any QPainter
// (printer, clipboard image), or written as a PNG image at a chosen scale, an
// SVG drawing or a PDF document. Vector output keeps box texts as text, so
// they can be searched. Sizes are in diagram pixels; one diagram pixel is
// 1/96 inch on paper.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

#include "diagram/diagram_drawing.h"
#include "diagram/diagram_metrics.h"
#include "diagram/draw_context.h"
#include "diagram_qt/label_widths.h"

enum class TPictureFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension (any letter case).
std::optional<TPictureFormat> PictureFormatOfPath(const QString& path);

// Diagram pixels per inch of a picture on paper or in a PDF.
inline constexpr int kPictureDotsPerInch = 96;

// The whole drawing: from the origin to a margin beyond its last element, as
// large as the surface that shows it at 100%.
QRect WholeDrawingArea(const TDiagramDrawing& drawing, const TDiagramMetrics& metrics);

// What to draw: the drawing, the font its labels were measured with, the
// area in diagram pixels and the scale (2 = twice the size).
struct TPicture {
  const TDiagramDrawing* Drawing = nullptr;
  QFont Font;
  QRect Area;
  double Scale = 1.0;
  QSize OutputSize() const;  // Area's size at Scale, at least 1 x 1
};

// The font's size in pixels, so that texts keep the size they have on screen
// whatever the resolution of the device they are drawn on.
QFont PixelSizedFont(const QFont& font);

// Paints the picture's area on white, with the area's top-left corner at the
// painter's origin, at the painter's current transform times Scale.
void PaintPicture(QPainter& painter, const TPicture& picture);

// The most pixels a bitmap of the drawing may have (about 1 GiB of memory);
// larger PNG pictures and copies are refused with their size.
inline constexpr qint64 kMaxPicturePixels = qint64{1} << 28;

// A null image when the picture is too large for one image.
QImage PictureImage(const TPicture& picture);
QByteArray PictureSvg(const TPicture& picture);

// How a picture larger than a page is printed: shrunk onto one page, or cut
// into pages at its real size (rows of pages, left to right, top to bottom).
enum class TPrintLayout { FitToPage, Tile };

// The parts of `area` that go on each page, in diagram pixels. A page holds
// `page` diagram pixels; a fitted area goes on one page whole.
std::vector<QRect> PrintPages(const QRect& area, QSizeF page, TPrintLayout layout);

// Prints the picture on a printer or PDF writer, page after page. The
// picture's Scale is not used: a diagram pixel is 1/96 inch, smaller when a
// fitted picture has to shrink. False when the device cannot be painted on.
bool PrintPicture(QPagedPaintDevice& device, const TPicture& picture, TPrintLayout layout);

// Writes the picture in the format; on failure gives the reason in `error`.
bool WritePicture(const QString& path, TPictureFormat format, const TPicture& picture, QString& error);
