// A source written in UTF-8: what the packed files and the warnings make of it.
#include "compiler/testo_sorgenti.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "prove/comando.h"
#include "prove/scenario_piccolo.h"
#include "tools/argomenti.h"
#include "tools/compila.h"

namespace fs = std::filesystem;

namespace {

std::string sostituisci(std::string testo, const std::string& da, const std::string& a) {
  return testo.replace(testo.find(da), da.size(), a);
}

// Where `pezzo` first stands in `testo`: its line, and its column counted in
// characters (UTF-8 continuation bytes are no characters), both from 1.
std::pair<int32_t, int32_t> dove_sta(const std::string& testo, const std::string& pezzo) {
  const std::size_t pos = testo.find(pezzo);
  const std::size_t inizio = testo.rfind('\n', pos) + 1;  // npos + 1 = 0 on the first line
  int32_t riga = 1, colonna = 1;
  for (std::size_t i = 0; i < inizio; ++i) riga += testo[i] == '\n';
  for (std::size_t i = inizio; i < pos; ++i) colonna += (static_cast<unsigned char>(testo[i]) & 0xC0u) != 0x80u;
  return {riga, colonna};
}

class TestoSorgenti : public CartelleComando {
 protected:
  // P_linea.txt and P_12-.txt: the shared small scenario, the second station
  // named `nome`, the kilometre board showing `cartello`.
  void sorgenti(const std::string& nome, const std::string& cartello) {
    scrivi_tutto(lavoro / "P_linea.txt", sostituisci(linea_piccola(), "(Km 9+996)", cartello));
    scrivi_tutto(lavoro / "P_12-.txt", sostituisci(treno_piccolo(), "BORGO\r\n", nome + ",  [ fermata \u00e8 ]\r\n"));
  }
  esito_comando compila() {
    richiesta r;
    r.cosa = azione::check;
    r.linea = lavoro / "P_linea.txt";
    r.treno = lavoro / "P_12-.txt";
    r.nome_scenario = "P";
    r.numero_treno = "12";
    return compila_scenario(r);
  }
};

}  // namespace

TEST_F(TestoSorgenti, NomeUtf8ImballatoComeWindows1252EAvvisato) {
  sorgenti("Citt\u00e0 \u2019Alta\u2019", "(Km 9+996 \u2192 Nord)");
  const esito_comando e = compila();
  ASSERT_EQ(e.c.registro.codice_errore, 0);
  EXPECT_EQ(e.c.scenario.tabella_stazioni[2].nome, "Citt\xe0 \x92" "Alta\x92");
  EXPECT_EQ(e.c.scenario.tabella_stazioni[80].nome, "(Km 9+996 ? Nord)");
  // One warning a field, at its first character beyond ASCII (or the first
  // with no single-byte form), counted in characters; the comment gets none.
  const std::string linea = (lavoro / "P_linea.txt").string(), treno = (lavoro / "P_12-.txt").string();
  const auto freccia = dove_sta(leggi_tutto(linea), "\u2192"), a_grave = dove_sta(leggi_tutto(treno), "\u00e0");
  struct atteso { int32_t codice; std::string file; std::pair<int32_t, int32_t> dove; std::string testo; };
  const atteso attesi[] = {
      {303, linea, freccia, "'(Km 9+996 \u2192 Nord)' holds \u2192, with no single-byte form in Windows-1252: "
                           "each stored as '?'"},
      {302, treno, a_grave, "'Citt\u00e0 \u2019Alta\u2019' is UTF-8 text: stored as single-byte Windows-1252"},
  };
  ASSERT_EQ(e.c.registro.avvisi.size(), std::size(attesi));
  for (std::size_t i = 0; i < std::size(attesi); ++i) {
    const avviso_registrato& a = e.c.registro.avvisi[i];
    EXPECT_EQ(a.codice, attesi[i].codice) << i;
    EXPECT_EQ(a.file, attesi[i].file) << i;
    EXPECT_EQ(std::make_pair(a.riga, a.colonna), attesi[i].dove) << i;
    EXPECT_EQ(a.testo, attesi[i].testo) << i;
    EXPECT_FALSE(a.con_posizione) << i;
  }

  // The packed station table holds the single bytes; dump reads them back.
  // The board's '?' withholds the packed files: --force writes them all the same.
  const risultato_comando rifiutato =
      esegui_scenario({"pack", "P_linea.txt", "P_12-.txt"}, lavoro, temporanea, uscite);
  EXPECT_EQ(rifiutato.stato, 1) << rifiutato.err;
  EXPECT_FALSE(fs::exists(lavoro / "P_12.sim"));
  const risultato_comando pack =
      esegui_scenario({"pack", "P_linea.txt", "P_12-.txt", "--force"}, lavoro, temporanea, uscite);
  ASSERT_EQ(pack.stato, 1) << pack.err;
  EXPECT_NE(leggi_tutto(lavoro / "P_12.sim").find("\x0c\x00" "Citt\xe0 \x92" "Alta\x92", 0, 14), std::string::npos);
  const risultato_comando dump = esegui_scenario({"dump", "P_12.sim", "--json"}, lavoro, temporanea, uscite);
  ASSERT_EQ(dump.stato, 0) << dump.err;
  EXPECT_EQ(nlohmann::json::parse(dump.out)["slot"][1]["nome"], "Citt\u00e0 \u2019Alta\u2019");
}

