#include "diagram_qt/checked_save_file.h"

#include <unistd.h>

#include <QSaveFile>
#include <cerrno>
#include <cstring>

#include "logic/durable_file.h"

bool WriteAllToSaveFile(QSaveFile& file, const char* data, qint64 size, QString& reason) {
  while (size > 0) {
    const qint64 written = file.write(data, size);
    if (written <= 0) {
      reason = file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("nothing could be written");
      file.cancelWriting();
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

bool CommitCheckedSaveFile(QSaveFile& file, QString& reason) {
  auto fail = [&](const QString& why) {
    reason = why;
    file.cancelWriting();
    file.commit();  // after cancelWriting this only drops the new file
    return false;
  };
  if (!file.flush() || file.error() != QFileDevice::NoError) return fail(file.errorString());
  if (file.handle() >= 0 && ::fsync(file.handle()) != 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
  if (!file.commit()) {
    reason = file.errorString();
    return false;
  }
  SyncFolderOf(file.fileName().toStdString());
  return true;
}
