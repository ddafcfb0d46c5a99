#include "compiler/parser_linea.h"

#include <algorithm>

#include "compiler/avvisi_righe.h"
#include "compiler/campi_ignorati.h"
#include "compiler/celle.h"
#include "compiler/codici_avviso.h"
#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "compiler/fallimento_comune.h"
#include "compiler/lettura_sorgente.h"
#include "compiler/registratori_linea.h"

namespace {

constexpr int32_t lunghezza_massima = 1000000;
// The grid and the plan run on 7000 m past the route's end.
constexpr int32_t coda_linea = 7000;
// The plan never passes this metre, whatever the route length.
constexpr int64_t limite_piano = 1000000;
// Adhesion alone carries a train up some 70 per mille on the steepest lines
// worked without a rack (main lines keep under 35); beyond 80 a line is
// worked by rack or cable, and a gradient written so is a slip of the pen.
constexpr int32_t pendenza_aderenza = 80;

enum class passo { avanti, fine_corpo, esci };

struct stato_linea {
  sorgente s;
  campi_ignorati ignorati{};
  bool lunghezza_letta = false;
  int32_t lunghezza = 0;
  int32_t prossimo_cartello = slot_cartelli;
  int64_t cursore_pendenza = 0;  // next cell to take the current gradient
  int32_t pendenza = 0;          // gradient in force, 0 before the first row
  int64_t j = 2;                 // next point of the plan
  // The last gradient row and the cell it starts at, the last curve row:
  // what a row out of order is told against.
  int32_t riga_pendenza = nessuna_riga;
  int64_t cella_pendenza = 0;
  int32_t riga_curva = nessuna_riga;
  // The header rows read so far: route length, the three kilometre references,
  // the three backgrounds, the cab-signal span.
  int32_t testata[8] = {nessuna_riga, nessuna_riga, nessuna_riga, nessuna_riga,
                        nessuna_riga, nessuna_riga, nessuna_riga, nessuna_riga};
};

// Ends the line half with `codice`: the train source is never taken up.
passo rifiuta(compilazione& f, int32_t codice) {
  registra_errore(f, codice);
  return passo::esci;
}
passo rifiuta(compilazione& f, int32_t codice, int32_t posizione, std::string dettaglio = {}) {
  registra_errore(f, codice, posizione);
  if (!dettaglio.empty()) dettaglia_errore(f.registro, std::move(dettaglio));
  return passo::esci;
}

// Lays the plan's points from the cursor up to `fino` as one stretch (a
// straight run, or a curve of curvature k), the cursor passing the last. The
// plan may not run past its point `ultimo` (L + 7000) nor past metre 1000000:
// the points before either limit are laid, then the half ends with its code.
passo stendi(stato_linea& st, int64_t fino, double k, bool curva) {
  compilazione& f = st.s.f;
  if (st.j > fino) return passo::avanti;  // an overlap: nothing new to lay
  const int64_t ultimo = int64_t{st.lunghezza} + coda_linea;
  if (st.j > ultimo) return rifiuta(f, errore_curva_oltre_linea);
  const int64_t fine = std::min({fino, ultimo, limite_piano});
  f.scenario.griglia_linea.tratti.push_back({fine, k, curva});
  st.j = fine + 1;
  if (st.j > limite_piano) return rifiuta(f, errore_curva);
  if (fine < fino) return rifiuta(f, errore_curva_oltre_linea);  // the next point lies past L + 7000
  return passo::avanti;
}

// The range check of a body row: a failure ends the body, not the build.
bool fuori(stato_linea& st, int32_t p) {
  avvisa_percorso_corto(st.s.f, p, riga_nominata(st.s));
  if (!oltre_percorso(st.s.f, p, 100)) return false;
  registra_errore(st.s.f, errore_fuori_percorso, p);
  dettaglia_errore(st.s.f.registro, oltre_griglia(st.s.f.scenario, 100) + percorso_corto(st.s.f));
  return true;
}

void gia_letto(stato_linea& st) { campo_letto(st.s.f, st.ignorati); }

// ---- general section ----

passo lunghezza_percorso(stato_linea& st) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::lunghezza);
  const int32_t l = leggi_32(st.s);
  f.scenario.tabella_stazioni[slot_treno_percorso].valore2 = l;
  if (l > lunghezza_massima) return rifiuta(f, errore_lunghezza_percorso);
  const int64_t n = cella_di((int64_t{l} + coda_linea) / 50.0);
  // A short negative route still has a grid; one so far below 0 that the grid
  // has no cell 0, or the plan no room for its first two points, has none.
  if (n < 0 || (f.salva_linea != 0 && int64_t{l} + coda_linea < 1))
    return rifiuta(f, errore_lunghezza_negativa);
  f.scenario.percorso.assign(static_cast<std::size_t>(n + 1), cella_percorso{});
  f.registro.origini_celle.assign(static_cast<std::size_t>(n + 1), origine_cella{});
  f.scenario.griglia_linea = piano_linea{};
  if (f.salva_linea != 0) f.scenario.griglia_linea.punti = int64_t{l} + coda_linea + 1;
  st.lunghezza = l;
  st.lunghezza_letta = true;
  annota_riga(st.s, 0, l);
  return passo::avanti;
}

