// Each mistake an author makes that the build accepts is told: one small
// scenario per mistake, the warnings it must raise, and nothing more.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "compiler/codici_avviso.h"
#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "packer/imballa.h"
#include "porta/compila.h"
#include "prove/sorgenti.h"
#include "sources/scenario_nuovo.h"

namespace {

// A 20 km line (cells 0 to 540): the general section on lines 1 to 9,
// "[curve]" on line 10, then these rows from line 11.
const std::string linea_base = "pendenza, 2000, 6\npendenza, 4000, -3\n";

// The train: "[generale]" on line 1, then these rows from line 2. Three
// stations, a slow order and a signal; stops at 17:13, 17:20 and 17:30.
const std::string velocita_base = "velocita, 0, 160\n";                                          // line 2
const std::string aderenza_base = "aderenza, 0, 100\n";                                          // line 3
const std::string corvana = "stazione, 0, 8, 500, 1,0,0, 4,1,0, 2,1,1, 1, 17,13,0, CORVANA\n";   // line 4
const std::string borgo = "stazione, 5000, 12, 400, 0,0,0, 1,1,0, 4,1,1, 99, 17,20,0, BORGO\n";  // line 5
const std::string valdora = "stazione, 12000, 2, 600, 0,0,0, 1,1,0, 4,1,1, 0, 17,30,0, VALDORA\n";  // line 6
const std::string rallentamento_base = "rallentamento, 8000, 60, 600, 0, 1, 60\n";                // line 7
const std::string segnale_base = "segnale, 2000, 2, 4,1,0, 0, 1, 3,1,0, 0\n";                    // line 8

std::string stazioni_base() { return corvana + borgo + valdora; }
std::string treno_base(const std::string& dopo = "") {
  return velocita_base + aderenza_base + stazioni_base() + rallentamento_base + segnale_base + dopo;
}

std::string sostituisci(std::string testo, const std::string& vecchio, const std::string& nuovo) {
  const std::size_t i = testo.find(vecchio);
  if (i != std::string::npos) testo.replace(i, vecchio.size(), nuovo);
  return testo;
}

// A warning as a case expects it: its code, words its text must hold, the
// line of the field it points at (0: not checked), and where the other rows
// it names stand.
struct atteso {
  int32_t codice;
  const char* parole;
  int32_t riga = 0;
  std::vector<std::string> colpevoli = {};
};

std::string elenco(const scenario_compilato& f) {
  std::string t;
  for (const avviso_registrato& a : f.registro.avvisi)
    t += "  " + std::to_string(a.codice) + " " + a.file + ":" + std::to_string(a.riga) + ":" +
         std::to_string(a.colonna) + " " + a.testo + "\n";
  return t;
}

}  // namespace

