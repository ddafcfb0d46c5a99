// Each mistake an author makes that the build accepts is told: one small
// scenario per mistake, the warnings it must raise, and nothing more.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "compiler/codici_avviso.h"
#include "compiler/codici_errore.h"
#include "packer/imballa.h"
#include "prove/sorgenti.h"

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

// A warning as a case expects it: its code, words its text must hold, and
// the line of the field it points at (0: not checked).
struct atteso {
  int32_t codice;
  const char* parole;
  int32_t riga = 0;
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
       {{avviso_campo_ignorato, "'5' is a value that no row reads; skipped", 9}}},
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
                               "vetture' row at Prova_Linea_12-.txt:2", 10}}},
      {"a background given twice", sostituisci(linea_prova(20000, linea_base), "sfondo tre", "sfondo uno"),
       treno_prova(treno_base()),
       {{avviso_riga_ripetuta, "'sfondo uno' is given again: this row's values replace those of the 'sfondo' row at "
                               "Prova_Linea_linea.txt:6", 8}}},
      // Times.
      {"a stop before the one before it", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "17,30,0", "17,5,0")),
       {{avviso_orario_indietro, "'VALDORA' is due at 17:05:00, before 'BORGO' (Prova_Linea_12-.txt:5) at 17:20:00", 6}}},
      {"a stop at the same time", linea_prova(20000, linea_base),
       treno_prova(sostituisci(treno_base(), "17,30,0", "17,20,0")),
       {{avviso_orario_indietro, "the same time as 'BORGO'", 6}}},
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
                                       "from 15050 m", 10}}},
      {"two speed limits at 0 m", linea_prova(20000, linea_base), treno_prova(treno_base("velocita, 0, 120\n")),
       {{avviso_velocita_fuori_ordine, "the value of the row before is never laid", 9}}},
      {"gradients swapped", linea_prova(20000, "pendenza, 4000, -3\npendenza, 2000, 6\n"), treno_prova(treno_base()),
       {{avviso_pendenze_fuori_ordine, "gradient 6 is laid only from 4050 m", 12}}},
      {"adhesion swapped", linea_prova(20000, linea_base), treno_prova(treno_base("aderenza, 9000, 90\naderenza, 4000, 80\n")),
       {{avviso_aderenze_fuori_ordine, "adhesion 80 is laid only from 9050 m", 10}}},
      {"curves overlapping", linea_prova(20000, linea_base + "curvad1, 1000, 600\ncurvas2, 1400, 300\n"),
       treno_prova(treno_base()),
       {{avviso_curve_fuori_ordine, "'curvas2' from 1400 m overlaps the curve before it (Prova_Linea_linea.txt:13), "
                                    "which ends at 1600 m: it turns only from 1601 m", 14}}},
      {"curves swapped", linea_prova(20000, linea_base + "curvad1, 5000, 600\ncurvas2, 1400, 300\n"),
       treno_prova(treno_base()), {{avviso_curve_fuori_ordine, "nothing of this curve is laid", 14}}},
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
                                           "(Prova_Linea_12-.txt:7)", 9}}},
      {"a signal past the route's end", linea_prova(20000, linea_base),
       treno_prova(treno_base("segnale, 20500, 2, 4,1,0, 0, 1, 3,1,0, 0\n")),
       {{avviso_segnale_oltre_fine, "the signal at 20500 m stands past the route's end at 20000 m", 9}}},
      // Signals written before the stations, one on a station's point: the
      // point replaces the signal, and the station's marks the signal's.
      {"a station point over a signal", linea_prova(20000, linea_base),
       treno_prova(velocita_base + aderenza_base + "segnale, 5100, 2, 4,1,0, 0, 1, 3,1,0, 0\n" + stazioni_base() +
                   rallentamento_base),
       {{avviso_segno_sovrascritto, "the approach marks of this row replace those of the 'segnale' row at "
                                    "Prova_Linea_12-.txt:4 on cell 101 (5050 m): 82 over 71, cell 99 (4950 m): 84 over 72", 6},
        {avviso_stazione_su_elemento, "the station point of 'BORGO' on cell 103 (5150 m) replaces the signal from "
                                      "Prova_Linea_12-.txt:4, which is lost", 6}}},
      {"a station point over a board", linea_prova(20000, linea_base + "cartello_indicatore, 5100, (Km 5)\n"),
       treno_prova(treno_base()),
       {{avviso_stazione_su_elemento, "replaces the kilometre board from Prova_Linea_linea.txt:13", 5}}},
      {"two signals whose marks cross", linea_prova(20000, linea_base),
       treno_prova(treno_base("segnale, 3000, 2, 4,1,1, 0, 2, 2,1,1, 0\nsegnale, 3200, 2, 4,0,0, 0, 0, 0,0,0, 0\n")),
       {{avviso_segno_sovrascritto, "replace those of the 'segnale' row at Prova_Linea_12-.txt:9", 10}}},
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
    }
  }
}
