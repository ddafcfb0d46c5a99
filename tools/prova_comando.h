// Running the real `scenario` program from the tests.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct risultato_comando {
  int stato = -1;  // exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

inline std::string leggi_tutto(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void scrivi_tutto(const std::filesystem::path& p, const std::string& testo) {
  std::ofstream(p, std::ios::binary) << testo;
}

// Runs the program with `argomenti` in the directory `dove`, with TMPDIR set
// to `temporanea` (so that the test can see what the program leaves there).
// Standard output and error are caught in files inside `temporanea`'s parent.
inline risultato_comando esegui_scenario(const std::vector<std::string>& argomenti,
                                         const std::filesystem::path& dove,
                                         const std::filesystem::path& temporanea,
                                         const std::filesystem::path& uscite) {
  const std::filesystem::path file_out = uscite / "stdout.txt", file_err = uscite / "stderr.txt";
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int o = ::open(file_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = ::open(file_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(dove.c_str()) != 0)
      ::_exit(127);
    ::setenv("TMPDIR", temporanea.c_str(), 1);
    std::vector<char*> av;
    av.push_back(const_cast<char*>(SCENARIO));
    for (const std::string& a : argomenti) av.push_back(const_cast<char*>(a.c_str()));
    av.push_back(nullptr);
    ::execv(SCENARIO, av.data());
    ::_exit(127);
  }
  int stato = 0;
  ::waitpid(pid, &stato, 0);
  risultato_comando r;
  r.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
  r.out = leggi_tutto(file_out);
  r.err = leggi_tutto(file_err);
  return r;
}
