#include "compiler/parser_treno.h"

#include "compiler/celle.h"
#include "compiler/codici_errore.h"
#include "compiler/fallimento_comune.h"
#include "compiler/lettura_sorgente.h"
#include "compiler/registratori_treno.h"

namespace {

enum class passo { avanti, fine_corpo, esci };

struct stato_treno {
  sorgente s;
  int32_t prossimo_cartello;
  int64_t cursore_velocita = 0;  // next cell to take the speed in force
  int64_t cursore_aderenza = 0;
  int32_t velocita = 0;          // speed and adhesion in force, 0 before the first row
  int32_t aderenza = 0;
  int32_t j = slot_prima_stazione;  // slot of the next station
};

passo rifiuta(Form1& f, int32_t codice) {
  registra_errore(f, codice);
  return passo::esci;
}
passo rifiuta(Form1& f, int32_t codice, int32_t posizione) {
  registra_errore(f, codice, posizione);
  return passo::esci;
}

// The range check of a row: a failure ends the body, and the end steps run.
bool fuori(stato_treno& st, int32_t p, int32_t margine = 100) {
  if (!oltre_percorso(st.s.f, p, margine)) return false;
  registra_errore(st.s.f, errore_fuori_percorso, p);
  return true;
}

// A speed is stored as its fifth; one that rounds outside 0..255 is a failed conversion.
uint8_t quinto(int32_t velocita) { return converti_o_esci<uint8_t>(velocita / 5.0); }

passo riga_velocita(stato_treno& st) {
  Form1& f = st.s.f;
  const int32_t p = leggi_32(st.s);
  const int32_t v = leggi_32(st.s);
  if (fuori(st, p)) return passo::fine_corpo;
  const int64_t n = cella_di(p / 50.0);
  const int64_t ultima = ultima_cella(f);
  // The limit in force reaches the cell before n, never past cell N - 1.
  if (n > 0) {
    do {
      if (st.cursore_velocita >= ultima) break;
      f.percorso[st.cursore_velocita].velocita = quinto(st.velocita);
      ++st.cursore_velocita;
    } while (st.cursore_velocita < n);
  }
  st.velocita = v;
  return passo::avanti;
}

passo riga_aderenza(stato_treno& st) {
  Form1& f = st.s.f;
  const int32_t p = leggi_32(st.s);
  const int32_t a = leggi_32(st.s);
  if (fuori(st, p)) return passo::fine_corpo;
  const int64_t n = cella_di(p / 50.0);
  // Unlike the speed, nothing stops the adhesion cursor at N: rows out of
  // order could push it past the grid, and are refused there.
  if (n > 0) {
    do {
      if (!nel_percorso(f, st.cursore_aderenza))
        return rifiuta(f, errore_aderenze_oltre_percorso, p);
      f.percorso[st.cursore_aderenza].aderenza = bassi_8(st.aderenza);
      ++st.cursore_aderenza;
    } while (st.cursore_aderenza < n);
  }
  st.aderenza = a;
  return passo::avanti;
}

// After a signal or slow-order row: any code set by now ends the half, also
// one left by the line half (the recorder's work on the row stays).
passo dopo_registratore(Form1& f, bool posato, int32_t posizione) {
  if (f.codice_errore <= 0) return passo::avanti;
  if (!posato) registra_posizione(f, posizione);
  else f.posizione_errore = posizione;
  return passo::esci;
}

passo riga_segnale(stato_treno& st) {
  Form1& f = st.s.f;
  int32_t v[11];
  for (int32_t& x : v) x = leggi_32(st.s);
  const int32_t posizione = v[0];
  if (fuori(st, posizione)) return passo::fine_corpo;
  int32_t tempo = v[10];
  const bool posato = memo_segnale(f, posizione, v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], tempo);
  return dopo_registratore(f, posato, posizione);
}