void terna(sorgente& s, record_stazione& r) {
  inizia_riga(s, tipo_riga::progressiva);
  r.valore1 = leggi_32(s);
  r.valore2 = leggi_32(s);
  r.valore3 = leggi_32(s);
  annota_riga(s);
}

void sfondo(sorgente& s, int32_t& valore) {
  inizia_riga(s, tipo_riga::sfondo);
  valore = leggi_32(s);
  annota_riga(s, 0, valore);
}

passo ripetizione_segnali(stato_linea& st) {
  compilazione& f = st.s.f;
  record_stazione& r = f.scenario.tabella_stazioni[slot_treno];
  inizia_riga(st.s, tipo_riga::ripetizione);
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
  annota_riga(st.s);
  return passo::avanti;
}

// Reads the general section; false when an error ended the half.
bool sezione_generale(stato_linea& st) {
  compilazione& f = st.s.f;
  auto& tab = f.scenario.tabella_stazioni;
  campi_ignorati& ci = st.ignorati;
  ci.parte = parte_sorgente::generale_linea;
  while (!fine(st.s)) {
    leggi_riga(st.s);
    if (fine(st.s)) {  // the last field is never interpreted
      ultimo_campo(f, ci, f.riga, st.s.parola.riga, st.s.parola.colonna);
      break;
    }
    // A hyphenated field is passed over, up to ten in a row.
    for (int volte = 0; volte < 10 && contiene(f.riga, "-"); ++volte) {
      campo_ignorato(f, ci, f.riga, st.s.parola.riga, st.s.parola.colonna, true);
      leggi_riga(st.s);
    }

    const std::string& r = f.riga;
    const std::string m = minuscole(r);
    if (riga_generale(r, m)) gia_letto(st);
    else campo_ignorato(f, ci, r, st.s.parola.riga, st.s.parola.colonna, false, vicino(st.s));
    // A comment in brackets is read as a row when it holds a keyword.
    if (intestazione(r) && riga_generale(r, m))
      commento_letto(f, r,
                     parola_lunghezza(m)      ? "lunghezza percorso"
                     : parola_ripetizione(r)  ? "ripetizione segnali"
                     : parola_sfondo_uno(r) || parola_sfondo_due(r) || parola_sfondo_tre(r) ? "sfondo"
                                              : "progressiva chilometrica",
                     st.s.parola.riga, st.s.parola.colonna);
    // Each row just logged is the row being laid: a second one of a kind is told.
    auto ripetuta = [&](int k) { avvisa_ripetuta(f, f.riga_in_posa, st.testata[k]); };
    if (parola_lunghezza(m)) {
      if (lunghezza_percorso(st) == passo::esci) return false;
      ripetuta(0);
    }
    // The other general keywords are case-sensitive.
    if (parola_progressiva_tre(r)) terna(st.s, tab[slot_progressiva_alta]), ripetuta(1);
    if (parola_progressiva_due(r)) terna(st.s, tab[slot_progressiva_media]), ripetuta(2);
    if (parola_progressiva_uno(r)) terna(st.s, tab[slot_progressiva_bassa]), ripetuta(3);
    if (parola_sfondo_uno(r)) sfondo(st.s, tab[slot_scenario].valore1), ripetuta(4);
    if (parola_sfondo_due(r)) sfondo(st.s, tab[slot_scenario].valore3), ripetuta(5);
    if (parola_sfondo_tre(r)) sfondo(st.s, tab[slot_scenario].valore2), ripetuta(6);
    if (parola_ripetizione(r)) {
      if (ripetizione_segnali(st) == passo::esci) return false;
      ripetuta(7);
    }

    // The first heading ("[curve]") ends the section.
    if (!r.empty() && r[0] != '-' && intestazione(r)) {
      ci.fine_generale = r;
      ci.riga_fine_generale = st.s.parola.riga;
      ci.colonna_fine_generale = st.s.parola.colonna;
      ci.fine_generale_consueta = intestazione_consueta(r);
      break;
    }
  }
  return true;
}

