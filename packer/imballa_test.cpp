#include "packer/imballa.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "compiler/memorizza_dati.h"
#include "packer/codici_gara.h"
#include "packer/file_imballati.h"

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

// A build compiled from memory, finished and packed into buffers.
struct imballato {
  std::unique_ptr<scenario_compilato> p;
  scenario* s = nullptr;  // the scenario compiled, then finished
  std::optional<rifiuto_imballaggio> rifiuto;
  std::map<file_imballato, std::string> file;  // what packing handed over
  std::vector<file_imballato> ordine;
  bool pronto = false;

  void imballa(int32_t j, const std::string& righe_treno = "") {
    const std::string treno = treno_base + righe_treno + "[fine]\r\n";
    p = std::make_unique<scenario_compilato>(memorizza_dati("Corvana_Telmisa", "739", j, {"l", linea}, {"t", treno}));
    s = &p->scenario;
    file.clear();
    ordine.clear();
    rifiuto = completa_scenario(p->scenario, p->registro);
    pronto = ha_percorso(p->scenario) && !rifiuto;
    if (!pronto) return;
    imballa_scenario(p->scenario, [this](file_imballato quale, const produttore& produci) {
      ordine.push_back(quale);
      file[quale] = in_memoria(produci);
    });
  }
};

}  // namespace

TEST(Imballa, ITreFileInOrdine) {
  imballato s;
  s.imballa(1);
  EXPECT_TRUE(s.pronto);
  EXPECT_EQ(s.p->registro.codice_errore, 0);
  EXPECT_FALSE(s.rifiuto);
  EXPECT_EQ(s.ordine, (std::vector{file_imballato::linea, file_imballato::stazioni, file_imballato::percorso}));

  const std::string& percorso = s.file[file_imballato::percorso];
  ASSERT_EQ(percorso.size(), 15u * 7301u);
  // Cell 1: empty but for the marker 5121 and the plain code.
  const int16_t og = static_cast<int16_t>(codice_gara_og(*s.s));
  EXPECT_EQ(percorso.substr(15, 5),
            std::string({0, 0x01, 0x14, static_cast<char>(og & 0xFF), static_cast<char>(og >> 8)}));
  EXPECT_EQ(og, 2548);
  // The approach point before the signal after the slow order.
  EXPECT_EQ(percorso[220 * 15], tipo_abbattimento);
  EXPECT_EQ(percorso.substr(220 * 15 + 1, 2), std::string({static_cast<char>(180), 0}));
  EXPECT_EQ(percorso, codifica_percorso(*s.s));

  EXPECT_EQ(s.file[file_imballato::stazioni], codifica_stazioni(*s.s));
  EXPECT_EQ(s.s->tabella_stazioni[slot_scenario].intero1, marca_tabella);
  EXPECT_EQ(s.s->tabella_stazioni[slot_scenario].codice, 35263);
  EXPECT_EQ(s.s->tabella_stazioni[1].nome, "Ardesio");

  // Every x then every y of metres 0 to 365000: two integers, the floats the
  // parser computed, and the last two metres never filled.
  const std::string& linea_dat = s.file[file_imballato::linea];
  ASSERT_EQ(s.s->griglia_linea.punti, 365001);
  EXPECT_EQ(linea_dat.size(), 2u * (2 * 4 + 364997 * 10 + 2 * 2));
  EXPECT_EQ(linea_dat, codifica_linea(*s.s));
}

TEST(Imballa, UnaSecondaCorsaDaTestiIdentici) {
  imballato s;
  s.imballa(1);
  const auto primi = s.file;
  s.imballa(1);
  EXPECT_EQ(s.file, primi);
}

TEST(Imballa, SenzaLineaNienteFileDellaLinea) {
  imballato s;
  s.imballa(0);
  EXPECT_EQ(s.ordine, (std::vector{file_imballato::stazioni, file_imballato::percorso}));
  EXPECT_EQ(s.file[file_imballato::percorso].size(), 15u * 7301u);
}

TEST(Imballa, UnErroreDelCompilatoreNonFermaLImballaggio) {
  // A second signal on the first's cell is refused after the grid is sized.
  imballato s;
  s.imballa(1, "segnale,    11000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n");
  EXPECT_EQ(s.p->registro.codice_errore, 16);
  EXPECT_TRUE(s.pronto);
  EXPECT_EQ(s.file[file_imballato::percorso].size(), 15u * 7301u);
}

TEST(Imballa, PostiRiservatiOccupatiNienteImballato) {
  struct caso {
    const char* riga;  // a row that lays a feature in cell 1
    int32_t errore;
    const char* dettaglio;  // what stood there, and the row that laid it
  };
  const caso casi[] = {
      {"abbattimento,   50,   60\r\n", 1250,
       "cell 1's dato1 holds 60: cell 1 holds the speed-reduction point from t:8"},
      {"rallentamento,   0,   0,  600, 0,  0,  60\r\n", 1251,
       "cell 1's dato2 holds 60: cell 1 holds the slow order start from t:8"},
  };
  for (const caso& c : casi) {
    imballato s;
    s.imballa(1, c.riga);
    EXPECT_FALSE(s.pronto) << c.riga;
    ASSERT_TRUE(s.rifiuto) << c.riga;
    EXPECT_EQ(s.rifiuto->codice, c.errore) << c.riga;
    EXPECT_EQ(s.rifiuto->dettaglio, c.dettaglio) << c.riga;
    EXPECT_TRUE(s.file.empty()) << c.riga;
    // The build's own error pair is not the refusal.
    EXPECT_EQ(s.p->registro.codice_errore, 0) << c.riga;
  }
}

TEST(Imballa, SenzaGrigliaNienteDaImballare) {
  // No line source: the compiler records its error and sizes no grid.
  scenario_compilato f = memorizza_dati("Corvana_Telmisa", "739", 1, {"l", {}, stato_sorgente::mancante}, {"t", treno_base});
  EXPECT_FALSE(completa_scenario(f.scenario, f.registro));
  EXPECT_FALSE(ha_percorso(f.scenario));
  EXPECT_NE(f.registro.codice_errore, 0);
  EXPECT_EQ(f.registro.errori.size(), 1u);
}
