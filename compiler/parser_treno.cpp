#include "compiler/parser_treno.h"

#include <algorithm>

#include "compiler/avvisi_righe.h"
#include "compiler/campi_ignorati.h"
#include "compiler/celle.h"
#include "compiler/codici_avviso.h"
#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "compiler/fallimento_comune.h"
#include "compiler/lettura_sorgente.h"
#include "compiler/registratori_treno.h"

namespace {

enum class passo { avanti, fine_corpo, esci };

struct stato_treno {
  sorgente s;
  int32_t prossimo_cartello;
  campi_ignorati ignorati{};
  int64_t cursore_velocita = 0;  // next cell to take the speed in force
  int64_t cursore_aderenza = 0;
  int32_t velocita = 0;          // speed and adhesion in force, 0 before the first row
  int32_t aderenza = 0;
  int32_t j = slot_prima_stazione;  // slot of the next station
  // The last row of each running value and the cell it starts at, and the
  // last station's row: what a row out of order is told against.
  int32_t riga_velocita = nessuna_riga;
  int64_t cella_velocita = 0;
  int32_t riga_aderenza = nessuna_riga;
  int64_t cella_aderenza = 0;
  int32_t riga_stazione = nessuna_riga;
  // The header rows read so far: braked mass, cars, clock, sand.
  int32_t testata[4] = {nessuna_riga, nessuna_riga, nessuna_riga, nessuna_riga};
};

passo rifiuta(compilazione& f, int32_t codice, std::string dettaglio = {}) {
  registra_errore(f, codice);
  if (!dettaglio.empty()) dettaglia_errore(f.registro, std::move(dettaglio));
  return passo::esci;
}
passo rifiuta(compilazione& f, int32_t codice, int32_t posizione, std::string dettaglio = {}) {
  registra_errore(f, codice, posizione);
  if (!dettaglio.empty()) dettaglia_errore(f.registro, std::move(dettaglio));
  return passo::esci;
}

// The range check of a row: a failure ends the body, and the end steps run.
bool fuori(stato_treno& st, int32_t p, int32_t margine = 100) {
  avvisa_percorso_corto(st.s.f, p, riga_nominata(st.s));
  if (!oltre_percorso(st.s.f, p, margine)) return false;
  registra_errore(st.s.f, errore_fuori_percorso, p);
  dettaglia_errore(st.s.f.registro, oltre_griglia(st.s.f.scenario, margine) + percorso_corto(st.s.f));
  return true;
}

[[noreturn, gnu::noinline]] void velocita_troppo_alta(const stato_treno& st) {
  throw fallimento_comune{"the speed " + std::to_string(st.velocita) + " km/h of " +
                              nome_riga(st.s.f.scenario, st.s.f.registro, st.riga_velocita) +
                              " does not fit a cell: a cell keeps the speed divided by 5 in 8 bits, so speeds "
                              "from 0 to 1277 km/h",
                          false, st.riga_velocita};
}

// A speed is stored as its fifth; one that rounds outside 0..255 is a failed
// conversion, told against the row that gave it.
uint8_t quinto(const stato_treno& st) {
  uint8_t out = 0;
  if (!converti(st.velocita / 5.0, out)) velocita_troppo_alta(st);
  return out;
}

// A value kept in its low bits that does not come back as written (353).
void avvisa_bassi(compilazione& f, int32_t indice, const std::string& quale, int64_t valore, int bit) {
  const int64_t letto = bit == 8 ? int64_t{bassi_8(valore)} : int64_t{bassi_16(valore)};
  if (letto == valore) return;
  const std::string campo = bit == 8 ? "8 bits (0 to 255)" : "16 bits (-32768 to 32767)";
  avvisa_riga(f, avviso_valore_troncato, indice,
              quale + " " + std::to_string(valore) + " does not fit: a cell keeps it in " + campo + ", so it reads " +
                  std::to_string(letto));
}

void testata_32(stato_treno& st, tipo_riga t, int32_t& valore) {
  inizia_riga(st.s, t);
  valore = leggi_32(st.s);
  annota_riga(st.s, 0, valore);
}

passo riga_velocita(stato_treno& st) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::velocita);
  const int32_t p = leggi_32(st.s);
  const int32_t v = leggi_32(st.s);
  if (fuori(st, p)) return passo::fine_corpo;
  const int64_t n = cella_di(p / 50.0);
  const int64_t ultima = ultima_cella(f);
  // The limit in force reaches the cell before n, never past cell N - 1.
  if (n > 0) {
    do {
      if (st.cursore_velocita >= ultima) break;
      f.scenario.percorso[st.cursore_velocita].velocita = quinto(st);
      ++st.cursore_velocita;
    } while (st.cursore_velocita < n);
  }
  const int32_t indice = annota_riga(st.s, p, v);
  if (st.riga_velocita != nessuna_riga && n <= st.cella_velocita)
    avvisa_fuori_ordine(f, avviso_velocita_fuori_ordine, indice, st.riga_velocita, std::to_string(v) + " km/h",
                        st.cursore_velocita);
  avvisa_quinto(f, indice, "the speed limit", v);
  st.riga_velocita = indice;
  st.cella_velocita = n;
  st.velocita = v;
  return passo::avanti;
}

