// The `scenario` tool given what is not a source, or a place it may not write.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "prove/cartella.h"
#include "prove/figlio.h"
#include "prove/comando.h"
#include "prove/scenario_piccolo.h"

namespace fs = std::filesystem;

namespace {

const std::string linea_buona = linea_piccola();
const std::string treno_buono = treno_piccolo();

// The tool's places, open to every user: the build tree may lie under a
// private home, so the tool runs as a copy that another uid can reach.
class GuastiScenario : public CartelleComando {
 protected:
  fs::path programma = radice.percorso / "scenario";

  void SetUp() override {
    CartelleComando::SetUp();
    for (const fs::path& d : {radice.percorso, lavoro, temporanea, uscite})
      fs::permissions(d, fs::perms::all);
    scrivi_tutto(lavoro / "P_linea.txt", linea_buona);
    scrivi_tutto(lavoro / "P_12-.txt", treno_buono);
    fs::copy_file(SCENARIO, programma);
  }

  // Runs the tool in `lavoro`; `prepara` runs in the child before the exec.
  risultato_comando esegui(const std::vector<std::string>& argomenti,
                           const std::function<void()>& prepara = {}) {
    risultato_comando r = esegui_scenario(argomenti, lavoro, temporanea, uscite, programma, prepara);
    EXPECT_TRUE(fs::is_empty(temporanea)) << "a temporary file was left behind";
    return r;
  }
};

// Every file of `dir` with its bytes.
std::map<std::string, std::string> fotografa(const fs::path& dir) {
  std::map<std::string, std::string> tutto;
  for (const fs::directory_entry& e : fs::directory_iterator(dir))
    tutto[e.path().filename().string()] = leggi_tutto(e.path());
  return tutto;
}

}  // namespace