TEST(Avvisi, OgniErroreDellAutoreEDetto) {
  std::string nome_lungo(70000, 'N');
  struct caso {
    const char* nome;
    std::string linea, treno;
    std::vector<atteso> attesi;
  } casi[] = {
      {"a clean scenario", linea_prova(20000, linea_base), treno_prova(treno_base()), {}},
      // Notes: fields that begin with a hyphen are passed over by design.
      {"notes", linea_prova(20000, "-- gradients from 2 km --\n" + linea_base),
       treno_prova("- the train: 14 cars\n" + treno_base("-- signals: none more\n")), {}},
      // Keywords mistyped: the row is lost with its values, told once.
      {"pendneza", linea_prova(20000, linea_base + "pendneza, 3000, 2\n"), treno_prova(treno_base()),
       {{avviso_campo_ignorato, "'pendneza' is no row kind; skipped, and its 2 values. Did you mean 'pendenza'?", 13}}},
      {"segnle", linea_prova(20000, linea_base), treno_prova(treno_base("segnle, 3000, 2, 4,1,0, 0, 1, 3,1,0, 0\n")),
       {{avviso_campo_ignorato, "'segnle' is no row kind; skipped, and its 11 values. Did you mean 'segnale'?", 9}}},
      {"stazone", linea_prova(20000, linea_base),
       treno_prova(treno_base("stazone, 16000, 12, 400, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, MONTE\n")),
       {{avviso_campo_ignorato, "'stazone' is no row kind; skipped, and its 17 values. Did you mean 'stazione'?", 9}}},
      {"velcoita", linea_prova(20000, linea_base), treno_prova(treno_base("velcoita, 9000, 100\n")),
       {{avviso_campo_ignorato, "Did you mean 'velocita'?", 9}}},
      {"cartello-indicatore", linea_prova(20000, linea_base + "cartello-indicatore, 9950, (Km 9+996)\n"),
       treno_prova(treno_base()),
       {{avviso_campo_ignorato,
         "'cartello-indicatore' holds a hyphen, and a field with a hyphen is passed over untested, so its row is "
         "lost; skipped, and its 2 values. Did you mean 'cartello_indicatore'?",
         13}}},
      {"a hyphenated signal keyword", linea_prova(20000, linea_base),
       treno_prova(treno_base("segnale-nuovo, 3000, 2, 4,1,0, 0, 1, 3,1,0, 0\n")),
       {{avviso_campo_ignorato, "passed over untested, so its row is lost; skipped, and its 11 values", 9}}},
      {"Progressiva with a capital",
       sostituisci(linea_prova(20000, linea_base), "progressiva chilometrica tre", "Progressiva chilometrica tre"),
       treno_prova(treno_base()),
       {{avviso_campo_ignorato,
         "matched letter case and all; skipped, and its 3 values. Did you mean 'progressiva chilometrica tre'?", 5}}},
      {"a body row in the general section", "[generale]\nlunghezza percorso, 20000\npendenza, 2000, 6\n[curve]\n[fine]\n",
       treno_prova(treno_base()), {{avviso_campo_ignorato, "'pendenza' is a row of the line's body", 3}}},
      {"a train row in the line", linea_prova(20000, linea_base + "sabbia, 200\n"), treno_prova(treno_base()),
       {{avviso_campo_ignorato, "'sabbia' is a row of the train source: in the line source it is no row kind", 13}}},
      {"one value too many", linea_prova(20000, linea_base), treno_prova(treno_base("velocita, 15000, 120, 5\n")),
       {{avviso_campo_ignorato, "'5' is a value that no row reads (it follows '120', the last value the row before "
                                 "reads: one value too many?); skipped", 9}}},
      {"a keyword as the file's last field", linea_prova(20000, linea_base),
       "[generale]\n" + treno_base() + "velocita",
       {{avviso_campo_ignorato, "'velocita' is the last field of the file, and the last field is never read", 9}}},
      {"no [generale] in the train", linea_prova(20000, linea_base), treno_base(),
       {{avviso_treno_vuoto, "the train source has no [generale] heading: none of its fields is read"}}},
      // A name or text missing: the next row's keyword is taken for it, and that row is lost.
      {"a station without its name", linea_prova(20000, linea_base),
       treno_prova(velocita_base + aderenza_base + corvana + "stazione, 5000, 12, 400, 0,0,0, 1,1,0, 4,1,1, 99, 17,20,0\n" +
                   valdora + rallentamento_base + segnale_base),
       {{avviso_nome_mancante, "the station at 5000 m has no name on its line: the field read as its name, 'stazione', "
                               "opens line 6, so the row there is lost", 5},
        {avviso_campo_ignorato, "'12000' is a value that no row reads; skipped, and 16 more after it (the values of the "
                                "row whose keyword was taken as the name of the station at Prova_Linea_12-.txt:5)", 6}}},
      {"a station with an empty name", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "17,20,0, BORGO", "17,20,0,")),
       {{avviso_nome_vuoto, "the station at 5000 m has an empty name", 5}}},
      {"a board without its text",
       linea_prova(20000, linea_base + "cartello_indicatore, 9950\ncartello_indicatore, 15950, (Km 16)\n"),
       treno_prova(treno_base()),
       {{avviso_nome_mancante, "the kilometre board at 9950 m has no text on its line", 13},
        {avviso_campo_ignorato, "'15950' is a value that no row reads; skipped, and 1 more after it", 14}}},
      {"a board whose text is a number", linea_prova(20000, linea_base + "cartello_indicatore, 9950, 10\n"),
       treno_prova(treno_base()), {{avviso_nome_vuoto, "has the number '10' as its text", 13}}},
      // A header row given twice: the later value counts.
      {"the cars given twice", linea_prova(20000, linea_base),
       treno_prova("numero vetture, 14\n" + treno_base("numero vetture, 12\n")),
       {{avviso_riga_ripetuta, "'numero vetture' is given again: this row's values replace those of the 'numero "
                               "vetture' row at Prova_Linea_12-.txt:2", 10, {"Prova_Linea_12-.txt:2"}}}},
      {"a background given twice", sostituisci(linea_prova(20000, linea_base), "sfondo tre", "sfondo uno"),
       treno_prova(treno_base()),
       {{avviso_riga_ripetuta, "'sfondo uno' is given again: this row's values replace those of the 'sfondo' row at "
                               "Prova_Linea_linea.txt:6", 8, {"Prova_Linea_linea.txt:6"}}}},
      // Times.
      {"a stop before the one before it", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "17,30,0", "17,5,0")),
       {{avviso_orario_indietro, "'VALDORA' is due at 17:05:00, before 'BORGO' (Prova_Linea_12-.txt:5) at 17:20:00", 6,
         {"Prova_Linea_12-.txt:5"}}}},
      {"a stop at the same time", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "17,30,0", "17,20,0")),
       {{avviso_orario_indietro, "the same time as 'BORGO'", 6, {"Prova_Linea_12-.txt:5"}}}},
      {"one crossing of midnight", linea_prova(20000, linea_base),
       treno_prova(sostituisci(sostituisci(sostituisci(treno_base(), "17,13,0", "23,40,0"), "17,20,0", "23,52,0"),
                               "17,30,0", "0,4,0")),
       {}},
      {"7,75,99", linea_prova(20000, linea_base), treno_prova(sostituisci(treno_base(), "17,13,0", "7,75,99")),
       {{avviso_orario_non_valido, "the time 7,75,99 of the station 'CORVANA' is not a time of day (hours 0 to 23, "
                                   "minutes and seconds 0 to 59): it is kept as 29799 s from midnight, that is 8:16:39", 4}}},
      {"-7,52,30", linea_prova(20000, linea_base), treno_prova(sostituisci(treno_base(), "17,13,0", "-7,52,30")),
       {{avviso_orario_non_valido, "kept as -22050 s from midnight, before midnight (-6:07:30)", 4}}},
      // Rows of a running value out of order.
      {"speed limits swapped", linea_prova(20000, linea_base),
       treno_prova(treno_base("velocita, 15000, 100\nvelocita, 6000, 120\n")),
       {{avviso_velocita_fuori_ordine, "'velocita' at 6000 m does not come after the row before it, at 15000 m "
                                       "(Prova_Linea_12-.txt:9): rows must rise along the route; 120 km/h is laid only "
                                       "from 15050 m", 10, {"Prova_Linea_12-.txt:9"}}}},
      {"two speed limits at 0 m", linea_prova(20000, linea_base), treno_prova(treno_base("velocita, 0, 120\n")),
       {{avviso_velocita_fuori_ordine, "the value of the row before is never laid", 9, {"Prova_Linea_12-.txt:2"}}}},
      {"gradients swapped", linea_prova(20000, "pendenza, 4000, -3\npendenza, 2000, 6\n"), treno_prova(treno_base()),
       {{avviso_pendenze_fuori_ordine, "gradient 6 is laid only from 4050 m", 12, {"Prova_Linea_linea.txt:11"}}}},
      {"adhesion swapped", linea_prova(20000, linea_base), treno_prova(treno_base("aderenza, 9000, 90\naderenza, 4000, 80\n")),
       {{avviso_aderenze_fuori_ordine, "adhesion 80 is laid only from 9050 m", 10, {"Prova_Linea_12-.txt:9"}}}},
      {"curves overlapping", linea_prova(20000, linea_base + "curvad1, 1000, 600\ncurvas2, 1400, 300\n"),
       treno_prova(treno_base()),
       {{avviso_curve_fuori_ordine, "'curvas2' from 1400 m overlaps the curve before it (Prova_Linea_linea.txt:13), "
                                    "which ends at 1600 m: it turns only from 1601 m", 14, {"Prova_Linea_linea.txt:13"}}}},
      {"curves swapped", linea_prova(20000, linea_base + "curvad1, 5000, 600\ncurvas2, 1400, 300\n"),
       treno_prova(treno_base()), {{avviso_curve_fuori_ordine, "nothing of this curve is laid", 14, {"Prova_Linea_linea.txt:13"}}}},
      // Slow orders and signals.
      {"a slow order past the route's end", linea_prova(20000, linea_base),
       treno_prova(treno_base("rallentamento, 19800, 60, 600, 0, 1, 60\n")),
       {{avviso_rallentamento_oltre_fine, "the slow order at 19800 m runs to 20400 m, past the route's end at 20000 m", 9}}},
      {"a slow order of negative length", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "8000, 60, 600", "8000, 60, -600")),
       {{avviso_rallentamento_lunghezza, "has length -600 m: its end is laid at 7400 m, before its start", 7}}},
      {"a slow order of length 0", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "8000, 60, 600", "8000, 60, 0")),
       {{avviso_rallentamento_senza_fine, "has length 0 m: its end falls on its start's cell", 7}}},
      {"a slow order of 20 m", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "8000, 60, 600", "8000, 60, 20")),
       {{avviso_rallentamento_senza_fine, "is 20 m long: its end falls on its start's cell 161", 7}}},
      {"a slow order at speed 0", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "8000, 60, 600, 0, 1, 60", "8000, 0, 600, 0, 1, 0")),
       {{avviso_rallentamento_velocita, "has speed 0 km/h", 7}}},
      {"a slow order at 200", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "8000, 60, 600, 0, 1, 60", "8000, 200, 600, 0, 1, 200")),
       {{avviso_rallentamento_velocita, "at 200 km/h is above the line limit along it (at most 160 km/h)", 7}}},
      {"slow orders overlapping", linea_prova(20000, linea_base),
       treno_prova(treno_base("rallentamento, 8300, 50, 400, 0, 0, 50\n")),
       {{avviso_rallentamenti_sovrapposti, "from 8300 m to 8700 m overlaps the one from 8000 m to 8600 m "
                                           "(Prova_Linea_12-.txt:7)", 9, {"Prova_Linea_12-.txt:7"}}}},
      {"a signal past the route's end", linea_prova(20000, linea_base),
       treno_prova(treno_base("segnale, 20500, 2, 4,1,0, 0, 1, 3,1,0, 0\n")),
       {{avviso_segnale_oltre_fine, "the signal at 20500 m stands past the route's end at 20000 m", 9}}},
      // Signals written before the stations, one on a station's point: the
      // point replaces the signal, and the station's marks the signal's.
      {"a station point over a signal", linea_prova(20000, linea_base),
       treno_prova(velocita_base + aderenza_base + "segnale, 5100, 2, 4,1,0, 0, 1, 3,1,0, 0\n" + stazioni_base() +
                   rallentamento_base),
       {{avviso_segno_sovrascritto, "the approach marks of this row replace those of the 'segnale' row at "
                                    "Prova_Linea_12-.txt:4 on cell 101 (5050 m): 82 over 71, cell 99 (4950 m): 84 over 72", 6,
         {"Prova_Linea_12-.txt:4"}},
        {avviso_stazione_su_elemento, "the station point of 'BORGO' on cell 103 (5150 m) replaces the signal from "
                                      "Prova_Linea_12-.txt:4, which is lost", 6, {"Prova_Linea_12-.txt:4"}}}},
      {"a station point over a board", linea_prova(20000, linea_base + "cartello_indicatore, 5100, (Km 5)\n"),
       treno_prova(treno_base()),
       {{avviso_stazione_su_elemento, "replaces the kilometre board from Prova_Linea_linea.txt:13", 5, {"Prova_Linea_linea.txt:13"}}}},
      {"two signals whose marks cross", linea_prova(20000, linea_base),
       treno_prova(treno_base("segnale, 3000, 2, 4,1,1, 0, 2, 2,1,1, 0\nsegnale, 3200, 2, 4,0,0, 0, 0, 0,0,0, 0\n")),
       {{avviso_segno_sovrascritto, "replace those of the 'segnale' row at Prova_Linea_12-.txt:9", 10, {"Prova_Linea_12-.txt:9"}}}},
      // Values the packed files cannot hold as written.
      {"a speed limit of 117", linea_prova(20000, linea_base), treno_prova(treno_base("velocita, 15000, 117\n")),
       {{avviso_velocita_arrotondata, "the speed limit 117 km/h is kept as 115 km/h", 9}}},
      {"a board speed of 117", linea_prova(20000, linea_base + "indicatori_vmax, 1050, 140,160,160, 0, 140,160,117, 0\n"),
       treno_prova(treno_base()), {{avviso_velocita_arrotondata, "the board's second-side speed vcd 117 km/h is kept as 115", 13}}},
      {"a gradient of 200", linea_prova(20000, linea_base + "pendenza, 9000, 200\n"), treno_prova(treno_base()),
       {{avviso_valore_troncato, "gradient 200 does not fit", 13}}},
      {"an adhesion of 300", linea_prova(20000, linea_base), treno_prova(treno_base("aderenza, 9000, 300\n")),
       {{avviso_valore_troncato, "adhesion 300 does not fit: a cell keeps it in 8 bits (0 to 255), so it reads 44", 9}}},
      {"a signal's code of 12", linea_prova(20000, linea_base),
       treno_prova(treno_base("segnale, 15000, 2, 12,1,0, 0, 1, 3,1,0, 0\n")),
       {{avviso_codici_segnale, "s1 12 is outside its range", 9}}},
      {"a station name too long", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "VALDORA", nome_lungo)),
       {{avviso_nome_tagliato, "the name of the station at 12000 m is 70000 bytes long", 6}}},
  };
  for (const caso& c : casi) {
    auto p = compila_prova(c.linea, c.treno, 1);
    scenario_compilato& f = p->f;
    completa_scenario(f.scenario, f.registro);
    EXPECT_TRUE(f.registro.errori.empty()) << c.nome << ": error " << f.registro.errori.front().codice << " " << f.registro.errori.front().dettaglio;
    EXPECT_EQ(f.registro.avvisi.size(), c.attesi.size()) << c.nome << "\n" << elenco(f);
    for (const atteso& a : c.attesi) {
      const auto trovato = std::find_if(f.registro.avvisi.begin(), f.registro.avvisi.end(), [&a](const avviso_registrato& r) {
        return r.codice == a.codice && r.testo.find(a.parole) != std::string::npos;
      });
      if (trovato == f.registro.avvisi.end()) {
        ADD_FAILURE() << c.nome << ": no " << a.codice << " with \"" << a.parole << "\"\n" << elenco(f);
        continue;
      }
      if (a.riga != 0) {
        EXPECT_EQ(trovato->riga, a.riga) << c.nome << ": " << trovato->testo;
      }
      EXPECT_FALSE(trovato->file.empty()) << c.nome;
      std::vector<std::string> colpevoli;
      for (const int32_t r : trovato->righe_colpevoli) colpevoli.push_back(luogo_riga(f.registro, r));
      EXPECT_EQ(colpevoli, a.colpevoli) << c.nome << ": " << trovato->testo;
    }
  }
}

