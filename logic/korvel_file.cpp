#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "logic/durable_file.h"
#include "logic/text_util.h"
#include "logic/theory.h"

namespace {

std::string SystemReason() { return std::strerror(errno); }

// How many bytes a stream holds from where it is to its end, where it can
// tell (a file); 0 where it cannot (a pipe, a device), which it is left as
// it was for.
size_t RemainingBytes(std::istream& in) {
  const std::istream::pos_type here = in.tellg();
  if (here == std::istream::pos_type(-1)) {
    in.clear();
    return 0;
  }
  in.seekg(0, std::ios::end);
  const std::istream::pos_type end = in.tellg();
  in.clear();
  in.seekg(here);
  return end == std::istream::pos_type(-1) || end < here ? 0 : static_cast<size_t>(end - here);
}

std::string LimitText(size_t limit) {
  if (limit >= (size_t{1} << 20) && limit % (size_t{1} << 20) == 0)
    return std::to_string(limit >> 20) + " MiB";
  return std::to_string(limit) + " bytes";
}

// Whether every line of the text ends in CR LF: each LF follows a CR, no CR
// stands alone, and the text ends with a line's end (or is empty).
bool EndsEveryLineWithCrLf(std::string_view content) {
  if (content.empty()) return true;
  if (content.back() != '\n') return false;
  const char* const data = content.data();
  size_t lineFeeds = 0;
  for (size_t at = 0; at < content.size(); ++at) {
    const auto* lineFeed = static_cast<const char*>(std::memchr(data + at, '\n', content.size() - at));
    if (lineFeed == nullptr) break;
    at = static_cast<size_t>(lineFeed - data);
    if (at == 0 || data[at - 1] != '\r') return false;
    ++lineFeeds;
  }
  return static_cast<size_t>(std::count(content.begin(), content.end(), '\r')) == lineFeeds;
}

}  // namespace

std::string JoinLinesWithCrLf(std::string_view content) {
  size_t nul = content.find('\0');
  if (nul != std::string_view::npos) content = content.substr(0, nul);
  // A text written by this program is in that form already: copied whole.
  if (EndsEveryLineWithCrLf(content)) return std::string(content);
  std::string joined;
  joined.reserve(content.size() + content.size() / 16 + 2);
  const char* const data = content.data();
  size_t start = 0;
  while (start < content.size()) {
    // A line ends at its first CR or LF: the LF is looked for first and the
    // CR only before it, each with memchr, which a file of megabytes needs.
    const auto* lineFeed = static_cast<const char*>(std::memchr(data + start, '\n', content.size() - start));
    const size_t lineFeedAt = lineFeed ? static_cast<size_t>(lineFeed - data) : content.size();
    const auto* carriageReturn = static_cast<const char*>(std::memchr(data + start, '\r', lineFeedAt - start));
    const size_t end = carriageReturn ? static_cast<size_t>(carriageReturn - data)
                       : lineFeed        ? lineFeedAt
                                         : std::string_view::npos;
    if (end == std::string_view::npos) {
      joined.append(content.substr(start));
      joined += "\r\n";
      break;
    }
    joined.append(content.substr(start, end - start));
    joined += "\r\n";
    start = end + 1;
    if (content[end] == '\r' && start < content.size() && content[start] == '\n') ++start;
  }
  return joined;
}

void TKorvelFile::LoadFromText(std::string_view content) {
  std::string joined = JoinLinesWithCrLf(content);
  const std::string_view text = Trim(joined);
  const size_t first = text.find("<KORVEL>");
  const size_t last = text.find("</KORVEL>");
  if (first == std::string_view::npos || last == std::string_view::npos || last <= first) return;
  // The text from the opening to the closing tag, cut out of the joined
  // lines in place: a large file is not copied once more.
  const size_t begin = static_cast<size_t>(text.data() - joined.data()) + first;
  joined.resize(begin + last + 9 - first);
  joined.erase(0, begin);
  joined += "\r\n";
  Text = std::move(joined);
}

