#include "logic/theory_read_check.h"

#include "logic/text_util.h"
#include "logic/theory.h"

namespace {

// The position in `content` of a position in JoinLinesWithCrLf(content),
// which ends every line with CR LF whatever its own line end was.
size_t ContentOffset(std::string_view content, size_t joinedOffset) {
  size_t start = 0;
  size_t joined = 0;
  while (start < content.size()) {
    size_t end = content.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = content.size();
    const size_t length = end - start;
    if (joinedOffset <= joined + length) return start + (joinedOffset - joined);
    size_t next = end;
    if (end < content.size()) {
      next = end + 1;
      if (content[end] == '\r' && next < content.size() && content[next] == '\n') ++next;
    }
    if (joinedOffset < joined + length + 2) return std::min(end + (joinedOffset - joined - length), next);
    joined += length + 2;
    start = next;
  }
  return content.size();
}

}  // namespace

TTheoryReadCheck CheckTheoryRead(std::string_view content) {
  const size_t nul = content.find('\0');
  if (nul != std::string_view::npos) content = content.substr(0, nul);
  TTheoryReadCheck check;
  const std::string joined = JoinLinesWithCrLf(content);
  const std::string_view text = Trim(joined);
  if (text.empty()) return check;
  const size_t first = text.find("<KORVEL>");
  if (first == std::string_view::npos) {
    check.Kind = TTheoryReadCheck::TKind::NoTheory;
    return check;
  }
  const size_t blockStart = static_cast<size_t>(text.data() - joined.data()) + first;
  const size_t last = text.find("</KORVEL>");
  if (last == std::string_view::npos || last <= first) {
    // A block without its end (a file cut short): nothing of it is read.
    check.Kind = TTheoryReadCheck::TKind::Partial;
    check.StopByte = ContentOffset(content, blockStart) + 1;
    return check;
  }
  TKorvelFile file;
  file.LoadFromText(content);
  TKorvelTheory theory;
  TakeTheoryText(theory, file);
  // The theory's text is the block from after "<THEORY>" and its blanks on.
  size_t theoryStart = file.Text.find("<THEORY>");
  if (theoryStart == std::string::npos) {
    theoryStart = 0;
  } else {
    theoryStart += 8;
    while (theoryStart < file.Text.size() && IsBlank(file.Text[theoryStart])) ++theoryStart;
  }
  TReadStop stop;
  ReadTheory(theory, false, &stop);  // parsing never decides whether a block reads
  check.SentencesRead = stop.SentencesRead;
  if (stop.Stopped) {
    check.Kind = TTheoryReadCheck::TKind::Partial;
    check.StopByte = ContentOffset(content, blockStart + theoryStart + stop.Offset) + 1;
  }
  return check;
}

TTheoryReadCheck CheckTheoryRead(std::string_view content, const TKorvelFile& loaded, const TReadStop& stop) {
  // Loading found a block from "<KORVEL>" to "</KORVEL>" exactly when the
  // second look would read one; reading stops at the same sentence whether
  // or not it parses the texts.
  if (loaded.Text.empty() || stop.Stopped) return CheckTheoryRead(content);
  TTheoryReadCheck check;
  check.SentencesRead = stop.SentencesRead;
  return check;
}

std::string TheoryReadWarning(const TTheoryReadCheck& check, const std::string& name) {
  switch (check.Kind) {
    case TTheoryReadCheck::TKind::Whole:
      return {};
    case TTheoryReadCheck::TKind::NoTheory:
      return name + " holds no Korvel theory";
    case TTheoryReadCheck::TKind::Partial:
      break;
  }
  return name + ": reading stopped at byte " + std::to_string(check.StopByte) + "; " +
         std::to_string(check.SentencesRead) +
         (check.SentencesRead == 1 ? " sentence was read" : " sentences were read");
}