passo riga_aderenza(stato_treno& st) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::aderenza);
  const int32_t p = leggi_32(st.s);
  const int32_t a = leggi_32(st.s);
  if (fuori(st, p)) return passo::fine_corpo;
  const int32_t indice = annota_riga(st.s, p, a);
  const int64_t n = cella_di(p / 50.0);
  // Unlike the speed, nothing stops the adhesion cursor at N: rows out of
  // order could push it past the grid, and are refused there.
  if (n > 0) {
    do {
      if (!nel_percorso(f, st.cursore_aderenza))
        return rifiuta(f, errore_aderenze_oltre_percorso, p,
                       "rows out of order have pushed the adhesion past the grid's last cell " +
                           std::to_string(ultima_cella(f)));
      f.scenario.percorso[st.cursore_aderenza].aderenza = bassi_8(st.aderenza);
      ++st.cursore_aderenza;
    } while (st.cursore_aderenza < n);
  }
  if (st.riga_aderenza != nessuna_riga && n <= st.cella_aderenza)
    avvisa_fuori_ordine(f, avviso_aderenze_fuori_ordine, indice, st.riga_aderenza,
                        "adhesion " + std::to_string(a), st.cursore_aderenza);
  avvisa_bassi(f, indice, "adhesion", a, 8);
  st.riga_aderenza = indice;
  st.cella_aderenza = n;
  st.aderenza = a;
  return passo::avanti;
}

// After a signal or slow-order row: any code set by now ends the half, also
// one left by the line half (the recorder's work on the row stays).
passo dopo_registratore(compilazione& f, bool posato, int32_t posizione) {
  if (f.registro.codice_errore <= 0) return passo::avanti;
  if (!posato) {
    registra_posizione(f.registro, posizione);
    return passo::esci;
  }
  // The row was laid, and the code is an earlier error's (the line half's):
  // the half ends here all the same, with the pair at this row. Told as an
  // error of its own at this row, so that the author learns that the rest of
  // the train source was never read, and why.
  const int32_t codice = f.registro.codice_errore;
  const errore_registrato prima = f.registro.errori.empty() ? errore_registrato{} : f.registro.errori.back();
  registra_errore(f, codice, posizione);
  dettaglia_errore(f.registro,
                   "the train source is read no further: error " + std::to_string(codice) + " recorded earlier" +
                       (prima.file.empty() ? std::string() : " at " + prima.file + ":" + std::to_string(prima.riga)) +
                       " ends its reading at the first signal or slow-order row; mend that error first");
  return passo::esci;
}

