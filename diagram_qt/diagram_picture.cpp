#include "diagram_qt/diagram_picture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPageSize>
#include <QPaintEngine>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>
#include <memory>
#include <string>

#include "diagram_qt/checked_save_file.h"
#include "diagram_qt/diagram_painter.h"

std::optional<TPictureFormat> PictureFormatOfPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return TPictureFormat::Png;
  if (suffix == QLatin1String("svg")) return TPictureFormat::Svg;
  if (suffix == QLatin1String("pdf")) return TPictureFormat::Pdf;
  return std::nullopt;
}

QRect WholeDrawingArea(const TDiagramDrawing& drawing, const TDiagramMetrics& metrics) {
  return QRect(0, 0, drawing.Width() + metrics.LeftMargin, drawing.Height() + metrics.TopMargin);
}

QSize TPicture::OutputSize() const {
  return QSize(std::max(1, static_cast<int>(std::ceil(Area.width() * Scale - 1e-9))),
               std::max(1, static_cast<int>(std::ceil(Area.height() * Scale - 1e-9))));
}

QFont PixelSizedFont(const QFont& font) {
  if (font.pixelSize() > 0) return font;
  QFont sized = font;
  sized.setPixelSize(QFontInfo(font).pixelSize());
  return sized;
}

void PaintPicture(QPainter& painter, const TPicture& picture) {
  if (picture.Drawing == nullptr) return;
  const TDiagramDrawing& drawing = *picture.Drawing;
  const QRect area = picture.Area;
  painter.save();
  painter.scale(picture.Scale, picture.Scale);
  painter.translate(-area.topLeft());
  painter.fillRect(area, Qt::white);
  painter.setClipRect(area, Qt::IntersectClip);
  if (painter.deviceTransform().type() > QTransform::TxTranslate) painter.setRenderHint(QPainter::Antialiasing);
  QFont font = PixelSizedFont(picture.Font);
  // A PDF keeps glyphs, not letters: without ligatures "fl" stays two letters
  // that a search finds.
  if (painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Pdf)
    font.setStyleStrategy(QFont::PreferNoShaping);
  // Italic text may lean a pixel or two past its label's bounds.
  const QRect reach = area.adjusted(-4, -2, 4, 2);
  for (const TDiagramElement& element : drawing.Elements) {
    const TBounds& b = element.Bounds;
    if (b.Left >= reach.right() + 1 || b.Right() <= reach.left() || b.Top >= reach.bottom() + 1 ||
        b.Bottom() <= reach.top())
      continue;
    PaintElement(painter, drawing, element, font);
  }
  painter.restore();
}

QImage PictureImage(const TPicture& picture) {
  // A bitmap is refused before any memory is asked for: an allocation that
  // large may end the process rather than fail.
  const QSize size = picture.OutputSize();
  if (size.isEmpty() ||
      static_cast<qint64>(size.width()) * size.height() > kMaxPicturePixels)
    return QImage();
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) return image;  // more memory than an image may take
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintPicture(painter, picture);
  return image;
}

namespace {

bool RenderSvg(QIODevice& device, const TPicture& picture) {
  QSvgGenerator generator;
  generator.setOutputDevice(&device);
  const QSize size = picture.OutputSize();
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(kPictureDotsPerInch);
  generator.setTitle(QStringLiteral("Argument diagram"));
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  PaintPicture(painter, picture);
  return painter.end();
}

bool RenderPdf(QIODevice& device, const TPicture& picture) {
  QPdfWriter writer(&device);
  writer.setResolution(kPictureDotsPerInch);
  writer.setCreator(QStringLiteral("Pelmora"));
  writer.setTitle(QStringLiteral("Argument diagram"));
  const QSize size = picture.OutputSize();
  writer.setPageSize(QPageSize(QSizeF(static_cast<double>(size.width()) / kPictureDotsPerInch,
                                      static_cast<double>(size.height()) / kPictureDotsPerInch),
                               QPageSize::Inch, QString(), QPageSize::ExactMatch));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  PaintPicture(painter, picture);
  return painter.end();
}

}  // namespace

QByteArray PictureSvg(const TPicture& picture) {
  QByteArray svg;
  QBuffer buffer(&svg);
  buffer.open(QIODevice::WriteOnly);
  RenderSvg(buffer, picture);
  return svg;
}

bool WritePicture(const QString& path, TPictureFormat format, const TPicture& picture, QString& error) {
  // The picture is made in memory and written whole through a file beside
  // the target, so that a picture that cannot be written leaves the old
  // file as it was.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  if (format == TPictureFormat::Png) {
    const QImage image = PictureImage(picture);
    if (image.isNull()) {
      const QSize size = picture.OutputSize();
      error = QStringLiteral("cannot write %1: a picture of %2 x %3 pixels is too large")
                  .arg(path).arg(size.width()).arg(size.height());
      return false;
    }
    drawn = image.save(&buffer, "PNG");
  } else if (format == TPictureFormat::Pdf) {
    drawn = RenderPdf(buffer, picture);
  } else {
    drawn = RenderSvg(buffer, picture);
  }
  buffer.close();
  if (!drawn) {
    error = QStringLiteral("cannot write %1: the picture could not be drawn").arg(path);
    return false;
  }
  QSaveFile file(path);
  QString reason;
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    reason = file.errorString();
  } else if (WriteAllToSaveFile(file, bytes.constData(), bytes.size(), reason) &&
             CommitCheckedSaveFile(file, reason)) {
    return true;
  }
  error = QStringLiteral("cannot write %1: %2").arg(path, reason);
  return false;
}

std::vector<QRect> PrintPages(const QRect& area, QSizeF page, TPrintLayout layout) {
  if (area.isEmpty() || page.width() < 1 || page.height() < 1) return {};
  if (layout == TPrintLayout::FitToPage) return {area};
  const int pageWidth = static_cast<int>(std::floor(page.width()));
  const int pageHeight = static_cast<int>(std::floor(page.height()));
  std::vector<QRect> pages;
  for (int top = area.top(); top <= area.bottom(); top += pageHeight)
    for (int left = area.left(); left <= area.right(); left += pageWidth)
      pages.push_back(QRect(left, top, pageWidth, pageHeight).intersected(area));
  return pages;
}

bool PrintPicture(QPagedPaintDevice& device, const TPicture& picture, TPrintLayout layout) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  // Device pixels per diagram pixel at the real size.
  const double dotsX = static_cast<double>(device.logicalDpiX()) / kPictureDotsPerInch;
  const double dotsY = static_cast<double>(device.logicalDpiY()) / kPictureDotsPerInch;
  const QSizeF page(device.width() / dotsX, device.height() / dotsY);
  const std::vector<QRect> pages = PrintPages(picture.Area, page, layout);
  double shrink = 1.0;
  if (layout == TPrintLayout::FitToPage && !picture.Area.isEmpty())
    shrink = std::min({1.0, page.width() / picture.Area.width(), page.height() / picture.Area.height()});
  for (size_t i = 0; i < pages.size(); ++i) {
    if (i > 0 && !device.newPage()) return false;
    TPicture part = picture;
    part.Area = pages[i];
    part.Scale = 1.0;
    painter.save();
    painter.scale(dotsX * shrink, dotsY * shrink);
    PaintPicture(painter, part);
    painter.restore();
  }
  return painter.end();
}
