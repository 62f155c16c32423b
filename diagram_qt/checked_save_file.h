// The end of a whole-file write through QSaveFile, checked at every step.
// QSaveFile::commit() flushes its buffer itself and then renames even when
// that last write failed, so the buffer is flushed and checked here first;
// the file is forced to the disk before the rename and its folder after it.
#pragma once

#include <QString>

class QSaveFile;

// Flushes, syncs and commits `file`. On failure the target keeps its old
// content, the new file is dropped and `reason` says why.
bool CommitCheckedSaveFile(QSaveFile& file, QString& reason);