passo riga_segnale(stato_treno& st) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::segnale);
  int32_t v[11];
  for (int32_t& x : v) x = leggi_32(st.s);
  const int32_t posizione = v[0];
  if (fuori(st, posizione)) return passo::fine_corpo;
  const int32_t indice = annota_riga(st.s, posizione);
  int32_t tempo = v[10];
  const bool posato = memo_segnale(f, posizione, v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], tempo);
  if (!posato) {
    togli_riga(st.s);
    return dopo_registratore(f, posato, posizione);
  }
  // The two sides' codes share decimal digits in the cell: they must keep to
  // their ranges to come back apart.
  std::string fuori_campo;
  int quanti = 0;
  for (int i = 1; i <= 9; ++i) {
    const int32_t massimo = i == 1 || i == 6 ? 2 : 9;  // sx and dx, then the codes
    if (v[i] >= 0 && v[i] <= massimo) continue;
    fuori_campo += (quanti++ == 0 ? "" : ", ") + std::string(nome_valore(tipo_riga::segnale, i)) + " " +
                   std::to_string(v[i]);
  }
  if (quanti > 0)
    avvisa_riga(f, avviso_codici_segnale, indice,
                fuori_campo + (quanti == 1 ? " is outside its range" : " are outside their ranges") +
                    " (sx and dx 0 to 2, the other codes 0 to 9): the cell keeps 10 x s1 + d1, 10 x s2 + d2, "
                    "10 x s3 + d3 and 10 x rapp + 3 x sx + dx, so codes out of range read back as others");
  if (v[1] == 2) avvisa_bassi(f, indice, "tempo", tempo, 8);
  return dopo_registratore(f, posato, posizione);
}

passo riga_rallentamento(stato_treno& st) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::rallentamento);
  int32_t v[6];
  for (int32_t& x : v) x = leggi_32(st.s);
  const int32_t x = v[0];
  if (fuori(st, x)) return passo::fine_corpo;
  const int32_t indice = annota_riga(st.s, x, v[1], v[2]);
  const bool posato = memo_rallentamento(f, x, v[1], v[2], v[3], v[4], v[5]);
  if (!posato && f.registro.codice_errore != errore_conto_occupato) togli_riga(st.s);
  if (posato) {
    avvisa_bassi(f, indice, "the speed v", v[1], 16);
    avvisa_bassi(f, indice, "f_tt", v[3], 16);
    if (v[5] != 0) avvisa_bassi(f, indice, "the second speed d_v", v[5], 16);
  }
  return dopo_registratore(f, posato, x);
}

passo riga_abbattimento(stato_treno& st) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::abbattimento);
  const int32_t p = leggi_32(st.s);
  const int32_t w = leggi_32(st.s);
  if (fuori(st, p)) return passo::fine_corpo;
  const int64_t c = cella_di(p / 50.0);  // no + 1, unlike signals and slow orders
  if (!nel_percorso(f, c)) return rifiuta(f, errore_abbattimento_fuori_percorso, p);
  cella_percorso& cella = f.scenario.percorso[c];
  if (!libera(cella)) {
    rifiuta(f, errore_abbattimento_occupato, p, descrivi_cella(f.scenario, f.registro, c, f.riga_in_posa));
    colpevole_cella(f.scenario, f.registro, c, f.riga_in_posa);
    return passo::esci;
  }
  const int32_t indice = annota_riga(st.s, p, w);
  posa_elemento(f, c);
  if (w < 1) {
    cella.tipo = tipo_abbattimento_senza_velocita;  // dato1 stays
  } else {
    cella.tipo = tipo_abbattimento;
    cella.dato1 = bassi_16(w);
    avvisa_bassi(f, indice, "the speed", w, 16);
  }
  return passo::avanti;
}

// A station's time as written, when it is not a time of day (322).
void avvisa_orario(compilazione& f, int32_t indice, const record_stazione& r, int64_t ore, int64_t minuti,
                   int64_t secondi) {
  if (ore == 0 && minuti == 0 && secondi == 0) return;  // no time: the train passes
  if (ore >= 0 && ore <= 23 && minuti >= 0 && minuti <= 59 && secondi >= 0 && secondi <= 59) return;
  std::string t = "the time " + std::to_string(ore) + "," + std::to_string(minuti) + "," + std::to_string(secondi) +
                  " of the station " + citazione(r.nome) +
                  " is not a time of day (hours 0 to 23, minutes and seconds 0 to 59): it is kept as " +
                  std::to_string(r.codice) + " s from midnight, ";
  if (r.codice < 0) t += "before midnight (" + ora_testo(r.codice) + ")";
  else if (r.codice >= 86400) t += "past the next midnight (" + ora_testo(r.codice) + ")";
  else t += "that is " + ora_testo(r.codice);
  avvisa_riga(f, avviso_orario_non_valido, indice, std::move(t));
}