// ---- body ----

passo riga_pendenza(stato_linea& st) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::pendenza);
  const int32_t p = leggi_32(st.s);
  const int32_t g = leggi_32(st.s);
  if (fuori(st, p)) return passo::fine_corpo;
  const int32_t indice = annota_riga(st.s, p, g);
  const int64_t n = cella_di(p / 50.0);
  // The gradient in force reaches the cell before n; a row that does not pass
  // the cursor still writes one cell.
  if (n > 0) {
    do {
      if (!nel_percorso(f, st.cursore_pendenza))
        return rifiuta(f, errore_pendenze_oltre_percorso, p,
                       "rows out of order have pushed the gradient past the grid's last cell " +
                           std::to_string(ultima_cella(f)));
      f.scenario.percorso[st.cursore_pendenza].pendenza = bassi_8(int64_t{st.pendenza} + 100);
      ++st.cursore_pendenza;
    } while (st.cursore_pendenza < n);
  }
  if (st.riga_pendenza != nessuna_riga && n <= st.cella_pendenza)
    avvisa_fuori_ordine(f, avviso_pendenze_fuori_ordine, indice, st.riga_pendenza,
                        "gradient " + std::to_string(g), st.cursore_pendenza);
  // A cell keeps gradient + 100 in 8 bits.
  if (int64_t{g} + 100 < 0 || int64_t{g} + 100 > 255)
    avvisa_riga(f, avviso_valore_troncato, indice,
                "gradient " + std::to_string(g) + " does not fit: a cell keeps the gradient plus 100 in 8 bits "
                "(gradients -100 to 155), so it reads " + std::to_string(int{bassi_8(int64_t{g} + 100)} - 100));
  else if (g > pendenza_aderenza || g < -pendenza_aderenza)
    avvisa_riga(f, avviso_pendenza_ripida, indice,
                "gradient " + std::to_string(g) + " per mille: no train climbs or brakes on that by adhesion (the "
                "steepest lines without a rack reach some 70 per mille, main lines keep under 35). Gradients are "
                "per mille: 1.5 % is 15");
  st.riga_pendenza = indice;
  st.cella_pendenza = n;
  st.pendenza = g;
  return passo::avanti;
}

passo riga_curva(stato_linea& st, const std::string& parola) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::curva);
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
  const int32_t indice = annota_riga(st.s, inizio, 0, lunghezza);
  // The plan turns from the start over the length: none, no curve.
  if (lunghezza <= 0)
    avvisa_riga(f, avviso_curva_vuota, indice,
                citazione(f.riga) + " from " + std::to_string(inizio) + " m has length " + std::to_string(lunghezza) +
                    " m: nothing of the curve is laid, and the track runs straight on");

  // A curve that starts inside the stretch already laid turns only from the
  // plan's cursor on: the curves must rise along the route, apart.
  const int64_t fino = int64_t{inizio} + lunghezza;
  if (st.riga_curva != nessuna_riga && inizio < st.j - 1) {
    const std::string prima = "the curve before it (" + luogo_riga(f.registro, st.riga_curva) + "), which ends at " +
                              std::to_string(st.j - 1) + " m";
    avviso_registrato& a =
        fino < st.j
            ? avvisa_riga(f, avviso_curve_fuori_ordine, indice,
                          citazione(f.riga) + " from " + std::to_string(inizio) + " m to " + std::to_string(fino) +
                              " m lies before the end of " + prima +
                              ": rows must rise along the route, and nothing of this curve is laid")
            : avvisa_riga(f, avviso_curve_fuori_ordine, indice,
                          citazione(f.riga) + " from " + std::to_string(inizio) + " m overlaps " + prima +
                              ": it turns only from " + std::to_string(st.j) + " m, with no straight run between");
    colpevole_avviso(f.registro, a, st.riga_curva);
  }
  st.riga_curva = indice;

  // Straight up to the curve's start (nothing when it overlaps the last one),
  // then the curve.
  if (const passo p = stendi(st, inizio, k, false); p != passo::avanti) return p;
  return stendi(st, fino, k, true);
}

