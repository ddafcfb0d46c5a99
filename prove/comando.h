// Running the real `scenario` program from the tests.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "prove/cartella.h"

struct risultato_comando {
  int stato = -1;  // exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
  double secondi = 0;     // the run's wall time
  long kib_massimi = 0;   // the child's peak resident memory
};

inline std::string leggi_tutto(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void scrivi_tutto(const std::filesystem::path& p, const std::string& testo) {
  std::ofstream(p, std::ios::binary) << testo;
}

// Runs `programma` (the built tool unless another copy is named) with
// `argomenti` in the directory `dove`, with TMPDIR set to `temporanea` (so that
// the test can see what the program leaves there); `prepara` runs in the child
// just before the exec. Standard output and error are caught in files inside
// `uscite`. Measures the run's time and the child's peak memory.
inline risultato_comando esegui_scenario(const std::vector<std::string>& argomenti,
                                         const std::filesystem::path& dove,
                                         const std::filesystem::path& temporanea,
                                         const std::filesystem::path& uscite,
                                         const std::filesystem::path& programma = SCENARIO,
                                         const std::function<void()>& prepara = {}) {
  const std::filesystem::path file_out = uscite / "stdout.txt", file_err = uscite / "stderr.txt";
  const auto inizio = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int o = ::open(file_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = ::open(file_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(dove.c_str()) != 0)
      ::_exit(127);
    ::setenv("TMPDIR", temporanea.c_str(), 1);
    if (prepara) prepara();
    std::vector<char*> av{const_cast<char*>(programma.c_str())};
    for (const std::string& a : argomenti) av.push_back(const_cast<char*>(a.c_str()));
    av.push_back(nullptr);
    ::execv(programma.c_str(), av.data());
    ::_exit(127);
  }
  int stato = 0;
  rusage uso{};
  ::wait4(pid, &stato, 0, &uso);
  risultato_comando r;
  r.secondi = std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
  r.kib_massimi = uso.ru_maxrss;
  r.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
  r.out = leggi_tutto(file_out);
  r.err = leggi_tutto(file_err);
  return r;
}

// A private place for one test of the tool: the author's working directory,
// the tool's temporary directory and the captured output, kept apart.
class CartelleComando : public ::testing::Test {
 protected:
  cartella_prova radice;
  std::filesystem::path lavoro = radice.percorso / "lavoro";
  std::filesystem::path temporanea = radice.percorso / "tmp";
  std::filesystem::path uscite = radice.percorso / "uscite";

  void SetUp() override {
    for (const std::filesystem::path& d : {lavoro, temporanea, uscite}) std::filesystem::create_directory(d);
  }

  // `scenario ARGOMENTI` in the working directory. Every run, whatever its
  // way out, leaves the temporary directory empty.
  risultato_comando esegui(const std::vector<std::string>& argomenti) {
    risultato_comando r = esegui_scenario(argomenti, lavoro, temporanea, uscite);
    EXPECT_TRUE(std::filesystem::is_empty(temporanea)) << "a temporary file was left behind";
    return r;
  }

  // The author's two sources, P_linea.txt and P_12-.txt, in the working
  // directory, kept to check that no run touches them.
  std::string linea, treno;
  void scrivi_sorgenti(const std::string& testo_linea, const std::string& testo_treno) {
    linea = testo_linea;
    treno = testo_treno;
    scrivi_tutto(lavoro / "P_linea.txt", linea);
    scrivi_tutto(lavoro / "P_12-.txt", treno);
  }
  void sorgenti_intatte() {
    EXPECT_EQ(leggi_tutto(lavoro / "P_linea.txt"), linea) << "the line source was touched";
    EXPECT_EQ(leggi_tutto(lavoro / "P_12-.txt"), treno) << "the train source was touched";
  }
};