// Error 22 in the author's terms: which two stations, how far apart, which way.
std::string stazioni_vicine(const compilazione& f, int32_t precedente, const record_stazione& r, const record_stazione& q) {
  const std::string questa = "the station " + citazione(r.nome) + " (span " + std::to_string(r.valore1) + " to " +
                             std::to_string(r.valore2) + " m)";
  const std::string quella = "the span of " + citazione(q.nome) + " (" + luogo_riga(f.registro, precedente) + ", " +
                             std::to_string(q.valore1) + " to " + std::to_string(q.valore2) + " m)";
  const int64_t distacco = int64_t{r.valore1} - q.valore2;
  if (r.valore3 <= q.valore3)
    return questa + " stands at " + std::to_string(r.valore3) + " m, before the station written before it: " +
           "it starts " + std::to_string(-distacco) + " m before " + quella +
           " ends; stations must be written in route order";
  if (distacco < 0)
    return questa + " starts " + std::to_string(-distacco) + " m before " + quella +
           " ends: the spans overlap; they must be 350 m apart at least";
  return questa + " starts only " + std::to_string(distacco) + " m after " + quella +
         " ends; spans must be 350 m apart at least";
}

passo riga_stazione(stato_treno& st) {
  compilazione& f = st.s.f;
  sorgente& s = st.s;
  inizia_riga(s, tipo_riga::stazione);
  const int32_t p = leggi_32(s);
  // Stations fill slots upward, kilometre-board texts downward from 80: with
  // 80 boards not even slot 1 is left.
  if (st.j > st.prossimo_cartello) return rifiuta(f, errore_stazione_senza_slot, p);
  const int32_t j = st.j;
  record_stazione& r = f.scenario.tabella_stazioni[j];
  r.valore3 = p;
  if (fuori(st, p, 800)) return passo::fine_corpo;
  if (p % 50 != 0) {
    const int64_t sotto = int64_t{p} - p % 50 - (p < 0 ? 50 : 0);  // the multiple of 50 below
    return rifiuta(f, errore_stazione_posizione, p,
                   "the nearest multiples of 50 are " + std::to_string(sotto) +
                       " and " + std::to_string(sotto + 50) + " m");
  }
  r.marca = leggi_8(s);
  const int32_t lunghezza = leggi_32(s);
  if (lunghezza % 100 != 0)
    return rifiuta(f, errore_stazione_lunghezza, p, "length " + std::to_string(lunghezza) + " m");
  r.marca2 = leggi_8(s);
  r.ottetto4 = leggi_8(s);
  r.ottetto3 = leggi_8(s);
  r.intero1 = leggi_16(s);
  r.intero2 = leggi_16(s);
  r.ottetto1 = leggi_8(s);
  r.intero3 = leggi_16(s);
  r.intero4 = leggi_16(s);
  r.intero5 = leggi_16(s);
  r.ottetto2 = leggi_8(s);
  const int64_t ore = leggi_32(s);
  const int64_t minuti = leggi_32(s);
  const int64_t secondi = leggi_32(s);
  r.codice = intero_o_esci(ore * 3600 + minuti * 60 + secondi, "the time in seconds");  // time of day in seconds
  const int32_t riga_valori = f.sorgente_riga;
  leggi_testo(s, r.nome);
  const int32_t indice = annota_riga(s, p, j, lunghezza);
  avvisa_orario(f, indice, r, ore, minuti, secondi);
  if (avvisa_nome(f, indice, "name", r.nome, f.sorgente_riga, riga_valori) && f.sorgente_riga > riga_valori)
    st.ignorati.nota_prossima = "the values of the row whose keyword was taken as the name of the station at " +
                                luogo_riga(f.registro, indice);

  // The station's span.
  switch (r.marca) {
    case 5:
    case 6:
      r.valore1 = intero_o_esci(int64_t{p} - lunghezza, "the span's start");
      r.valore2 = intero_o_esci(int64_t{p} + 150, "the span's end");
      r.ottetto3 = 0;
      break;
    case 7:
    case 8:
      r.valore1 = intero_o_esci(int64_t{p} - lunghezza, "the span's start");
      r.valore2 = intero_o_esci(int64_t{p} + lunghezza, "the span's end");
      r.ottetto3 = 0;
      break;
    default:
      r.valore1 = converti_o_esci<int32_t>(p - lunghezza / 2.0, "the span's start");
      r.valore2 = converti_o_esci<int32_t>(p + lunghezza / 2.0, "the span's end");
      if (r.ottetto3 != 0) r.valore2 = intero_o_esci(int64_t{r.valore2} + 50, "the span's end");
      break;
  }
  if (lunghezza < 600) r.ottetto4 = 0;
  if (j == slot_prima_stazione) r.ottetto3 = 0, r.ottetto4 = 0;

  // Kinds from 25 up leave the grid alone.
  const bool sul_percorso = r.marca < 25;
  const double punto = r.valore2 / 50.0 - 1;
  // The point (and the marks before it) must lie within the grid; the range
  // check only keeps the position 800 m before the last cell.
  if (sul_percorso && cella_di(punto) > ultima_cella(f)) {
    togli_riga(s);
    return rifiuta(f, errore_stazione_fuori_percorso, p);
  }
  if (sul_percorso && r.marca != 5 && r.marca != 6) {
    segni_sovrascritti segni;
    for (int k = 1; k <= 4; ++k) {
      const double segno = r.valore2 / 50.0 - k - 1;
      if (segno > 1) posa_segno_su(f, cella_di(segno), static_cast<uint8_t>(avviso_stazione + k), segni);
    }
    avvisa_segni(f, segni);
  }
  if (sul_percorso) {
    if (!(punto > 1))
      return rifiuta(f, errore_stazione_troppo_presto,
                     "the span of " + citazione(r.nome) + " runs from " + std::to_string(r.valore1) + " to " +
                         std::to_string(r.valore2) + " m: its point would fall on cell " +
                         std::to_string(cella_di(punto)) + ", and it must lie beyond cell 1");
    const int64_t c = cella_di(punto);
    cella_percorso& cella = f.scenario.percorso[c];  // laid whatever the cell held
    if (!libera(cella))
      colpevole_avviso(f.registro, avvisa_riga(f, avviso_stazione_su_elemento, indice,
                  "the station point of " + citazione(r.nome) + " on cell " + std::to_string(c) + " (" +
                      std::to_string(c * 50) + " m) replaces " + cosa_in_cella(f.scenario, f.registro, c, f.riga_in_posa) +
                      ", which is lost; the cell keeps that feature's other values"),
                       origine_di(f.registro, c).elemento);
    cella.tipo = tipo_punto_stazione;
    cella.dato1 = static_cast<int16_t>(j);
    posa_elemento(f, c);
  }
  // Consecutive stations: ascending, at least 350 m between spans.
  if (j > slot_prima_stazione && int64_t{r.valore1} - 350 < f.scenario.tabella_stazioni[j - 1].valore2) {
    const record_stazione& q = f.scenario.tabella_stazioni[j - 1];
    if (r.valore3 <= q.valore3)
      colpevole_avviso(f.registro, avvisa_riga(f, avviso_stazioni_fuori_ordine, indice,
                  "the station " + citazione(r.nome) + " at " + std::to_string(r.valore3) +
                      " m is written after " + nome_riga(f.scenario, f.registro, st.riga_stazione) + " at " + std::to_string(q.valore3) +
                      " m: stations must be written in route order"), st.riga_stazione);
    rifiuta(f, errore_stazioni_vicine, p, stazioni_vicine(f, st.riga_stazione, r, q));
    colpevole(f.registro, st.riga_stazione);
    return passo::esci;
  }
  st.riga_stazione = indice;
  ++st.j;
  if (st.j >= st.prossimo_cartello)
    return rifiuta(f, errore_stazioni_troppe,
                   std::to_string(st.j - slot_prima_stazione) + " stations and " +
                       std::to_string(slot_cartelli - st.prossimo_cartello) +
                       " kilometre board texts fill the station table's 79 slots");
  return passo::avanti;
}

