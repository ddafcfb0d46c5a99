// The packer program when the file system fails it: a directory it may not
// write, a write cut short part way, and two runs that must agree byte for byte.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>

#include "prove/cartella.h"
#include "prove/figlio.h"

namespace fs = std::filesystem;

namespace {

using istantanea = std::map<std::string, std::string>;  // file name -> bytes

std::string leggi(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Every file of `dir` with its bytes, the program itself left out.
istantanea fotografa(const fs::path& dir) {
  istantanea tutto;
  for (const fs::directory_entry& e : fs::directory_iterator(dir))
    if (e.path().filename() != "impacchetta") tutto[e.path().filename().string()] = leggi(e.path());
  return tutto;
}

const char* const sei_file[] = {
    "Corvana_Telmisa_739_note.txt", "Corvana_Telmisa_739_rallentamenti.txt",
    "Corvana_Telmisa_739_scheda_treno.txt", "Corvana_Telmisa_linea.dat",
    "Corvana_Telmisa_739.sim", "Corvana_Telmisa_739.dat"};

struct esito_programma {
  int stato = -1;  // exit status; -1 when the program did not exit normally
  std::string err;
};

// A private place: the program copied alone into `dir`, where it writes, and
// its standard error caught beside it. Both are open to every user, so that a
// child may run the program under another uid.
class ProgrammaInCartella : public ::testing::Test {
 protected:
  cartella_prova radice;
  fs::path dir = radice.percorso / "programma";
  fs::path file_err = radice.percorso / "stderr.txt";

  void SetUp() override {
    fs::permissions(radice.percorso, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
    fs::create_directory(dir);
    fs::copy_file(IMPACCHETTA, dir / "impacchetta");
  }
  void TearDown() override {
    // A directory left read-only would keep its files from being removed.
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
  }

  // Runs the program without a display; `prepara` runs in the child before the exec.
  esito_programma esegui(const std::function<void()>& prepara = [] {}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int e = ::open(file_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int nulla = ::open("/dev/null", O_WRONLY);
      if (e < 0 || nulla < 0 || ::dup2(e, 2) < 0 || ::dup2(nulla, 1) < 0) ::_exit(127);
      ::unsetenv("DISPLAY");
      prepara();
      const std::string programma = (dir / "impacchetta").string();
      ::execl(programma.c_str(), programma.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    int stato = 0;
    ::waitpid(pid, &stato, 0);
    return {WIFEXITED(stato) ? WEXITSTATUS(stato) : -1, leggi(file_err)};
  }

  // Older packed files of the same names, each with bytes no build writes.
  void file_vecchi() {
    for (const char* nome : sei_file) std::ofstream(dir / nome, std::ios::binary) << "vecchio " << nome;
  }
};

}  // namespace

TEST_F(ProgrammaInCartella, CartellaSenzaPermessoDiScritturaFermaConStato2) {
  file_vecchi();
  const istantanea prima = fotografa(dir);
  fs::permissions(dir, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);

  const esito_programma e = esegui(senza_privilegi);

  EXPECT_EQ(e.stato, 2) << e.err;
  // The first file the build writes is the line source: named, with the system's reason.
  EXPECT_NE(e.err.find((dir / "Corvana_Telmisa_linea.txt").string()), std::string::npos) << e.err;
  EXPECT_NE(e.err.find("Permission denied"), std::string::npos) << e.err;
  // And the way out: a copy of one's own, or the tool.
  EXPECT_NE(e.err.find("copy impacchetta and libfinestra_fltk.so into a folder of your own"), std::string::npos) << e.err;
  EXPECT_NE(e.err.find("scenario builtin -o DIR"), std::string::npos) << e.err;
  // Nothing made, nothing lost: the older files are all there, byte for byte.
  EXPECT_EQ(fotografa(dir), prima);
}

TEST_F(ProgrammaInCartella, DoveEInstallatoNonScriveNullaNeancheDaRoot) {
  // An installation's place in a prefix of its own, open to the program's
  // writes when run as root: it is the rule that refuses, not the permissions.
  const fs::path installato = radice.percorso / "prefisso/libexec/impacchetta";
  fs::create_directories(installato);
  fs::copy_file(dir / "impacchetta", installato / "impacchetta");
  dir = installato;
  for (const auto& [chi, prepara] : {std::pair<const char*, std::function<void()>>{"as it runs", [] {}},
                                     {"unprivileged", senza_privilegi}}) {
    const esito_programma e = esegui(prepara);
    EXPECT_EQ(e.stato, 2) << chi << "\n" << e.err;
    EXPECT_EQ(e.err.rfind("impacchetta: " + installato.string() +
                              ": nothing written: the packer writes its files beside itself, and this is where it "
                              "is installed\n",
                          0),
              0u)
        << chi << "\n" << e.err;
    EXPECT_NE(e.err.find("scenario builtin -o DIR"), std::string::npos) << chi << "\n" << e.err;
    EXPECT_TRUE(fotografa(dir).empty()) << chi << ": a file was left beside the installed packer";
  }
}

TEST_F(ProgrammaInCartella, ScritturaInterrottaLasciaIntattoIlFileVecchio) {
  // A normal run, for the documents the failed one must still finish.
  ASSERT_EQ(esegui().stato, 0);
  const istantanea buona = fotografa(dir);
  file_vecchi();

  // The line plan (several MB) cannot be written whole under a 1 MiB limit;
  // SIGXFSZ ignored, the write fails with EFBIG instead of killing the program.
  const esito_programma e = esegui([] { file_fino_a(1 << 20); });

  EXPECT_EQ(e.stato, 2) << e.err;
  EXPECT_NE(e.err.find((dir / "Corvana_Telmisa_linea.dat").string()), std::string::npos) << e.err;
  EXPECT_NE(e.err.find("File too large"), std::string::npos) << e.err;
  const istantanea dopo = fotografa(dir);
  istantanea attesa = buona;  // the documents finished before the failure
  for (const char* nome : {"Corvana_Telmisa_linea.dat", "Corvana_Telmisa_739.sim", "Corvana_Telmisa_739.dat"})
    attesa[nome] = std::string("vecchio ") + nome;  // the older packed files, untouched
  EXPECT_EQ(dopo, attesa) << "a file changed, or a temporary file or a source was left behind";
}

TEST_F(ProgrammaInCartella, DueEsecuzioniScrivonoGliStessiByte) {
  ASSERT_EQ(esegui().stato, 0);
  const istantanea prima = fotografa(dir);
  ASSERT_EQ(prima.size(), std::size(sei_file));
  for (const char* nome : sei_file) EXPECT_EQ(prima.count(nome), 1u) << nome;
  // A second run over its own files, replacing each of them.
  ASSERT_EQ(esegui().stato, 0);
  EXPECT_EQ(fotografa(dir), prima);
}
