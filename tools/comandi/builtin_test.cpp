// `scenario builtin`: the packer's six files, written where the user chooses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "prove/comando.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace fs = std::filesystem;

namespace {

// Every file of `dir` with its bytes, the packer itself and directories left out.
std::map<std::string, std::string> fotografa(const fs::path& dir) {
  std::map<std::string, std::string> tutto;
  for (const fs::directory_entry& e : fs::directory_iterator(dir))
    if (e.is_regular_file() && e.path().filename() != "impacchetta")
      tutto[e.path().filename().string()] = leggi_tutto(e.path());
  return tutto;
}

// The six files compared one by one: a packed file is megabytes, never printed.
void stessi_file(const std::map<std::string, std::string>& avuti, const std::map<std::string, std::string>& attesi) {
  EXPECT_EQ(avuti.size(), attesi.size());
  for (const auto& [nome, byte] : attesi) {
    const auto trovato = avuti.find(nome);
    ASSERT_NE(trovato, avuti.end()) << nome << " not written";
    EXPECT_TRUE(trovato->second == byte) << nome << " differs from the packer's";
  }
}

class ComandoIncorporato : public CartelleComando {
 protected:
  // What the packer leaves beside itself when it runs, without a display, in a
  // directory of its own.
  std::map<std::string, std::string> sei_del_packer() {
    const fs::path packer = radice.percorso / "packer";
    fs::create_directory(packer);
    fs::copy_file(IMPACCHETTA, packer / "impacchetta");
    const risultato_comando r =
        esegui_scenario({}, packer, temporanea, uscite, packer / "impacchetta", [] { ::unsetenv("DISPLAY"); });
    EXPECT_EQ(r.stato, 0) << r.err;
    return fotografa(packer);
  }
};

const char* const scritti =
    "Corvana_Telmisa_739_note.txt\n"
    "Corvana_Telmisa_739_rallentamenti.txt\n"
    "Corvana_Telmisa_739_scheda_treno.txt\n"
    "Corvana_Telmisa_linea.dat\n"
    "Corvana_Telmisa_739.sim\n"
    "Corvana_Telmisa_739.dat\n";

// "wrote DIR/NAME" for each line of `nomi`.
std::string scritti_in(const std::string& dir, const std::string& nomi) {
  std::string r;
  for (std::size_t i = 0, fine; (fine = nomi.find('\n', i)) != std::string::npos; i = fine + 1)
    r += "wrote " + dir + nomi.substr(i, fine - i) + "\n";
  return r;
}

}  // namespace

TEST_F(ComandoIncorporato, ScriveIFileDelPackerByteByByte) {
  const std::map<std::string, std::string> packer = sei_del_packer();
  ASSERT_EQ(packer.size(), 6u);

  // Into a directory made for them.
  const risultato_comando r = esegui({"builtin", "-o", "simulatore/scenari"});
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, scritti_in("simulatore/scenari/", scritti));
  stessi_file(fotografa(lavoro / "simulatore/scenari"), packer);

  // Into the current directory, the two sources with them, then once more
  // over its own files.
  for (int volta = 0; volta < 2; ++volta) {
    const risultato_comando s = esegui({"builtin", "--sources", "--force"});
    ASSERT_EQ(s.stato, 0) << s.err;
    EXPECT_EQ(s.out, scritti_in("", std::string("Corvana_Telmisa_linea.txt\nCorvana_Telmisa_739-.txt\n") + scritti));
    std::map<std::string, std::string> con_sorgenti = packer;
    con_sorgenti["Corvana_Telmisa_linea.txt"] = dati_linea();
    con_sorgenti["Corvana_Telmisa_739-.txt"] = dati_treno();
    stessi_file(fotografa(lavoro), con_sorgenti);
  }
}

TEST_F(ComandoIncorporato, LeSorgentiDiUnAutoreNonSonoSostituiteSenzaForce) {
  scrivi_tutto(lavoro / "Corvana_Telmisa_739-.txt", "mine");
  const risultato_comando r = esegui({"builtin", "--sources"});
  EXPECT_EQ(r.stato, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "scenario: Corvana_Telmisa_739-.txt: already exists; give --force to replace it\n");
  EXPECT_EQ(fotografa(lavoro), (std::map<std::string, std::string>{{"Corvana_Telmisa_739-.txt", "mine"}}))
      << "nothing is written when a source exists";

  // Without --sources the sources are not its business.
  const risultato_comando senza = esegui({"builtin"});
  EXPECT_EQ(senza.stato, 0) << senza.err;
  EXPECT_EQ(leggi_tutto(lavoro / "Corvana_Telmisa_739-.txt"), "mine");
  EXPECT_FALSE(fs::exists(lavoro / "Corvana_Telmisa_linea.txt"));

  const risultato_comando forzato = esegui({"builtin", "--sources", "--force"});
  EXPECT_EQ(forzato.stato, 0) << forzato.err;
  EXPECT_EQ(leggi_tutto(lavoro / "Corvana_Telmisa_739-.txt"), dati_treno());
}

TEST_F(ComandoIncorporato, ErroriDUso) {
  struct caso { std::vector<std::string> a; const char* messaggio; };
  const caso casi[] = {
      {{"builtin", "Corvana_Telmisa_linea.txt"}, "scenario: builtin takes no file: its scenario is built in"},
      {{"builtin", "--force"}, "scenario: option --force replaces the sources: give --sources too"},
      {{"builtin", "-o", ""}, "scenario: option -o needs a directory"},
      {{"builtin", "--json"}, "scenario: unknown option '--json' for builtin"},
  };
  for (const caso& c : casi) {
    const risultato_comando r = esegui(c.a);
    EXPECT_EQ(r.stato, 2) << c.messaggio;
    EXPECT_EQ(r.err.rfind(c.messaggio, 0), 0u) << r.err;
  }
  EXPECT_TRUE(fs::is_empty(lavoro));
}