passo riga_montagna(stato_linea& st) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::montagna);
  const int32_t inizio = leggi_32(st.s);
  const int32_t fine_span = leggi_32(st.s);
  const int32_t tipo = leggi_32(st.s);
  if (fuori(st, inizio)) return passo::fine_corpo;
  const int32_t indice = annota_riga(st.s, inizio, tipo, fine_span);
  if (!memo_montagna(f, inizio, fine_span, tipo)) {
    togli_riga(st.s);
    registra_posizione(f.registro, inizio);
    return passo::esci;
  }
  // A cell keeps the type (less 10 for a marked span) in 8 bits, unless the
  // span runs on from the one before and takes type 3.
  const int32_t n = f.numero_montagne;
  const bool unita = n > 1 && int64_t{inizio} - f.fine_montagne[static_cast<std::size_t>(n - 1)] <= 150;
  const int64_t tenuto = tipo > 10 ? int64_t{tipo} - 10 : int64_t{tipo};
  if (!unita && tenuto != bassi_8(tenuto))
    avvisa_riga(f, avviso_valore_troncato, indice,
                "the type " + std::to_string(tipo) + " does not fit: a cell keeps " +
                    (tipo > 10 ? std::string("the type less 10") : std::string("the type")) +
                    " in 8 bits (0 to 255), so it reads " + std::to_string(int{bassi_8(tenuto)}));
  // The span marks cells start / 50 to end / 50 - 1: none when it runs
  // backwards or falls within one cell's rounding.
  if (cella_di(fine_span / 50.0 - 1) < cella_di(inizio / 50.0))
    avvisa_riga(f, avviso_montagna_vuota, indice,
                "the mountain span from " + std::to_string(inizio) + " m to " + std::to_string(fine_span) + " m " +
                    (fine_span < inizio    ? "is written backwards, its end before its start"
                     : fine_span == inizio ? "has no length"
                                           : "is shorter than a cell") +
                    ": it marks no cell, so it is in neither the route grid nor the driver's documents");
  return passo::avanti;
}