std::string ReadTheoryStreamBytes(std::istream& in, const std::string& name, size_t limit) {
  // Read in chunks and stop at the first NUL, which ends the text anyway, so
  // an endless source such as /dev/zero ends at once.
  std::string content;
  // The chunks are read straight into the text, which is made as large as
  // the source says it is at once (a file of megabytes is not moved as it
  // grows); a source larger than the limit is read as it comes until then.
  const size_t expected = RemainingBytes(in);
  const bool sized = expected > 0 && expected <= limit;
  if (sized) content.reserve(expected + 1);
  constexpr size_t kChunk = 65536;
  for (;;) {
    const size_t before = content.size();
    // Within the room made, the last chunk reads only up to its end (the
    // byte past the file's size finds the end), so the text never grows.
    const size_t room = content.capacity() - before;
    const size_t chunk = sized && room > 0 ? std::min(kChunk, room) : kChunk;
    content.resize(before + chunk);
    in.read(content.data() + before, static_cast<std::streamsize>(chunk));
    const size_t got = static_cast<size_t>(in.gcount());
    const std::string_view piece(content.data() + before, got);
    const size_t nul = piece.find('\0');
    const size_t keep = nul == std::string_view::npos ? got : nul;
    content.resize(before + keep);
    if (got == 0) break;
    if (content.size() > limit)
      throw TKorvelFileError("cannot read", name,
                             "larger than " + LimitText(limit) + ", the largest theory file read");
    if (nul != std::string_view::npos) break;
  }
  if (in.bad()) throw TKorvelFileError("cannot read", name, SystemReason());
  return content;
}

std::string ReadTheoryFileBytes(const std::string& path, size_t limit) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw TKorvelFileError("cannot read", path, "Is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TKorvelFileError("cannot read", path, SystemReason());
  return ReadTheoryStreamBytes(in, path, limit);
}

void TKorvelFile::LoadFromFile(const std::string& path) { LoadFromText(ReadTheoryFileBytes(path)); }

void TKorvelFile::LoadFromStream(std::istream& in, const std::string& name, size_t limit) {
  LoadFromText(ReadTheoryStreamBytes(in, name, limit));
}

namespace {

// The file a path finally names: symbolic links followed one by one (a link
// to a file that does not exist yet names that file). Loops end after 40
// links, as the system's own resolution does.
std::filesystem::path FollowLinks(std::filesystem::path target, const std::string& path) {
  namespace fs = std::filesystem;
  for (int links = 0;; ++links) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    if (links == 40) throw TKorvelFileError("cannot write", path, "Too many levels of symbolic links");
    fs::path next = fs::read_symlink(target, ec);
    if (ec) throw TKorvelFileError("cannot write", path, ec.message());
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
}

}  // namespace

void TKorvelFile::SaveToFile(const std::string& path) const {
  namespace fs = std::filesystem;
  const fs::path target = FollowLinks(fs::path(path), path);
  std::error_code ec;
  // A write-protected file stays as it is, as it would with a plain write.
  auto status = fs::status(target, ec);
  const bool exists = !ec && fs::exists(status);
  if (exists) {
    if (fs::is_directory(status)) throw TKorvelFileError("cannot write", path, "Is a directory");
    if ((status.permissions() & (fs::perms::owner_write | fs::perms::group_write |
                                 fs::perms::others_write)) == fs::perms::none)
      throw TKorvelFileError("cannot write", path, "Permission denied");
  }
  // The new file takes the old one's permission bits (a private 0600 file
  // stays private).
  const int keepMode = exists ? static_cast<int>(status.permissions() & fs::perms::mask) : -1;
  const std::string reason = ReplaceFileDurably(target.string(), FileBytes(), keepMode);
  if (!reason.empty()) throw TKorvelFileError("cannot write", path, reason);
}
