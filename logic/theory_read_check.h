// What the lenient reader made of a file's content, for telling the user: a
// file with no theory block at all, or one whose reading stopped at a
// sentence it could not read. The reader itself stays silent and reads the
// same; this is a second look at the same bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "logic/theory.h"

struct TTheoryReadCheck {
  enum class TKind {
    Whole,      // every sentence block was read (an empty file is one too)
    NoTheory,   // no "<KORVEL>" at all in a file that is not empty
    Partial,    // reading stopped before the end
  };
  TKind Kind = TKind::Whole;
  size_t StopByte = 0;       // 1-based position in the content where reading stopped
  size_t SentencesRead = 0;  // sentence blocks read in both sections
};

TTheoryReadCheck CheckTheoryRead(std::string_view content);

// The same told from a reading of the content already made: `loaded` is the
// content loaded (TKorvelFile::LoadFromText) and `stop` what reading its
// theory noted. A file read whole needs nothing more; any other takes the
// second look, which is then quick or rare.
TTheoryReadCheck CheckTheoryRead(std::string_view content, const TKorvelFile& loaded, const TReadStop& stop);

// "NAME holds no Korvel theory" or "NAME: reading stopped at byte N; K
// sentences were read"; empty for a file read whole.
std::string TheoryReadWarning(const TTheoryReadCheck& check, const std::string& name);