passo riga_indicatore(stato_linea& st) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::cartello_vmax);
  int32_t v[9];
  for (int32_t& x : v) x = leggi_32(st.s);
  const int32_t posizione = v[0];
  if (fuori(st, posizione)) return passo::fine_corpo;
  const int32_t indice = annota_riga(st.s, posizione);
  const bool posato = memo_indicatori_v_max(f, posizione, v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
  if (!posato) togli_riga(st.s);
  // Any code already set stops the half here, as a refusal does.
  if (f.registro.codice_errore > 0) {
    if (!posato) registra_posizione(f.registro, posizione);
    else f.registro.posizione_errore = posizione;
    return passo::esci;
  }
  // The second side's speeds are kept divided by 5.
  static constexpr std::string_view lati[] = {"the board's second-side speed vad", "the board's second-side speed vbd",
                                              "the board's second-side speed vcd"};
  for (int i = 0; i < 3; ++i) avvisa_quinto(f, indice, lati[i], v[5 + i]);
  // Each field keeps the first side's speed / 5 in its hundreds and the
  // second side's in its units, the stripes as tens and units: a first-side
  // speed off the 5 km/h steps, a speed of 500 or more or below 0, a stripe
  // count outside 0 to 9 runs into the other side. A second-side speed off
  // the steps is told as rounded (351).
  std::string fuori_campo;
  int quanti = 0;
  for (int i = 1; i <= 8; ++i) {
    const bool strisce = i == 4 || i == 8;
    const bool lecito = strisce ? v[i] >= 0 && v[i] <= 9
                                : v[i] >= 0 && v[i] < 500 && (i > 4 || v[i] % 5 == 0);
    if (lecito) continue;
    fuori_campo += (quanti++ == 0 ? "" : ", ") + std::string(nome_valore(tipo_riga::cartello_vmax, i)) + " " +
                   std::to_string(v[i]);
  }
  if (quanti > 0)
    avvisa_riga(f, avviso_codici_cartello, indice,
                fuori_campo + (quanti == 1 ? " is" : " are") +
                    " outside what the board's cell keeps apart (speeds in steps of 5 km/h from 0 to 495, stripes "
                    "0 to 9): the cell keeps 20 x vas + vad / 5, 20 x vbs + vbd / 5, 20 x vcs + vcd / 5 and 10 x "
                    "strisces + strisced, so the two sides read back as other values");
  return passo::avanti;
}

passo riga_cartello(stato_linea& st) {
  compilazione& f = st.s.f;
  inizia_riga(st.s, tipo_riga::indicatore_km);
  const int32_t p = leggi_32(st.s);
  const int32_t riga_valori = f.sorgente_riga;
  leggi_testo(st.s, f.riga);  // the board's text
  if (fuori(st, p)) return passo::fine_corpo;
  const int64_t c = cella_di(p / 50.0 + 1);
  if (!nel_percorso(f, c)) return rifiuta(f, errore_cartello_fuori_percorso, p);
  cella_percorso& cella = f.scenario.percorso[c];
  if (!libera(cella)) {
    rifiuta(f, errore_cartello_occupato, p, descrivi_cella(f.scenario, f.registro, c, f.riga_in_posa));
    colpevole_cella(f.scenario, f.registro, c, f.riga_in_posa);
    return passo::esci;
  }
  // Board texts fill slots 80 down to 1; slot 0 is never written.
  if (st.prossimo_cartello < slot_prima_stazione) return rifiuta(f, errore_cartelli_troppi, p);
  const int32_t indice = annota_riga(st.s, p, st.prossimo_cartello);
  cella.tipo = tipo_indicatore_km;
  cella.dato1 = static_cast<int16_t>(st.prossimo_cartello);
  posa_elemento(f, c);
  f.scenario.tabella_stazioni[st.prossimo_cartello].nome = f.riga;
  --st.prossimo_cartello;
  if (avvisa_nome(f, indice, "text", f.riga, f.sorgente_riga, riga_valori) && f.sorgente_riga > riga_valori)
    st.ignorati.nota_prossima = "the values of the row whose keyword was taken as the text of the kilometre board "
                                "at " + luogo_riga(f.registro, indice);
  return passo::avanti;
}

