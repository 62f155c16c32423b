#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "text_util.h"
#include "theory.h"

namespace {

std::string SystemReason() { return std::strerror(errno); }

}  // namespace

std::string JoinLinesWithCrLf(std::string_view content) {
  size_t nul = content.find('\0');
  if (nul != std::string_view::npos) content = content.substr(0, nul);
  std::string joined;
  joined.reserve(content.size() + content.size() / 16 + 2);
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find_first_of("\r\n", start);
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
  const std::string joined = JoinLinesWithCrLf(content);
  std::string_view text = Trim(joined);
  size_t first = text.find("<KORVEL>");
  size_t last = text.find("</KORVEL>");
  if (first == std::string_view::npos || last == std::string_view::npos || last <= first) return;
  Text.assign(text.substr(first, last + 9 - first));
  Text += "\r\n";
}

void TKorvelFile::LoadFromFile(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw TKorvelFileError("cannot read " + path + ": Is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TKorvelFileError("cannot read " + path + ": " + SystemReason());
  LoadFromStream(in, path);
}

void TKorvelFile::LoadFromStream(std::istream& in, const std::string& name) {
  // Read in chunks and stop at the first NUL, which ends the text anyway, so
  // an endless source such as /dev/zero ends at once.
  std::string content;
  char chunk[65536];
  for (;;) {
    in.read(chunk, sizeof chunk);
    const size_t got = static_cast<size_t>(in.gcount());
    if (got == 0) break;
    const std::string_view piece(chunk, got);
    const size_t nul = piece.find('\0');
    const size_t keep = nul == std::string_view::npos ? got : nul;
    if (content.size() + keep > kMaxTheoryFileBytes)
      throw TKorvelFileError("cannot read " + name + ": larger than " +
                             std::to_string(kMaxTheoryFileBytes >> 20) + " MiB");
    content.append(chunk, keep);
    if (nul != std::string_view::npos) break;
  }
  if (in.bad()) throw TKorvelFileError("cannot read " + name + ": " + SystemReason());
  LoadFromText(content);
}

void TKorvelFile::SaveToFile(const std::string& path) const {
  namespace fs = std::filesystem;
  const fs::path target(path);
  std::error_code ec;
  // A write-protected file stays as it is, as it would with a plain write.
  auto status = fs::status(target, ec);
  if (!ec && fs::exists(status)) {
    if (fs::is_directory(status)) throw TKorvelFileError("cannot write " + path + ": Is a directory");
    if ((status.permissions() & (fs::perms::owner_write | fs::perms::group_write |
                                 fs::perms::others_write)) == fs::perms::none)
      throw TKorvelFileError("cannot write " + path + ": Permission denied");
  }
  std::random_device random;
  fs::path temporary = target;
  temporary += ".tmp" + std::to_string(random());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw TKorvelFileError("cannot write " + path + ": " + SystemReason());
    const std::string bytes = FileBytes();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      std::string reason = SystemReason();
      out.close();
      fs::remove(temporary, ec);
      throw TKorvelFileError("cannot write " + path + ": " + reason);
    }
  }
  fs::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw TKorvelFileError("cannot write " + path + ": " + ec.message());
  }
}
