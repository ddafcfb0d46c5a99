// Steps a test's child process takes before it runs a program, to make a
// file-system failure real: run as root, a read-only directory refuses nothing.
#pragma once

#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

// Drops to the unprivileged uid and gid 65534 when run as root. The sanitizer
// build's suppressions file may lie where that uid cannot read it, so its
// setting goes; no library that needs it is loaded without a display.
inline void senza_privilegi() {
  if (::geteuid() != 0) return;
  ::unsetenv("LSAN_OPTIONS");
  if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
      ::setresuid(65534, 65534, 65534) != 0)
    ::_exit(126);
}

// Files may grow to `byte` at most; with SIGXFSZ ignored a write past it fails
// with EFBIG instead of killing the program.
inline void file_fino_a(rlim_t byte) {
  const rlimit limite{byte, byte};
  if (::setrlimit(RLIMIT_FSIZE, &limite) != 0) ::_exit(126);
  std::signal(SIGXFSZ, SIG_IGN);
}