// Reads the body; false when an error ended the half, true at its end (the
// end of the file or a range error).
bool corpo(stato_linea& st) {
  compilazione& f = st.s.f;
  campi_ignorati& ci = st.ignorati;
  campo_letto(f, ci);
  ci.parte = parte_sorgente::corpo_linea;
  ci.con_curve = f.salva_linea != 0;
  while (!fine(st.s)) {
    leggi_riga(st.s);
    if (fine(st.s)) {
      ultimo_campo(f, ci, f.riga, st.s.parola.riga, st.s.parola.colonna);
      return true;
    }
    for (int volte = 0; volte < 2 && contiene(f.riga, "-"); ++volte) {
      campo_ignorato(f, ci, f.riga, st.s.parola.riga, st.s.parola.colonna, true);
      leggi_riga(st.s);
      if (fine(st.s)) {
        ultimo_campo(f, ci, f.riga, st.s.parola.riga, st.s.parola.colonna);
        return true;
      }
    }

    const std::string m = minuscole(f.riga);
    // The keyword tests, each made once; curves are rows only when the plan is built.
    const bool pendenza = parola_pendenza(m), curva = parola_curva(m), montagna = parola_montagna(m),
               cartello_vmax = parola_cartello_vmax(m), indicatore_km = parola_indicatore_km(m);
    if (pendenza || (curva && ci.con_curve) || montagna || cartello_vmax || indicatore_km) gia_letto(st);
    else if (curva) curva_senza_piano(f, ci);
    else campo_ignorato(f, ci, f.riga, st.s.parola.riga, st.s.parola.colonna, false, vicino(st.s));
    // A comment in brackets is read as a row when it holds a keyword.
    if (intestazione(f.riga) && (pendenza || (curva && ci.con_curve) || montagna || cartello_vmax || indicatore_km))
      commento_letto(f, f.riga,
                     pendenza ? "pendenza" : curva && ci.con_curve ? "curva" : montagna ? "montagna"
                                     : cartello_vmax                ? "indicatori_vmax"
                                                                    : "cartello_indicatore",
                     st.s.parola.riga, st.s.parola.colonna);
    passo esito = passo::avanti;
    // Every test that passes handles its row, in this order.
    if (pendenza) esito = riga_pendenza(st);
    if (esito == passo::avanti && f.salva_linea != 0 && curva) esito = riga_curva(st, m);
    if (esito == passo::avanti && montagna) esito = riga_montagna(st);
    if (esito == passo::avanti && cartello_vmax) esito = riga_indicatore(st);
    if (esito == passo::avanti && indicatore_km) esito = riga_cartello(st);
    if (esito == passo::fine_corpo) return true;
    if (esito == passo::esci) return false;
  }
  return true;
}

// The end of the body: the last gradient runs to cell N - 3 and the plan runs
// straight on to point L + 6998.
bool fine_corpo(stato_linea& st) {
  compilazione& f = st.s.f;
  const int64_t n = ultima_cella(f);
  do {
    if (!nel_percorso(f, st.cursore_pendenza)) {
      registra_errore(f, errore_pendenze_oltre_percorso);
      dettaglia_errore(f.registro, "rows out of order have pushed the gradient past the grid's last cell " + std::to_string(n));
      return false;
    }
    f.scenario.percorso[st.cursore_pendenza].pendenza = bassi_8(int64_t{st.pendenza} + 100);
    ++st.cursore_pendenza;
  } while (st.cursore_pendenza < n - 2);

  if (f.salva_linea != 0) {
    const int64_t ultimo = int64_t{st.lunghezza} + coda_linea - 2;
    if (st.j <= ultimo) f.scenario.griglia_linea.tratti.push_back({ultimo, 0.0, false});
    st.j = std::max(st.j, ultimo + 1);
  }
  return true;
}

// The rows of a train source in the text `l` has not read yet, counted in `ci`
// as rows of the other source; none when a line's own row stands there too.
void righe_treno_non_lette(const lettore_campi& l, campi_ignorati& ci) {
  int32_t riga = l.riga, trovate = 0;
  for (std::size_t inizio = l.inizio_riga; inizio < l.testo.size(); ++riga) {
    const std::size_t fine = std::min(l.testo.find('\n', inizio), l.testo.size());
    const std::string_view linea = l.testo.substr(inizio, fine - inizio);
    inizio = fine + 1;
    const std::size_t primo = linea.find_first_not_of(" \t");
    if (primo == std::string_view::npos || linea[primo] == '[') continue;
    std::string_view campo = linea.substr(primo, linea.find(',', primo) - primo);
    campo = campo.substr(0, campo.find_last_not_of(" \t\r") + 1);
    const std::string m = minuscole(campo);
    if (riga_generale(campo, m) || riga_corpo_linea(m, true)) return;
    if (riga_treno(m) && trovate++ == 0) {
      ci.prima_altra.assign(campo);
      ci.riga_altra = riga;
      ci.colonna_altra = static_cast<int32_t>(primo) + 1;
    }
  }
  ci.altre_righe = trovate;
}

