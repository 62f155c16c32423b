// The theory (assumptions and issues) and its file format: a small tag
// language rooted at "<KORVEL>", lines ended by CR LF, texts not escaped.
//
// The reader is lenient (tags are found by searching; line structure and
// blanks around tags are ignored) and never reports an error: a sentence it
// cannot read ends its section. The writer produces the normal form byte for
// byte. File system errors are reported by TKorvelFile as TKorvelFileError.
#pragma once

#include <atomic>
#include <cstddef>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

#include "logic/sentence.h"

// Blocks nested deeper than this are unreadable (the read of that sentence
// fails), so hostile files cannot exhaust the stack. Texts parsed while
// reading nest only as deep as their block leaves room for, so a theory read
// is always written back in a form that reads again.
inline constexpr int kMaxReadDepth = 1000;

// A file that cannot be opened, read or written; what() names the path and the
// reason given by the system.
class TKorvelFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // "ACTION PATH: REASON", with the parts also kept apart so that a caller
  // can print the path its own way (escaped for a terminal, say).
  TKorvelFileError(const std::string& action, const std::string& path, const std::string& reason)
      : std::runtime_error(action + " " + path + ": " + reason),
        Action(action),
        Path(path),
        Reason(reason) {}
  std::string Action;  // "cannot read" or "cannot write"; empty for a whole message
  std::string Path;
  std::string Reason;
};

class TKorvelTheory {
 public:
  std::string Text;  // file text after the first "<THEORY>"; input of ReadTheory
  TListOfKorvelSentences Assumptions;
  TListOfKorvelSentences Issues;
};

// The largest theory file read, in bytes up to the first NUL (which ends the
// text). Larger input is refused with a clear error instead of filling memory.
inline constexpr size_t kMaxTheoryFileBytes = size_t{256} << 20;

class TKorvelFile {
 public:
  std::string Text;  // "<KORVEL>" ... "</KORVEL>" CR LF

  // Replaces Text with the file's first KORVEL block; keeps Text when the
  // file holds none. Throws TKorvelFileError when the file cannot be read.
  void LoadFromFile(const std::string& path);
  // The same from an open stream (standard input, say), read in chunks up to
  // the first NUL; `name` is what error messages call it. Throws
  // TKorvelFileError when reading fails or the text exceeds `limit` bytes.
  void LoadFromStream(std::istream& in, const std::string& name,
                      size_t limit = kMaxTheoryFileBytes);
  // The same from text already in memory (lines in CR LF, LF or CR).
  void LoadFromText(std::string_view content);
  // Writes Text followed by CR LF, replacing the file atomically (a temporary
  // file beside it, renamed over it). A symbolic link is written through: the
  // file it leads to is replaced and the link stays. An existing file keeps
  // its permission bits. Throws TKorvelFileError on failure and leaves any
  // existing file untouched.
  void SaveToFile(const std::string& path) const;
  // The bytes SaveToFile writes.
  std::string FileBytes() const { return Text + "\r\n"; }
};

// A file's bytes up to its first NUL (which ends the text), read in chunks;
// throws TKorvelFileError when reading fails or there are more than `limit`.
std::string ReadTheoryFileBytes(const std::string& path, size_t limit = kMaxTheoryFileBytes);
std::string ReadTheoryStreamBytes(std::istream& in, const std::string& name,
                                  size_t limit = kMaxTheoryFileBytes);

// Joins the lines of a file's content (ended by CR LF, LF or CR; a NUL ends
// the text) with CR LF after each line.
std::string JoinLinesWithCrLf(std::string_view content);

// If the tag occurs: the text after its first occurrence, trimmed; otherwise
// the whole text unchanged. The view points into `text`.
struct TTagSearch {
  bool Found = false;
  std::string_view Rest;
};
TTagSearch TextAfterTag(std::string_view text, std::string_view tag);

void TakeTheoryText(TKorvelTheory& theory, const TKorvelFile& file);

// Where reading stopped: the first sentence block of a section that could
// not be read (or whose section has no end tag), as an offset into the
// theory's Text, and how many sentence blocks were read in all.
struct TReadStop {
  bool Stopped = false;
  size_t Offset = 0;
  size_t SentencesRead = 0;
};

// How far a reading has come, watched from another thread, and a request to
// end it early: a reading that was stopped leaves an incomplete theory, which
// the caller throws away.
struct TReadProgress {
  std::atomic<size_t> Bytes{0};      // how far into the theory's text
  std::atomic<size_t> Sentences{0};  // top-level sentences read so far
  std::atomic<bool> Stop{false};
};

// Fills Assumptions and Issues from theory.Text. With parseSentences the text
// of every elementary sentence read is passed through the sentence parser.
// `stop`, when given, learns where reading stopped; what is read is the same.
// `progress`, when given, is kept up to date and can end the reading early.
void ReadTheory(TKorvelTheory& theory, bool parseSentences = true, TReadStop* stop = nullptr,
                TReadProgress* progress = nullptr);
// The same, with each section read in at most `parts` stretches at once (0:
// as many as its size makes worthwhile); what is read, and where reading
// stopped, are the same however many.
void ReadTheoryInParts(TKorvelTheory& theory, bool parseSentences, size_t parts, TReadStop* stop = nullptr,
                       TReadProgress* progress = nullptr);

struct TReadResult {
  bool Success = false;
  SentencePtr Sentence;
  std::string_view Rest;  // empty after a failure
};
TReadResult ReadSentence(std::string_view text, bool parseSentences = true);

// Sets IsAssumption on every part of an assumption whose text is an
// assumption's text (the first object collected for each text).
void MarkContainedAssumptions(const TListOfKorvelSentences& assumptions);

// Removes later duplicates from both lists and renders the theory in normal form.
void WriteTheory(TKorvelTheory& theory, TKorvelFile& file);
// Appends a sentence block to `prefix`.
void WriteSentence(std::string& prefix, const TKorvelSentence& sentence);
std::string WriteSentence(std::string prefix, const SentencePtr& sentence);

// The whole cycle of reading a file's text into a fresh theory and writing it
// back in normal form, as the program does after every change.
struct TNormalizedTheory {
  TKorvelFile File;
  TKorvelTheory Theory;
};
// `stop`, when given, notes where reading the theory stopped, if it did.
TNormalizedTheory ReadAndNormalize(const TKorvelFile& loaded, bool parseSentences,
                                   TReadProgress* progress = nullptr, TReadStop* stop = nullptr);