TEST_F(GuastiScenario, CioCheNonESorgenteFinisceConUnErroreChiaro) {
  fs::create_directory(lavoro / "cartella");
  scrivi_tutto(lavoro / "vuoto.txt", "");
  // Bytes of every value, as a file of another kind would hold.
  std::string binario(64 << 10, '\0');
  uint32_t x = 12345;
  for (char& c : binario) c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
  scrivi_tutto(lavoro / "binario.bin", binario);
  {
    // 100 MB that costs nothing to make: a sparse file.
    const int fd = ::open((lavoro / "enorme.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 100'000'000), 0);
    ::close(fd);
  }
  struct caso {
    std::vector<std::string> argomenti;
    int stato;
    std::string messaggio;  // in standard error
  };
  const caso casi[] = {
      {{"check", "cartella", "P_12-.txt", "--name", "P"}, 2, "scenario: cartella: is a directory, not a file"},
      {{"check", "P_linea.txt", "cartella", "--train", "12"}, 2, "scenario: cartella: is a directory, not a file"},
      {{"check", "enorme.txt", "P_12-.txt", "--name", "P"}, 2,
       "scenario: enorme.txt: too large (100000000 bytes; at most 16 MiB)"},
      {{"pack", "P_linea.txt", "enorme.txt", "--train", "12", "-o", "fuori"}, 2,
       "scenario: enorme.txt: too large (100000000 bytes; at most 16 MiB)"},
      {{"dump", "enorme.txt", "--kind", "grid"}, 2, "scenario: enorme.txt: too large (100000000 bytes; at most 32 MiB)"},
      {{"dump", "cartella", "--kind", "grid"}, 2, "scenario: cartella: is a directory, not a file"},
      // Read and compiled: the compiler's own error, with the place it was found.
      {{"check", "vuoto.txt", "P_12-.txt", "--name", "P"}, 1, "vuoto.txt: error 102:"},
      {{"check", "binario.bin", "P_12-.txt", "--name", "P"}, 1, "binario.bin:"},
      // A train source without "[generale]": none of it is read, which is told as an error.
      {{"check", "P_linea.txt", "binario.bin", "--train", "12"}, 1, "no [generale] heading"},
      {{"dump", "binario.bin", "--kind", "stations"}, 2, "scenario: binario.bin: not a packed station table"},
  };
  for (const caso& c : casi) {
    const risultato_comando r = esegui(c.argomenti);
    const std::string nome = c.argomenti[0] + " " + c.argomenti[1] + " " + c.argomenti[2];
    EXPECT_EQ(r.stato, c.stato) << nome << "\n" << r.err;
    EXPECT_NE(r.err.find(c.messaggio), std::string::npos) << nome << "\n" << r.err;
    EXPECT_LT(r.secondi, 10.0) << nome;
    // Nothing of the 100 MB was read: the peak stays far below it (sanitizer builds included).
    EXPECT_LT(r.kib_massimi, 64 << 10) << nome;
  }
  EXPECT_FALSE(fs::exists(lavoro / "fuori")) << "a refused pack made its output directory";
}

TEST_F(GuastiScenario, UnaScritturaCheFallisceLasciaIFileDiPrima) {
  // The packed files of an earlier pack, in place before each failed one.
  const fs::path uscita = lavoro / "uscita";
  fs::create_directory(uscita);
  const std::map<std::string, std::string> prima = {
      {"P_linea.dat", "vecchio piano"}, {"P_12.sim", "vecchie stazioni"}, {"P_12.dat", "vecchio percorso"}};
  struct caso {
    const char* nome;
    std::function<void()> prepara;
    bool sola_lettura;    // the output directory without write access
    std::string messaggio;
  };
  const caso casi[] = {
      {"directory without write access", senza_privilegi, true,
       "scenario: uscita/P_linea.dat: cannot create: Permission denied"},
      // The line plan of the 20 km scenario is about 500 KiB.
      {"write cut short", [] { file_fino_a(256 << 10); }, false,
       "scenario: uscita/P_linea.dat: cannot write: File too large"},
  };
  for (const caso& c : casi) {
    fs::permissions(uscita, fs::perms::all);
    for (const auto& [nome, byte] : prima) scrivi_tutto(uscita / nome, byte);
    if (c.sola_lettura)
      fs::permissions(uscita, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    const risultato_comando r = esegui({"pack", "P_linea.txt", "P_12-.txt", "-o", "uscita"}, c.prepara);
    EXPECT_EQ(r.stato, 2) << c.nome << "\n" << r.err;
    EXPECT_NE(r.err.find(c.messaggio), std::string::npos) << c.nome << "\n" << r.err;
    EXPECT_EQ(fotografa(uscita), prima) << c.nome << ": an older file changed or a temporary file was left";
    EXPECT_EQ(leggi_tutto(lavoro / "P_linea.txt"), linea_buona) << c.nome;
    EXPECT_EQ(leggi_tutto(lavoro / "P_12-.txt"), treno_buono) << c.nome;
  }
  fs::permissions(uscita, fs::perms::all);
}

TEST_F(GuastiScenario, BuiltinDoveNonPuoScrivereNonLasciaNulla) {
  const fs::path chiusa = lavoro / "chiusa";
  fs::create_directory(chiusa);
  fs::permissions(chiusa, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  struct caso { std::vector<std::string> a; const char* messaggio; };
  const caso casi[] = {
      {{"builtin", "-o", "chiusa", "--sources"},
       "scenario: chiusa/Corvana_Telmisa_linea.txt: cannot create: Permission denied\n"},
      {{"builtin", "-o", "chiusa/sotto"}, "scenario: chiusa/sotto: cannot create the directory: Permission denied\n"},
  };
  for (const caso& c : casi) {
    const risultato_comando r = esegui(c.a, senza_privilegi);
    EXPECT_EQ(r.stato, 2) << c.messaggio;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.messaggio);
    EXPECT_TRUE(fs::is_empty(chiusa)) << c.messaggio;
  }
  fs::permissions(chiusa, fs::perms::all);
}
