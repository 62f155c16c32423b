#include "diagram_qt/display_text.h"

#include <QStringDecoder>

QString DisplayText(std::string_view bytes) {
  QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(view);
  if (!decoder.hasError()) return text;
  return QString::fromLatin1(view);
}
