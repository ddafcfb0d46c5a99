#include "packer/memorizza_percorso.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "build/fasi.h"
#include "build/nomi_file.h"
#include "packer/codici_gara.h"
#include "packer/file_imballati.h"
#include "prove/cartella.h"

namespace {

// A short line with the built-in route length: 358000 m, so 7301 cells.
constexpr const char* linea =
    "[generale]\r\n"
    "lunghezza percorso,    358000\r\n"
    "progressiva chilometrica tre,    0,    0,    0\r\n"
    "[curve]\r\n"
    "curvad4,   1000,   100\r\n"
    "[pendenze]\r\n"
    "pendenza,   2000,   5\r\n"
    "[fine]\r\n";

// A slow order at 10000 m (speed 60, 600 m) with a signal at 11000 m after it,
// and one station.
const std::string treno_base =
    "[generale]\r\n"
    "numero vetture,    14\r\n"
    "velocita,    0,   160\r\n"
    "aderenza,   0,    100\r\n"
    "stazione,   50000, 12, 600,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,13, 0, Ardesio\r\n"
    "rallentamento,   10000,    60,  600, 0,  1,  60\r\n"
    "segnale,    11000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n";

std::string leggi(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void scrivi(const std::filesystem::path& p, const std::string& testo) {
  std::ofstream(p, std::ios::binary) << testo;
}

struct scenario {
  cartella_prova cartella;
  Form1 f;
  scenario() {
    nomina_scenario(f, cartella.percorso);
  }
  void sorgenti(const std::string& righe_treno = "") {
    scrivi(file_linea_sorgente(f), linea);
    scrivi(file_treno_sorgente(f), treno_base + righe_treno + "[fine]\r\n");
  }
  bool esiste(const std::filesystem::path& p) const { return std::filesystem::exists(p); }
};

std::vector<std::string> mostrati;
void ricorda(const std::string& a) { mostrati.push_back(a); }

}  // namespace

TEST(MemorizzaPercorso, ScriveITreFileImballati) {
  scenario s;
  s.sorgenti();
  memorizza_percorso(s.f, 1);
  EXPECT_EQ(s.f.codice_errore, 0);
  EXPECT_EQ(s.f.errore_imballaggio, 0);
  EXPECT_FALSE(s.esiste(file_linea_sorgente(s.f)));
  EXPECT_FALSE(s.esiste(file_treno_sorgente(s.f)));

  const std::string percorso = leggi(file_percorso_imballato(s.f));
  ASSERT_EQ(percorso.size(), 15u * 7301u);
  // Cell 1: empty but for the marker 5121 and the plain code.
  const int16_t og = static_cast<int16_t>(codice_gara_og(s.f));
  EXPECT_EQ(percorso.substr(15, 5),
            std::string({0, 0x01, 0x14, static_cast<char>(og & 0xFF), static_cast<char>(og >> 8)}));
  EXPECT_EQ(og, 2548);
  // The approach point before the signal after the slow order.
  EXPECT_EQ(percorso[220 * 15], 12);
  EXPECT_EQ(percorso.substr(220 * 15 + 1, 2), std::string({static_cast<char>(180), 0}));
  EXPECT_EQ(percorso, codifica_percorso(s.f));

  const std::string stazioni = leggi(file_stazioni_imballate(s.f));
  EXPECT_EQ(stazioni, codifica_stazioni(s.f));
  EXPECT_EQ(s.f.tabella_stazioni[85].intero1, 610);
  EXPECT_EQ(s.f.tabella_stazioni[85].codice, 35263);
  EXPECT_EQ(s.f.tabella_stazioni[1].nome, "Ardesio");

  // Every x then every y of metres 0 to 365000: two integers, the floats the
  // parser computed, and the last two metres never filled.
  const std::string linea_dat = leggi(file_linea_imballata(s.f));
  ASSERT_EQ(s.f.griglia_linea.punti, 365001);
  EXPECT_EQ(linea_dat.size(), 2u * (2 * 4 + 364997 * 10 + 2 * 2));
  EXPECT_EQ(linea_dat, codifica_linea(s.f));
}

TEST(MemorizzaPercorso, UnaSecondaCorsaDaFileIdentici) {
  scenario s;
  s.sorgenti();
  memorizza_percorso(s.f, 1);
  const std::string primi[] = {leggi(file_linea_imballata(s.f)), leggi(file_stazioni_imballate(s.f)),
                               leggi(file_percorso_imballato(s.f))};
  // The same state object again, as the authors' tool uses it.
  s.sorgenti();
  memorizza_percorso(s.f, 1);
  EXPECT_EQ(leggi(file_linea_imballata(s.f)), primi[0]);
  EXPECT_EQ(leggi(file_stazioni_imballate(s.f)), primi[1]);
  EXPECT_EQ(leggi(file_percorso_imballato(s.f)), primi[2]);
}

TEST(MemorizzaPercorso, SenzaLineaIlSuoFileResta) {
  scenario s;
  s.sorgenti();
  scrivi(file_linea_imballata(s.f), "vecchio");
  memorizza_percorso(s.f, 0);
  EXPECT_EQ(leggi(file_linea_imballata(s.f)), "vecchio");
  EXPECT_EQ(leggi(file_percorso_imballato(s.f)).size(), 15u * 7301u);
  EXPECT_TRUE(s.esiste(file_stazioni_imballate(s.f)));
}

TEST(MemorizzaPercorso, UnErroreDelCompilatoreNonFermaLImballaggio) {
  // A second signal on the first's cell is refused after the grid is sized.
  scenario s;
  s.sorgenti("segnale,    11000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n");
  memorizza_percorso(s.f, 1);
  EXPECT_EQ(s.f.codice_errore, 16);
  EXPECT_EQ(leggi(file_percorso_imballato(s.f)).size(), 15u * 7301u);
}

TEST(MemorizzaPercorso, PostiRiservatiOccupatiNienteImballato) {
  struct caso {
    const char* riga;  // a row that lays a feature in cell 1
    int32_t errore;
    const char* mostrato;
  };
  const caso casi[] = {
      {"abbattimento,   50,   60\r\n", 1250, "1250"},                  // dato1 60
      {"rallentamento,   0,   0,  600, 0,  0,  60\r\n", 1251, "1251"},  // dato1 0, dato2 60
  };
  for (const caso& c : casi) {
    for (bool con_gancio : {true, false}) {
      scenario s;
      mostrati.clear();
      if (con_gancio) s.f.mostra_errore = ricorda;
      s.sorgenti(c.riga);
      memorizza_percorso(s.f, 1);
      EXPECT_EQ(s.f.errore_imballaggio, c.errore) << c.riga;
      EXPECT_EQ(mostrati, con_gancio ? std::vector<std::string>{c.mostrato} : std::vector<std::string>{});
      // The build's own error pair is not the refusal.
      EXPECT_EQ(s.f.codice_errore, 0) << c.riga;
      EXPECT_FALSE(s.esiste(file_linea_imballata(s.f))) << c.riga;
      EXPECT_FALSE(s.esiste(file_stazioni_imballate(s.f))) << c.riga;
      EXPECT_FALSE(s.esiste(file_percorso_imballato(s.f))) << c.riga;
    }
  }
}

TEST(MemorizzaPercorso, SenzaGrigliaNienteImballato) {
  // No line source: the compiler records its error and sizes no grid.
  scenario s;
  s.f.errori.push_back({});  // a log left by an earlier build is cleared
  memorizza_percorso(s.f, 1);
  EXPECT_NE(s.f.codice_errore, 0);
  EXPECT_EQ(s.f.errori.size(), 1u);
  EXPECT_EQ(s.f.errore_imballaggio, 0);
  EXPECT_TRUE(std::filesystem::is_empty(s.cartella.percorso));
}
