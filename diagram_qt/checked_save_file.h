// The end of a whole-file write through QSaveFile, checked at every step.
// QSaveFile::commit() flushes its buffer itself and then renames even when
// that last write failed, so the buffer is flushed and checked here first;
// the file is forced to the disk before the rename and its folder after it.
#pragma once

#include <QString>

class QSaveFile;

// Writes all of the bytes, going on after a short write (a full disk gives a
// short write first and the error only with the next one); false with the
// reason when a write fails. Callers open the file unbuffered and write whole
// files from memory this way: a buffer flushed later, or a stream writing
// for them, may lose the reason or the bytes a short write left over.
bool WriteAllToSaveFile(QSaveFile& file, const char* data, qint64 size, QString& reason);

// Flushes, syncs and commits `file`. On failure the target keeps its old
// content, the new file is dropped and `reason` says why.
bool CommitCheckedSaveFile(QSaveFile& file, QString& reason);