// Why the general section gave no route length, told as the cause: a source
// of train rows given as the line (308, in place of a warning for each of its
// rows), or a comment without its hyphen that ended the section (316).
// Returns the detail of the error that follows.
std::string senza_lunghezza(stato_linea& st, std::size_t primo_avviso) {
  compilazione& f = st.s.f;
  campi_ignorati& ci = st.ignorati;
  const bool righe_proprie = std::any_of(f.registro.righe_lette.begin(), f.registro.righe_lette.end(),
                                         [](const riga_letta& r) { return !r.nel_treno; });
  // A train source's own general section ends a line's at its first comment
  // in brackets, before any of its rows is met: they are looked for in the
  // text left unread, a row's keyword at the start of a line.
  if (ci.altre_righe == 0 && !righe_proprie && !ci.fine_generale.empty())
    righe_treno_non_lette(st.s.campi, ci);
  if (ci.altre_righe > 0 && !righe_proprie) {
    auto& avvisi = f.registro.avvisi;
    avvisi.erase(std::remove_if(avvisi.begin() + static_cast<std::ptrdiff_t>(primo_avviso), avvisi.end(),
                                [](const avviso_registrato& a) { return a.codice == avviso_campo_ignorato; }),
                 avvisi.end());
    avviso_registrato& a = registra_avviso(
        f.registro, avviso_sorgenti_scambiate,
        "the line source holds rows of a train source (" + citazione(ci.prima_altra) +
            (ci.altre_righe > 1 ? " and " + std::to_string(ci.altre_righe - 1) + " more" : std::string()) +
            ") and no route length: are the two sources swapped? The line source is given first, then the train "
            "source");
    a.file = f.sorgente_file;
    a.riga = ci.riga_altra;
    a.colonna = ci.colonna_altra;
    return "the line source holds a train's rows and none of a line's (" + nome_avviso(avviso_sorgenti_scambiate) + ")";
  }
  // A route length row after the field that ended the section: that field
  // ended it too early.
  const std::string resto = minuscole(st.s.campi.testo.substr(std::min(st.s.campi.pos, st.s.campi.testo.size())));
  if (!ci.fine_generale.empty() && !ci.fine_generale_consueta && parola_lunghezza(resto)) {
    avviso_registrato& a = registra_avviso(
        f.registro, avviso_generale_chiusa,
        citazione(ci.fine_generale) + " ended the general section before its route length row: there a field in "
        "brackets is the first heading unless it starts with a hyphen. Write a comment of the general section as " +
            citazione("-" + ci.fine_generale));
    a.file = f.sorgente_file;
    a.riga = ci.riga_fine_generale;
    a.colonna = ci.colonna_fine_generale;
  }
  if (!ci.fine_generale.empty())
    return "the general section ended at line " + std::to_string(ci.riga_fine_generale) + ", at " +
           citazione(ci.fine_generale) + ", with no route length row before it";
  return {};
}

esito_linea leggi(stato_linea& st) {
  compilazione& f = st.s.f;
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

  const std::size_t primo_avviso = f.registro.avvisi.size();
  if (!sezione_generale(st)) return esito;
  campo_letto(f, st.ignorati);
  progressive_ordina(f);
  f.numero_montagne = 0;
  // Without a route length the grid was never sized: nothing can be laid.
  if (!st.lunghezza_letta) {
    const std::string dettaglio = senza_lunghezza(st, primo_avviso);
    registra_errore(f, errore_lunghezza_mancante);
    dettaglia_errore(f.registro, dettaglio);
    return esito;
  }
  // The track starts at the origin heading north: points (0, 0) and (0, 1).
  if (f.salva_linea != 0) f.scenario.griglia_linea.origine = true;

  const bool letto = corpo(st);
  campo_letto(f, st.ignorati);
  if (!letto) return esito;
  if (!fine_corpo(st)) return esito;
  esito.prosegui = true;
  esito.prossimo_cartello = st.prossimo_cartello;
  return esito;
}

}  // namespace

esito_linea leggi_linea(compilazione& f, std::string_view testo) {
  stato_linea st{apri_sorgente(f, testo)};
  try {
    const esito_linea esito = leggi(st);
    f.riga_in_posa = nessuna_riga;
    return esito;
  } catch (fallimento_comune& e) {
    lettura_fallita(st.s, st.ignorati, e);
    throw;
  }
}
