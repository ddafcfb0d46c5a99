#include "compiler/controlli_finali.h"

#include <algorithm>
#include <vector>

#include "compiler/avvisi_righe.h"
#include "compiler/celle.h"
#include "compiler/codici_avviso.h"
#include "compiler/descrizioni.h"

namespace {

constexpr int64_t giorno_s = 86400;
// A time that comes back by less than half a day crosses midnight.
constexpr int64_t mezza_giornata_s = 43200;

const record_stazione* stazione_di(const compilazione& f, const riga_letta& r) {
  if (r.valore < slot_prima_stazione || r.valore >= numero_slot) return nullptr;
  return &f.scenario.tabella_stazioni[static_cast<std::size_t>(r.valore)];
}

// Stop times must rise along the run, with one crossing of midnight at most:
// the reading the fastest run makes of the timetable.
void orari(compilazione& f) {
  int32_t prima = nessuna_riga;
  int64_t ora_prima = 0, giorni = 0;
  for (std::size_t i = 0; i < f.registro.righe_lette.size(); ++i) {
    const riga_letta& r = f.registro.righe_lette[i];
    if (r.tipo != tipo_riga::stazione) continue;
    const record_stazione* s = stazione_di(f, r);
    if (s == nullptr || s->codice == 0) continue;  // no time: the train passes
    int64_t ora = s->codice + giorni;
    const int32_t indice = static_cast<int32_t>(i);
    if (prima != nessuna_riga && ora <= ora_prima) {
      const record_stazione* q = stazione_di(f, f.registro.righe_lette[static_cast<std::size_t>(prima)]);
      const std::string quella = citazione(q->nome) + " (" + luogo_riga(f.registro, prima) + ") at " + ora_testo(q->codice);
      if (ora < ora_prima && ora + giorno_s - ora_prima <= mezza_giornata_s) {
        if (giorni > 0)
          colpevole_avviso(f.registro, avvisa_riga(f, avviso_orario_indietro, indice,
                      "the station " + citazione(s->nome) + ", due at " + ora_testo(s->codice) +
                          " after " + quella + ", crosses midnight a second time: a run may cross it once"), prima);
        giorni += giorno_s;
        ora += giorno_s;
      } else {
        colpevole_avviso(f.registro, avvisa_riga(f, avviso_orario_indietro, indice,
                    "the station " + citazione(s->nome) + " is due at " + ora_testo(s->codice) +
                        (ora == ora_prima ? ", the same time as " : ", before ") + quella +
                        ": stop times must rise along the run"), prima);
      }
    }
    prima = indice;
    ora_prima = ora;
  }
}

struct rallentamento {
  int32_t indice;
  int64_t inizio, fine;  // metres, inizio <= fine
};

void rallentamenti(compilazione& f) {
  const bool griglia = f.scenario.percorso.size() >= 2;
  const int64_t lunghezza = f.scenario.tabella_stazioni[slot_treno_percorso].valore2;
  const int64_t ultima = ultima_cella(f);
  std::vector<rallentamento> tratti;
  for (std::size_t i = 0; i < f.registro.righe_lette.size(); ++i) {
    const riga_letta& r = f.registro.righe_lette[i];
    const int32_t indice = static_cast<int32_t>(i);
    if (griglia && r.tipo == tipo_riga::segnale && r.posizione > lunghezza)
      avvisa_riga(f, avviso_segnale_oltre_fine, indice,
                  "the signal at " + std::to_string(r.posizione) + " m stands past the route's end at " +
                      std::to_string(lunghezza) + " m (the grid runs on to " + std::to_string(ultima * 50) +
                      " m, beyond what the train runs)");
    if (r.tipo != tipo_riga::rallentamento) continue;
    const int64_t x = r.posizione, l = r.lunghezza, v = r.valore;
    const int64_t fine = x + l;
    const std::string questo = "the slow order at " + std::to_string(x) + " m";
    if (griglia && std::max(x, fine) > lunghezza)
      avvisa_riga(f, avviso_rallentamento_oltre_fine, indice,
                  questo + " runs to " + std::to_string(std::max(x, fine)) + " m, past the route's end at " +
                      std::to_string(lunghezza) + " m (the grid runs on to " + std::to_string(ultima * 50) + " m)");
    const int64_t cella_inizio = cella_di(x / 50.0 + 1), cella_fine = cella_di(fine / 50.0 + 1);
    // An end on the start's cell is lost to the start; an end before the
    // start is laid as written.
    if (l <= 0 && cella_fine == cella_inizio)
      avvisa_riga(f, avviso_rallentamento_senza_fine, indice,
                  questo + " has length " + std::to_string(l) +
                      " m: its end falls on its start's cell, which the start takes: it has no end");
    else if (l <= 0)
      avvisa_riga(f, avviso_rallentamento_lunghezza, indice,
                  questo + " has length " + std::to_string(l) + " m: its end is laid at " + std::to_string(fine) +
                      " m, before its start");
    else if (cella_fine == cella_inizio)
      avvisa_riga(f, avviso_rallentamento_senza_fine, indice,
                  questo + " is " + std::to_string(l) + " m long: its end falls on its start's cell " +
                      std::to_string(cella_inizio) + ", which the start takes, so it has no end");
    else
      tratti.push_back({indice, x, fine});

    if (v <= 0) {
      avvisa_riga(f, avviso_rallentamento_velocita, indice,
                  questo + " has speed " + std::to_string(v) + " km/h: a slow order must let the train run");
    } else if (griglia) {
      // The line limits laid along its section, as the cells keep them.
      int64_t massimo = 0;
      for (int64_t c = std::max<int64_t>(0, std::min(cella_inizio, cella_fine));
           c <= std::min(ultima, std::max(cella_inizio, cella_fine)); ++c)
        massimo = std::max<int64_t>(massimo, int64_t{f.scenario.percorso[static_cast<std::size_t>(c)].velocita} * 5);
      if (massimo > 0 && v > massimo)
        avvisa_riga(f, avviso_rallentamento_velocita, indice,
                    questo + " at " + std::to_string(v) + " km/h is above the line limit along it (at most " +
                        std::to_string(massimo) + " km/h): it slows nothing");
    }
  }

  // Sections that overlap: each told once, against the one it starts inside.
  std::stable_sort(tratti.begin(), tratti.end(),
                   [](const rallentamento& a, const rallentamento& b) { return a.inizio < b.inizio; });
  const rallentamento* piu_lungo = nullptr;
  for (const rallentamento& t : tratti) {
    if (piu_lungo != nullptr && t.inizio < piu_lungo->fine)
      colpevole_avviso(f.registro, avvisa_riga(f, avviso_rallentamenti_sovrapposti, t.indice,
                  "the slow order from " + std::to_string(t.inizio) + " m to " + std::to_string(t.fine) +
                      " m overlaps the one from " + std::to_string(piu_lungo->inizio) + " m to " +
                      std::to_string(piu_lungo->fine) + " m (" + luogo_riga(f.registro, piu_lungo->indice) + ")"), piu_lungo->indice);
    if (piu_lungo == nullptr || t.fine > piu_lungo->fine) piu_lungo = &t;
  }
}

// The station table keeps a name's length in 16 bits.
void nomi(compilazione& f) {
  auto tagliato = [](const std::string& nome) { return nome.size() > byte_testo_massimi; };
  for (std::size_t i = 0; i < f.registro.righe_lette.size(); ++i) {
    const riga_letta& r = f.registro.righe_lette[i];
    if (r.tipo != tipo_riga::stazione && r.tipo != tipo_riga::indicatore_km) continue;
    if (r.valore < 0 || r.valore >= numero_slot) continue;
    const std::string& nome = f.scenario.tabella_stazioni[static_cast<std::size_t>(r.valore)].nome;
    if (!tagliato(nome)) continue;
    avvisa_riga(f, avviso_nome_tagliato, static_cast<int32_t>(i),
                std::string(r.tipo == tipo_riga::stazione ? "the name of the station at " : "the text of the board at ") +
                    std::to_string(r.posizione) + " m is " + std::to_string(nome.size()) +
                    " bytes long: a name's length is kept in 16 bits, so only its first " +
                    std::to_string(byte_testo_massimi) + " bytes are packed");
  }
  if (tagliato(f.scenario.nome_scenario))
    registra_avviso(f.registro, avviso_nome_tagliato,
                    "the scenario's name is " + std::to_string(f.scenario.nome_scenario.size()) +
                        " bytes long: only its first " + std::to_string(byte_testo_massimi) + " bytes are packed");
  if (tagliato(f.scenario.numero_treno))
    registra_avviso(f.registro, avviso_nome_tagliato,
                    "the train number is " + std::to_string(f.scenario.numero_treno.size()) + " bytes long: only its first " +
                        std::to_string(byte_testo_massimi) + " bytes are packed");
}

// The run's stations: where they stand against the route's end, their
// spans, and a time missing where the train stops.
void stazioni(compilazione& f) {
  const bool griglia = f.scenario.percorso.size() >= 2;
  const int64_t lunghezza = f.scenario.tabella_stazioni[slot_treno_percorso].valore2;
  std::vector<int32_t> righe;  // the station rows, in file order
  int32_t prima_fermata = nessuna_riga, ultima_fermata = nessuna_riga;
  for (std::size_t i = 0; i < f.registro.righe_lette.size(); ++i) {
    const riga_letta& r = f.registro.righe_lette[i];
    const record_stazione* s = r.tipo == tipo_riga::stazione ? stazione_di(f, r) : nullptr;
    if (s == nullptr) continue;
    const int32_t indice = static_cast<int32_t>(i);
    righe.push_back(indice);
    if (s->codice != 0) {
      if (prima_fermata == nessuna_riga) prima_fermata = indice;
      ultima_fermata = indice;
    }
    // A route length written in kilometres is told once, at its own row (356).
    if (griglia && !f.percorso_corto_detto && r.posizione > lunghezza)
      avvisa_riga(f, avviso_stazione_oltre_fine, indice,
                  "the station " + citazione(s->nome) + " at " + std::to_string(r.posizione) +
                      " m stands past the route's end at " + std::to_string(lunghezza) +
                      " m: the train never gets there");
    if (r.lunghezza <= 0) {
      std::string t = "the station " + citazione(s->nome) + " at " + std::to_string(r.posizione) + " m has length " +
                      std::to_string(r.lunghezza) + " m: its span is stored from " + std::to_string(s->valore1) +
                      " to " + std::to_string(s->valore2) + " m" +
                      (s->valore2 < s->valore1 ? ", backwards" : s->valore2 == s->valore1 ? ", with no length" : "");
      if (s->marca < 25)
        t += ", and its point on cell " + std::to_string(cella_di(s->valore2 / 50.0 - 1)) + " (" +
             std::to_string(cella_di(s->valore2 / 50.0 - 1) * 50) + " m)";
      avvisa_riga(f, avviso_stazione_lunghezza, indice, std::move(t));
    }
  }
  if (prima_fermata == nessuna_riga) return;  // no timetable: nothing to say of its stops
  // After an error the rows read may stop short of the train's last station.
  const bool intera = f.registro.errori.empty();

  const auto chi = [&f](int32_t indice) {
    const record_stazione* s = stazione_di(f, f.registro.righe_lette[static_cast<std::size_t>(indice)]);
    return citazione(s->nome) + " (" + luogo_riga(f.registro, indice) + ", " + ora_testo(s->codice) + ")";
  };
  for (const int32_t indice : righe) {
    const record_stazione* s = stazione_di(f, f.registro.righe_lette[static_cast<std::size_t>(indice)]);
    if (s->codice != 0) continue;
    // A run leaves its first station and arrives at its last; and the rows
    // the writers give a stop on the way hold its stop mark in column 13
    // (99, 60 or 30; 1 at the origin, 0 at a station passed).
    std::string t;
    if (intera && indice == righe.front())
      t = "the train's first station, " + citazione(s->nome) + ", has no time, so it is passed: the timetable "
          "starts only at " + chi(prima_fermata) + ". A run leaves its first station: give it its departure time";
    else if (intera && indice == righe.back())
      t = "the train's last station, " + citazione(s->nome) + ", has no time, so it is passed: the timetable "
          "ends at " + chi(ultima_fermata) + ". A run arrives at its last station: give it its arrival time";
    else if (s->ottetto2 >= 2)
      t = "the station " + citazione(s->nome) + " has no time, so it is passed, yet its column 13 holds " +
          std::to_string(s->ottetto2) + " as a stop's row does (a station passed holds 0): give it its time, "
          "or 0 in column 13";
    else
      continue;
    avvisa_riga(f, avviso_fermata_senza_orario, indice, std::move(t));
  }
}

// A train whose rows all lie in the first third of the route: most likely the
// train of a shorter line, or the length of a longer one. A train over part
// of its line is common; over so little of it, hardly ever.
void corsa(compilazione& f) {
  const int64_t lunghezza = f.scenario.tabella_stazioni[slot_treno_percorso].valore2;
  // After an error the rows read may stop short of the train's reach.
  if (f.scenario.percorso.size() < 2 || f.percorso_corto_detto || lunghezza < 1000 || !f.registro.errori.empty())
    return;
  int32_t piu_lontana = nessuna_riga;
  int64_t fin_dove = 0;
  for (std::size_t i = 0; i < f.registro.righe_lette.size(); ++i) {
    const riga_letta& r = f.registro.righe_lette[i];
    if (!r.nel_treno || !ha_posizione(r.tipo)) continue;
    const int64_t fino = r.tipo == tipo_riga::rallentamento ? std::max<int64_t>(r.posizione, int64_t{r.posizione} + r.lunghezza)
                                                             : int64_t{r.posizione};
    if (piu_lontana == nessuna_riga || fino > fin_dove) piu_lontana = static_cast<int32_t>(i), fin_dove = fino;
  }
  if (piu_lontana == nessuna_riga || fin_dove * 3 >= lunghezza) return;
  const int64_t percento = static_cast<int64_t>(arrotonda(100.0 * static_cast<double>(fin_dove) / static_cast<double>(lunghezza)));
  int32_t riga_lunghezza = nessuna_riga;  // the route length that counts: the last one given
  for (std::size_t i = 0; i < f.registro.righe_lette.size(); ++i)
    if (f.registro.righe_lette[i].tipo == tipo_riga::lunghezza) riga_lunghezza = static_cast<int32_t>(i);
  std::string t = "the train's rows reach no further than " + std::to_string(fin_dove) + " m (this row), " +
                  std::to_string(percento) + " % of the route's " + std::to_string(lunghezza) + " m";
  if (riga_lunghezza != nessuna_riga) t += " (" + luogo_riga(f.registro, riga_lunghezza) + ")";
  t += ": the last " + std::to_string(lunghezza - fin_dove) +
       " m of the line are never run. Is the train that of a shorter line, or the route length that of a longer one?";
  avvisa_riga(f, avviso_corsa_breve, piu_lontana, std::move(t));
}

}  // namespace

void controlla_scenario(compilazione& f) {
  orari(f);
  rallentamenti(f);
  stazioni(f);
  corsa(f);
  nomi(f);
}
