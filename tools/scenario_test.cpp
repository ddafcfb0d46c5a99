// The `scenario` program as the author runs it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "sources/cartella_prova.h"
#include "tools/prova_comando.h"

namespace fs = std::filesystem;

namespace {

// A private place for one test: the working directory, the program's
// temporary directory and the captured output, kept apart.
class Scenario : public ::testing::Test {
 protected:
  cartella_prova radice;
  fs::path lavoro = radice.percorso / "lavoro";
  fs::path temporanea = radice.percorso / "tmp";
  fs::path uscite = radice.percorso / "uscite";

  void SetUp() override {
    for (const fs::path& d : {lavoro, temporanea, uscite}) fs::create_directory(d);
  }
  // Every run, whatever its way out, leaves the temporary directory empty.
  risultato_comando esegui(const std::vector<std::string>& argomenti) {
    risultato_comando r = esegui_scenario(argomenti, lavoro, temporanea, uscite);
    EXPECT_TRUE(fs::is_empty(temporanea)) << "a temporary file was left behind";
    return r;
  }
};

}  // namespace

TEST_F(Scenario, AiutoEVersione) {
  struct caso { std::vector<std::string> a; const char* inizio; };
  const caso casi[] = {
      {{"--help"}, "usage: scenario COMMAND"},
      {{"pack", "--help"}, "usage: scenario pack LINE TRAIN"},
      {{"check", "-h"}, "usage: scenario check LINE TRAIN"},
      {{"dump", "--help"}, "usage: scenario dump FILE"},
      {{"--version"}, "scenario 0."},
  };
  for (const caso& c : casi) {
    const risultato_comando r = esegui(c.a);
    EXPECT_EQ(r.stato, 0) << c.inizio;
    EXPECT_EQ(r.out.rfind(c.inizio, 0), 0u) << r.out;
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(Scenario, ErroriDUsoEsconoConDue) {
  struct caso { std::vector<std::string> a; const char* messaggio; };
  const caso casi[] = {
      {{}, "scenario: no command given"},
      {{"pack", "X_linea.txt"}, "scenario: pack takes a line source and a train source"},
      {{"dump", "X_1.dat", "--bogus"}, "scenario: unknown option '--bogus' for dump"},
      {{"dump", "assente_1.dat"}, "scenario: assente_1.dat: cannot read: No such file or directory"},
      {{"check", "assente_linea.txt", "assente_1-.txt"},
       "scenario: assente_linea.txt: cannot read: No such file or directory"},
  };
  for (const caso& c : casi) {
    const risultato_comando r = esegui(c.a);
    EXPECT_EQ(r.stato, 2) << c.messaggio;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(c.messaggio, 0), 0u) << r.err;
  }
}

TEST_F(Scenario, FileImballatoTroncatoRifiutato) {
  scrivi_tutto(lavoro / "X_1.dat", std::string(15 * 3 - 1, '\0'));
  scrivi_tutto(lavoro / "X_1.sim", std::string(34 * 87 - 1, '\0'));
  scrivi_tutto(lavoro / "X_linea.dat", std::string("\x05\x00\x00\x00", 4));
  struct caso { const char* file; const char* messaggio; };
  const caso casi[] = {
      {"X_1.dat", "scenario: X_1.dat: not a packed route grid: length 44 bytes is not a whole "
                  "number of 15-byte cells (2 cells and 14 bytes over)\n"},
      {"X_1.sim", "scenario: X_1.sim: not a packed station table: slot 86 (from byte 2924) is cut "
                  "short: its name of 0 bytes and the 18 bytes after it need 18, 17 left; a "
                  "station table holds 87 records of 34 bytes plus their names\n"},
      {"X_linea.dat", "scenario: X_linea.dat: not a packed line plan: element 0 at byte 0: cut "
                      "short: its value needs 8 bytes, 2 left\n"},
  };
  for (const caso& c : casi) {
    const risultato_comando r = esegui({"dump", c.file});
    EXPECT_EQ(r.stato, 2) << c.file;
    EXPECT_EQ(r.out, "") << "nothing is guessed";
    EXPECT_EQ(r.err, c.messaggio);
  }
}
