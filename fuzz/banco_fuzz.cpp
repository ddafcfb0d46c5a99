#include "fuzz/banco_fuzz.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

#include "compiler/codici_avviso.h"
#include "formato/testo_1252.h"
#include "packer/file_imballati.h"
#include "porta/compila.h"
#include "sources/dati_linea.h"

namespace {

// Line plans up to this many points (a 50 km route) are read back too.
constexpr std::size_t punti_riletti = 57001;

[[noreturn]] void guasto(const char* perche) {
  std::fprintf(stderr, "fuzz: %s\n", perche);
  std::abort();
}

// A packed file read back and packed again must give the very bytes packed.
template <class Decodifica, class Ricodifica>
void rilegge(const std::string& byte, Decodifica decodifica, Ricodifica ricodifica) {
  auto copia = std::make_unique<scenario>();
  std::string motivo;
  if (!decodifica(byte, *copia, motivo)) guasto("a packed file does not read back");
  if (ricodifica(*copia) != byte) guasto("a packed file does not read back to the bytes packed");
}

// The pieces of a long line plan must cover its file once, with no gap:
// sorted by offset, each starts where the last one ended.
void copre_una_volta(const produttore& produci) {
  std::vector<std::pair<uint64_t, std::size_t>> pezzi;
  produci([&pezzi](uint64_t posizione, std::string_view pezzo) { pezzi.emplace_back(posizione, pezzo.size()); });
  std::sort(pezzi.begin(), pezzi.end());
  uint64_t fine = 0;
  for (const auto& [posizione, byte] : pezzi) {
    if (posizione != fine) guasto("the pieces of the line plan leave a gap or cover bytes twice");
    fine += byte;
  }
}

// A text a person reads: printable characters only (UTF-8 ones included),
// never a control character nor a byte that forms no character.
bool leggibile(std::string_view t) {
  for (std::size_t i = 0; i < t.size();) {
    const unsigned char c = static_cast<unsigned char>(t[i]);
    if (c >= 0x20 && c < 0x7F) {
      ++i;
      continue;
    }
    const std::size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
    if (n == 0 || i + n > t.size()) return false;
    if (c == 0xC2 && static_cast<unsigned char>(t[i + 1]) < 0xA0) return false;  // U+0080 to U+009F: controls
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(t[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

// The fastest run of whatever the build left, as `scenario timing` works it
// out, with the default train and with one at every bound of the model: no
// crash, every number finite.
void cronometra(const scenario& f) {
  opzioni_marcia estremo;
  estremo.accelerazione = accelerazione_residua_minima;
  estremo.decelerazione = accelerazione_massima;
  estremo.velocita_massima_kmh = velocita_massima_ammessa_kmh;
  estremo.sosta_s = sosta_massima_s;
  estremo.lunghezza_vettura_m = lunghezza_vettura_massima_m;
  // A train that can hardly pull itself, slowed by everything.
  opzioni_marcia debole;
  debole.massa_t = massa_massima_t;
  debole.potenza_kw = potenza_minima_kw;
  debole.sforzo_trazione_kn = sforzo_minimo_kn;
  debole.resistenza_a_kn = resistenza_a_massima_kn;
  debole.resistenza_b_kn = resistenza_b_massima_kn;
  debole.resistenza_c_kn = resistenza_c_massima_kn;
  debole.resistenza_curve = resistenza_curve_massima;
  debole.masse_rotanti = masse_rotanti_massime;
  debole.margine = margine_recupero{margine_massimo_percento, margine_massimo_minuti};
  for (const opzioni_marcia& o : {opzioni_marcia{}, estremo, debole}) {
    std::vector<decisione_sezione> d;
    const marcia m = calcola_marcia(f, modello_da_scenario(f, o), &d);
    auto finito = [](double x) {
      if (!std::isfinite(x)) guasto("the fastest run gives a number that is not finite");
    };
    for (const double x : {m.modello.massa_t, m.modello.potenza_kw, m.modello.sforzo_trazione_kn,
                           m.modello.decelerazione, m.modello.velocita_massima_kmh,
                           m.modello.sosta_s, m.modello.lunghezza_treno_m, m.modello.percentuale_massa_frenata,
                           m.modello.lunghezza_vettura_m})
      finito(x);
    for (const sezione& s : m.sezioni) {
      for (const double x : {s.distanza_m, s.partenza_s, s.tempo_orario_s, s.tempo_minimo_s, s.margine_s,
                             s.margine_percento, s.da.ora_s, s.a.ora_s, s.recupero_s, s.residuo_s})
        finito(x);
      if (s.mantenibile != (s.margine_s >= 0)) guasto("a section kept with a margin below 0, or the other way");
      for (const passaggio& p : s.passaggi) {
        finito(p.ora_piu_veloce_s);
        finito(p.ora_orario_s);
      }
    }
    for (const punto_marcia& p : m.profilo) {
      finito(p.posizione_m);
      finito(p.velocita_kmh);
      finito(p.ora_s);
    }
    for (const intervallo& i : m.senza_limite) {
      finito(i.inizio_m);
      finito(i.fine_m);
    }
    // What decides each section.
    for (const decisione_sezione& x : d) {
      finito(x.tempo_senza_restrizioni_s);
      for (const costo_restrizione& c : x.restrizioni) finito(c.costo_s);
    }
    // What a report prints of it: the stations' names, printable.
    for (const sezione& s : m.sezioni)
      for (const stazione_marcia* x : {&s.da, &s.a})
        if (!leggibile(stampabile_da_1252(x->nome))) guasto("a station's name does not print as text");
  }
}

// What the build tells an author: every warning of the table, readable,
// placed in a source that was given (at a line and column from 1), its
// position on the route grid or said to be off it; every error's detail
// readable; every row of the log placed; every cell's origin a row of the log.
void controlla_avvisi(const esito_compilazione& e) {
  const registro& f = e.registro;
  const int64_t fine_griglia =
      e.scenario.percorso.empty() ? 0 : (static_cast<int64_t>(e.scenario.percorso.size()) - 1) * 50;
  for (const avviso_registrato& a : f.avvisi) {
    if (descrizione_avviso(a.codice).empty()) guasto("a warning with a code not in the table");
    if (a.testo.empty() || !leggibile(a.testo)) guasto("a warning's text is empty or not printable");
    if (!a.file.empty() && a.file != "F_linea.txt" && a.file != "F_1-.txt") guasto("a warning names no source given");
    if (a.riga < 0 || (a.riga > 0 && a.colonna < 1)) guasto("a warning's line or column is not a place");
    if (a.con_posizione && (a.posizione < 0 || a.posizione > fine_griglia) &&
        a.testo.find("lies before the route's start") == std::string::npos &&
        a.testo.find("lies past the route grid's end") == std::string::npos)
      guasto("a warning's position is off the route grid and its text does not say so");
  }
  for (const errore_registrato& e : f.errori)
    if (!leggibile(e.dettaglio)) guasto("an error's detail is not printable");
  if (e.rifiuto && !leggibile(e.rifiuto->dettaglio)) guasto("a packing refusal's detail is not printable");
  for (const riga_letta& r : f.righe_lette)
    if (r.riga < 1 || r.colonna < 1) guasto("a row of the log has no place");
  if (!f.origini_celle.empty() && f.origini_celle.size() != e.scenario.percorso.size())
    guasto("the cells' origins do not match the grid");
  const auto nella_lista = [&f](int32_t i) {
    return i == nessuna_riga || (i >= 0 && static_cast<std::size_t>(i) < f.righe_lette.size());
  };
  for (const origine_cella& o : f.origini_celle)
    if (!nella_lista(o.elemento) || !nella_lista(o.segno)) guasto("a cell's origin is no row of the log");
}

}  // namespace

const std::string& linea_incorporata() {
  static const std::string testo = dati_linea();
  return testo;
}

void compila_sorgenti(std::string_view linea, std::optional<std::string_view> treno, int j) {
  // Compiled through the core's door, exactly as `scenario check` compiles:
  // made single-byte text first, finished, the fastest run timed.
  opzioni_compilazione o;
  o.nome_scenario = "F";
  o.numero_treno = "1";
  o.piano_linea = j != 0;
  const testo_sorgente sorgente_treno =
      treno ? testo_sorgente{"F_1-.txt", *treno} : testo_sorgente{"F_1-.txt", {}, stato_sorgente::mancante};
  const auto e = std::make_unique<esito_compilazione>(compila({"F_linea.txt", linea}, sorgente_treno, o));
  if (e->sorgenti[0].testo.size() > linea.size()) guasto("a source grew when made single-byte text");

  // The build keeps the last error; its log must end with that very code.
  const registro& r = e->registro;
  const int32_t ultimo = r.errori.empty() ? 0 : r.errori.back().codice;
  if (r.codice_errore != ultimo) guasto("codice_errore disagrees with the last error recorded");
  if (e->marcia.has_value() != ha_percorso(e->scenario)) guasto("a route grid that was not timed, or the other way");

  controlla_avvisi(*e);
  cronometra(e->scenario);
  if (!da_imballare(*e)) return;

  // Each packed file reads back exactly.
  const scenario& f = e->scenario;
  imballa_scenario(f, [&](file_imballato quale, const produttore& produci) {
    switch (quale) {
      case file_imballato::linea:
        // The plan's layout is the same at any length; a long one would only slow the search.
        if (f.griglia_linea.punti > static_cast<int64_t>(punti_riletti)) {
          copre_una_volta(produci);
        } else {
          rilegge(in_memoria(produci), decodifica_linea, [](const scenario& c) { return codifica_linea(c); });
        }
        break;
      case file_imballato::stazioni:
        rilegge(in_memoria(produci), decodifica_stazioni, codifica_stazioni);
        break;
      case file_imballato::percorso:
        rilegge(in_memoria(produci), decodifica_percorso, codifica_percorso);
        break;
    }
  });
}
