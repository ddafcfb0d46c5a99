// Programs the tests run beside the tool: found along PATH, and run with a
// time limit.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// `programma` found along PATH; empty when it is not installed.
inline std::filesystem::path cerca_programma(const std::string& programma) {
  const char* path = std::getenv("PATH");
  std::string elenco = path ? path : "/usr/bin:/bin";
  std::size_t i = 0;
  while (i <= elenco.size()) {
    const std::size_t fine = std::min(elenco.find(':', i), elenco.size());
    const std::filesystem::path p = std::filesystem::path(elenco.substr(i, fine - i)) / programma;
    if (::access(p.c_str(), X_OK) == 0) return p;
    i = fine + 1;
  }
  return {};
}

// Runs a program in a process group of its own, its output into `registro`;
// after `secondi` the whole group is ended. The exit status, or -1.
inline int esegui_con_limite(const std::vector<std::string>& argomenti, const std::filesystem::path& registro, int secondi) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    const int o = ::open(registro.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (o < 0 || ::dup2(o, 1) < 0 || ::dup2(o, 2) < 0) ::_exit(127);
    std::vector<char*> av;
    for (const std::string& a : argomenti) av.push_back(const_cast<char*>(a.c_str()));
    av.push_back(nullptr);
    ::execv(av[0], av.data());
    ::_exit(127);
  }
  ::setpgid(pid, pid);
  int stato = -1;
  for (int i = 0; i < secondi * 20; ++i) {
    if (::waitpid(pid, &stato, WNOHANG) == pid) {
      ::kill(-pid, SIGKILL);  // helpers the browser left behind
      return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
    }
    ::usleep(50000);
  }
  ::kill(-pid, SIGKILL);
  ::waitpid(pid, &stato, 0);
  return -1;
}
