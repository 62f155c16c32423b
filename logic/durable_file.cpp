#include "logic/durable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

bool WriteAllBytes(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {  // no progress and no reason: call it what it is
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

void SyncFolderOf(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

std::string ReplaceFileDurably(const std::string& target, std::string_view bytes, int keepMode) {
  std::random_device random;
  const std::string temporary = target + ".tmp" + std::to_string(random());
  const int descriptor =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(0666));
  if (descriptor < 0) return std::strerror(errno);
  auto fail = [&](int error) {
    if (descriptor >= 0) ::close(descriptor);
    ::unlink(temporary.c_str());
    return std::string(std::strerror(error));
  };
  if (!WriteAllBytes(descriptor, bytes)) return fail(errno);
  // The creation mask may have narrowed the bits; an existing target's win.
  if (keepMode >= 0 && ::fchmod(descriptor, static_cast<mode_t>(keepMode & 07777)) != 0) return fail(errno);
  if (::fsync(descriptor) != 0) return fail(errno);
  if (::close(descriptor) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return std::strerror(error);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return std::strerror(error);
  }
  SyncFolderOf(target);
  return {};
}
