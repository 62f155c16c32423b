// Makes writes really fail, without root and without filling a disk: `work`
// runs in a child process whose files cannot grow past `limit` bytes, and
// with SIGXFSZ ignored a write beyond that fails with EFBIG, just as a full
// disk fails with ENOSPC. The child's exit code carries its findings back.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

// The child's exit code (0 to 255), or -1 when it did not exit normally.
template <class Work>
int RunWithFileSizeLimit(rlim_t limit, Work work) {
  std::fflush(nullptr);  // no buffered output is written twice
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit bound{limit, limit};
    if (::setrlimit(RLIMIT_FSIZE, &bound) != 0) ::_exit(255);
    const int code = work();
    std::fflush(nullptr);
    ::_exit(code);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}