// The end steps: the speed and the adhesion in force run to cell N - 3, then
// the kilometre references are checked.
void fine_corpo(stato_treno& st) {
  compilazione& f = st.s.f;
  st.s.in_riga = false;
  const int64_t n = ultima_cella(f);
  // The speed cursor never passes N (the rows stop at N - 1).
  do {
    f.scenario.percorso[st.cursore_velocita].velocita = quinto(st);
    ++st.cursore_velocita;
  } while (st.cursore_velocita < n - 2);
  do {
    if (!nel_percorso(f, st.cursore_aderenza)) {
      registra_errore(f, errore_aderenze_oltre_percorso);
      dettaglia_errore(f.registro, "rows out of order have pushed the adhesion past the grid's last cell " + std::to_string(n));
      return;
    }
    f.scenario.percorso[st.cursore_aderenza].aderenza = bassi_8(st.aderenza);
    ++st.cursore_aderenza;
  } while (st.cursore_aderenza < n - 2);

  std::string errate;
  for (int s = slot_progressiva_alta; s <= slot_progressiva_bassa; ++s) {
    const record_stazione& r = f.scenario.tabella_stazioni[s];
    if (r.valore1 % 50 != 0 || r.valore2 % 50 != 0)
      errate += (errate.empty() ? "" : "; ") + std::string("slot ") + std::to_string(s) + " holds " +
                std::to_string(r.valore1) + ", " + std::to_string(r.valore2) + ", " + std::to_string(r.valore3);
  }
  if (!errate.empty()) {
    registra_errore(f, errore_progressive);
    dettaglia_errore(f.registro, "once in order, " + errate);
  }
}

