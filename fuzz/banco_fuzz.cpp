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
#include "compiler/memorizza_dati.h"
#include "packer/decodifica.h"
#include "packer/file_imballati.h"
#include "packer/imballa.h"
#include "sources/dati_linea.h"
#include "analisi/avvisi.h"
#include "tools/compila.h"
#include "tools/orari.h"
#include "tools/rapporto.h"
#include "tools/testo_sorgenti.h"

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
  auto copia = std::make_unique<Form1>();
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

// The fastest run of whatever the build left, as `scenario timing` works it
// out and prints it, with the default train and with one at every bound of
// the model: no crash, every number finite.
void cronometra(const Form1& f) {
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
    const marcia m = calcola_marcia(f, modello_da_scenario(f, o));
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
    // What decides each section, and what the tool prints of it all, in its three forms.
    const std::vector<decisione_sezione> d = decidi_sezioni(f, m);
    for (const decisione_sezione& x : d) {
      finito(x.tempo_senza_restrizioni_s);
      for (const costo_restrizione& c : x.restrizioni) finito(c.costo_s);
    }
    std::ostringstream testo;
    scrivi_orario_testo(f, o, m, d, testo);
    scrivi_orario_csv(m, testo);
    scrivi_profilo_csv(m, testo);
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

// What the build tells an author: every warning of the table, readable,
// placed in a source that was given (at a line and column from 1), its
// position on the route grid or said to be off it; every error's detail
// readable; every row of the log placed; every cell's origin a row of the log.
void controlla_avvisi(const Form1& f) {
  const int64_t fine_griglia = f.percorso.empty() ? 0 : (static_cast<int64_t>(f.percorso.size()) - 1) * 50;
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
  if (!leggibile(f.dettaglio_imballaggio)) guasto("a packing refusal's detail is not printable");
  for (const riga_letta& r : f.righe_lette)
    if (r.riga < 1 || r.colonna < 1) guasto("a row of the log has no place");
  if (!f.origini_celle.empty() && f.origini_celle.size() != f.percorso.size())
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
  auto f = std::make_unique<Form1>();
  f->nome_scenario = "F";
  f->numero_treno = "1";
  // Made single-byte text first, as the tool makes them.
  std::string testo_linea(linea), testo_treno(treno.value_or(""));
  const std::vector<avviso_registrato> avvisi = rendi_1252(testo_linea, "F_linea.txt");
  if (testo_linea.size() > linea.size()) guasto("a source grew when made single-byte text");
  rendi_1252(testo_treno, "F_1-.txt");
  const testo_sorgente sorgente_treno =
      treno ? testo_sorgente{"F_1-.txt", testo_treno} : testo_sorgente{"F_1-.txt", {}, stato_sorgente::mancante};
  memorizza_dati(*f, j, {"F_linea.txt", testo_linea}, sorgente_treno);
  f->avvisi.insert(f->avvisi.begin(), avvisi.begin(), avvisi.end());
  const bool da_imballare = completa_scenario(*f);

  // The build keeps the last error; its log must end with that very code.
  const int32_t ultimo = f->errori.empty() ? 0 : f->errori.back().codice;
  if (f->codice_errore != ultimo) guasto("codice_errore disagrees with the last error recorded");

  controlla_avvisi(*f);
  cronometra(*f);

  // What the tool prints from this state, the timetable's warnings with the
  // compiler's, as `scenario check` gathers them.
  esito_compilazione esito;
  esito.sorgenti = {{"F_linea.txt", testo_linea}, {"F_1-.txt", testo_treno}};
  esito.avvisi = f->avvisi;
  for (avviso_registrato& a : avvisi_marcia(*f, opzioni_marcia{}, "F_1-.txt")) {
    if (descrizione_avviso(a.codice).empty() || !leggibile(a.testo)) guasto("a timetable warning is not told right");
    esito.avvisi.push_back(std::move(a));
  }
  esito.f = std::move(f);
  std::ostringstream testo;
  scrivi_diagnostica(esito, true, testo);
  testo << esito_json(esito).dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
  const marcia m = calcola_marcia(*esito.f, modello_da_scenario(*esito.f, opzioni_marcia{}));
  testo << orario_json(esito, opzioni_marcia{}, &m).dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
  f = std::move(esito.f);

  if (da_imballare != (f->percorso.size() >= 2 && f->errore_imballaggio == 0))
    guasto("a build that packs nothing was found ready to pack, or the other way round");
  if (!da_imballare) return;

  // Each packed file reads back exactly.
  imballa_scenario(*f, [&](file_imballato quale, const produttore& produci) {
    switch (quale) {
      case file_imballato::linea:
        // The plan's layout is the same at any length; a long one would only slow the search.
        if (f->griglia_linea.punti > static_cast<int64_t>(punti_riletti)) {
          copre_una_volta(produci);
        } else {
          const std::string byte = in_memoria(produci);
          std::array<asse_linea, 2> punti;
          std::string motivo;
          if (!decodifica_linea(byte, punti, motivo)) guasto("a packed file does not read back");
          if (codifica_linea(punti) != byte) guasto("a packed file does not read back to the bytes packed");
        }
        break;
      case file_imballato::stazioni:
        rilegge(in_memoria(produci),
                [](std::string_view b, Form1& c, std::string& m) { return decodifica_stazioni(b, c.tabella_stazioni, m); },
                codifica_stazioni);
        break;
      case file_imballato::percorso:
        rilegge(in_memoria(produci),
                [](std::string_view b, Form1& c, std::string& m) { return decodifica_percorso(b, c.percorso, m); },
                codifica_percorso);
        break;
    }
  });
}
