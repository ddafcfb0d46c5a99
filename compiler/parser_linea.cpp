#include "compiler/parser_linea.h"

#include <algorithm>

#include "compiler/celle.h"
#include "compiler/codici_errore.h"
#include "compiler/lettura_sorgente.h"
#include "compiler/registratori_linea.h"

namespace {

constexpr int32_t lunghezza_massima = 1000000;
// The grid and the plan run on 7000 m past the route's end.
constexpr int32_t coda_linea = 7000;
// The plan never passes this metre, whatever the route length.
constexpr int64_t limite_piano = 1000000;

enum class passo { avanti, fine_corpo, esci };

struct stato_linea {
  sorgente s;
  bool lunghezza_letta = false;
  int32_t lunghezza = 0;
  int32_t prossimo_cartello = slot_cartelli;
  int64_t cursore_pendenza = 0;  // next cell to take the current gradient
  int32_t pendenza = 0;          // gradient in force, 0 before the first row
  int64_t j = 2;                 // next point of the plan
};

// Ends the line half with `codice`: the train source is never taken up.
passo rifiuta(Form1& f, int32_t codice) {
  registra_errore(f, codice);
  return passo::esci;
}
passo rifiuta(Form1& f, int32_t codice, int32_t posizione) {
  registra_errore(f, codice, posizione);
  return passo::esci;
}

// Lays the plan's points from the cursor up to `fino` as one stretch (a
// straight run, or a curve of curvature k), the cursor passing the last. The
// plan may not run past its point `ultimo` (L + 7000) nor past metre 1000000:
// the points before either limit are laid, then the half ends with its code.
passo stendi(stato_linea& st, int64_t fino, double k, bool curva) {
  Form1& f = st.s.f;
  if (st.j > fino) return passo::avanti;  // an overlap: nothing new to lay
  const int64_t ultimo = int64_t{st.lunghezza} + coda_linea;
  if (st.j > ultimo) return rifiuta(f, errore_curva_oltre_linea);
  const int64_t fine = std::min({fino, ultimo, limite_piano});
  f.griglia_linea.tratti.push_back({fine, k, curva});
  st.j = fine + 1;
  if (st.j > limite_piano) return rifiuta(f, errore_curva);
  if (fine < fino) return rifiuta(f, errore_curva_oltre_linea);  // the next point lies past L + 7000
  return passo::avanti;
}

// The range check of a body row: a failure ends the body, not the build.
bool fuori(stato_linea& st, int32_t p) {
  if (!oltre_percorso(st.s.f, p, 100)) return false;
  registra_errore(st.s.f, errore_fuori_percorso, p);
  return true;
}

// ---- general section ----

passo lunghezza_percorso(stato_linea& st) {
  Form1& f = st.s.f;
  const int32_t l = leggi_32(st.s);
  f.tabella_stazioni[slot_treno_percorso].valore2 = l;
  if (l > lunghezza_massima) return rifiuta(f, errore_lunghezza_percorso);
  const int64_t n = cella_di((int64_t{l} + coda_linea) / 50.0);
  // A short negative route still has a grid; one so far below 0 that the grid
  // has no cell 0, or the plan no room for its first two points, has none.
  if (n < 0 || (f.salva_linea != 0 && int64_t{l} + coda_linea < 1))
    return rifiuta(f, errore_lunghezza_negativa);
  f.percorso.assign(static_cast<std::size_t>(n + 1), cella_percorso{});
  f.griglia_linea = piano_linea{};
  if (f.salva_linea != 0) f.griglia_linea.punti = int64_t{l} + coda_linea + 1;
  st.lunghezza = l;
  st.lunghezza_letta = true;
  return passo::avanti;
}

void terna(sorgente& s, record_stazione& r) {
  r.valore1 = leggi_32(s);
  r.valore2 = leggi_32(s);
  r.valore3 = leggi_32(s);
}

passo ripetizione_segnali(stato_linea& st) {
  Form1& f = st.s.f;
  record_stazione& r = f.tabella_stazioni[slot_treno];
  r.valore1 = leggi_32(st.s);
  r.valore2 = leggi_32(st.s);
  if (r.valore1 % 50 != 0) return rifiuta(f, errore_inizio_ripetizione);
  if (r.valore2 % 50 != 0) return rifiuta(f, errore_fine_ripetizione);
  int32_t codici = 0;
  if (contiene(f.riga, "4")) codici = 4;
  else if (contiene(f.riga, "9")) codici = 9;
  else return rifiuta(f, errore_codici_ripetizione);
  if (r.valore2 == 0) codici = 0;  // no span, no codes
  r.valore3 = codici;
  return passo::avanti;
}

// Reads the general section; false when an error ended the half.
bool sezione_generale(stato_linea& st) {
  Form1& f = st.s.f;
  auto& tab = f.tabella_stazioni;
  while (!fine(st.s)) {
    leggi_riga(st.s);
    if (fine(st.s)) break;  // the last field is never interpreted
    // A hyphenated field is passed over, up to ten in a row.
    for (int volte = 0; volte < 10 && contiene(f.riga, "-"); ++volte) leggi_riga(st.s);

    const std::string& r = f.riga;
    const std::string m = minuscole(r);
    if (contiene(m, "percorso") && contiene(m, "lunghezza"))
      if (lunghezza_percorso(st) == passo::esci) return false;
    // The other general keywords are case-sensitive.
    if (contiene(r, "tre") && contiene(r, "progressiva")) terna(st.s, tab[slot_progressiva_alta]);
    if (contiene(r, "due") && contiene(r, "progressiva")) terna(st.s, tab[slot_progressiva_media]);
    if (contiene(r, "uno") && contiene(r, "progressiva")) terna(st.s, tab[slot_progressiva_bassa]);
    if (contiene(r, "sfondo") && contiene(r, "uno")) tab[slot_scenario].valore1 = leggi_32(st.s);
    if (contiene(r, "sfondo") && contiene(r, "due")) tab[slot_scenario].valore3 = leggi_32(st.s);
    if (contiene(r, "sfondo") && contiene(r, "tre")) tab[slot_scenario].valore2 = leggi_32(st.s);
    if (contiene(r, "segnali") && contiene(r, "ripetizione"))
      if (ripetizione_segnali(st) == passo::esci) return false;

    // The first heading ("[curve]") ends the section.
    if (!r.empty() && r[0] != '-' && contiene(r, "[") && contiene(r, "]")) break;
  }
  return true;
}

// ---- body ----

passo riga_pendenza(stato_linea& st) {
  Form1& f = st.s.f;
  const int32_t p = leggi_32(st.s);
  const int32_t g = leggi_32(st.s);
  if (fuori(st, p)) return passo::fine_corpo;
  const int64_t n = cella_di(p / 50.0);
  // The gradient in force reaches the cell before n; a row that does not pass
  // the cursor still writes one cell.
  if (n > 0) {
    do {
      if (!nel_percorso(f, st.cursore_pendenza))
        return rifiuta(f, errore_pendenze_oltre_percorso, p);
      f.percorso[st.cursore_pendenza].pendenza = bassi_8(int64_t{st.pendenza} + 100);
      ++st.cursore_pendenza;
    } while (st.cursore_pendenza < n);
  }
  st.pendenza = g;
  return passo::avanti;
}

passo riga_curva(stato_linea& st, const std::string& parola) {
  Form1& f = st.s.f;
  const int32_t inizio = leggi_32(st.s);
  const int32_t lunghezza = leggi_32(st.s);
  if (fuori(st, inizio)) return passo::fine_corpo;

  // The first class digit present decides: 1 before 2 before ... 6.
  static constexpr double curvature[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
  static constexpr std::string_view cifre[] = {"1", "2", "3", "4", "5", "6"};
  double k = 0.0;
  bool classe = false;
  for (int i = 0; i < 6 && !classe; ++i)
    if (contiene(parola, cifre[i])) k = curvature[i], classe = true;
  if (!classe) return rifiuta(f, errore_curva);
  if (contiene(parola, "s")) k = -k;  // a curve to the left

  // Straight up to the curve's start (nothing when it overlaps the last one),
  // then the curve.
  if (const passo p = stendi(st, inizio, k, false); p != passo::avanti) return p;
  return stendi(st, int64_t{inizio} + lunghezza, k, true);
}

passo riga_montagna(stato_linea& st) {
  Form1& f = st.s.f;
  const int32_t inizio = leggi_32(st.s);
  const int32_t fine_span = leggi_32(st.s);
  const int32_t tipo = leggi_32(st.s);
  if (fuori(st, inizio)) return passo::fine_corpo;
  if (!memo_montagna(f, inizio, fine_span, tipo)) {
    registra_posizione(f, inizio);
    return passo::esci;
  }
  return passo::avanti;
}

passo riga_indicatore(stato_linea& st) {
  Form1& f = st.s.f;
  int32_t v[9];
  for (int32_t& x : v) x = leggi_32(st.s);
  const int32_t posizione = v[0];
  if (fuori(st, posizione)) return passo::fine_corpo;
  const bool posato = memo_indicatori_v_max(f, posizione, v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
  // Any code already set stops the half here, as a refusal does.
  if (f.codice_errore > 0) {
    if (!posato) registra_posizione(f, posizione);
    else f.posizione_errore = posizione;
    return passo::esci;
  }
  return passo::avanti;
}

passo riga_cartello(stato_linea& st) {
  Form1& f = st.s.f;
  const int32_t p = leggi_32(st.s);
  leggi_riga(st.s);  // the board's text
  if (fuori(st, p)) return passo::fine_corpo;
  const int64_t c = cella_di(p / 50.0 + 1);
  if (!nel_percorso(f, c)) return rifiuta(f, errore_cartello_fuori_percorso, p);
  cella_percorso& cella = f.percorso[c];
  if (!libera(cella)) return rifiuta(f, errore_cartello_occupato, p);
  // Board texts fill slots 80 down to 1; slot 0 is never written.
  if (st.prossimo_cartello < slot_prima_stazione) return rifiuta(f, errore_cartelli_troppi, p);
  cella.tipo = tipo_indicatore_km;
  cella.dato1 = static_cast<int16_t>(st.prossimo_cartello);
  f.tabella_stazioni[st.prossimo_cartello].nome = f.riga;
  --st.prossimo_cartello;
  return passo::avanti;
}

// Reads the body; false when an error ended the half, true at its end (the
// end of the file or a range error).
bool corpo(stato_linea& st) {
  Form1& f = st.s.f;
  while (!fine(st.s)) {
    leggi_riga(st.s);
    if (fine(st.s)) return true;
    for (int volte = 0; volte < 2 && contiene(f.riga, "-"); ++volte) {
      leggi_riga(st.s);
      if (fine(st.s)) return true;
    }

    const std::string m = minuscole(f.riga);
    passo esito = passo::avanti;
    // Every test that passes handles its row, in this order.
    if (contiene(m, "pendenza")) esito = riga_pendenza(st);
    if (esito == passo::avanti && f.salva_linea != 0 && contiene(m, "curva"))
      esito = riga_curva(st, m);
    if (esito == passo::avanti && contiene(m, "montagna")) esito = riga_montagna(st);
    if (esito == passo::avanti && contiene(m, "indicatori_v")) esito = riga_indicatore(st);
    if (esito == passo::avanti && contiene(m, "indicat") && contiene(m, "cartello"))
      esito = riga_cartello(st);
    if (esito == passo::fine_corpo) return true;
    if (esito == passo::esci) return false;
  }
  return true;
}

// The end of the body: the last gradient runs to cell N - 3 and the plan runs
// straight on to point L + 6998.
bool fine_corpo(stato_linea& st) {
  Form1& f = st.s.f;
  const int64_t n = ultima_cella(f);
  do {
    if (!nel_percorso(f, st.cursore_pendenza)) {
      registra_errore(f, errore_pendenze_oltre_percorso);
      return false;
    }
    f.percorso[st.cursore_pendenza].pendenza = bassi_8(int64_t{st.pendenza} + 100);
    ++st.cursore_pendenza;
  } while (st.cursore_pendenza < n - 2);

  if (f.salva_linea != 0) {
    const int64_t ultimo = int64_t{st.lunghezza} + coda_linea - 2;
    if (st.j <= ultimo) f.griglia_linea.tratti.push_back({ultimo, 0.0, false});
    st.j = std::max(st.j, ultimo + 1);
  }
  return true;
}

}  // namespace

esito_linea leggi_linea(Form1& f, std::string_view testo) {
  stato_linea st{apri_sorgente(f, testo)};
  esito_linea esito;

  // Whatever stands before "[generale]" is ignored.
  bool generale = false;
  while (!fine(st.s) && !generale) {
    leggi_riga(st.s);
    if (fine(st.s)) break;
    generale = contiene(minuscole(f.riga), "[generale]");
  }
  if (!generale) {
    registra_errore(f, errore_generale_mancante);
    return esito;
  }

  if (!sezione_generale(st)) return esito;
  progressive_ordina(f);
  f.numero_montagne = 0;
  // Without a route length the grid was never sized: nothing can be laid.
  if (!st.lunghezza_letta) {
    registra_errore(f, errore_lunghezza_mancante);
    return esito;
  }
  // The track starts at the origin heading north: points (0, 0) and (0, 1).
  if (f.salva_linea != 0) f.griglia_linea.origine = true;

  if (!corpo(st)) return esito;
  if (!fine_corpo(st)) return esito;
  esito.prosegui = true;
  esito.prossimo_cartello = st.prossimo_cartello;
  return esito;
}