passo riga_rallentamento(stato_treno& st) {
  Form1& f = st.s.f;
  int32_t v[6];
  for (int32_t& x : v) x = leggi_32(st.s);
  const int32_t x = v[0];
  if (fuori(st, x)) return passo::fine_corpo;
  const bool posato = memo_rallentamento(f, x, v[1], v[2], v[3], v[4], v[5]);
  return dopo_registratore(f, posato, x);
}

passo riga_abbattimento(stato_treno& st) {
  Form1& f = st.s.f;
  const int32_t p = leggi_32(st.s);
  const int32_t w = leggi_32(st.s);
  if (fuori(st, p)) return passo::fine_corpo;
  const int64_t c = cella_di(p / 50.0);  // no + 1, unlike signals and slow orders
  if (!nel_percorso(f, c)) return rifiuta(f, errore_abbattimento_fuori_percorso, p);
  cella_percorso& cella = f.percorso[c];
  if (!libera(cella)) return rifiuta(f, errore_abbattimento_occupato, p);
  if (w < 1) {
    cella.tipo = tipo_abbattimento_senza_velocita;  // dato1 stays
  } else {
    cella.tipo = tipo_abbattimento;
    cella.dato1 = bassi_16(w);
  }
  return passo::avanti;
}

passo riga_stazione(stato_treno& st) {
  Form1& f = st.s.f;
  sorgente& s = st.s;
  const int32_t p = leggi_32(s);
  // Stations fill slots upward, kilometre-board texts downward from 80: with
  // 80 boards not even slot 1 is left.
  if (st.j > st.prossimo_cartello) return rifiuta(f, errore_stazione_senza_slot, p);
  const int32_t j = st.j;
  record_stazione& r = f.tabella_stazioni[j];
  r.valore3 = p;
  if (fuori(st, p, 800)) return passo::fine_corpo;
  if (p % 50 != 0) return rifiuta(f, errore_stazione_posizione, p);
  r.marca = leggi_8(s);
  const int32_t lunghezza = leggi_32(s);
  if (lunghezza % 100 != 0) return rifiuta(f, errore_stazione_lunghezza, p);
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
  r.codice = intero_o_esci(ore * 3600 + minuti * 60 + secondi);  // time of day in seconds
  leggi_testo(s, r.nome);

  // The station's span.
  switch (r.marca) {
    case 5:
    case 6:
      r.valore1 = intero_o_esci(int64_t{p} - lunghezza);
      r.valore2 = intero_o_esci(int64_t{p} + 150);
      r.ottetto3 = 0;
      break;
    case 7:
    case 8:
      r.valore1 = intero_o_esci(int64_t{p} - lunghezza);
      r.valore2 = intero_o_esci(int64_t{p} + lunghezza);
      r.ottetto3 = 0;
      break;
    default:
      r.valore1 = converti_o_esci<int32_t>(p - lunghezza / 2.0);
      r.valore2 = converti_o_esci<int32_t>(p + lunghezza / 2.0);
      if (r.ottetto3 != 0) r.valore2 = intero_o_esci(int64_t{r.valore2} + 50);
      break;
  }
  if (lunghezza < 600) r.ottetto4 = 0;
  if (j == slot_prima_stazione) r.ottetto3 = 0, r.ottetto4 = 0;

  // Kinds from 25 up leave the grid alone.
  const bool sul_percorso = r.marca < 25;
  const double punto = r.valore2 / 50.0 - 1;
  // The point (and the marks before it) must lie within the grid; the range
  // check only keeps the position 800 m before the last cell.
  if (sul_percorso && cella_di(punto) > ultima_cella(f))
    return rifiuta(f, errore_stazione_fuori_percorso, p);
  if (sul_percorso && r.marca != 5 && r.marca != 6) {
    for (int k = 1; k <= 4; ++k) {
      const double segno = r.valore2 / 50.0 - k - 1;
      if (segno > 1) f.percorso[cella_di(segno)].avviso_segnale = static_cast<uint8_t>(avviso_stazione + k);
    }
  }
  if (sul_percorso) {
    if (!(punto > 1)) return rifiuta(f, errore_stazione_troppo_presto);
    cella_percorso& cella = f.percorso[cella_di(punto)];  // laid whatever the cell held
    cella.tipo = tipo_punto_stazione;
    cella.dato1 = static_cast<int16_t>(j);
  }
  // Consecutive stations: ascending, at least 350 m between spans.
  if (j > slot_prima_stazione && int64_t{r.valore1} - 350 < f.tabella_stazioni[j - 1].valore2)
    return rifiuta(f, errore_stazioni_vicine, p);
  ++st.j;
  if (st.j >= st.prossimo_cartello) return rifiuta(f, errore_stazioni_troppe);
  return passo::avanti;
}

