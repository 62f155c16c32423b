// How a theory file is written: by the document's Save and by a refresh's
// build, which writes the scratch file on its own thread.
#pragma once

#include <string>

#include "logic/theory.h"

// Writes a theory file as a whole: afterwards the file holds either all of
// the new bytes or its old content. Throws TKorvelFileError on failure.
class TTheoryFileWriter {
 public:
  virtual ~TTheoryFileWriter() = default;
  virtual void Write(const TKorvelFile& file, const std::string& path) = 0;
};

// The writer of the core: a temporary file beside the target, renamed over it,
// through symbolic links and keeping the target's permissions.
class TAtomicTheoryFileWriter : public TTheoryFileWriter {
 public:
  void Write(const TKorvelFile& file, const std::string& path) override { file.SaveToFile(path); }
};