// A train source that holds a line's rows and none of a train's: the line
// source given twice, or the two swapped. Told once (308), as the cause, in
// place of a warning for each of its rows.
void scambiate(stato_treno& st, std::size_t primo_avviso) {
  compilazione& f = st.s.f;
  const campi_ignorati& ci = st.ignorati;
  const bool righe_proprie = std::any_of(f.registro.righe_lette.begin(), f.registro.righe_lette.end(),
                                         [](const riga_letta& r) { return r.nel_treno; });
  if (ci.altre_righe == 0 || righe_proprie) return;
  auto& avvisi = f.registro.avvisi;
  avvisi.erase(std::remove_if(avvisi.begin() + static_cast<std::ptrdiff_t>(primo_avviso), avvisi.end(),
                              [](const avviso_registrato& a) { return a.codice == avviso_campo_ignorato; }),
               avvisi.end());
  avviso_registrato& a = registra_avviso(
      f.registro, avviso_sorgenti_scambiate,
      "the train source holds rows of a line source (" + citazione(ci.prima_altra) +
          (ci.altre_righe > 1 ? " and " + std::to_string(ci.altre_righe - 1) + " more" : std::string()) +
          ") and none of a train's, so the train has no station, no speed limit and no signal: is it the line "
          "source given again, or are the two sources swapped? The line source is given first, then the train "
          "source");
  a.file = f.sorgente_file;
  a.riga = ci.riga_altra;
  a.colonna = ci.colonna_altra;
}