// The end steps: the speed and the adhesion in force run to cell N - 3, then
// the kilometre references are checked.
void fine_corpo(stato_treno& st) {
  Form1& f = st.s.f;
  const int64_t n = ultima_cella(f);
  // The speed cursor never passes N (the rows stop at N - 1).
  do {
    f.percorso[st.cursore_velocita].velocita = quinto(st.velocita);
    ++st.cursore_velocita;
  } while (st.cursore_velocita < n - 2);
  do {
    if (!nel_percorso(f, st.cursore_aderenza)) {
      registra_errore(f, errore_aderenze_oltre_percorso);
      return;
    }
    f.percorso[st.cursore_aderenza].aderenza = bassi_8(st.aderenza);
    ++st.cursore_aderenza;
  } while (st.cursore_aderenza < n - 2);

  bool errate = false;
  for (int s = slot_progressiva_alta; s <= slot_progressiva_bassa; ++s)
    if (f.tabella_stazioni[s].valore1 % 50 != 0 || f.tabella_stazioni[s].valore2 % 50 != 0) errate = true;
  if (errate) registra_errore(f, errore_progressive);
}

}  // namespace

void leggi_treno(Form1& f, std::string_view testo, int32_t prossimo_cartello) {
  stato_treno st{apri_sorgente(f, testo), prossimo_cartello};

  // Nothing before "[generale]" is interpreted; without it only the end steps run.
  while (!fine(st.s)) {
    leggi_riga(st.s);
    if (contiene(minuscole(f.riga), "[generale]")) break;
  }

  while (!fine(st.s)) {
    leggi_riga(st.s);
    if (fine(st.s)) break;  // the last field is never interpreted
    // A hyphenated field is passed over, at most twice.
    bool finito = false;
    for (int volte = 0; volte < 2 && contiene(f.riga, "-") && !finito; ++volte) {
      leggi_riga(st.s);
      finito = fine(st.s);
    }
    if (finito) break;

    const std::string m = minuscole(f.riga);
    record_stazione& r84 = f.tabella_stazioni[slot_treno_percorso];
    record_stazione& r86 = f.tabella_stazioni[slot_treno];
    passo esito = passo::avanti;
    // Every test that passes reads its own values, in this order.
    if (contiene(m, "frenata") && contiene(m, "massa")) r84.valore1 = leggi_32(st.s);
    if (contiene(m, "vetture")) r84.valore3 = leggi_32(st.s);
    if (contiene(m, "velocit")) esito = riga_velocita(st);
    if (esito == passo::avanti && contiene(m, "aderenza")) esito = riga_aderenza(st);
    if (esito == passo::avanti && contiene(m, "orologio")) {
      r86.intero3 = leggi_16(st.s);
      r86.intero4 = leggi_16(st.s);
      r86.intero5 = leggi_16(st.s);
    }
    if (esito == passo::avanti && contiene(m, "sabbia")) r86.intero1 = leggi_16(st.s);
    if (esito == passo::avanti && contiene(m, "segnale")) esito = riga_segnale(st);
    if (esito == passo::avanti && contiene(m, "rallentamento")) esito = riga_rallentamento(st);
    if (esito == passo::avanti && contiene(m, "abbattimento")) esito = riga_abbattimento(st);
    if (esito == passo::avanti && contiene(m, "stazione")) esito = riga_stazione(st);
    if (esito == passo::esci) return;
    if (esito == passo::fine_corpo) break;
  }
  fine_corpo(st);
}