namespace {

// A mistake as an author makes it, through the door as the tool compiles:
// the finding that tells it, and its weight. `errore` is the build's error
// that follows it (0: none), whose detail must hold `dettaglio`.
struct sbaglio {
  const char* nome;
  std::string linea, treno;
  int32_t codice;        // 0: no finding, only the error's detail
  peso peso_atteso;
  const char* parole = "";
  int32_t errore = 0;
  const char* dettaglio = "";
};

std::string cambia(const std::string& testo, const std::string& vecchio, const std::string& nuovo) {
  EXPECT_NE(testo.find(vecchio), std::string::npos) << vecchio;
  return sostituisci(testo, vecchio, nuovo);
}

}  // namespace

// The author's mistakes, one at a time over a clean scenario: none passes in
// silence; one that loses or changes what was written weighs as an error,
// one stored as written as a warning, and nothing heavier is told with it.
TEST(Avvisi, OgniSbaglioColSuoPeso) {
  const std::string linea = linea_prova(20000, linea_base + "montagna, 8000, 9000, 11\ncartello_indicatore, 9950, (Km 10)\n");
  const std::string treno = treno_prova(treno_base());
  const std::string borgo_senza_nome = "stazione, 5000, 12, 400, 0,0,0, 1,1,0, 4,1,1, 99, 17,20,0\n";
  // Three signals side by side beyond a slow order of negative length: the
  // approach pass walks on past its end and finds no cell free there.
  const std::string segnali_fitti = "segnale, 16350, 2, 4,1,0, 0, 1, 3,1,0, 0\nsegnale, 16400, 2, 4,1,0, 0, 1, 3,1,0, 0\n"
                                    "segnale, 16450, 2, 4,1,0, 0, 1, 3,1,0, 0\n";
  const sbaglio casi[] = {
      // What passed in silence.
      {"a stop past the route's end", linea, cambia(treno, "stazione, 12000", "stazione, 21000"),
       avviso_stazione_oltre_fine, peso::avviso, "'VALDORA' at 21000 m stands past the route's end at 20000 m"},
      {"a stop's time left 0,0,0", linea, cambia(treno, "17,20,0", "0,0,0"), avviso_fermata_senza_orario,
       peso::avviso, "'BORGO' has no time, so it is passed, yet its column 13 holds 99"},
      {"the last stop's time left 0,0,0", linea, cambia(treno, "17,30,0", "0,0,0"), avviso_fermata_senza_orario,
       peso::avviso, "the train's last station, 'VALDORA', has no time"},
      {"the 12 km starter train on a 48 km line", linea_prova(48000, linea_base), treno_nuovo(), avviso_corsa_breve,
       peso::avviso, "reach no further than 11000 m (this row), 23 % of the route's 48000 m"},
      {"a gradient of 150 per mille", cambia(linea, "4000, -3", "4000, 150"), treno, avviso_pendenza_ripida,
       peso::avviso, "gradient 150 per mille"},
      {"a tunnel written end before start", cambia(linea, "8000, 9000, 11", "9000, 8000, 11"), treno,
       avviso_montagna_vuota, peso::errore, "from 9000 m to 8000 m is written backwards"},
      {"a tunnel of length 0", cambia(linea, "8000, 9000, 11", "8000, 8000, 11"), treno, avviso_montagna_vuota,
       peso::errore, "has no length"},
      {"a station of negative length", linea, cambia(treno, "5000, 12, 400", "5000, 12, -400"),
       avviso_stazione_lunghezza, peso::avviso, "stored from 5200 to 4800 m, backwards"},
      {"a station of length 0", linea, cambia(treno, "5000, 12, 400", "5000, 12, 0"), avviso_stazione_lunghezza,
       peso::avviso, "with no length"},
      {"a curve of negative length", cambia(linea, "[fine]", "curvad2, 1500, -400\n[fine]"), treno,
       avviso_curva_vuota, peso::errore, "'curvad2' from 1500 m has length -400 m: nothing of the curve is laid"},
      {"a clock past the hour", linea, treno_prova("orologio, 17, 75, 0\n" + treno_base()), avviso_orologio_non_valido,
       peso::avviso, "the clock 17,75,0 is not a time of day"},
      {"a board's first-side speed of 117", cambia(linea, "[fine]", "indicatori_vmax, 1050, 117,160,160, 0, 140,160,160, 0\n[fine]"),
       treno, avviso_codici_cartello, peso::errore, "vas 117 is outside what the board's cell keeps apart"},
      {"a board's stripes of 12", cambia(linea, "[fine]", "indicatori_vmax, 1050, 140,160,160, 12, 140,160,160, 0\n[fine]"),
       treno, avviso_codici_cartello, peso::errore, "strisces 12 is outside"},
      {"a mountain span of type 300", cambia(linea, "8000, 9000, 11", "8000, 9000, 300"), treno, avviso_valore_troncato,
       peso::errore, "the type 300 does not fit: a cell keeps the type less 10 in 8 bits (0 to 255), so it reads 34"},
      // Data lost or changed, told only as a warning before.
      {"stazione misspelt", linea, cambia(treno, "stazione, 5000", "stazine, 5000"), avviso_campo_ignorato,
       peso::errore, "Did you mean 'stazione'?"},
      {"stazione with a decomposed accent", linea, cambia(treno, "stazione, 5000", "stazio\u0301ne, 5000"),
       avviso_testo_non_convertibile, peso::errore, "each stored as '?'"},
      {"a station without its name", linea, cambia(treno, borgo + valdora, borgo_senza_nome + valdora),
       avviso_nome_mancante, peso::errore, "the row there is lost"},
      {"an empty train file", linea, "", avviso_treno_vuoto, peso::errore, "the train source is empty"},
      {"a train file without [generale]", linea, treno_base(), avviso_treno_vuoto, peso::errore, "no [generale]"},
      {"a decimal comma", cambia(linea, "2000, 6", "2000, 4,5"), treno, avviso_campo_ignorato, peso::errore,
       "a decimal comma?"},
      {"a value too many", linea, cambia(treno, "velocita, 0, 160", "velocita, 0, 160, 5"), avviso_campo_ignorato,
       peso::errore, "'5' is a value that no row reads"},
      {"a value too many before a name", linea, cambia(treno, "17,20,0, BORGO", "17,20,0, 0, BORGO"),
       avviso_campo_ignorato, peso::errore, "'BORGO' is no row kind (it follows '0', which was read as the row's name"},
      {"a unit after a number", linea, cambia(treno, "velocita, 0, 160", "velocita, 0, 160 km/h"),
       avviso_campo_ignorato, peso::errore, "a unit?"},
      {"a comma inside a board's text", cambia(linea, "(Km 10)", "(Km 9,996)"), treno, avviso_campo_ignorato,
       peso::errore, "a text ends at a comma"},
      {"a speed of 28", linea, cambia(treno, "velocita, 0, 160", "velocita, 0, 28"), avviso_velocita_arrotondata,
       peso::errore, "kept as 30 km/h"},
      {"a name with a decomposed accent", linea, cambia(treno, "BORGO", "BORGO\u0301"),
       avviso_testo_non_convertibile, peso::errore, "each stored as '?'"},
      {"a train row in the line file", cambia(linea, "[fine]", "sabbia, 200\n[fine]"), treno, avviso_campo_ignorato,
       peso::errore, "'sabbia' is a row of the train source"},
      {"a line row in the train file", linea, treno_prova(treno_base("pendenza, 9000, 3\n")), avviso_campo_ignorato,
       peso::errore, "'pendenza' is a row of the line source"},
      {"a slow order of length 0", linea, cambia(treno, "8000, 60, 600", "8000, 60, 0"),
       avviso_rallentamento_senza_fine, peso::errore, "it has no end"},
      {"speed limits out of order", linea, treno_prova(treno_base("velocita, 15000, 100\nvelocita, 6000, 120\n")),
       avviso_velocita_fuori_ordine, peso::errore, "120 km/h is laid only from 15050 m"},
      {"a time that is not a time of day", linea, cambia(treno, "17,20,0", "17,75,0"), avviso_orario_non_valido,
       peso::errore, "that is 18:15:00"},
      // Stored as written.
      {"an empty name", linea, cambia(treno, "17,20,0, BORGO", "17,20,0,"), avviso_nome_vuoto, peso::avviso,
       "has an empty name"},
      {"a slow order of negative length", linea, cambia(treno, "8000, 60, 600", "8000, 60, -600"),
       avviso_rallentamento_lunghezza, peso::avviso, "before its start"},
      {"accented names, in UTF-8", cambia(linea, "(Km 10)", "(Km 10 Citt\u00e0)"), cambia(treno, "BORGO", "BORG\u00d2"),
       avviso_testo_convertito, peso::nota, "stored as single-byte Windows-1252"},
      // The cause told before its consequence.
      {"the route length in kilometres", cambia(linea, "lunghezza percorso,    20000", "lunghezza percorso,    48"),
       treno, avviso_percorso_corto, peso::avviso, "the route length is 48 m, yet the 'pendenza' row at "
       "Prova_Linea_linea.txt:11 stands at 2000 m: is the length written in kilometres?",
       errore_fuori_percorso, "the route length (Prova_Linea_linea.txt:2) is only 48 m"},
      {"a comment holding a keyword", linea, cambia(treno, corvana, corvana + "[ velocita ridotta ]\n"),
       avviso_commento_parola, peso::errore, "'[ velocita ridotta ]' is written as a comment, in brackets, yet it "
       "holds the keyword of a 'velocita' row", errore_lettura, "is a comment in brackets that holds this row's keyword"},
      {"a general comment without its hyphen",
       cambia(linea, "progressiva chilometrica uno", "[ references ]\nprogressiva chilometrica uno"), treno,
       avviso_generale_chiusa, peso::errore, "'[ references ]' ended the general section"},
      {"a general comment before the route length",
       cambia(linea, "lunghezza percorso", "[ the route ]\nlunghezza percorso"), treno, avviso_generale_chiusa,
       peso::errore, "before its route length row", errore_lunghezza_mancante,
       "the general section ended at line 2, at '[ the route ]'"},
      {"LINE and TRAIN swapped", treno, linea, avviso_sorgenti_scambiate, peso::errore,
       "the line source holds rows of a train source ('velocita' and 6 more) and no route length: are the two "
       "sources swapped?", errore_lunghezza_mancante, "error 308"},
      // A train source whose general section opens with a comment in brackets
      // ends a line's general section there, before any of its rows is read.
      {"LINE and TRAIN swapped, the train's general rows commented", treno_prova("[ Number of cars ]\n" + treno_base()),
       linea, avviso_sorgenti_scambiate, peso::errore, "are the two sources swapped?", errore_lunghezza_mancante,
       "error 308"},
      {"the line source given twice", linea, linea, avviso_sorgenti_scambiate, peso::errore,
       "the train source holds rows of a line source"},
      {"a whole number out of range", linea, cambia(treno, "velocita, 0, 160", "velocita, 1000000000000, 160"), 0,
       peso::nota, "", errore_lettura, "a whole number from -2147483648 to 2147483647"},
      {"a slow order of negative length, then error 13", linea,
       cambia(treno, "8000, 60, 600", "14000, 60, -400") + segnali_fitti, avviso_rallentamento_lunghezza,
       peso::avviso, "before its start", errore_cammino_rallentamento,
       "its length is -400 m, so its end lies before its start"},
  };
  opzioni_compilazione o;
  o.nome_scenario = std::string(nome_prova);
  o.numero_treno = std::string(treno_di_prova);
  o.con_marcia = false;  // the compiler's findings alone
  for (const sbaglio& c : casi) {
    SCOPED_TRACE(c.nome);
    const std::string l = con_crlf(c.linea), t = con_crlf(c.treno);
    const esito_compilazione e = compila({std::string(etichetta_linea), l}, {std::string(etichetta_treno), t}, o);
    const registro& r = e.registro;
    if (c.codice != 0) {
      EXPECT_EQ(peso_avviso(c.codice), c.peso_atteso) << c.codice;
      const auto a = std::find_if(r.avvisi.begin(), r.avvisi.end(), [&c](const avviso_registrato& x) {
        return x.codice == c.codice && x.testo.find(c.parole) != std::string::npos;
      });
      EXPECT_NE(a, r.avvisi.end()) << "no " << c.codice << " with \"" << c.parole << "\"\n" << elenco({e.scenario, r, true});
      if (a != r.avvisi.end()) {
        EXPECT_FALSE(a->file.empty());
      }
    }
    if (c.errore == 0) {
      EXPECT_TRUE(r.errori.empty()) << r.errori.front().codice << " " << r.errori.front().dettaglio;
      peso piu_grave = peso::nota;
      for (const avviso_registrato& a : r.avvisi) piu_grave = std::max(piu_grave, peso_avviso(a.codice));
      EXPECT_EQ(piu_grave, c.peso_atteso) << elenco({e.scenario, r, true});
    } else {
      const auto x = std::find_if(r.errori.begin(), r.errori.end(), [&c](const errore_registrato& y) {
        return y.codice == c.errore && y.dettaglio.find(c.dettaglio) != std::string::npos;
      });
      EXPECT_NE(x, r.errori.end()) << "no error " << c.errore << " with \"" << c.dettaglio << "\""
                                   << (r.errori.empty() ? std::string() : "; first: " + r.errori.front().dettaglio);
    }
  }
}
