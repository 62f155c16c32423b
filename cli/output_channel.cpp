#include "cli/output_channel.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ostream>
#include <string>

#include <unistd.h>

#include "cli/error_message.h"

TFileDescriptorBuffer::TFileDescriptorBuffer(int descriptor) : descriptor_(descriptor) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool TFileDescriptorBuffer::Flush() {
  const char* data = pbase();
  size_t left = static_cast<size_t>(pptr() - pbase());
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  if (error_ != 0) return false;  // after a failure nothing more is written
  while (left > 0) {
    const ssize_t written = ::write(descriptor_, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  return true;
}

TFileDescriptorBuffer::int_type TFileDescriptorBuffer::overflow(int_type c) {
  if (!Flush()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

int TFileDescriptorBuffer::sync() {
  return Flush() ? 0 : -1;
}

int FinishOutput(std::ostream& out, const TFileDescriptorBuffer& buffer, std::ostream& err,
                 int code) {
  out.flush();
  const int error = buffer.Error();
  if (error == 0) return code;
  if (error == EPIPE) {
    // The reader has gone: end as a program killed by SIGPIPE, silently.
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
    return 128 + SIGPIPE;
  }
  PrintError(err, std::string("write error: ") + std::strerror(error));
  return kWriteErrorExitCode;
}