TEST_F(TestoSorgenti, UnCarattereDiControlloNonArrivaAlTerminale) {
  // A control byte kept as it is in the field, but quoted as \xNN.
  // A control character of UTF-8 (U+009B starts a terminal's command) as \uNNNN.
  sorgenti("Citt\u00e0\x01", "(Km 9+996 \x02\u009b)");
  const esito_comando e = compila();
  ASSERT_EQ(e.c.registro.avvisi.size(), 2u);
  EXPECT_EQ(e.c.registro.avvisi[0].testo, "'(Km 9+996 \\x02\\u009B)' holds \\u009B, with no single-byte form in "
                                  "Windows-1252: each stored as '?'");
  EXPECT_EQ(e.c.registro.avvisi[1].testo, "'Citt\u00e0\\x01' is UTF-8 text: stored as single-byte Windows-1252");
  EXPECT_EQ(e.c.scenario.tabella_stazioni[2].nome, "Citt\xe0\x01");
}

TEST_F(TestoSorgenti, ByteSingoliGiaNonToccatiNeAvvisati) {
  // Not UTF-8 (a Latin-1 letter): taken as single bytes already.
  sorgenti("Citt\xe0", "(Km 9+996)");
  const esito_comando e = compila();
  ASSERT_EQ(e.c.registro.codice_errore, 0);
  EXPECT_EQ(e.c.scenario.tabella_stazioni[2].nome, "Citt\xe0");
  EXPECT_TRUE(e.c.registro.avvisi.empty());
}

TEST_F(TestoSorgenti, LettereAccentateNonFermanoStrict) {
  // UTF-8 letters that each have their single byte are a note, not a warning:
  // a correct scenario with accented names passes --strict and packs.
  sorgenti("Citt\u00e0 \u2019Alta\u2019", "(Km 9+996)");
  const risultato_comando check =
      esegui_scenario({"check", "P_linea.txt", "P_12-.txt", "--strict"}, lavoro, temporanea, uscite);
  EXPECT_EQ(check.stato, 0) << check.err;
  EXPECT_NE(check.err.find(": note 302: "), std::string::npos) << check.err;
  const risultato_comando pack =
      esegui_scenario({"pack", "P_linea.txt", "P_12-.txt", "--strict"}, lavoro, temporanea, uscite);
  EXPECT_EQ(pack.stato, 0) << pack.err;
  EXPECT_TRUE(fs::exists(lavoro / "P_12.sim"));
}
