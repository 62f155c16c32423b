// korvel's standard output as a stream that notices failed writes.
//
// std::cout reports a failed write only as a state bit and loses the reason.
// TFileDescriptorBuffer writes to a file descriptor itself and keeps the
// first error, so that korvel can end with "korvel: write error: REASON" and
// exit 1 (a full disk, a closed descriptor) or, when the reader of a pipe has
// gone, end quietly as cat does.
#pragma once

#include <array>
#include <iosfwd>
#include <streambuf>

class TFileDescriptorBuffer : public std::streambuf {
 public:
  explicit TFileDescriptorBuffer(int descriptor);
  // The errno of the first failed write; 0 while every write succeeded.
  int Error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool Flush();

  int descriptor_;
  int error_ = 0;
  std::array<char, 65536> buffer_{};
};

// Flushes the output after a command has run and turns a failed write into
// korvel's answer: for a broken pipe the process ends by SIGPIPE without a
// message (as cat does); for other errors "korvel: write error: REASON" goes
// to `err` and the exit code becomes 1. Otherwise the command's own code.
inline constexpr int kWriteErrorExitCode = 1;
int FinishOutput(std::ostream& out, const TFileDescriptorBuffer& buffer, std::ostream& err,
                 int code);