void leggi(stato_treno& st) {
  compilazione& f = st.s.f;
  campi_ignorati& ci = st.ignorati;

  // Nothing before "[generale]" is interpreted; without it only the end steps run.
  bool generale = false;
  bool campi = false;
  while (!fine(st.s) && !generale) {
    leggi_riga(st.s);
    campi = true;
    generale = contiene(minuscole(f.riga), "[generale]");
  }
  // Without the heading the train has no station, no limit, no signal: the
  // packed files would hold the line alone.
  const std::size_t primo_avviso = f.registro.avvisi.size();
  if (!generale) {
    avviso_registrato& a = registra_avviso(
        f.registro, avviso_treno_vuoto,
        campi ? "the train source has no [generale] heading: none of its fields is read, so the train has no "
                "station, no speed limit and no signal"
              : "the train source is empty: nothing of the train is read, so it has no station, no speed limit "
                "and no signal");
    a.file = f.sorgente_file;
  }

  while (!fine(st.s)) {
    leggi_riga(st.s);
    if (fine(st.s)) {  // the last field is never interpreted
      ultimo_campo(f, ci, f.riga, st.s.parola.riga, st.s.parola.colonna);
      break;
    }
    // A hyphenated field is passed over, at most twice.
    bool finito = false;
    for (int volte = 0; volte < 2 && contiene(f.riga, "-") && !finito; ++volte) {
      campo_ignorato(f, ci, f.riga, st.s.parola.riga, st.s.parola.colonna, true);
      leggi_riga(st.s);
      finito = fine(st.s);
    }
    if (finito) {
      ultimo_campo(f, ci, f.riga, st.s.parola.riga, st.s.parola.colonna);
      break;
    }

    const std::string m = minuscole(f.riga);
    // The keyword tests, each made once.
    const bool massa = parola_massa_frenata(m), vetture = parola_vetture(m), velocita = parola_velocita(m),
               aderenza = parola_aderenza(m), orologio = parola_orologio(m), sabbia = parola_sabbia(m),
               segnale = parola_segnale(m), rallentamento = parola_rallentamento(m),
               abbattimento = parola_abbattimento(m), stazione = parola_stazione(m);
    if (massa || vetture || velocita || aderenza || orologio || sabbia || segnale || rallentamento || abbattimento ||
        stazione)
      campo_letto(f, ci);
    else
      campo_ignorato(f, ci, f.riga, st.s.parola.riga, st.s.parola.colonna, false, vicino(st.s));
    // A comment in brackets is read as a row when it holds a keyword
    // ("[ velocita ridotta ]" is a speed-limit row).
    if (intestazione(f.riga)) {
      const std::string_view parola = massa ? "percentuale massa frenata" : vetture ? "numero vetture"
                                      : velocita ? "velocita" : aderenza ? "aderenza" : orologio ? "orologio"
                                      : sabbia ? "sabbia" : segnale ? "segnale" : rallentamento ? "rallentamento"
                                      : abbattimento ? "abbattimento" : stazione ? "stazione" : "";
      if (!parola.empty()) commento_letto(f, f.riga, parola, st.s.parola.riga, st.s.parola.colonna);
    }
    record_stazione& r84 = f.scenario.tabella_stazioni[slot_treno_percorso];
    record_stazione& r86 = f.scenario.tabella_stazioni[slot_treno];
    passo esito = passo::avanti;
    // Every test that passes reads its own values, in this order.
    // A second header row of a kind is told.
    auto ripetuta = [&](int k) { avvisa_ripetuta(f, f.riga_in_posa, st.testata[k]); };
    if (massa) testata_32(st, tipo_riga::massa_frenata, r84.valore1), ripetuta(0);
    if (vetture) testata_32(st, tipo_riga::vetture, r84.valore3), ripetuta(1);
    if (velocita) esito = riga_velocita(st);
    if (esito == passo::avanti && aderenza) esito = riga_aderenza(st);
    if (esito == passo::avanti && orologio) {
      inizia_riga(st.s, tipo_riga::orologio);
      r86.intero3 = leggi_16(st.s);
      r86.intero4 = leggi_16(st.s);
      r86.intero5 = leggi_16(st.s);
      const int32_t indice = annota_riga(st.s);
      ripetuta(2);
      // Kept as written, three 16-bit values: one that is not a time of day
      // starts the run at a clock the simulator never shows.
      if (r86.intero3 < 0 || r86.intero3 > 23 || r86.intero4 < 0 || r86.intero4 > 59 || r86.intero5 < 0 ||
          r86.intero5 > 59)
        avvisa_riga(f, avviso_orologio_non_valido, indice,
                    "the clock " + std::to_string(r86.intero3) + "," + std::to_string(r86.intero4) + "," +
                        std::to_string(r86.intero5) +
                        " is not a time of day (hours 0 to 23, minutes and seconds 0 to 59); it is stored as written");
    }
    if (esito == passo::avanti && sabbia) {
      inizia_riga(st.s, tipo_riga::sabbia);
      r86.intero1 = leggi_16(st.s);
      annota_riga(st.s, 0, r86.intero1);
      ripetuta(3);
    }
    if (esito == passo::avanti && segnale) esito = riga_segnale(st);
    if (esito == passo::avanti && rallentamento) esito = riga_rallentamento(st);
    if (esito == passo::avanti && abbattimento) esito = riga_abbattimento(st);
    if (esito == passo::avanti && stazione) esito = riga_stazione(st);
    if (esito == passo::esci) return;
    if (esito == passo::fine_corpo) break;
  }
  campo_letto(f, ci);
  scambiate(st, primo_avviso);
  fine_corpo(st);
}

}  // namespace

void leggi_treno(compilazione& f, std::string_view testo, int32_t prossimo_cartello) {
  stato_treno st{apri_sorgente(f, testo), prossimo_cartello};
  st.s.nel_treno = true;
  st.ignorati.parte = parte_sorgente::treno;
  try {
    leggi(st);
    campo_letto(f, st.ignorati);
    f.riga_in_posa = nessuna_riga;
  } catch (fallimento_comune& e) {
    lettura_fallita(st.s, st.ignorati, e);
    throw;
  }
}
