// Errors name their culprits: what holds a cell and which row laid it, the
// field a read failed at with what was expected there, the two stations too
// close and which way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "packer/imballa.h"
#include "prove/sorgenti.h"

namespace {

const std::string segnale_2000 = "segnale, 2000, 2,4,1,0,0,1,3,1,0,0\n";
const std::string rallentamento_8000 = "rallentamento, 8000, 60, 600, 0, 1, 60\n";
const std::string corvana = "stazione, 0, 8, 500, 1,0,0, 4,1,0, 2,1,1, 1, 17,13,0, CORVANA\n";
const std::string borgo = "stazione, 14000, 12, 400, 0,0,0, 1,1,0, 4,1,1, 99, 17,20,0, BORGO\n";
std::string valdora(int32_t p) {
  return "stazione, " + std::to_string(p) + ", 12, 400, 0,0,0, 1,1,0, 4,1,1, 99, 17,30,0, VALDORA\n";
}

}  // namespace

TEST(Colpevoli, GliErroriDiconoChiEDove) {
  struct caso {
    const char* nome;
    std::string linea, treno;
    int32_t codice;
    const char* dettaglio;  // the whole detail text, the sources named as the tests name them
    int32_t riga, colonna;  // where the error points: the last field read
    std::vector<std::string> colpevoli = {};  // the rows the detail names, where they stand
  } casi[] = {
      // Occupied cells: what holds the cell, and the row that laid it.
      {"board on a speed board", "indicatori_vmax, 1050, 140,160,160,0,140,160,160,0\ncartello_indicatore, 1050, x\n",
       "", errore_cartello_occupato, "cell 22 holds the maximum-speed board from Prova_Linea_linea.txt:11", 12, 28, {"Prova_Linea_linea.txt:11"}},
      {"speed board on a board", "cartello_indicatore, 1050, x\nindicatori_vmax, 1050, 140,160,160,0,140,160,160,0\n",
       "", errore_indicatore_occupato, "cell 22 holds the kilometre board from Prova_Linea_linea.txt:11", 12, 50, {"Prova_Linea_linea.txt:11"}},
      {"speed-reduction point on a signal", "", segnale_2000 + "abbattimento, 2050, 60\n", errore_abbattimento_occupato,
       "cell 41 holds the signal from Prova_Linea_12-.txt:2", 3, 21, {"Prova_Linea_12-.txt:2"}},
      {"signal on a signal", "", segnale_2000 + segnale_2000, errore_segnale_occupato,
       "cell 41 holds the signal from Prova_Linea_12-.txt:2", 3, 34, {"Prova_Linea_12-.txt:2"}},
      {"signal on a station point", "", corvana + borgo + "segnale, 14100, 2,4,1,0,0,1,3,1,0,0\n",
       errore_segnale_occupato, "cell 283 holds the station point of 'BORGO' from Prova_Linea_12-.txt:3", 4, 35, {"Prova_Linea_12-.txt:3"}},
      {"warning board on a signal", "", "segnale, 6800, 2,4,1,0,0,1,3,1,0,0\n" + rallentamento_8000,
       errore_avviso_occupato, "its warning board: cell 137 holds the signal from Prova_Linea_12-.txt:2", 3, 37, {"Prova_Linea_12-.txt:2"}},
      {"start on a signal", "", "segnale, 8000, 2,4,1,0,0,1,3,1,0,0\n" + rallentamento_8000, errore_inizio_occupato,
       "its start: cell 161 holds the signal from Prova_Linea_12-.txt:2", 3, 37, {"Prova_Linea_12-.txt:2"}},
      {"end on a signal", "", "segnale, 8600, 2,4,1,0,0,1,3,1,0,0\n" + rallentamento_8000, errore_fine_occupato,
       "its end: cell 173 holds the signal from Prova_Linea_12-.txt:2", 3, 37, {"Prova_Linea_12-.txt:2"}},
      {"countdown on a signal", "", "segnale, 6750, 2,4,1,0,0,1,3,1,0,0\n" + rallentamento_8000,
       errore_conto_occupato, "its countdown cell 1: cell 136 holds the signal from Prova_Linea_12-.txt:2", 3, 37, {"Prova_Linea_12-.txt:2"}},
      {"countdown on its own warning board", "", "rallentamento, 2475, 60, 600, 0, 1, 60\n", errore_conto_occupato,
       "its countdown cell 1: cell 26 holds this same row's slow order warning board", 2, 37},
      // Two stations too close: which two, how far apart, which way.
      {"a station written out of order", "", corvana + borgo + valdora(5000), errore_stazioni_vicine,
       "the station 'VALDORA' (span 4800 to 5200 m) stands at 5000 m, before the station written before it: it starts "
       "9400 m before the span of 'BORGO' (Prova_Linea_12-.txt:3, 13800 to 14200 m) ends; stations must be written in "
       "route order",
       4, 60, {"Prova_Linea_12-.txt:3"}},
      {"a station too close after", "", corvana + borgo + valdora(14500), errore_stazioni_vicine,
       "the station 'VALDORA' (span 14300 to 14700 m) starts only 100 m after the span of 'BORGO' "
       "(Prova_Linea_12-.txt:3, 13800 to 14200 m) ends; spans must be 350 m apart at least",
       4, 61, {"Prova_Linea_12-.txt:3"}},
      {"two station spans overlapping", "", corvana + borgo + valdora(14300), errore_stazioni_vicine,
       "the station 'VALDORA' (span 14100 to 14500 m) starts 100 m before the span of 'BORGO' (Prova_Linea_12-.txt:3, "
       "13800 to 14200 m) ends: the spans overlap; they must be 350 m apart at least",
       4, 61, {"Prova_Linea_12-.txt:3"}},
      // The common failure exit: the row, the value, what was expected, what was found.
      {"a comma missing after the keyword", "", "velocita 1000, 160\naderenza, 0, 100\n", errore_lettura,
       "the 'velocita' row at 2:1: expected its speed, a whole number; found 'aderenza' (the keyword field 'velocita "
       "1000' holds a number: is a comma missing after the keyword?)",
       3, 1},
      {"a value missing", "", "velocita, 1000\naderenza, 0, 100\n", errore_lettura,
       "the 'velocita' row at 2:1: expected its speed, a whole number; found 'aderenza' (a row's keyword: is a value "
       "missing from this row?)",
       3, 1},
      {"no whole number", "pendenza, 2000, 6.5\n", "", errore_lettura,
       "the 'pendenza' row at 11:1: expected its gradient, a whole number; found '6.5'", 11, 17},
      {"a kind that does not fit 8 bits", "", "stazione, 1000, 256, 400, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, X\n",
       errore_lettura,
       "the 'stazione' row at 2:1: expected its kind (column 2), a whole number from 0 to 255 (an 8-bit field); found "
       "'256'",
       2, 17},
      {"sand that does not fit 16 bits", "", "sabbia, 40000\n", errore_lettura,
       "the 'sabbia' row at 2:1: expected its value, a whole number from -32768 to 32767 (a 16-bit field); found "
       "'40000'",
       2, 9},
      {"a speed whose fifth does not fit", "", "velocita, 0, 2000\nvelocita, 1000, 100\n", errore_lettura,
       "the speed 2000 km/h of the 'velocita' row at Prova_Linea_12-.txt:2 does not fit a cell: a cell keeps the speed "
       "divided by 5 in 8 bits, so speeds from 0 to 1277 km/h",
       3, 17, {"Prova_Linea_12-.txt:2"}},
      {"board speeds that do not fit", "indicatori_vmax, 1050, 2000,1,1,0,1,1,1,0\n", "", errore_lettura,
       "the 'indicatori_vmax' row at 11:1: 20 x vas + vad / 5 of 40000.2 does not fit its field (whole numbers from "
       "-32768 to 32767)",
       11, 41},
      // Other codes with their particulars.
      {"a position past the grid", "", "segnale, 40000, 2,4,1,0,0,1,3,1,0,0\n", errore_fuori_percorso,
       "the grid ends at cell 540 (27000 m), so a position may be at most 26900 m", 2, 35},
      {"a station off the 50 m grid", "", "stazione, 1025, 12, 400, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, X\n",
       errore_stazione_posizione, "the nearest multiples of 50 are 1000 and 1050 m", 2, 11},
      {"a station at the lowest position", "", "stazione, -2147483648, 12, 400, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, X\n",
       errore_stazione_posizione,
       "the nearest multiples of 50 are -2147483650 and -2147483600 m", 2, 11},
  };
  for (const caso& c : casi) {
    auto p = compila_prova(linea_prova(20000, c.linea), treno_prova(c.treno), 1);
    const scenario_compilato& f = p->f;
    ASSERT_FALSE(f.registro.errori.empty()) << c.nome;
    const errore_registrato& e = f.registro.errori.back();
    EXPECT_EQ(e.codice, c.codice) << c.nome;
    EXPECT_EQ(e.dettaglio, c.dettaglio) << c.nome;
    EXPECT_EQ(e.riga, c.riga) << c.nome;
    EXPECT_EQ(e.colonna, c.colonna) << c.nome;
    std::vector<std::string> colpevoli;
    for (const int32_t r : e.righe_colpevoli) colpevoli.push_back(luogo_riga(f.registro, r));
    EXPECT_EQ(colpevoli, c.colpevoli) << c.nome;
  }
}
